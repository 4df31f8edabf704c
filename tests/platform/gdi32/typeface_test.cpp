// Face lookup on this platform: our substitutes for the platform's face names, bold faces
// and what GetTextFace reports.
#include "pixels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Selected {
    Selected(const WCHAR *face, LONG height, LONG weight = FW_NORMAL) : dc(CreateCompatibleDC(nullptr))
    {
        LOGFONTW logical = {};
        logical.lfHeight = height;
        logical.lfWeight = weight;
        test::SetFaceName(logical, face);
        font = CreateFontIndirectW(&logical);
        previous = SelectObject(dc, font);
        GetTextMetricsW(dc, &metrics);
    }
    ~Selected()
    {
        SelectObject(dc, previous);
        DeleteObject(font);
        DeleteDC(dc);
    }
    Selected(const Selected &) = delete;
    Selected &operator=(const Selected &) = delete;

    std::string Face() const
    {
        char name[LF_FACESIZE] = {};
        GetTextFaceA(dc, LF_FACESIZE, name);
        return name;
    }

    HDC dc;
    HFONT font;
    HGDIOBJ previous;
    TEXTMETRICW metrics = {};
};

TEST(Typeface, SubstitutesShareTheFaceTheyStandFor)
{
    const Selected tahoma(L"Tahoma", 50);
    for (const WCHAR *name : {L"MS Shell Dlg", L"ms sans serif", L"MS Shell Dlg 2"}) {
        const Selected substitute(name, 50);
        SIZE ours = {};
        SIZE theirs = {};
        GetTextExtentPoint32W(substitute.dc, L"SlantGlyphDemo", 14, &ours);
        GetTextExtentPoint32W(tahoma.dc, L"SlantGlyphDemo", 14, &theirs);
        EXPECT_EQ(ours.cx, theirs.cx) << test::Narrow(name);
        EXPECT_EQ(substitute.metrics.tmAscent, tahoma.metrics.tmAscent) << test::Narrow(name);
    }
    const Selected scene(L"MS UI Gothic", 50);
    const Selected twin(L"Ume UI Gothic", 50);
    EXPECT_EQ(scene.metrics.tmAscent, twin.metrics.tmAscent);
    EXPECT_NE(scene.metrics.tmAscent, tahoma.metrics.tmAscent) << "a face of its own, not the default";
}

TEST(Typeface, FaceNameIsTheOneAskedForUnlessItWasMissing)
{
    EXPECT_EQ(Selected(L"MS UI Gothic", 20).Face(), "MS UI Gothic");
    EXPECT_EQ(Selected(L"MS Shell Dlg", 20).Face(), "MS Shell Dlg");
    const std::string fallback = Selected(L"No Such Face Anywhere", 20).Face();
    EXPECT_FALSE(fallback.empty());
    EXPECT_NE(fallback, "No Such Face Anywhere");
}

TEST(Typeface, BoldAsksForTheBoldFace)
{
    const Selected regular(L"Tahoma", -11);
    const Selected bold(L"Tahoma", -11, FW_BOLD);
    EXPECT_EQ(regular.metrics.tmWeight, FW_NORMAL);
    EXPECT_EQ(bold.metrics.tmWeight, FW_BOLD);
}

TEST(Typeface, NarrowNamesAreUtf8)
{
    // "Café ゴシック": two- and three-byte sequences.
    const char name[] = "Caf\xC3\xA9 \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";
    HFONT font = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, name);
    LOGFONTW wide = {};
    ASSERT_EQ(GetObjectW(font, sizeof(wide), &wide), static_cast<int>(sizeof(wide)));
    EXPECT_EQ(wide.lfFaceName[3], 0xE9);
    EXPECT_EQ(wide.lfFaceName[5], 0x30B4);
    EXPECT_EQ(wide.lfFaceName[9], 0);
    LOGFONTA narrow = {};
    ASSERT_EQ(GetObjectA(font, sizeof(narrow), &narrow), static_cast<int>(sizeof(narrow)));
    EXPECT_STREQ(narrow.lfFaceName, name);
    DeleteObject(font);
}

TEST(Typeface, ExtremeHeightsAreHandled)
{
    for (LONG height : {LONG{INT32_MIN}, LONG{-100000}, LONG{100000}, LONG{INT32_MAX}}) {
        const Selected huge(L"MS UI Gothic", height);
        EXPECT_GT(huge.metrics.tmHeight, 0) << height;
        test::Canvas canvas(16, 16);
        SelectObject(canvas.dc(), huge.font);
        EXPECT_TRUE(TextOutW(canvas.dc(), 0, 0, L"S", 1)) << height;
        SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
    }
}

} // namespace
