// The few primitives every pixel goes through: fill a span, blend coverage, combine blocks.
#pragma once

#include "objects.h"

namespace gdi {

// Surface pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
constexpr std::uint32_t ToPixel(COLORREF color)
{
    return (color & 0x0000FF00u) | ((color & 0xFFu) << 16) | ((color >> 16) & 0xFFu);
}
constexpr COLORREF ToColor(std::uint32_t pixel)
{
    return ToPixel(pixel & 0x00FFFFFFu);
}

// A surface and the part of it drawing may touch.
struct Canvas {
    platform::Surface &surface;
    RECT clip;

    std::uint32_t *Row(int y) const
    {
        return surface.pixels + static_cast<std::ptrdiff_t>(y) * surface.stride;
    }
    bool Contains(int x, int y) const
    {
        return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
    }
};

Canvas CanvasOf(const DeviceContext &dc);

void FillSpan(const Canvas &canvas, int y, int left, int right, std::uint32_t pixel); // [left, right)
void FillBox(const Canvas &canvas, const RECT &box, std::uint32_t pixel);
// coverage 0 keeps the pixel, 255 replaces it with `pixel`.
void BlendPixel(const Canvas &canvas, int x, int y, std::uint32_t pixel, unsigned coverage);

// A ternary raster operation over `box` (surface pixels of `target`): the pattern is one colour,
// the source (may be null when the operation does not read it) is read at box + sourceOffset.
void CombineBlock(const Canvas &target, RECT box, const platform::Surface *source, POINT sourceOffset,
                  std::uint32_t pattern, DWORD rop);

// Whether a raster operation reads the brush's pattern.
bool UsesPattern(DWORD rop);

// The colour the DC's brush or pen paints with; false when it paints nothing.
bool BrushPixel(const DeviceContext &dc, std::uint32_t &pixel);
bool BrushPixel(const DeviceContext &dc, HBRUSH brush, std::uint32_t &pixel);
bool PenPixel(const DeviceContext &dc, std::uint32_t &pixel);

// A one-pixel line from `from` to `to` in surface pixels, `to` itself not drawn.
void DrawLine(const Canvas &canvas, POINT from, POINT to, std::uint32_t pixel);

} // namespace gdi
