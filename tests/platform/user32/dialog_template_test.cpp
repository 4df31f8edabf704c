// The dialog template parser: classic and extended templates read field by field, and every
// damaged template refused without reading past its end.
#include "dialog.h"
#include "template_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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
    EXPECT_EQ(
        std::tuple(parsed.extended, parsed.style, parsed.bounds.right, parsed.bounds.bottom, parsed.caption),
        std::tuple(false, kDialogStyle, 200, 100, std::u16string(u"Caption")));
    EXPECT_EQ(std::tuple(parsed.hasFont, parsed.pointSize, parsed.typeface),
              std::tuple(true, WORD{9}, std::u16string(u"Tahoma")));
    ASSERT_EQ(parsed.items.size(), 2u);

    const auto &field = parsed.items[0];
    EXPECT_EQ(std::tuple(field.style, field.exStyle, field.id),
              std::tuple(kFieldStyle, DWORD{WS_EX_CLIENTEDGE}, 0x480u));
    EXPECT_EQ(std::tuple(field.bounds.left, field.bounds.top, field.bounds.right, field.bounds.bottom),
              std::tuple(5, 6, 45, 18));
    EXPECT_EQ(field.windowClass.ordinal, 0x81);
    EXPECT_EQ(platform::user32::PredefinedClassName(field.windowClass.ordinal), u"Edit");
    EXPECT_TRUE(field.creationData.empty());

    const auto &box = parsed.items[1];
    EXPECT_EQ(box.id, 0xFFFFu) << "a classic id is a WORD";
    EXPECT_EQ(std::tuple(box.windowClass.ordinal, box.windowClass.text, box.text.text),
              std::tuple(WORD{0}, std::u16string(u"Custom"), std::u16string(u"Box")));
    EXPECT_EQ(box.creationData, (std::vector<BYTE>{0x04, 0x00, 0x34, 0x12, 0x78, 0x56})) << "size first";
}

TEST(DialogTemplateParser, ReadsEveryFieldOfAnExtendedTemplate)
{
    const std::vector<BYTE> bytes = ExtendedTemplate();
    DialogTemplate parsed;
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), parsed));
    EXPECT_EQ(std::tuple(parsed.extended, parsed.helpId, parsed.exStyle, parsed.style),
              std::tuple(true, 77u, DWORD{WS_EX_TOPMOST}, kDialogStyle));
    EXPECT_EQ(
        std::tuple(parsed.bounds.left, parsed.bounds.right, parsed.menu.ordinal, parsed.windowClass.text),
        std::tuple(10, 310, WORD{5}, std::u16string(u"DialogClass")));
    EXPECT_EQ(std::tuple(parsed.weight, parsed.italic, parsed.charset, parsed.typeface),
              std::tuple(WORD{700}, true, BYTE{128}, std::u16string(u"Face")));
    ASSERT_EQ(parsed.items.size(), 1u);
    const auto &item = parsed.items[0];
    EXPECT_EQ(item.id, 0x12345u) << "an extended id is a DWORD";
    EXPECT_EQ(std::tuple(item.helpId, item.windowClass.ordinal, item.text.ordinal),
              std::tuple(99u, WORD{0x80}, WORD{42}));
}

// A missing byte anywhere, items short of their count included, refuses the whole template.
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
    DialogTemplate parsed;
    EXPECT_FALSE(ParseDialogTemplate(nullptr, 100, parsed));
}

} // namespace
