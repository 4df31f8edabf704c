// GDI objects: what SelectObject hands back, what DeleteObject accepts, what GetObject reports,
// and that a handle which is bad in any way is refused.
#include "pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

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
    const BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// GetObjectW fills all of `out` and says so.
template <typename T> bool Describe(HGDIOBJ object, T &out)
{
    return GetObjectW(object, sizeof(T), &out) == static_cast<int>(sizeof(T));
}

TEST(Objects, TypesOfEveryKind)
{
    MemoryDc memory;
    LOGFONTW logical = {};
    logical.lfHeight = 20;
    const std::pair<HGDIOBJ, int> made[] = {{CreatePen(PS_SOLID, 1, RGB(1, 2, 3)), OBJ_PEN},
                                            {CreateSolidBrush(RGB(1, 2, 3)), OBJ_BRUSH},
                                            {CreateFontIndirectW(&logical), OBJ_FONT},
                                            {CreateCompatibleBitmap(memory.dc, 4, 4), OBJ_BITMAP}};
    EXPECT_EQ(GetObjectType(memory.dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), static_cast<DWORD>(OBJ_FONT));
    for (const auto &[object, type] : made) {
        EXPECT_EQ(GetObjectType(object), static_cast<DWORD>(type));
    }
    for (const auto &[object, type] : made) {
        EXPECT_TRUE(DeleteObject(object)) << type;
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
    // Each call on a DC that is gone, or on none, says why it failed.
    const std::pair<const char *, std::function<bool()>> refusals[] = {
        {"SelectObject", [&] { return SelectObject(nullptr, GetStockObject(BLACK_PEN)) == nullptr; }},
        {"SetBkMode", [&] { return SetBkMode(goneDc, OPAQUE) == 0; }},
        {"GetDeviceCaps", [&] { return GetDeviceCaps(goneDc, TECHNOLOGY) == 0; }},
        {"SaveDC", [&] { return SaveDC(goneDc) == 0; }},
    };
    for (const auto &[name, refused] : refusals) {
        SetLastError(0);
        EXPECT_TRUE(refused()) << name;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << name;
    }
}

// The display as a DC of its own: a DC of the screen's kind that keeps attributes and saves them;
// printers and displays by device name are not offered.
TEST(Objects, DisplayDc)
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(GetObjectType(display), static_cast<DWORD>(OBJ_DC));
    EXPECT_EQ(GetDeviceCaps(display, TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_EQ(SaveDC(display), 1);
    SetBkColor(display, RGB(1, 2, 3));
    EXPECT_TRUE(RestoreDC(display, -1));
    EXPECT_EQ(GetBkColor(display), RGB(255, 255, 255));
    EXPECT_TRUE(DeleteDC(display));
    HDC narrow = CreateDCA("display", nullptr, nullptr, nullptr);
    EXPECT_EQ(GetObjectType(narrow), static_cast<DWORD>(OBJ_DC)) << "the driver's name in any case";
    DeleteDC(narrow);
    EXPECT_EQ(CreateDCW(L"NO SUCH DRIVER", nullptr, nullptr, nullptr), nullptr);
}

TEST(Objects, StockObjectsSurviveDeletion)
{
    for (int index : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, BLACK_PEN, NULL_PEN, SYSTEM_FONT,
                      DEFAULT_GUI_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, DEVICE_DEFAULT_FONT}) {
        HGDIOBJ stock = GetStockObject(index);
        ASSERT_NE(stock, nullptr) << index;
        EXPECT_TRUE(DeleteObject(stock)) << index;
        EXPECT_NE(GetObjectType(stock), 0u) << index;
        EXPECT_EQ(GetStockObject(index), stock) << index;
    }
    LOGBRUSH gray = {};
    ASSERT_TRUE(Describe(GetStockObject(LTGRAY_BRUSH), gray));
    EXPECT_EQ(gray.lbColor, RGB(192, 192, 192));
    EXPECT_TRUE(Describe(GetStockObject(NULL_BRUSH), gray));
    EXPECT_EQ(gray.lbStyle, static_cast<UINT>(BS_NULL));
}

TEST(SelectObject, ReturnsWhatItDisplacedFromTheDefaults)
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

    // The bitmap it starts with is one monochrome pixel.
    HGDIOBJ initial = GetCurrentObject(memory.dc, OBJ_BITMAP);
    BITMAP info = {};
    ASSERT_TRUE(Describe(initial, info));
    EXPECT_EQ(std::make_tuple(info.bmWidth, info.bmHeight, info.bmBitsPixel),
              std::make_tuple(LONG{1}, LONG{1}, WORD{1}));

    EXPECT_EQ(CreateCompatibleBitmap(memory.dc, 0, 0), initial) << "a bitmap of no size is the default one";
    HBITMAP monochrome = CreateCompatibleBitmap(memory.dc, 5, 3);
    ASSERT_TRUE(Describe(monochrome, info));
    EXPECT_EQ(std::make_tuple(info.bmBitsPixel, info.bmWidth, info.bmWidthBytes),
              std::make_tuple(WORD{1}, LONG{5}, LONG{2}))
        << "compatible with the monochrome bitmap the DC holds";
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
    const std::tuple<int, int, COLORREF> pixels[] = {{0, 0, white},      {1, 0, black}, {2, 0, white},
                                                     {7, 0, black},      {0, 1, black}, {7, 1, white},
                                                     {8, 1, CLR_INVALID}};
    for (const auto &[x, y, color] : pixels) {
        EXPECT_EQ(GetPixel(memory.dc, x, y), color) << x << "," << y;
    }
    SelectObject(memory.dc, previous);
    DeleteObject(bitmap);

    HBITMAP mirrored = CreateBitmap(-4, 3, 1, 1, nullptr);
    BITMAP description = {};
    ASSERT_TRUE(Describe(mirrored, description));
    EXPECT_EQ(std::make_pair(description.bmWidth, description.bmHeight), std::make_pair(LONG{4}, LONG{3}))
        << "a negative width counts as its size";
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
    EXPECT_EQ(SelectObject(second.dc, initial), dib);

    // Deleting the DC that holds it frees it too.
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, dib);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(SelectObject(first.dc, dib), initial);
    SelectObject(first.dc, initial);
    EXPECT_TRUE(DeleteObject(dib));
}

TEST(ObjectDescription, LogicalPenBrushAndFont)
{
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(10, 20, 30));
    LOGPEN logicalPen = {};
    EXPECT_EQ(GetObjectW(pen, 0, nullptr), static_cast<int>(sizeof(LOGPEN)));
    ASSERT_TRUE(Describe(pen, logicalPen));
    EXPECT_EQ(std::make_tuple(logicalPen.lopnStyle, logicalPen.lopnWidth.x, logicalPen.lopnColor),
              std::make_tuple(UINT{PS_SOLID}, LONG{3}, RGB(10, 20, 30)));

    HBRUSH brush = CreateSolidBrush(RGB(40, 50, 60));
    LOGBRUSH logicalBrush = {};
    ASSERT_TRUE(Describe(brush, logicalBrush));
    EXPECT_EQ(std::make_pair(logicalBrush.lbStyle, logicalBrush.lbColor),
              std::make_pair(UINT{BS_SOLID}, RGB(40, 50, 60)));

    LOGFONTW given = {};
    given.lfHeight = -11;
    given.lfEscapement = -900;
    given.lfOrientation = 4500;
    given.lfWeight = FW_BOLD;
    test::SetFaceName(given, L"MS Shell Dlg");
    HFONT font = CreateFontIndirectW(&given);
    LOGFONTW wide = {};
    EXPECT_TRUE(Describe(font, wide));
    EXPECT_EQ(
        std::make_tuple(wide.lfEscapement, wide.lfOrientation, wide.lfWeight, test::Narrow(wide.lfFaceName)),
        std::make_tuple(LONG{-900}, LONG{4500}, LONG{FW_BOLD}, std::string("MS Shell Dlg")))
        << "the font keeps the angle it was given";
    LOGFONTA narrow = {};
    EXPECT_EQ(GetObjectA(font, sizeof(narrow), &narrow), static_cast<int>(sizeof(LOGFONTA)));
    EXPECT_EQ(std::make_pair(std::string(narrow.lfFaceName), narrow.lfHeight),
              std::make_pair(std::string("MS Shell Dlg"), LONG{-11}));

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
        ASSERT_TRUE(Describe(dib, section));
        const BITMAP &bm = section.dsBm;
        EXPECT_EQ(std::make_tuple(bm.bmWidth, bm.bmHeight, bm.bmWidthBytes, bm.bmBitsPixel, bm.bmBits),
                  std::make_tuple(LONG{3}, LONG{2}, LONG{12}, WORD{32}, bits));
        EXPECT_EQ(std::make_pair(section.dsBmih.biWidth, section.dsBmih.biBitCount),
                  std::make_pair(LONG{3}, WORD{32}));
        BITMAP plain = {};
        EXPECT_TRUE(Describe(dib, plain));

        // The top-left pixel is the first row in memory only when the rows run top-down.
        const MemoryDc memory;
        HGDIOBJ previous = SelectObject(memory.dc, dib);
        SetPixel(memory.dc, 0, 0, RGB(0x11, 0x22, 0x33));
        GdiFlush();
        const auto *pixels = static_cast<const std::uint32_t *>(bits);
        EXPECT_EQ(pixels[sign > 0 ? 3 : 0] & 0xFFFFFFu, 0x112233u) << (sign > 0 ? "bottom-up" : "top-down");
        SelectObject(memory.dc, previous);
        DeleteObject(dib);
    }
}

TEST(DibSection, RefusesWhatItCannotHold)
{
    void *bits = &bits;
    EXPECT_EQ(MakeDib(0, 4, &bits), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

// Every setter hands back the value it replaced, and the next DC starts afresh regardless.
TEST(DeviceContext, SettersReturnThePreviousValueAndFreshDcsHaveTheDefaults)
{
    {
        MemoryDc used;
        EXPECT_EQ(SetTextColor(used.dc, RGB(1, 2, 3)), RGB(0, 0, 0));
        EXPECT_EQ(SetTextColor(used.dc, RGB(4, 5, 6)), RGB(1, 2, 3));
        EXPECT_EQ(SetBkColor(used.dc, RGB(255, 255, 0)), RGB(255, 255, 255));
        EXPECT_EQ(SetBkMode(used.dc, TRANSPARENT), OPAQUE);
        EXPECT_EQ(SetBkMode(used.dc, 7), 0) << "no such mode";
        EXPECT_EQ(GetBkMode(used.dc), TRANSPARENT);
        EXPECT_EQ(SetGraphicsMode(used.dc, GM_ADVANCED), GM_COMPATIBLE);
        EXPECT_EQ(SetGraphicsMode(used.dc, 0), 0);
        EXPECT_EQ(SetTextAlign(used.dc, TA_BASELINE | TA_CENTER), static_cast<UINT>(TA_TOP));
        POINT previous = {};
        MoveToEx(used.dc, 3, 4, nullptr);
        MoveToEx(used.dc, 7, 8, &previous);
        EXPECT_EQ(std::make_pair(previous.x, previous.y), std::make_pair(LONG{3}, LONG{4}));
    }
    MemoryDc fresh;
    EXPECT_EQ(std::make_tuple(GetTextColor(fresh.dc), GetBkColor(fresh.dc), GetBkMode(fresh.dc),
                              GetTextAlign(fresh.dc), GetGraphicsMode(fresh.dc)),
              std::make_tuple(RGB(0, 0, 0), RGB(255, 255, 255), OPAQUE,
                              UINT{TA_TOP | TA_LEFT | TA_NOUPDATECP}, GM_COMPATIBLE));
    const std::pair<int, int> caps[] = {{LOGPIXELSX, 96}, {LOGPIXELSY, 96}, {PLANES, 1}, {BITSPIXEL, 32}};
    for (const auto &[index, value] : caps) {
        EXPECT_EQ(GetDeviceCaps(fresh.dc, index), value) << index;
    }
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);
    POINT position = {1, 1};
    GetCurrentPositionEx(fresh.dc, &position);
    EXPECT_EQ(std::make_pair(position.x, position.y), std::make_pair(LONG{0}, LONG{0}));
}

TEST(DeviceContext, SaveAndRestore)
{
    MemoryDc memory;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    SetTextColor(memory.dc, RGB(1, 1, 1));
    EXPECT_EQ(SaveDC(memory.dc), 1);
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
