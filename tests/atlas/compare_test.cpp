// The comparison's verdicts on scenes whose differences are known: a scene drawn by the dialog's
// paint held against copies of it changed in the ways Wine's faults change it, and in other ways.
#include "atlas_support.h"
#include "compare.h"
#include "layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using atlas::Alignment;
using atlas::Mode;
using atlas::Setting;
using atlas::Verdict;

constexpr std::uint32_t kWhite = 0xFFFFFFu;
constexpr std::uint32_t kRed = 0xFF0000u;

bool IsCellBackground(std::uint32_t p)
{
    return (p >> 16 & 0xFFu) >= 0xC0 && (p >> 8 & 0xFFu) >= 0xC0 && (p & 0xFFu) <= 0x40;
}

scene::Frame Changed(const scene::Frame &frame, const std::function<std::uint32_t(int, int)> &pixel)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            pixels.push_back(pixel(x, y));
        }
    }
    return {frame.width(), frame.height(), std::move(pixels)};
}

// What Wine's faults do to a scene, and what no known fault does.
enum class Change { kNone, kNoBackground, kShiftedRight, kInkOutsideCell, kInkInsideCell };

struct Case {
    const char *name = nullptr;
    Setting setting;
    Change change = Change::kNone;
    bool faultsListed = true;
    Verdict verdict = Verdict::kAgree;
    const char *fault = nullptr; // expected among the faults, or null
};

const Setting kTurned{450, 450, Mode::kCompatible, Alignment::kBaseline};
const Setting kLevel{0, 0, Mode::kCompatible, Alignment::kBaseline};
const Setting kTurnedTop{3150, 3150, Mode::kCompatible, Alignment::kTop};
const Setting kGlyphsApart{450, 900, Mode::kAdvanced, Alignment::kBaseline};

const Case kCases[] = {
    {"the same scene", kTurned, Change::kNone, true, Verdict::kAgree, nullptr},
    {"turned cell left unfilled", kTurned, Change::kNoBackground, true, Verdict::kKnownFault,
     atlas::kUprightBackground},
    {"level cell left unfilled", kLevel, Change::kNoBackground, true, Verdict::kUnexplained, nullptr},
    {"unfilled, faults not listed", kTurned, Change::kNoBackground, false, Verdict::kUnexplained, nullptr},
    {"text moved by four pixels", kTurnedTop, Change::kShiftedRight, true, Verdict::kUnexplained, nullptr},
    {"ink beyond the cell", kGlyphsApart, Change::kInkOutsideCell, true, Verdict::kUnexplained, nullptr},
    {"ink inside the cell", kGlyphsApart, Change::kInkInsideCell, true, Verdict::kUnexplained, nullptr},
};

TEST(AtlasCompare, VerdictsOnKnownChanges)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        const scene::Frame native = atlas_test::DialogPaint(c.setting);
        const atlas::TextLayout layout = atlas::LayOut(c.setting);
        // A 20-pixel square of red ink, about a glyph's worth, centred this far along the baseline
        // and this far towards the line's ascenders.
        const atlas::Point lineUp{layout.baseline.y, -layout.baseline.x};
        const auto inBlock = [&](int x, int y, double along, double across) {
            const double cx = layout.origin.x + layout.baseline.x * along + lineUp.x * across;
            const double cy = layout.origin.y + layout.baseline.y * along + lineUp.y * across;
            return std::abs(x - cx) < 10 && std::abs(y - cy) < 10;
        };
        const scene::Frame wine = Changed(native, [&](int x, int y) {
            const std::uint32_t p = native.At(x, y);
            switch (c.change) {
            case Change::kNoBackground: return IsCellBackground(p) ? kWhite : p;
            case Change::kShiftedRight: return x >= 4 ? native.At(x - 4, y) : kWhite;
            case Change::kInkOutsideCell:
                // Above the line, clear of the cell.
                return inBlock(x, y, 100, layout.ascent + 30) ? kRed : p;
            case Change::kInkInsideCell: return inBlock(x, y, 100, 20) ? kRed : p;
            case Change::kNone: break;
            }
            return p;
        });
        std::map<std::string, std::string> faults;
        if (c.faultsListed) {
            faults = atlas::ReadKnownFaults(ATLAS_CONFORMANCE_FILE);
        }
        scene::Frame difference(0, 0, {});
        const atlas::SceneComparison result = atlas::Compare(c.setting, native, wine, faults, &difference);
        EXPECT_EQ(static_cast<int>(result.verdict), static_cast<int>(c.verdict))
            << result.differingShare << " differ, " << result.unexplainedShare << " unexplained";
        if (c.fault != nullptr) {
            EXPECT_NE(std::find(result.faults.begin(), result.faults.end(), c.fault), result.faults.end());
        }
        EXPECT_EQ(difference.width(), native.width());
        EXPECT_EQ(result.differingShare == 0.0, c.change == Change::kNone);
    }
}

TEST(AtlasCompare, ReadsEveryFaultOfTheConformanceTable)
{
    const std::map<std::string, std::string> faults = atlas::ReadKnownFaults(ATLAS_CONFORMANCE_FILE);
    for (const char *key : {atlas::kUprightBackground, atlas::kLineAlongOrientation}) {
        ASSERT_EQ(faults.count(key), 1u) << key;
        EXPECT_GT(faults.at(key).size(), 40u) << key << " has no description";
    }
    EXPECT_EQ(faults.size(), 2u);
}

} // namespace
