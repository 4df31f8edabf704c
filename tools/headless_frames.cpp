// Draws the dialog on the headless host and writes two frames: as it opens, and turned
// (escapement 45 degrees, orientation 90, advanced mode, top alignment).
//   headless_frames START.png TURNED.png
#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>
#include <headless.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: headless_frames START.png TURNED.png\n");
        return 2;
    }
    InitCommonControls();
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), nullptr, DialogProc, 0);
    if (dialog == nullptr) {
        std::fprintf(stderr, "headless_frames: the dialog could not be created\n");
        return 1;
    }
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    const bool started = platform::SaveWindowPng(dialog, argv[1]);

    // Uncouple the angles first, as a user would, then set each one.
    SendDlgItemMessageA(dialog, chx3, BM_CLICK, 0, 0);
    SetDlgItemTextA(dialog, edt1, "450");
    SetDlgItemTextA(dialog, edt2, "900");
    SendDlgItemMessageA(dialog, chx1, BM_CLICK, 0, 0);
    SendDlgItemMessageA(dialog, cmb1, CB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), 0);
    UpdateWindow(dialog);
    const bool turned = platform::SaveWindowPng(dialog, argv[2]);

    DestroyWindow(dialog);
    return started && turned ? 0 : 1;
}
