// The scene as the program paints it: every pixel of a frame drawn into a 32-bit DIB section
// through the program's own paint path.
#include "pixels.h"
#include "program_dialog.h"
#include "text_cell.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using test::Frame;
using test::kPi;

// Where the program promises the text and the cross; written out, so that moving them is seen.
constexpr int kReferenceX = 150;
constexpr int kReferenceY = 170;

// The alignment list's rows, and the text alignment each stands for.
enum Alignment { kBaseline = 0, kTop = 1, kBottom = 2, kNoSelection = -1 };
constexpr UINT kTextAlign[] = {TA_BASELINE, TA_TOP, TA_BOTTOM};

class Scene : public ::testing::Test {
protected:
    Frame Draw(int escapement, int orientation, bool advanced = false, Alignment alignment = kBaseline) const
    {
        dialog_.SetScene(escapement, orientation, advanced, alignment);
        return Frame(dialog_.hwnd());
    }

    test::TurnedCell CellFor(int escapement, Alignment alignment) const
    {
        return {escapement, kTextAlign[alignment], static_cast<double>(font_.extent.cx),
                static_cast<double>(font_.metrics.tmAscent), static_cast<double>(font_.metrics.tmDescent)};
    }

    test::Dialog dialog_;
    const test::SceneText font_ = test::SceneFontMetrics();
};

// Reports the first pixels that break a rule, with their place, so a failure can be read.
class Mismatches {
public:
    void Check(bool ok, int x, int y, std::uint32_t pixel, const char *rule)
    {
        if (!ok && count_++ < 5) {
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

// ---- Upright text: every pixel of the frame ----

struct Upright {
    const char *name;
    Alignment alignment;
    bool advanced;
};

void PrintTo(const Upright &upright, std::ostream *out)
{
    *out << upright.name;
}

class UprightScene : public Scene, public ::testing::WithParamInterface<Upright> {};

TEST_P(UprightScene, CellSitsAtTheCrossAndEverythingElseIsBackgroundOrLine)
{
    const Frame frame = Draw(0, 0, GetParam().advanced, GetParam().alignment);
    const test::TurnedCell cell = CellFor(0, GetParam().alignment);
    ASSERT_GT(frame.width(), cell.originX + cell.length);

    Mismatches mismatches;
    int ink = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint32_t p = frame.At(x, y);
            if (cell.Outside(x + 0.5, y + 0.5) < 0) {
                mismatches.Check(test::IsCell(test::ColorOf(p)), x, y, p, "cell");
                ink += test::IsInk(test::ColorOf(p)) ? 1 : 0;
            } else if (x == kReferenceX || y == kReferenceY) {
                mismatches.Check(p == 0x000000u, x, y, p, "line");
            } else {
                mismatches.Check(p == 0xFFFFFFu, x, y, p, "background");
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

TEST_F(Scene, TextIsRedOnYellowCells)
{
    const Frame frame = Draw(0, 0);
    int yellow = 0;
    int red = 0;
    for (std::uint32_t p : frame.pixels()) {
        yellow += test::ColorOf(p) == test::kCellColor ? 1 : 0;
        red += test::ColorOf(p) == test::kTextColor ? 1 : 0;
    }
    EXPECT_GT(red, 300) << "the glyphs' solid strokes are red";
    EXPECT_GT(yellow, 2 * red) << "the cell around them is yellow";
}

// ---- Inputs the scene reads: settings that must draw the same frame, or must not ----

struct Setting {
    const char *escapement;
    const char *orientation;
    bool advanced;
    Alignment alignment;
};

struct SameOrNot {
    const char *name;
    Setting first;
    Setting second;
    bool same;
};

void PrintTo(const SameOrNot &pair, std::ostream *out)
{
    *out << pair.name;
}

class SceneSettings : public Scene, public ::testing::WithParamInterface<SameOrNot> {
protected:
    Frame Draw(const Setting &setting) const
    {
        dialog_.SetAnglesUncoupled(setting.escapement, setting.orientation);
        dialog_.SetCheckQuietly(chx1, setting.advanced);
        SendDlgItemMessageA(dialog_.hwnd(), cmb1, CB_SETCURSEL, static_cast<WPARAM>(setting.alignment), 0);
        return Frame(dialog_.hwnd());
    }
};

TEST_P(SceneSettings, DrawTheSameFrameOrNot)
{
    EXPECT_EQ(Draw(GetParam().first) == Draw(GetParam().second), GetParam().same);
}

// The font takes any angle and turns by it modulo a full turn; a field without a number reads 0.
INSTANTIATE_TEST_SUITE_P(
    Table, SceneSettings,
    ::testing::Values(
        SameOrNot{"EmptyFieldIsZero", {"", "", false, kBaseline}, {"0", "0", false, kBaseline}, true},
        SameOrNot{"LoneMinusIsZero", {"-", "-", false, kBaseline}, {"0", "0", false, kBaseline}, true},
        SameOrNot{"LettersAreZero", {"abc", "+", false, kBaseline}, {"0", "0", false, kBaseline}, true},
        SameOrNot{
            "BeyondOneTurn", {"5000", "5000", false, kBaseline}, {"1400", "1400", false, kBaseline}, true},
        SameOrNot{
            "NegativeTurn", {"-900", "-900", false, kBaseline}, {"2700", "2700", false, kBaseline}, true},
        SameOrNot{"MinusOneTurn", {"-3600", "-3600", false, kBaseline}, {"0", "0", false, kBaseline}, true},
        SameOrNot{"SignIsKept", {"-900", "-900", false, kBaseline}, {"900", "900", false, kBaseline}, false},
        SameOrNot{"NoSelectionIsTop", {"0", "0", false, kNoSelection}, {"0", "0", false, kTop}, true},
        SameOrNot{"CompatibleIgnoresOrientation",
                  {"0", "900", false, kBaseline},
                  {"0", "0", false, kBaseline},
                  true},
        SameOrNot{"CompatibleIgnoresTurnedOrientation",
                  {"450", "-1200", false, kBaseline},
                  {"450", "450", false, kBaseline},
                  true},
        SameOrNot{
            "AdvancedTurnsTheGlyphs", {"0", "900", true, kBaseline}, {"0", "0", true, kBaseline}, false},
        SameOrNot{"AdvancedDiffersFromCompatible",
                  {"0", "900", true, kBaseline},
                  {"0", "900", false, kBaseline},
                  false}),
    [](const ::testing::TestParamInfo<SameOrNot> &info) { return std::string(info.param.name); });

TEST_F(Scene, UncheckingAdvancedModeReturnsToCompatibleAtTheNextPaint)
{
    const Frame compatible = Draw(0, 900);
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
    const Frame frame = Draw(escapement, escapement);
    const test::TurnedCell cell = CellFor(escapement, kBaseline);

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
            if (!test::IsInk(test::ColorOf(p))) {
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
    EXPECT_GT(mx * cell.alongX + my * cell.alongY, 0.0) << "the text runs forwards from the origin";
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

void PrintTo(const RotatedCellCase &rotated, std::ostream *out)
{
    *out << rotated.name;
}

class RotatedCell : public Scene, public ::testing::WithParamInterface<RotatedCellCase> {};

TEST_P(RotatedCell, CellIsTheTurnedRectangle)
{
    const int escapement = GetParam().escapement;
    const Frame frame = Draw(escapement, escapement, false, GetParam().alignment);

    const test::TurnedCell cell = CellFor(escapement, GetParam().alignment);
    if (test::RunningUnderWine()) {
        // Wine fills an upright box from the baseline origin for turned text, and none from 90
        // to 270 degrees, instead of the turned cell.
        int yellow = 0;
        int left = frame.width();
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                if (test::ColorOf(frame.At(x, y)) == test::kCellColor) {
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
            EXPECT_EQ(left, static_cast<int>(std::lround(cell.originX)));
        }
        return;
    }

    Mismatches mismatches;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const std::uint32_t p = frame.At(x, y);
            const double outside = cell.Outside(x + 0.5, y + 0.5);
            if (outside < -1.0) {
                mismatches.Check(test::IsCell(test::ColorOf(p)), x, y, p, "inside the cell");
            } else if (outside > 1.0) {
                mismatches.Check(!test::IsCell(test::ColorOf(p)), x, y, p, "outside the cell");
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
