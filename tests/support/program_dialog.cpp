#include "program_dialog.h"

#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>

namespace test {

namespace {

constexpr UINT kDialogTemplate = 1;
int g_depth = 0;

} // namespace

void CommandLog::Clear()
{
    commands.clear();
    deepestNesting = 0;
}

std::vector<int> CommandLog::ChangedFields() const
{
    std::vector<int> fields;
    for (const Command &c : commands) {
        if (c.code == EN_CHANGE) {
            fields.push_back(c.id);
        }
    }
    return fields;
}

CommandLog &Log()
{
    static CommandLog log;
    return log;
}

INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_COMMAND) {
        return DialogProc(hwnd, msg, wParam, lParam);
    }
    ++g_depth;
    Log().commands.push_back({LOWORD(wParam), HIWORD(wParam), g_depth});
    Log().deepestNesting = std::max(Log().deepestNesting, g_depth);
    const INT_PTR result = DialogProc(hwnd, msg, wParam, lParam);
    --g_depth;
    return result;
}

Dialog::Dialog(DLGPROC procedure)
{
    InitCommonControls();
    hwnd_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDialogTemplate), nullptr,
                               procedure, 0);
    Log().Clear();
}

Dialog::~Dialog()
{
    DestroyWindow(hwnd_);
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

void Dialog::SetAnglesUncoupled(const char *escapement, const char *orientation) const
{
    const bool coupled = Checked(chx3);
    SetCheckQuietly(chx3, false);
    SetText(edt1, escapement);
    SetText(edt2, orientation);
    SetCheckQuietly(chx3, coupled);
}

void Dialog::SetScene(int escapement, int orientation, bool advanced, int alignment) const
{
    SetAnglesUncoupled(std::to_string(escapement).c_str(), std::to_string(orientation).c_str());
    SetCheckQuietly(chx1, advanced);
    SendDlgItemMessageA(hwnd_, cmb1, CB_SETCURSEL, static_cast<WPARAM>(alignment), 0);
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

} // namespace test
