// Odd text in an angle field: each is read as the platform reads numbers, drawn with that angle,
// and with "==" checked sent to the partner up-down, which holds it within its limits; nothing
// crashes or hangs, however long or strange the text.
#include "pixels.h"
#include "recorded_dialog.h"

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

INSTANTIATE_TEST_SUITE_P(
    Table, AngleFieldInput,
    ::testing::Values(BadInput{"TenThousandDigits", std::u16string(kLongText, u'1'), 0},
                      BadInput{"NumberThenTenThousandLetters", u"12" + std::u16string(kLongText - 2, u'x'),
                               12},
                      BadInput{"NumberAfterTenThousandBlanks", std::u16string(kLongText - 1, u' ') + u"7", 0},
                      BadInput{"BeyondThirtyTwoBits", u"99999999999", 0},
                      BadInput{"BeyondTheRange", u"-99999", -99999}, BadInput{"LoneMinus", u"-", 0},
                      BadInput{"PlusSign", u"+5", 5}, BadInput{"LeadingBlank", u" 12", 12},
                      BadInput{"LeadingTab", u"\t12", 12}, BadInput{"Hexadecimal", u"0x10", 0},
                      BadInput{"FullWidthDigits", u"\uFF11\uFF12", 12}, BadInput{"Empty", u"", 0}),
    [](const ::testing::TestParamInfo<BadInput> &info) { return std::string(info.param.name); });

} // namespace
