// The single-line edit control: its own text, a selection, typing, and the notifications of
// every change of its text.
#include "controls.h"

#include <algorithm>
#include <vector>

namespace {

// Limits on the text's length in characters: a new field's, and the one that stands for "none".
constexpr size_t kInitialLimit = 30000;
constexpr size_t kNoLimit = 0x7FFFFFFE;
// The text keeps this far from a client edge, in pixels.
constexpr int kEdgeGap = 1;
constexpr int kCaretWidth = 1;
// Characters below this, and Ctrl+Backspace's, are commands rather than text.
constexpr WCHAR kFirstPrintable = 0x20;
constexpr WCHAR kDeleteCharacter = 0x7F;
constexpr WPARAM kSelectAllKey = 'A'; // with Ctrl
// Ctrl+C, Ctrl+V and Ctrl+X, as TranslateMessage makes them.
constexpr WCHAR kCopyCharacter = 0x03;
constexpr WCHAR kPasteCharacter = 0x16;
constexpr WCHAR kCutCharacter = 0x18;
constexpr WCHAR kUndoCharacter = 0x1A; // Ctrl+Z

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
};

size_t SelectionStart(const Edit &edit)
{
    return std::min(edit.anchor, edit.caret);
}

size_t SelectionEnd(const Edit &edit)
{
    return std::max(edit.anchor, edit.caret);
}

DWORD Style(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

// What the field shows: its text, or in a password field as many password characters.
controls::Text ShownText(const Edit &edit)
{
    return edit.passwordChar != 0 ? controls::Text(edit.text.size(), static_cast<char16_t>(edit.passwordChar))
                                  : edit.text;
}

// Measures the text the field shows, with its font.
class Measure {
public:
    Measure(HWND hwnd, const Edit &edit) : hwnd_(hwnd), shown_(ShownText(edit)), dc_(GetDC(hwnd))
    {
        previousFont_ = SelectObject(dc_, controls::DrawingFont(edit.font));
    }
    ~Measure()
    {
        SelectObject(dc_, previousFont_);
        ReleaseDC(hwnd_, dc_);
    }
    Measure(const Measure &) = delete;
    Measure &operator=(const Measure &) = delete;

    // The width of the first `count` characters.
    int Width(size_t count) const
    {
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc_, controls::AsWide(shown_), static_cast<int>(count), &size);
        return size.cx;
    }
    // The widths of all the prefixes in one pass: element i is the width of the first i + 1
    // characters. Measuring each prefix on its own would take time growing with the square.
    std::vector<int> PrefixWidths() const
    {
        std::vector<int> widths(shown_.size());
        SIZE size = {0, 0};
        GetTextExtentExPointW(dc_, controls::AsWide(shown_), static_cast<int>(widths.size()), 0, nullptr,
                              widths.data(), &size);
        return widths;
    }
    int LineHeight() const
    {
        TEXTMETRICW metrics;
        GetTextMetricsW(dc_, &metrics);
        return metrics.tmHeight;
    }
    const controls::Text &Shown() const { return shown_; }

private:
    HWND hwnd_;
    controls::Text shown_;
    HDC dc_;
    HGDIOBJ previousFont_;
};

// Where the text may be drawn, in client coordinates.
RECT TextArea(HWND hwnd, const Edit &edit)
{
    RECT area;
    GetClientRect(hwnd, &area);
    // Inside a client edge the text keeps a pixel's gap, above and below only where the line fits.
    if ((GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) {
        InflateRect(&area, -kEdgeGap, 0);
        if (area.bottom - area.top >= Measure(hwnd, edit).LineHeight() + 2 * kEdgeGap) {
            InflateRect(&area, 0, -kEdgeGap);
        }
    }
    area.left += edit.leftMargin;
    area.right = std::max(area.left, area.right - edit.rightMargin);
    return area;
}

// The margins a font asks for: half its average character width on each side for an outline
// font, none for a bitmap font, and none where they would leave a narrow field too little room.
void SetMarginsFromFont(HWND hwnd, Edit &edit)
{
    HDC dc = GetDC(hwnd);
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(edit.font));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    static const WCHAR kAlphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    SIZE alphabet = {0, 0};
    GetTextExtentPoint32W(dc, kAlphabet, static_cast<int>(std::size(kAlphabet) - 1), &alphabet);
    SelectObject(dc, previousFont);
    ReleaseDC(hwnd, dc);
    if ((metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) == 0) {
        return;
    }
    const int average = (alphabet.cx / 26 + 1) / 2;
    RECT client;
    GetClientRect(hwnd, &client);
    if (client.right - client.left >= (average / 2 + 2 * (average / 2)) * 2) {
        edit.leftMargin = edit.rightMargin = average / 2;
    }
}

LRESULT SetMargins(HWND hwnd, Edit &edit, WPARAM which, LPARAM lParam)
{
    if ((LOWORD(lParam) == EC_USEFONTINFO || HIWORD(lParam) == EC_USEFONTINFO) && edit.font != nullptr) {
        SetMarginsFromFont(hwnd, edit);
    }
    if ((which & EC_LEFTMARGIN) != 0 && LOWORD(lParam) != EC_USEFONTINFO) {
        edit.leftMargin = LOWORD(lParam);
    }
    if ((which & EC_RIGHTMARGIN) != 0 && HIWORD(lParam) != EC_USEFONTINFO) {
        edit.rightMargin = HIWORD(lParam);
    }
    return 0;
}

// The width the text may take: the caret after the last character must stay in view.
int Room(const RECT &area)
{
    return std::max<int>(area.right - area.left - kCaretWidth, 0);
}

// The client x of the text's first character: alignment applies while the text fits.
int TextOrigin(HWND hwnd, const Edit &edit, const Measure &measure)
{
    const RECT area = TextArea(hwnd, edit);
    const int room = area.right - area.left;
    const int width = measure.Width(edit.text.size());
    if (width < room) {
        switch (Style(hwnd) & (ES_CENTER | ES_RIGHT)) {
        case ES_RIGHT: return area.right - width;
        case ES_CENTER: return area.left + (room - width) / 2;
        default: break;
        }
    }
    return area.left - edit.scroll;
}

// Scrolls just enough for the caret to be seen.
void ScrollToCaret(HWND hwnd, Edit &edit)
{
    const Measure measure(hwnd, edit);
    const int room = Room(TextArea(hwnd, edit));
    const int width = measure.Width(edit.text.size());
    const int caret = measure.Width(edit.caret);
    if (width < room) {
        edit.scroll = 0;
    } else if (caret < edit.scroll) {
        edit.scroll = caret;
    } else if (caret > edit.scroll + room) {
        edit.scroll = caret - room;
    }
    edit.scroll = std::min(edit.scroll, std::max(width - room, 0));
}

void Redraw(HWND hwnd, Edit &edit)
{
    ScrollToCaret(hwnd, edit);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Select(HWND hwnd, Edit &edit, size_t anchor, size_t caret)
{
    edit.anchor = std::min(anchor, edit.text.size());
    edit.caret = std::min(caret, edit.text.size());
    Redraw(hwnd, edit);
}

void AnnounceChange(HWND hwnd)
{
    controls::NotifyParent(hwnd, EN_UPDATE);
    controls::NotifyParent(hwnd, EN_CHANGE);
}

// A field that does not scroll (no ES_AUTOHSCROLL) takes only what it can show: the inserted
// characters at [start, start + count) that overflow go again, last first. Returns how many stay.
size_t FitInsertion(HWND hwnd, Edit &edit, size_t start, size_t count)
{
    const Measure measure(hwnd, edit);
    const RECT area = TextArea(hwnd, edit);
    const int room = area.right - area.left;
    if (count == 0 || measure.Width(edit.text.size()) <= room) {
        return count;
    }
    while (count > 0 && measure.Width(edit.text.size()) > room) {
        edit.text.erase(start + count - 1, 1);
        --count;
    }
    controls::NotifyParent(hwnd, EN_MAXTEXT);
    return count;
}

// Adds one replacement, of `removed` at `start` by `inserted` characters, to the undo record.
void RecordUndo(UndoRecord &undo, size_t start, const controls::Text &removed, size_t inserted)
{
    if (!removed.empty()) {
        const bool erasing = undo.inserted == 0 && !undo.removed.empty();
        if (erasing && start == undo.position) {
            undo.removed += removed; // Delete, again and again
        } else if (erasing && start + removed.size() == undo.position) {
            undo.removed.insert(0, removed); // Backspace, again and again
            undo.position = start;
        } else {
            undo.removed = removed;
            undo.position = start;
        }
        undo.inserted = 0;
    }
    if (inserted > 0) {
        if (start == undo.position || (undo.inserted > 0 && start == undo.position + undo.inserted)) {
            undo.inserted += inserted;
        } else {
            undo = {controls::Text(), start, inserted};
        }
    }
}

// Nothing left to undo; the place of the last edit stays, as on the platform.
void EmptyUndo(UndoRecord &undo)
{
    undo.removed.clear();
    undo.inserted = 0;
}

// Whether a replacement keeps to the limit on the text's length (and, in a field that does not
// scroll, to what the field can show). What the user types and pastes does; erasing has no need.
enum class Limit { Honoured, Ignored };

// Replaces the selection with `insertion`, cut to the limit when asked, leaves the caret after
// it and announces the change. Only replacing nothing with nothing is no change; an insertion the
// limit cut to nothing is still announced, as Windows does.
void ReplaceSelection(HWND hwnd, Edit &edit, controls::Text insertion, Limit limit)
{
    const size_t start = SelectionStart(edit);
    const size_t end = SelectionEnd(edit);
    if (start == end && insertion.empty()) {
        return;
    }
    const bool honourLimit = limit == Limit::Honoured;
    const size_t kept = edit.text.size() - (end - start);
    if (honourLimit && kept + insertion.size() > edit.limit) {
        insertion.resize(edit.limit > kept ? edit.limit - kept : 0);
        controls::NotifyParent(hwnd, EN_MAXTEXT);
    }
    const controls::Text removed = edit.text.substr(start, end - start);
    edit.text.replace(start, end - start, insertion);
    size_t inserted = insertion.size();
    if (honourLimit && !(Style(hwnd) & ES_AUTOHSCROLL)) {
        inserted = FitInsertion(hwnd, edit, start, inserted);
    }
    RecordUndo(edit.undo, start, removed, inserted);
    edit.anchor = edit.caret = start + inserted;
    Redraw(hwnd, edit);
    AnnounceChange(hwnd);
}

// Undoes the last edit, which itself can be undone in turn: the removed text comes back, selected.
void Undo(HWND hwnd, Edit &edit)
{
    const UndoRecord undo = edit.undo;
    EmptyUndo(edit.undo);
    edit.anchor = undo.position;
    edit.caret = undo.position + undo.inserted;
    ReplaceSelection(hwnd, edit, undo.removed, Limit::Honoured);
    Select(hwnd, edit, edit.undo.position, edit.undo.position + edit.undo.inserted);
    controls::NotifyParent(hwnd, EN_CHANGE);
}

void SetText(HWND hwnd, Edit &edit, const WCHAR *text)
{
    edit.text = controls::FromWide(text);
    EmptyUndo(edit.undo);
    edit.anchor = edit.caret = 0;
    edit.scroll = 0;
    Redraw(hwnd, edit);
    // A new text is announced even when it equals the old one, as Windows does.
    AnnounceChange(hwnd);
}

bool ReadOnly(HWND hwnd)
{
    return (Style(hwnd) & ES_READONLY) != 0;
}

// Which character goes when there is no selection: the one before the caret, or the one after.
enum class Direction { Backward, Forward };

// Backspace and Delete remove the selection, or the character before or after the caret.
void Erase(HWND hwnd, Edit &edit, Direction direction)
{
    if (ReadOnly(hwnd)) {
        return;
    }
    if (edit.anchor == edit.caret) {
        if (direction == Direction::Forward && edit.caret < edit.text.size()) {
            edit.caret += 1;
        } else if (direction == Direction::Backward && edit.caret > 0) {
            edit.caret -= 1;
        }
    }
    ReplaceSelection(hwnd, edit, controls::Text(), Limit::Ignored);
}

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
        return; // nothing to paste leaves the selection alone
    }
    const size_t lineBreak = text.find(u'\n');
    if (lineBreak != controls::Text::npos) {
        text.resize(lineBreak);
        if (!text.empty() && text.back() == u'\r') {
            text.pop_back();
        }
    }
    ReplaceSelection(hwnd, edit, text, Limit::Honoured);
}

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

LRESULT OnChar(HWND hwnd, Edit &edit, WCHAR character)
{
    if (character == kCopyCharacter) {
        SendMessageW(hwnd, WM_COPY, 0, 0);
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
    } else if (character >= kFirstPrintable && character != kDeleteCharacter && !ReadOnly(hwnd)) {
        ReplaceSelection(hwnd, edit, controls::Text(1, static_cast<char16_t>(character)), Limit::Honoured);
    }
    return 0;
}

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
        AnnounceChange(hwnd);
    }
}

LRESULT OnKeyDown(HWND hwnd, Edit &edit, WPARAM key)
{
    switch (key) {
    case VK_LEFT: MoveCaret(hwnd, edit, edit.caret > 0 ? edit.caret - 1 : 0); return 0;
    case VK_RIGHT: MoveCaret(hwnd, edit, edit.caret + 1); return 0;
    case VK_HOME: MoveCaret(hwnd, edit, 0); return 0;
    case VK_END: MoveCaret(hwnd, edit, edit.text.size()); return 0;
    case VK_DELETE: OnDeleteKey(hwnd, edit); return 0;
    case VK_INSERT: OnInsertKey(hwnd, edit); return 0;
    case kSelectAllKey: OnSelectAllKey(hwnd, edit); return 0;
    default: return 0;
    }
}

// The character boundary nearest to client x.
size_t CharacterAt(HWND hwnd, const Edit &edit, int x)
{
    const Measure measure(hwnd, edit);
    const int offset = x - TextOrigin(hwnd, edit, measure);
    const std::vector<int> widths = measure.PrefixWidths();
    int previous = 0;
    for (size_t count = 1; count <= widths.size(); ++count) {
        if (2 * offset < previous + widths[count - 1]) { // in the character's first half
            return count - 1;
        }
        previous = widths[count - 1];
    }
    return edit.text.size();
}

LRESULT OnButtonDown(HWND hwnd, Edit &edit, LPARAM lParam)
{
    SetFocus(hwnd);
    const size_t caret = CharacterAt(hwnd, edit, GET_X_LPARAM(lParam));
    MoveCaret(hwnd, edit, caret);
    edit.selecting = true;
    SetCapture(hwnd);
    return 0;
}

// A double click selects the word at the caret (which the first click placed): back to the start
// of a word, at least one character, and on to the start of the next one, blanks included.
LRESULT OnDoubleClick(HWND hwnd, Edit &edit)
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
    Select(hwnd, edit, start, end);
    edit.selecting = true;
    SetCapture(hwnd);
    return 0;
}

// Dragging with the button down moves the caret end of the selection.
LRESULT OnMouseMove(HWND hwnd, Edit &edit, LPARAM lParam)
{
    if (edit.selecting) {
        const size_t caret = CharacterAt(hwnd, edit, GET_X_LPARAM(lParam));
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

// Draws characters [from, to) at their place, in the colours already set in the DC.
void DrawRun(HDC dc, const Measure &measure, int origin, int top, size_t from, size_t to)
{
    if (from < to) {
        TextOutW(dc, origin + measure.Width(from), top, controls::AsWide(measure.Shown()) + from,
                 static_cast<int>(to - from));
    }
}

void Paint(HWND hwnd, const Edit &edit, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    // A disabled or read-only field is coloured as a label.
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const UINT colorMessage = enabled && !ReadOnly(hwnd) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    FillRect(dc, &client, controls::ParentBrush(hwnd, dc, colorMessage));
    if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }

    const int saved = SaveDC(dc);
    const RECT area = TextArea(hwnd, edit);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, controls::DrawingFont(edit.font));
    const Measure measure(hwnd, edit);
    const int origin = TextOrigin(hwnd, edit, measure);
    const bool showSelection = edit.focused || (Style(hwnd) & ES_NOHIDESEL);
    const size_t start = showSelection ? SelectionStart(edit) : edit.text.size();
    const size_t end = showSelection ? SelectionEnd(edit) : edit.text.size();

    SetBkMode(dc, TRANSPARENT);
    DrawRun(dc, measure, origin, area.top, 0, start);
    DrawRun(dc, measure, origin, area.top, end, edit.text.size());
    if (start < end) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        DrawRun(dc, measure, origin, area.top, start, end);
    }
    if (edit.focused) {
        const int x = origin + measure.Width(edit.caret);
        const RECT caret = {x, area.top, x + kCaretWidth, area.top + measure.LineHeight()};
        FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    RestoreDC(dc, saved);
}

LRESULT GetSelection(const Edit &edit, WPARAM wParam, LPARAM lParam)
{
    const DWORD start = static_cast<DWORD>(SelectionStart(edit));
    const DWORD end = static_cast<DWORD>(SelectionEnd(edit));
    if (DWORD *startOut = reinterpret_cast<DWORD *>(wParam)) {
        *startOut = start;
    }
    if (DWORD *endOut = reinterpret_cast<DWORD *>(lParam)) {
        *endOut = end;
    }
    return MAKELONG(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
}

// EM_SETSEL: -1 as the start drops the selection at the caret; any other value past the end
// (-1 included, read unsigned) stands for the end.
void SetSelection(HWND hwnd, Edit &edit, WPARAM wParam, LPARAM lParam)
{
    const UINT start = static_cast<UINT>(wParam);
    const UINT end = static_cast<UINT>(lParam);
    if (start == static_cast<UINT>(-1)) {
        Select(hwnd, edit, edit.caret, edit.caret);
    } else {
        Select(hwnd, edit, start, end);
    }
}

void OnNcCreate(HWND hwnd, Edit &edit, const CREATESTRUCTW &create)
{
    // A plain WS_BORDER becomes the sunken client edge of the newer look.
    if ((create.style & WS_BORDER) != 0) {
        SetWindowLongW(hwnd, GWL_STYLE, create.style & ~static_cast<LONG>(WS_BORDER));
        SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(create.dwExStyle | WS_EX_CLIENTEDGE));
    }
    // The initial text is taken quietly.
    edit.text = controls::FromWide(create.lpszName);
    if ((create.style & ES_PASSWORD) != 0) {
        edit.passwordChar = L'*';
    }
}

// ---- Message handlers ----

LRESULT OnPaint(HWND hwnd, const Edit &edit)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    Paint(hwnd, edit, dc);
    EndPaint(hwnd, &paint);
    return 0;
}

// WM_UNDO and EM_UNDO: a read-only field keeps its text, but still answers that it undid.
LRESULT OnUndo(HWND hwnd, Edit &edit)
{
    if (!ReadOnly(hwnd)) {
        Undo(hwnd, edit);
    }
    return TRUE;
}

LRESULT CanUndo(const UndoRecord &undo)
{
    return undo.inserted > 0 || !undo.removed.empty();
}

LRESULT OnSetFocus(HWND hwnd, Edit &edit)
{
    edit.focused = true;
    Redraw(hwnd, edit);
    controls::NotifyParent(hwnd, EN_SETFOCUS);
    return 0;
}

LRESULT OnKillFocus(HWND hwnd, Edit &edit)
{
    edit.focused = false;
    Redraw(hwnd, edit);
    controls::NotifyParent(hwnd, EN_KILLFOCUS);
    return 0;
}

// A new font brings its own margins.
LRESULT OnSetFont(HWND hwnd, Edit &edit, WPARAM font, LPARAM redraw)
{
    edit.font = reinterpret_cast<HFONT>(font);
    SetMargins(hwnd, edit, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EC_USEFONTINFO, EC_USEFONTINFO));
    if (LOWORD(redraw)) {
        Redraw(hwnd, edit);
    }
    return 0;
}

// EM_REPLACESEL: the program's text, kept to the limit as typing is.
LRESULT OnReplaceSelection(HWND hwnd, Edit &edit, const WCHAR *text)
{
    ReplaceSelection(hwnd, edit, controls::FromWide(text), Limit::Honoured);
    return 0;
}

// EM_LIMITTEXT: 0 stands for no limit.
// EM_GETRECT: the text area, one line high and within the client area; empty before WM_CREATE.
LRESULT GetFormattingRect(HWND hwnd, const Edit &edit, RECT *rect)
{
    if (rect == nullptr) {
        return 0;
    }
    *rect = {};
    if (edit.created) {
        RECT client;
        GetClientRect(hwnd, &client);
        *rect = TextArea(hwnd, edit);
        rect->bottom = std::min<LONG>(rect->top + Measure(hwnd, edit).LineHeight(), client.bottom);
    }
    return 0;
}

// EM_POSFROMCHAR: the client position of a character's top left, -1 for none (the end included).
LRESULT PositionOfCharacter(HWND hwnd, const Edit &edit, WPARAM index)
{
    if (index >= edit.text.size()) {
        return -1;
    }
    const Measure measure(hwnd, edit);
    const int x = TextOrigin(hwnd, edit, measure) + measure.Width(index);
    return MAKELONG(static_cast<WORD>(x), static_cast<WORD>(TextArea(hwnd, edit).top));
}

// EM_GETLINE: the one line, into a buffer whose first word gives its size in characters; a
// terminator follows only when there is room.
LRESULT GetLine(const Edit &edit, WCHAR *buffer)
{
    if (buffer == nullptr) {
        return 0;
    }
    const size_t count = std::min<size_t>(edit.text.size(), *reinterpret_cast<const WORD *>(buffer));
    std::copy_n(controls::AsWide(edit.text), count, buffer);
    if (count < *reinterpret_cast<const WORD *>(buffer)) {
        buffer[count] = 0;
    }
    return static_cast<LRESULT>(count);
}

// EM_SETPASSWORDCHAR: a character makes a password field of it, 0 an ordinary one again.
LRESULT SetPasswordChar(HWND hwnd, Edit &edit, WPARAM character)
{
    if (edit.passwordChar == static_cast<WCHAR>(character)) {
        return 0;
    }
    edit.passwordChar = static_cast<WCHAR>(character);
    const DWORD style = Style(hwnd);
    SetWindowLongW(
        hwnd, GWL_STYLE,
        static_cast<LONG>(character != 0 ? style | ES_PASSWORD : style & ~static_cast<DWORD>(ES_PASSWORD)));
    ScrollToCaret(hwnd, edit);
    Redraw(hwnd, edit);
    return 0;
}

LRESULT SetLimit(Edit &edit, WPARAM limit)
{
    edit.limit = limit ? static_cast<size_t>(limit) : kNoLimit;
    return 0;
}

// ---- Context menu ----

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

// The edit control's own messages (EM_*).
LRESULT OnEditMessage(HWND hwnd, Edit &edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case EM_UNDO: return OnUndo(hwnd, edit);
    case EM_CANUNDO: return CanUndo(edit.undo);
    case EM_EMPTYUNDOBUFFER: EmptyUndo(edit.undo); return 0;
    case EM_SETMARGINS: return SetMargins(hwnd, edit, wParam, lParam);
    case EM_GETMARGINS: return MAKELRESULT(edit.leftMargin, edit.rightMargin);
    case EM_GETSEL: return GetSelection(edit, wParam, lParam);
    case EM_SETSEL: SetSelection(hwnd, edit, wParam, lParam); return 0;
    case EM_REPLACESEL: return OnReplaceSelection(hwnd, edit, reinterpret_cast<const WCHAR *>(lParam));
    case EM_LIMITTEXT: return SetLimit(edit, wParam);
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(edit.limit);
    case EM_GETRECT: return GetFormattingRect(hwnd, edit, reinterpret_cast<RECT *>(lParam));
    case EM_POSFROMCHAR: return PositionOfCharacter(hwnd, edit, wParam);
    case EM_GETLINE: return GetLine(edit, reinterpret_cast<WCHAR *>(lParam));
    case EM_SETPASSWORDCHAR: return SetPasswordChar(hwnd, edit, wParam);
    case EM_GETPASSWORDCHAR: return edit.passwordChar;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        OnNcCreate(hwnd, *controls::CreateState<Edit>(hwnd),
                   *reinterpret_cast<const CREATESTRUCTW *>(lParam));
    }
    Edit *edit = controls::StateOf<Edit>(hwnd);
    if (!edit) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_DESTROY: controls::DestroyState<Edit>(hwnd); return 0;
    case WM_PAINT: return OnPaint(hwnd, *edit);
    case WM_PRINTCLIENT: Paint(hwnd, *edit, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case WM_SETTEXT: SetText(hwnd, *edit, reinterpret_cast<const WCHAR *>(lParam)); return TRUE;
    case WM_GETTEXT: return controls::CopyText(edit->text, reinterpret_cast<WCHAR *>(lParam), wParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(edit->text.size());
    case WM_UNDO: return OnUndo(hwnd, *edit);
    case WM_CHAR: return OnChar(hwnd, *edit, static_cast<WCHAR>(wParam));
    case WM_COPY: Copy(hwnd, *edit); return 0;
    case WM_CUT: Cut(hwnd, *edit); return 0;
    case WM_PASTE: Paste(hwnd, *edit); return 0;
    case WM_CLEAR: Clear(hwnd, *edit); return 0;
    case WM_CONTEXTMENU: return OnContextMenu(hwnd, *edit, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, *edit, wParam);
    case WM_LBUTTONDOWN: return OnButtonDown(hwnd, *edit, lParam);
    case WM_LBUTTONDBLCLK: return OnDoubleClick(hwnd, *edit);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, *edit, lParam);
    case WM_LBUTTONUP: return OnButtonUp(*edit);
    // The middle button pastes, as on the X desktop; a line of its own has nothing to scroll, so
    // the wheel stops here, unless Shift or Ctrl sends it on.
    case WM_MBUTTONDOWN: SendMessageW(hwnd, WM_PASTE, 0, 0); return 0;
    case WM_MOUSEWHEEL:
        return (GET_KEYSTATE_WPARAM(wParam) & (MK_SHIFT | MK_CONTROL)) != 0
                   ? DefWindowProcW(hwnd, message, wParam, lParam)
                   : 0;
    case WM_CAPTURECHANGED: edit->selecting = false; return 0;
    case WM_SETFOCUS: return OnSetFocus(hwnd, *edit);
    case WM_KILLFOCUS: return OnKillFocus(hwnd, *edit);
    case WM_ENABLE: Redraw(hwnd, *edit); return 0;
    case WM_SETFONT: return OnSetFont(hwnd, *edit, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(edit->font);
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_CREATE: edit->created = true; return 0;
    default: return OnEditMessage(hwnd, *edit, message, wParam, lParam);
    }
}

} // namespace

void RegisterEditClass()
{
    controls::RegisterControlClass(L"Edit", EditProc);
}
