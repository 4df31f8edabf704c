// GDI objects: what SelectObject hands back, what DeleteObject accepts, what GetObject reports,
// and that a handle which is bad in any way is refused.
#include "pixels.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct MemoryDc {
    MemoryDc() : dc(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() { DeleteDC(dc); }
    MemoryDc(const MemoryDc &) = delete;
    MemoryDc &operator=(const MemoryDc &) = delete;
    HDC dc;
};

HBITMAP MakeDib(int width, int height, void **bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(Objects, TypesOfEveryKind)
{
    MemoryDc memory;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    LOGFONTW logical = {};
    logical.lfHeight = 20;
    HFONT font = CreateFontIndirectW(&logical);
    HBITMAP bitmap = CreateCompatibleBitmap(memory.dc, 4, 4);

    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(memory.dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT));

    for (HGDIOBJ object : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(font),
                           static_cast<HGDIOBJ>(bitmap)}) {
        EXPECT_TRUE(DeleteObject(object));
        EXPECT_EQ(GetObjectType(object), 0u) << "a deleted handle is no object";
        EXPECT_FALSE(DeleteObject(object)) << "and cannot be deleted twice";
    }
}

TEST(Objects, BadHandlesAreRefused)
{
    MemoryDc memory;
    HBRUSH gone = CreateSolidBrush(RGB(1, 2, 3));
    DeleteObject(gone);
    HDC goneDc = CreateCompatibleDC(nullptr);
    DeleteDC(goneDc);
    auto *const made = reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(0x00ABCDEF));

    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(GetObjectType(nullptr), 0u);
    EXPECT_EQ(GetObjectType(made), 0u);
    EXPECT_EQ(SelectObject(memory.dc, gone), nullptr);
    EXPECT_EQ(SelectObject(memory.dc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(goneDc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
    LOGBRUSH brush = {};
    EXPECT_EQ(GetObjectW(gone, sizeof(brush), &brush), 0);
    EXPECT_FALSE(DeleteDC(goneDc));
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_EQ(CreateCompatibleDC(goneDc), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(goneDc, 4, 4), nullptr);
    EXPECT_EQ(GetCurrentObject(goneDc, OBJ_PEN), nullptr);
    EXPECT_EQ(SetTextColor(goneDc, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(SetBkMode(goneDc, TRANSPARENT), 0);
    EXPECT_EQ(GetStockObject(-1), nullptr);
}

TEST(Objects, StockObjectsSurviveDeletion)
{
    for (int index :
         {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, BLACK_PEN, NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
        HGDIOBJ stock = GetStockObject(index);
        ASSERT_NE(stock, nullptr) << index;
        EXPECT_TRUE(DeleteObject(stock)) << index;
        EXPECT_NE(GetObjectType(stock), 0u) << index;
        EXPECT_EQ(GetStockObject(index), stock) << index;
    }
    LOGBRUSH gray = {};
    ASSERT_EQ(GetObjectW(GetStockObject(LTGRAY_BRUSH), sizeof(gray), &gray), static_cast<int>(sizeof(gray)));
    EXPECT_EQ(gray.lbColor, RGB(192, 192, 192));
    EXPECT_EQ(GetObjectW(GetStockObject(NULL_BRUSH), sizeof(gray), &gray), static_cast<int>(sizeof(gray)));
    EXPECT_EQ(gray.lbStyle, static_cast<UINT>(BS_NULL));
}

TEST(SelectObject, ReturnsWhatItDisplaced)
{
    MemoryDc memory;
    EXPECT_EQ(GetCurrentObject(memory.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(memory.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(memory.dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));

    HPEN first = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HPEN second = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
    EXPECT_EQ(SelectObject(memory.dc, first), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(memory.dc, second), first);
    EXPECT_EQ(GetCurrentObject(memory.dc, OBJ_PEN), second);
    EXPECT_EQ(SelectObject(memory.dc, GetStockObject(BLACK_PEN)), second);
    DeleteObject(first);
    DeleteObject(second);
}

TEST(SelectObject, DefaultBitmapIsOneMonochromePixel)
{
    MemoryDc memory;
    HGDIOBJ initial = GetCurrentObject(memory.dc, OBJ_BITMAP);
    BITMAP info = {};
    ASSERT_EQ(GetObjectW(initial, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);

    HBITMAP empty = CreateCompatibleBitmap(memory.dc, 0, 0);
    EXPECT_EQ(empty, initial) << "a bitmap of no size is the default one";
    HBITMAP monochrome = CreateCompatibleBitmap(memory.dc, 5, 3);
    ASSERT_EQ(GetObjectW(monochrome, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmBitsPixel, 1) << "compatible with the monochrome bitmap the DC holds";
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmWidthBytes, 2);
    DeleteObject(monochrome);

    MemoryDc other;
    EXPECT_EQ(GetCurrentObject(other.dc, OBJ_BITMAP), initial) << "every memory DC starts with it";
}

TEST(CreateBitmap, MonochromeBitsAreBlackAndWhite)
{
    // Rows of one bit a pixel, most significant first, padded to 16 bits.
    const BYTE bits[] = {0xA0, 0x00, 0x01, 0x00};
    HBITMAP bitmap = CreateBitmap(8, 2, 1, 1, bits);
    ASSERT_NE(bitmap, nullptr);
    MemoryDc memory;
    HGDIOBJ previous = SelectObject(memory.dc, bitmap);
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    EXPECT_EQ(GetPixel(memory.dc, 0, 0), white);
    EXPECT_EQ(GetPixel(memory.dc, 1, 0), black);
    EXPECT_EQ(GetPixel(memory.dc, 2, 0), white);
    EXPECT_EQ(GetPixel(memory.dc, 7, 0), black);
    EXPECT_EQ(GetPixel(memory.dc, 0, 1), black);
    EXPECT_EQ(GetPixel(memory.dc, 7, 1), white);
    EXPECT_EQ(GetPixel(memory.dc, 8, 1), CLR_INVALID);
    SelectObject(memory.dc, previous);
    DeleteObject(bitmap);

    HBITMAP mirrored = CreateBitmap(-4, 3, 1, 1, nullptr);
    BITMAP description = {};
    ASSERT_EQ(GetObjectW(mirrored, sizeof(description), &description), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(description.bmWidth, 4) << "a negative width counts as its size";
    EXPECT_EQ(description.bmHeight, 3);
    DeleteObject(mirrored);
}

TEST(SelectObject, BitmapGoesIntoOneDcAtATime)
{
    MemoryDc first;
    MemoryDc second;
    void *bits = nullptr;
    HBITMAP dib = MakeDib(4, 4, &bits);
    HGDIOBJ initial = SelectObject(first.dc, dib);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(SelectObject(second.dc, dib), nullptr);
    EXPECT_EQ(GetCurrentObject(second.dc, OBJ_BITMAP), initial);

    EXPECT_EQ(SelectObject(first.dc, initial), dib);
    EXPECT_EQ(SelectObject(second.dc, dib), initial) << "free again once put back";
    SelectObject(second.dc, initial);
    DeleteObject(dib);
}

TEST(SelectObject, DeletingTheDcReleasesItsBitmap)
{
    void *bits = nullptr;
    HBITMAP dib = MakeDib(2, 2, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, dib);
    EXPECT_TRUE(DeleteDC(dc));
    MemoryDc other;
    HGDIOBJ initial = SelectObject(other.dc, dib);
    EXPECT_NE(initial, nullptr);
    SelectObject(other.dc, initial);
    EXPECT_TRUE(DeleteObject(dib));
}

TEST(ObjectDescription, LogicalPenBrushAndFont)
{
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(10, 20, 30));
    LOGPEN logicalPen = {};
    EXPECT_EQ(GetObjectW(pen, 0, nullptr), static_cast<int>(sizeof(LOGPEN)));
    ASSERT_EQ(GetObjectW(pen, sizeof(logicalPen), &logicalPen), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(logicalPen.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(logicalPen.lopnWidth.x, 3);
    EXPECT_EQ(logicalPen.lopnColor, RGB(10, 20, 30));

    HBRUSH brush = CreateSolidBrush(RGB(40, 50, 60));
    LOGBRUSH logicalBrush = {};
    ASSERT_EQ(GetObjectW(brush, sizeof(logicalBrush), &logicalBrush), static_cast<int>(sizeof(LOGBRUSH)));
    EXPECT_EQ(logicalBrush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(logicalBrush.lbColor, RGB(40, 50, 60));

    LOGFONTW given = {};
    given.lfHeight = -11;
    given.lfEscapement = -900;
    given.lfOrientation = 4500;
    given.lfWeight = FW_BOLD;
    test::SetFaceName(given, L"MS Shell Dlg");
    HFONT font = CreateFontIndirectW(&given);
    LOGFONTW wide = {};
    EXPECT_EQ(GetObjectW(font, sizeof(wide), &wide), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(wide.lfEscapement, -900) << "the font keeps the angle it was given";
    EXPECT_EQ(wide.lfOrientation, 4500);
    EXPECT_EQ(wide.lfWeight, FW_BOLD);
    EXPECT_EQ(test::Narrow(wide.lfFaceName), "MS Shell Dlg");
    LOGFONTA narrow = {};
    EXPECT_EQ(GetObjectA(font, sizeof(narrow), &narrow), static_cast<int>(sizeof(LOGFONTA)));
    EXPECT_STREQ(narrow.lfFaceName, "MS Shell Dlg");
    EXPECT_EQ(narrow.lfHeight, -11);

    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
}

TEST(DibSection, BitsAndDescriptionTopDownAndBottomUp)
{
    for (int sign : {1, -1}) {
        void *bits = nullptr;
        HBITMAP dib = MakeDib(3, 2 * sign, &bits);
        ASSERT_NE(dib, nullptr);
        ASSERT_NE(bits, nullptr);
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectW(dib, sizeof(section), &section), static_cast<int>(sizeof(DIBSECTION)));
        EXPECT_EQ(section.dsBm.bmWidth, 3);
        EXPECT_EQ(section.dsBm.bmHeight, 2);
        EXPECT_EQ(section.dsBm.bmWidthBytes, 12);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
        EXPECT_EQ(section.dsBm.bmBits, bits);
        EXPECT_EQ(section.dsBmih.biWidth, 3);
        EXPECT_EQ(section.dsBmih.biBitCount, 32);
        BITMAP plain = {};
        EXPECT_EQ(GetObjectW(dib, sizeof(plain), &plain), static_cast<int>(sizeof(BITMAP)));

        // The top-left pixel is the first row in memory only when the rows run top-down.
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, dib);
        SetPixel(dc, 0, 0, RGB(0x11, 0x22, 0x33));
        GdiFlush();
        const auto *pixels = static_cast<const std::uint32_t *>(bits);
        const int firstRow = sign > 0 ? 3 : 0;
        EXPECT_EQ(pixels[firstRow] & 0xFFFFFFu, 0x112233u) << (sign > 0 ? "bottom-up" : "top-down");
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(dib);
    }
}

TEST(DibSection, RefusesWhatItCannotHold)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 0;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = &info;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(DeviceContext, FreshMemoryDcHasTheDefaults)
{
    {
        MemoryDc used;
        SetTextColor(used.dc, RGB(255, 0, 0));
        SetBkColor(used.dc, RGB(255, 255, 0));
        SetBkMode(used.dc, TRANSPARENT);
        SetTextAlign(used.dc, TA_BASELINE | TA_CENTER);
        SetGraphicsMode(used.dc, GM_ADVANCED);
        MoveToEx(used.dc, 5, 6, nullptr);
    }
    MemoryDc fresh;
    EXPECT_EQ(GetTextColor(fresh.dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(fresh.dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(fresh.dc), OPAQUE);
    EXPECT_EQ(GetTextAlign(fresh.dc), static_cast<UINT>(TA_TOP | TA_LEFT | TA_NOUPDATECP));
    EXPECT_EQ(GetGraphicsMode(fresh.dc), GM_COMPATIBLE);
    EXPECT_EQ(GetDeviceCaps(fresh.dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(fresh.dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(fresh.dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);
    EXPECT_EQ(GetDeviceCaps(fresh.dc, BITSPIXEL), 32);
    POINT position = {1, 1};
    GetCurrentPositionEx(fresh.dc, &position);
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);
}

TEST(DeviceContext, SettersReturnThePreviousValue)
{
    MemoryDc memory;
    EXPECT_EQ(SetTextColor(memory.dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(memory.dc, RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(SetBkMode(memory.dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(memory.dc, 7), 0) << "no such mode";
    EXPECT_EQ(GetBkMode(memory.dc), TRANSPARENT);
    EXPECT_EQ(SetGraphicsMode(memory.dc, GM_ADVANCED), GM_COMPATIBLE);
    EXPECT_EQ(SetGraphicsMode(memory.dc, 0), 0);
    EXPECT_EQ(SetTextAlign(memory.dc, TA_BOTTOM), static_cast<UINT>(TA_TOP));
    POINT previous = {};
    MoveToEx(memory.dc, 3, 4, nullptr);
    MoveToEx(memory.dc, 7, 8, &previous);
    EXPECT_EQ(previous.x, 3);
    EXPECT_EQ(previous.y, 4);
}

TEST(DeviceContext, SaveAndRestore)
{
    MemoryDc memory;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    SetTextColor(memory.dc, RGB(1, 1, 1));
    const int level = SaveDC(memory.dc);
    EXPECT_EQ(level, 1);
    SetTextColor(memory.dc, RGB(2, 2, 2));
    HGDIOBJ previous = SelectObject(memory.dc, pen);
    EXPECT_EQ(SaveDC(memory.dc), 2);
    EXPECT_TRUE(RestoreDC(memory.dc, -2));
    EXPECT_EQ(GetTextColor(memory.dc), RGB(1, 1, 1));
    EXPECT_EQ(GetCurrentObject(memory.dc, OBJ_PEN), previous);
    EXPECT_FALSE(RestoreDC(memory.dc, 1)) << "that state was used up";
    DeleteObject(pen);
}

} // namespace
