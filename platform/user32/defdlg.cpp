// DefDlgProc: the dialog procedure's default handling. It calls the program's dialog procedure
// and does itself what that procedure leaves alone: the background, the focus kept across
// activation, the default button and WM_NEXTDLGCTL.
#include "dialog.h"

namespace platform::user32 {

namespace {

void SaveFocus(HWND dialog, DialogInfo &info)
{
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(dialog, focus)) {
        info.savedFocus = focus;
    }
}

// How the dialog gets its focus back: activated, it returns the focus to the control that had it
// when the dialog was deactivated, and does nothing else; focused itself, it gives the focus to
// that control or else to the first one, selecting a field's text.
enum class Restore { OnActivation, OnFocus };

void RestoreFocus(HWND dialog, DialogInfo &info, Restore restore)
{
    // An ended dialog keeps the focus itself until it is gone.
    if (info.ended) {
        return;
    }
    if (info.savedFocus == nullptr || !IsChild(dialog, info.savedFocus)) {
        if (restore == Restore::OnActivation) {
            return;
        }
        info.savedFocus = GetNextDlgTabItem(dialog, nullptr, FALSE);
        if (info.savedFocus == nullptr) {
            info.savedFocus = GetNextDlgGroupItem(dialog, nullptr, FALSE);
        }
        if (info.savedFocus == nullptr) {
            return;
        }
    }
    if (restore == Restore::OnActivation) {
        SetFocus(info.savedFocus);
    } else {
        FocusDialogControl(info.savedFocus);
    }
    // Given back once: the next activation keeps whatever has the focus then.
    info.savedFocus = nullptr;
}

LRESULT DialogCode(HWND control)
{
    return control != nullptr ? SendMessageW(control, WM_GETDLGCODE, 0, 0) : 0;
}

void SetButtonType(HWND button, DWORD type)
{
    SendMessageW(button, BM_SETSTYLE, type, TRUE);
}

HWND DefaultButton(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
            return child;
        }
    }
    return nullptr;
}

bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
    case WM_SETTEXT: // a dialog procedure that sets the text itself answers for it
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
    }
}

// The dialog's background in the brush WM_CTLCOLORDLG gives, its parent's or the default one.
LRESULT EraseBackground(HWND hwnd, HDC dc, CharSet strings)
{
    auto *brush = reinterpret_cast<HBRUSH>(Send(hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(hwnd), strings == CharSet::Wide));
    if (brush == nullptr) {
        brush = reinterpret_cast<HBRUSH>(DefaultWindowProcedure(
            hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd), strings));
    }
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    return 1;
}

// The default button's id: the one DM_SETDEFID set, or the first that calls itself default.
LRESULT DefaultId(HWND hwnd, const DialogInfo &info)
{
    if (info.ended) {
        return 0;
    }
    if (info.result != 0) {
        return MAKELRESULT(info.result, DC_HASDEFID);
    }
    HWND button = DefaultButton(hwnd);
    return button != nullptr ? MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID) : 0;
}

// The default look moves to `shown` when it is a push button, from `previous` or, when that does
// not show as the default, from whichever button does.
void MoveDefaultLook(HWND dialog, HWND previous, HWND shown)
{
    if ((DialogCode(previous) & DLGC_DEFPUSHBUTTON) == 0) {
        previous = DefaultButton(dialog);
    }
    if (previous != nullptr && previous != shown) {
        SetButtonType(previous, BS_PUSHBUTTON);
    }
    if ((DialogCode(shown) & DLGC_UNDEFPUSHBUTTON) != 0) {
        SetButtonType(shown, BS_DEFPUSHBUTTON);
    }
}

// DM_SETDEFID: the id is kept even when it names no button; a push button it names shows as the
// default.
void SetDefaultId(HWND dialog, DialogInfo &info, WPARAM id)
{
    HWND previous = GetDlgItem(dialog, static_cast<int>(info.result));
    info.result = static_cast<INT_PTR>(id); // the platform keeps the default id there too
    HWND button = GetDlgItem(dialog, static_cast<int>(id));
    if (button == nullptr || (DialogCode(button) & (DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON)) != 0) {
        MoveDefaultLook(dialog, previous, button);
    }
}

// What DefDlgProc does itself with a message the dialog procedure left alone.
LRESULT AnswerUnhandled(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, CharSet strings,
                        DialogInfo &info)
{
    switch (message) {
    case WM_ERASEBKGND: return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam), strings);
    case WM_SHOWWINDOW:
        if (!wParam) {
            SaveFocus(hwnd, info);
        }
        return DefaultWindowProcedure(hwnd, message, wParam, lParam, strings);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            RestoreFocus(hwnd, info, Restore::OnActivation);
        } else {
            SaveFocus(hwnd, info);
        }
        return 0;
    case WM_SETFOCUS: RestoreFocus(hwnd, info, Restore::OnFocus); return 0;
    case DM_SETDEFID:
        if (!info.ended) {
            SetDefaultId(hwnd, info, wParam);
        }
        return TRUE;
    case DM_GETDEFID: return DefaultId(hwnd, info);
    case WM_NEXTDLGCTL: {
        HWND target =
            lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
        // NOLINTNEXTLINE(readability-suspicious-call-argument): parent first; IsChild names the child hWnd
        if (target != nullptr && IsChild(hwnd, target)) {
            FocusDialogControl(target);
            ShowDefaultButton(hwnd, target, static_cast<int>(info.result));
        }
        return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(info.font);
    case WM_CLOSE:
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
        return 0;
    default: return DefaultWindowProcedure(hwnd, message, wParam, lParam, strings);
    }
}

LRESULT RunDialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, CharSet strings)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return 0;
    }
    // A window without a dialog's extra bytes keeps its own there: it gets DefWindowProc alone.
    if (!window->dialog && window->extra.size() < static_cast<size_t>(DLGWINDOWEXTRA)) {
        return DefaultWindowProcedure(hwnd, message, wParam, lParam, strings);
    }
    if (!window->dialog) {
        window->dialog = std::make_shared<DialogInfo>(); // a class of the program's own that uses DefDlgProc
        window->dialog->baseUnits = SystemBaseUnits();
    }
    std::shared_ptr<DialogInfo> info = window->dialog;
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
    auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, DWLP_DLGPROC));
    bool procedureUnicode = info->procedureUnicode;
    ResolveProcedureHandle(procedure, procedureUnicode);
    LRESULT result = 0;
    // The dialog procedure gets the message as DefDlgProc got it: its strings are not converted.
    if (procedure != nullptr) {
        result = procedure(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        if (info->font != nullptr) {
            DeleteObject(info->font);
            info->font = nullptr;
        }
        return DefaultWindowProcedure(hwnd, message, wParam, lParam, strings);
    }
    if (!IsWindow(hwnd)) {
        return result;
    }
    if (result == 0) {
        switch (message) {
        case WM_INITDIALOG:
        case WM_VKEYTOITEM:
        case WM_COMPAREITEM:
        case WM_CHARTOITEM: break;
        default: return AnswerUnhandled(hwnd, message, wParam, lParam, strings, *info);
        }
    }
    return ReturnsResultDirectly(message) ? result : GetWindowLongPtrW(hwnd, DWLP_MSGRESULT);
}

} // namespace

void FocusDialogControl(HWND control)
{
    // Tabbing into a field selects its text, as the platform does.
    if ((DialogCode(control) & DLGC_HASSETSEL) != 0) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
    SetFocus(control);
}

void ShowDefaultButton(HWND dialog, HWND focus, int defaultId)
{
    HWND defaultButton = GetDlgItem(dialog, defaultId);
    const bool pushButton = (DialogCode(focus) & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) != 0;
    MoveDefaultLook(dialog, defaultButton, pushButton ? focus : defaultButton);
}

} // namespace platform::user32

using namespace platform::user32;

LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return RunDialogProcedure(hDlg, Msg, wParam, lParam, CharSet::Wide);
}

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return RunDialogProcedure(hDlg, Msg, wParam, lParam, CharSet::Ansi);
}
