// Where the scene's text stands for one setting: from the platform's own answers (text metrics and
// partial extents of the scene's font) and the documented geometry of rotated text, so that the
// Windows build run under Wine reports Wine's numbers. And what the drawn frame shows of it.
#pragma once

#include "scene_control.h"
#include "scene_frame.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace atlas {

struct Point {
    double x;
    double y;
};

// Four corners: top-left, top-right, bottom-right, bottom-left as the text reads.
using Quad = std::array<Point, 4>;

struct Glyph {
    wchar_t character;
    Point origin;
    int advance;
    Quad cell; // the glyph's own cell, turned as the glyph is
};

struct TextLayout {
    int ascent = 0;
    int descent = 0;
    int height = 0;
    int width = 0;    // the text extent
    Point origin{};   // baseline origin of the first glyph
    Point baseline{}; // unit vector along the escapement
    Point glyphUp{};  // unit vector towards the glyphs' ascenders
    Quad textCell{};  // the background the text is drawn on
    std::vector<Glyph> glyphs;
};

// Asks the platform, through a DC of its own, for the scene font's metrics and extents.
TextLayout LayOut(const Setting &setting);

// How far a point lies outside a convex quad, in pixels; negative inside.
double Outside(const Quad &quad, Point point);

// The scene's red ink: strong enough (half covered or more) to be ink over any background.
bool IsInk(std::uint32_t pixel);

struct InkCount {
    int ink = 0;
    int outsideCells = 0; // ink farther than the margin from every glyph's cell
    RECT bounds{0, 0, 0, 0};
};

// Ink pixels are taken at their centres; a pixel may stand out of a cell by antialiasing.
constexpr double kInkMargin = 1.5;
InkCount CountInk(const scene::Frame &frame, const TextLayout &layout);

std::string ToJson(const Setting &setting, const TextLayout &layout, const InkCount &ink);
// One line per glyph, columns separated by tabs, after a header line given once.
std::string TableHeader();
std::string ToTable(const Setting &setting, const TextLayout &layout, const InkCount &ink);

} // namespace atlas
