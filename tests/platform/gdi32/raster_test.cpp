// Raster primitives on tiny bitmaps, every pixel spelled out.
#include "pixels.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Picture = std::vector<std::string>;
using test::Canvas;
using test::kInk;
using test::kPaper;

constexpr COLORREF kFill = RGB(0, 160, 0);

// Selects a pen and a brush for one test and puts the previous ones back.
class Tools {
public:
    Tools(HDC dc, HPEN pen, HBRUSH brush) : dc_(dc), pen_(pen), brush_(brush)
    {
        previousPen_ = SelectObject(dc, pen);
        previousBrush_ = SelectObject(dc, brush);
    }
    ~Tools()
    {
        SelectObject(dc_, previousPen_);
        SelectObject(dc_, previousBrush_);
        DeleteObject(pen_);
        DeleteObject(brush_);
    }
    Tools(const Tools &) = delete;
    Tools &operator=(const Tools &) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ previousPen_;
    HGDIOBJ previousBrush_;
};

Picture Line(POINT from, POINT to, int width = 6, int height = 6)
{
    Canvas canvas(width, height);
    Tools tools(canvas.dc(), CreatePen(PS_SOLID, 1, kInk), CreateSolidBrush(kInk));
    MoveToEx(canvas.dc(), from.x, from.y, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc(), to.x, to.y));
    POINT position = {};
    GetCurrentPositionEx(canvas.dc(), &position);
    EXPECT_EQ(position.x, to.x);
    EXPECT_EQ(position.y, to.y);
    return canvas.Picture();
}

TEST(FillRect, DeletedBrushPaintsNothing)
{
    Canvas canvas(2, 2);
    const RECT rect = {0, 0, 2, 2};
    HBRUSH brush = CreateSolidBrush(kInk);
    DeleteObject(brush);
    FillRect(canvas.dc(), &rect, brush);
    FillRect(nullptr, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), (Picture{"..", ".."}));
}

TEST(LineTo, LeavesOutTheLastPointInEveryDirection)
{
    EXPECT_EQ(Line({1, 1}, {5, 1}), (Picture{"......", ".####.", "......", "......", "......", "......"}))
        << "horizontal";
    EXPECT_EQ(Line({5, 2}, {1, 2}), (Picture{"......", "......", "..####", "......", "......", "......"}))
        << "horizontal, leftwards";
    EXPECT_EQ(Line({2, 0}, {2, 4}), (Picture{"..#...", "..#...", "..#...", "..#...", "......", "......"}))
        << "vertical";
    EXPECT_EQ(Line({0, 0}, {4, 4}), (Picture{"#.....", ".#....", "..#...", "...#..", "......", "......"}))
        << "diagonal";
    EXPECT_EQ(Line({5, 4}, {1, 0}), (Picture{"......", "..#...", "...#..", "....#.", ".....#", "......"}))
        << "diagonal, up and left";
}

TEST(LineTo, SteepLineFollowsTheNearestPixels)
{
    EXPECT_EQ(Line({1, 0}, {3, 7}, 5, 8),
              (Picture{".#...", ".#...", "..#..", "..#..", "..#..", "..#..", "...#.", "....."}));
    EXPECT_EQ(Line({0, 1}, {7, 3}, 8, 5),
              (Picture{"........", "##......", "..####..", "......#.", "........"}));
}

TEST(LineTo, NullPenDrawsNothingButMoves)
{
    Canvas canvas(4, 2);
    HGDIOBJ previous = SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc(), 3, 0));
    POINT position = {};
    GetCurrentPositionEx(canvas.dc(), &position);
    EXPECT_EQ(position.x, 3);
    EXPECT_EQ(canvas.Picture(), (Picture{"....", "...."}));
    SelectObject(canvas.dc(), previous);
}

// One shape drawn with a pen and a brush on a small canvas, and every pixel it leaves.
struct Shape {
    const char *name;
    int width, height;
    UINT penStyle;
    bool (*draw)(HDC dc, HBRUSH brush);
    Picture picture;
};

void PrintTo(const Shape &shape, std::ostream *out)
{
    *out << shape.name;
}

class Shapes : public ::testing::TestWithParam<Shape> {};

TEST_P(Shapes, CoverExactlyTheirPixels)
{
    const Shape &shape = GetParam();
    Canvas canvas(shape.width, shape.height);
    HBRUSH brush = CreateSolidBrush(kFill);
    const Tools tools(canvas.dc(), CreatePen(static_cast<int>(shape.penStyle), 1, kInk), brush);
    EXPECT_TRUE(shape.draw(canvas.dc(), brush));
    EXPECT_EQ(canvas.Picture(), shape.picture);
    int filled = 0;
    for (const std::string &row : shape.picture) {
        filled += static_cast<int>(std::count(row.begin(), row.end(), '?'));
    }
    EXPECT_EQ(canvas.Count(kFill), filled) << "'?' is the brush's colour";
}

bool Fill(HDC dc, HBRUSH brush, RECT rect)
{
    return FillRect(dc, &rect, brush) != 0;
}

// FillRect and FrameRect leave out the right and bottom edges; a rectangle without a pen fills one
// pixel less, and the null brush leaves its inside alone.
INSTANTIATE_TEST_SUITE_P(
    Table, Shapes,
    ::testing::Values(Shape{"FillRect", 6, 5, PS_SOLID,
                            [](HDC dc, HBRUSH brush) {
                                return Fill(dc, brush, {1, 1, 5, 4});
                            },
                            Picture{"......", ".????.", ".????.", ".????.", "......"}},
                      Shape{"FillRectClipsAtEveryEdge", 4, 3, PS_SOLID,
                            [](HDC dc, HBRUSH brush) {
                                return Fill(dc, brush, {-5, -5, 50, 50});
                            },
                            Picture{"????", "????", "????"}},
                      Shape{"FrameRect", 7, 6, PS_SOLID,
                            [](HDC dc, HBRUSH brush) {
                                const RECT rect = {1, 1, 6, 5};
                                return FrameRect(dc, &rect, brush) != 0;
                            },
                            Picture{".......", ".?????.", ".?...?.", ".?...?.", ".?????.", "......."}},
                      Shape{"Rectangle", 8, 6, PS_SOLID,
                            [](HDC dc, HBRUSH) { return Rectangle(dc, 1, 1, 6, 5) != 0; },
                            Picture{"........", ".#####..", ".#???#..", ".#???#..", ".#####..", "........"}},
                      Shape{"RectangleWithoutAPen", 7, 5, PS_NULL,
                            [](HDC dc, HBRUSH) { return Rectangle(dc, 1, 1, 6, 5) != 0; },
                            Picture{".......", ".????..", ".????..", ".????..", "......."}},
                      Shape{"RectangleWithTheNullBrush", 5, 4, PS_SOLID,
                            [](HDC dc, HBRUSH) {
                                SelectObject(dc, GetStockObject(NULL_BRUSH));
                                return Rectangle(dc, 0, 0, 5, 4) != 0;
                            },
                            Picture{"#####", "#...#", "#...#", "#####"}}),
    [](const ::testing::TestParamInfo<Shape> &info) { return std::string(info.param.name); });

// A 4x4 source whose every pixel is different.
void FillSource(const Canvas &source)
{
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            source.Set(x, y, RGB(x * 16, y * 16, 200));
        }
    }
}

// A copy from the 4x4 source into an 8x6 canvas, and the part of the canvas it reaches.
struct Blit {
    const char *name;
    int x, y, width, height;
    int sourceX, sourceY;
    RECT copied;
};

void PrintTo(const Blit &blit, std::ostream *out)
{
    *out << blit.name;
}

class BitBltClipping : public ::testing::TestWithParam<Blit> {};

TEST_P(BitBltClipping, CopiesOnlyWhatLiesInsideBothBitmaps)
{
    const Blit &blit = GetParam();
    const Canvas source(4, 4);
    FillSource(source);
    const Canvas target(8, 6);
    EXPECT_TRUE(BitBlt(target.dc(), blit.x, blit.y, blit.width, blit.height, source.dc(), blit.sourceX,
                       blit.sourceY, SRCCOPY));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const POINT point = {x, y};
            const COLORREF expected = PtInRect(&blit.copied, point)
                                          ? source.At(x - blit.x + blit.sourceX, y - blit.y + blit.sourceY)
                                          : kPaper;
            EXPECT_EQ(target.At(x, y), expected) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BitBltClipping,
                         ::testing::Values(Blit{"Inside", 2, 1, 4, 4, 0, 0, {2, 1, 6, 5}},
                                           Blit{"NegativeDestination", -2, -1, 4, 4, 0, 0, {0, 0, 2, 3}},
                                           Blit{"BeyondTheDestinationEdge", 6, 4, 4, 4, 0, 0, {6, 4, 8, 6}},
                                           Blit{"BeforeTheSource", 1, 1, 4, 4, -2, -1, {3, 2, 5, 5}},
                                           Blit{"BeyondTheSource", 5, 0, 3, 6, 2, 2, {5, 0, 7, 2}}),
                         [](const ::testing::TestParamInfo<Blit> &info) {
                             return std::string(info.param.name);
                         });

TEST(BitBlt, OverlappingCopyWithinOneBitmap)
{
    const Canvas canvas(4, 4);
    FillSource(canvas);
    const Canvas reference(4, 4);
    FillSource(reference);
    BitBlt(canvas.dc(), 1, 1, 3, 3, canvas.dc(), 0, 0, SRCCOPY);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const COLORREF expected = x >= 1 && y >= 1 ? reference.At(x - 1, y - 1) : reference.At(x, y);
            EXPECT_EQ(canvas.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST(PatBlt, OperationsOnTheBrushAndTheDestination)
{
    Canvas canvas(4, 1, RGB(0x12, 0x34, 0x56));
    HBRUSH brush = CreateSolidBrush(kInk);
    HGDIOBJ previous = SelectObject(canvas.dc(), brush);
    EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 1, 1, PATCOPY));
    EXPECT_TRUE(PatBlt(canvas.dc(), 1, 0, 1, 1, BLACKNESS));
    EXPECT_TRUE(PatBlt(canvas.dc(), 2, 0, 1, 1, WHITENESS));
    EXPECT_TRUE(PatBlt(canvas.dc(), 3, 0, 1, 1, DSTINVERT));
    EXPECT_EQ(canvas.At(0, 0), kInk);
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(3, 0), RGB(0xED, 0xCB, 0xA9));
    SelectObject(canvas.dc(), previous);
    DeleteObject(brush);
}

TEST(PatBlt, NegativeSizeRunsBackFromTheStartPixel)
{
    Canvas canvas(5, 4);
    HGDIOBJ previous = SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    PatBlt(canvas.dc(), 4, 3, -3, -2, PATCOPY);
    SelectObject(canvas.dc(), previous);
    const COLORREF black = RGB(0, 0, 0);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(canvas.At(x, y), x >= 2 && x < 5 && y >= 2 && y < 4 ? black : kPaper) << x << "," << y;
        }
    }
}

TEST(Pixels, SetAndGetInsideOnly)
{
    Canvas canvas(3, 2);
    EXPECT_EQ(SetPixel(canvas.dc(), 2, 1, kInk), kInk);
    EXPECT_EQ(GetPixel(canvas.dc(), 2, 1), kInk);
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), kPaper);
    EXPECT_EQ(canvas.Picture(), (Picture{"...", "..#"}));
    EXPECT_EQ(GetPixel(canvas.dc(), 3, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.dc(), -1, 0), CLR_INVALID);
    // Outside the bitmap nothing is written, yet the colour comes back as if it had been.
    EXPECT_EQ(SetPixel(canvas.dc(), 0, 2, kInk), kInk);
    EXPECT_EQ(SetPixel(canvas.dc(), -1, 0, kInk), kInk);
    EXPECT_EQ(canvas.Picture(), (Picture{"...", "..#"})) << "outside, nothing changes";
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
}

TEST(Clipping, IntersectClipRectAndViewportOrigin)
{
    Canvas canvas(6, 4);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 1, 1, 4, 3), SIMPLEREGION);
    HBRUSH brush = CreateSolidBrush(kInk);
    const RECT everything = {0, 0, 6, 4};
    FillRect(canvas.dc(), &everything, brush);
    EXPECT_EQ(canvas.Picture(), (Picture{"......", ".###..", ".###..", "......"}));

    // The origin moves what is drawn, not the clip already set.
    SetViewportOrgEx(canvas.dc(), 2, 0, nullptr);
    POINT origin = {};
    GetViewportOrgEx(canvas.dc(), &origin);
    EXPECT_EQ(origin.x, 2);
    EXPECT_EQ(SetPixel(canvas.dc(), 0, 0, kInk), kInk); // (2,0): clipped, yet the colour comes back
    SetPixel(canvas.dc(), 0, 2, RGB(0, 0, 0));          // (2,2): drawn
    EXPECT_EQ(canvas.At(2, 0), kPaper);
    EXPECT_EQ(canvas.At(2, 2), RGB(0, 0, 0));
    RECT box = {};
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, -1);
    EXPECT_EQ(box.right, 2);
    DeleteObject(brush);
}

} // namespace
