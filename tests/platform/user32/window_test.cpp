// Windows and classes through the public API: class names, geometry, state, longs, and strings
// between the A and W sides. The same expectations hold on the real platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kNarrowClass[] = "WindowTestNarrow";
constexpr WCHAR kWideClass[] = L"WindowTestWide";
constexpr int kExtraBytes = 2 * sizeof(LONG_PTR);
constexpr int kChildId = 7;

std::string g_createdName;

LRESULT CALLBACK NarrowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        g_createdName = reinterpret_cast<const CREATESTRUCTA *>(lParam)->lpszName;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK WideProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Windows : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA narrow = {};
        narrow.lpfnWndProc = NarrowProc;
        narrow.cbWndExtra = kExtraBytes;
        narrow.hInstance = GetModuleHandleA(nullptr);
        narrow.lpszClassName = kNarrowClass;
        RegisterClassA(&narrow);
        WNDCLASSW wide = {};
        wide.lpfnWndProc = WideProc;
        wide.hInstance = GetModuleHandleA(nullptr);
        wide.lpszClassName = kWideClass;
        RegisterClassW(&wide);
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

// That class names ignore case the program's own dialog shows: its template names the up-down
// control in capitals.
TEST_F(Windows, ClassesRegisterOnceAndMissingOnesSaySo)
{
    WNDCLASSA again = {};
    again.lpfnWndProc = DefWindowProcA;
    again.hInstance = GetModuleHandleA(nullptr);
    again.lpszClassName = "WINDOWTESTNARROW";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_EQ(
        CreateWindowExA(0, "NoSuchClassHere", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    // Windows 10 since 21H1 says it cannot find the class (1407), as the layer does; Wine 8 and
    // older Windows that it does not exist.
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_CANNOT_FIND_WND_CLASS || error == ERROR_CLASS_DOES_NOT_EXIST) << error;
}

TEST_F(Windows, TheFrameTakesItsShareOfTheWindowAsAdjustWindowRectSays)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    window_ = CreateWindowExA(WS_EX_DLGMODALFRAME, kNarrowClass, "framed", style, 100, 50, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);
    RECT client = {};
    GetClientRect(window_, &client);
    RECT frame = client;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    EXPECT_EQ(frame.right - frame.left, 300);
    EXPECT_EQ(frame.bottom - frame.top, 200);
    const int caption = (200 - client.bottom) - (300 - client.right);
    EXPECT_GE(caption, 18) << "a caption 19 to 23 pixels high, with its line";
    EXPECT_LE(caption, 24);
}

TEST_F(Windows, ChildrenArePlacedInTheirParentsClientArea)
{
    window_ = CreateWindowExA(0, kNarrowClass, "parent", WS_POPUP | WS_BORDER, 200, 100, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, kNarrowClass, "child", WS_CHILD, 10, 20, 30, 40, window_,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kChildId)), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), kChildId);
    EXPECT_TRUE(IsChild(window_, child));
    EXPECT_FALSE(IsChild(child, window_));
    POINT point = {0, 0};
    MapWindowPoints(child, window_, &point, 1);
    EXPECT_EQ(point.x, 10);
    EXPECT_EQ(point.y, 20);

    EXPECT_TRUE(MoveWindow(child, 5, 6, 7, 8, TRUE));
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT *>(&rect), 2);
    const RECT expected = {5, 6, 12, 14};
    EXPECT_TRUE(EqualRect(&rect, &expected));
}

TEST_F(Windows, VisibilityAndEnablingReportTheirPreviousState)
{
    window_ =
        CreateWindowExA(0, kNarrowClass, "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, kNarrowClass, "child", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, window_,
                                 nullptr, nullptr, nullptr);
    EXPECT_FALSE(IsWindowVisible(child)) << "its parent is hidden";
    EXPECT_FALSE(ShowWindow(window_, SW_SHOWNOACTIVATE));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(ShowWindow(window_, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(window_));

    EXPECT_FALSE(EnableWindow(child, FALSE)) << "it was enabled";
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(EnableWindow(child, TRUE)) << "it was disabled";
    EXPECT_TRUE(IsWindowEnabled(child));
}

TEST_F(Windows, LongsKeepTheirValuesAndRefuseIndicesBeyondTheExtraBytes)
{
    window_ =
        CreateWindowExA(0, kNarrowClass, "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0x1234);
    EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_USERDATA), 0x1234);
    EXPECT_EQ(SetWindowLongPtrA(window_, sizeof(LONG_PTR), 99), 0);
    EXPECT_EQ(SetWindowLongPtrA(window_, sizeof(LONG_PTR), 100), 99) << "the previous value comes back";
    EXPECT_EQ(GetWindowLongPtrA(window_, sizeof(LONG_PTR)), 100);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetWindowLongPtrA(window_, kExtraBytes), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(NarrowProc));
    EXPECT_NE(static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & WS_POPUP, 0u);
}

TEST_F(Windows, StringsCrossBetweenTheNarrowAndWideSides)
{
    window_ = CreateWindowExW(0, L"WindowTestNarrow", L"made wide", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    EXPECT_EQ(g_createdName, "made wide") << "a narrow procedure gets a narrow CREATESTRUCT";
    WCHAR wide[32] = {};
    EXPECT_EQ(GetWindowTextW(window_, wide, 32), 9);
    EXPECT_EQ(lstrcmpW(wide, L"made wide"), 0);
    EXPECT_FALSE(IsWindowUnicode(window_));

    HWND other = CreateWindowExA(0, "WindowTestWide", "narrow", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(IsWindowUnicode(other));
    EXPECT_EQ(GetWindowTextLengthA(other), 6);
    SendMessageA(other, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed"));
    char narrow[4] = {};
    EXPECT_EQ(SendMessageA(other, WM_GETTEXT, sizeof(narrow), reinterpret_cast<LPARAM>(narrow)), 3);
    EXPECT_STREQ(narrow, "cha") << "cut to the caller's buffer";
    DestroyWindow(other);
}

TEST_F(Windows, BadHandlesAreRefused)
{
    auto *const bad = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0xBAD0));
    RECT rect;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(GetClientRect(bad, &rect));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(IsWindow(bad));
    EXPECT_FALSE(ShowWindow(bad, SW_SHOW));
    EXPECT_EQ(GetParent(bad), nullptr);
    EXPECT_EQ(GetDlgItem(bad, 1), nullptr);
    EXPECT_EQ(SetFocus(bad), nullptr);
    EXPECT_FALSE(InvalidateRect(bad, nullptr, TRUE));
}

} // namespace
