// The dialog manager: dialogs built from templates, keyboard navigation and modal loops.
#include "dialog.h"

#include <algorithm>

namespace platform::user32 {

namespace {

constexpr char16_t kDialogClass[] = u"#32770";
constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;
constexpr WORD kSystemFontSize = 0x7FFF; // a DS_SETFONT size that asks for the system font
// Dialog units: four per average character width, eight per character height.
constexpr int kHorizontalUnits = 4;
constexpr int kVerticalUnits = 8;

// The average width of the 52 letters, rounded, and the height of a font.
SIZE BaseUnitsOf(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    LONG height = 0;
    const LONG width = GdiGetCharDimensions(dc, nullptr, &height);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return {width, height};
}

} // namespace

SIZE SystemBaseUnits()
{
    static const SIZE units = BaseUnitsOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    return units;
}

namespace {

RECT ToPixels(RECT bounds, SIZE units)
{
    return {MulDiv(bounds.left, units.cx, kHorizontalUnits), MulDiv(bounds.top, units.cy, kVerticalUnits),
            MulDiv(bounds.right, units.cx, kHorizontalUnits),
            MulDiv(bounds.bottom, units.cy, kVerticalUnits)};
}

HFONT CreateTemplateFont(const DialogTemplate &parsed)
{
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(parsed.pointSize, kScreenDpi, kPointsPerInch);
    font.lfWeight = parsed.weight;
    font.lfItalic = parsed.italic;
    font.lfCharSet = parsed.extended ? parsed.charset : static_cast<BYTE>(DEFAULT_CHARSET);
    lstrcpynW(font.lfFaceName, AsWide(parsed.typeface), LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

HWND CreateControls(HWND dialog, const DialogTemplate &parsed, HINSTANCE instance, const DialogInfo &info)
{
    for (const DialogItem &item : parsed.items) {
        const std::u16string className = item.windowClass.ordinal != 0
                                             ? PredefinedClassName(item.windowClass.ordinal)
                                             : item.windowClass.text;
        // Position and size are converted each on its own, as the platform does.
        const RECT box = ToPixels({item.bounds.left, item.bounds.top, item.bounds.right - item.bounds.left,
                                   item.bounds.bottom - item.bounds.top},
                                  info.baseUnits);
        // A control's WS_BORDER becomes a sunken client edge in a dialog. An extended template's
        // 32-bit id is signed: -1 stays -1 in GWLP_ID.
        // A control is a child, never a popup. A resource id as its text (an icon's) is given as
        // 0xFFFF and the id.
        const bool bordered = (item.style & WS_BORDER) != 0;
        const std::u16string text =
            item.text.ordinal != 0 ? std::u16string{u'\xFFFF', char16_t(item.text.ordinal)} : item.text.text;
        HWND control = CreateWindowExW(
            item.exStyle | WS_EX_NOPARENTNOTIFY | (bordered ? WS_EX_CLIENTEDGE : 0), AsWide(className),
            AsWide(text), (item.style & ~static_cast<DWORD>(WS_BORDER | WS_POPUP)) | WS_CHILD, box.left,
            box.top, box.right, box.bottom, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(static_cast<LONG>(item.id))), instance,
            item.creationData.empty() ? nullptr : const_cast<BYTE *>(item.creationData.data()));
        if (control == nullptr) {
            if ((parsed.style & DS_NOFAILCREATE) != 0) {
                continue;
            }
            return nullptr;
        }
        if (info.font != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(info.font), FALSE);
        }
    }
    return dialog;
}

// The dialog manager's state for a dialog about to be made: its font and base units.
std::shared_ptr<DialogInfo> NewDialogInfo(const DialogTemplate &parsed, CharSet procedureStrings)
{
    auto info = std::make_shared<DialogInfo>();
    info->procedureUnicode = procedureStrings == CharSet::Wide;
    info->result = IDOK; // also the default button's id until DM_SETDEFID says otherwise
    if (parsed.hasFont && parsed.pointSize != kSystemFontSize) {
        info->font = CreateTemplateFont(parsed);
    }
    info->baseUnits = info->font != nullptr ? BaseUnitsOf(info->font) : SystemBaseUnits();
    return info;
}

// The dialog's own window, hidden, at the place and size its template gives in dialog units.
HWND CreateDialogWindow(const DialogTemplate &parsed, const DialogInfo &info, HWND owner, HINSTANCE instance,
                        LPARAM param)
{
    DWORD exStyle = parsed.exStyle | WS_EX_CONTROLPARENT;
    if ((parsed.style & DS_MODALFRAME) != 0) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    RECT frame =
        ToPixels({0, 0, parsed.bounds.right - parsed.bounds.left, parsed.bounds.bottom - parsed.bounds.top},
                 info.baseUnits);
    AdjustWindowRectEx(&frame, parsed.style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    POINT position = {MulDiv(parsed.bounds.left, info.baseUnits.cx, kHorizontalUnits),
                      MulDiv(parsed.bounds.top, info.baseUnits.cy, kVerticalUnits)};
    if ((parsed.style & DS_CENTER) != 0) {
        position = {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    } else if (owner != nullptr && (parsed.style & WS_CHILD) == 0) {
        ClientToScreen(owner, &position);
    }
    const std::u16string className = parsed.windowClass.ordinal == 0 && !parsed.windowClass.text.empty()
                                         ? parsed.windowClass.text
                                         : kDialogClass;
    return CreateWindowExW(exStyle, AsWide(className), AsWide(parsed.caption),
                           parsed.style & ~static_cast<DWORD>(WS_VISIBLE), position.x, position.y, width,
                           height, owner, nullptr, instance, reinterpret_cast<LPVOID>(param));
}

// Sends WM_INITDIALOG, gives the first tab stop the focus when the procedure asks for it, and
// shows a dialog whose template says visible. False when the dialog is gone.
bool InitialiseDialog(HWND dialog, const DialogTemplate &parsed, LPARAM param, CharSet strings)
{
    HWND firstTab = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT wantsFocus =
        strings == CharSet::Wide
            ? SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), param)
            : SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), param);
    if (!IsWindow(dialog)) {
        return false;
    }
    // A dialog inside another (DS_CONTROL) takes the focus only when it shows at once.
    const bool mayFocus = (parsed.style & DS_CONTROL) == 0 || (parsed.style & WS_VISIBLE) != 0;
    if (wantsFocus && mayFocus) {
        // WM_INITDIALOG may have changed the controls: look for the first tab stop again, or
        // with none the first control. A field gets its text selected.
        HWND focus = GetNextDlgTabItem(dialog, nullptr, FALSE);
        if (focus == nullptr) {
            focus = GetNextDlgGroupItem(dialog, nullptr, FALSE);
        }
        if (focus != nullptr) {
            FocusDialogControl(focus);
        }
    }
    if ((parsed.style & WS_VISIBLE) != 0 && IsWindow(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    return IsWindow(dialog) != FALSE;
}

LRESULT CALLBACK AnsiDialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefDlgProcA(hwnd, message, wParam, lParam);
}

// A dialog of the dialog class made through the A entry points is an ANSI window.
void UseAnsiDialogProcedure(Window &window, CharSet strings)
{
    const bool classProcedure =
        window.windowClass != nullptr && window.procedure == window.windowClass->procedure;
    if (strings == CharSet::Ansi && classProcedure && window.windowClass->name == kDialogClass) {
        window.procedure = AnsiDialogProcedure;
        window.unicode = false;
    }
}

HWND CreateFromTemplate(HINSTANCE instance, const BYTE *bytes, size_t size, HWND owner, DLGPROC procedure,
                        LPARAM param, CharSet strings)
{
    DialogTemplate parsed;
    if (!ParseDialogTemplate(bytes, size, parsed)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::shared_ptr<DialogInfo> info = NewDialogInfo(parsed, strings);
    HWND dialog = CreateDialogWindow(parsed, *info, owner, instance, param);
    Window *window = dialog == nullptr ? nullptr : LookupQuiet(dialog);
    if (window == nullptr) {
        if (info->font != nullptr) {
            DeleteObject(info->font);
        }
        return nullptr;
    }
    window->dialog = info;
    UseAnsiDialogProcedure(*window, strings);
    if (procedure != nullptr && strings == CharSet::Wide) {
        SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
    } else if (procedure != nullptr) {
        SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
    }
    if (info->font != nullptr) {
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(info->font), 0);
    }
    if (CreateControls(dialog, parsed, instance, *info) == nullptr) {
        const DWORD error = GetLastError(); // why the control failed, for the caller
        DestroyWindow(dialog);
        SetLastError(error);
        return nullptr;
    }
    return InitialiseDialog(dialog, parsed, param, strings) ? dialog : nullptr;
}

// Finds and loads a dialog template resource.
bool LoadTemplate(HINSTANCE instance, HRSRC resource, const BYTE *&bytes, size_t &size)
{
    if (resource == nullptr) {
        return false;
    }
    bytes = static_cast<const BYTE *>(LockResource(LoadResource(instance, resource)));
    size = SizeofResource(instance, resource);
    return bytes != nullptr;
}

// A template given by pointer carries no size: it is read up to what any template could need.
constexpr size_t kLargestIndirectTemplate = size_t{0x10000} * 64;

// A modal dialog needs an owner that exists, or none: it is not made for one that does not.
bool OwnerIsValid(HWND owner)
{
    if (owner != nullptr && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return true;
}

INT_PTR RunModal(HWND dialog)
{
    if (dialog == nullptr) {
        return -1;
    }
    std::shared_ptr<DialogInfo> info = LookupQuiet(dialog)->dialog;
    HWND owner = GetWindow(dialog, GW_OWNER);
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        EnableWindow(owner, FALSE);
    }
    bool shown = IsWindowVisible(dialog) != FALSE;
    // The modal dialog takes the mouse: a capture held from before ends as its loop starts.
    ReleaseCapture();
    MSG msg;
    while (!info->ended && IsWindow(dialog)) {
        // The dialog shows itself once the queue first runs dry, or at its first timer.
        if (!shown && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ShowWindow(dialog, SW_SHOWNORMAL);
            shown = true;
            continue;
        }
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // the outer loop must see it too
            break;
        }
        if (!info->ended && !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!shown && msg.message == WM_TIMER && IsWindow(dialog)) {
            ShowWindow(dialog, SW_SHOWNORMAL);
            shown = true;
        }
    }
    if (ownerWasEnabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    // A dialog destroyed without EndDialog answers 0.
    const INT_PTR result = info->ended ? info->result : 0;
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    return result;
}

// Tab moves the focus on: a dialog does it itself (WM_NEXTDLGCTL); for a plain window the focus
// goes to its next tab stop, or its first when none of its controls has the focus.
void TabFrom(HWND dialog, WPARAM backwards)
{
    if (DialogOf(dialog) != nullptr) {
        SendMessageW(dialog, WM_NEXTDLGCTL, backwards, 0);
        return;
    }
    HWND focus = GetFocus();
    HWND from = focus != nullptr && IsChild(dialog, focus) ? focus : nullptr;
    HWND next = GetNextDlgTabItem(dialog, from, backwards != 0 ? TRUE : FALSE);
    if (next != nullptr) {
        FocusDialogControl(next);
        ShowDefaultButton(dialog, next, 0);
    }
}

bool IsDialogKeyMessage(HWND dialog, MSG *msg)
{
    const LRESULT code = SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    if ((code & DLGC_WANTMESSAGE) != 0) {
        return false;
    }
    switch (msg->wParam) {
    case VK_TAB:
        if ((code & DLGC_WANTTAB) != 0) {
            return false;
        }
        TabFrom(dialog, static_cast<WPARAM>(GetKeyState(VK_SHIFT) & 0x8000));
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if ((code & DLGC_WANTARROWS) != 0) {
            return false;
        }
        const bool previous = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
        HWND next = GetNextDlgGroupItem(dialog, GetFocus(), previous);
        if (next != nullptr) {
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        }
        return true;
    }
    case VK_ESCAPE:
    case VK_CANCEL:
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return true;
    case VK_RETURN:
    case VK_EXECUTE: {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(dialog, focus) &&
            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                         reinterpret_cast<LPARAM>(focus));
            return true;
        }
        const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(defaultId) == DC_HASDEFID) {
            HWND button = GetDlgItem(dialog, LOWORD(defaultId));
            if (button == nullptr || IsWindowEnabled(button)) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(defaultId), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
            }
        } else {
            SendMessageW(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        }
        return true;
    }
    default: return false;
    }
}

BOOL DialogMessage(HWND dialog, LPMSG msg, CharSet strings)
{
    if (msg == nullptr || !IsWindow(dialog) || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) {
        return FALSE;
    }
    if (msg->message == WM_KEYDOWN && IsDialogKeyMessage(dialog, msg)) {
        return TRUE;
    }
    // Characters too ask the control for its dialog code, with the message: an edit control
    // learns from it that it sits in a dialog.
    if (msg->message == WM_CHAR) {
        SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    }
    TranslateMessage(msg);
    if (strings == CharSet::Wide) {
        DispatchMessageW(msg);
    } else {
        DispatchMessageA(msg);
    }
    return TRUE;
}

// The controls that take part in tab or group navigation: their own styles say visible and
// enabled, whether or not the dialog shows yet.
bool Navigable(HWND control)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

} // namespace

DialogInfo *DialogOf(HWND hwnd)
{
    Window *window = LookupQuiet(hwnd);
    return window == nullptr ? nullptr : window->dialog.get();
}

} // namespace platform::user32

using namespace platform::user32;

HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return CreateFromTemplate(hInstance, reinterpret_cast<const BYTE *>(lpTemplate), kLargestIndirectTemplate,
                              hWndParent, lpDialogFunc, dwInitParam, CharSet::Wide);
}

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return CreateFromTemplate(hInstance, reinterpret_cast<const BYTE *>(lpTemplate), kLargestIndirectTemplate,
                              hWndParent, lpDialogFunc, dwInitParam, CharSet::Ansi);
}

HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    const BYTE *bytes = nullptr;
    size_t size = 0;
    if (!LoadTemplate(hInstance,
                      FindResourceW(hInstance, lpTemplateName, reinterpret_cast<LPCWSTR>(RT_DIALOG)), bytes,
                      size)) {
        return nullptr;
    }
    return CreateFromTemplate(hInstance, bytes, size, hWndParent, lpDialogFunc, dwInitParam, CharSet::Wide);
}

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    const BYTE *bytes = nullptr;
    size_t size = 0;
    if (!LoadTemplate(hInstance, FindResourceA(hInstance, lpTemplateName, RT_DIALOG), bytes, size)) {
        return nullptr;
    }
    return CreateFromTemplate(hInstance, bytes, size, hWndParent, lpDialogFunc, dwInitParam, CharSet::Ansi);
}

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (!OwnerIsValid(hWndParent)) {
        return 0;
    }
    return RunModal(
        CreateDialogIndirectParamW(hInstance, hDialogTemplate, hWndParent, lpDialogFunc, dwInitParam));
}

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (!OwnerIsValid(hWndParent)) {
        return 0;
    }
    return RunModal(
        CreateDialogIndirectParamA(hInstance, hDialogTemplate, hWndParent, lpDialogFunc, dwInitParam));
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (!OwnerIsValid(hWndParent)) {
        return 0;
    }
    return RunModal(CreateDialogParamW(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam));
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (!OwnerIsValid(hWndParent)) {
        return 0;
    }
    return RunModal(CreateDialogParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam));
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    DialogInfo *info = DialogOf(hDlg);
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    info->result = nResult;
    info->ended = true;
    HWND owner = GetWindow(hDlg, GW_OWNER);
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
    }
    // The focus leaves the controls for the dialog itself, and goes with the activation.
    if (IsChild(hDlg, GetFocus())) {
        SetFocus(hDlg);
    }
    const bool wasActive = GetActiveWindow() == hDlg;
    SetWindowPos(hDlg, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (wasActive) {
        SetActiveWindow(owner);
    }
    PostMessageW(hDlg, WM_NULL, 0, 0); // wakes the modal loop
    return TRUE;
}

BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg)
{
    return DialogMessage(hDlg, lpMsg, CharSet::Wide);
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg)
{
    return DialogMessage(hDlg, lpMsg, CharSet::Ansi);
}

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // The dialog itself stands for no control; with none there is no previous one.
    if (hCtl == hDlg) {
        hCtl = nullptr;
    }
    if (hCtl == nullptr && bPrevious) {
        return nullptr;
    }
    std::vector<HWND> children = Children(hDlg);
    if (bPrevious) {
        std::reverse(children.begin(), children.end());
    }
    const auto start = std::find(children.begin(), children.end(), hCtl);
    // Search after the control, wrapping round; without a control, from the first.
    const size_t first = start == children.end() ? 0 : static_cast<size_t>(start - children.begin()) + 1;
    for (size_t step = 0; step < children.size(); ++step) {
        HWND candidate = children[(first + step) % children.size()];
        if ((GetWindowLongW(candidate, GWL_STYLE) & WS_TABSTOP) != 0 && Navigable(candidate)) {
            return candidate;
        }
    }
    return hCtl;
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // As for the tab order: with no control there is no previous one, and the next is the first.
    if (hCtl == hDlg) {
        hCtl = nullptr;
    }
    if (hCtl == nullptr && bPrevious) {
        return nullptr;
    }
    const std::vector<HWND> children = Children(hDlg);
    auto at = std::find(children.begin(), children.end(), hCtl);
    if (at == children.end()) {
        // From the first control: itself when it can take the focus, else the next of its group.
        if (children.empty() || Navigable(children.front())) {
            return children.empty() ? nullptr : children.front();
        }
        at = children.begin();
    }
    // The group runs from a WS_GROUP control up to the next one.
    const auto startsGroup = [](HWND control) {
        return (GetWindowLongW(control, GWL_STYLE) & WS_GROUP) != 0;
    };
    size_t begin = static_cast<size_t>(at - children.begin());
    while (begin > 0 && !startsGroup(children[begin])) {
        --begin;
    }
    size_t end = begin + 1;
    while (end < children.size() && !startsGroup(children[end])) {
        ++end;
    }
    const size_t count = end - begin;
    const size_t position = static_cast<size_t>(at - children.begin()) - begin;
    for (size_t step = 1; step < count; ++step) {
        const size_t index = bPrevious ? (position + count - step) % count : (position + step) % count;
        if (Navigable(children[begin + index])) {
            return children[begin + index];
        }
    }
    return hCtl;
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    DialogInfo *info = DialogOf(hDlg);
    if (info == nullptr || lpRect == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *lpRect = ToPixels(*lpRect, info->baseUnits);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void)
{
    const SIZE units = SystemBaseUnits();
    return MAKELONG(units.cx, units.cy);
}
