// The static control: a label drawn in the colours its parent chooses.
#include "controls.h"

namespace {

struct Static {
    HFONT font = nullptr;
};

UINT AlignmentFormat(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: return DT_CENTER;
    case SS_RIGHT: return DT_RIGHT;
    default: return DT_LEFT;
    }
}

// Whether the static shows its text as a caption; the picture kinds take it for a resource's name,
// and the frame and rectangle kinds show none.
bool ShowsText(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: return true;
    default: return false;
    }
}

void Paint(HWND hwnd, const Static &label, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, controls::ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if (!ShowsText(style)) {
        return;
    }
    if (!IsWindowEnabled(hwnd)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }

    const controls::Text text = controls::WindowText(hwnd);

    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(label.font));
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawTextW(dc, controls::AsWide(text), static_cast<int>(text.size()), &client,
              AlignmentFormat(style) | DT_WORDBREAK | prefix);
    SelectObject(dc, previousFont);
}

// ---- Message handlers ----

LRESULT OnPaint(HWND hwnd, const Static &label)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    Paint(hwnd, label, dc);
    EndPaint(hwnd, &paint);
    return 0;
}

// A new text or a change of enabled state: DefWindowProc keeps it, the label shows it.
LRESULT RedrawAfterDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return result;
}

LRESULT OnSetFont(HWND hwnd, Static &label, WPARAM font, LPARAM redraw)
{
    label.font = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw)) {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
}

// A label lets the mouse through unless it asked to hear about clicks.
LRESULT HitTest(HWND hwnd)
{
    return (GetWindowLongW(hwnd, GWL_STYLE) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
}

// Etched lines and sunken statics are drawn by their thin edge; an etched line is that edge alone,
// with no client area across it.
void TakeEdge(HWND hwnd, const CREATESTRUCTW &create)
{
    const DWORD type = static_cast<DWORD>(create.style) & SS_TYPEMASK;
    const bool etched = type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT;
    if (!etched && (create.style & SS_SUNKEN) == 0) {
        return;
    }
    SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(create.dwExStyle | WS_EX_STATICEDGE));
    if (etched) {
        const bool across = type == SS_ETCHEDHORZ;
        const int edge = 2 * GetSystemMetrics(across ? SM_CYBORDER : SM_CXBORDER);
        SetWindowPos(hwnd, nullptr, 0, 0, across ? create.cx : edge, across ? edge : create.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        controls::CreateState<Static>(hwnd);
    }
    if (message == WM_CREATE) {
        TakeEdge(hwnd, *reinterpret_cast<const CREATESTRUCTW *>(lParam));
    }
    Static *label = controls::StateOf<Static>(hwnd);
    if (!label) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_DESTROY: controls::DestroyState<Static>(hwnd); return 0;
    case WM_PAINT: return OnPaint(hwnd, *label);
    case WM_PRINTCLIENT: Paint(hwnd, *label, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case WM_SETTEXT:
    case WM_ENABLE: return RedrawAfterDefault(hwnd, message, wParam, lParam);
    case WM_SETFONT: return OnSetFont(hwnd, *label, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(label->font);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST: return HitTest(hwnd);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterStaticClass()
{
    controls::RegisterControlClass(L"Static", StaticProc);
}
