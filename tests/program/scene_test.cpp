// The scene as the program paints it: every pixel of a frame drawn into a 32-bit DIB section
// through the program's own paint path.
#include "SlantGlyphDemo.h"
#include "test_support.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using test::Frame;

constexpr int kReferenceX = 150;
constexpr int kReferenceY = 170;
constexpr double kPi = 3.14159265358979323846;

enum Alignment { kBaseline = 0, kTop = 1, kBottom = 2, kNoSelection = -1 };

class Scene : public ::testing::Test {
protected:
    Frame Draw(const char *escapement, const char *orientation, bool advanced = false,
               Alignment alignment = kBaseline) const
    {
        dialog_.SetAnglesUncoupled(escapement, orientation);
        dialog_.SetCheckQuietly(chx1, advanced);
        SendDlgItemMessageA(dialog_.hwnd(), cmb1, CB_SETCURSEL, static_cast<WPARAM>(alignment), 0);
        return Frame(dialog_.hwnd());
    }

    test::Dialog dialog_;
    const test::FontMetrics metrics_ = test::SceneFontMetrics();
};

// Reports the first pixels that break a rule, with their place, so a failure can be read.
class Mismatches {
public:
    void Check(bool ok, int x, int y, std::uint32_t pixel, const char *rule)
    {
        if (ok) {
            return;
        }
        if (count_++ < 5) {
            text_ += (testing::Message()
                      << " (" << x << "," << y << ")=" << std::hex << pixel << std::dec << " " << rule << ";")
                         .GetString();
        }
    }
    int count() const { return count_; }
    const std::string &text() const { return text_; }

private:
    int count_ = 0;
    std::string text_;
};

// The escapement's cell: a parallelogram along the baseline from the text's origin.
struct Cell {
    double ox, oy;   // baseline origin
    double ux, uy;   // baseline direction
    double upx, upy; // towards the ascenders
    double length, ascent, descent;

    // How far a point lies outside the cell, in pixels; negative inside.
    double Outside(double x, double y) const
    {
        const double along = (x - ox) * ux + (y - oy) * uy;
        const double up = (x - ox) * upx + (y - oy) * upy;
        return std::max({-along, along - length, -descent - up, up - ascent});
    }
};

Cell CellFor(int escapement, Alignment alignment, const test::FontMetrics &m)
{
    const double theta = escapement * kPi / 1800.0;
    Cell cell{kReferenceX,
              kReferenceY,
              std::cos(theta),
              -std::sin(theta),
              -std::sin(theta),
              -std::cos(theta),
              static_cast<double>(m.textWidth),
              static_cast<double>(m.ascent),
              static_cast<double>(m.descent)};
    const double shift = alignment == kTop ? -m.ascent : alignment == kBottom ? m.descent : 0.0;
    cell.ox += shift * cell.upx;
    cell.oy += shift * cell.upy;
    return cell;
}

bool OnCross(int x, int y)
{
    return x == kReferenceX || y == kReferenceY;
}

// ---- The font ----

TEST_F(Scene, FontCellIsFiftyPixelsHigh)
{
    EXPECT_EQ(metrics_.height, 50) << "a positive height asks for the cell height";
    EXPECT_EQ(metrics_.ascent + metrics_.descent, 50);
    EXPECT_GT(metrics_.ascent, metrics_.descent);
    EXPECT_GT(metrics_.textWidth, 250);
    EXPECT_LT(metrics_.textWidth, 450);
}

// ---- Upright text: every pixel of the frame ----

struct Upright {
    const char *name;
    Alignment alignment;
    bool advanced;
};

class UprightScene : public Scene, public ::testing::WithParamInterface<Upright> {};

TEST_P(UprightScene, CellSitsAtTheCrossAndEverythingElseIsBackgroundOrLine)
{
    const Frame frame = Draw("0", "0", GetParam().advanced, GetParam().alignment);
    ASSERT_GT(frame.width(), kReferenceX + metrics_.textWidth);
    ASSERT_GT(frame.height(), kReferenceY + metrics_.height);

    int top = kReferenceY - metrics_.ascent;
    if (GetParam().alignment == kTop) {
        top = kReferenceY;
    } else if (GetParam().alignment == kBottom) {
        top = kReferenceY - metrics_.height;
    }
    const RECT cell = {kReferenceX, top, kReferenceX + metrics_.textWidth, top + metrics_.height};

    Mismatches mismatches;
    int ink = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint32_t p = frame.At(x, y);
            const POINT point = {x, y};
            if (PtInRect(&cell, point)) {
                mismatches.Check(test::IsCell(p), x, y, p, "cell");
                ink += test::IsInk(p) ? 1 : 0;
            } else if (OnCross(x, y)) {
                mismatches.Check(test::IsBlack(p), x, y, p, "line");
            } else {
                mismatches.Check(test::IsWhite(p), x, y, p, "background");
            }
        }
    }
    EXPECT_EQ(mismatches.count(), 0) << mismatches.text();
    EXPECT_GT(ink, 1000) << "red ink on the cell";
}

INSTANTIATE_TEST_SUITE_P(EveryAlignment, UprightScene,
                         ::testing::Values(Upright{"Baseline", kBaseline, false}, Upright{"Top", kTop, false},
                                           Upright{"Bottom", kBottom, false},
                                           Upright{"BaselineAdvanced", kBaseline, true},
                                           Upright{"TopAdvanced", kTop, true}),
                         [](const ::testing::TestParamInfo<Upright> &info) {
                             return std::string(info.param.name);
                         });

// ---- Inputs the scene reads ----

TEST_F(Scene, FieldWithoutNumberDrawsAngleZero)
{
    const Frame zero = Draw("0", "0");
    for (const char *text : {"", "-", "abc", "+"}) {
        EXPECT_EQ(Draw(text, text), zero) << '"' << text << '"';
    }
}

TEST_F(Scene, AnglesBeyondOneTurnArePassedOnUnchanged)
{
    // The font takes any angle and turns by it modulo a full turn.
    EXPECT_EQ(Draw("5000", "5000"), Draw("1400", "1400"));
    EXPECT_EQ(Draw("-900", "-900"), Draw("2700", "2700"));
    EXPECT_EQ(Draw("-3600", "-3600"), Draw("0", "0"));
    EXPECT_NE(Draw("-900", "-900"), Draw("900", "900")) << "the sign is kept";
}

TEST_F(Scene, ListWithoutSelectionKeepsTheDefaultTopAlignment)
{
    EXPECT_EQ(Draw("0", "0", false, kNoSelection), Draw("0", "0", false, kTop));
}

TEST_F(Scene, CompatibleModeIgnoresTheOrientation)
{
    EXPECT_EQ(Draw("0", "900"), Draw("0", "0"));
    EXPECT_EQ(Draw("450", "-1200"), Draw("450", "450"));
}

TEST_F(Scene, AdvancedModeTurnsTheGlyphsByTheOrientation)
{
    EXPECT_NE(Draw("0", "900", true), Draw("0", "900", false));
    EXPECT_NE(Draw("0", "900", true), Draw("0", "0", true));
}

TEST_F(Scene, UncheckingAdvancedModeReturnsToCompatibleAtTheNextPaint)
{
    const Frame compatible = Draw("0", "900");
    dialog_.Click(chx1);
    EXPECT_NE(Frame(dialog_.hwnd()), compatible);
    dialog_.Click(chx1);
    EXPECT_EQ(Frame(dialog_.hwnd()), compatible);
}

// ---- Rotated text ----

class RotatedScene : public Scene, public ::testing::WithParamInterface<int> {};

TEST_P(RotatedScene, InkRunsAlongTheEscapementInsideTheCell)
{
    const int escapement = GetParam();
    const std::string angle = std::to_string(escapement);
    const Frame frame = Draw(angle.c_str(), angle.c_str());
    const Cell cell = CellFor(escapement, kBaseline, metrics_);

    // The ink's principal axis is the baseline; its mean lies ahead of the origin.
    double n = 0;
    double sx = 0;
    double sy = 0;
    double sxx = 0;
    double syy = 0;
    double sxy = 0;
    Mismatches outside;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint32_t p = frame.At(x, y);
            if (!test::IsInk(p)) {
                continue;
            }
            outside.Check(cell.Outside(x + 0.5, y + 0.5) <= 2.0, x, y, p, "ink outside the cell");
            const double dx = x + 0.5 - kReferenceX;
            const double dy = y + 0.5 - kReferenceY;
            n += 1;
            sx += dx;
            sy += dy;
            sxx += dx * dx;
            syy += dy * dy;
            sxy += dx * dy;
        }
    }
    EXPECT_EQ(outside.count(), 0) << outside.text();
    ASSERT_GT(n, 300) << "some ink is on screen";
    const double mx = sx / n;
    const double my = sy / n;
    const double cxx = sxx / n - mx * mx;
    const double cyy = syy / n - my * my;
    const double cxy = sxy / n - mx * my;
    const double axis = 0.5 * std::atan2(2 * cxy, cxx - cyy); // radians, screen y down
    // Compare directions modulo half a turn, then pick the half by where the mean lies.
    const double expected = -escapement * kPi / 1800.0;
    const double difference = std::remainder(axis - expected, kPi);
    EXPECT_LT(std::fabs(difference), 3.0 * kPi / 180.0) << "axis " << axis * 180 / kPi << " degrees";
    EXPECT_GT(mx * cell.ux + my * cell.uy, 0.0) << "the text runs forwards from the origin";
}

INSTANTIATE_TEST_SUITE_P(Angles, RotatedScene, ::testing::Values(0, 300, 450, 900, 1350, 1800, 2700, -300),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return (info.param < 0 ? "Minus" : "") + std::to_string(std::abs(info.param));
                         });

struct RotatedCellCase {
    const char *name;
    int escapement;
    Alignment alignment;
};

class RotatedCell : public Scene, public ::testing::WithParamInterface<RotatedCellCase> {};

TEST_P(RotatedCell, CellIsTheTurnedRectangle)
{
    const int escapement = GetParam().escapement;
    const std::string angle = std::to_string(escapement);
    const Frame frame = Draw(angle.c_str(), angle.c_str(), false, GetParam().alignment);

    const Cell cell = CellFor(escapement, GetParam().alignment, metrics_);
    if (test::RunningUnderWine()) {
        // Wine fills an upright box from the baseline origin for turned text, and none from 90
        // to 270 degrees, instead of the turned cell.
        int yellow = 0;
        int left = frame.width();
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                if (frame.At(x, y) == 0xFFFF00u) {
                    ++yellow;
                    left = std::min(left, x);
                }
            }
        }
        const int degrees = ((escapement % 3600 + 3600) % 3600) / 10;
        if (degrees >= 90 && degrees <= 270) {
            EXPECT_EQ(yellow, 0);
        } else {
            EXPECT_GT(yellow, 0);
            EXPECT_EQ(left, static_cast<int>(std::lround(cell.ox)));
        }
        return;
    }

    Mismatches mismatches;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint32_t p = frame.At(x, y);
            const double outside = cell.Outside(x + 0.5, y + 0.5);
            if (outside < -1.0) {
                mismatches.Check(test::IsCell(p), x, y, p, "inside the cell");
            } else if (outside > 1.0) {
                mismatches.Check(!test::IsCell(p), x, y, p, "outside the cell");
            }
        }
    }
    EXPECT_EQ(mismatches.count(), 0) << mismatches.text();
}

INSTANTIATE_TEST_SUITE_P(Angles, RotatedCell,
                         ::testing::Values(RotatedCellCase{"Baseline450", 450, kBaseline},
                                           RotatedCellCase{"Top450", 450, kTop},
                                           RotatedCellCase{"Bottom900", 900, kBottom},
                                           RotatedCellCase{"Baseline1350", 1350, kBaseline},
                                           RotatedCellCase{"Top2700", 2700, kTop},
                                           RotatedCellCase{"BaselineMinus300", -300, kBaseline}),
                         [](const ::testing::TestParamInfo<RotatedCellCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
