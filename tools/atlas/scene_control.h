// The program's dialog, created from template 1 and never shown, set as a user sets it.
#pragma once

#include "program_dialog.h"

#include <string>

namespace atlas {

enum class Mode { kCompatible, kAdvanced };
// In the order of the dialog's alignment list.
enum class Alignment { kBaseline = 0, kTop = 1, kBottom = 2 };

// What the controls hold for one picture.
struct Setting {
    int escapement = 0; // tenths of a degree
    int orientation = 0;
    Mode mode = Mode::kCompatible;
    Alignment alignment = Alignment::kBaseline;
};

const char *ModeName(Mode mode);                // "compatible", "advanced"
const char *AlignmentName(Alignment alignment); // "baseline", "top", "bottom"
// "e 450 o 900"
std::string AnglesLabel(const Setting &setting);

// The controls as the dialog's scene holds them.
driving::Scene SceneOf(const Setting &setting);

// The program's own dialog, with its own dialog procedure.
class SceneDialog : public driving::Dialog {
public:
    SceneDialog();

    // The controls as a user leaves them for `setting`.
    void Apply(const Setting &setting) const { SetScene(SceneOf(setting)); }
    // The scene through the program's paint path; `after` draws over it in the same DC.
    scene::Frame Render(const std::function<void(HDC)> &after = {}) const { return Paint(after); }
};

} // namespace atlas
