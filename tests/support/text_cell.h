// Where the scene's text cell lies: the rectangle of the text's extent and the font's ascent and
// descent, turned by the escapement about the reference point and placed by the alignment.
#pragma once

#include "SlantGlyphDemo.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace test {

constexpr double kPi = 3.14159265358979323846;

struct TurnedCell {
    double originX, originY; // where the baseline starts
    double alongX, alongY;   // the baseline's direction
    double upX, upY;         // towards the ascenders
    double length, ascent, descent;

    TurnedCell(int escapement, UINT align, double textLength, double fontAscent, double fontDescent)
        : length(textLength), ascent(fontAscent), descent(fontDescent)
    {
        const double theta = escapement * kPi / 1800.0;
        alongX = std::cos(theta);
        alongY = -std::sin(theta);
        upX = -std::sin(theta);
        upY = -std::cos(theta);
        double lift = 0; // along `up`, from the reference point to the baseline
        if ((align & (TA_BASELINE | TA_BOTTOM)) == TA_TOP) {
            lift = -ascent;
        } else if ((align & (TA_BASELINE | TA_BOTTOM)) == TA_BOTTOM) {
            lift = descent;
        }
        double back = 0; // along the baseline
        if ((align & TA_CENTER) == TA_CENTER) {
            back = length / 2;
        } else if ((align & TA_CENTER) == TA_RIGHT) {
            back = length;
        }
        originX = scene::kReferenceX + lift * upX - back * alongX;
        originY = scene::kReferenceY + lift * upY - back * alongY;
    }

    // How far a point lies outside the cell, in pixels; negative inside.
    double Outside(double x, double y) const
    {
        const double along = (x - originX) * alongX + (y - originY) * alongY;
        const double up = (x - originX) * upX + (y - originY) * upY;
        return std::max({-along, along - length, -descent - up, up - ascent});
    }
};

} // namespace test
