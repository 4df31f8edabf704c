// How a popup menu looks in the headless host's frame: the raised frame, the highlighted item in
// the selection's colours, a greyed item embossed, the separator's etched line and the
// accelerator in its own column.
#include "headless.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

constexpr UINT kAlpha = 101;
constexpr UINT kBeta = 102;
constexpr UINT kGamma = 103;

// The frame's pixels as COLORREFs, read while the menu shows.
class MenuFrame {
public:
    explicit MenuFrame(HWND menuWindow) : surface_(platform::WindowSurface(menuWindow))
    {
        GetWindowRect(menuWindow, &window_);
    }
    int Width() const { return surface_->width; }
    int Height() const { return surface_->height; }
    COLORREF At(int x, int y) const
    {
        const std::uint32_t pixel = surface_->pixels[y * surface_->stride + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // An item's rectangle in the frame's pixels.
    RECT Item(HMENU menu, UINT position) const
    {
        RECT item = {};
        GetMenuItemRect(nullptr, menu, position, &item);
        OffsetRect(&item, -window_.left, -window_.top);
        return item;
    }
    int Count(const RECT &area, COLORREF color) const
    {
        return CountIf(area, [color](COLORREF pixel) { return pixel == color; });
    }
    int CountIf(const RECT &area, const std::function<bool(COLORREF)> &wanted) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                count += wanted(At(x, y)) ? 1 : 0;
            }
        }
        return count;
    }

private:
    const platform::Surface *surface_;
    RECT window_ = {};
};

std::function<void(HWND)> g_onIdle;
WNDPROC g_previous = nullptr;

LRESULT CALLBACK IdleHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && g_onIdle) {
        auto onIdle = std::move(g_onIdle);
        g_onIdle = nullptr;
        onIdle(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return CallWindowProcW(g_previous, hwnd, message, wParam, lParam);
}

TEST(MenuLook, FrameHighlightGreyedTextSeparatorAndAccelerator)
{
    HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(IdleHook)));
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kAlpha, L"&Alpha");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kBeta, L"&Beta");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kGamma, L"&Gamma\tCtrl+G");
    platform::InjectInput(owner, WM_KEYDOWN, VK_DOWN, 0); // highlights Alpha
    bool seen = false;
    g_onIdle = [&](HWND menuWindow) {
        MSG msg;
        while (PeekMessageW(&msg, menuWindow, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        const MenuFrame frame(menuWindow);
        const int right = frame.Width() - 1;
        const int bottom = frame.Height() - 1;
        EXPECT_EQ(frame.At(0, 0), GetSysColor(COLOR_3DLIGHT));
        EXPECT_EQ(frame.At(1, 1), GetSysColor(COLOR_3DHILIGHT));
        EXPECT_EQ(frame.At(right, bottom), GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(frame.At(right - 1, bottom - 1), GetSysColor(COLOR_3DSHADOW));
        EXPECT_EQ(frame.At(2, 2), GetSysColor(COLOR_MENU));

        const RECT alpha = frame.Item(menu, 0);
        EXPECT_EQ(frame.At(alpha.left, alpha.top), GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_GT(frame.Count(alpha, GetSysColor(COLOR_HIGHLIGHTTEXT)), 0)
            << "the label in the selection's text colour";

        const RECT beta = frame.Item(menu, 1);
        // Greyed text: smoothed shadow-coloured ink, nothing as dark as plain text, and a white emboss.
        const auto grey = [](COLORREF pixel) { return GetGValue(pixel) >= 100 && GetGValue(pixel) < 200; };
        const auto dark = [](COLORREF pixel) { return GetGValue(pixel) < 80; };
        EXPECT_GT(frame.CountIf(beta, grey), 0) << "greyed text";
        EXPECT_EQ(frame.CountIf(beta, dark), 0);
        EXPECT_GT(frame.Count(beta, GetSysColor(COLOR_3DHILIGHT)), 0) << "and its emboss";

        const RECT separator = frame.Item(menu, 2);
        const int middle = (separator.top + separator.bottom) / 2;
        const RECT line = {separator.left, middle - 1, separator.right, middle};
        EXPECT_EQ(frame.Count(line, GetSysColor(COLOR_3DSHADOW)), separator.right - separator.left);

        RECT gamma = frame.Item(menu, 3);
        const RECT accelerator = {(gamma.left + gamma.right) / 2, gamma.top, gamma.right, gamma.bottom};
        gamma.right = accelerator.left;
        EXPECT_GT(frame.Count(gamma, GetSysColor(COLOR_MENUTEXT)), 0) << "the label";
        EXPECT_GT(frame.Count(accelerator, GetSysColor(COLOR_MENUTEXT)), 0)
            << "the accelerator in the right half";
        seen = true;
        platform::InjectInput(owner, WM_KEYDOWN, VK_RETURN, 0);
    };
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 20, 20, 0, owner, nullptr), static_cast<BOOL>(kAlpha));
    EXPECT_TRUE(seen);
    DestroyMenu(menu);
    DestroyWindow(owner);
}

} // namespace
