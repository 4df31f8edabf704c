// What the parts of the platform layer offer one another beyond the Win32 API itself.
// Programs never include this; only platform/ and tests/platform/ do.
#pragma once

#include <windows.h>

#include <cstdint>

namespace platform {

// A 32-bit image: one 0x00RRGGBB value per pixel, rows top-down, `stride` pixels per row.
struct Surface {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::uint32_t *pixels = nullptr;
};

// GDI32: a device context that draws onto `surface`. Its logical (0, 0) is `origin` in surface
// pixels and all drawing is clipped to `clip` (surface pixels). Released with DeleteDC.
// USER32 builds window and paint DCs with it.
HDC CreateSurfaceDC(Surface *surface, POINT origin, RECT clip);

// GDI32: the number of GDI objects alive now, stock objects not counted (GetGuiResources).
DWORD GdiObjectCount();

} // namespace platform
