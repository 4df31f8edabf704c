// The headless host: a clock that only tests move, the message loop that never waits forever,
// and frames written as PNG.
#include "headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kTimer = 3;
constexpr UINT kPeriod = 100;
constexpr int kWidth = 40;
constexpr int kHeight = 30;
constexpr char kClassName[] = "HeadlessTest";

class Headless : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    HWND window_ = nullptr;
};

TEST_F(Headless, TimersFallDueExactlyWhenTheClockReachesThem)
{
    ASSERT_NE(SetTimer(window_, kTimer, kPeriod, nullptr), 0u);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window_, WM_TIMER, WM_TIMER, PM_REMOVE));
    platform::AdvanceClock(kPeriod - 1);
    EXPECT_FALSE(PeekMessageA(&msg, window_, WM_TIMER, WM_TIMER, PM_REMOVE));
    platform::AdvanceClock(1);
    ASSERT_TRUE(PeekMessageA(&msg, window_, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.wParam, kTimer);
    EXPECT_FALSE(PeekMessageA(&msg, window_, WM_TIMER, WM_TIMER, PM_REMOVE)) << "one per period";
    KillTimer(window_, kTimer);
}

TEST_F(Headless, AWaitingLoopJumpsToTheNextTimer)
{
    ValidateRect(window_, nullptr);
    ASSERT_NE(SetTimer(window_, kTimer, kPeriod, nullptr), 0u);
    const DWORD start = GetTickCount();
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(GetTickCount() - start, kPeriod);
    KillTimer(window_, kTimer);
}

TEST_F(Headless, ALoopWithNothingToWaitForEndsAsIfQuitWithOne)
{
    ValidateRect(window_, nullptr);
    testing::internal::CaptureStderr();
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_NE(said.find("wait forever"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line";
}

TEST_F(Headless, UserObjectsCountTheLiveWindows)
{
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    HWND child = CreateWindowExA(0, kClassName, "", WS_CHILD, 0, 0, 1, 1, window_, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), before + 1);
    DestroyWindow(child);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), before);
    EXPECT_EQ(GetGuiResources(nullptr, GR_USEROBJECTS), 0u) << "only this process can be asked";
}

// Input as a person gives it, seen where the message loop delivers it.
class HeadlessInput : public Headless {
protected:
    void SetUp() override
    {
        Headless::SetUp();
        child_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, 10, 5, 20, 15, window_, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(child_, nullptr);
        ValidateRect(window_, nullptr);
        ValidateRect(child_, nullptr);
    }

    // The next input message the loop retrieves, or WM_NULL when none comes.
    static MSG Next()
    {
        MSG msg = {};
        if (!PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE)) {
            msg.message = WM_NULL;
        }
        return msg;
    }

    HWND child_ = nullptr;
};

// Where the mouse and the focus go is the conformance comparison's to check; these are the parts
// of routing that it cannot see.
TEST_F(HeadlessInput, DisabledWindowsGetNoKeys)
{
    SetFocus(child_);
    EnableWindow(window_, FALSE);
    platform::InjectInput(window_, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(Next().message, static_cast<UINT>(WM_NULL));
}

TEST_F(HeadlessInput, KeysMoveTheKeyStateWhenTheLoopReadsThem)
{
    platform::InjectInput(window_, WM_KEYDOWN, VK_SHIFT, 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0) << "not before the loop retrieves it";
    Next();
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
    platform::InjectInput(window_, WM_KEYUP, VK_SHIFT, 0);
    Next();
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(HeadlessInput, KeysTypedAheadGoToTheFocusOfTheMomentTheyAreRead)
{
    // A Tab and a digit typed before the loop runs: the Tab's handler moves the focus, and the
    // digit must land in the new focus, as Windows routes keys when they are read.
    SetFocus(window_);
    platform::InjectInput(window_, WM_KEYDOWN, VK_TAB, 0);
    platform::InjectInput(window_, WM_CHAR, '7', 0);
    MSG msg = Next();
    EXPECT_EQ(msg.hwnd, window_);
    SetFocus(child_); // what the Tab does
    msg = Next();
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(msg.hwnd, child_);
}

TEST_F(HeadlessInput, TheWheelGoesToTheWindowUnderThePointerWithItsPointOnTheScreen)
{
    SetFocus(window_);
    SetWindowPos(window_, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const UINT message : std::initializer_list<UINT>{WM_MOUSEWHEEL, WM_MOUSEHWHEEL}) {
        platform::InjectInput(window_, message, MAKEWPARAM(MK_SHIFT, -WHEEL_DELTA), MAKELPARAM(12, 6));
        const MSG msg = Next();
        EXPECT_EQ(msg.message, message);
        EXPECT_EQ(msg.hwnd, child_) << "not the focus";
        EXPECT_EQ(msg.lParam, MAKELPARAM(112, 56)) << "on the screen";
        EXPECT_EQ(msg.wParam, MAKEWPARAM(MK_SHIFT, -WHEEL_DELTA));
    }
    platform::InjectInput(window_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(12, 6));
    platform::InjectInput(window_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(12, 6));
    EXPECT_EQ(Next().message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(Next().message, static_cast<UINT>(WM_MOUSEWHEEL)) << "turns are never double clicks";
}

TEST_F(HeadlessInput, MouseButtonsAreKeysAndTheMenuKeyAsksForAContextMenu)
{
    const struct {
        UINT down;
        UINT up;
        int key;
    } buttons[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, VK_LBUTTON},
                   {WM_RBUTTONDBLCLK, WM_RBUTTONUP, VK_RBUTTON},
                   {WM_MBUTTONDOWN, WM_MBUTTONUP, VK_MBUTTON}};
    for (const auto &button : buttons) {
        SCOPED_TRACE(button.key);
        platform::InjectInput(window_, button.down, 0, MAKELPARAM(1, 1));
        EXPECT_EQ(GetKeyState(button.key) & 0x8000, 0) << "not before the loop retrieves it";
        Next();
        EXPECT_NE(GetKeyState(button.key) & 0x8000, 0);
        platform::InjectInput(window_, button.up, 0, MAKELPARAM(1, 1));
        Next();
        EXPECT_EQ(GetKeyState(button.key) & 0x8000, 0);
    }
    SetFocus(child_);
    platform::InjectInput(window_, WM_KEYDOWN, VK_APPS, 0);
    platform::InjectInput(window_, WM_KEYUP, VK_APPS, 0);
    Next();
    MSG msg = {};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CONTEXTMENU, WM_CONTEXTMENU, PM_NOREMOVE))
        << "not on the press";
    Next();
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CONTEXTMENU, WM_CONTEXTMENU, PM_REMOVE)) << "on the release";
    EXPECT_EQ(msg.hwnd, child_);
    EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(child_));
    EXPECT_EQ(msg.lParam, -1);
}

TEST_F(Headless, FramesAreWrittenAsPngOfTheWholeWindow)
{
    UpdateWindow(window_); // erases to the class's black
    const std::string path = ::testing::TempDir() + "headless_frame.png";
    ASSERT_TRUE(platform::SaveWindowPng(window_, path.c_str()));
    EXPECT_FALSE(platform::SaveWindowPng(nullptr, path.c_str()));

    std::FILE *file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char header[24] = {};
    ASSERT_EQ(std::fread(header, 1, sizeof(header), file), sizeof(header));
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_EQ(std::memcmp(header, "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(std::memcmp(header + 12, "IHDR", 4), 0);
    // Width and height, big-endian, right after the chunk's name.
    EXPECT_EQ((header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19], kWidth);
    EXPECT_EQ((header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23], kHeight);
}

TEST_F(Headless, AHugeWindowKeepsItsSizeButOnlyAScreenfulOfPixels)
{
    // 60000 x 60000 pixels would take more than 13 GB.
    HWND huge = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 60000, 60000, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(huge, nullptr);
    RECT rect;
    GetWindowRect(huge, &rect);
    EXPECT_EQ(rect.right - rect.left, 60000);
    UpdateWindow(huge);
    HDC dc = GetDC(huge);
    auto *const white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const RECT far = {50000, 50000, 50010, 50010};
    EXPECT_NE(FillRect(dc, &far, white), 0) << "clipped, not written";
    const RECT near = {5, 5, 15, 15};
    FillRect(dc, &near, white);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 255, 255)) << "the part that is kept is drawn";
    ReleaseDC(huge, dc);
    DestroyWindow(huge);
}

} // namespace
