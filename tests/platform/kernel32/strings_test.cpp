// String conversions and comparisons, and MulDiv's rounding.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Conversions, Utf8AndUtf16RoundTripIncludingSurrogatePairs)
{
    const char utf8[] = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"; // A, e-acute, euro, an emoji
    WCHAR wide[16] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, utf8, -1, nullptr, 0), 6) << "four characters, a pair, the end";
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 16), 6);
    EXPECT_EQ(wide[1], 0x00E9);
    EXPECT_EQ(wide[2], 0x20AC);
    EXPECT_EQ(wide[3], 0xD83D);
    EXPECT_EQ(wide[4], 0xDE00);
    char back[16] = {};
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, back, sizeof(back), nullptr, nullptr),
              static_cast<int>(sizeof(utf8)));
    EXPECT_STREQ(back, utf8);
}

TEST(Conversions, ShortBuffersAndBadInputGiveZeroAndAReason)
{
    WCHAR wide[2] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3", 1, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3", 1, wide, 2), 1) << "replaced without the flag";
    EXPECT_EQ(wide[0], 0xFFFD);
    EXPECT_EQ(MultiByteToWideChar(1252 + 1, 0, "a", 1, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Strings, ComparisonsAndCopies)
{
    EXPECT_EQ(lstrcmpiA("Button", "BUTTON"), 0);
    EXPECT_LT(lstrcmpA("Button", "button"), 0);
    EXPECT_GT(lstrcmpW(L"b", L"a"), 0);
    EXPECT_LT(lstrcmpA(nullptr, "a"), 0);
    EXPECT_EQ(lstrlenA(nullptr), 0);
    WCHAR copy[4];
    EXPECT_EQ(lstrcpynW(copy, L"abcdef", 4), copy);
    EXPECT_EQ(lstrcmpW(copy, L"abc"), 0);
}

TEST(Arithmetic, MulDivRoundsHalfAwayFromZeroAndRefusesZero)
{
    EXPECT_EQ(MulDiv(9, 96, 72), 12);
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, -1, 2), -3);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 2, 1), -1) << "a result beyond 32 bits";
}

} // namespace
