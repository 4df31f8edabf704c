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
    AddString("Banana");
    // In character order "Banana" would come before "apple".
    EXPECT_EQ(AddString("apple"), 0);
    EXPECT_EQ(Items(), (std::vector<std::string>{"apple", "Banana", "pear"}));
}

TEST_F(ComboBox, InsertAndDeleteKeepTheRestInOrder)
{
    Add();
    Fill();
    Send(CB_SETCURSEL, 1);
    EXPECT_EQ(Send(CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("middle")), 1);
    EXPECT_EQ(Send(CB_GETCURSEL), 2) << "the selection stays on its item";
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

// The closed box's size for each font is Wine's combo tests' to check; these are its parts.
TEST_F(ComboBox, FieldAndItemsAreOneLineOfEveryFont)
{
    Add();
    for (int stockFont : {SYSTEM_FONT, DEFAULT_GUI_FONT}) {
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(stockFont)), FALSE);
        const int fontHeight = FontHeight(box);
        // The field holds a line and a 2-pixel margin each side.
        EXPECT_EQ(Send(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)), fontHeight + 4);
        EXPECT_EQ(Send(CB_GETITEMHEIGHT, 0), fontHeight) << "an item is one line";
    }
}

// A second click soon after the one before (after the list was opened and closed, say) is a double
// click, and the closed box ignores it; only a press opens the list.
TEST_F(ComboBox, DoubleClickOnTheClosedBoxLeavesItClosed)
{
    Add();
    Fill();
    const LPARAM middle = MAKELPARAM(20, 8);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, middle);
    EXPECT_EQ(Send(CB_GETDROPPEDSTATE), 0);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, middle);
    EXPECT_EQ(Send(CB_GETDROPPEDSTATE), 1) << "a press at the same place opens it";
    Send(WM_LBUTTONUP, 0, middle);
    Send(CB_SHOWDROPDOWN, FALSE);
}

} // namespace
