// DefWindowProc: what a window does with a message its procedure leaves alone.
#include "window.h"

#include <algorithm>

#include "menu.h"
#include "text.h"

namespace platform::user32 {

namespace {

void SetText(HWND hwnd, std::u16string text)
{
    Window *window = LookupQuiet(hwnd);
    if (window == nullptr) {
        return;
    }
    window->text = std::move(text);
    UpdateHostLook(*window);
    if (!IsRealChild(window) && IsVisibleOnScreen(window)) {
        DrawNonClient(window); // the caption shows the text
        PresentWindow(window);
    }
}

HBRUSH BackgroundBrush(const Window &window)
{
    HBRUSH brush = window.windowClass->background;
    // A class brush may be a system colour index plus one.
    const auto value = reinterpret_cast<ULONG_PTR>(brush);
    if (value != 0 && value <= COLOR_MENUBAR + 1) {
        return GetSysColorBrush(static_cast<int>(value - 1));
    }
    return brush;
}

LRESULT ControlColor(HDC dc, UINT message)
{
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(field ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(field ? COLOR_WINDOW : COLOR_BTNFACE));
}

// The window's text comes with its creation, unless the name is a resource ordinal.
LRESULT OnNcCreate(Window &window, LPARAM lParam, bool unicode)
{
    if (lParam == 0) {
        return TRUE;
    }
    if (unicode) {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        if (create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
            window.text = FromWide(create->lpszName);
        }
    } else {
        const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        if (create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
            window.text = text::FromAnsi(create->lpszName);
        }
    }
    return TRUE;
}

LRESULT OnSetText(HWND hwnd, LPARAM lParam, bool unicode)
{
    if (lParam == 0) {
        SetText(hwnd, std::u16string());
    } else {
        SetText(hwnd, unicode ? FromWide(reinterpret_cast<LPCWSTR>(lParam))
                              : text::FromAnsi(reinterpret_cast<LPCSTR>(lParam)));
    }
    return TRUE;
}

LRESULT OnGetText(const Window &window, WPARAM wParam, LPARAM lParam, bool unicode)
{
    const size_t copied =
        unicode ? text::CopyToBuffer(window.text, reinterpret_cast<LPWSTR>(lParam), wParam)
                : text::CopyToBuffer(text::ToAnsi(window.text), reinterpret_cast<LPSTR>(lParam), wParam);
    return static_cast<LRESULT>(copied);
}

LRESULT TextLength(const Window &window, bool unicode)
{
    return static_cast<LRESULT>(unicode ? window.text.size() : text::ToAnsi(window.text).size());
}

LRESULT OnSysCommand(HWND hwnd, WPARAM command, bool unicode)
{
    if ((command & 0xFFF0) == SC_CLOSE) {
        return Send(hwnd, WM_CLOSE, 0, 0, unicode);
    }
    return 0;
}

// Alt+F4 closes the top-level window, wherever the focus is inside it; Shift+F10 asks for the
// context menu, at no point of the screen.
LRESULT OnSysKeyDown(Window *window, WPARAM key, LPARAM lParam, bool unicode)
{
    if (key == VK_F10 && (HIWORD(lParam) & KF_ALTDOWN) == 0 && (GetKeyState(VK_SHIFT) & 0x8000) != 0) {
        Send(window->handle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window->handle), -1, unicode);
    }
    if (key == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN) != 0) {
        Window *top = TopLevelOf(window);
        if ((top->windowClass->style & CS_NOCLOSE) == 0) {
            PostMessageW(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    }
    return 0;
}

// The class's brush fills the client area; a class without one leaves it to the window.
LRESULT EraseBackground(HWND hwnd, const Window &window, HDC dc)
{
    HBRUSH brush = BackgroundBrush(window);
    if (brush == nullptr || dc == nullptr) {
        return 0;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    return 1;
}

// A window that does not paint still validates what it was asked to paint.
LRESULT OnPaint(HWND hwnd)
{
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return 0;
}

// A window that moved or changed size hears WM_MOVE and WM_SIZE, unless WM_MOVE destroyed it.
LRESULT OnWindowPosChanged(HWND hwnd, const Window &window, LPARAM lParam, bool unicode)
{
    const auto *position = reinterpret_cast<const WINDOWPOS *>(lParam);
    if (position == nullptr) {
        return 0;
    }
    if ((position->flags & SWP_NOMOVE) == 0) {
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(window.client.left, window.client.top), unicode);
    }
    const Window *moved = LookupQuiet(hwnd);
    if (moved != nullptr && (position->flags & SWP_NOSIZE) == 0) {
        Send(hwnd, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(moved->client.right - moved->client.left, moved->client.bottom - moved->client.top),
             unicode);
    }
    return 0;
}

LRESULT OnActivate(HWND hwnd, WPARAM state)
{
    if (LOWORD(state) != WA_INACTIVE) {
        SetFocus(hwnd);
    }
    return 0;
}

LRESULT OnCancelMode(HWND hwnd)
{
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    return 0;
}

// A child passes the request for a context menu on to its parent, as the window it came from.
LRESULT OnContextMenu(const Window &window, LPARAM lParam, bool unicode)
{
    if (IsRealChild(&window)) {
        return Send(window.parent, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.handle), lParam, unicode);
    }
    return 0;
}

// The right button coming up asks for a context menu where it came up, on the screen.
LRESULT OnRightButtonUp(HWND hwnd, LPARAM lParam, bool unicode)
{
    POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    ClientToScreen(hwnd, &point);
    Send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(point.x, point.y), unicode);
    return 0;
}

// A child that leaves the wheel alone passes it on to its parent.
LRESULT OnWheel(const Window &window, UINT message, WPARAM wParam, LPARAM lParam, bool unicode)
{
    if (IsRealChild(&window)) {
        return Send(window.parent, message, wParam, lParam, unicode);
    }
    return 0;
}

// The client area is what the frame of the window's styles leaves of the rectangle given: with
// wParam TRUE the first of NCCALCSIZE_PARAMS, otherwise a RECT.
LRESULT CalculateClientArea(const Window &window, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        return 0;
    }
    RECT *rect =
        wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS *>(lParam)->rgrc[0] : reinterpret_cast<RECT *>(lParam);
    *rect = ClientAreaWithin(window, *rect);
    return 0;
}

} // namespace

LRESULT DefaultWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, CharSet strings)
{
    const bool unicode = strings == CharSet::Wide;
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return 0;
    }
    if (LRESULT handled = 0; DefaultMenuKeys(hwnd, message, wParam, lParam, unicode, handled)) {
        return handled;
    }
    switch (message) {
    case WM_NCCREATE: return OnNcCreate(*window, lParam, unicode);
    case WM_NCCALCSIZE: return CalculateClientArea(*window, wParam, lParam);
    case WM_SETTEXT: return OnSetText(hwnd, lParam, unicode);
    case WM_GETTEXT: return OnGetText(*window, wParam, lParam, unicode);
    case WM_GETTEXTLENGTH: return TextLength(*window, unicode);
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SYSCOMMAND: return OnSysCommand(hwnd, wParam, unicode);
    case WM_SYSKEYDOWN: return OnSysKeyDown(window, wParam, lParam, unicode);
    case WM_ERASEBKGND: return EraseBackground(hwnd, *window, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return ControlColor(reinterpret_cast<HDC>(wParam), message);
    // The old single message names the kind of control in its parameter's high word.
    case WM_CTLCOLOR:
        return ControlColor(reinterpret_cast<HDC>(wParam),
                            WM_CTLCOLORMSGBOX + std::min<UINT>(HIWORD(lParam), CTLCOLOR_STATIC));
    case WM_PAINT: return OnPaint(hwnd);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(hwnd, *window, lParam, unicode);
    case WM_ACTIVATE: return OnActivate(hwnd, wParam);
    case WM_CANCELMODE: return OnCancelMode(hwnd);
    case WM_NCHITTEST: return HTCLIENT;
    case WM_NOTIFYFORMAT: return unicode ? NFR_UNICODE : NFR_ANSI;
    case WM_CONTEXTMENU: return OnContextMenu(*window, lParam, unicode);
    case WM_RBUTTONUP: return OnRightButtonUp(hwnd, lParam, unicode);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return OnWheel(*window, message, wParam, lParam, unicode);
    case WM_QUERYENDSESSION: return TRUE;
    default: return 0;
    }
}

} // namespace platform::user32

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return platform::user32::DefaultWindowProcedure(hWnd, Msg, wParam, lParam,
                                                    platform::user32::CharSet::Wide);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return platform::user32::DefaultWindowProcedure(hWnd, Msg, wParam, lParam,
                                                    platform::user32::CharSet::Ansi);
}
