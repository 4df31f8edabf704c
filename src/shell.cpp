// The application shell: entry point, message dispatch and the small handlers of the dialog.
#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/, int /*nCmdShow*/)
{
    // The up-down class must exist before the template is built.
    InitCommonControls();
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), nullptr, DialogProc, 0);
    return 0;
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG: return OnInitDialog(hwnd, reinterpret_cast<HWND>(wParam), lParam);
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return FALSE;
    case WM_TIMER: OnTimer(hwnd, static_cast<UINT>(wParam)); return FALSE;
    case WM_PAINT: OnPaint(hwnd); return FALSE;
    case WM_ERASEBKGND: return OnEraseBkgnd(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_SIZE:
        OnSize(hwnd, static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
               static_cast<short>(HIWORD(lParam)));
        return FALSE;
    case WM_DESTROY: OnDestroy(hwnd); return FALSE;
    default: return FALSE;
    }
}

BOOL OnInitDialog(HWND hwnd, HWND /*hwndFocus*/, LPARAM /*lParam*/)
{
    const LPARAM range = MAKELPARAM(settings::kAngleMax, settings::kAngleMin);
    SendDlgItemMessageA(hwnd, scr1, UDM_SETRANGE, 0, range);
    SendDlgItemMessageA(hwnd, scr2, UDM_SETRANGE, 0, range);

    CheckDlgButton(hwnd, chx3, BST_CHECKED);

    for (const settings::Alignment &alignment : settings::kAlignments) {
        SendDlgItemMessageA(hwnd, cmb1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(alignment.name));
    }
    SendDlgItemMessageA(hwnd, cmb1, CB_SETCURSEL, 0, 0);

    // Let the dialog manager focus the first tab stop, the escapement field.
    return TRUE;
}

BOOL OnEraseBkgnd(HWND /*hwnd*/, HDC /*hdc*/)
{
    // The paint covers every pixel; erasing first would only flicker.
    return TRUE;
}

void OnSize(HWND /*hwnd*/, UINT /*state*/, int /*cx*/, int /*cy*/)
{
    // The scene is drawn at fixed coordinates and the dialog cannot be resized.
}

void OnDestroy(HWND /*hwnd*/)
{
    PostQuitMessage(0);
}
