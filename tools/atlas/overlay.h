// The geometry of a layout drawn over the scene, in colours clear of its red, yellow and black.
#pragma once

#include "layout.h"

#include <windows.h>

namespace atlas {

constexpr COLORREF kCellOutlineColor = RGB(0, 0, 255);   // the text cell
constexpr COLORREF kBaselineColor = RGB(0, 170, 0);      // the escapement, as an arrow
constexpr COLORREF kGlyphUpColor = RGB(140, 0, 230);     // towards the glyphs' ascenders
constexpr COLORREF kGlyphOriginColor = RGB(0, 170, 200); // a small cross at each glyph's origin

// `thickness` in pixels, so that lines survive a reduced sheet.
void DrawOverlay(HDC dc, const TextLayout &layout, int thickness);

} // namespace atlas
