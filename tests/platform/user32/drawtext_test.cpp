// DrawText's measuring: lines, word breaks and the '&' prefix. Public API only: the same
// expectations hold on the real platform.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

class TextLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc_, &metrics);
        lineHeight_ = metrics.tmHeight;
    }
    void TearDown() override
    {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }

    LONG Width(const char *text) const
    {
        SIZE size = {};
        GetTextExtentPoint32A(dc_, text, lstrlenA(text), &size);
        return size.cx;
    }

    // The rectangle DT_CALCRECT gives for `text` in a box `width` wide.
    RECT Measure(const char *text, UINT format, LONG width = 1000) const
    {
        RECT rect = {10, 20, 10 + width, 20};
        DrawTextA(dc_, text, -1, &rect, format | DT_CALCRECT);
        return rect;
    }

    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    LONG lineHeight_ = 0;
};

TEST_F(TextLayout, PrefixMarksTakeNoRoomUnlessTurnedOff)
{
    EXPECT_EQ(Measure("&File", DT_SINGLELINE).right - 10, Width("File"));
    EXPECT_EQ(Measure("&File", DT_SINGLELINE | DT_NOPREFIX).right - 10, Width("&File"));
    EXPECT_EQ(Measure("a&&b", DT_SINGLELINE).right - 10, Width("a&b")) << "a doubled mark shows one";
}

TEST_F(TextLayout, LinesBreakAtLineEndsAndAtWordsThatDoNotFit)
{
    EXPECT_EQ(Measure("one\ntwo\nthree", 0).bottom - 20, 3 * lineHeight_);
    const LONG narrow = Width("word word") - 1;
    const RECT broken = Measure("word word", DT_WORDBREAK, narrow);
    EXPECT_EQ(broken.bottom - 20, 2 * lineHeight_);
    EXPECT_EQ(broken.right - broken.left, Width("word ")) << "the space that breaks the line stays on it";
    EXPECT_EQ(Measure("word word", DT_SINGLELINE | DT_WORDBREAK, narrow).bottom - 20, lineHeight_)
        << "a single line never breaks";
}

TEST_F(TextLayout, ReturnsTheHeightItDrew)
{
    RECT rect = {0, 0, 200, 100};
    EXPECT_EQ(DrawTextA(dc_, "x", -1, &rect, DT_SINGLELINE), lineHeight_);
    EXPECT_EQ(DrawTextA(nullptr, "x", -1, &rect, DT_SINGLELINE), 0);
}

} // namespace
