// DCs over a surface of USER32's, and the count of live GDI objects.
#include "platform.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint32_t kBlank = 0x00FFFFFF;

class SurfaceDc : public ::testing::Test {
protected:
    SurfaceDc() : pixels_(size_t{kWidth} * kHeight, kBlank)
    {
        surface_ = {kWidth, kHeight, kWidth, pixels_.data()};
        dc_ = platform::CreateSurfaceDC(&surface_, {10, 5}, {8, 4, 20, 12});
    }
    ~SurfaceDc() override { DeleteDC(dc_); }

    static constexpr int kWidth = 32;
    static constexpr int kHeight = 16;
    std::vector<std::uint32_t> pixels_;
    platform::Surface surface_;
    HDC dc_;
};

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
