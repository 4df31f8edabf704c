// Helpers of the atlas tool's tests: the tool run as a user runs it, beside the test binary.
#pragma once

#include "scene_control.h"
#include "scene_frame.h"

#include <string>

namespace atlas_test {

// Runs slantglyph-atlas with `arguments` (already quoted where needed), standard error into
// `errorFile` if one is given; its exit code.
int RunTool(const std::string &arguments, const std::string &errorFile = "");

// A file name in a fresh folder of the test's own.
std::string TempPath(const std::string &name);

// The scene as the dialog's own paint draws it, the controls set by the program tests' helpers.
scene::Frame DialogPaint(const atlas::Setting &setting);

} // namespace atlas_test
