// Labels: text, font and the colours the parent gives them.
#include "parent_window.h"
#include "pixels.h"

#include <gtest/gtest.h>

namespace {

TEST(Static, KeepsItsTextAndFontAndTakesNoFocus)
{
    test::ParentWindow parent;
    HWND label = parent.Add(L"Static", SS_LEFT, -1, {5, 5, 100, 20}, L"lfEscapement:");
    EXPECT_EQ(test::Text(label), "lfEscapement:");
    SetWindowTextA(label, "lfOrientation:");
    EXPECT_EQ(test::Text(label), "lfOrientation:");
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    EXPECT_TRUE(parent.Log().empty());
}

TEST(Static, BackgroundIsThePanelsOrWhatTheParentGives)
{
    test::ParentWindow parent;
    HWND label = parent.Add(L"Static", SS_LEFT, -1, {5, 5, 100, 20}, L"");
    EXPECT_EQ(test::PrintedPixel(label, 2, 2), GetSysColor(COLOR_3DFACE));
    HBRUSH green = CreateSolidBrush(RGB(10, 200, 30));
    parent.AnswerColors(green);
    EXPECT_EQ(test::PrintedPixel(label, 2, 2), RGB(10, 200, 30));
    parent.AnswerColors(nullptr);
    DeleteObject(green);
}

} // namespace
