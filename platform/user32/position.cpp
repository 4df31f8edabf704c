// Where windows stand: their size and place, their stacking among siblings, the frame a style
// gives, and the mapping of points between windows and the screen.
#include "window.h"

#include "host.h"

#include <algorithm>

namespace platform::user32 {

namespace {

namespace host = platform::host;

POINT ClientOriginOnScreen(Window *window)
{
    POINT origin = {window->client.left, window->client.top};
    for (Window *at = window; IsRealChild(at);) {
        at = LookupQuiet(at->parent);
        origin.x += at->client.left;
        origin.y += at->client.top;
    }
    return origin;
}

// The place a SetWindowPos asks for, with what SWP_NOMOVE and SWP_NOSIZE keep filled in.
WINDOWPOS RequestedPosition(const Window *window, WINDOWPOS request)
{
    request.cx = std::max(request.cx, 0);
    request.cy = std::max(request.cy, 0);
    if ((request.flags & SWP_NOMOVE) != 0) {
        request.x = window->rect.left;
        request.y = window->rect.top;
    }
    if ((request.flags & SWP_NOSIZE) != 0) {
        request.cx = window->rect.right - window->rect.left;
        request.cy = window->rect.bottom - window->rect.top;
    }
    return request;
}

// Moves a window in its siblings' stacking order to just below `insertAfter`, or to the top or
// the bottom; the topmost kinds stand for the top.
void Restack(Window *window, HWND insertAfter)
{
    std::vector<HWND> &siblings = SiblingsOf(window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window->handle), siblings.end());
    auto place = siblings.begin();
    if (insertAfter == HWND_BOTTOM) {
        place = siblings.end();
    } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        place = std::find(siblings.begin(), siblings.end(), insertAfter);
        place = place == siblings.end() ? siblings.end() : place + 1;
    }
    siblings.insert(place, window->handle);
}

// A top-level window placed among the topmost ones carries WS_EX_TOPMOST, until placed out of them.
void MarkTopmost(Window *window, HWND insertAfter)
{
    if (IsRealChild(window)) {
        return;
    }
    if (insertAfter == HWND_TOPMOST) {
        window->exStyle |= WS_EX_TOPMOST;
    } else if (insertAfter == HWND_NOTOPMOST) {
        window->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    }
}

// A window that moved or changed size is drawn again, and so is what it left uncovered.
void RedrawMoved(Window *window, const RECT &before)
{
    if (IsRealChild(window)) {
        InvalidateWindow(LookupQuiet(window->parent), &before, RDW_INVALIDATE | RDW_ERASE);
    }
    DrawNonClient(window);
    InvalidateWindow(window, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// A window whose size or frame changed asks its procedure where its client area now lies
// (WM_NCCALCSIZE); one that only moved takes its client area along. A style changed with
// SetWindowLong changes nothing until then, as on the platform.
void PlaceClientArea(HWND hwnd, const RECT &before, const RECT &clientBefore, WINDOWPOS &position)
{
    Window *window = LookupQuiet(hwnd);
    const bool resized = window->rect.right - window->rect.left != before.right - before.left ||
                         window->rect.bottom - window->rect.top != before.bottom - before.top;
    if (!resized && (position.flags & SWP_FRAMECHANGED) == 0) {
        OffsetRect(&window->client, window->rect.left - before.left, window->rect.top - before.top);
        return;
    }
    NCCALCSIZE_PARAMS sizes = {{window->rect, before, clientBefore}, &position};
    SendMessageW(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&sizes));
    if ((window = LookupQuiet(hwnd)) != nullptr) {
        window->client = sizes.rgrc[0];
    }
}

} // namespace

RECT ClientAreaWithin(const Window &window, const RECT &rect)
{
    const RECT insets = NonClientInsets(window.style, window.exStyle);
    return {rect.left + insets.left, rect.top + insets.top,
            std::max(rect.left + insets.left, rect.right - insets.right),
            std::max(rect.top + insets.top, rect.bottom - insets.bottom)};
}

void UpdateClientRect(Window *window)
{
    window->client = ClientAreaWithin(*window, window->rect);
}

POINT ClientOriginInSurface(Window *window)
{
    const POINT screen = ClientOriginOnScreen(window);
    const Window *top = TopLevelOf(window);
    return {screen.x - top->rect.left, screen.y - top->rect.top};
}

RECT VisibleClientRect(Window *window)
{
    RECT visible = {0, 0, window->client.right - window->client.left,
                    window->client.bottom - window->client.top};
    POINT offset = {0, 0}; // of `window`'s client origin in the ancestor's client coordinates
    for (Window *at = window; IsRealChild(at);) {
        offset.x += at->client.left;
        offset.y += at->client.top;
        at = LookupQuiet(at->parent);
        const RECT ancestor = {-offset.x, -offset.y, at->client.right - at->client.left - offset.x,
                               at->client.bottom - at->client.top - offset.y};
        IntersectRect(&visible, &visible, &ancestor);
    }
    return visible;
}

RECT NonClientInsets(DWORD style, DWORD exStyle)
{
    int border = 0;
    if ((style & WS_THICKFRAME) != 0) {
        border = GetSystemMetrics(SM_CXFRAME);
    } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        border = GetSystemMetrics(SM_CXDLGFRAME);
    } else if ((style & WS_BORDER) != 0) {
        border = GetSystemMetrics(SM_CXBORDER);
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        border += GetSystemMetrics(SM_CXEDGE);
    }
    if ((exStyle & WS_EX_STATICEDGE) != 0) {
        border += GetSystemMetrics(SM_CXBORDER);
    }
    const int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
    return {border, border + caption, border, border};
}

} // namespace platform::user32

using namespace platform::user32;

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    WINDOWPOS position = RequestedPosition(window, {hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags});
    if ((uFlags & SWP_NOSENDCHANGING) == 0) {
        SendMessageW(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
        window = LookupQuiet(hWnd);
        if (window == nullptr) {
            return FALSE;
        }
    }
    const RECT before = window->rect;
    const RECT clientBefore = window->client;
    window->rect = {position.x, position.y, position.x + position.cx, position.y + position.cy};
    PlaceClientArea(hWnd, before, clientBefore, position);
    if ((window = LookupQuiet(hWnd)) == nullptr) {
        return FALSE;
    }
    UpdateHostLook(*window);
    const bool moved = window->client.left != clientBefore.left || window->client.top != clientBefore.top;
    const bool sized = window->client.right - window->client.left != clientBefore.right - clientBefore.left ||
                       window->client.bottom - window->client.top != clientBefore.bottom - clientBefore.top ||
                       (uFlags & SWP_FRAMECHANGED) != 0;
    if ((uFlags & SWP_NOMOVE) == 0 || moved) {
        position.flags &= ~static_cast<UINT>(SWP_NOMOVE);
    }
    position.flags |= (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
    if ((uFlags & SWP_NOZORDER) == 0) {
        Restack(window, hWndInsertAfter);
        MarkTopmost(window, hWndInsertAfter);
    }
    if (window->surface != nullptr && sized) {
        window->surface = host::CreateSurface(hWnd, position.cx, position.cy);
    }
    if ((uFlags & SWP_NOREDRAW) == 0 && (moved || sized) && IsVisibleOnScreen(window)) {
        RedrawMoved(window, before);
    }
    if ((uFlags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0) {
        SetVisibility(window, (uFlags & SWP_SHOWWINDOW) != 0);
    }
    if (IsWindow(hWnd)) {
        SendMessageW(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    }
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    *lpRect = {0, 0, window->client.right - window->client.left, window->client.bottom - window->client.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    const POINT client = ClientOriginOnScreen(window);
    *lpRect = window->rect;
    OffsetRect(lpRect, client.x - window->client.left, client.y - window->client.top);
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu)
{
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL /*bMenu*/, DWORD dwExStyle)
{
    if (lpRect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT insets = NonClientInsets(dwStyle, dwExStyle);
    lpRect->left -= insets.left;
    lpRect->top -= insets.top;
    lpRect->right += insets.right;
    lpRect->bottom += insets.bottom;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    POINT from = {0, 0};
    POINT to = {0, 0};
    // The desktop's client area is the screen.
    hWndFrom = hWndFrom == GetDesktopWindow() ? nullptr : hWndFrom;
    hWndTo = hWndTo == GetDesktopWindow() ? nullptr : hWndTo;
    if (hWndFrom != nullptr) {
        Window *window = Lookup(hWndFrom);
        if (window == nullptr) {
            return 0;
        }
        from = ClientOriginOnScreen(window);
    }
    if (hWndTo != nullptr) {
        Window *window = Lookup(hWndTo);
        if (window == nullptr) {
            return 0;
        }
        to = ClientOriginOnScreen(window);
    }
    const LONG dx = from.x - to.x;
    const LONG dy = from.y - to.y;
    for (UINT index = 0; lpPoints != nullptr && index < cPoints; ++index) {
        lpPoints[index].x += dx;
        lpPoints[index].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return MAKELONG(LOWORD(dx), LOWORD(dy));
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    if (lpPoint == nullptr || !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MapWindowPoints(hWnd, nullptr, lpPoint, 1);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    if (lpPoint == nullptr || !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MapWindowPoints(nullptr, hWnd, lpPoint, 1);
    return TRUE;
}
