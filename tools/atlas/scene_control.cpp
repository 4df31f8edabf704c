#include "scene_control.h"

#include "SlantGlyphDemo.h"

#include <cstdio>

namespace atlas {

const char *ModeName(Mode mode)
{
    return mode == Mode::kAdvanced ? "advanced" : "compatible";
}

const char *AlignmentName(Alignment alignment)
{
    switch (alignment) {
    case Alignment::kTop: return "top";
    case Alignment::kBottom: return "bottom";
    case Alignment::kBaseline: break;
    }
    return "baseline";
}

std::string AnglesLabel(const Setting &setting)
{
    char label[64];
    std::snprintf(label, sizeof(label), "e %d  o %d", setting.escapement, setting.orientation);
    return label;
}

driving::Scene SceneOf(const Setting &setting)
{
    return {setting.escapement, setting.orientation, setting.mode == Mode::kAdvanced,
            static_cast<int>(setting.alignment)};
}

SceneDialog::SceneDialog() : Dialog(DialogProc) {}

} // namespace atlas
