// The button control: push buttons, check boxes, radio buttons and the rest of its kinds, clicked by
// mouse, Space key or BM_CLICK; each state change reaches the button itself as a message
// (BM_SETSTATE, BM_SETCHECK, BCM_SETDROPDOWNSTATE), as the platform sends them. Drawing is in
// button_paint.cpp, the version-6 extras (notes, split info, images, ideal size) in button_extras.cpp.
#include "button.h"
#include "button_extras.h"

namespace button {
namespace {

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Draws at once rather than at the next WM_PAINT: the owner-drawn button's focus.
void PaintNow(HWND hwnd, const Button &button, UINT action)
{
    if (!IsWindowVisible(hwnd)) {
        return;
    }
    HDC dc = GetDC(hwnd);
    Paint(hwnd, button, dc, action);
    ReleaseDC(hwnd, dc);
}

bool Inside(HWND hwnd, POINT point)
{
    RECT client;
    GetClientRect(hwnd, &client);
    return PtInRect(&client, point) != FALSE;
}

POINT PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The split button's arrow tells the parent (BCN_DROPDOWN), held down meanwhile. A click tells it
// only when it lands on the arrow of a split button; the arrow keys tell it from any button.
// Returns whether the click was the arrow's.
bool DropDown(HWND hwnd, const Button &button, const POINT *click)
{
    NMBCDROPDOWN notice = {};
    GetClientRect(hwnd, &notice.rcButton);
    if (click != nullptr) {
        RECT push;
        RECT arrow;
        SplitRects(button, notice.rcButton, &push, &arrow);
        if (!IsSplitButton(Kind(hwnd)) || (button.split.style & BCSS_NOSPLIT) != 0 ||
            PtInRect(&arrow, *click) == FALSE) {
            return false;
        }
        if (button.dropDownPushed) { // held down by BCM_SETDROPDOWNSTATE: nothing more to tell
            return true;
        }
    }
    SendMessageW(hwnd, BCM_SETDROPDOWNSTATE, TRUE, 0);
    notice.hdr = {hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), BCN_DROPDOWN};
    SendMessageW(Recipient(hwnd), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
    SendMessageW(hwnd, BCM_SETDROPDOWNSTATE, FALSE, 0);
    return true;
}

void Press(HWND hwnd, Button &button)
{
    SetCapture(hwnd);
    button.pressing = true;
    SendMessageW(hwnd, BM_SETSTATE, TRUE, 0);
}

// What a click does to the automatic kinds before the parent hears of it.
void CheckByClick(HWND hwnd, const Button &button)
{
    switch (Kind(hwnd)) {
    case BS_AUTOCHECKBOX: SendMessageW(hwnd, BM_SETCHECK, button.check == BST_CHECKED ? 0 : 1, 0); break;
    case BS_AUTORADIOBUTTON: SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0); break;
    case BS_AUTO3STATE:
        SendMessageW(hwnd, BM_SETCHECK, button.check == BST_INDETERMINATE ? BST_UNCHECKED : button.check + 1,
                     0);
        break;
    default: break;
    }
}

// How a press ends: released over the button (or by the Space key) it is a click; released
// elsewhere, or pushed no longer, it is abandoned.
enum class PressEnd { Click, Abandon };

void Release(HWND hwnd, Button &button, PressEnd end)
{
    if (button.dropDownPushed) {
        SendMessageW(hwnd, BCM_SETDROPDOWNSTATE, FALSE, 0);
    }
    if (!button.pressing) {
        return;
    }
    button.pressing = false;
    if (!button.pushed) {
        ReleaseCapture();
        return;
    }
    SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);
    if (end == PressEnd::Abandon) {
        ReleaseCapture();
        return;
    }
    CheckByClick(hwnd, button);
    ReleaseCapture();
    Notify(hwnd, BN_CLICKED);
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

// The most a kind can be checked: three-state kinds can be indeterminate, push buttons not even
// checked.
UINT MostChecked(DWORD kind)
{
    if (kind == BS_3STATE || kind == BS_AUTO3STATE) {
        return BST_INDETERMINATE;
    }
    return IsCheckBox(kind) || IsRadioButton(kind) ? BST_CHECKED : BST_UNCHECKED;
}

// An automatic radio button checked clears the other automatic radio buttons of its group.
void UncheckTheRestOfTheGroup(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    for (HWND sibling = GetNextDlgGroupItem(parent, hwnd, FALSE); sibling != nullptr && sibling != hwnd;
         sibling = GetNextDlgGroupItem(parent, sibling, FALSE)) {
        if (Kind(sibling) == BS_AUTORADIOBUTTON) {
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

// ---- Message handlers ----

LRESULT OnPaint(HWND hwnd, const Button &button, WPARAM givenDc)
{
    if (givenDc != 0) {
        Paint(hwnd, button, reinterpret_cast<HDC>(givenDc), ODA_DRAWENTIRE);
        return 0;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    Paint(hwnd, button, dc, ODA_DRAWENTIRE);
    EndPaint(hwnd, &paint);
    return 0;
}

// Only the owner-drawn button has a background to erase; the others fill theirs as they paint.
LRESULT OnEraseBackground(HWND hwnd, WPARAM dc)
{
    if (Kind(hwnd) == BS_OWNERDRAW) {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(dc), &client,
                 controls::ParentBrush(hwnd, reinterpret_cast<HDC>(dc), WM_CTLCOLORBTN));
    }
    return 1;
}

LRESULT OnButtonDown(HWND hwnd, Button &button, LPARAM lParam)
{
    SetFocus(hwnd);
    const POINT point = PointOf(lParam);
    if (!DropDown(hwnd, button, &point)) {
        Press(hwnd, button);
    }
    return 0;
}

// A double click is a second press, except where the parent is to hear of it.
LRESULT OnDoubleClick(HWND hwnd, Button &button, LPARAM lParam)
{
    const DWORD kind = Kind(hwnd);
    if ((GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) != 0 || kind == BS_RADIOBUTTON ||
        kind == BS_USERBUTTON || kind == BS_OWNERDRAW) {
        Notify(hwnd, BN_DOUBLECLICKED);
        return 0;
    }
    return OnButtonDown(hwnd, button, lParam);
}

// While pressed, the button looks pushed only with the pointer over it.
LRESULT OnMouseMove(HWND hwnd, const Button &button, LPARAM lParam)
{
    if (button.pressing && GetCapture() == hwnd) {
        SendMessageW(hwnd, BM_SETSTATE, Inside(hwnd, PointOf(lParam)) ? TRUE : FALSE, 0);
    }
    return 0;
}

LRESULT OnButtonUp(HWND hwnd, Button &button, LPARAM lParam)
{
    Release(hwnd, button, Inside(hwnd, PointOf(lParam)) ? PressEnd::Click : PressEnd::Abandon);
    return 0;
}

LRESULT OnKeyDown(HWND hwnd, Button &button, WPARAM key)
{
    // Space pushes the button again even while the mouse holds it with the pointer elsewhere.
    if (key == VK_SPACE) {
        Press(hwnd, button);
    } else if (key == VK_UP || key == VK_DOWN) {
        DropDown(hwnd, button, nullptr);
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

// Capture taken away mid-press: the press is abandoned.
LRESULT OnCaptureChanged(HWND hwnd, Button &button, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) != hwnd && button.pressing) {
        button.pressing = false;
        if (button.pushed) {
            SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);
        }
    }
    return 0;
}

// BM_CLICK: a press and release at the button's corner, as if by mouse.
LRESULT OnClick(HWND hwnd)
{
    SendMessageW(hwnd, WM_LBUTTONDOWN, 0, 0);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
    return 0;
}

// A radio button is the tab stop of its group while it is checked, so that the dialog keys come
// to the group at the checked button; its style is set even when unchanged.
LRESULT OnSetCheck(HWND hwnd, Button &button, WPARAM asked)
{
    const DWORD kind = Kind(hwnd);
    const UINT check = std::min(static_cast<UINT>(asked), MostChecked(kind));
    auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if (IsRadioButton(kind)) {
        style = check != BST_UNCHECKED ? style | WS_TABSTOP : style & ~static_cast<DWORD>(WS_TABSTOP);
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    }
    if (button.check != check) {
        button.check = check;
        Redraw(hwnd);
    }
    if (kind == BS_AUTORADIOBUTTON && check == BST_CHECKED && (style & WS_CHILD) != 0) {
        UncheckTheRestOfTheGroup(hwnd);
    }
    return 0;
}

LRESULT GetState(const Button &button)
{
    return static_cast<LRESULT>(button.check | (button.pushed ? BST_PUSHED : 0) |
                                (button.focused ? BST_FOCUS : 0) |
                                (button.dropDownPushed ? BST_DROPDOWNPUSHED : 0));
}

// The old user button tells its parent when to draw it pushed and released.
LRESULT OnSetState(HWND hwnd, Button &button, WPARAM pushed)
{
    if (button.pushed == (pushed != 0)) {
        return 0;
    }
    button.pushed = pushed != 0;
    if (Kind(hwnd) == BS_USERBUTTON) {
        Notify(hwnd, button.pushed ? BN_HILITE : BN_UNHILITE);
    }
    Redraw(hwnd);
    return 0;
}

LRESULT OnSetDropDownState(HWND hwnd, Button &button, WPARAM pushed)
{
    if (button.dropDownPushed != (pushed != 0)) {
        button.dropDownPushed = pushed != 0;
        Redraw(hwnd);
    }
    return 0;
}

// The owner-drawn button's parent draws the focus at once; the others show it at the next paint.
LRESULT OnSetFocus(HWND hwnd, Button &button)
{
    button.focused = true;
    if (Kind(hwnd) == BS_OWNERDRAW) {
        PaintNow(hwnd, button, ODA_FOCUS);
    } else {
        Redraw(hwnd);
    }
    if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) {
        Notify(hwnd, BN_SETFOCUS);
    }
    return 0;
}

// Losing the focus abandons a press under way (the capture's loss ends it).
LRESULT OnKillFocus(HWND hwnd, Button &button)
{
    button.focused = false;
    if (button.pressing && GetCapture() == hwnd) {
        ReleaseCapture();
    }
    if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) {
        Notify(hwnd, BN_KILLFOCUS);
    }
    Redraw(hwnd);
    return 0;
}

// A new text or a change of enabled state: DefWindowProc keeps it, the button shows it.
LRESULT RedrawAfterDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    Redraw(hwnd);
    return result;
}

// BM_SETSTYLE changes only the button's type (BS_PUSHBUTTON, BS_DEFPUSHBUTTON ...). A split
// button or command link asked to be a plain or default push button stays what it is, default or
// not.
DWORD NewType(DWORD current, DWORD asked)
{
    if (current >= BS_SPLITBUTTON && asked <= BS_DEFPUSHBUTTON) {
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

LRESULT OnCreate(HWND hwnd, LPARAM lParam)
{
    Button *made = controls::CreateState<Button>(hwnd);
    const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
    made->self = hwnd;
    made->parent = create->hwndParent;
    made->style = create->style;
    made->split.size.cx = GetSystemMetrics(SM_CYMENUCHECK); // the arrow is as wide as a menu's check mark
    // The old user button is made a push button.
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if ((style & BS_TYPEMASK) == BS_USERBUTTON) {
        SetWindowLongW(hwnd, GWL_STYLE,
                       static_cast<LONG>((style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_PUSHBUTTON));
    }
    return DefWindowProcW(hwnd, WM_NCCREATE, 0, lParam);
}

// The messages of the button's state and input; the rest go to HandleExtras.
LRESULT HandleState(HWND hwnd, Button &button, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: return OnButtonDown(hwnd, button, lParam);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(hwnd, button, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, button, lParam);
    case WM_LBUTTONUP: return OnButtonUp(hwnd, button, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, button, wParam);
    case WM_KEYUP: return OnKeyUp(hwnd, button, wParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(hwnd, button, lParam);
    case BM_CLICK: return OnClick(hwnd);
    case BM_GETCHECK: return static_cast<LRESULT>(button.check);
    case BM_SETCHECK: return OnSetCheck(hwnd, button, wParam);
    case BM_GETSTATE: return GetState(button);
    case BM_SETSTATE: return OnSetState(hwnd, button, wParam);
    case BCM_SETDROPDOWNSTATE: return OnSetDropDownState(hwnd, button, wParam);
    case BM_SETSTYLE: return OnSetStyle(hwnd, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(hwnd, button);
    case WM_KILLFOCUS: return OnKillFocus(hwnd, button);
    default: return HandleExtras(hwnd, button, message, wParam, lParam);
    }
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        return OnCreate(hwnd, lParam);
    }
    Button *button = controls::StateOf<Button>(hwnd);
    if (!button) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_DESTROY: controls::DestroyState<Button>(hwnd); return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: return OnPaint(hwnd, *button, wParam);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd, wParam);
    case WM_NCHITTEST:
        return Kind(hwnd) == BS_GROUPBOX ? HTTRANSPARENT : DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_SETTEXT:
    case WM_ENABLE: return RedrawAfterDefault(hwnd, message, wParam, lParam);
    case WM_SETFONT: return OnSetFont(hwnd, *button, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(button->font);
    case WM_GETDLGCODE: return GetDialogCode(Kind(hwnd));
    default: return HandleState(hwnd, *button, message, wParam, lParam);
    }
}

} // namespace
} // namespace button

void RegisterButtonClass()
{
    controls::RegisterControlClass(L"Button", button::ButtonProc);
}
