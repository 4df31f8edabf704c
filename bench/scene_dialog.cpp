#include "scene_dialog.h"

#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace bench {

namespace {

constexpr UINT kDialogTemplate = 1;

} // namespace

ProgramDialog::ProgramDialog()
{
    InitCommonControls();
    hwnd_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDialogTemplate), nullptr,
                               DialogProc, 0);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
}

ProgramDialog::~ProgramDialog()
{
    DestroyWindow(hwnd_);
    // The dialog's destruction posts a quit request; nothing else is left to handle.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void ProgramDialog::Show(const Scene &scene) const
{
    // Uncoupled, so that the two angles may differ; "==" is put back as it was.
    const UINT coupled = IsDlgButtonChecked(hwnd_, chx3);
    CheckDlgButton(hwnd_, chx3, BST_UNCHECKED);
    SetDlgItemInt(hwnd_, edt1, static_cast<UINT>(scene.escapement), TRUE);
    SetDlgItemInt(hwnd_, edt2, static_cast<UINT>(scene.orientation), TRUE);
    CheckDlgButton(hwnd_, chx3, coupled);
    CheckDlgButton(hwnd_, chx1, scene.advanced ? BST_CHECKED : BST_UNCHECKED);
    Repaint();
}

void ProgramDialog::Repaint() const
{
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

void ProgramDialog::DrawScene() const
{
    HDC dc = GetDC(hwnd_);
    OnDraw(hwnd_, dc);
    ReleaseDC(hwnd_, dc);
}

long ResidentKilobytes()
{
    // Linux's own account; a Windows process has no such file.
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    long kilobytes = -1;
    char line[256];
    while (std::fgets(line, sizeof(line), status) != nullptr) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            kilobytes = std::strtol(line + 6, nullptr, 10);
        }
    }
    std::fclose(status);
    return kilobytes;
}

long GdiObjects()
{
    SetLastError(ERROR_SUCCESS);
    const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return count != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED ? static_cast<long>(count) : -1;
}

double NowMicroseconds()
{
    // QueryPerformanceCounter under MinGW, CLOCK_MONOTONIC natively.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::micro>(now).count();
}

double Median(double *samples, std::size_t count)
{
    if (count == 0) {
        return 0;
    }
    std::nth_element(samples, samples + count / 2, samples + count);
    return samples[count / 2];
}

} // namespace bench
