// Painting keeps no GDI object: the count after a thousand paints is the count after the first.
#include "SlantGlyphDemo.h"
#include "recorded_dialog.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Where the platform does not count them (Wine), the highest handle-table slot that a burst of
// new objects occupies stands in: freed slots are handed out again first, so it rises only
// while objects are kept.
DWORD HandleTableHighWater()
{
    std::vector<HBRUSH> probes(256);
    DWORD highest = 0;
    for (HBRUSH &probe : probes) {
        probe = CreateSolidBrush(RGB(1, 2, 3));
        highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<UINT_PTR>(probe)));
    }
    for (HBRUSH probe : probes) {
        DeleteObject(probe);
    }
    return highest;
}

DWORD GdiFootprint()
{
    const long count = driving::GdiObjects();
    return count >= 0 ? static_cast<DWORD>(count) : HandleTableHighWater();
}

void PaintNow(const test::Dialog &dialog)
{
    RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(GdiObjects, ThousandPaintsKeepNothing)
{
    test::Dialog dialog;
    dialog.ShowAndValidate();
    dialog.Click(chx1); // advanced mode, rotated text: the longest paint path
    dialog.SetAnglesUncoupled("450", "900");
    PaintNow(dialog);
    const DWORD afterFirst = GdiFootprint();

    for (int i = 0; i < 1000; ++i) {
        PaintNow(dialog);
    }
    EXPECT_EQ(GdiFootprint(), afterFirst);
}

TEST(GdiObjects, DrawingLeavesTheCallersFontSelected)
{
    test::Dialog dialog;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 400, 300);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);

    RECT rect = {0, 0, 400, 300};
    OnDrawBitmap(dialog.hwnd(), dc, rect);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);

    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace
