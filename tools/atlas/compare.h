// The same sheet drawn natively and by the Windows build under Wine, scene by scene: the share of
// pixels that differ, and whether a difference is one of Wine's known faults (docs/conformance.md).
#pragma once

#include "scene_control.h"
#include "scene_frame.h"

#include <map>
#include <string>
#include <vector>

namespace atlas {

// A pixel differs when a channel differs by more than this: smoothing is not reproduced exactly.
constexpr int kChannelTolerance = 48;
// A scene agrees when no larger share of its pixels differs.
constexpr double kAgreeShare = 0.001;
// A known fault explains a scene when no larger share of its ink stands where the fault does not put it.
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
    Verdict verdict = Verdict::kAgree;
    std::string fault; // the key, for a known fault
};

// The two frames compared; `difference` receives the picture of where they differ.
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
