// Drawing text upright: background modes, ExtTextOut's rectangle and the current position.
#include "SlantGlyphDemo.h"
#include "pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 260;

TEST(PlainText, TransparentModeLeavesTheCellUnpainted)
{
    test::Canvas canvas(kWidth, kHeight);
    test::DrawSceneText(canvas, 0, 0, GM_COMPATIBLE, TA_BASELINE, TRANSPARENT);
    EXPECT_EQ(canvas.Count(test::kCellColor), 0);
    EXPECT_GT(canvas.Count(test::kTextColor), 500);
}

TEST(PlainText, ClippedRectangleStopsTheInk)
{
    test::Canvas canvas(kWidth, kHeight);
    const RECT clip = {150, 100, 200, 180};
    SetBkColor(canvas.dc(), test::kCellColor);
    HFONT font = CreateFontW(50, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS UI Gothic");
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    SetTextAlign(canvas.dc(), TA_BASELINE);
    EXPECT_TRUE(ExtTextOutW(canvas.dc(), scene::kReferenceX, scene::kReferenceY, ETO_CLIPPED | ETO_OPAQUE,
                            &clip, L"Slant", 5, nullptr));
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            wrong += (canvas.At(x, y) != test::kPaper) != inside ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
}

TEST(PlainText, UpdatingTheCurrentPositionChainsStrings)
{
    test::Canvas canvas(kWidth, kHeight);
    HFONT font = CreateFontW(50, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS UI Gothic");
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    SIZE first = {};
    GetTextExtentPoint32W(canvas.dc(), L"Slant", 5, &first);
    SIZE second = {};
    GetTextExtentPoint32W(canvas.dc(), L"Glyph", 5, &second);

    SetTextAlign(canvas.dc(), TA_UPDATECP | TA_BASELINE);
    MoveToEx(canvas.dc(), 20, 100, nullptr);
    EXPECT_TRUE(TextOutW(canvas.dc(), 400, 400, L"Slant", 5)) << "the given point is not used";
    EXPECT_TRUE(TextOutW(canvas.dc(), 400, 400, L"Glyph", 5));
    POINT position = {};
    GetCurrentPositionEx(canvas.dc(), &position);
    EXPECT_EQ(position.x, 20 + first.cx + second.cx);
    EXPECT_EQ(position.y, 100);
    int secondInk = 0;
    for (int y = 50; y < 110; ++y) {
        for (int x = 20 + first.cx + 2; x < 20 + first.cx + second.cx; ++x) {
            secondInk += canvas.At(x, y) == RGB(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(secondInk, 50) << "the second string follows the first";

    SetTextAlign(canvas.dc(), TA_UPDATECP | TA_RIGHT | TA_BASELINE);
    TextOutW(canvas.dc(), 0, 0, L"Glyph", 5);
    GetCurrentPositionEx(canvas.dc(), &position);
    EXPECT_EQ(position.x, 20 + first.cx) << "right-aligned text moves the position back";
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
}

TEST(PlainText, BadCallsAreRefused)
{
    test::Canvas canvas(8, 8);
    EXPECT_FALSE(TextOutW(nullptr, 0, 0, L"x", 1));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "x", 1));
    EXPECT_FALSE(ExtTextOutW(nullptr, 0, 0, 0, nullptr, L"x", 1, nullptr));
    TEXTMETRICW metrics = {};
    EXPECT_FALSE(GetTextMetricsW(nullptr, &metrics));
}

} // namespace
