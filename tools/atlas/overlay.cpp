#include "overlay.h"

#include <cmath>
#include <vector>

namespace atlas {

namespace {

constexpr double kArrowHead = 10;    // pixels along each barb
constexpr double kArrowSpread = 0.5; // radians either side of the shaft
constexpr int kCrossArm = 4;
constexpr double kBaselineOvershoot = 20; // the arrow runs past the text's end
constexpr double kUpOvershoot = 15;

POINT Pixel(Point p)
{
    return {static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))};
}

// A polyline drawn once per pixel of thickness, each copy moved by one pixel to the lower right.
void Stroke(HDC dc, COLORREF color, const std::vector<POINT> &points, int thickness)
{
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ previous = SelectObject(dc, pen);
    for (int shift = 0; shift < thickness; ++shift) {
        std::vector<POINT> moved = points;
        for (POINT &p : moved) {
            p.x += shift;
            p.y += shift;
        }
        Polyline(dc, moved.data(), static_cast<int>(moved.size()));
    }
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void Arrow(HDC dc, COLORREF color, Point from, Point direction, double length, int thickness)
{
    const Point tip{from.x + direction.x * length, from.y + direction.y * length};
    const double angle = std::atan2(direction.y, direction.x);
    const Point left{tip.x - kArrowHead * std::cos(angle - kArrowSpread),
                     tip.y - kArrowHead * std::sin(angle - kArrowSpread)};
    const Point right{tip.x - kArrowHead * std::cos(angle + kArrowSpread),
                      tip.y - kArrowHead * std::sin(angle + kArrowSpread)};
    Stroke(dc, color, {Pixel(from), Pixel(tip)}, thickness);
    Stroke(dc, color, {Pixel(left), Pixel(tip), Pixel(right)}, thickness);
}

} // namespace

void DrawOverlay(HDC dc, const TextLayout &layout, int thickness)
{
    const Quad &cell = layout.textCell;
    Stroke(dc, kCellOutlineColor,
           {Pixel(cell[0]), Pixel(cell[1]), Pixel(cell[2]), Pixel(cell[3]), Pixel(cell[0])}, thickness);
    Arrow(dc, kBaselineColor, layout.origin, layout.baseline, layout.width + kBaselineOvershoot, thickness);
    Arrow(dc, kGlyphUpColor, layout.origin, layout.glyphUp, layout.ascent + kUpOvershoot, thickness);
    for (const Glyph &glyph : layout.glyphs) {
        const POINT o = Pixel(glyph.origin);
        Stroke(dc, kGlyphOriginColor, {{o.x - kCrossArm, o.y}, {o.x + kCrossArm + 1, o.y}}, thickness);
        Stroke(dc, kGlyphOriginColor, {{o.x, o.y - kCrossArm}, {o.x, o.y + kCrossArm + 1}}, thickness);
    }
}

} // namespace atlas
