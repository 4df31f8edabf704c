// Where rotated text lands: for every escapement, orientation, graphics mode and alignment, the
// opaque cell is the turned rectangle of the text-geometry rules and the ink stays inside it.
#include "canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

namespace {

constexpr double kPi = 3.14159265358979323846;
using test::kReferenceX;
using test::kReferenceY;
constexpr int kCanvasWidth = 520;
constexpr int kCanvasHeight = 540;
constexpr double kTolerance = 1.0; // pixels, at the cell's edges

struct Vector {
    double x;
    double y;
};

// The text's cell as the rules describe it, for a reference point R and alignment.
struct Cell {
    Vector origin = {0, 0};
    Vector direction = {0, 0};
    Vector up = {0, 0};
    double length;
    double ascent;
    double descent;

    Cell(int escapement, UINT align, const TEXTMETRICW &metrics, double width)
        : length(width), ascent(metrics.tmAscent), descent(metrics.tmDescent)
    {
        const double theta = escapement * kPi / 1800.0;
        direction = {std::cos(theta), -std::sin(theta)};
        up = {-std::sin(theta), -std::cos(theta)};
        double lift = 0; // along `up`, from R to the baseline origin
        if ((align & (TA_BASELINE | TA_BOTTOM)) == TA_TOP) {
            lift = -ascent;
        } else if ((align & (TA_BASELINE | TA_BOTTOM)) == TA_BOTTOM) {
            lift = descent;
        }
        double back = 0; // along the baseline
        if ((align & TA_CENTER) == TA_CENTER) {
            back = width / 2;
        } else if ((align & TA_CENTER) == TA_RIGHT) {
            back = width;
        }
        origin = {kReferenceX + lift * up.x - back * direction.x,
                  kReferenceY + lift * up.y - back * direction.y};
    }

    Vector Corner(double along, double height) const
    {
        return {origin.x + along * direction.x + height * up.x,
                origin.y + along * direction.y + height * up.y};
    }

    // How far a point lies outside the cell; negative inside.
    double Outside(double x, double y) const
    {
        const double dx = x - origin.x;
        const double dy = y - origin.y;
        const double along = dx * direction.x + dy * direction.y;
        const double height = dx * up.x + dy * up.y;
        return std::max({-along, along - length, -descent - height, height - ascent});
    }
};

bool IsCell(COLORREF c)
{
    return GetRValue(c) >= 0xC0 && GetBValue(c) <= 0x40; // yellow, or red ink blended over it
}

bool IsInk(COLORREF c)
{
    return IsCell(c) && GetGValue(c) <= 0x80;
}

// The one check: inside the cell (by more than the tolerance) is cell colour, outside is paper.
void CheckText(int escapement, int orientation, int mode, UINT align)
{
    test::Canvas canvas(kCanvasWidth, kCanvasHeight);
    const test::SceneText drawn = test::DrawSceneText(canvas, escapement, orientation, mode, align);
    const Cell cell(escapement, align, drawn.metrics, drawn.extent.cx);

    int wrong = 0;
    int ink = 0;
    std::string first;
    for (int y = 0; y < kCanvasHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            const COLORREF pixel = canvas.At(x, y);
            const double outside = cell.Outside(x + 0.5, y + 0.5);
            const bool ok = outside < -kTolerance  ? IsCell(pixel)
                            : outside > kTolerance ? pixel == test::kPaper
                                                   : true;
            ink += IsInk(pixel) ? 1 : 0;
            if (!ok && wrong++ == 0) {
                first = std::to_string(x) + "," + std::to_string(y) + " is " + std::to_string(pixel);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "first at " << first;
    const bool glyphsAlongTheBaseline = mode == GM_COMPATIBLE || (escapement - orientation) % 3600 == 0;
    if (glyphsAlongTheBaseline) {
        EXPECT_GT(ink, 1000) << "the text is drawn";
    }
}

TEST(TextCell, CornersMatchTheWorkedExample)
{
    TEXTMETRICW metrics = {};
    metrics.tmAscent = 43;
    metrics.tmDescent = 7;
    const Cell cell(450, TA_BASELINE, metrics, 346);
    const Vector expected[] = {{119.6, 139.6}, {364.3, -105.1}, {399.6, -69.7}, {154.9, 174.9}};
    const Vector corners[] = {cell.Corner(0, 43), cell.Corner(346, 43), cell.Corner(346, -7),
                              cell.Corner(0, -7)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(corners[i].x, expected[i].x, 0.1) << i;
        EXPECT_NEAR(corners[i].y, expected[i].y, 0.1) << i;
    }
}

using GridCase = std::tuple<int, int, int, UINT>; // escapement, orientation, mode, alignment

class TextGrid : public ::testing::TestWithParam<GridCase> {};

TEST_P(TextGrid, CellIsTheTurnedRectangleAndInkStaysInside)
{
    const auto [escapement, orientation, mode, align] = GetParam();
    CheckText(escapement, orientation, mode, align);
}

std::string Angle(int tenths)
{
    return (tenths < 0 ? "Minus" : "") + std::to_string(std::abs(tenths));
}

std::string GridName(const ::testing::TestParamInfo<GridCase> &info)
{
    const auto [escapement, orientation, mode, align] = info.param;
    const char *alignment = align == TA_BASELINE ? "Baseline" : align == TA_TOP ? "Top" : "Bottom";
    return "E" + Angle(escapement) + "_O" + Angle(orientation) +
           (mode == GM_ADVANCED ? "_Advanced_" : "_Compatible_") + alignment;
}

constexpr int kAngles[] = {0, 450, 900, 1350, 1800, 2700, -300, 3600, 7200};

INSTANTIATE_TEST_SUITE_P(AllAngles, TextGrid,
                         ::testing::Combine(::testing::ValuesIn(kAngles), ::testing::ValuesIn(kAngles),
                                            ::testing::Values(GM_COMPATIBLE, GM_ADVANCED),
                                            ::testing::Values(UINT{TA_BASELINE}, UINT{TA_TOP},
                                                              UINT{TA_BOTTOM})),
                         GridName);

class HorizontalAlignment : public ::testing::TestWithParam<std::tuple<int, UINT>> {};

TEST_P(HorizontalAlignment, CellEndsOrCentresAtTheReference)
{
    const auto [angle, align] = GetParam();
    CheckText(angle, angle, GM_COMPATIBLE, align);
}

INSTANTIATE_TEST_SUITE_P(CentreAndRight, HorizontalAlignment,
                         ::testing::Combine(::testing::Values(0, 450, 2700),
                                            ::testing::Values(UINT{TA_CENTER | TA_BASELINE},
                                                              UINT{TA_RIGHT | TA_TOP})));

} // namespace
