// The dialog template parser: classic and extended templates read field by field, and every
// damaged template refused without reading past its end.
#include "dialog.h"
#include "template_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::user32::DialogTemplate;
using platform::user32::ParseDialogTemplate;
using test::TemplateWriter;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | DS_SETFONT | DS_MODALFRAME;
constexpr DWORD kFieldStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT;
constexpr DWORD kBoxStyle = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;

// Two items: an edit field by ordinal, and a control of a named class with creation data.
std::vector<BYTE> ClassicTemplate(WORD count = 2)
{
    TemplateWriter out;
    out.Dword(kDialogStyle).Dword(0).Word(count).Box(0, 0, 200, 100);
    out.Word(0).Word(0).String(u"Caption").Word(9).String(u"Tahoma");
    out.Align().Dword(kFieldStyle).Dword(WS_EX_CLIENTEDGE).Box(5, 6, 40, 12).Word(0x480);
    out.Ordinal(0x81).String(u"").Word(0);
    out.Align().Dword(kBoxStyle).Dword(0).Box(50, 6, 60, 12).Word(0xFFFF);
    out.String(u"Custom").String(u"Box").Word(4).Word(0x1234).Word(0x5678);
    return out.bytes();
}

std::vector<BYTE> ExtendedTemplate()
{
    TemplateWriter out;
    out.Word(1).Word(0xFFFF).Dword(77).Dword(WS_EX_TOPMOST).Dword(kDialogStyle).Word(1).Box(10, 20, 300, 150);
    out.Ordinal(5).String(u"DialogClass").String(u"").Word(8).Word(700).Byte(1).Byte(128).String(u"Face");
    out.Align().Dword(99).Dword(0).Dword(kBoxStyle).Box(1, 2, 3, 4).Dword(0x12345);
    out.Ordinal(0x80).Ordinal(42).Word(0);
    return out.bytes();
}

TEST(DialogTemplateParser, ReadsEveryFieldOfAClassicTemplate)
{
    const std::vector<BYTE> bytes = ClassicTemplate();
    DialogTemplate parsed;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), parsed));
    EXPECT_FALSE(parsed.extended);
    EXPECT_EQ(parsed.style, kDialogStyle);
    EXPECT_EQ(parsed.bounds.right, 200);
    EXPECT_EQ(parsed.bounds.bottom, 100);
    EXPECT_EQ(parsed.caption, u"Caption");
    EXPECT_TRUE(parsed.hasFont);
    EXPECT_EQ(parsed.pointSize, 9);
    EXPECT_EQ(parsed.typeface, u"Tahoma");
    ASSERT_EQ(parsed.items.size(), 2u);

    const auto &field = parsed.items[0];
    EXPECT_EQ(field.style, kFieldStyle);
    EXPECT_EQ(field.exStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(field.bounds.left, 5);
    EXPECT_EQ(field.bounds.top, 6);
    EXPECT_EQ(field.bounds.right, 45);
    EXPECT_EQ(field.bounds.bottom, 18);
    EXPECT_EQ(field.id, 0x480u);
    EXPECT_EQ(field.windowClass.ordinal, 0x81);
    EXPECT_EQ(platform::user32::PredefinedClassName(field.windowClass.ordinal), u"Edit");
    EXPECT_TRUE(field.creationData.empty());

    const auto &box = parsed.items[1];
    EXPECT_EQ(box.id, 0xFFFFu) << "a classic id is a WORD";
    EXPECT_EQ(box.windowClass.ordinal, 0);
    EXPECT_EQ(box.windowClass.text, u"Custom");
    EXPECT_EQ(box.text.text, u"Box");
    EXPECT_EQ(box.creationData, (std::vector<BYTE>{0x34, 0x12, 0x78, 0x56}));
}

TEST(DialogTemplateParser, ReadsEveryFieldOfAnExtendedTemplate)
{
    const std::vector<BYTE> bytes = ExtendedTemplate();
    DialogTemplate parsed;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), parsed));
    EXPECT_TRUE(parsed.extended);
    EXPECT_EQ(parsed.helpId, 77u);
    EXPECT_EQ(parsed.exStyle, static_cast<DWORD>(WS_EX_TOPMOST));
    EXPECT_EQ(parsed.style, kDialogStyle);
    EXPECT_EQ(parsed.bounds.left, 10);
    EXPECT_EQ(parsed.bounds.right, 310);
    EXPECT_EQ(parsed.menu.ordinal, 5);
    EXPECT_EQ(parsed.windowClass.text, u"DialogClass");
    EXPECT_EQ(parsed.weight, 700);
    EXPECT_TRUE(parsed.italic);
    EXPECT_EQ(parsed.charset, 128);
    EXPECT_EQ(parsed.typeface, u"Face");
    ASSERT_EQ(parsed.items.size(), 1u);
    EXPECT_EQ(parsed.items[0].helpId, 99u);
    EXPECT_EQ(parsed.items[0].id, 0x12345u) << "an extended id is a DWORD";
    EXPECT_EQ(parsed.items[0].windowClass.ordinal, 0x80);
    EXPECT_EQ(parsed.items[0].text.ordinal, 42);
}

TEST(DialogTemplateParser, RefusesEveryTruncationOfBothFormats)
{
    for (const std::vector<BYTE> &whole : {ClassicTemplate(), ExtendedTemplate()}) {
        for (size_t size = 0; size < whole.size(); ++size) {
            // A copy of exactly `size` bytes: reading beyond it is caught by the sanitizers too.
            const std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            DialogTemplate parsed;
            EXPECT_FALSE(ParseDialogTemplate(cut.data(), cut.size(), parsed)) << "cut at " << size;
        }
    }
}

TEST(DialogTemplateParser, RefusesCountsBeyondTheBytes)
{
    for (WORD count : {WORD{3}, WORD{1000}, WORD{0xFFFF}}) {
        const std::vector<BYTE> bytes = ClassicTemplate(count);
        DialogTemplate parsed;
        EXPECT_FALSE(ParseDialogTemplate(bytes.data(), bytes.size(), parsed)) << count;
    }
    DialogTemplate parsed;
    EXPECT_FALSE(ParseDialogTemplate(nullptr, 100, parsed));
}

TEST(DialogTemplateParser, ItemsStartOnDwordBoundaries)
{
    // A one-letter caption leaves the header two bytes short of a boundary: an item written
    // without the padding is misread and, here, runs out of bytes.
    TemplateWriter out;
    out.Dword(WS_POPUP).Dword(0).Word(1).Box(0, 0, 10, 10).Word(0).Word(0).String(u"a");
    out.Dword(kBoxStyle).Dword(0).Box(0, 0, 1, 1).Word(1).Ordinal(0x80).String(u"").Word(0);
    DialogTemplate parsed;
    EXPECT_FALSE(ParseDialogTemplate(out.bytes().data(), out.bytes().size(), parsed));

    TemplateWriter aligned;
    aligned.Dword(WS_POPUP).Dword(0).Word(1).Box(0, 0, 10, 10).Word(0).Word(0).String(u"a");
    aligned.Align().Dword(kBoxStyle).Dword(0).Box(0, 0, 1, 1).Word(1).Ordinal(0x80).String(u"").Word(0);
    ASSERT_TRUE(ParseDialogTemplate(aligned.bytes().data(), aligned.bytes().size(), parsed));
    EXPECT_EQ(parsed.items.at(0).style, kBoxStyle);
}

} // namespace
