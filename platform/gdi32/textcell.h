// The text's cell: the turned rectangle along the baseline that the opaque background fills, and
// the band each glyph's ink keeps to, with the vector arithmetic they need (surface pixels, y down).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace gdi {

struct Vector {
    double x;
    double y;
};
inline Vector operator+(Vector a, Vector b)
{
    return {a.x + b.x, a.y + b.y};
}
inline Vector operator-(Vector a, Vector b)
{
    return {a.x - b.x, a.y - b.y};
}
inline Vector operator*(double s, Vector v)
{
    return {s * v.x, s * v.y};
}
inline double Dot(Vector a, Vector b)
{
    return a.x * b.x + a.y * b.y;
}

// The text's cell: a rectangle along the baseline, turned by the escapement (surface pixels).
struct Cell {
    Vector origin;    // baseline origin
    Vector direction; // along the baseline
    Vector up;        // towards the ascenders
    double length;
    double ascent;
    double descent;

    bool Contains(double x, double y) const
    {
        const Vector offset = Vector{x, y} - origin;
        const double along = Dot(offset, direction);
        const double height = Dot(offset, up);
        return along >= 0 && along < length && height > -descent && height <= ascent;
    }

    // The run [start, end) of pixels in row y, within [firstX, lastX), whose centres lie inside;
    // false when there is none. The run is worked out along the row's centre line, widened by a
    // pixel for rounding, then trimmed with Contains, so it holds exactly the pixels Contains does.
    bool RowSpan(int y, int firstX, int lastX, int &start, int &end) const
    {
        const double centreY = y + 0.5;
        double low = firstX + 0.5;
        double high = lastX - 0.5;
        // Along the row a projection is slope * x + offset, and each must stay within its bounds.
        const auto limit = [&](Vector axis, double below, double above) {
            const double slope = axis.x;
            const double offset = (centreY - origin.y) * axis.y - origin.x * axis.x;
            if (slope == 0) {
                if (offset < below || offset > above) {
                    high = low - 1;
                }
                return;
            }
            const double from = (below - offset) / slope;
            const double to = (above - offset) / slope;
            low = std::max(low, std::min(from, to));
            high = std::min(high, std::max(from, to));
        };
        limit(direction, 0, length);
        limit(up, -descent, ascent);
        if (low > high + 1) {
            return false;
        }
        start = std::max(firstX, static_cast<int>(std::floor(low - 0.5)) - 1);
        end = std::min(lastX, static_cast<int>(std::ceil(high - 0.5)) + 2);
        while (start < end && !Contains(start + 0.5, centreY)) {
            ++start;
        }
        while (end > start && !Contains(end - 0.5, centreY)) {
            --end;
        }
        return start < end;
    }

    // Calls `span(y, left, right)` for the pixel runs whose centres lie inside.
    template <typename Span> void ForEachSpan(const RECT &clip, Span span) const
    {
        const Vector top = ascent * up;
        const Vector bottom = -descent * up;
        const Vector corners[] = {origin + top, origin + top + length * direction, origin + bottom,
                                  origin + bottom + length * direction};
        double left = corners[0].x;
        double right = left;
        double high = corners[0].y;
        double low = high;
        for (const Vector &corner : corners) {
            left = std::min(left, corner.x);
            right = std::max(right, corner.x);
            high = std::min(high, corner.y);
            low = std::max(low, corner.y);
        }
        const int firstX = std::max(static_cast<int>(std::floor(left)), static_cast<int>(clip.left));
        const int lastX = std::min(static_cast<int>(std::ceil(right)), static_cast<int>(clip.right));
        const int firstY = std::max(static_cast<int>(std::floor(high)), static_cast<int>(clip.top));
        const int lastY = std::min(static_cast<int>(std::ceil(low)), static_cast<int>(clip.bottom));
        for (int y = firstY; y < lastY; ++y) {
            int start = 0;
            int end = 0;
            if (RowSpan(y, firstX, lastX, start, end)) {
                span(y, start, end);
            }
        }
    }
};

} // namespace gdi
