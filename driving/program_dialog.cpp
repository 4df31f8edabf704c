#include "program_dialog.h"

#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>

namespace driving {

INT_PTR RunModal(DLGPROC procedure)
{
    // The up-down class must exist before the template is built.
    InitCommonControls();
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), nullptr,
                           procedure, 0);
}

Dialog::Dialog(DLGPROC procedure)
{
    InitCommonControls();
    hwnd_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), nullptr,
                               procedure, 0);
}

Dialog::~Dialog()
{
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    // The dialog's destruction posts a quit request; it must not reach whatever runs next.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::string Dialog::Text(int id) const
{
    char buffer[256] = {};
    GetDlgItemTextA(hwnd_, id, buffer, sizeof(buffer));
    return buffer;
}

int Dialog::Angle(int field) const
{
    return static_cast<int>(GetDlgItemInt(hwnd_, field, nullptr, TRUE));
}

void Dialog::SetText(int id, const char *text) const
{
    SetDlgItemTextA(hwnd_, id, text);
}

void Dialog::Click(int id) const
{
    SendMessageA(Item(id), BM_CLICK, 0, 0);
}

bool Dialog::Checked(int id) const
{
    return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

bool Dialog::Enabled(int id) const
{
    return IsWindowEnabled(Item(id)) != FALSE;
}

void Dialog::SetCheckQuietly(int id, bool checked) const
{
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Dialog::SetCheck(int id, bool checked) const
{
    if (Checked(id) == checked) {
        return;
    }
    // A click toggles the box, which then tells its dialog.
    SetCheckQuietly(id, checked);
    SendCommand(id, BN_CLICKED);
}

void Dialog::SetAnglesUncoupled(const char *escapement, const char *orientation) const
{
    const bool coupled = Checked(chx3);
    SetCheckQuietly(chx3, false);
    SetText(edt1, escapement);
    SetText(edt2, orientation);
    SetCheckQuietly(chx3, coupled);
}

void Dialog::SetScene(const Scene &scene) const
{
    SetCheck(chx3, false);
    SetDlgItemInt(hwnd_, edt1, static_cast<UINT>(scene.escapement), TRUE);
    SetDlgItemInt(hwnd_, edt2, static_cast<UINT>(scene.orientation), TRUE);
    SetCheck(chx1, scene.advanced);
    SendDlgItemMessageA(hwnd_, cmb1, CB_SETCURSEL, static_cast<WPARAM>(scene.alignment), 0);
    SendCommand(cmb1, CBN_SELENDOK);
}

void Dialog::SendCommand(int id, UINT code) const
{
    SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
}

void Dialog::Tick(UINT_PTR timer) const
{
    SendMessageA(hwnd_, WM_TIMER, timer, 0);
}

void Dialog::ShowAndValidate() const
{
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    ValidateRect(hwnd_, nullptr);
}

bool Dialog::RepaintPending() const
{
    return GetUpdateRect(hwnd_, nullptr, FALSE) != FALSE;
}

void Dialog::Repaint() const
{
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

void Dialog::DrawScene() const
{
    HDC dc = GetDC(hwnd_);
    OnDraw(hwnd_, dc);
    ReleaseDC(hwnd_, dc);
}

scene::Frame Dialog::Paint(const std::function<void(HDC)> &after) const
{
    return scene::Frame(hwnd_, after);
}

long GdiObjects()
{
    SetLastError(ERROR_SUCCESS);
    const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return count != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED ? static_cast<long>(count) : -1;
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace driving
