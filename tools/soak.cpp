// A long session of the program in its real modal loop on the headless host, whose clock jumps
// to each timer: the user types into both angle fields and sets every box by keyboard, then the
// two animations take turns for the given number of ticks while "==" is toggled by mouse clicks.
// Every tick's angle is checked against the animation's sequence; the GDI objects, the windows
// and the resident memory are printed when the run has settled and at its end, and must not grow.
//   soak [ticks, default 1000000] [paint every n-th tick, default 1] [resident growth allowed, kB]
#include "SlantGlyphDemo.h"
#include "program_dialog.h"

#include <commctrl.h>
#include <dlgs.h>
#include <headless.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

using animation::kEscapementTimer;
using animation::kOrientationTimer;
// The animations take turns, and "==" is clicked, this many ticks apart, or more often in a
// short run, so that every run sees both animations coupled and uncoupled.
constexpr long kTicksPerAnimation = 50000;
constexpr long kTicksPerToggle = 20000;
constexpr long kAnimationTurnsAtLeast = 4;
constexpr long kTogglesAtLeast = 10;
// Caches (glyphs, fonts) fill during the first ticks; the figures are taken after them.
constexpr long kSettlingTicks = 2000;
// Resident memory may move by allocator noise, never by a leak of one object per tick. (Under a
// memory checker, the checker's own memory grows and a larger allowance is given.)
constexpr long kMemoryNoiseKb = 1024;

struct Figures {
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    long residentKb = 0;
};

struct Soak {
    long ticks = 0;
    long total = 0;
    long paintEvery = 1;
    long residentGrowthKb = kMemoryNoiseKb;
    long ticksPerAnimation = kTicksPerAnimation;
    long ticksPerToggle = kTicksPerToggle;
    int animatedBox = 0; // chx4 or chx5 while an animation runs
    int step = 0;        // the animation's ticks since it started
    int otherAngle = 0;  // the field that does not animate, uncoupled
    long faults = 0;
    Figures first; // at the first tick, before the caches have filled
    Figures settled;
    Figures end;
};
Soak g_soak;

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return 0;
}

Figures Measure()
{
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), ResidentKb()};
}

void Print(const char *when, const Figures &figures)
{
    std::printf("soak: %-8s GDI objects %lu, USER objects %lu, resident %ld kB\n", when,
                static_cast<unsigned long>(figures.gdiObjects),
                static_cast<unsigned long>(figures.userObjects), figures.residentKb);
}

int ReadAngle(HWND dialog, int field)
{
    return static_cast<int>(GetDlgItemInt(dialog, field, nullptr, TRUE));
}

bool Checked(HWND dialog, int box)
{
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

int AnimatedField()
{
    return g_soak.animatedBox == chx4 ? edt1 : edt2;
}

int OtherField()
{
    return g_soak.animatedBox == chx4 ? edt2 : edt1;
}

void Fault(const char *what, int expected, int seen)
{
    if (g_soak.faults++ < 10) {
        std::fprintf(stderr, "soak: tick %ld: %s: expected %d, read %d\n", g_soak.ticks, what, expected,
                     seen);
    }
}

void Key(HWND dialog, WPARAM key)
{
    platform::InjectInput(dialog, WM_KEYDOWN, key, 0);
    platform::InjectInput(dialog, WM_KEYUP, key, 0);
}

void Type(HWND dialog, const char *text)
{
    for (; *text != 0; ++text) {
        platform::InjectInput(dialog, WM_CHAR, static_cast<WPARAM>(*text), 0);
    }
}

void ClickOn(HWND dialog, int id)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    platform::InjectInput(dialog, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    platform::InjectInput(dialog, WM_LBUTTONUP, 0, centre);
}

// The user's first minute, by keyboard from the escapement field, which has the focus: an angle
// in each field, the advanced mode, the top alignment, then the escapement's animation.
void TypeOpeningInput(HWND dialog)
{
    Type(dialog, "450");
    Key(dialog, VK_TAB); // the orientation field, its text selected
    Type(dialog, "-7");
    Key(dialog, VK_TAB); // "GM_ADVANCED"
    Key(dialog, VK_SPACE);
    Key(dialog, VK_TAB); // "=="
    Key(dialog, VK_TAB); // the alignment list
    Key(dialog, VK_DOWN);
    Key(dialog, VK_TAB); // the escapement's "Animate"
    Key(dialog, VK_SPACE);
}

// After a click on a box: a started animation begins its sequence again, and either way the
// angle that does not animate is what the field now holds.
void OnClicked(HWND dialog, int box)
{
    if ((box == chx4 || box == chx5) && Checked(dialog, box)) {
        g_soak.animatedBox = box;
        g_soak.step = 0;
    }
    if (g_soak.animatedBox != 0) {
        g_soak.otherAngle = ReadAngle(dialog, OtherField());
    }
}

void CheckTick(HWND dialog)
{
    const int expected = (g_soak.step * animation::kStep) % animation::kFullTurn;
    ++g_soak.step;
    const int animated = ReadAngle(dialog, AnimatedField());
    if (animated != expected) {
        Fault("animated angle", expected, animated);
    }
    const int other = ReadAngle(dialog, OtherField());
    const int expectedOther = Checked(dialog, chx3) ? expected : g_soak.otherAngle;
    if (other != expectedOther) {
        Fault("other angle", expectedOther, other);
    }
}

// The script that runs between ticks: taking turns, toggling "==", taking figures, ending.
void AfterTick(HWND dialog)
{
    ++g_soak.ticks;
    if (g_soak.ticks == 1) {
        g_soak.first = Measure();
    }
    if (g_soak.ticks == std::min(kSettlingTicks, g_soak.total / 2 + 1)) {
        g_soak.settled = Measure();
    }
    if (g_soak.ticks == g_soak.total) {
        g_soak.end = Measure();
        Key(dialog, VK_ESCAPE);
        return;
    }
    if (g_soak.ticks % g_soak.ticksPerAnimation == 0) {
        const int running = g_soak.animatedBox;
        ClickOn(dialog, running);
        ClickOn(dialog, running == chx4 ? chx5 : chx4);
    } else if (g_soak.ticks % g_soak.ticksPerToggle == 0) {
        ClickOn(dialog, chx3);
    }
    if (g_soak.ticks % g_soak.paintEvery != 0) {
        ValidateRect(dialog, nullptr);
    }
}

INT_PTR CALLBACK SoakDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const INT_PTR result = DialogProc(hwnd, message, wParam, lParam);
    if (message == WM_SHOWWINDOW && wParam != FALSE && g_soak.ticks == 0) {
        // Input reaches the focus only once the dialog shows.
        TypeOpeningInput(hwnd);
    } else if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        OnClicked(hwnd, LOWORD(wParam));
    } else if (message == WM_TIMER && (wParam == kEscapementTimer || wParam == kOrientationTimer) &&
               g_soak.ticks < g_soak.total) {
        CheckTick(hwnd);
        AfterTick(hwnd);
    }
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    g_soak.total = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000000;
    g_soak.paintEvery = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1;
    g_soak.residentGrowthKb = argc > 3 ? std::strtol(argv[3], nullptr, 10) : kMemoryNoiseKb;
    if (g_soak.total <= 0 || g_soak.paintEvery <= 0 || g_soak.residentGrowthKb < 0) {
        std::fprintf(stderr, "usage: soak [ticks] [paint every n-th tick] [resident growth allowed, kB]\n");
        return 2;
    }
    g_soak.ticksPerAnimation = std::clamp(g_soak.total / kAnimationTurnsAtLeast, 1L, kTicksPerAnimation);
    g_soak.ticksPerToggle = std::clamp(g_soak.total / kTogglesAtLeast, 1L, kTicksPerToggle);
    const auto started = std::chrono::steady_clock::now();
    const INT_PTR result = driving::RunModal(SoakDialogProc);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::printf("soak: %ld ticks (%ld painted) in %.1f s, dialog ended with %ld\n", g_soak.ticks,
                g_soak.ticks / g_soak.paintEvery, seconds, static_cast<long>(result));
    Print("first:", g_soak.first);
    Print("settled:", g_soak.settled);
    Print("end:", g_soak.end);
    Print("closed:", Measure());

    bool flat = g_soak.end.gdiObjects == g_soak.settled.gdiObjects &&
                g_soak.end.userObjects == g_soak.settled.userObjects &&
                g_soak.end.residentKb - g_soak.settled.residentKb <= g_soak.residentGrowthKb;
    if (!flat) {
        std::fprintf(stderr, "soak: the program's resources grew during the run\n");
    }
    if (g_soak.faults > 0) {
        std::fprintf(stderr, "soak: %ld ticks off the animation's sequence\n", g_soak.faults);
    }
    const bool complete = g_soak.ticks == g_soak.total && result == IDCANCEL;
    if (!complete) {
        std::fprintf(stderr, "soak: the session did not run to its end\n");
    }
    return flat && g_soak.faults == 0 && complete ? 0 : 1;
}
