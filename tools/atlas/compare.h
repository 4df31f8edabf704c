// The same sheet drawn natively and by the Windows build under Wine, scene by scene: the share of
// pixels that differ, and whether a difference is one of Wine's known faults (docs/conformance.md).
#pragma once

#include "scene_control.h"
#include "scene_frame.h"

#include <map>
#include <string>
#include <vector>

namespace atlas {

// Pixels are compared by what they show (ink, cell, line, paper), a channel counting as high from
// this value; and a pixel is matched by any of the other side's within this many pixels, since
// smoothing and rounding move edges by one.
constexpr int kClassThreshold = 0x80;
constexpr int kNeighbourhood = 1;
// A scene agrees when no larger share of its pixels differs.
constexpr double kAgreeShare = 0.0005;
// A line laid along the orientation explains Wine's scene when no larger share of its ink stands
// outside the cells of such a line.
constexpr double kFaultInkShare = 0.02;

// Keys of the faults this tool can recognise, as docs/conformance.md names them.
constexpr const char *kUprightBackground = "upright-background";
constexpr const char *kLineAlongOrientation = "line-along-orientation";

// The rows of the known-faults table: key, then what Wine does.
std::map<std::string, std::string> ReadKnownFaults(const std::string &conformancePath);

enum class Verdict { kAgree, kKnownFault, kUnexplained };

struct SceneComparison {
    Setting setting;
    double differingShare = 0;
    double unexplainedShare = 0; // of the pixels, those no known fault accounts for
    Verdict verdict = Verdict::kAgree;
    std::vector<std::string> faults; // the keys of the known faults that account for the difference
};

// The two frames compared: a scene agrees when few enough pixels differ, and differs for known
// reasons when few enough of the differing pixels are left once each is put down to a fault; `difference`
// receives the picture of where they differ.
SceneComparison Compare(const Setting &setting, const scene::Frame &native, const scene::Frame &wine,
                        const std::map<std::string, std::string> &knownFaults, scene::Frame *difference);

// The file name, without folder, that a scene's frame is written under: "e450_o900.png".
std::string SceneFileName(const Setting &setting);

struct Report {
    std::string title;
    std::vector<SceneComparison> scenes;
    std::map<std::string, std::string> knownFaults;
};

// index.html beside the folders native/, wine/ and difference/, relative links only.
std::string ReportHtml(const Report &report);
std::string SummaryLine(const Report &report);

} // namespace atlas
