// The button control: push buttons and check boxes, clicked by mouse, Space key or BM_CLICK.
#include "controls.h"

namespace {

// The check box's square and the gap to its text, in pixels.
constexpr int kBoxSize = 13;
constexpr int kTextGap = 4;
// The check mark: a short stroke down to the bottom point, then a long one up, each 3 pixels thick.
constexpr POINT kCheckMark[] = {{3, 5}, {5, 7}, {10, 2}};
constexpr int kCheckThickness = 3;

struct Button {
    HFONT font = nullptr;
    bool checked = false;
    bool pushed = false;   // drawn pressed: the mouse or Space is down over it
    bool pressing = false; // a press began here and has not been released yet
    bool focused = false;
};

DWORD Kind(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsCheckBox(DWORD kind)
{
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX;
}

using controls::FillArea;

// A dotted frame, as the platform marks the focused control.
void DrawFocusFrame(HDC dc, const RECT &rect, COLORREF color)
{
    for (LONG x = rect.left; x < rect.right; x += 2) {
        SetPixel(dc, x, rect.top, color);
        SetPixel(dc, x, rect.bottom - 1, color);
    }
    for (LONG y = rect.top; y < rect.bottom; y += 2) {
        SetPixel(dc, rect.left, y, color);
        SetPixel(dc, rect.right - 1, y, color);
    }
}

void DrawCheckMark(HDC dc, int left, int top, COLORREF color)
{
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    for (int offset = 0; offset < kCheckThickness; ++offset) {
        MoveToEx(dc, left + kCheckMark[0].x, top + kCheckMark[0].y + offset, nullptr);
        LineTo(dc, left + kCheckMark[1].x, top + kCheckMark[1].y + offset);
        LineTo(dc, left + kCheckMark[2].x + 1, top + kCheckMark[2].y + offset - 1);
    }
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

// The square: a sunken frame around a white well (grey while pushed or disabled), with the mark.
void DrawBox(HDC dc, const Button &button, int left, int top, bool enabled)
{
    const int right = left + kBoxSize;
    const int bottom = top + kBoxSize;
    FillArea(dc, left, top, right, bottom, COLOR_3DSHADOW);
    FillArea(dc, left + 1, top + 1, right, bottom, COLOR_3DHILIGHT);
    FillArea(dc, left + 1, top + 1, right - 1, bottom - 1, COLOR_3DDKSHADOW);
    FillArea(dc, left + 2, top + 2, right - 1, bottom - 1, COLOR_3DFACE);
    const bool white = enabled && !button.pushed;
    FillArea(dc, left + 2, top + 2, right - 2, bottom - 2, white ? COLOR_WINDOW : COLOR_3DFACE);
    if (button.checked) {
        DrawCheckMark(dc, left, top, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    }
}

// The raised (or, pushed, sunken) face of a push button.
void DrawFace(HDC dc, const RECT &rect, bool pushed)
{
    const int light = pushed ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT;
    const int dark = pushed ? COLOR_3DHILIGHT : COLOR_3DDKSHADOW;
    FillArea(dc, rect.left, rect.top, rect.right, rect.bottom, dark);
    FillArea(dc, rect.left, rect.top, rect.right - 1, rect.bottom - 1, light);
    FillArea(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1, COLOR_3DSHADOW);
    FillArea(dc, rect.left + 1, rect.top + 1, rect.right - 2, rect.bottom - 2, COLOR_3DFACE);
}

void Paint(HWND hwnd, const Button &button, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    const DWORD kind = Kind(hwnd);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const bool checkBox = IsCheckBox(kind);
    // Check boxes sit on their parent's background; push buttons have a face of their own.
    FillRect(dc, &client, controls::ParentBrush(hwnd, dc, checkBox ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN));

    RECT textRect = client;
    if (checkBox) {
        const int top = (client.bottom - kBoxSize) / 2;
        DrawBox(dc, button, client.left, top, enabled);
        textRect.left += kBoxSize + kTextGap;
    } else {
        DrawFace(dc, client, button.pushed);
        SetBkColor(dc, GetSysColor(COLOR_3DFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        if (button.pushed) {
            OffsetRect(&textRect, 1, 1);
        }
    }
    if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }

    const controls::Text text = controls::WindowText(hwnd);
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(button.font));
    SetBkMode(dc, TRANSPARENT);
    const UINT alignment = checkBox ? DT_LEFT : DT_CENTER;
    RECT measured = textRect;
    DrawTextW(dc, controls::Wide(text), static_cast<int>(text.size()), &measured,
              alignment | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
    DrawTextW(dc, controls::Wide(text), static_cast<int>(text.size()), &textRect,
              alignment | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previousFont);

    if (button.focused) {
        // Around the text of a check box, inside the face of a push button.
        RECT focus = client;
        if (checkBox) {
            const LONG height = measured.bottom - measured.top;
            focus = {textRect.left - 1, (client.bottom - height) / 2 - 1,
                     textRect.left + (measured.right - measured.left) + 1, (client.bottom + height) / 2 + 1};
        } else {
            InflateRect(&focus, -3, -3);
        }
        DrawFocusFrame(dc, focus, GetSysColor(COLOR_WINDOWTEXT));
    }
}

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
}

void SetPushed(HWND hwnd, Button &button, bool pushed)
{
    if (button.pushed != pushed) {
        button.pushed = pushed;
        Redraw(hwnd);
    }
}

void Press(HWND hwnd, Button &button)
{
    button.pressing = true;
    SetPushed(hwnd, button, true);
    SetCapture(hwnd);
}

// The end of a press: a release over the button is a click.
void Release(HWND hwnd, Button &button, bool over)
{
    if (!button.pressing) {
        return;
    }
    button.pressing = false;
    SetPushed(hwnd, button, false);
    ReleaseCapture();
    if (!over) {
        return;
    }
    if (Kind(hwnd) == BS_AUTOCHECKBOX) {
        button.checked = !button.checked;
        Redraw(hwnd);
    }
    controls::NotifyParent(hwnd, BN_CLICKED);
}

bool Inside(HWND hwnd, LPARAM lParam)
{
    RECT client;
    GetClientRect(hwnd, &client);
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, point) != FALSE;
}

LRESULT GetDialogCode(DWORD kind)
{
    switch (kind) {
    case BS_PUSHBUTTON:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    default:
        return DLGC_BUTTON;
    }
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        controls::CreateState<Button>(hwnd);
    }
    Button *button = controls::StateOf<Button>(hwnd);
    if (!button) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_DESTROY:
        controls::DestroyState<Button>(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        Paint(hwnd, *button, dc);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(hwnd, *button, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the background itself
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd);
        Press(hwnd, *button);
        return 0;
    case WM_MOUSEMOVE:
        if (button->pressing && GetCapture() == hwnd) {
            SetPushed(hwnd, *button, Inside(hwnd, lParam));
        }
        return 0;
    case WM_LBUTTONUP:
        Release(hwnd, *button, Inside(hwnd, lParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !button->pressing) {
            Press(hwnd, *button);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            Release(hwnd, *button, true);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press: the press is abandoned.
        if (reinterpret_cast<HWND>(lParam) != hwnd && button->pressing) {
            button->pressing = false;
            SetPushed(hwnd, *button, false);
        }
        return 0;
    case BM_CLICK:
        Press(hwnd, *button);
        Release(hwnd, *button, true);
        return 0;
    case BM_GETCHECK:
        return button->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        if (IsCheckBox(Kind(hwnd)) && button->checked != (wParam == BST_CHECKED)) {
            button->checked = wParam == BST_CHECKED;
            Redraw(hwnd);
        }
        return 0;
    case BM_GETSTATE:
        return (button->checked ? BST_CHECKED : BST_UNCHECKED) | (button->pushed ? BST_PUSHED : 0) |
               (button->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(hwnd, *button, wParam != 0);
        return 0;
    case WM_SETFOCUS:
        button->focused = true;
        Redraw(hwnd);
        if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) {
            controls::NotifyParent(hwnd, BN_SETFOCUS);
        }
        return 0;
    case WM_KILLFOCUS:
        button->focused = false;
        if (button->pressing) {
            button->pressing = false;
            SetPushed(hwnd, *button, false);
            ReleaseCapture();
        }
        Redraw(hwnd);
        if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) {
            controls::NotifyParent(hwnd, BN_KILLFOCUS);
        }
        return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        Redraw(hwnd);
        return result;
    }
    case WM_SETFONT:
        button->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            Redraw(hwnd);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(button->font);
    case WM_GETDLGCODE:
        return GetDialogCode(Kind(hwnd));
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass()
{
    controls::RegisterControlClass(L"Button", ButtonProc);
}
