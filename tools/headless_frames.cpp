// Draws the dialog on the headless host and writes two frames: as it opens, and turned
// (escapement 45 degrees, orientation 90, advanced mode, top alignment).
//   headless_frames START.png TURNED.png
#include "SlantGlyphDemo.h"
#include "program_dialog.h"

#include <headless.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: headless_frames START.png TURNED.png\n");
        return 2;
    }
    const driving::Dialog program(DialogProc);
    HWND dialog = program.hwnd();
    if (dialog == nullptr) {
        std::fprintf(stderr, "headless_frames: the dialog could not be created\n");
        return 1;
    }
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    const bool started = platform::SaveWindowPng(dialog, argv[1]);

    constexpr int kTopAlignment = 1; // the list's second entry
    program.SetScene({450, 900, true, kTopAlignment});
    UpdateWindow(dialog);
    const bool turned = platform::SaveWindowPng(dialog, argv[2]);
    return started && turned ? 0 : 1;
}
