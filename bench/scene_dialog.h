// The scenes the program's dialog (driving/) is measured with, and the figures of the process.
// Public Win32 API only, so that the same code measures our platform layer natively and the real
// one under Wine.
#pragma once

#include "program_dialog.h"

#include <cstddef>

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

// The dialog shown with the program's own dialog procedure, as a user would see it.
class ProgramDialog : public driving::Dialog {
public:
    ProgramDialog();

    // Sets the controls as a user would, and paints once.
    void Show(const Scene &scene) const;
};

// Resident memory (VmRSS) where the platform gives it; -1 where it does not.
long ResidentKilobytes();

// Microseconds since an arbitrary start, from a monotonic clock.
double NowMicroseconds();

// The middle value of `samples` (which it reorders).
double Median(double *samples, std::size_t count);

} // namespace bench
