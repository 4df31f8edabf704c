// The text cell's row runs: worked out along each row, they must hold exactly the pixels whose
// centres the cell contains, for cells at every angle, whole or fractional, clipped or not.
#include "textcell.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kRows = 480;
constexpr int kColumns = 480;

gdi::Cell Turned(gdi::Vector origin, double radians, double length, double ascent, double descent)
{
    return {origin,
            {std::cos(radians), -std::sin(radians)},
            {-std::sin(radians), -std::cos(radians)},
            length,
            ascent,
            descent};
}

// Every row of `cell` within [firstX, lastX): the run RowSpan gives against a pixel-by-pixel scan.
void ExpectRunsMatchScan(const gdi::Cell &cell, int firstX, int lastX)
{
    for (int y = -2; y < kRows; ++y) {
        bool scanned = false;
        int scannedStart = 0;
        int scannedEnd = 0;
        for (int x = firstX; x < lastX; ++x) {
            if (cell.Contains(x + 0.5, y + 0.5)) {
                scannedStart = scanned ? scannedStart : x;
                scannedEnd = x + 1;
                scanned = true;
            }
        }
        int start = 0;
        int end = 0;
        const bool found = cell.RowSpan(y, firstX, lastX, start, end);
        ASSERT_EQ(found, scanned) << "row " << y;
        if (found) {
            ASSERT_EQ(start, scannedStart) << "row " << y;
            ASSERT_EQ(end, scannedEnd) << "row " << y;
        }
    }
}

TEST(TextCell, RunsOfTheSceneCellAtEveryTenthOfATurn)
{
    // The scene's text: 346 pixels long, 43 up and 7 down from (150, 170), whole-pixel edges, so
    // that pixel centres fall exactly on the cell's edges at the right angles.
    for (int step = 0; step < 40; ++step) {
        SCOPED_TRACE(step);
        const double radians = step * 3.14159265358979323846 / 20;
        ExpectRunsMatchScan(Turned({150, 170}, radians, 346, 43, 7), 0, kColumns);
    }
}

TEST(TextCell, RunsOfRandomCellsClippedAnywhere)
{
    std::mt19937 random(20261206);
    std::uniform_real_distribution<double> angle(0, 2 * 3.14159265358979323846);
    std::uniform_real_distribution<double> place(-50, 450);
    std::uniform_real_distribution<double> size(0, 300);
    std::uniform_int_distribution<int> clip(-20, kColumns + 20);
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        const gdi::Cell cell = Turned({place(random), place(random)}, angle(random), size(random),
                                      size(random) / 4, size(random) / 8);
        const int a = clip(random);
        const int b = clip(random);
        ExpectRunsMatchScan(cell, std::min(a, b), std::max(a, b));
    }
}

TEST(TextCell, EmptyCellHasNoRuns)
{
    ExpectRunsMatchScan(Turned({100, 100}, 0.3, 0, 20, 5), 0, kColumns);
    ExpectRunsMatchScan(Turned({100, 100}, 1.2, 200, 0, 0), 0, kColumns);
}

} // namespace
