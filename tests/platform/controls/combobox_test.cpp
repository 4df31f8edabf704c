// Drop-down lists: the items, the quiet selection, the closed box's size and the list's notifications.
#include "parent_window.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using test::ParentWindow;

constexpr int kListId = 301;
constexpr RECT kListRect = {10, 10, 130, 210}; // the height is the opened list's

class ComboBox : public ::testing::Test {
protected:
    HWND Add(DWORD style = 0)
    {
        box = parent.Add(L"ComboBox", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | style, kListId,
                         kListRect);
        return box;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(box, message, wParam, lParam);
    }
    LRESULT AddString(const char *text) const
    {
        return Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    std::string Item(int index) const
    {
        char text[64] = {};
        Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::vector<std::string> Items() const
    {
        const int count = static_cast<int>(Send(CB_GETCOUNT));
        std::vector<std::string> items;
        items.reserve(static_cast<size_t>(std::max(count, 0)));
        for (int i = 0; i < count; ++i) {
            items.push_back(Item(i));
        }
        return items;
    }
    void Fill()
    {
        for (const char *name : {"TA_BASELINE", "TA_TOP", "TA_BOTTOM"}) {
            AddString(name);
        }
        parent.Clear();
    }

    ParentWindow parent;
    HWND box = nullptr;
};

TEST_F(ComboBox, AddStringAppendsToAnUnsortedList)
{
    Add();
    EXPECT_EQ(Send(CB_GETCOUNT), 0);
    EXPECT_EQ(AddString("TA_BASELINE"), 0);
    EXPECT_EQ(AddString("TA_TOP"), 1);
    EXPECT_EQ(AddString("TA_BOTTOM"), 2);
    EXPECT_EQ(Items(), (std::vector<std::string>{"TA_BASELINE", "TA_TOP", "TA_BOTTOM"}));
    EXPECT_EQ(Send(CB_GETLBTEXTLEN, 1), 6);
    EXPECT_EQ(Send(CB_GETLBTEXTLEN, 3), CB_ERR);
    char text[8] = "x";
    EXPECT_EQ(Send(CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(text)), CB_ERR);
    EXPECT_TRUE(parent.Log().empty());
}

TEST_F(ComboBox, SortedListKeepsItsOrderWhateverTheCase)
{
    Add(CBS_SORT);
    AddString("pear");
    AddString("Apple");
    EXPECT_EQ(AddString("banana"), 1);
    EXPECT_EQ(Items(), (std::vector<std::string>{"Apple", "banana", "pear"}));
}

TEST_F(ComboBox, InsertAndDeleteKeepTheRestInOrder)
{
    Add();
    Fill();
    EXPECT_EQ(Send(CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("middle")), 1);
    EXPECT_EQ(Send(CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("last")), 4);
    EXPECT_EQ(Items(), (std::vector<std::string>{"TA_BASELINE", "middle", "TA_TOP", "TA_BOTTOM", "last"}));
    EXPECT_EQ(Send(CB_DELETESTRING, 0), 4) << "returns how many remain";
    EXPECT_EQ(Send(CB_DELETESTRING, 4), CB_ERR);
    EXPECT_EQ(Items(), (std::vector<std::string>{"middle", "TA_TOP", "TA_BOTTOM", "last"}));
    Send(CB_RESETCONTENT);
    EXPECT_EQ(Send(CB_GETCOUNT), 0);
}

TEST_F(ComboBox, SelectionIsQuietAndCanBeCleared)
{
    Add();
    EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR) << "empty";
    Fill();
    EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR) << "nothing chosen yet";
    EXPECT_EQ(Send(CB_SETCURSEL, 2), 2);
    EXPECT_EQ(Send(CB_GETCURSEL), 2);
    EXPECT_EQ(test::Text(box), "TA_BOTTOM");
    EXPECT_EQ(Send(CB_SETCURSEL, 5), CB_ERR);
    EXPECT_EQ(Send(CB_GETCURSEL), 2) << "an index out of range changes nothing";
    EXPECT_EQ(Send(CB_SETCURSEL, static_cast<WPARAM>(-1)), CB_ERR);
    EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR);
    EXPECT_TRUE(parent.Log().empty());
}

TEST_F(ComboBox, DeletingTheSelectedItemClearsTheSelection)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 1);
    Send(CB_DELETESTRING, 0);
    EXPECT_EQ(Send(CB_GETCURSEL), 0) << "the selection follows its item";
    Send(CB_DELETESTRING, 0);
    EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR);
}

TEST_F(ComboBox, FindStringExactIgnoresCaseAndStartsAfterTheGivenItem)
{
    Add();
    Fill();
    AddString("ta_top");
    const LPARAM top = reinterpret_cast<LPARAM>("TA_TOP");
    EXPECT_EQ(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), top), 1);
    EXPECT_EQ(Send(CB_FINDSTRINGEXACT, 1, top), 3);
    EXPECT_EQ(Send(CB_FINDSTRINGEXACT, 3, top), 1) << "the search wraps";
    EXPECT_EQ(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("TA_")), CB_ERR);
}

int FontHeight(HWND control)
{
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

TEST_F(ComboBox, ClosedBoxIsOneItemHighForEveryFont)
{
    Add();
    for (int stockFont : {SYSTEM_FONT, DEFAULT_GUI_FONT}) {
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(stockFont)), FALSE);
        const int fontHeight = FontHeight(box);
        const RECT rect = test::ChildRect(box);
        // The field holds a line and a 2-pixel margin each side; the box adds 2-pixel borders.
        EXPECT_EQ(Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), fontHeight + 4);
        EXPECT_EQ(rect.bottom - rect.top, fontHeight + 8);
        EXPECT_EQ(Send(CB_GETITEMHEIGHT, 0), fontHeight) << "an item is one line";
        EXPECT_EQ(rect.right - rect.left, kListRect.right - kListRect.left);
    }
}

TEST_F(ComboBox, ShowDropDownOpensAndClosesTheList)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 0);
    parent.Clear();
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
    EXPECT_TRUE(Send(CB_SHOWDROPDOWN, TRUE));
    EXPECT_TRUE(Send(CB_GETDROPPEDSTATE));
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_DROPDOWN}));
    parent.Clear();
    Send(CB_SHOWDROPDOWN, FALSE);
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(Send(CB_GETCURSEL), 0);
}

TEST_F(ComboBox, ArrowKeysOnTheClosedListConfirmEachStep)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 0);
    parent.Clear();
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Send(CB_GETCURSEL), 1);
    EXPECT_EQ(test::Text(box), "TA_TOP");
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE}));
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Send(CB_GETCURSEL), 2) << "stops at the last item";
    parent.Clear();
    SendMessageW(box, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Send(CB_GETCURSEL), 1);
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE}));
}

TEST_F(ComboBox, TypingAnInitialChoosesTheNextItemWithIt)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 0);
    parent.Clear();
    SendMessageW(box, WM_CHAR, 't', 0);
    EXPECT_EQ(Send(CB_GETCURSEL), 1) << "after the chosen item, ignoring case";
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE}));
    SendMessageW(box, WM_CHAR, 'T', 0);
    SendMessageW(box, WM_CHAR, 'T', 0);
    EXPECT_EQ(Send(CB_GETCURSEL), 0) << "round to the start";
    parent.Clear();
    SendMessageW(box, WM_CHAR, 'x', 0);
    EXPECT_EQ(Send(CB_GETCURSEL), 0);
    EXPECT_TRUE(parent.Codes(kListId).empty());
}

TEST_F(ComboBox, KeyboardConfirmsOrCancelsTheOpenedList)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 0);
    Send(CB_SHOWDROPDOWN, TRUE);
    parent.Clear();
    SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
    EXPECT_EQ(Send(CB_GETCURSEL), 1);
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));

    Send(CB_SHOWDROPDOWN, TRUE);
    parent.Clear();
    SendMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
    EXPECT_EQ(Send(CB_GETCURSEL), 1);
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

// Mouse messages go where the system would send them: to the window holding the capture, in its
// client coordinates.
void ClickAtScreen(POINT point)
{
    HWND target = GetCapture();
    ASSERT_NE(target, nullptr) << "an open list holds the mouse";
    ScreenToClient(target, &point);
    const LPARAM position = MAKELPARAM(point.x, point.y);
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, position);
    SendMessageW(target, WM_LBUTTONUP, 0, position);
}

TEST_F(ComboBox, ClickOpensTheListAndAClickOnAnItemChoosesIt)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 0);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    EXPECT_TRUE(Send(CB_GETDROPPEDSTATE));
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));
    parent.Clear();

    // The third item of the list that opened under the box.
    RECT rect;
    GetWindowRect(box, &rect);
    const int itemHeight = static_cast<int>(Send(CB_GETITEMHEIGHT, 0));
    ClickAtScreen({rect.left + 10, rect.bottom + 1 + 2 * itemHeight + itemHeight / 2});
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
    EXPECT_EQ(Send(CB_GETCURSEL), 2);
    // The change itself is reported last.
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
}

TEST_F(ComboBox, ClickOutsideTheOpenListCancels)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 1);
    Send(CB_SHOWDROPDOWN, TRUE);
    parent.Clear();
    RECT rect;
    GetWindowRect(box, &rect);
    ClickAtScreen({rect.right + 100, rect.top});
    EXPECT_FALSE(Send(CB_GETDROPPEDSTATE));
    EXPECT_EQ(Send(CB_GETCURSEL), 1);
    EXPECT_EQ(parent.Codes(kListId), (std::vector<int>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBox, DialogManagerLeavesItsArrowsAndCharactersToIt)
{
    Add();
    EXPECT_EQ(SendMessageW(box, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_WANTARROWS);
}

} // namespace
