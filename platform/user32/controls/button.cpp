// The button control: push buttons and check boxes, clicked by mouse, Space key or BM_CLICK.
#include "controls.h"

#include <commctrl.h>

namespace {

// The check box's square and the gap to its text, in pixels.
constexpr int kBoxSize = 13;
constexpr int kTextGap = 4;
// The check mark: a short stroke down to the bottom point, then a long one up, each 3 pixels thick.
constexpr POINT kCheckMark[] = {{3, 5}, {5, 7}, {10, 2}};
constexpr int kCheckThickness = 3;

struct Button {
    // Some programs read these three through the window's first bytes, where the platform keeps
    // them: the button itself, its parent and the style it was made with.
    HWND self = nullptr;
    HWND parent = nullptr;
    LONG style = 0;
    HFONT font = nullptr;
    bool checked = false;
    bool pushed = false;   // drawn pressed: the mouse or Space is down over it
    bool pressing = false; // a press began here and has not been released yet
    bool focused = false;
    RECT textMargin = {}; // BCM_SETTEXTMARGIN: room kept between the text and its place's edges
};

DWORD Kind(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsCheckBox(DWORD kind)
{
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX;
}

bool IsRadioButton(DWORD kind)
{
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
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

// The default push button wears a dark frame around its face.
void DrawPushButtonFace(HDC dc, const RECT &client, DWORD kind, bool pushed)
{
    RECT face = client;
    if (kind == BS_DEFPUSHBUTTON) {
        FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    DrawFace(dc, face, pushed);
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
        DrawPushButtonFace(dc, client, kind, button.pushed);
        SetBkColor(dc, GetSysColor(COLOR_3DFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        if (button.pushed) {
            OffsetRect(&textRect, 1, 1);
        }
    }
    if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    // The text keeps the margins asked for with BCM_SETTEXTMARGIN from the edges of its place.
    textRect = {textRect.left + button.textMargin.left, textRect.top + button.textMargin.top,
                textRect.right - button.textMargin.right, textRect.bottom - button.textMargin.bottom};

    const controls::Text text = controls::WindowText(hwnd);
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(button.font));
    SetBkMode(dc, TRANSPARENT);
    const UINT alignment = checkBox ? DT_LEFT : DT_CENTER;
    RECT measured = textRect;
    DrawTextW(dc, controls::AsWide(text), static_cast<int>(text.size()), &measured,
              alignment | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
    DrawTextW(dc, controls::AsWide(text), static_cast<int>(text.size()), &textRect,
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

// How the face (or a check box's square) is drawn.
enum class Face { Raised, Pushed };

void SetFace(HWND hwnd, Button &button, Face face)
{
    const bool pushed = face == Face::Pushed;
    if (button.pushed != pushed) {
        button.pushed = pushed;
        Redraw(hwnd);
    }
}

void Press(HWND hwnd, Button &button)
{
    button.pressing = true;
    SetFace(hwnd, button, Face::Pushed);
    SetCapture(hwnd);
}

// How a press ends: released over the button it is a click; otherwise it is abandoned.
enum class PressEnd { Click, Abandon };

void Release(HWND hwnd, Button &button, PressEnd end)
{
    if (!button.pressing) {
        return;
    }
    button.pressing = false;
    SetFace(hwnd, button, Face::Raised);
    ReleaseCapture();
    if (end == PressEnd::Abandon) {
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
    case BS_USERBUTTON:
    case BS_COMMANDLINK: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
    case BS_DEFCOMMANDLINK: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_SPLITBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_WANTARROWS;
    case BS_DEFSPLITBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_WANTARROWS;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

// ---- Message handlers ----

LRESULT OnPaint(HWND hwnd, const Button &button)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    Paint(hwnd, button, dc);
    EndPaint(hwnd, &paint);
    return 0;
}

LRESULT OnButtonDown(HWND hwnd, Button &button)
{
    SetFocus(hwnd);
    Press(hwnd, button);
    return 0;
}

// While pressed, the button looks pushed only with the pointer over it.
LRESULT OnMouseMove(HWND hwnd, Button &button, LPARAM lParam)
{
    if (button.pressing && GetCapture() == hwnd) {
        SetFace(hwnd, button, Inside(hwnd, lParam) ? Face::Pushed : Face::Raised);
    }
    return 0;
}

LRESULT OnButtonUp(HWND hwnd, Button &button, LPARAM lParam)
{
    Release(hwnd, button, Inside(hwnd, lParam) ? PressEnd::Click : PressEnd::Abandon);
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, Button &button, WPARAM key)
{
    if (key == VK_SPACE && !button.pressing) {
        Press(hwnd, button);
    }
    return 0;
}

LRESULT OnKeyUp(HWND hwnd, Button &button, WPARAM key)
{
    if (key == VK_SPACE) {
        Release(hwnd, button, PressEnd::Click);
    }
    return 0;
}

// Capture taken away mid-press: the press is abandoned, and the capture is no longer ours to free.
LRESULT OnCaptureChanged(HWND hwnd, Button &button, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) != hwnd && button.pressing) {
        button.pressing = false;
        SetFace(hwnd, button, Face::Raised);
    }
    return 0;
}

LRESULT OnClick(HWND hwnd, Button &button)
{
    Press(hwnd, button);
    Release(hwnd, button, PressEnd::Click);
    return 0;
}

// A radio button is the tab stop of its group while it is the checked one, so that the dialog
// keys come to the group at the checked button.
void FollowCheckWithTabStop(HWND hwnd, bool checked)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const DWORD wanted = checked ? style | WS_TABSTOP : style & ~static_cast<DWORD>(WS_TABSTOP);
    if (wanted != style) {
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wanted));
    }
}

LRESULT OnSetCheck(HWND hwnd, Button &button, WPARAM check)
{
    if (IsRadioButton(Kind(hwnd))) {
        FollowCheckWithTabStop(hwnd, check == BST_CHECKED);
    }
    if ((IsCheckBox(Kind(hwnd)) || IsRadioButton(Kind(hwnd))) && button.checked != (check == BST_CHECKED)) {
        button.checked = check == BST_CHECKED;
        Redraw(hwnd);
    }
    return 0;
}

LRESULT GetState(const Button &button)
{
    return (button.checked ? BST_CHECKED : BST_UNCHECKED) | (button.pushed ? BST_PUSHED : 0) |
           (button.focused ? BST_FOCUS : 0);
}

LRESULT OnSetFocus(HWND hwnd, Button &button)
{
    button.focused = true;
    Redraw(hwnd);
    if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) {
        controls::NotifyParent(hwnd, BN_SETFOCUS);
    }
    return 0;
}

// Losing the focus abandons a press under way.
LRESULT OnKillFocus(HWND hwnd, Button &button)
{
    button.focused = false;
    Release(hwnd, button, PressEnd::Abandon);
    Redraw(hwnd);
    if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) {
        controls::NotifyParent(hwnd, BN_KILLFOCUS);
    }
    return 0;
}

// A new text or a change of enabled state: DefWindowProc keeps it, the button shows it.
LRESULT RedrawAfterDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    Redraw(hwnd);
    return result;
}

// BM_SETSTYLE changes only the button's type (BS_PUSHBUTTON, BS_DEFPUSHBUTTON ...).
// A split button (types 0xC and 0xD, this version's) asked to be a plain or default push button
// stays a split button, default or not.
DWORD NewType(DWORD current, DWORD asked)
{
    constexpr DWORD kSplitButton = 0xC;
    if (current >= kSplitButton && current <= kSplitButton + BS_DEFPUSHBUTTON && asked <= BS_DEFPUSHBUTTON) {
        return (current & ~static_cast<DWORD>(BS_DEFPUSHBUTTON)) | asked;
    }
    return asked;
}

LRESULT OnSetStyle(HWND hwnd, WPARAM style, LPARAM redraw)
{
    const auto current = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const DWORD type = NewType(current & BS_TYPEMASK, static_cast<DWORD>(style) & BS_TYPEMASK);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((current & ~static_cast<DWORD>(BS_TYPEMASK)) | type));
    if (redraw != 0) {
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnSetFont(HWND hwnd, Button &button, WPARAM font, LPARAM redraw)
{
    button.font = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw)) {
        Redraw(hwnd);
    }
    return 0;
}

// BCM_SETTEXTMARGIN and BCM_GETTEXTMARGIN: without a rectangle, nothing is done.
LRESULT TextMargin(Button &button, UINT message, RECT *margin)
{
    if (margin == nullptr) {
        return FALSE;
    }
    if (message == BCM_SETTEXTMARGIN) {
        button.textMargin = *margin;
    } else {
        *margin = button.textMargin;
    }
    return TRUE;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        Button *made = controls::CreateState<Button>(hwnd);
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        made->self = hwnd;
        made->parent = create->hwndParent;
        made->style = create->style;
        // The old user button is made a push button.
        const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        if ((style & BS_TYPEMASK) == BS_USERBUTTON) {
            SetWindowLongW(hwnd, GWL_STYLE,
                           static_cast<LONG>((style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_PUSHBUTTON));
        }
    }
    Button *button = controls::StateOf<Button>(hwnd);
    if (!button) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_DESTROY: controls::DestroyState<Button>(hwnd); return 0;
    case WM_PAINT: return OnPaint(hwnd, *button);
    case WM_PRINTCLIENT: Paint(hwnd, *button, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButtonDown(hwnd, *button);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, *button, lParam);
    case WM_LBUTTONUP: return OnButtonUp(hwnd, *button, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, *button, wParam);
    case WM_KEYUP: return OnKeyUp(hwnd, *button, wParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(hwnd, *button, lParam);
    case BM_CLICK: return OnClick(hwnd, *button);
    case BM_GETCHECK: return button->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: return OnSetCheck(hwnd, *button, wParam);
    case BM_GETSTATE: return GetState(*button);
    case BM_SETSTATE: SetFace(hwnd, *button, wParam != 0 ? Face::Pushed : Face::Raised); return 0;
    case BM_SETSTYLE: return OnSetStyle(hwnd, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(hwnd, *button);
    case WM_KILLFOCUS: return OnKillFocus(hwnd, *button);
    case WM_SETTEXT:
    case WM_ENABLE: return RedrawAfterDefault(hwnd, message, wParam, lParam);
    case WM_SETFONT: return OnSetFont(hwnd, *button, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(button->font);
    case WM_GETDLGCODE: return GetDialogCode(Kind(hwnd));
    case BCM_SETTEXTMARGIN:
    case BCM_GETTEXTMARGIN: return TextMargin(*button, message, reinterpret_cast<RECT *>(lParam));
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass()
{
    controls::RegisterControlClass(L"Button", ButtonProc);
}
