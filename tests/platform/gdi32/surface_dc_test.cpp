// DCs over a surface of USER32's, and the count of live GDI objects.
#include "pixels.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint32_t kBlank = 0x00FFFFFF;
constexpr std::uint32_t kBlue = 0x000000FF; // RGB(0, 0, 255) as a surface pixel

class SurfaceDc : public ::testing::Test {
protected:
    SurfaceDc() : pixels_(size_t{kWidth} * kHeight, kBlank)
    {
        surface_ = {kWidth, kHeight, kWidth, pixels_.data()};
        dc_ = platform::CreateSurfaceDC(&surface_, {10, 5}, {8, 4, 20, 12});
    }
    ~SurfaceDc() override { DeleteDC(dc_); }

    std::uint32_t At(int x, int y) const
    {
        return pixels_[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)];
    }

    static constexpr int kWidth = 32;
    static constexpr int kHeight = 16;
    std::vector<std::uint32_t> pixels_;
    platform::Surface surface_;
    HDC dc_;
};

TEST_F(SurfaceDc, DrawsOffsetByTheOriginAndClipped)
{
    ASSERT_NE(dc_, nullptr);
    EXPECT_EQ(GetObjectType(dc_), static_cast<DWORD>(OBJ_DC));
    EXPECT_EQ(SetPixel(dc_, 0, 0, RGB(0, 0, 255)), RGB(0, 0, 255));
    EXPECT_EQ(At(10, 5), kBlue);

    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    const RECT everything = {-100, -100, 100, 100};
    FillRect(dc_, &everything, brush);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= 8 && x < 20 && y >= 4 && y < 12;
            EXPECT_EQ(At(x, y), inside ? kBlue : kBlank) << x << "," << y;
        }
    }
    RECT box = {};
    EXPECT_EQ(GetClipBox(dc_, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, -2);
    EXPECT_EQ(box.top, -1);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 7);
    DeleteObject(brush);
}

TEST_F(SurfaceDc, TakesNoBitmapAndMakesColourOnes)
{
    void *bits = nullptr;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_EQ(SelectObject(dc_, dib), nullptr) << "only a memory DC holds a bitmap";
    DeleteObject(dib);

    HBITMAP compatible = CreateCompatibleBitmap(dc_, 3, 3);
    BITMAP description = {};
    ASSERT_EQ(GetObjectW(compatible, sizeof(description), &description), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(description.bmBitsPixel, 32);
    DeleteObject(compatible);
    EXPECT_EQ(GetDeviceCaps(dc_, HORZRES), kWidth);
    EXPECT_EQ(GetDeviceCaps(dc_, VERTRES), kHeight);
}

TEST_F(SurfaceDc, BlitFromAMemoryBitmap)
{
    test::Canvas source(4, 4, RGB(0, 0, 255));
    EXPECT_TRUE(BitBlt(dc_, -4, -4, 8, 8, source.dc(), -4, -4, SRCCOPY));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= 10 && x < 14 && y >= 5 && y < 9;
            EXPECT_EQ(At(x, y), inside ? kBlue : kBlank) << x << "," << y;
        }
    }
}

TEST(GdiObjectCount, CountsLiveObjectsAndDcsButNoStockOnes)
{
    const DWORD before = platform::GdiObjectCount();
    GetStockObject(BLACK_BRUSH);
    EXPECT_EQ(platform::GdiObjectCount(), before);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(platform::GdiObjectCount(), before + 2);

    // A brush deleted while selected lives on until it is put back.
    SelectObject(dc, brush);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(platform::GdiObjectCount(), before + 2);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(platform::GdiObjectCount(), before + 1);
    EXPECT_EQ(GetObjectType(brush), 0u);
    DeleteDC(dc);
    EXPECT_EQ(platform::GdiObjectCount(), before);
}

} // namespace
