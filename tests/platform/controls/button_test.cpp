// Check boxes: the states, the click from every source, and what the parent hears.
#include "parent_window.h"
#include "pixels.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using test::ParentWindow;

constexpr int kBoxId = 101;
constexpr RECT kBoxRect = {10, 10, 110, 30};

class CheckBox : public ::testing::Test {
protected:
    HWND Add(DWORD style) { return parent.Add(L"Button", style, kBoxId, kBoxRect, L"Box"); }
    static LRESULT Check(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0); }

    ParentWindow parent;
};

TEST_F(CheckBox, PlainCheckBoxOnlyTellsTheParent)
{
    HWND box = Add(BS_CHECKBOX);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(box), BST_UNCHECKED) << "the parent decides";
    EXPECT_EQ(parent.Codes(kBoxId), (std::vector<int>{BN_CLICKED}));
}

TEST_F(CheckBox, DisabledBoxStillObeysTheProgram)
{
    // The user's clicks never reach a disabled window; the program's messages do.
    HWND box = Add(BS_AUTOCHECKBOX | WS_DISABLED);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(Check(box), BST_CHECKED);
    EXPECT_EQ(parent.Codes(kBoxId), (std::vector<int>{BN_CLICKED}));
    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(Check(box), BST_UNCHECKED);
}

TEST_F(CheckBox, KeepsItsTextAndFont)
{
    HWND box = Add(BS_AUTOCHECKBOX);
    EXPECT_EQ(test::Text(box), "Box");
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), font);
}

// Dark pixels in the square at the left, vertically centred, where a check box draws its box.
int DarkPixelsInBox(HWND box)
{
    constexpr int kBoxSize = 13;
    RECT client;
    GetClientRect(box, &client);
    const std::vector<COLORREF> pixels = test::Print(box);
    const int top = (client.bottom - kBoxSize) / 2;
    int dark = 0;
    for (int y = top + 2; y < top + kBoxSize - 2; ++y) {
        for (int x = 2; x < kBoxSize - 2; ++x) {
            const COLORREF pixel = pixels[test::PixelIndex(x, y, client.right)];
            dark += GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 200 ? 1 : 0;
        }
    }
    return dark;
}

TEST_F(CheckBox, CheckMarkIsDrawnOnlyWhenCheckedAndGreyedWhenDisabled)
{
    HWND box = Add(BS_AUTOCHECKBOX);
    EXPECT_EQ(DarkPixelsInBox(box), 0);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_GE(DarkPixelsInBox(box), 10) << "a mark of a few strokes";
    EnableWindow(box, FALSE);
    EXPECT_EQ(DarkPixelsInBox(box), 0) << "grey, not black";
}

// BM_SETSTYLE makes a default push button, which draws a dark frame.
TEST(PushButton, SetStyleMakesTheDefaultFrame)
{
    ParentWindow parent;
    HWND button = parent.Add(L"Button", BS_PUSHBUTTON | BS_CENTER, kBoxId, kBoxRect, L"Push");
    const auto corner = [button] { return test::Print(button).front(); };
    const COLORREF plain = corner();
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(corner(), GetSysColor(COLOR_WINDOWFRAME)) << "the default frame";
    SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(corner(), plain);
}

// BM_SETIMAGE: the bitmap shows, alone, with BS_BITMAP.
TEST(PushButton, ShowsTheBitmapSetIntoIt)
{
    constexpr COLORREF kRed = RGB(255, 0, 0);
    constexpr int kSide = 8;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP red = CreateBitmap(kSide, kSide, 1, 32, nullptr);
    HGDIOBJ previous = SelectObject(memory, red);
    const RECT all = {0, 0, kSide, kSide};
    HBRUSH brush = CreateSolidBrush(kRed);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    SelectObject(memory, previous);
    DeleteDC(memory);
    {
        ParentWindow parent;
        HWND button = parent.Add(L"Button", BS_PUSHBUTTON | BS_BITMAP, kBoxId, kBoxRect, L"Image");
        SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(red));
        const std::vector<COLORREF> pixels = test::Print(button);
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kRed), kSide * kSide);
    }
    DeleteObject(red);
}

} // namespace
