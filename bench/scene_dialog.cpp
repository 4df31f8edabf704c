#include "scene_dialog.h"

#include "SlantGlyphDemo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace bench {

ProgramDialog::ProgramDialog() : Dialog(DialogProc)
{
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd());
}

void ProgramDialog::Show(const Scene &scene) const
{
    SetScene({scene.escapement, scene.orientation, scene.advanced});
    Repaint();
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
