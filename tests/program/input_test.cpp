// Odd text in an angle field: each is read as the platform reads numbers, drawn with that angle,
// and with "==" checked sent to the partner up-down, which holds it within its limits; nothing
// crashes or hangs, however long or strange the text.
#include "pixels.h"
#include "program_dialog.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using test::Dialog;

constexpr int kAngleLimit = 3600;
constexpr size_t kLongText = 10000;
constexpr const char *kPartnerBefore = "123"; // no case below reads as this

struct BadInput {
    const char *name;
    std::u16string text;
    int angle; // what the field reads as
};

void PrintTo(const BadInput &input, std::ostream *out)
{
    *out << input.name;
}

LPCWSTR Wide(const std::u16string &text)
{
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

class AngleFieldInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(AngleFieldInput, IsReadAndDrawnAsItsNumberWhenUncoupled)
{
    Dialog dialog;
    dialog.SetCheckQuietly(chx3, false);
    dialog.SetText(edt2, kPartnerBefore);
    SetDlgItemTextW(dialog.hwnd(), edt1, Wide(GetParam().text));

    EXPECT_EQ(GetWindowTextLengthW(dialog.Item(edt1)), static_cast<int>(GetParam().text.size()))
        << "the field keeps the whole text";
    EXPECT_EQ(dialog.Angle(edt1), GetParam().angle);
    EXPECT_EQ(dialog.Text(edt2), kPartnerBefore) << "uncoupled, the partner is left alone";

    Dialog plain;
    plain.SetAnglesUncoupled(std::to_string(GetParam().angle).c_str(), kPartnerBefore);
    EXPECT_TRUE(test::Frame(dialog.hwnd()) == test::Frame(plain.hwnd()))
        << "drawn with the angle it reads as";
}

TEST_P(AngleFieldInput, SendsItsNumberWithinTheLimitsToThePartnerWhenCoupled)
{
    const std::string mirrored = std::to_string(std::clamp(GetParam().angle, -kAngleLimit, kAngleLimit));
    Dialog dialog;
    dialog.SetAnglesUncoupled("0", kPartnerBefore);
    SetDlgItemTextW(dialog.hwnd(), edt1, Wide(GetParam().text));
    EXPECT_EQ(dialog.Text(edt2), mirrored);
    // The partner changed, so its change came back and rewrote the field in plain form.
    EXPECT_EQ(dialog.Text(edt1), mirrored);
}

std::u16string Repeated(char16_t c, size_t count)
{
    std::u16string text;
    text.assign(count, c);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AngleFieldInput,
    ::testing::Values(BadInput{"TenThousandDigits", Repeated(u'1', kLongText), 0},
                      BadInput{"NumberThenTenThousandLetters", u"12" + Repeated(u'x', kLongText - 2), 12},
                      BadInput{"NumberAfterTenThousandBlanks", Repeated(u' ', kLongText - 1) + u"7", 0},
                      BadInput{"BeyondThirtyTwoBits", u"99999999999", 0},
                      BadInput{"BeyondTheRange", u"-99999", -99999}, BadInput{"LoneMinus", u"-", 0},
                      BadInput{"PlusSign", u"+5", 5}, BadInput{"LeadingBlank", u" 12", 12},
                      BadInput{"LeadingTab", u"\t12", 12}, BadInput{"Hexadecimal", u"0x10", 0},
                      BadInput{"FullWidthDigits", u"\uFF11\uFF12", 12}, BadInput{"Empty", u"", 0}),
    [](const ::testing::TestParamInfo<BadInput> &info) { return std::string(info.param.name); });

// A paste goes through the clipboard and the field's own rules: a field that does not scroll
// takes only the characters it can show, and reads and mirrors those.
void PutOnClipboard(HWND owner, const std::u16string &text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(block, nullptr);
    std::copy_n(text.c_str(), text.size() + 1, static_cast<char16_t *>(GlobalLock(block)));
    GlobalUnlock(block);
    EXPECT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    CloseClipboard();
}

TEST(AngleFieldPaste, TenThousandDigitsKeepWhatTheFieldShows)
{
    // Wine's edit control trims what a field cannot show one character at a time, re-measuring the
    // rest each time: 10,000 characters take it minutes, so it gets a tenth of them.
    const size_t length = test::RunningUnderWine() ? kLongText / 10 : kLongText;
    Dialog uncoupled;
    uncoupled.SetCheckQuietly(chx3, false);
    uncoupled.SetText(edt2, kPartnerBefore);
    PutOnClipboard(uncoupled.hwnd(), Repeated(u'7', length));
    SendMessageW(uncoupled.Item(edt1), WM_PASTE, 0, 0);
    const std::string kept = uncoupled.Text(edt1);
    ASSERT_FALSE(kept.empty());
    EXPECT_LT(kept.size(), size_t{20}) << "only what fits in the field's width";
    EXPECT_EQ(kept, std::string(kept.size(), '7'));
    // Up to nine sevens are a signed 32-bit number; ten are beyond it and read as 0.
    const int expected = kept.size() <= 9 ? std::stoi(kept) : 0;
    EXPECT_EQ(uncoupled.Angle(edt1), expected);
    EXPECT_EQ(uncoupled.Text(edt2), kPartnerBefore);

    Dialog coupled;
    PutOnClipboard(coupled.hwnd(), Repeated(u'7', length));
    SendMessageW(coupled.Item(edt1), WM_PASTE, 0, 0);
    const std::string mirrored = std::to_string(std::clamp(expected, -kAngleLimit, kAngleLimit));
    EXPECT_EQ(coupled.Text(edt2), mirrored);
    EXPECT_EQ(coupled.Text(edt1), mirrored) << "the partner's change came back";
}

} // namespace
