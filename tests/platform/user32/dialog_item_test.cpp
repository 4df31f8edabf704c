// Dialog items by id, and the way GetDlgItemInt reads numbers. Public API only: the same
// expectations hold on the real platform.
#include "parent_window.h"

#include <gtest/gtest.h>

namespace {

constexpr int kFieldId = 100;

// A static control keeps its text the default way: enough to stand for a field.
class DialogItems : public ::testing::Test {
protected:
    test::ParentWindow window_;
    HWND parent_ = window_.hwnd();
    HWND field_ = window_.Add(L"Static", 0, kFieldId, {0, 0, 50, 20});
};

TEST_F(DialogItems, ItemsAreFoundByTheirIdAmongTheChildren)
{
    EXPECT_EQ(GetDlgItem(parent_, kFieldId), field_);
    EXPECT_EQ(GetDlgCtrlID(field_), kFieldId);
    EXPECT_EQ(GetDlgItem(parent_, kFieldId + 1), nullptr);
    EXPECT_EQ(GetDlgItem(nullptr, kFieldId), nullptr);

    EXPECT_TRUE(SetDlgItemTextA(parent_, kFieldId, "text"));
    char text[16] = {};
    EXPECT_EQ(GetDlgItemTextA(parent_, kFieldId, text, sizeof(text)), 4u);
    EXPECT_STREQ(text, "text");
    EXPECT_EQ(GetDlgItemTextA(parent_, kFieldId, text, 3), 2u) << "the text is cut to the buffer";
    EXPECT_STREQ(text, "te");
    WCHAR wide[16] = {};
    EXPECT_EQ(GetDlgItemTextW(parent_, kFieldId, wide, 16), 4u);
    EXPECT_EQ(lstrcmpW(wide, L"text"), 0);
}

struct NumberCase {
    const char *text;
    BOOL isSigned;
    BOOL translated;
    UINT value;
};

// How a field's number is read: blanks first, one sign, digits up to the first other character,
// in range; unsigned, a minus wraps the number round. Wine 8 also refuses a number that reads as
// the very top or bottom of the range once any earlier one on the thread was out of range, so
// those rows come before every row that is.
const NumberCase kNumbers[] = {
    {"4294967295", FALSE, TRUE, 4294967295u},
    {"-1", FALSE, TRUE, 4294967295u},
    {"-4294967295", FALSE, TRUE, 1},
    {"0", TRUE, TRUE, 0},
    {"123", TRUE, TRUE, 123},
    {"-45", TRUE, TRUE, static_cast<UINT>(-45)},
    {"+7", TRUE, TRUE, 7},
    {"   12", TRUE, TRUE, 12},
    {"2147483647", TRUE, TRUE, 2147483647u},
    {"-2147483648", TRUE, TRUE, 0x80000000u},
    {"2147483648", TRUE, FALSE, 0},
    {"-2147483649", TRUE, FALSE, 0},
    {"4294967296", FALSE, FALSE, 0},
    {"2147483648", FALSE, TRUE, 2147483648u},
    {"", TRUE, FALSE, 0},
    {"   ", TRUE, FALSE, 0},
    {"-", TRUE, FALSE, 0},
    {"abc", TRUE, FALSE, 0},
    {"12abc", TRUE, TRUE, 12},
    {"0x10", TRUE, TRUE, 0},
    {"-7 ", TRUE, TRUE, static_cast<UINT>(-7)},
    {"- 7", TRUE, FALSE, 0},
    {"-4294967296", FALSE, TRUE, 1}, // further down, unsigned, every minus reads as 1
};

TEST_F(DialogItems, GetDlgItemIntReadsSignedNumbersInRange)
{
    for (const NumberCase &number : kNumbers) {
        SCOPED_TRACE(testing::Message() << '"' << number.text << "\" signed " << number.isSigned);
        SetDlgItemTextA(parent_, kFieldId, number.text);
        BOOL translated = !number.translated;
        EXPECT_EQ(GetDlgItemInt(parent_, kFieldId, &translated, number.isSigned), number.value);
        EXPECT_EQ(translated, number.translated);
    }
}

TEST_F(DialogItems, GetDlgItemIntWithoutAnItemTranslatesNothing)
{
    BOOL translated = TRUE;
    EXPECT_EQ(GetDlgItemInt(parent_, kFieldId + 1, &translated, TRUE), 0u);
    EXPECT_FALSE(translated);
    SetDlgItemTextA(parent_, kFieldId, "5");
    EXPECT_EQ(GetDlgItemInt(parent_, kFieldId, nullptr, TRUE), 5u) << "the flag is optional";
}

TEST_F(DialogItems, SetDlgItemIntWritesSignedAndUnsignedForms)
{
    char text[16] = {};
    SetDlgItemInt(parent_, kFieldId, static_cast<UINT>(-3600), TRUE);
    GetDlgItemTextA(parent_, kFieldId, text, sizeof(text));
    EXPECT_STREQ(text, "-3600");
    SetDlgItemInt(parent_, kFieldId, static_cast<UINT>(-1), FALSE);
    GetDlgItemTextA(parent_, kFieldId, text, sizeof(text));
    EXPECT_STREQ(text, "4294967295");
}

} // namespace
