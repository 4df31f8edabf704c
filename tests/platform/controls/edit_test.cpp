// Single-line edits: the selection, the look, the caret, reading the text back, positions, word
// breaks and passwords. What setting, replacing and limiting the text announce is Wine's edit
// tests' to check.
#include "parent_window.h"
#include "pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

using test::ParentWindow;

constexpr int kFieldId = 201;
constexpr RECT kFieldRect = {10, 10, 110, 30};

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

    ParentWindow parent;
    HWND field = nullptr;
};

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

TEST_F(Edit, BackgroundIsWhatTheParentGivesForEditing)
{
    HBRUSH blue = CreateSolidBrush(RGB(20, 40, 220));
    parent.AnswerColors(blue);
    EXPECT_EQ(test::PrintedPixel(field, 10, 10), RGB(20, 40, 220));
    parent.AnswerColors(nullptr);
    EXPECT_EQ(test::PrintedPixel(field, 10, 10), GetSysColor(COLOR_WINDOW));
    DeleteObject(blue);
}

// Outside a dialog a plain WS_BORDER is no frame of the window's: the field draws a thin one in its
// client area, in the window frame's colour.
TEST_F(Edit, APlainBorderIsDrawnByTheFieldItself)
{
    EXPECT_EQ(GetWindowLongW(field, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(GetWindowLongW(field, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    RECT client;
    GetClientRect(field, &client);
    EXPECT_EQ(client.right, kFieldRect.right - kFieldRect.left) << "no nonclient frame";
    EXPECT_EQ(test::PrintedPixel(field, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(test::PrintedPixel(field, client.right - 1, client.bottom - 1), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(test::PrintedPixel(field, 10, 10), GetSysColor(COLOR_WINDOW));
}

// While focused the field owns the thread's caret and keeps it at its own; losing the focus
// destroys it.
TEST_F(Edit, TheCaretFollowsTheFieldWhileItHasTheFocus)
{
    SetWindowTextA(field, "abcdef");
    SetFocus(field);
    Select(3, 3);
    POINT caret = {-1, -1};
    ASSERT_TRUE(GetCaretPos(&caret));
    const LRESULT position = SendMessageW(field, EM_POSFROMCHAR, 3, 0);
    EXPECT_EQ(caret.x, static_cast<short>(LOWORD(position)));
    EXPECT_EQ(caret.y, static_cast<short>(HIWORD(position)));
    EXPECT_TRUE(HideCaret(field));
    EXPECT_TRUE(ShowCaret(field));
    SetFocus(nullptr);
    EXPECT_FALSE(HideCaret(field)) << "the field's caret went with the focus";
}

TEST_F(Edit, GetTextCopiesWhatFitsWithATerminator)
{
    SetWindowTextA(field, "-3600");
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(SendMessageA(field, WM_GETTEXT, sizeof(small), reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_STREQ(small, "-36");
}

// EM_GETLINE: the single line whatever the index, as much as the buffer's first word allows, a
// terminator only where there is room; the ANSI call counts bytes.
TEST_F(Edit, GetLineFillsWhatTheFirstWordAllows)
{
    SetWindowTextA(field, "text");
    for (const WORD capacity : {WORD{16}, WORD{4}, WORD{2}}) {
        for (const WPARAM line : {WPARAM{0}, WPARAM{1}}) {
            char narrow[16];
            std::fill(std::begin(narrow), std::end(narrow), 'x');
            *reinterpret_cast<WORD *>(narrow) = capacity;
            const LRESULT count = std::min<LRESULT>(4, capacity);
            EXPECT_EQ(SendMessageA(field, EM_GETLINE, line, reinterpret_cast<LPARAM>(narrow)), count);
            std::string expected("text", static_cast<size_t>(count));
            expected += capacity > 4 ? std::string(1, '\0') : "";
            expected.resize(5, 'x');
            EXPECT_EQ(std::string(narrow, 5), expected) << capacity;
            WCHAR wide[16] = {};
            *reinterpret_cast<WORD *>(wide) = capacity;
            EXPECT_EQ(SendMessageW(field, EM_GETLINE, line, reinterpret_cast<LPARAM>(wide)), count);
            EXPECT_EQ(test::Narrow(wide), std::string("text", static_cast<size_t>(count))) << capacity;
        }
    }
}

// EM_POSFROMCHAR starts at the formatting rectangle's corner whatever the margins, and follows the
// alignment.
TEST_F(Edit, CharacterPositionsFollowTheMarginsAndTheAlignment)
{
    SetWindowTextA(field, "aa");
    for (const WORD margin : {WORD{5}, WORD{15}}) {
        SendMessageW(field, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(margin, margin));
        RECT text = {};
        SendMessageW(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        const LRESULT first = SendMessageW(field, EM_POSFROMCHAR, 0, 0);
        EXPECT_EQ(static_cast<short>(LOWORD(first)), text.left) << margin;
        EXPECT_EQ(static_cast<short>(HIWORD(first)), text.top) << margin;
        EXPECT_GT(static_cast<short>(LOWORD(SendMessageW(field, EM_POSFROMCHAR, 1, 0))), text.left) << margin;
    }

    HWND right = parent.Add(L"Edit", ES_RIGHT, kFieldId + 1, kFieldRect, L"aa");
    RECT area = {};
    SendMessageW(right, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    const int x0 = static_cast<short>(LOWORD(SendMessageW(right, EM_POSFROMCHAR, 0, 0)));
    const int x1 = static_cast<short>(LOWORD(SendMessageW(right, EM_POSFROMCHAR, 1, 0)));
    EXPECT_EQ(x1 + (x1 - x0), area.right) << "right aligned: the text ends at the area's right edge";
}

// A multi-line field lays its text out in lines at its line breaks: each line starts at the left,
// one line's height below the one before, and a point on a line finds that line's characters.
TEST_F(Edit, MultilineFieldBreaksItsLinesAtLineBreaks)
{
    HWND lines =
        parent.Add(L"Edit", ES_MULTILINE | ES_AUTOHSCROLL, kFieldId + 4, {10, 40, 110, 100}, L"ab\r\ncd");
    const LRESULT first = SendMessageW(lines, EM_POSFROMCHAR, 0, 0);
    const LRESULT second = SendMessageW(lines, EM_POSFROMCHAR, 4, 0);
    EXPECT_EQ(LOWORD(second), LOWORD(first));
    EXPECT_GT(HIWORD(second), HIWORD(first));
    const LRESULT found =
        SendMessageW(lines, EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(second), HIWORD(second) + 1));
    EXPECT_EQ(LOWORD(found), 4);
    EXPECT_EQ(HIWORD(found), 1) << "on the second line";
}

int CALLBACK FixedWordBreaks(LPWSTR /*text*/, int /*current*/, int /*length*/, int action)
{
    return action == WB_LEFT ? 1 : 3;
}

// A double click selects the word the program's word-break procedure gives, once it set one.
TEST_F(Edit, DoubleClickTakesTheWordBreaksOfTheProgramsProcedure)
{
    SetWindowTextA(field, "one two three");
    EXPECT_EQ(SendMessageW(field, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(FixedWordBreaks)), TRUE);
    const LRESULT at = SendMessageW(field, EM_POSFROMCHAR, 6, 0);
    SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(field, WM_LBUTTONUP, 0, at);
    SendMessageW(field, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(field, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Selection(), std::make_pair(1, 3));
}

// A password field shows its password character for each character, and looks just like a field
// holding those characters; its text stays as typed.
TEST_F(Edit, PasswordFieldShowsItsCharacter)
{
    HWND password = parent.Add(L"Edit", WS_BORDER | ES_PASSWORD, kFieldId + 1, kFieldRect, L"secret");
    HWND stars = parent.Add(L"Edit", WS_BORDER, kFieldId + 2, kFieldRect, L"******");
    HWND plain = parent.Add(L"Edit", WS_BORDER, kFieldId + 3, kFieldRect, L"secret");
    EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(SendMessageW(plain, EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(test::Print(password), test::Print(stars));
    SendMessageW(password, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD, 0);
    SendMessageW(password, EM_SETSEL, 0, 0);
    SendMessageW(plain, EM_SETSEL, 0, 0);
    EXPECT_EQ(test::Print(password), test::Print(plain));
    SendMessageW(plain, EM_SETPASSWORDCHAR, '#', 0);
    EXPECT_NE(GetWindowLongW(plain, GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(SendMessageW(plain, EM_GETPASSWORDCHAR, 0, 0), '#');
}

} // namespace
