// PNG files of frames, through stb's single-header image libraries (they build for Windows too).
#pragma once

#include "scene_frame.h"

#include <optional>
#include <string>

namespace atlas {

bool WritePng(const scene::Frame &frame, const std::string &path);
std::optional<scene::Frame> ReadPng(const std::string &path);

// Each output pixel the mean of a factor × factor block.
scene::Frame Downscale(const scene::Frame &frame, int factor);

} // namespace atlas
