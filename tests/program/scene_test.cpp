// The scene as the program paints it: every pixel of a frame drawn into a 32-bit DIB section
// through the program's own paint path.
#include "pixels.h"
#include "recorded_dialog.h"
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

// A table row's name names its test.
template <class Row> std::string RowName(const ::testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

// Calls `check(x, y, pixel)` for every pixel of the frame.
template <class Check> void EveryPixel(const Frame &frame, Check check)
{
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            check(x, y, frame.At(x, y));
        }
    }
}

class Scene : public ::testing::Test {
protected:
    Frame Draw(int escapement, int orientation, bool advanced = false, Alignment alignment = kBaseline) const
    {
        dialog_.SetScene({escapement, orientation, advanced, alignment});
        return dialog_.Paint();
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

class UprightScene : public Scene, public ::testing::WithParamInterface<Upright> {};

TEST_P(UprightScene, CellSitsAtTheCrossAndEverythingElseIsBackgroundOrLine)
{
    const Frame frame = Draw(0, 0, GetParam().advanced, GetParam().alignment);
    const test::TurnedCell cell = CellFor(0, GetParam().alignment);
    ASSERT_GT(frame.width(), cell.originX + cell.length);

    Mismatches mismatches;
    int ink = 0;
    EveryPixel(frame, [&](int x, int y, std::uint32_t p) {
        if (cell.Outside(x + 0.5, y + 0.5) < 0) {
            mismatches.Check(test::IsCell(test::ColorOf(p)), x, y, p, "cell");
            ink += test::IsInk(test::ColorOf(p)) ? 1 : 0;
        } else if (x == kReferenceX || y == kReferenceY) {
            mismatches.Check(p == 0x000000u, x, y, p, "line");
        } else {
            mismatches.Check(p == 0xFFFFFFu, x, y, p, "background");
        }
    });
    EXPECT_EQ(mismatches.count(), 0) << mismatches.text();
    EXPECT_GT(ink, 1000) << "red ink on the cell";
}

const Upright kUpright[] = {{"Baseline", kBaseline, false},
                            {"Top", kTop, false},
                            {"Bottom", kBottom, false},
                            {"BaselineAdvanced", kBaseline, true},
                            {"TopAdvanced", kTop, true}};
INSTANTIATE_TEST_SUITE_P(EveryAlignment, UprightScene, ::testing::ValuesIn(kUpright), RowName<Upright>);

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
    bool advanced = false;
    Alignment alignment = kBaseline;
};

struct SameOrNot {
    const char *name;
    Setting first;
    Setting second;
    bool same;
};

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
const SameOrNot kSettingPairs[] = {
    {"EmptyFieldIsZero", {"", ""}, {"0", "0"}, true},
    {"LoneMinusIsZero", {"-", "-"}, {"0", "0"}, true},
    {"LettersAreZero", {"abc", "+"}, {"0", "0"}, true},
    {"BeyondOneTurn", {"5000", "5000"}, {"1400", "1400"}, true},
    {"NegativeTurn", {"-900", "-900"}, {"2700", "2700"}, true},
    {"MinusOneTurn", {"-3600", "-3600"}, {"0", "0"}, true},
    {"SignIsKept", {"-900", "-900"}, {"900", "900"}, false},
    {"NoSelectionIsTop", {"0", "0", false, kNoSelection}, {"0", "0", false, kTop}, true},
    {"CompatibleIgnoresOrientation", {"0", "900"}, {"0", "0"}, true},
    {"CompatibleIgnoresTurnedOrientation", {"450", "-1200"}, {"450", "450"}, true},
    {"AdvancedTurnsTheGlyphs", {"0", "900", true}, {"0", "0", true}, false},
    {"AdvancedDiffersFromCompatible", {"0", "900", true}, {"0", "900"}, false}};
INSTANTIATE_TEST_SUITE_P(Table, SceneSettings, ::testing::ValuesIn(kSettingPairs), RowName<SameOrNot>);

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
    struct {
        double n, sx, sy, sxx, syy, sxy;
    } sum = {};
    Mismatches outside;
    EveryPixel(frame, [&](int x, int y, std::uint32_t p) {
        if (test::IsInk(test::ColorOf(p))) {
            outside.Check(cell.Outside(x + 0.5, y + 0.5) <= 2.0, x, y, p, "ink outside the cell");
            const double dx = x + 0.5 - kReferenceX;
            const double dy = y + 0.5 - kReferenceY;
            sum = {sum.n + 1,         sum.sx + dx,       sum.sy + dy,
                   sum.sxx + dx * dx, sum.syy + dy * dy, sum.sxy + dx * dy};
        }
    });
    const double n = sum.n;
    EXPECT_EQ(outside.count(), 0) << outside.text();
    ASSERT_GT(n, 300) << "some ink is on screen";
    const double mx = sum.sx / n;
    const double my = sum.sy / n;
    const double cxx = sum.sxx / n - mx * mx;
    const double cyy = sum.syy / n - my * my;
    const double cxy = sum.sxy / n - mx * my;
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

// In the advanced mode with the angles apart, each glyph turns within its own frame and nothing
// cuts it at the line's cell: it keeps about as much ink as it has when the angles agree.
struct AnglesApart {
    const char *name;
    int escapement;
    int orientation;
};

class GlyphsApart : public Scene, public ::testing::WithParamInterface<AnglesApart> {
protected:
    static int Ink(const Frame &frame)
    {
        int ink = 0;
        EveryPixel(frame, [&](int, int, std::uint32_t p) { ink += test::IsInk(test::ColorOf(p)) ? 1 : 0; });
        return ink;
    }
};

TEST_P(GlyphsApart, StandWhole)
{
    const int together = Ink(Draw(GetParam().escapement, GetParam().escapement, true));
    const int apart = Ink(Draw(GetParam().escapement, GetParam().orientation, true));
    ASSERT_GT(together, 1000);
    // Smoothed edges over white paper count as ink more often than over the yellow cell.
    EXPECT_GT(apart, together * 8 / 10);
}

const AnglesApart kAnglesApart[] = {
    {"UpsideDown", 450, 2250}, {"QuarterTurn", 450, 900}, {"Half", 3150, 1800}, {"Back", 1350, 2700}};
INSTANTIATE_TEST_SUITE_P(Table, GlyphsApart, ::testing::ValuesIn(kAnglesApart), RowName<AnglesApart>);

} // namespace
