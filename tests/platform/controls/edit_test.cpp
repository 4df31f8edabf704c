// Single-line edits: the text, the selection, typing and the notifications of every change.
#include "parent_window.h"
#include "pixels.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using test::ParentWindow;

constexpr int kFieldId = 201;
constexpr RECT kFieldRect = {10, 10, 110, 30};
const std::vector<int> kOneChange = {EN_UPDATE, EN_CHANGE};

class Edit : public ::testing::Test {
protected:
    void SetUp() override { field = parent.Add(L"Edit", WS_BORDER | ES_AUTOHSCROLL, kFieldId, kFieldRect); }

    std::pair<int, int> Selection() const
    {
        DWORD start = 0;
        DWORD end = 0;
        const LRESULT packed =
            SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(LOWORD(packed), start);
        EXPECT_EQ(HIWORD(packed), end);
        return {static_cast<int>(start), static_cast<int>(end)};
    }
    void Select(int start, int end) const { SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(start), end); }
    void Type(const char *characters) const
    {
        for (const char *c = characters; *c; ++c) {
            SendMessageW(field, WM_CHAR, static_cast<WPARAM>(*c), 0);
        }
    }
    std::string Text() const { return test::Text(field); }

    ParentWindow parent;
    HWND field = nullptr;
};

TEST_F(Edit, SetTextAnnouncesEveryChangeEvenToTheSameText)
{
    SetWindowTextA(field, "12");
    EXPECT_EQ(parent.Codes(kFieldId), kOneChange);
    parent.Clear();
    SetWindowTextA(field, "12");
    EXPECT_EQ(parent.Codes(kFieldId), kOneChange);
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(GetWindowTextLengthW(field), 2);
    EXPECT_EQ(Selection(), std::make_pair(0, 0)) << "the caret goes to the start";
}

TEST_F(Edit, SelectionIsOrderedAndClamped)
{
    SetWindowTextA(field, "abcdef");
    parent.Clear();
    Select(2, 4);
    EXPECT_EQ(Selection(), std::make_pair(2, 4));
    Select(5, 1);
    EXPECT_EQ(Selection(), std::make_pair(1, 5));
    Select(0, -1);
    EXPECT_EQ(Selection(), std::make_pair(0, 6)) << "-1 is the end";
    Select(3, 100);
    EXPECT_EQ(Selection(), std::make_pair(3, 6));
    Select(-1, 0);
    EXPECT_EQ(Selection(), std::make_pair(6, 6)) << "-1 as start drops the selection";
    EXPECT_TRUE(parent.Codes(kFieldId).empty()) << "selecting changes no text";
}

TEST_F(Edit, ReplaceSelectionInsertsAndMovesTheCaret)
{
    SetWindowTextA(field, "abcdef");
    parent.Clear();
    Select(1, 3);
    SendMessageA(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("XYZ"));
    EXPECT_EQ(Text(), "aXYZdef");
    EXPECT_EQ(Selection(), std::make_pair(4, 4));
    EXPECT_EQ(parent.Codes(kFieldId), kOneChange);
}

TEST_F(Edit, LimitHoldsForReplacingButNotForSetText)
{
    SendMessageW(field, EM_LIMITTEXT, 3, 0);
    SendMessageA(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("abcdef"));
    EXPECT_EQ(Text(), "abc");
    Type("d");
    EXPECT_EQ(Text(), "abc");
    SetWindowTextA(field, "abcdef");
    EXPECT_EQ(Text(), "abcdef");
    SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
    Select(0, -1);
    Type("x");
    EXPECT_EQ(Text(), "x") << "0 lifts the limit";
}

TEST_F(Edit, BackgroundIsWhatTheParentGivesForEditing)
{
    HBRUSH blue = CreateSolidBrush(RGB(20, 40, 220));
    parent.AnswerColors(blue);
    EXPECT_EQ(test::PrintedPixel(field, 10, 10), RGB(20, 40, 220));
    parent.AnswerColors(nullptr);
    EXPECT_EQ(test::PrintedPixel(field, 10, 10), GetSysColor(COLOR_WINDOW));
    DeleteObject(blue);
}

TEST_F(Edit, GetTextCopiesWhatFitsWithATerminator)
{
    SetWindowTextA(field, "-3600");
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(SendMessageA(field, WM_GETTEXT, sizeof(small), reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_STREQ(small, "-36");
}

} // namespace
