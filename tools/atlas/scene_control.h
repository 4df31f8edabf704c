// The program's dialog, created from template 1 and never shown, set as a user sets it.
#pragma once

#include "scene_frame.h"

#include <windows.h>

#include <functional>
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

class SceneDialog {
public:
    SceneDialog();
    ~SceneDialog();
    SceneDialog(const SceneDialog &) = delete;
    SceneDialog &operator=(const SceneDialog &) = delete;

    bool valid() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }

    // The controls as a user leaves them: "==" cleared, both angles typed, the graphics-mode box
    // and the alignment list set; each control tells the dialog as it would when used.
    void Apply(const Setting &setting) const;

    // The scene through the program's paint path; `after` draws over it in the same DC.
    scene::Frame Render(const std::function<void(HDC)> &after = {}) const;

private:
    enum class Check { Unchecked, Checked };
    void SetCheck(int id, Check check) const;
    HWND hwnd_;
};

} // namespace atlas
