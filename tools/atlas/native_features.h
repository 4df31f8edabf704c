// What only the native build of the tool does: it writes animated WebP (libwebp is not built for
// Windows here) and it starts the Windows build under Wine to compare. The Windows build answers
// that these are not available.
#pragma once

#include "scene_control.h"
#include "scene_frame.h"
#include "sheet.h"

#include <memory>
#include <string>

namespace atlas {

// A mistake of the user's: one line and the usage, exit code 2.
struct UsageError {
    std::string message;
};

class Animation {
public:
    Animation() = default;
    virtual ~Animation() = default;
    Animation(const Animation &) = delete;
    Animation &operator=(const Animation &) = delete;

    virtual bool Add(const scene::Frame &frame) = 0;
    virtual bool Write(const std::string &path) = 0;
};

bool AnimationAvailable();
std::unique_ptr<Animation> MakeAnimation(int width, int height, int frameMilliseconds);

struct CompareOptions {
    std::string folder;
    SheetRequest sheet;
    std::string windowsExe;
    std::string wine = "wine";
    std::string conformance = "docs/conformance.md";
};

bool CompareAvailable();
// Writes the report and prints its summary; the exit code.
int RunCompare(const SceneDialog &dialog, const CompareOptions &options);

} // namespace atlas
