#include "layout.h"

#include "SlantGlyphDemo.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace atlas {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFullTurn = 3600;

Point Direction(int angle)
{
    const double theta = (((angle % kFullTurn) + kFullTurn) % kFullTurn) * kPi / 1800.0;
    return {std::cos(theta), -std::sin(theta)};
}

Point Perpendicular(Point along)
{
    // Towards the ascenders: a quarter turn counter-clockwise on screen.
    return {along.y, -along.x};
}

Point Add(Point a, Point b, double scale)
{
    return {a.x + b.x * scale, a.y + b.y * scale};
}

Quad Cell(Point origin, Point along, Point up, double length, int ascent, int descent)
{
    const Point top = Add(origin, up, ascent);
    const Point bottom = Add(origin, up, -descent);
    return {top, Add(top, along, length), Add(bottom, along, length), bottom};
}

nlohmann::ordered_json ToJson(Point p)
{
    return {p.x, p.y};
}

nlohmann::ordered_json ToJson(const Quad &quad)
{
    return {ToJson(quad[0]), ToJson(quad[1]), ToJson(quad[2]), ToJson(quad[3])};
}

std::string Narrow(wchar_t c)
{
    return {1, c < 0x80 ? static_cast<char>(c) : '?'};
}

} // namespace

TextLayout LayOut(const Setting &setting)
{
    LOGFONTW font = {};
    font.lfHeight = scene::kCellHeight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfEscapement = setting.escapement;
    font.lfOrientation = setting.orientation;
    lstrcpyW(font.lfFaceName, scene::kFaceName);

    const int length = lstrlenW(scene::kSampleText);
    std::vector<int> extents(static_cast<size_t>(length));
    TEXTMETRICW metrics = {};
    SIZE extent = {};

    HDC dc = CreateCompatibleDC(nullptr);
    SetGraphicsMode(dc, setting.mode == Mode::kAdvanced ? GM_ADVANCED : GM_COMPATIBLE);
    HFONT hfont = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(dc, hfont);
    GetTextMetricsW(dc, &metrics);
    GetTextExtentExPointW(dc, scene::kSampleText, length, 0, nullptr, extents.data(), &extent);
    SelectObject(dc, previous);
    DeleteObject(hfont);
    DeleteDC(dc);

    TextLayout layout;
    layout.ascent = metrics.tmAscent;
    layout.descent = metrics.tmDescent;
    layout.height = metrics.tmHeight;
    layout.width = extent.cx;
    layout.baseline = Direction(setting.escapement);
    const Point lineUp = Perpendicular(layout.baseline);
    const int glyphAngle = setting.mode == Mode::kAdvanced ? setting.orientation : setting.escapement;
    const Point glyphAlong = Direction(glyphAngle);
    layout.glyphUp = Perpendicular(glyphAlong);

    // The alignment moves the origin along the escapement's perpendicular.
    const Point reference{scene::kReferenceX, scene::kReferenceY};
    switch (setting.alignment) {
    case Alignment::kTop: layout.origin = Add(reference, lineUp, -layout.ascent); break;
    case Alignment::kBottom: layout.origin = Add(reference, lineUp, layout.descent); break;
    case Alignment::kBaseline: layout.origin = reference; break;
    }
    layout.textCell =
        Cell(layout.origin, layout.baseline, lineUp, layout.width, layout.ascent, layout.descent);

    int before = 0;
    for (int i = 0; i < length; ++i) {
        const int advance = extents[static_cast<size_t>(i)] - before;
        const Point origin = Add(layout.origin, layout.baseline, before);
        layout.glyphs.push_back(
            {scene::kSampleText[i], origin, advance,
             Cell(origin, glyphAlong, layout.glyphUp, advance, layout.ascent, layout.descent)});
        before = extents[static_cast<size_t>(i)];
    }
    return layout;
}

double Outside(const Quad &quad, Point point)
{
    // The largest signed distance past any edge; the corners run clockwise on screen.
    double worst = -1e300;
    for (size_t i = 0; i < quad.size(); ++i) {
        const Point a = quad[i];
        const Point b = quad[(i + 1) % quad.size()];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double length = std::hypot(dx, dy);
        if (length == 0) {
            continue;
        }
        // (-dy, dx) points into the quad along a clockwise (on screen) edge.
        const double distance = ((point.x - a.x) * -dy + (point.y - a.y) * dx) / length;
        worst = std::max(worst, -distance);
    }
    return worst;
}

bool IsInk(std::uint32_t pixel)
{
    const auto red = static_cast<std::uint8_t>(pixel >> 16);
    const auto green = static_cast<std::uint8_t>(pixel >> 8);
    const auto blue = static_cast<std::uint8_t>(pixel);
    return red >= 0xC0 && green <= 0x80 && blue <= 0x80;
}

InkCount CountInk(const scene::Frame &frame, const TextLayout &layout)
{
    InkCount count;
    count.bounds = {frame.width(), frame.height(), 0, 0};
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (!IsInk(frame.At(x, y))) {
                continue;
            }
            ++count.ink;
            count.bounds = {std::min<LONG>(count.bounds.left, x), std::min<LONG>(count.bounds.top, y),
                            std::max<LONG>(count.bounds.right, x + 1),
                            std::max<LONG>(count.bounds.bottom, y + 1)};
            const Point centre{x + 0.5, y + 0.5};
            const bool inside = std::any_of(layout.glyphs.begin(), layout.glyphs.end(), [&](const Glyph &g) {
                return Outside(g.cell, centre) <= kInkMargin;
            });
            count.outsideCells += inside ? 0 : 1;
        }
    }
    if (count.ink == 0) {
        count.bounds = {0, 0, 0, 0};
    }
    return count;
}

std::string ToJson(const Setting &setting, const TextLayout &layout, const InkCount &ink)
{
    nlohmann::ordered_json glyphs = nlohmann::ordered_json::array();
    for (const Glyph &g : layout.glyphs) {
        glyphs.push_back({{"glyph", Narrow(g.character)},
                          {"origin", ToJson(g.origin)},
                          {"advance", g.advance},
                          {"cell", ToJson(g.cell)}});
    }
    const nlohmann::ordered_json out = {
        {"escapement", setting.escapement},
        {"orientation", setting.orientation},
        {"mode", ModeName(setting.mode)},
        {"align", AlignmentName(setting.alignment)},
        {"font", {{"ascent", layout.ascent}, {"descent", layout.descent}, {"height", layout.height}}},
        {"extent", layout.width},
        {"origin", ToJson(layout.origin)},
        {"baseline", ToJson(layout.baseline)},
        {"glyph_up", ToJson(layout.glyphUp)},
        {"text_cell", ToJson(layout.textCell)},
        {"glyphs", glyphs},
        {"frame",
         {{"ink_pixels", ink.ink},
          {"ink_outside_cells", ink.outsideCells},
          {"ink_bounds", {ink.bounds.left, ink.bounds.top, ink.bounds.right, ink.bounds.bottom}}}},
    };
    return out.dump();
}

std::string TableHeader()
{
    return "escapement\torientation\tmode\talign\tglyph\torigin_x\torigin_y\tadvance\t"
           "cell_x0\tcell_y0\tcell_x1\tcell_y1\tcell_x2\tcell_y2\tcell_x3\tcell_y3\tink\tink_outside\n";
}

std::string ToTable(const Setting &setting, const TextLayout &layout, const InkCount &ink)
{
    std::string out;
    char line[512];
    for (const Glyph &g : layout.glyphs) {
        const Quad &c = g.cell;
        std::snprintf(
            line, sizeof(line),
            "%d\t%d\t%s\t%s\t%s\t%.2f\t%.2f\t%d\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%d\t%d\n",
            setting.escapement, setting.orientation, ModeName(setting.mode), AlignmentName(setting.alignment),
            Narrow(g.character).c_str(), g.origin.x, g.origin.y, g.advance, c[0].x, c[0].y, c[1].x, c[1].y,
            c[2].x, c[2].y, c[3].x, c[3].y, ink.ink, ink.outsideCells);
        out += line;
    }
    return out;
}

} // namespace atlas
