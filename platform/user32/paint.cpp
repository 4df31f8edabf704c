// Painting: update areas, WM_PAINT through BeginPaint/EndPaint, window DCs and the frame.
#include "window.h"

#include "host.h"

#include <algorithm>
#include <map>

namespace platform::user32 {

namespace {

// The DCs handed out for windows, and the window each draws on.
std::map<HDC, HWND> &WindowDCs()
{
    static std::map<HDC, HWND> dcs;
    return dcs;
}

RECT ClientBounds(const Window *window)
{
    return {0, 0, window->client.right - window->client.left, window->client.bottom - window->client.top};
}

// Whether an invalidation or validation of `window` reaches its children too.
bool ReachesChildren(const Window *window, UINT flags)
{
    return (flags & RDW_ALLCHILDREN) != 0 ||
           ((flags & RDW_NOCHILDREN) == 0 && (window->style & WS_CLIPCHILDREN) == 0);
}

// A DC on the window's top-level surface with the window's client origin and the given clip
// (client coordinates), cut to what the window shows of itself.
HDC SurfaceDC(Window *window, RECT clip)
{
    Window *top = TopLevelOf(window);
    const RECT visible = VisibleClientRect(window);
    IntersectRect(&clip, &clip, &visible);
    const POINT origin = ClientOriginInSurface(window);
    OffsetRect(&clip, origin.x, origin.y);
    return CreateSurfaceDC(top->surface, origin, clip);
}

void UpdateNow(HWND hwnd, UINT flags)
{
    Window *window = LookupQuiet(hwnd);
    if (window == nullptr || !IsVisibleOnScreen(window)) {
        return;
    }
    if (!IsRectEmpty(&window->update) || window->internalPaint) {
        SendMessageW(hwnd, WM_PAINT, 0, 0);
    }
    window = LookupQuiet(hwnd);
    if (window != nullptr && ((flags & RDW_ALLCHILDREN) != 0 || (flags & RDW_NOCHILDREN) == 0)) {
        for (HWND child : std::vector<HWND>(window->children)) {
            UpdateNow(child, flags);
        }
    }
}

// Sends the erases that are pending, without painting: the window first, then its children.
void EraseNow(HWND hwnd, UINT flags)
{
    Window *window = LookupQuiet(hwnd);
    if (window == nullptr || !IsVisibleOnScreen(window)) {
        return;
    }
    if (window->erasePending && !IsRectEmpty(&window->update)) {
        window->erasePending = false;
        HDC dc = SurfaceDC(window, window->update);
        WindowDCs()[dc] = hwnd;
        SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        WindowDCs().erase(dc);
        DeleteDC(dc);
        if (Window *erased = LookupQuiet(hwnd)) {
            PresentWindow(erased);
        }
    }
    window = LookupQuiet(hwnd);
    if (window != nullptr && ((flags & RDW_ALLCHILDREN) != 0 || (flags & RDW_NOCHILDREN) == 0)) {
        for (HWND child : std::vector<HWND>(window->children)) {
            EraseNow(child, flags);
        }
    }
}

void DrawFrame(HDC dc, RECT outer, int width, HBRUSH brush)
{
    for (int line = 0; line < width; ++line) {
        FrameRect(dc, &outer, brush);
        InflateRect(&outer, -1, -1);
    }
}

} // namespace

void InvalidateWindow(Window *window, const RECT *area, UINT flags)
{
    if (window == nullptr || !IsVisibleOnScreen(window)) {
        return;
    }
    const RECT bounds = ClientBounds(window);
    RECT part = bounds;
    if (area != nullptr) {
        IntersectRect(&part, area, &bounds);
    }
    if ((flags & RDW_INVALIDATE) != 0 && !IsRectEmpty(&part)) {
        UnionRect(&window->update, &window->update, &part);
        if ((flags & RDW_ERASE) != 0) {
            window->erasePending = true;
        }
    }
    if ((flags & RDW_INTERNALPAINT) != 0) {
        window->internalPaint = true;
    }
    if ((flags & RDW_VALIDATE) != 0) {
        // The update area is one rectangle: it goes only when the validated part covers it.
        RECT covered;
        UnionRect(&covered, &part, &window->update);
        if (area == nullptr || EqualRect(&covered, &part)) {
            SetRectEmpty(&window->update);
            if ((flags & RDW_NOERASE) != 0 || area == nullptr) {
                window->erasePending = false;
            }
        }
    }
    if ((flags & RDW_NOINTERNALPAINT) != 0) {
        window->internalPaint = false;
    }
    if (!ReachesChildren(window, flags)) {
        return;
    }
    for (HWND childHandle : window->children) {
        Window *child = LookupQuiet(childHandle);
        RECT overlap;
        if (child != nullptr && (child->style & WS_VISIBLE) != 0 &&
            IntersectRect(&overlap, &part, &child->rect)) {
            OffsetRect(&overlap, -child->client.left, -child->client.top);
            InvalidateWindow(child, &overlap, flags & ~static_cast<UINT>(RDW_INTERNALPAINT));
        }
    }
}

void DrawNonClient(Window *window)
{
    Window *top = TopLevelOf(window);
    const RECT insets = NonClientInsets(window->style, window->exStyle);
    if (top == nullptr || top->surface == nullptr || (insets.left == 0 && insets.top == 0)) {
        return;
    }
    // The frame in the top-level surface's pixels.
    const POINT client = ClientOriginInSurface(window);
    RECT frame = {client.x - insets.left, client.y - insets.top,
                  client.x + (window->client.right - window->client.left) + insets.right,
                  client.y + (window->client.bottom - window->client.top) + insets.bottom};
    RECT clip = {0, 0, top->surface->width, top->surface->height};
    if (IsRealChild(window)) {
        Window *parent = LookupQuiet(window->parent);
        const POINT parentOrigin = ClientOriginInSurface(parent);
        clip = VisibleClientRect(parent);
        OffsetRect(&clip, parentOrigin.x, parentOrigin.y);
    }
    HDC dc = CreateSurfaceDC(top->surface, {0, 0}, clip);
    const int border = insets.left;
    if ((window->exStyle & WS_EX_CLIENTEDGE) != 0) {
        DrawFrame(dc, frame, border - GetSystemMetrics(SM_CXEDGE), GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&frame, -(border - GetSystemMetrics(SM_CXEDGE)), -(border - GetSystemMetrics(SM_CXEDGE)));
        DrawFrame(dc, frame, 1, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&frame, -1, -1);
        DrawFrame(dc, frame, 1, GetSysColorBrush(COLOR_3DDKSHADOW));
    } else if (border == GetSystemMetrics(SM_CXBORDER)) {
        DrawFrame(dc, frame, border, GetSysColorBrush(COLOR_WINDOWFRAME));
    } else {
        DrawFrame(dc, frame, border, GetSysColorBrush(COLOR_BTNFACE));
    }
    const int caption = insets.top - insets.left;
    if (caption > 0) {
        RECT bar = {client.x, client.y - caption, client.x + (window->client.right - window->client.left),
                    client.y};
        FillRect(dc, &bar, GetSysColorBrush(COLOR_ACTIVECAPTION));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        bar.left += GetSystemMetrics(SM_CXEDGE);
        DrawTextW(dc, AsWide(window->text), -1, &bar, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    }
    DeleteDC(dc);
}

void PresentWindow(Window *window)
{
    Window *top = TopLevelOf(window);
    if (top != nullptr && top->surface != nullptr && IsVisibleOnScreen(top)) {
        host::Present(top->handle, {0, 0, top->surface->width, top->surface->height});
    }
}

} // namespace platform::user32

using namespace platform::user32;

BOOL WINAPI RedrawWindow(HWND hWnd, const RECT *lprcUpdate, HRGN /*hrgnUpdate*/, UINT flags)
{
    if (hWnd == nullptr) {
        for (HWND top : TopLevelWindows()) {
            RedrawWindow(top, nullptr, nullptr, flags);
        }
        return TRUE;
    }
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    if ((flags & RDW_FRAME) != 0 && IsVisibleOnScreen(window)) {
        DrawNonClient(window);
    }
    InvalidateWindow(window, lprcUpdate, flags);
    if ((flags & RDW_UPDATENOW) != 0) {
        UpdateNow(hWnd, flags);
    } else if ((flags & RDW_ERASENOW) != 0) {
        EraseNow(hWnd, flags);
    }
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT *lpRect, BOOL bErase)
{
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0u));
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT *lpRect)
{
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE);
}

BOOL WINAPI UpdateWindow(HWND hWnd)
{
    return RedrawWindow(hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    if (lpRect != nullptr) {
        *lpRect = window->update;
    }
    const bool pending = !IsRectEmpty(&window->update);
    if (pending && bErase && window->erasePending) {
        window->erasePending = false;
        HDC dc = GetDC(hWnd);
        SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(hWnd, dc);
    }
    return pending;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr || lpPaint == nullptr) {
        return nullptr;
    }
    *lpPaint = {};
    const RECT visible = VisibleClientRect(window);
    IntersectRect(&lpPaint->rcPaint, &window->update, &visible);
    SetRectEmpty(&window->update);
    window->internalPaint = false;
    const bool erase = window->erasePending;
    window->erasePending = false;
    if (IsVisibleOnScreen(window)) {
        DrawNonClient(window);
    }
    lpPaint->hdc = SurfaceDC(window, lpPaint->rcPaint);
    WindowDCs()[lpPaint->hdc] = hWnd;
    if (erase) {
        lpPaint->fErase = SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(lpPaint->hdc), 0) == 0;
    }
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT *lpPaint)
{
    if (lpPaint == nullptr) {
        return FALSE;
    }
    if (lpPaint->hdc != nullptr && WindowDCs().erase(lpPaint->hdc) != 0) {
        DeleteDC(lpPaint->hdc);
    }
    if (Window *window = LookupQuiet(hWnd)) {
        PresentWindow(window);
    }
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd)
{
    HDC dc = nullptr;
    if (hWnd == nullptr) {
        dc = CreateCompatibleDC(nullptr); // the screen: nothing of it is ours to show
    } else {
        Window *window = Lookup(hWnd);
        if (window == nullptr) {
            return nullptr;
        }
        dc = SurfaceDC(window, VisibleClientRect(window));
    }
    if (dc != nullptr) {
        WindowDCs()[dc] = hWnd;
    }
    return dc;
}

HWND WINAPI WindowFromDC(HDC hDC)
{
    const auto found = WindowDCs().find(hDC);
    return found == WindowDCs().end() ? nullptr : found->second;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC)
{
    if (WindowDCs().erase(hDC) == 0) {
        return 0;
    }
    DeleteDC(hDC);
    if (Window *window = LookupQuiet(hWnd)) {
        PresentWindow(window);
    }
    return 1;
}
