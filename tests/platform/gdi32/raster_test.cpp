// Raster primitives on tiny bitmaps, every pixel spelled out.
#include "pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <utility>

namespace {

using Picture = std::vector<std::string>;
using test::Canvas;
using test::kInk;
using test::kPaper;

constexpr COLORREF kFillColor = RGB(0, 160, 0);

// A picture written as one string, its rows split by spaces.
Picture Rows(const std::string &text)
{
    Picture rows;
    std::istringstream in(text);
    for (std::string row; in >> row;) {
        rows.push_back(row);
    }
    return rows;
}

// Selects a pen and a brush for one test; the previous ones go back and the new ones are deleted.
struct Tools {
    Tools(HDC dc, HGDIOBJ pen, HGDIOBJ brush)
        : dc(dc), pen(pen), brush(brush), oldPen(SelectObject(dc, pen)), oldBrush(SelectObject(dc, brush))
    {
    }
    ~Tools()
    {
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
    Tools(const Tools &) = delete;
    Tools &operator=(const Tools &) = delete;
    HDC dc;
    HGDIOBJ pen, brush, oldPen, oldBrush;
};

// A table row's name as its test's name.
template <typename Row> std::string Named(const ::testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

// LineTo leaves out the last point in every direction, follows the nearest pixels when steep, and
// with the null pen draws nothing but still moves.
TEST(LineTo, EveryDirectionAndTheNullPen)
{
    const struct {
        POINT from, to;
        UINT style;
        const char *picture; // rows, top first; its size is the canvas's
    } lines[] = {{{1, 1}, {5, 1}, PS_SOLID, "...... .####. ...... ...... ...... ......"},
                 {{5, 2}, {1, 2}, PS_SOLID, "...... ...... ..#### ...... ...... ......"},
                 {{2, 0}, {2, 4}, PS_SOLID, "..#... ..#... ..#... ..#... ...... ......"},
                 {{0, 0}, {4, 4}, PS_SOLID, "#..... .#.... ..#... ...#.. ...... ......"},
                 {{5, 4}, {1, 0}, PS_SOLID, "...... ..#... ...#.. ....#. .....# ......"},
                 {{1, 0}, {3, 7}, PS_SOLID, ".#... .#... ..#.. ..#.. ..#.. ..#.. ...#. ....."},
                 {{0, 1}, {7, 3}, PS_SOLID, "........ ##...... ..####.. ......#. ........"},
                 {{0, 0}, {3, 0}, PS_NULL, ".... ...."}};
    for (const auto &line : lines) {
        const Picture picture = Rows(line.picture);
        const Canvas canvas(static_cast<int>(picture[0].size()), static_cast<int>(picture.size()));
        const Tools tools(canvas.dc(), CreatePen(static_cast<int>(line.style), 1, kInk),
                          CreateSolidBrush(kInk));
        MoveToEx(canvas.dc(), line.from.x, line.from.y, nullptr);
        EXPECT_TRUE(LineTo(canvas.dc(), line.to.x, line.to.y));
        POINT position = {};
        GetCurrentPositionEx(canvas.dc(), &position);
        EXPECT_EQ(std::make_pair(position.x, position.y), std::make_pair(line.to.x, line.to.y));
        EXPECT_EQ(canvas.Picture(), picture) << line.from.x << "," << line.from.y << " to " << line.to.x;
    }
}

// One shape drawn with a pen and a brush on a canvas the picture's size, and every pixel it leaves.
enum Call { kFill, kFrame, kBox, kHollowBox }; // FillRect, FrameRect, Rectangle, and with the null brush
struct Shape {
    const char *name;
    Call call;
    RECT rect;
    UINT penStyle;
    const char *picture; // rows, top first
};

void PrintTo(const Shape &shape, std::ostream *out)
{
    *out << shape.name;
}

class Shapes : public ::testing::TestWithParam<Shape> {};

TEST_P(Shapes, CoverExactlyTheirPixels)
{
    const Shape &shape = GetParam();
    const Picture picture = Rows(shape.picture);
    const Canvas canvas(static_cast<int>(picture[0].size()), static_cast<int>(picture.size()));
    HBRUSH brush = CreateSolidBrush(kFillColor);
    const Tools tools(canvas.dc(), CreatePen(static_cast<int>(shape.penStyle), 1, kInk), brush);
    if (shape.call == kHollowBox) {
        SelectObject(canvas.dc(), GetStockObject(NULL_BRUSH));
    }
    const RECT &r = shape.rect;
    EXPECT_TRUE(shape.call == kFill    ? FillRect(canvas.dc(), &r, brush)
                : shape.call == kFrame ? FrameRect(canvas.dc(), &r, brush)
                                       : Rectangle(canvas.dc(), r.left, r.top, r.right, r.bottom));
    EXPECT_EQ(canvas.Picture(), picture);
    const std::string rows = shape.picture;
    EXPECT_EQ(canvas.Count(kFillColor), std::count(rows.begin(), rows.end(), '?'))
        << "'?' is the brush's colour";
}

// FillRect and FrameRect leave out the right and bottom edges; a rectangle without a pen fills one
// pixel less, and the null brush leaves its inside alone.
const Shape kShapes[] = {
    {"FillRect", kFill, {1, 1, 5, 4}, PS_SOLID, "...... .????. .????. .????. ......"},
    {"FillRectClipsAtEveryEdge", kFill, {-5, -5, 50, 50}, PS_SOLID, "???? ???? ????"},
    {"FrameRect", kFrame, {1, 1, 6, 5}, PS_SOLID, "....... .?????. .?...?. .?...?. .?????. ......."},
    {"Rectangle", kBox, {1, 1, 6, 5}, PS_SOLID, "........ .#####.. .#???#.. .#???#.. .#####.. ........"},
    {"RectangleWithoutAPen", kBox, {1, 1, 6, 5}, PS_NULL, "....... .????.. .????.. .????.. ......."},
    {"RectangleWithTheNullBrush", kHollowBox, {0, 0, 5, 4}, PS_SOLID, "##### #...# #...# #####"}};

INSTANTIATE_TEST_SUITE_P(Table, Shapes, ::testing::ValuesIn(kShapes), Named<Shape>);

TEST(FillRect, DeletedBrushOrNoDcPaintsNothing)
{
    const Canvas canvas(2, 2);
    const RECT rect = {0, 0, 2, 2};
    HBRUSH brush = CreateSolidBrush(kInk);
    DeleteObject(brush);
    FillRect(canvas.dc(), &rect, brush);
    FillRect(nullptr, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), (Picture{"..", ".."}));
}

// A 4x4 source whose every pixel is different.
COLORREF Source(int x, int y)
{
    return RGB(x * 16, y * 16, 200);
}

void FillSource(const Canvas &source)
{
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            source.Set(x, y, Source(x, y));
        }
    }
}

// Every pixel of the canvas against what `expected` says it should be.
template <typename Expected> void ExpectPixels(const Canvas &canvas, Expected expected)
{
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            EXPECT_EQ(canvas.At(x, y), expected(x, y)) << x << "," << y;
        }
    }
}

// A copy from the 4x4 source into an 8x6 canvas, and the pixels of the canvas it reaches.
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
    ExpectPixels(target, [&](int x, int y) {
        return PtInRect(&blit.copied, {x, y})
                   ? source.At(x - blit.x + blit.sourceX, y - blit.y + blit.sourceY)
                   : kPaper;
    });
}

INSTANTIATE_TEST_SUITE_P(Table, BitBltClipping,
                         ::testing::Values(Blit{"Inside", 2, 1, 4, 4, 0, 0, {2, 1, 6, 5}},
                                           Blit{"NegativeDestination", -2, -1, 4, 4, 0, 0, {0, 0, 2, 3}},
                                           Blit{"BeyondTheDestinationEdge", 6, 4, 4, 4, 0, 0, {6, 4, 8, 6}},
                                           Blit{"BeforeTheSource", 1, 1, 4, 4, -2, -1, {3, 2, 5, 5}},
                                           Blit{"BeyondTheSource", 5, 0, 3, 6, 2, 2, {5, 0, 7, 2}}),
                         Named<Blit>);

TEST(BitBlt, OverlappingCopyWithinOneBitmap)
{
    const Canvas canvas(4, 4);
    FillSource(canvas);
    BitBlt(canvas.dc(), 1, 1, 3, 3, canvas.dc(), 0, 0, SRCCOPY);
    ExpectPixels(canvas, [](int x, int y) { return x >= 1 && y >= 1 ? Source(x - 1, y - 1) : Source(x, y); });
}

TEST(PatBlt, OperationsOnTheBrushAndTheDestination)
{
    const Canvas canvas(4, 1, RGB(0x12, 0x34, 0x56));
    const Tools tools(canvas.dc(), GetStockObject(BLACK_PEN), CreateSolidBrush(kInk));
    const std::pair<DWORD, COLORREF> operations[] = {{PATCOPY, kInk},
                                                     {BLACKNESS, RGB(0, 0, 0)},
                                                     {WHITENESS, RGB(255, 255, 255)},
                                                     {DSTINVERT, RGB(0xED, 0xCB, 0xA9)}};
    for (int x = 0; x < 4; ++x) {
        EXPECT_TRUE(PatBlt(canvas.dc(), x, 0, 1, 1, operations[x].first));
    }
    ExpectPixels(canvas, [&](int x, int) { return operations[x].second; });
}

TEST(PatBlt, NegativeSizeRunsBackFromTheStartPixel)
{
    const Canvas canvas(5, 4);
    const Tools tools(canvas.dc(), GetStockObject(BLACK_PEN), GetStockObject(BLACK_BRUSH));
    PatBlt(canvas.dc(), 4, 3, -3, -2, PATCOPY);
    ExpectPixels(canvas, [](int x, int y) { return x >= 2 && y >= 2 ? RGB(0, 0, 0) : kPaper; });
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
    EXPECT_EQ(std::make_pair(box.left, box.right), std::make_pair(LONG{-1}, LONG{2}));
    DeleteObject(brush);
}

} // namespace
