// Where rotated text lands: for every escapement, orientation, graphics mode and alignment, the
// opaque cell is the turned rectangle of the text-geometry rules; the ink stays inside it while
// the glyphs turn with the line, and stands whole on the paper where they turn apart from it.
#include "pixels.h"
#include "text_cell.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

constexpr int kCanvasWidth = 520;
constexpr int kCanvasHeight = 540;
constexpr double kTolerance = 1.0; // pixels, at the cell's edges

// Red smoothed over white paper: full red, the other two channels equal.
bool IsInkOnPaper(COLORREF pixel)
{
    return GetRValue(pixel) == 0xFF && GetGValue(pixel) == GetBValue(pixel);
}

// The one check: inside the cell (by more than the tolerance) is cell colour, outside is paper,
// or ink where the glyphs turn apart from the line.
void CheckText(int escapement, int orientation, int mode, UINT align)
{
    const bool glyphsApart = mode == GM_ADVANCED && (escapement - orientation) % 3600 != 0;
    test::Canvas canvas(kCanvasWidth, kCanvasHeight);
    const test::SceneText drawn = test::DrawSceneText(canvas, escapement, orientation, mode, align);
    const test::TurnedCell cell(escapement, align, drawn.extent.cx, drawn.metrics.tmAscent,
                                drawn.metrics.tmDescent);

    int wrong = 0;
    int ink = 0;
    std::string first;
    for (int y = 0; y < kCanvasHeight; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
            const COLORREF pixel = canvas.At(x, y);
            const double outside = cell.Outside(x + 0.5, y + 0.5);
            const bool ok = outside < -kTolerance ? test::IsCell(pixel)
                            : outside > kTolerance
                                ? pixel == test::kPaper || (glyphsApart && IsInkOnPaper(pixel))
                                : true;
            ink += test::IsInk(pixel) ? 1 : 0;
            if (!ok && wrong++ == 0) {
                first = std::to_string(x) + "," + std::to_string(y) + " is " + std::to_string(pixel);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "first at " << first;
    EXPECT_GT(ink, 1000) << "the text is drawn";
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
