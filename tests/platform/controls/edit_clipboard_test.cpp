// Single-line edits and the clipboard: copy, cut, paste and clear, by message and by key.
#include "clipboard.h"
#include "parent_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace {

using test::ParentWindow;

constexpr int kFieldId = 301;
constexpr int kOtherId = 302;
const std::vector<int> kOneChange = {EN_UPDATE, EN_CHANGE};
const std::vector<int> kNothing = {};

std::pair<int, int> Selection(HWND control)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

void Select(HWND control, int start, int end)
{
    SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void Send(HWND control, UINT message)
{
    SendMessageW(control, message, 0, 0);
}

class EditClipboard : public ::testing::Test {
protected:
    HWND AddField(int id, DWORD style = 0, int top = 10)
    {
        return parent.Add(L"Edit", WS_BORDER | ES_AUTOHSCROLL | style, id, {10, top, 200, top + 20});
    }
    void SetUp() override { field = AddField(kFieldId); }

    // Sets the text and selection of `control` and forgets the notifications that made them.
    void Prepare(HWND control, const char *text, int start, int end)
    {
        SetWindowTextA(control, text);
        Select(control, start, end);
        parent.Clear();
    }

    ParentWindow parent;
    HWND field = nullptr;
};

// One message on a field with a text, a selection and maybe a limit, and what it leaves.
struct Edit {
    const char *name;
    int limit; // 0: the platform's
    const char *clipboard;
    const char *text;
    int start, end;
    UINT message;
    const char *textAfter;
    std::pair<int, int> selectionAfter;
    const char *clipboardAfter;
    std::vector<int> codes;
};

void PrintTo(const Edit &edit, std::ostream *out)
{
    *out << edit.name;
}

class EditClipboardTable : public EditClipboard, public ::testing::WithParamInterface<Edit> {};

TEST_P(EditClipboardTable, LeavesTextSelectionClipboardAndNotifications)
{
    const Edit &edit = GetParam();
    if (edit.limit != 0) {
        SendMessageW(field, EM_SETLIMITTEXT, static_cast<WPARAM>(edit.limit), 0);
    }
    ASSERT_TRUE(test::PutClipboardText(edit.clipboard));
    Prepare(field, edit.text, edit.start, edit.end);
    Send(field, edit.message);
    EXPECT_EQ(test::Text(field), edit.textAfter);
    EXPECT_EQ(Selection(field), edit.selectionAfter);
    EXPECT_EQ(test::ClipboardText(), edit.clipboardAfter);
    EXPECT_EQ(parent.Codes(kFieldId), edit.codes);
}

const std::vector<int> kAtTheLimit = {EN_MAXTEXT, EN_UPDATE, EN_CHANGE};

// A one-line field takes the text up to its first line break; at its limit the platform still
// announces a change, even when nothing fits.
INSTANTIATE_TEST_SUITE_P(
    Table, EditClipboardTable,
    ::testing::Values(
        Edit{"CutCopiesAndRemoves", 0, "old", "12345", 3, 1, WM_CUT, "145", {1, 1}, "23", kOneChange},
        Edit{"ClearRemovesOnly", 0, "kept", "12345", 0, 2, WM_CLEAR, "345", {0, 0}, "kept", kOneChange},
        Edit{"PasteReplaces", 0, "77", "abcdef", 4, 1, WM_PASTE, "a77ef", {3, 3}, "77", kOneChange},
        Edit{"PasteUpToCrLf", 0, "12\r\n34", "", 0, 0, WM_PASTE, "12", {2, 2}, "12\r\n34", kOneChange},
        Edit{"PasteUpToLf", 0, "5\n6", "", 0, 0, WM_PASTE, "5", {1, 1}, "5\n6", kOneChange},
        Edit{"PasteUpToTheEnd", 0, "-90\r\n", "", 0, 0, WM_PASTE, "-90", {3, 3}, "-90\r\n", kOneChange},
        Edit{
            "EmptyFirstLineReplaces", 0, "\r\n450", "xyz", 0, 3, WM_PASTE, "", {0, 0}, "\r\n450", kOneChange},
        Edit{
            "PasteStopsAtTheLimit", 5, "12345", "abc", 3, 3, WM_PASTE, "abc12", {5, 5}, "12345", kAtTheLimit},
        Edit{
            "SelectionMakesRoom", 5, "12345", "abcde", 1, 4, WM_PASTE, "a123e", {4, 4}, "12345", kAtTheLimit},
        Edit{"NothingFits", 3, "9", "abc", 1, 1, WM_PASTE, "abc", {1, 1}, "9", kAtTheLimit}),
    [](const ::testing::TestParamInfo<Edit> &info) { return std::string(info.param.name); });

TEST_F(EditClipboard, TheDefaultLimitIsThePlatformsAndHoldsForPaste)
{
    EXPECT_EQ(SendMessageW(field, EM_GETLIMITTEXT, 0, 0), 30000);
    std::string longText(30010, '1');
    ASSERT_TRUE(test::PutClipboardText(longText.c_str()));
    Prepare(field, "", 0, 0);
    Send(field, WM_PASTE);
    EXPECT_EQ(GetWindowTextLengthW(field), 30000);
}

// Without ES_AUTOHSCROLL a field does not scroll, so it takes only what it can show.
TEST_F(EditClipboard, AFieldThatDoesNotScrollTakesWhatItCanShow)
{
    HWND fixed = parent.Add(L"Edit", WS_BORDER, kOtherId, {10, 40, 70, 60});
    const std::string digits(40, '8');
    ASSERT_TRUE(test::PutClipboardText(digits.c_str()));
    Prepare(fixed, "", 0, 0);
    Send(fixed, WM_PASTE);
    const std::string pasted = test::Text(fixed);
    EXPECT_GT(pasted.size(), 2u);
    EXPECT_LT(pasted.size(), digits.size());
    EXPECT_EQ(Selection(fixed),
              std::make_pair(static_cast<int>(pasted.size()), static_cast<int>(pasted.size())));
    EXPECT_EQ(parent.Codes(kOtherId), (std::vector<int>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));
    parent.Clear();
    SendMessageW(fixed, WM_CHAR, '8', 0);
    EXPECT_EQ(test::Text(fixed), pasted) << "a full field takes no more typing";
    EXPECT_EQ(parent.Codes(kOtherId), (std::vector<int>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));

    Prepare(field, "", 0, 0);
    Send(field, WM_PASTE);
    EXPECT_EQ(test::Text(field), digits) << "a field that scrolls takes it all";
}

TEST_F(EditClipboard, NothingToCopyOrPasteChangesNothing)
{
    ASSERT_TRUE(test::PutClipboardText("kept"));
    Prepare(field, "abc", 1, 1);
    Send(field, WM_COPY);
    Send(field, WM_CUT);
    Send(field, WM_CLEAR);
    EXPECT_EQ(test::ClipboardText(), "kept") << "an empty selection copies nothing";
    EXPECT_EQ(test::Text(field), "abc");

    ASSERT_TRUE(test::PutClipboardText(nullptr));
    Select(field, 0, 2);
    Send(field, WM_PASTE);
    EXPECT_EQ(test::Text(field), "abc");
    EXPECT_EQ(Selection(field), std::make_pair(0, 2)) << "an empty clipboard leaves the selection";
    EXPECT_EQ(parent.Codes(kFieldId), kNothing);
}

TEST_F(EditClipboard, ReadOnlyFieldCopiesButNeverChanges)
{
    HWND locked = AddField(kOtherId, ES_READONLY, 40);
    ASSERT_TRUE(test::PutClipboardText("new"));
    Prepare(locked, "3600", 0, 2);
    Send(locked, WM_PASTE);
    Send(locked, WM_CLEAR);
    EXPECT_EQ(test::Text(locked), "3600");
    Send(locked, WM_CUT);
    EXPECT_EQ(test::Text(locked), "3600");
    EXPECT_EQ(test::ClipboardText(), "36") << "cutting from a read-only field still copies";
    SendMessageW(locked, WM_CHAR, 0x16, 0); // Ctrl+V
    EXPECT_EQ(test::Text(locked), "3600");
    EXPECT_EQ(parent.Codes(kOtherId), kNothing);
}

// Keys whose meaning depends on Shift or Ctrl held, with the keyboard state set for them.
class EditClipboardKeys : public EditClipboard {
protected:
    void SetUp() override
    {
        EditClipboard::SetUp();
        GetKeyboardState(saved_);
    }
    void TearDown() override { SetKeyboardState(saved_); }
    void Press(WPARAM key, WPARAM modifier)
    {
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        state[VK_SHIFT] = state[VK_CONTROL] = 0;
        state[modifier] = 0x80;
        SetKeyboardState(state);
        SendMessageW(field, WM_KEYDOWN, key, 1);
        SetKeyboardState(saved_);
    }

private:
    BYTE saved_[256] = {};
};

TEST_F(EditClipboardKeys, InsertAndDeleteWithShiftOrControl)
{
    Prepare(field, "-1800", 0, 3);
    Press(VK_INSERT, VK_CONTROL);
    EXPECT_EQ(test::ClipboardText(), "-18");
    Press(VK_DELETE, VK_SHIFT);
    EXPECT_EQ(test::Text(field), "00") << "Shift+Delete cuts";
    EXPECT_EQ(test::ClipboardText(), "-18");
    Select(field, 1, 1);
    Press(VK_INSERT, VK_SHIFT);
    EXPECT_EQ(test::Text(field), "0-180") << "Shift+Insert pastes";
    Select(field, 2, 2);
    parent.Clear();
    Press(VK_DELETE, VK_CONTROL);
    EXPECT_EQ(test::Text(field), "0-") << "Ctrl+Delete removes everything after the caret";
    EXPECT_EQ(parent.Codes(kFieldId), kOneChange);
}

} // namespace
