// Font sizes from the height: the scene's font and the dialog font, as the platform reports them.
#include "pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr WCHAR kSample[] = L"SlantGlyphDemo";
constexpr int kSampleLength = 14;
// "MS UI Gothic" at a 50-pixel cell; hinting may move each advance by a pixel.
constexpr int kSceneAdvances[kSampleLength] = {30, 11, 24, 25, 18, 34, 11, 24, 25, 25, 32, 25, 37, 25};

// A memory DC with a font selected, both released at the end.
class FontDc {
public:
    FontDc(const WCHAR *face, LONG height, LONG escapement = 0, LONG width = 0)
        : dc_(CreateCompatibleDC(nullptr))
    {
        LOGFONTW logical = {};
        logical.lfHeight = height;
        logical.lfWidth = width;
        logical.lfEscapement = escapement;
        logical.lfOrientation = escapement;
        logical.lfCharSet = DEFAULT_CHARSET;
        test::SetFaceName(logical, face);
        font_ = CreateFontIndirectW(&logical);
        previous_ = SelectObject(dc_, font_);
    }
    ~FontDc()
    {
        SelectObject(dc_, previous_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }
    FontDc(const FontDc &) = delete;
    FontDc &operator=(const FontDc &) = delete;

    HDC dc() const { return dc_; }
    TEXTMETRICW Metrics() const
    {
        TEXTMETRICW metrics = {};
        EXPECT_TRUE(GetTextMetricsW(dc_, &metrics));
        return metrics;
    }
    SIZE Extent(const WCHAR *text, int length) const
    {
        SIZE size = {};
        EXPECT_TRUE(GetTextExtentPoint32W(dc_, text, length, &size));
        return size;
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_;
};

TEST(FontMetrics, SceneFontFromAPositiveCellHeight)
{
    FontDc scene(L"MS UI Gothic", 50);
    const TEXTMETRICW metrics = scene.Metrics();
    EXPECT_EQ(metrics.tmHeight, 50) << "a positive height is the cell";
    EXPECT_EQ(metrics.tmAscent + metrics.tmDescent, metrics.tmHeight);
    EXPECT_NEAR(metrics.tmAscent, 43, 1);
    EXPECT_NEAR(metrics.tmDescent, 7, 1);
    EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, 50, 1) << "ppem";

    std::vector<int> ends(kSampleLength);
    SIZE size = {};
    ASSERT_TRUE(GetTextExtentExPointW(scene.dc(), kSample, kSampleLength, 0, nullptr, ends.data(), &size));
    for (int i = 0; i < kSampleLength; ++i) {
        const int advance = ends[static_cast<size_t>(i)] - (i > 0 ? ends[static_cast<size_t>(i - 1)] : 0);
        EXPECT_NEAR(advance, kSceneAdvances[i], 1) << "character " << i;
    }
    const SIZE extent = scene.Extent(kSample, kSampleLength);
    EXPECT_NEAR(extent.cx, std::accumulate(std::begin(kSceneAdvances), std::end(kSceneAdvances), 0), 3);
    EXPECT_EQ(extent.cx, size.cx);
    EXPECT_EQ(extent.cy, metrics.tmHeight);
}

TEST(FontMetrics, NegativeHeightIsTheEm)
{
    // How dialogs ask for 8 points at 96 dots per inch.
    FontDc small(L"MS UI Gothic", -11);
    const TEXTMETRICW metrics = small.Metrics();
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 11) << "ppem";
    EXPECT_EQ(metrics.tmAscent, 9);
    EXPECT_EQ(metrics.tmDescent, 2);
    EXPECT_GT(metrics.tmAveCharWidth, 0);
}

// Tahoma, the dialog font, as Wine sizes it: its VDMX ranges are for character set 0, which GDI
// passes over, so ascent and descent come from the em, each rounded on its own; a positive
// height then may give a smaller cell than asked. The letters' width gives the dialog base units.
TEST(FontMetrics, DialogFontSizesFollowTheEm)
{
    struct Size {
        LONG height;
        LONG ascent, descent, internalLeading;
        LONG alphabetWidth;
    };
    constexpr WCHAR kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (const Size expected :
         {Size{-11, 11, 2, 2, 330}, Size{-12, 12, 2, 2, 353}, Size{-15, 15, 3, 3, 427}, Size{9, 7, 1, 1, 189},
          Size{15, 12, 2, 2, 353}, Size{20, 16, 3, 3, 475}, Size{50, 41, 8, 8, 1178}}) {
        FontDc tahoma(L"Tahoma", expected.height);
        const TEXTMETRICW metrics = tahoma.Metrics();
        EXPECT_EQ(metrics.tmAscent, expected.ascent) << expected.height;
        EXPECT_EQ(metrics.tmDescent, expected.descent) << expected.height;
        EXPECT_EQ(metrics.tmHeight, expected.ascent + expected.descent) << expected.height;
        EXPECT_EQ(metrics.tmInternalLeading, expected.internalLeading) << expected.height;
        EXPECT_EQ(tahoma.Extent(kAlphabet, 52).cx, expected.alphabetWidth) << expected.height;
    }
}

// How many columns the ink of an "H" spans, drawn in Tahoma at an em of 20 pixels and `width`.
int InkColumnsOfH(LONG width)
{
    const test::Canvas canvas(100, 40);
    LOGFONTW logical = {};
    logical.lfHeight = -20;
    logical.lfWidth = width;
    test::SetFaceName(logical, L"Tahoma");
    HFONT font = CreateFontIndirectW(&logical);
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), test::kTextColor);
    TextOutW(canvas.dc(), 10, 5, L"H", 1);
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
    int first = canvas.width();
    int last = -1;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.At(x, y) != test::kPaper) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return last - first + 1;
}

// A width asks for that average character width: the heights stay, and every advance scales by
// the width over the font's own average, each within a pixel.
TEST(FontMetrics, WidthScalesTheAdvancesAcross)
{
    const FontDc natural(L"Tahoma", -20);
    const TEXTMETRICW plain = natural.Metrics();
    const SIZE plainExtent = natural.Extent(kSample, kSampleLength);
    int plainH = 0;
    ASSERT_TRUE(GetCharWidth32W(natural.dc(), L'H', L'H', &plainH));
    for (const LONG scale : {2, 3, -2}) {
        const LONG width = plain.tmAveCharWidth * scale;
        const FontDc wide(L"Tahoma", -20, 0, width);
        const TEXTMETRICW metrics = wide.Metrics();
        EXPECT_EQ(metrics.tmAveCharWidth, std::abs(width)) << scale;
        EXPECT_EQ(std::make_pair(metrics.tmAscent, metrics.tmDescent),
                  std::make_pair(plain.tmAscent, plain.tmDescent));
        EXPECT_NEAR(metrics.tmMaxCharWidth, plain.tmMaxCharWidth * std::abs(scale), std::abs(scale)) << scale;
        EXPECT_NEAR(wide.Extent(kSample, kSampleLength).cx, plainExtent.cx * std::abs(scale), kSampleLength)
            << scale;
        int widthH = 0;
        ASSERT_TRUE(GetCharWidth32W(wide.dc(), L'H', L'H', &widthH));
        EXPECT_NEAR(widthH, plainH * std::abs(scale), 1) << scale;
        EXPECT_NEAR(InkColumnsOfH(width), InkColumnsOfH(0) * std::abs(scale), 2 * std::abs(scale))
            << "the glyph too";
    }
}

// A width over a hundred cell heights is ignored rather than clamped: it gives the natural width.
// (An em beyond the platform's largest is Wine's font tests' to check.)
TEST(FontMetrics, WidthsBeyondThePlatformsLimitAreIgnored)
{
    const TEXTMETRICW natural = FontDc(L"Tahoma", -20).Metrics();
    const LONG widest = natural.tmHeight * 100;
    EXPECT_EQ(FontDc(L"Tahoma", -20, 0, widest).Metrics().tmAveCharWidth, widest);
    EXPECT_EQ(FontDc(L"Tahoma", -20, 0, widest + 1).Metrics().tmAveCharWidth, natural.tmAveCharWidth);
}

// Extra spacing set on the DC widens every character's advance in the text's extent, and leaves
// the font's own character widths alone.
TEST(FontMetrics, CharacterExtraWidensEveryAdvance)
{
    const FontDc tahoma(L"Tahoma", -20);
    const SIZE plain = tahoma.Extent(kSample, kSampleLength);
    int plainH = 0;
    ASSERT_TRUE(GetCharWidth32W(tahoma.dc(), L'H', L'H', &plainH));
    EXPECT_EQ(SetTextCharacterExtra(tahoma.dc(), 3), 0);
    EXPECT_EQ(GetTextCharacterExtra(tahoma.dc()), 3);
    EXPECT_EQ(tahoma.Extent(kSample, kSampleLength).cx, plain.cx + 3 * kSampleLength);
    int widthH = 0;
    ASSERT_TRUE(GetCharWidth32W(tahoma.dc(), L'H', L'H', &widthH));
    EXPECT_EQ(widthH, plainH);
    EXPECT_EQ(SetTextCharacterExtra(tahoma.dc(), 0), 3);
    EXPECT_EQ(tahoma.Extent(kSample, kSampleLength).cx, plain.cx);
}

TEST(FontMetrics, RotationChangesNoExtent)
{
    const SIZE upright = FontDc(L"MS UI Gothic", 50).Extent(kSample, kSampleLength);
    for (LONG escapement : {450, 900, 1800, -300, 7200}) {
        const SIZE turned = FontDc(L"MS UI Gothic", 50, escapement).Extent(kSample, kSampleLength);
        EXPECT_EQ(turned.cx, upright.cx) << escapement;
        EXPECT_EQ(turned.cy, upright.cy) << escapement;
    }
}

// The ANSI measuring calls and the character widths agree with the wide extents.
TEST(FontMetrics, AnsiCallsAndCharWidthsMatchTheWideExtents)
{
    FontDc scene(L"MS UI Gothic", 50);
    std::vector<int> ends(kSampleLength);
    std::vector<int> ansiEnds(kSampleLength);
    SIZE wide = {};
    SIZE ansi = {};
    int fit = 0;
    ASSERT_TRUE(GetTextExtentExPointW(scene.dc(), kSample, kSampleLength, 0, nullptr, ends.data(), &wide));
    ASSERT_TRUE(GetTextExtentExPointA(scene.dc(), "SlantGlyphDemo", kSampleLength, 0, nullptr,
                                      ansiEnds.data(), &ansi));
    EXPECT_EQ(ansiEnds, ends);
    ASSERT_TRUE(
        GetTextExtentExPointA(scene.dc(), "SlantGlyphDemo", kSampleLength, ends[1], &fit, nullptr, &ansi));
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(std::make_pair(ansi.cx, ansi.cy), std::make_pair(wide.cx, wide.cy));
    ASSERT_TRUE(GetTextExtentPointA(scene.dc(), "SlantGlyphDemo", kSampleLength, &ansi));
    EXPECT_EQ(std::make_pair(ansi.cx, ansi.cy), std::make_pair(wide.cx, wide.cy));
    ASSERT_TRUE(GetTextExtentPointW(scene.dc(), kSample, 0, &ansi));
    EXPECT_EQ(std::make_pair(ansi.cx, ansi.cy), std::make_pair(LONG{0}, LONG{0}));

    int widthsA['t' - 'a' + 1] = {};
    int widthsW['t' - 'a' + 1] = {};
    int widths32['t' - 'a' + 1] = {};
    ASSERT_TRUE(GetCharWidthA(scene.dc(), 'a', 't', widthsA));
    ASSERT_TRUE(GetCharWidthW(scene.dc(), L'a', L't', widthsW));
    ASSERT_TRUE(GetCharWidth32W(scene.dc(), L'a', L't', widths32));
    EXPECT_EQ(std::vector<int>(std::begin(widthsA), std::end(widthsA)),
              std::vector<int>(std::begin(widthsW), std::end(widthsW)));
    EXPECT_EQ(std::vector<int>(std::begin(widths32), std::end(widths32)),
              std::vector<int>(std::begin(widthsW), std::end(widthsW)));
    EXPECT_EQ(widthsW['l' - 'a'], ends[1] - ends[0]) << "the advance of l";
    EXPECT_EQ(widthsW['a' - 'a'], ends[2] - ends[1]) << "the advance of a";
    EXPECT_FALSE(GetCharWidthA(scene.dc(), 'b', 'a', widthsA)) << "a range backwards";
    EXPECT_FALSE(GetTextExtentPoint32W(nullptr, kSample, kSampleLength, &wide)) << "no DC";
}

// What EnumFontFamilies reports for each call: the face name and the kind of face.
struct Listed {
    std::vector<std::string> names;
    std::vector<DWORD> types;
    int stopAfter = INT_MAX; // the callback asks to stop after this many calls
};

int CALLBACK RecordFamilyW(const LOGFONTW *font, const TEXTMETRICW * /*metrics*/, DWORD type, LPARAM data)
{
    auto *listed = reinterpret_cast<Listed *>(data);
    listed->names.push_back(test::Narrow(font->lfFaceName));
    listed->types.push_back(type);
    return static_cast<int>(listed->names.size()) < listed->stopAfter ? 1 : 0;
}

int CALLBACK RecordFamilyA(const LOGFONTA *font, const TEXTMETRICA * /*metrics*/, DWORD type, LPARAM data)
{
    auto *listed = reinterpret_cast<Listed *>(data);
    listed->names.emplace_back(font->lfFaceName);
    listed->types.push_back(type);
    return 1;
}

// A family asked for by name is listed once per face under that name, a substitute under its own
// name too; a name with no face of its own lists nothing, and the call then answers 1. The
// callback's answer is the call's, and 0 stops the listing.
TEST(FontFamilies, ListedByName)
{
    HDC dc = CreateCompatibleDC(nullptr);
    const struct {
        const WCHAR *family;
        bool listed;
    } rows[] = {{L"Tahoma", true}, {L"MS Shell Dlg", true}, {L"No Such Family Anywhere", false}};
    for (const auto &row : rows) {
        Listed listed;
        EXPECT_EQ(EnumFontFamiliesW(dc, row.family, RecordFamilyW, reinterpret_cast<LPARAM>(&listed)), 1)
            << test::Narrow(row.family);
        EXPECT_EQ(!listed.names.empty(), row.listed) << test::Narrow(row.family);
        for (size_t i = 0; i < listed.names.size(); ++i) {
            EXPECT_EQ(listed.names[i], test::Narrow(row.family));
            EXPECT_NE(listed.types[i] & TRUETYPE_FONTTYPE, 0U) << test::Narrow(row.family);
        }
    }
    Listed narrow;
    EXPECT_EQ(EnumFontFamiliesA(dc, "Tahoma", RecordFamilyA, reinterpret_cast<LPARAM>(&narrow)), 1);
    ASSERT_FALSE(narrow.names.empty());
    EXPECT_EQ(narrow.names[0], "Tahoma");

    Listed first;
    first.stopAfter = 1;
    EXPECT_EQ(EnumFontFamiliesW(dc, nullptr, RecordFamilyW, reinterpret_cast<LPARAM>(&first)), 0);
    EXPECT_EQ(first.names.size(), 1U) << "a callback answering 0 ends the listing";
    DeleteDC(dc);
}

} // namespace
