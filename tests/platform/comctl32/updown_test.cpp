// The up-down: range, position, its buddy field, its placement and its arrows.
#include "parent_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tuple>

namespace {

using test::ParentWindow;

constexpr int kFieldId = 401;
constexpr int kUpDownId = 402;
constexpr RECT kFieldRect = {20, 30, 100, 54};
constexpr RECT kUpDownRect = {150, 30, 160, 60};
constexpr DWORD kProgramStyle =
    UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

class UpDown : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
    }
    // The field and its up-down, created in this order as in the program's dialog.
    void AddPair(DWORD style = kProgramStyle)
    {
        field = parent.Add(L"Edit", WS_BORDER | ES_RIGHT, kFieldId, kFieldRect);
        upDown = parent.Add(UPDOWN_CLASSW, style, kUpDownId, kUpDownRect);
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageW(upDown, message, wParam, lParam);
    }
    ParentWindow parent;
    HWND field = nullptr;
    HWND upDown = nullptr;
};

TEST_F(UpDown, RangeIsKeptAsSixteenBitHalvesOrThirtyTwoBits)
{
    AddPair(0);
    EXPECT_EQ(Send(UDM_GETRANGE), MAKELONG(0, 100)) << "upper 0, lower 100 by default";
    Send(UDM_SETPOS, 0, 150);
    EXPECT_EQ(Send(UDM_GETPOS32), 100) << "the inverted range clamps the same way";
    Send(UDM_SETPOS, 0, -3);
    EXPECT_EQ(Send(UDM_GETPOS32), 0);
    Send(UDM_SETRANGE, 0, MAKELPARAM(3600, -3600));
    EXPECT_EQ(Send(UDM_GETRANGE), MAKELONG(3600, -3600));
    int lower = 0;
    int upper = 0;
    Send(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, -3600);
    EXPECT_EQ(upper, 3600);
    Send(UDM_SETRANGE32, static_cast<WPARAM>(-100000), 100000);
    Send(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, -100000);
    EXPECT_EQ(upper, 100000);
    Send(UDM_SETPOS32, 0, 65636);
    EXPECT_EQ(Send(UDM_GETPOS32), 65636) << "the 32-bit message takes the whole number";
}

TEST_F(UpDown, AutoBuddyIsTheWindowCreatedJustBefore)
{
    AddPair();
    EXPECT_EQ(reinterpret_cast<HWND>(Send(UDM_GETBUDDY)), field);
    HWND other = parent.Add(L"Edit", 0, 999, {0, 0, 10, 10});
    EXPECT_EQ(reinterpret_cast<HWND>(Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(other))), field);
    EXPECT_EQ(reinterpret_cast<HWND>(Send(UDM_GETBUDDY)), other);
}

TEST_F(UpDown, NoAutoBuddyNoBuddy)
{
    AddPair(UDS_SETBUDDYINT);
    EXPECT_EQ(Send(UDM_GETBUDDY), 0);
    Send(UDM_SETPOS, 0, 7);
    EXPECT_EQ(test::Text(field), "");
}

TEST_F(UpDown, ThousandsAreSeparatedUnlessAskedNotTo)
{
    AddPair(UDS_SETBUDDYINT | UDS_AUTOBUDDY);
    Send(UDM_SETRANGE32, 0, 100000);
    Send(UDM_SETPOS32, 0, 12345);
    EXPECT_EQ(test::Text(field), "12,345");
    Send(UDM_SETPOS32, 0, 999);
    EXPECT_EQ(test::Text(field), "999");
}

TEST_F(UpDown, GetPosReadsTheBuddyText)
{
    AddPair();
    Send(UDM_SETRANGE, 0, MAKELPARAM(3600, -3600));
    SetWindowTextA(field, "-250");
    EXPECT_EQ(Send(UDM_GETPOS), MAKELONG(-250, 0));
    BOOL failed = FALSE;
    SetWindowTextA(field, "9999");
    EXPECT_EQ(Send(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)), -250)
        << "out of range: the last good one";
    EXPECT_TRUE(failed);
}

// The acceleration table sets how far a key steps (its first entry), and reads back as it was set.
TEST_F(UpDown, AccelerationTableSetsTheStep)
{
    AddPair();
    Send(UDM_SETRANGE32, 0, 1000);
    Send(UDM_SETPOS32, 0, 100);
    const UDACCEL table[] = {{0, 5}, {2, 50}};
    EXPECT_TRUE(Send(UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(table)));
    EXPECT_EQ(Send(UDM_GETACCEL), 2);
    UDACCEL first[2] = {};
    EXPECT_EQ(Send(UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(first)), 1);
    EXPECT_EQ(first[0].nInc, 5U);
    EXPECT_EQ(first[1].nInc, 0U) << "no more than asked for";
    SendMessageW(field, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Send(UDM_GETPOS32), 105);
}

// In base 16 the buddy shows 0x and four digits or more, and its text is read back in that base.
TEST_F(UpDown, BaseSixteenShowsAndReadsHexadecimal)
{
    AddPair();
    Send(UDM_SETRANGE32, static_cast<WPARAM>(-100000), 100000);
    Send(UDM_SETPOS32, 0, 10);
    Send(UDM_SETBASE, 16);
    EXPECT_EQ(test::Text(field), "0x000A") << "shown again in the new base";
    struct Row {
        int position;
        const char *text;
    };
    for (const Row row :
         {Row{0, "0x0000"}, Row{0x1234, "0x1234"}, Row{0x12345, "0x12345"}, Row{-1, "0xFFFFFFFF"}}) {
        Send(UDM_SETPOS32, 0, row.position);
        EXPECT_EQ(test::Text(field), row.text) << row.position;
    }
    for (const Row row : {Row{0x1f, "0x1f"}, Row{0x2A, "2A"}, Row{-0x10, "-0x10"}}) {
        SetWindowTextA(field, row.text);
        EXPECT_EQ(Send(UDM_GETPOS32), row.position) << row.text;
    }
    SetWindowTextA(field, "0x1g");
    EXPECT_EQ(HIWORD(Send(UDM_GETPOS)), 1) << "no number in base 16";
    Send(UDM_SETBASE, 10);
    EXPECT_EQ(test::Text(field), "-16");
}

TEST_F(UpDown, AlignRightMovesToTheBuddysRightEdgeAndNarrowsIt)
{
    AddPair();
    const RECT fieldRect = test::ChildRect(field);
    const RECT upDownRect = test::ChildRect(upDown);
    constexpr int kWidth = 16;
    constexpr int kBuddyBorder = 2;
    EXPECT_EQ(std::make_tuple(fieldRect.left, fieldRect.top, fieldRect.right, fieldRect.bottom),
              std::make_tuple(kFieldRect.left, kFieldRect.top, kFieldRect.right - kWidth, kFieldRect.bottom));
    EXPECT_EQ(
        std::make_tuple(upDownRect.left, upDownRect.top, upDownRect.right - upDownRect.left,
                        upDownRect.bottom),
        std::make_tuple(fieldRect.right - kBuddyBorder, kFieldRect.top, LONG{kWidth}, kFieldRect.bottom));
}

} // namespace
