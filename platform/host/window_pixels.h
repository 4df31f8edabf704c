// What every host keeps of a window, in one place: the pixels USER32 draws into with the surface
// over them, made and remade as USER32 asks, and what a host that shows the window shows of it.
#pragma once

#include "host.h"
#include "rects.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace platform::host {

// A window's pixels and the surface USER32 draws through; each host's record of a window starts
// with it.
struct WindowPixels {
    Surface surface = {};
    std::vector<std::uint32_t> pixels;
};

// The record of `window`, made on first use, with new white pixels of `width` by `height` (at
// most kLargestSurface each way).
template <typename Record>
Record &ResizeSurface(std::map<HWND, std::unique_ptr<Record>> &windows, HWND window, int width, int height)
{
    std::unique_ptr<Record> &entry = windows[window];
    if (!entry) {
        entry = std::make_unique<Record>();
    }
    width = std::clamp(width, 0, kLargestSurface);
    height = std::clamp(height, 0, kLargestSurface);
    entry->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFFu);
    entry->surface = {width, height, width, entry->pixels.data()};
    return *entry;
}

// What a host shows of a window, in surface pixels: the client area, or a popup's whole frame,
// which no desktop draws for it.
inline RECT ShownArea(const WindowLook &look, const Surface &surface)
{
    const RECT bounds = {0, 0, surface.width, surface.height};
    if (look.kind == WindowKind::Popup) {
        return bounds;
    }
    return Intersection(Moved(look.client, -look.frame.left, -look.frame.top), bounds);
}

} // namespace platform::host
