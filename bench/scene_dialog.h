// The program's dialog opened for measuring, and the scenes it is measured with. Public Win32 API
// only, so that the same code measures our platform layer natively and the real one under Wine.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace bench {

// What the controls hold for one measured picture.
struct Scene {
    const char *name;
    int escapement; // tenths of a degree
    int orientation;
    bool advanced; // GM_ADVANCED
};

// The four pictures a paint is measured with: level and turned text, in both graphics modes.
constexpr Scene kPaintScenes[] = {
    {"compatible 0", 0, 0, false},
    {"compatible 450", 450, 450, false},
    {"advanced 0", 0, 0, true},
    {"advanced 450", 450, 450, true},
};

// The program's dialog from its own template and dialog procedure, modeless and shown, so that
// a measurement can drive it. Destroyed with the object.
class ProgramDialog {
public:
    ProgramDialog();
    ~ProgramDialog();
    ProgramDialog(const ProgramDialog &) = delete;
    ProgramDialog &operator=(const ProgramDialog &) = delete;

    HWND hwnd() const { return hwnd_; }

    // Sets the angle fields and the graphics-mode box, as a user would, and paints once.
    void Show(const Scene &scene) const;

    // One repaint as an animation tick asks for it: the whole client area invalidated, then
    // painted at once (the controls over the scene included, as the platform repaints them).
    void Repaint() const;

    // Only the program's own paint path: OnDraw into the window's DC.
    void DrawScene() const;

private:
    HWND hwnd_;
};

// Figures of the process, where the platform gives them; -1 where it does not.
long ResidentKilobytes(); // VmRSS
long GdiObjects();        // GetGuiResources(GR_GDIOBJECTS)

// Microseconds since an arbitrary start, from a monotonic clock.
double NowMicroseconds();

// The middle value of `samples` (which it reorders).
double Median(double *samples, std::size_t count);

} // namespace bench
