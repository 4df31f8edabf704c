// Focus, activation and capture: which window takes the keys, which top-level window is active,
// and which window holds the mouse.
#include "window.h"

namespace platform::user32 {

namespace {

struct Holders {
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
};

Holders &TheHolders()
{
    static Holders holders;
    return holders;
}

} // namespace

void ForgetWindow(HWND hwnd)
{
    Holders &holders = TheHolders();
    if (InSubtree(hwnd, holders.capture)) {
        holders.capture = nullptr;
    }
    if (InSubtree(hwnd, holders.focus)) {
        holders.focus = nullptr;
    }
    if (holders.active == hwnd) {
        holders.active = nullptr;
    }
}

} // namespace platform::user32

using namespace platform::user32;

HWND WINAPI SetFocus(HWND hWnd)
{
    Holders &holders = TheHolders();
    HWND previous = holders.focus;
    if (hWnd != nullptr) {
        Window *window = Lookup(hWnd);
        if (window == nullptr) {
            return nullptr;
        }
        // A disabled window, or one inside a disabled parent, cannot take the focus.
        if (!IsEnabledChain(window)) {
            return nullptr;
        }
        Window *top = TopLevelOf(window);
        if (holders.active != top->handle) {
            SetActiveWindow(top->handle);
            if (holders.focus == hWnd) {
                return previous;
            }
            // The activation may have given the focus to the top-level window: that one loses it.
            previous = holders.focus;
        }
    }
    if (previous == hWnd) {
        return previous;
    }
    holders.focus = hWnd;
    if (previous != nullptr && IsWindow(previous)) {
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    }
    if (hWnd != nullptr && holders.focus == hWnd && IsWindow(hWnd)) {
        SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND WINAPI GetFocus(void)
{
    return TheHolders().focus;
}

HWND WINAPI GetActiveWindow(void)
{
    return TheHolders().active;
}

HWND WINAPI SetActiveWindow(HWND hWnd)
{
    Holders &holders = TheHolders();
    const HWND previous = holders.active;
    Window *window = hWnd == nullptr ? nullptr : Lookup(hWnd);
    if (hWnd != nullptr && window == nullptr) {
        return nullptr;
    }
    if (window != nullptr) {
        hWnd = TopLevelOf(window)->handle;
    }
    if (previous == hWnd) {
        return previous;
    }
    holders.active = hWnd;
    if (previous != nullptr && IsWindow(previous)) {
        SendMessageW(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hWnd));
    }
    if (hWnd != nullptr) {
        SendMessageW(hWnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(previous));
    } else if (holders.focus != nullptr) {
        SetFocus(nullptr);
    }
    return previous;
}

HWND WINAPI GetForegroundWindow(void)
{
    return TheHolders().active;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd)
{
    return IsWindow(hWnd) && (SetActiveWindow(hWnd), TRUE);
}

HWND WINAPI SetCapture(HWND hWnd)
{
    Holders &holders = TheHolders();
    const HWND previous = holders.capture;
    if (hWnd != nullptr && !IsWindow(hWnd)) {
        return nullptr;
    }
    holders.capture = hWnd;
    if (previous != nullptr && previous != hWnd && IsWindow(previous)) {
        SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    }
    return previous;
}

BOOL WINAPI ReleaseCapture(void)
{
    SetCapture(nullptr);
    return TRUE;
}

HWND WINAPI GetCapture(void)
{
    return TheHolders().capture;
}
