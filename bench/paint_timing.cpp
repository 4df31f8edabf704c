// Times the program's paints with a plain loop and a monotonic clock, so that one source measures
// our platform layer natively and the real platform under Wine, where Google Benchmark is not.
//   paint_timing [SAMPLES [SOAK-PAINTS]]
// Prints one figure a line: "<figure> <scene> <value> <unit>". With SOAK-PAINTS it then animates
// the escapement as the timer would and prints resident memory and GDI objects after 1,000 and
// after SOAK-PAINTS paints (-1 where the platform does not count them).
#include "scene_dialog.h"

#include "SlantGlyphDemo.h"

#include <dlgs.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kDefaultSamples = 300;
constexpr int kWarmUpPaints = 20;
constexpr long kFirstSoakReport = 1000;

// The median time of one call of `paint` in microseconds, over `samples` timed calls.
template <typename Paint> double MedianMicroseconds(int samples, Paint paint)
{
    for (int i = 0; i < kWarmUpPaints; ++i) {
        paint();
    }
    std::vector<double> times(static_cast<std::size_t>(samples));
    for (double &time : times) {
        const double start = bench::NowMicroseconds();
        paint();
        time = bench::NowMicroseconds() - start;
    }
    return bench::Median(times.data(), times.size());
}

void PrintFootprint(long paints)
{
    std::printf("rss_kb %ld %ld kB\n", paints, bench::ResidentKilobytes());
    std::printf("gdi_objects %ld %ld objects\n", paints, driving::GdiObjects());
}

// An animation as the program runs it: every tick writes the next angle and the dialog repaints.
void Soak(const bench::ProgramDialog &dialog, long paints)
{
    HWND hwnd = dialog.hwnd();
    CheckDlgButton(hwnd, chx1, BST_CHECKED);
    SendDlgItemMessageA(hwnd, chx4, BM_CLICK, 0, 0); // starts the animation at angle 0
    const double start = bench::NowMicroseconds();
    for (long paint = 1; paint <= paints; ++paint) {
        SendMessageA(hwnd, WM_TIMER, animation::kEscapementTimer, 0);
        UpdateWindow(hwnd);
        if (paint == kFirstSoakReport || paint == paints) {
            PrintFootprint(paint);
        }
    }
    std::printf("soak_paint_mean animated %.1f us\n",
                (bench::NowMicroseconds() - start) / static_cast<double>(paints));
    SendDlgItemMessageA(hwnd, chx4, BM_CLICK, 0, 0);
}

} // namespace

int main(int argc, char **argv)
{
    const int samples = argc > 1 ? std::atoi(argv[1]) : kDefaultSamples;
    const long soakPaints = argc > 2 ? std::atol(argv[2]) : 0;
    if (samples <= 0) {
        std::fprintf(stderr, "usage: paint_timing [SAMPLES [SOAK-PAINTS]]\n");
        return 2;
    }

    const bench::ProgramDialog dialog;
    RECT client;
    GetClientRect(dialog.hwnd(), &client);
    std::printf("client_size all %dx%d px\n", static_cast<int>(client.right),
                static_cast<int>(client.bottom));

    for (const bench::Scene &scene : bench::kPaintScenes) {
        dialog.Show(scene);
        std::printf("full_paint %s %.1f us\n", scene.name,
                    MedianMicroseconds(samples, [&] { dialog.Repaint(); }));
        std::printf("scene_paint %s %.1f us\n", scene.name,
                    MedianMicroseconds(samples, [&] { dialog.DrawScene(); }));
    }
    if (soakPaints > 0) {
        Soak(dialog, soakPaints);
    }
    return 0;
}
