// What the user does to an edit control: typing, the keys that move and edit, the keys a dialog
// takes, the mouse, the clipboard and the context menu.
#include "edit.h"

#include <algorithm>
#include <utility>

namespace controls::editing {

namespace {

// Characters below this, and Ctrl+Backspace's, are commands rather than text.
constexpr WCHAR kFirstPrintable = 0x20;
constexpr WCHAR kDeleteCharacter = 0x7F;
constexpr WPARAM kSelectAllKey = 'A'; // with Ctrl
// Ctrl+C, Ctrl+V and Ctrl+X, as TranslateMessage makes them.
constexpr WCHAR kCopyCharacter = 0x03;
constexpr WCHAR kPasteCharacter = 0x16;
constexpr WCHAR kCutCharacter = 0x18;
constexpr WCHAR kUndoCharacter = 0x1A; // Ctrl+Z

} // namespace

// ---- The clipboard ----

// WM_COPY: the selection, if any, becomes the clipboard's text.
void Copy(HWND hwnd, const Edit &edit)
{
    const size_t start = SelectionStart(edit);
    const size_t end = SelectionEnd(edit);
    // A password stays off the clipboard.
    if (start == end || edit.passwordChar != 0) {
        return;
    }
    const controls::Text selected = edit.text.substr(start, end - start);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (selected.size() + 1) * sizeof(WCHAR));
    auto *bytes = static_cast<WCHAR *>(GlobalLock(block));
    if (bytes == nullptr) {
        GlobalFree(block);
        return;
    }
    controls::CopyText(selected, bytes, selected.size() + 1);
    GlobalUnlock(block);
    if (!OpenClipboard(hwnd)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        GlobalFree(block); // the clipboard did not take it over
    }
    CloseClipboard();
}

// WM_CLEAR: the selection goes.
void Clear(HWND hwnd, Edit &edit)
{
    if (!ReadOnly(hwnd)) {
        ReplaceSelection(hwnd, edit, controls::Text(), Limit::Ignored);
    }
}

// WM_CUT: a read-only field still copies, as Windows' does.
void Cut(HWND hwnd, Edit &edit)
{
    Copy(hwnd, edit);
    Clear(hwnd, edit);
}

// WM_PASTE: the clipboard's text replaces the selection, as far as the limit lets it; one line
// takes the text up to its first line break.
void Paste(HWND hwnd, Edit &edit)
{
    if (ReadOnly(hwnd) || !OpenClipboard(hwnd)) {
        return;
    }
    bool found = false;
    controls::Text text;
    if (HGLOBAL block = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *bytes = static_cast<const WCHAR *>(GlobalLock(block))) {
            text = controls::FromWide(bytes);
            found = true;
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    if (!found) {
        // Nothing to paste leaves the selection alone, but for a password's, which goes.
        if (edit.passwordChar != 0) {
            ReplaceSelection(hwnd, edit, controls::Text(), Limit::Ignored);
        }
        return;
    }
    const size_t lineBreak = text.find(u'\n');
    if (lineBreak != controls::Text::npos && !Multiline(hwnd)) {
        text.resize(lineBreak);
        if (!text.empty() && text.back() == u'\r') {
            text.pop_back();
        }
    }
    ReplaceSelection(hwnd, edit, text, Limit::Honoured);
}

namespace {

// Delete removes the selection (Shift+Delete cuts it); without one, the character after the caret,
// with Shift the one before it, with Ctrl everything after it.
void OnDeleteKey(HWND hwnd, Edit &edit)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (ReadOnly(hwnd) || (shift && control)) {
        return;
    }
    if (edit.anchor != edit.caret) {
        if (shift) {
            Cut(hwnd, edit);
        } else {
            Clear(hwnd, edit);
        }
    } else if (control) {
        edit.caret = edit.text.size();
        Clear(hwnd, edit);
    } else {
        Erase(hwnd, edit, shift ? Direction::Backward : Direction::Forward);
    }
}

// Shift+Insert pastes, Ctrl+Insert copies.
void OnInsertKey(HWND hwnd, Edit &edit)
{
    if (GetKeyState(VK_SHIFT) < 0) {
        Paste(hwnd, edit);
    } else if (GetKeyState(VK_CONTROL) < 0) {
        Copy(hwnd, edit);
    }
}

// ---- Keys ----

// Enter, Ctrl+Enter and Tab as characters: only a multi-line field takes them as text, and not
// when it sits in a dialog that moves on with them (Enter unless ES_WANTRETURN, Tab always).
void OnLayoutCharacter(HWND hwnd, Edit &edit, WCHAR character)
{
    if (!Multiline(hwnd) || ReadOnly(hwnd)) {
        return;
    }
    const bool wantsReturn = (Style(hwnd) & ES_WANTRETURN) != 0;
    if (character == u'\t' && !edit.inDialog) {
        ReplaceSelection(hwnd, edit, u"\t", Limit::Honoured);
    } else if (character == u'\n' || (character == u'\r' && (wantsReturn || !edit.inDialog))) {
        ReplaceSelection(hwnd, edit, u"\r\n", Limit::Honoured);
    }
}

} // namespace

// A character key: text, or one of the Ctrl commands. Answers 1, as the platform's field does.
LRESULT OnChar(HWND hwnd, Edit &edit, WCHAR character)
{
    const bool numbersOnly = (Style(hwnd) & ES_NUMBER) != 0;
    if (character == kCopyCharacter) {
        if (edit.passwordChar == 0) {
            SendMessageW(hwnd, WM_COPY, 0, 0);
        }
    } else if (character == kPasteCharacter) {
        if (!ReadOnly(hwnd)) {
            SendMessageW(hwnd, WM_PASTE, 0, 0);
        }
    } else if (character == kCutCharacter) {
        if (!ReadOnly(hwnd) && edit.passwordChar == 0) {
            SendMessageW(hwnd, WM_CUT, 0, 0);
        }
    } else if (character == kUndoCharacter) {
        if (!ReadOnly(hwnd)) {
            SendMessageW(hwnd, WM_UNDO, 0, 0);
        }
    } else if (character == VK_BACK) {
        Erase(hwnd, edit, Direction::Backward);
    } else if (character == u'\r' || character == u'\n' || character == u'\t') {
        OnLayoutCharacter(hwnd, edit, character);
    } else if (character >= kFirstPrintable && character != kDeleteCharacter && !ReadOnly(hwnd) &&
               (!numbersOnly || (character >= u'0' && character <= u'9'))) {
        ReplaceSelection(hwnd, edit, controls::Text(1, static_cast<char16_t>(character)), Limit::Honoured);
    }
    return 1;
}

namespace {

// Arrows and Home/End move the caret; with Shift held the anchor stays and the selection grows.
void MoveCaret(HWND hwnd, Edit &edit, size_t caret)
{
    const bool extend = GetKeyState(VK_SHIFT) < 0;
    Select(hwnd, edit, extend ? edit.anchor : caret, caret);
}

// Ctrl+A selects everything, announced as a change when the selection moves, as on Wine.
void OnSelectAllKey(HWND hwnd, Edit &edit)
{
    if (GetKeyState(VK_CONTROL) < 0 && (edit.anchor != 0 || edit.caret != edit.text.size())) {
        Select(hwnd, edit, 0, edit.text.size());
        AnnounceChange(hwnd, edit);
    }
}

// Enter in a dialog, where the field does not take it as text: the dialog's default button gets
// the focus and the key.
void PressDefaultButton(const Edit &edit)
{
    if (GetKeyState(VK_CONTROL) < 0) {
        return;
    }
    const auto answer = static_cast<DWORD>(SendMessageW(edit.parent, DM_GETDEFID, 0, 0));
    if (HIWORD(answer) != DC_HASDEFID) {
        return;
    }
    if (HWND button = GetDlgItem(edit.parent, LOWORD(answer))) {
        SendMessageW(edit.parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
        PostMessageW(button, WM_KEYDOWN, VK_RETURN, 0);
    }
}

// The keys that move about a dialog, when a dialog has asked the field for its dialog code.
void OnDialogKey(HWND hwnd, const Edit &edit, WPARAM key)
{
    const bool multiline = Multiline(hwnd);
    if (!edit.inDialog) {
        return;
    }
    if (key == VK_RETURN && !(multiline && (Style(hwnd) & ES_WANTRETURN) != 0)) {
        PressDefaultButton(edit);
    } else if (key == VK_ESCAPE && multiline) {
        PostMessageW(edit.parent, WM_CLOSE, 0, 0);
    } else if (key == VK_TAB && multiline) {
        SendMessageW(edit.parent, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
    }
}

} // namespace

// A key down answers 1 when the field looked at it, 0 with Alt held, as the platform's field does.
LRESULT OnKeyDown(HWND hwnd, Edit &edit, WPARAM key)
{
    if (GetKeyState(VK_MENU) < 0) {
        return 0;
    }
    switch (key) {
    case VK_LEFT: MoveCaret(hwnd, edit, edit.caret > 0 ? edit.caret - 1 : 0); break;
    case VK_RIGHT: MoveCaret(hwnd, edit, edit.caret + 1); break;
    case VK_HOME: MoveCaret(hwnd, edit, 0); break;
    case VK_END: MoveCaret(hwnd, edit, edit.text.size()); break;
    case VK_DELETE: OnDeleteKey(hwnd, edit); break;
    case VK_INSERT: OnInsertKey(hwnd, edit); break;
    case kSelectAllKey: OnSelectAllKey(hwnd, edit); break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_TAB: OnDialogKey(hwnd, edit, key); break;
    default: break;
    }
    return 1;
}

LRESULT OnButtonDown(HWND hwnd, Edit &edit, LPARAM lParam)
{
    SetFocus(hwnd);
    const size_t caret = CharacterAt(hwnd, edit, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    MoveCaret(hwnd, edit, caret);
    edit.selecting = true;
    SetCapture(hwnd);
    return 0;
}

// A double click selects the word at the caret (which the first click placed): back to the start
// of a word, at least one character, and on to the start of the next one, blanks included.
namespace {

// The word around the caret: back to the start of a word, at least one character, and on to the
// start of the next one, blanks included.
std::pair<size_t, size_t> WordAroundCaret(const Edit &edit)
{
    const auto blank = [&edit](size_t index) {
        return edit.text[index] == u' ' || edit.text[index] == u'\t';
    };
    const auto wordStart = [&](size_t index) {
        return index > 0 && index < edit.text.size() && blank(index - 1) && !blank(index);
    };
    size_t start = edit.caret > 0 ? edit.caret - 1 : 0;
    while (start > 0 && !wordStart(start)) {
        --start;
    }
    size_t end = edit.caret;
    while (end < edit.text.size() && !wordStart(end)) {
        ++end;
    }
    return {start, end};
}

// The word around the caret as the program's word-break procedure has it, kept within the text.
std::pair<size_t, size_t> WordFromProcedure(const Edit &edit)
{
    controls::Text copy = edit.text; // the procedure may write to the text it is given
    auto *text = reinterpret_cast<LPWSTR>(copy.data());
    const int length = static_cast<int>(copy.size());
    const int caret = static_cast<int>(edit.caret);
    const auto within = [length](int index) { return static_cast<size_t>(std::clamp(index, 0, length)); };
    return {within(edit.wordBreak(text, caret, length, WB_LEFT)),
            within(edit.wordBreak(text, caret, length, WB_RIGHT))};
}

} // namespace

// A double click selects the word at the caret (which the first click placed).
LRESULT OnDoubleClick(HWND hwnd, Edit &edit)
{
    const auto [start, end] = edit.wordBreak != nullptr ? WordFromProcedure(edit) : WordAroundCaret(edit);
    Select(hwnd, edit, start, end);
    edit.selecting = true;
    SetCapture(hwnd);
    return 0;
}

// Dragging with the button down moves the caret end of the selection.
LRESULT OnMouseMove(HWND hwnd, Edit &edit, LPARAM lParam)
{
    if (edit.selecting) {
        const size_t caret = CharacterAt(hwnd, edit, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        Select(hwnd, edit, edit.anchor, caret);
    }
    return 0;
}

LRESULT OnButtonUp(Edit &edit)
{
    if (edit.selecting) {
        edit.selecting = false;
        ReleaseCapture();
    }
    return 0;
}

// ---- Context menu ----

namespace {

// The field's context menu as the platform's resource has it; each item is the message that its
// key sends.
struct ContextItem {
    const WCHAR *text; // nullptr for a separator
    UINT message;
};
constexpr ContextItem kContextItems[] = {
    {L"&Undo", EM_UNDO},   {nullptr, 0},           {L"Cu&t", WM_CUT}, {L"&Copy", WM_COPY},
    {L"&Paste", WM_PASTE}, {L"&Delete", WM_CLEAR}, {nullptr, 0},      {L"Select &All", EM_SETSEL}};

bool ContextItemEnabled(HWND hwnd, const Edit &edit, UINT message)
{
    const bool selection = edit.anchor != edit.caret;
    const bool readOnly = ReadOnly(hwnd);
    const bool password = (Style(hwnd) & ES_PASSWORD) != 0;
    switch (message) {
    case EM_UNDO: return CanUndo(edit.undo) != 0 && !readOnly;
    case WM_CUT: return selection && !password && !readOnly;
    case WM_COPY: return selection && !password;
    case WM_PASTE: return IsClipboardFormatAvailable(CF_UNICODETEXT) && !readOnly;
    case WM_CLEAR: return selection && !readOnly;
    default: return SelectionStart(edit) != 0 || SelectionEnd(edit) != edit.text.size();
    }
}

} // namespace

// WM_CONTEXTMENU: the menu opens at the click, or from the keyboard ((-1, -1)) at the field's
// middle; the field takes the focus first, and the chosen item does what its key does.
LRESULT OnContextMenu(HWND hwnd, const Edit &edit, LPARAM lParam)
{
    HMENU menu = CreatePopupMenu();
    for (const ContextItem &item : kContextItems) {
        if (item.text == nullptr) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            const UINT state = ContextItemEnabled(hwnd, edit, item.message) ? MF_ENABLED : MF_GRAYED;
            AppendMenuW(menu, MF_STRING | state, item.message, item.text);
        }
    }
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) {
        RECT client;
        GetClientRect(hwnd, &client);
        at = {client.right / 2, client.bottom / 2};
        ClientToScreen(hwnd, &at);
    }
    if (!edit.focused) {
        SetFocus(hwnd);
    }
    const auto command = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd, nullptr));
    DestroyMenu(menu);
    if (command == EM_SETSEL) {
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
    } else if (command != 0) {
        SendMessageW(hwnd, command == EM_UNDO ? WM_UNDO : command, 0, 0);
    }
    return 0;
}

// WM_GETDLGCODE: a multi-line field wants every key; a dialog asking with a message tells the
// field it is in one.
LRESULT DialogCode(HWND hwnd, Edit &edit, LPARAM message)
{
    if (message != 0) {
        edit.inDialog = true;
    }
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (Multiline(hwnd) ? DLGC_WANTALLKEYS : 0);
}

} // namespace controls::editing
