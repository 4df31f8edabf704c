// The edit control's parts: its state, its text and how it shows it (edit.cpp), and what the user
// does to it with keys, the mouse, the clipboard and the context menu (edit_input.cpp).
#pragma once

#include "controls.h"

namespace controls::editing {

// Limits on the text's length in characters: a new field's, and the one that stands for "none".
constexpr size_t kInitialLimit = 30000;
constexpr size_t kNoLimit = 0x7FFFFFFE;
constexpr size_t kNoLimitMultiline = 0xFFFFFFFF;
// The text keeps this far from a client edge, in pixels.
constexpr int kEdgeGap = 1;
constexpr int kCaretWidth = 1;

// What the last edit changed, for an undo: the text it removed at `position`, and how many
// characters it inserted there. Typing or erasing on at the same place extends it.
struct UndoRecord {
    controls::Text removed;
    size_t position = 0;
    size_t inserted = 0;
};

struct Edit {
    controls::Text text;
    size_t anchor = 0; // the fixed end of the selection
    size_t caret = 0;  // the moving end, where the caret is
    size_t limit = kInitialLimit;
    HFONT font = nullptr;
    bool focused = false;
    bool selecting = false; // the mouse is dragging a selection
    int scroll = 0;         // pixels of text scrolled out on the left
    int leftMargin = 0;     // pixels kept free inside the text area, from the font or EM_SETMARGINS
    int rightMargin = 0;
    bool created = false;   // the text area exists from WM_CREATE on
    WCHAR passwordChar = 0; // shown for every character instead, when not 0 (ES_PASSWORD)
    UndoRecord undo;
    // The window that was the parent at creation: notifications go there even when the field is
    // an owned top-level window, which has no parent to ask for.
    HWND parent = nullptr;
    // A dialog asked for the field's dialog code with a message: Enter, Escape and Tab then move
    // about the dialog rather than edit a multi-line field.
    bool inDialog = false;
    // WS_BORDER without a client edge: the field draws a thin frame inside its client area.
    bool framed = false;
    // The grey hint an empty single-line field shows (EM_SETCUEBANNER), once one is set; with
    // `cueWhenFocused` also while the field has the focus.
    bool hasCueBanner = false;
    bool cueWhenFocused = false;
    controls::Text cueBanner;
    // The program's own word breaks for a double click (EM_SETWORDBREAKPROC), when set.
    EDITWORDBREAKPROCW wordBreak = nullptr;
};

// Whether a replacement keeps to the limit on the text's length (and, in a field that does not
// scroll, to what the field can show). What the user types and pastes does; erasing has no need.
enum class Limit { Honoured, Ignored };

// Which character goes when there is no selection: the one before the caret, or the one after.
enum class Direction { Backward, Forward };

size_t SelectionStart(const Edit &edit);

size_t SelectionEnd(const Edit &edit);

DWORD Style(HWND hwnd);

bool Multiline(HWND hwnd);

void Select(HWND hwnd, Edit &edit, size_t anchor, size_t caret);

void AnnounceChange(HWND hwnd, const Edit &edit);

// Replaces the selection with `insertion`, cut to the limit when asked, leaves the caret after
// it and announces the change. Only replacing nothing with nothing is no change; an insertion the
// limit cut to nothing is still announced, as Windows does.
void ReplaceSelection(HWND hwnd, Edit &edit, controls::Text insertion, Limit limit);

bool ReadOnly(HWND hwnd);

// Backspace and Delete remove the selection, or the character before or after the caret.
void Erase(HWND hwnd, Edit &edit, Direction direction);

// The character boundary nearest to a client point, on the line at its height.
size_t CharacterAt(HWND hwnd, const Edit &edit, int x, int y);

LRESULT CanUndo(const UndoRecord &undo);

// WM_COPY: the selection, if any, becomes the clipboard's text.
void Copy(HWND hwnd, const Edit &edit);

// WM_CLEAR: the selection goes.
void Clear(HWND hwnd, Edit &edit);

// WM_CUT: a read-only field still copies, as Windows' does.
void Cut(HWND hwnd, Edit &edit);

// WM_PASTE: the clipboard's text replaces the selection, as far as the limit lets it; one line
// takes the text up to its first line break.
void Paste(HWND hwnd, Edit &edit);

// A character key: text, or one of the Ctrl commands. Answers 1, as the platform's field does.
LRESULT OnChar(HWND hwnd, Edit &edit, WCHAR character);

// A key down answers 1 when the field looked at it, 0 with Alt held, as the platform's field does.
LRESULT OnKeyDown(HWND hwnd, Edit &edit, WPARAM key);

LRESULT OnButtonDown(HWND hwnd, Edit &edit, LPARAM lParam);

// A double click selects the word at the caret (which the first click placed), as the program's
// word-break procedure has it if it set one.
LRESULT OnDoubleClick(HWND hwnd, Edit &edit);

// Dragging with the button down moves the caret end of the selection.
LRESULT OnMouseMove(HWND hwnd, Edit &edit, LPARAM lParam);

LRESULT OnButtonUp(Edit &edit);

// WM_CONTEXTMENU: the menu opens at the click, or from the keyboard ((-1, -1)) at the field's
// middle; the field takes the focus first, and the chosen item does what its key does.
LRESULT OnContextMenu(HWND hwnd, const Edit &edit, LPARAM lParam);

// WM_GETDLGCODE: a multi-line field wants every key; a dialog asking with a message tells the
// field it is in one.
LRESULT DialogCode(HWND hwnd, Edit &edit, LPARAM message);

} // namespace controls::editing
