// Start-up: runs the program's dialog modally, as WinMain does, and ends it once the first frame,
// the scene with the controls over it, has been painted and presented.
// Prints "first_frame_realtime_us <wall-clock microseconds since 1970>", for a caller that noted
// when it started the process, and "first_frame_since_main <us> us", measured from main's entry.
#include "scene_dialog.h"

#include "SlantGlyphDemo.h"

#include <chrono>
#include <cstdio>

namespace {

constexpr UINT kFirstFramePainted = WM_APP;

double g_mainEntry = 0;

// The program's own dialog procedure, which learns when the first frame is complete.
INT_PTR CALLBACK FirstFrameProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PAINT) {
        const INT_PTR result = DialogProc(hwnd, uMsg, wParam, lParam);
        PostMessageA(hwnd, kFirstFramePainted, 0, 0);
        return result;
    }
    if (uMsg != kFirstFramePainted) {
        return DialogProc(hwnd, uMsg, wParam, lParam);
    }
    // The controls paint after the scene beneath them; finish them before the clock stops.
    UpdateWindow(hwnd);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("first_frame_realtime_us %lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
    std::printf("first_frame_since_main %.0f us\n", bench::NowMicroseconds() - g_mainEntry);
    EndDialog(hwnd, 0);
    return TRUE;
}

} // namespace

int main()
{
    g_mainEntry = bench::NowMicroseconds();
    driving::RunModal(FirstFrameProc);
    return 0;
}
