// The edit control: its own text, a selection, the notifications of every change of its text, and
// how it shows them: on one line, or with ES_MULTILINE on a line for each line break.
#include "edit.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace controls::editing {

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

bool Multiline(HWND hwnd)
{
    return (Style(hwnd) & ES_MULTILINE) != 0;
}

namespace {

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
    int Width(size_t count) const { return Span(0, count); }
    // The width of characters [from, to).
    int Span(size_t from, size_t to) const
    {
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc_, controls::AsWide(shown_) + from, static_cast<int>(to - from), &size);
        return size.cx;
    }
    // The widths of the prefixes of characters [from, to) in one pass: element i is the width of
    // the first i + 1. Measuring each prefix on its own would take time growing with the square.
    std::vector<int> PrefixWidths(size_t from, size_t to) const
    {
        std::vector<int> widths(to - from);
        SIZE size = {0, 0};
        GetTextExtentExPointW(dc_, controls::AsWide(shown_) + from, static_cast<int>(widths.size()), 0,
                              nullptr, widths.data(), &size);
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
    // Inside a client edge the text keeps a pixel's gap, inside the field's own frame a pixel more
    // than the frame; above and below only where the line fits.
    SIZE gap = {0, 0};
    if ((GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) {
        gap = {kEdgeGap, kEdgeGap};
    } else if (edit.framed) {
        gap = {GetSystemMetrics(SM_CXBORDER) + kEdgeGap, GetSystemMetrics(SM_CYBORDER) + kEdgeGap};
    }
    InflateRect(&area, -gap.cx, 0);
    if (area.bottom - area.top >= Measure(hwnd, edit).LineHeight() + 2 * gap.cy) {
        InflateRect(&area, 0, -gap.cy);
    }
    area.left += edit.leftMargin;
    area.right = std::max(area.left, area.right - edit.rightMargin);
    return area;
}

// The margins EC_USEFONTINFO asks for: half the font's average character width on each side for
// an outline font, none for a bitmap font or the system font. A field too narrow for them and two
// characters keeps the margins it has; an empty client area counts as 80 pixels wide.
std::pair<int, int> MarginsFromFont(HWND hwnd, const Edit &edit)
{
    if (edit.font == nullptr) {
        return {0, 0};
    }
    HDC dc = GetDC(hwnd);
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(edit.font));
    TEXTMETRICW metrics = {};
    const LONG average = GdiGetCharDimensions(dc, &metrics, nullptr);
    SelectObject(dc, previousFont);
    ReleaseDC(hwnd, dc);
    if ((metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) == 0) {
        return {0, 0};
    }
    constexpr LONG kEmptyClientWidth = 80;
    RECT client;
    GetClientRect(hwnd, &client);
    const LONG width = IsRectEmpty(&client) ? kEmptyClientWidth : client.right - client.left;
    const int margin = static_cast<int>(average / 2);
    if (width < 2 * margin + 2 * average) {
        return {edit.leftMargin, edit.rightMargin};
    }
    return {margin, margin};
}

LRESULT SetMargins(HWND hwnd, Edit &edit, WPARAM which, LPARAM lParam)
{
    const bool fromFont = LOWORD(lParam) == EC_USEFONTINFO || HIWORD(lParam) == EC_USEFONTINFO;
    const auto [fontLeft, fontRight] = fromFont ? MarginsFromFont(hwnd, edit) : std::pair{0, 0};
    if ((which & EC_LEFTMARGIN) != 0) {
        edit.leftMargin = LOWORD(lParam) == EC_USEFONTINFO ? fontLeft : LOWORD(lParam);
    }
    if ((which & EC_RIGHTMARGIN) != 0) {
        edit.rightMargin = HIWORD(lParam) == EC_USEFONTINFO ? fontRight : HIWORD(lParam);
    }
    return 0;
}

// The width the text may take: the caret after the last character must stay in view.
int Room(const RECT &area)
{
    return std::max<int>(area.right - area.left - kCaretWidth, 0);
}

// A line of the text: characters [start, end), its line break after them. A multi-line field
// breaks its text at each CR LF; it does not wrap words. A single-line field has one line.
struct Line {
    size_t start;
    size_t end;
};

std::vector<Line> LinesOf(HWND hwnd, const Edit &edit)
{
    std::vector<Line> lines;
    size_t start = 0;
    if (Multiline(hwnd)) {
        for (size_t at = edit.text.find(u"\r\n"); at != controls::Text::npos;
             at = edit.text.find(u"\r\n", start)) {
            lines.push_back({start, at});
            start = at + 2;
        }
    }
    lines.push_back({start, edit.text.size()});
    return lines;
}

// The line a character index falls in: the last one starting at or before it.
size_t RowOf(const std::vector<Line> &lines, size_t index)
{
    size_t row = 0;
    while (row + 1 < lines.size() && lines[row + 1].start <= index) {
        ++row;
    }
    return row;
}

// The client x of a line's first character: alignment applies while the line fits.
int TextOrigin(HWND hwnd, const Edit &edit, const Measure &measure, const Line &line)
{
    const RECT area = TextArea(hwnd, edit);
    const int room = area.right - area.left;
    const int width = measure.Span(line.start, line.end);
    if (width < room) {
        switch (Style(hwnd) & (ES_CENTER | ES_RIGHT)) {
        case ES_RIGHT: return area.right - width;
        case ES_CENTER: return area.left + (room - width) / 2;
        default: break;
        }
    }
    return area.left - edit.scroll;
}

// The client position of the boundary before character `index`: its line's top.
POINT PointOf(HWND hwnd, const Edit &edit, const Measure &measure, size_t index)
{
    const std::vector<Line> lines = LinesOf(hwnd, edit);
    const size_t row = RowOf(lines, index);
    const Line &line = lines[row];
    const int x = TextOrigin(hwnd, edit, measure, line) + measure.Span(line.start, std::min(index, line.end));
    return {x, TextArea(hwnd, edit).top + static_cast<int>(row) * measure.LineHeight()};
}

// Scrolls just enough for the caret to be seen along its line.
void ScrollToCaret(HWND hwnd, Edit &edit)
{
    const Measure measure(hwnd, edit);
    const int room = Room(TextArea(hwnd, edit));
    const std::vector<Line> lines = LinesOf(hwnd, edit);
    const Line &line = lines[RowOf(lines, edit.caret)];
    const int width = measure.Span(line.start, line.end);
    const int caret = measure.Span(line.start, edit.caret);
    if (width < room) {
        edit.scroll = 0;
    } else if (caret < edit.scroll) {
        edit.scroll = caret;
    } else if (caret > edit.scroll + room) {
        edit.scroll = caret - room;
    }
    edit.scroll = std::min(edit.scroll, std::max(width - room, 0));
}

// The thread's caret follows the field's own while the field has the focus.
void PlaceCaret(HWND hwnd, const Edit &edit)
{
    if (edit.focused) {
        const POINT caret = PointOf(hwnd, edit, Measure(hwnd, edit), edit.caret);
        SetCaretPos(caret.x, caret.y);
    }
}

void Redraw(HWND hwnd, Edit &edit)
{
    ScrollToCaret(hwnd, edit);
    PlaceCaret(hwnd, edit);
    InvalidateRect(hwnd, nullptr, FALSE);
}

} // namespace

void Select(HWND hwnd, Edit &edit, size_t anchor, size_t caret)
{
    edit.anchor = std::min(anchor, edit.text.size());
    edit.caret = std::min(caret, edit.text.size());
    Redraw(hwnd, edit);
}

namespace {

// WM_COMMAND with a notification code to the window the field was created for.
void Notify(HWND hwnd, const Edit &edit, UINT code)
{
    const WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(hwnd), code);
    SendMessageW(edit.parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(hwnd));
}

} // namespace

void AnnounceChange(HWND hwnd, const Edit &edit)
{
    Notify(hwnd, edit, EN_UPDATE);
    Notify(hwnd, edit, EN_CHANGE);
}

namespace {

// A single-line field that does not scroll (no ES_AUTOHSCROLL) takes only what it can show: the inserted
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
    Notify(hwnd, edit, EN_MAXTEXT);
    return count;
}

// A multi-line field that does not scroll down (no ES_AUTOVSCROLL) takes an insertion whole or not
// at all: when the lines no longer fit its height, the inserted characters at [start, start +
// count) go again. Returns how many stay.
size_t FitLines(HWND hwnd, Edit &edit, size_t start, size_t count)
{
    const RECT area = TextArea(hwnd, edit);
    const int visible =
        std::max<int>(1, (area.bottom - area.top) / std::max(Measure(hwnd, edit).LineHeight(), 1));
    if (count == 0 || LinesOf(hwnd, edit).size() <= static_cast<size_t>(visible)) {
        return count;
    }
    edit.text.erase(start, count);
    Notify(hwnd, edit, EN_MAXTEXT);
    return 0;
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

} // namespace

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
        Notify(hwnd, edit, EN_MAXTEXT);
    }
    const controls::Text removed = edit.text.substr(start, end - start);
    edit.text.replace(start, end - start, insertion);
    size_t inserted = insertion.size();
    if (honourLimit && Multiline(hwnd)) {
        inserted = (Style(hwnd) & ES_AUTOVSCROLL) != 0 ? inserted : FitLines(hwnd, edit, start, inserted);
    } else if (honourLimit && !(Style(hwnd) & ES_AUTOHSCROLL)) {
        inserted = FitInsertion(hwnd, edit, start, inserted);
    }
    RecordUndo(edit.undo, start, removed, inserted);
    edit.anchor = edit.caret = start + inserted;
    Redraw(hwnd, edit);
    AnnounceChange(hwnd, edit);
}

namespace {

// Undoes the last edit, which itself can be undone in turn: the removed text comes back, selected.
void Undo(HWND hwnd, Edit &edit)
{
    const UndoRecord undo = edit.undo;
    EmptyUndo(edit.undo);
    edit.anchor = undo.position;
    edit.caret = undo.position + undo.inserted;
    ReplaceSelection(hwnd, edit, undo.removed, Limit::Honoured);
    Select(hwnd, edit, edit.undo.position, edit.undo.position + edit.undo.inserted);
    Notify(hwnd, edit, EN_CHANGE);
}

void SetText(HWND hwnd, Edit &edit, const WCHAR *text)
{
    edit.text = controls::FromWide(text);
    EmptyUndo(edit.undo);
    edit.anchor = edit.caret = 0;
    edit.scroll = 0;
    Redraw(hwnd, edit);
    // A new text is announced even when it equals the old one, as Windows does; a multi-line
    // field announces none.
    if (!Multiline(hwnd)) {
        AnnounceChange(hwnd, edit);
    }
}

} // namespace

bool ReadOnly(HWND hwnd)
{
    return (Style(hwnd) & ES_READONLY) != 0;
}

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

// The character boundary nearest to a client point, on the line at its height.
size_t CharacterAt(HWND hwnd, const Edit &edit, int x, int y)
{
    const Measure measure(hwnd, edit);
    const std::vector<Line> lines = LinesOf(hwnd, edit);
    const int below = (y - TextArea(hwnd, edit).top) / std::max(measure.LineHeight(), 1);
    const Line &line =
        lines[std::clamp<size_t>(static_cast<size_t>(std::max(below, 0)), 0, lines.size() - 1)];
    const int offset = x - TextOrigin(hwnd, edit, measure, line);
    const std::vector<int> widths = measure.PrefixWidths(line.start, line.end);
    int previous = 0;
    for (size_t count = 1; count <= widths.size(); ++count) {
        if (2 * offset < previous + widths[count - 1]) { // in the character's first half
            return line.start + count - 1;
        }
        previous = widths[count - 1];
    }
    return line.end;
}

namespace {

// Draws characters [from, to) at their place on each line, in the colours already set in the DC.
void DrawRun(HWND hwnd, const Edit &edit, HDC dc, const Measure &measure, size_t from, size_t to)
{
    const std::vector<Line> lines = LinesOf(hwnd, edit);
    const int top = TextArea(hwnd, edit).top;
    for (size_t row = 0; row < lines.size(); ++row) {
        const Line &line = lines[row];
        const size_t first = std::max(from, line.start);
        const size_t last = std::min(to, line.end);
        if (first < last) {
            const int x = TextOrigin(hwnd, edit, measure, line) + measure.Span(line.start, first);
            TextOutW(dc, x, top + static_cast<int>(row) * measure.LineHeight(),
                     controls::AsWide(measure.Shown()) + first, static_cast<int>(last - first));
        }
    }
}

// The thin frame of a field with WS_BORDER and no client edge.
void DrawFrame(HDC dc, const RECT &client)
{
    const int across = GetSystemMetrics(SM_CXBORDER);
    const int down = GetSystemMetrics(SM_CYBORDER);
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOWFRAME);
    const RECT sides[] = {{client.left, client.top, client.right, client.top + down},
                          {client.left, client.bottom - down, client.right, client.bottom},
                          {client.left, client.top, client.left + across, client.bottom},
                          {client.right - across, client.top, client.right, client.bottom}};
    for (const RECT &side : sides) {
        FillRect(dc, &side, brush);
    }
}

// An empty field's hint, in grey.
void DrawCueBanner(HDC dc, const Edit &edit, int left, int top)
{
    if (edit.text.empty() && !edit.cueBanner.empty() && (!edit.focused || edit.cueWhenFocused)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        TextOutW(dc, left, top, controls::AsWide(edit.cueBanner), static_cast<int>(edit.cueBanner.size()));
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
    if (edit.framed) {
        DrawFrame(dc, client);
    }
    if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }

    const int saved = SaveDC(dc);
    const RECT area = TextArea(hwnd, edit);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, controls::DrawingFont(edit.font));
    const Measure measure(hwnd, edit);
    const bool showSelection = edit.focused || (Style(hwnd) & ES_NOHIDESEL);
    const size_t start = showSelection ? SelectionStart(edit) : edit.text.size();
    const size_t end = showSelection ? SelectionEnd(edit) : edit.text.size();

    SetBkMode(dc, TRANSPARENT);
    DrawRun(hwnd, edit, dc, measure, 0, start);
    DrawRun(hwnd, edit, dc, measure, end, edit.text.size());
    if (start < end) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        DrawRun(hwnd, edit, dc, measure, start, end);
    }
    const POINT origin = PointOf(hwnd, edit, measure, 0);
    DrawCueBanner(dc, edit, origin.x, origin.y);
    if (edit.focused) {
        const POINT at = PointOf(hwnd, edit, measure, edit.caret);
        const RECT caret = {at.x, at.y, at.x + kCaretWidth, at.y + measure.LineHeight()};
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
    // A plain WS_BORDER is drawn by the field itself, inside its client area (a dialog gives its
    // controls a client edge instead).
    if ((create.style & WS_BORDER) != 0 && (create.dwExStyle & WS_EX_CLIENTEDGE) == 0) {
        SetWindowLongW(hwnd, GWL_STYLE, create.style & ~static_cast<LONG>(WS_BORDER));
        edit.framed = true;
    }
    // The initial text is taken quietly.
    edit.text = controls::FromWide(create.lpszName);
    edit.parent = create.hwndParent;
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

} // namespace

LRESULT CanUndo(const UndoRecord &undo)
{
    return undo.inserted > 0 || !undo.removed.empty();
}

namespace {

LRESULT OnSetFocus(HWND hwnd, Edit &edit)
{
    edit.focused = true;
    CreateCaret(hwnd, nullptr, kCaretWidth, Measure(hwnd, edit).LineHeight());
    ShowCaret(hwnd);
    Redraw(hwnd, edit);
    Notify(hwnd, edit, EN_SETFOCUS);
    return 0;
}

LRESULT OnKillFocus(HWND hwnd, Edit &edit)
{
    edit.focused = false;
    DestroyCaret();
    Redraw(hwnd, edit);
    Notify(hwnd, edit, EN_KILLFOCUS);
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
// EM_GETRECT: the text area, its lines high and within the client area; empty before WM_CREATE.
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
        // A multi-line field shows as many whole lines as fit, one at least.
        const int line = Measure(hwnd, edit).LineHeight();
        const int lines =
            Multiline(hwnd) ? std::max<int>(1, (rect->bottom - rect->top) / std::max(line, 1)) : 1;
        rect->bottom = std::min<LONG>(rect->top + lines * line, client.bottom);
    }
    return 0;
}

// EM_POSFROMCHAR: the client position of a character's top left, -1 for none (the end included).
LRESULT PositionOfCharacter(HWND hwnd, const Edit &edit, WPARAM index)
{
    if (index >= edit.text.size()) {
        return -1;
    }
    const POINT at = PointOf(hwnd, edit, Measure(hwnd, edit), index);
    return MAKELONG(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
}

// EM_CHARFROMPOS: the character boundary nearest a client point, with its line in the high word.
LRESULT CharacterFromPosition(HWND hwnd, const Edit &edit, LPARAM point)
{
    const size_t index = CharacterAt(hwnd, edit, GET_X_LPARAM(point), GET_Y_LPARAM(point));
    return MAKELRESULT(static_cast<WORD>(index), static_cast<WORD>(RowOf(LinesOf(hwnd, edit), index)));
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

// EM_SETCUEBANNER: a hint for an empty single-line field; a multi-line field takes none.
LRESULT SetCueBanner(HWND hwnd, Edit &edit, WPARAM whenFocused, const WCHAR *text)
{
    if (text == nullptr || Multiline(hwnd)) {
        return FALSE;
    }
    edit.hasCueBanner = true;
    edit.cueWhenFocused = whenFocused != 0;
    edit.cueBanner = controls::FromWide(text);
    InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
}

// EM_GETCUEBANNER: the hint, cut to a buffer of `capacity` characters with its terminator; with
// none set, an empty string and FALSE.
LRESULT GetCueBanner(HWND hwnd, const Edit &edit, WCHAR *buffer, LPARAM capacity)
{
    if (Multiline(hwnd)) {
        return FALSE;
    }
    if (buffer != nullptr && capacity > 0) {
        controls::CopyText(edit.hasCueBanner ? edit.cueBanner : controls::Text(), buffer,
                           static_cast<size_t>(capacity));
    }
    return edit.hasCueBanner ? TRUE : FALSE;
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

LRESULT SetLimit(HWND hwnd, Edit &edit, WPARAM limit)
{
    edit.limit = limit ? static_cast<size_t>(limit) : Multiline(hwnd) ? kNoLimitMultiline : kNoLimit;
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
    case EM_SETSEL: SetSelection(hwnd, edit, wParam, lParam); return 1;
    case EM_REPLACESEL: return OnReplaceSelection(hwnd, edit, reinterpret_cast<const WCHAR *>(lParam));
    case EM_LIMITTEXT: return SetLimit(hwnd, edit, wParam);
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(edit.limit);
    case EM_GETRECT: return GetFormattingRect(hwnd, edit, reinterpret_cast<RECT *>(lParam));
    case EM_POSFROMCHAR: return PositionOfCharacter(hwnd, edit, wParam);
    case EM_CHARFROMPOS: return CharacterFromPosition(hwnd, edit, lParam);
    case EM_GETLINE: return GetLine(edit, reinterpret_cast<WCHAR *>(lParam));
    case EM_SETPASSWORDCHAR: return SetPasswordChar(hwnd, edit, wParam);
    case EM_GETPASSWORDCHAR: return edit.passwordChar;
    case EM_SETWORDBREAKPROC: edit.wordBreak = reinterpret_cast<EDITWORDBREAKPROCW>(lParam); return TRUE;
    case EM_GETWORDBREAKPROC: return reinterpret_cast<LRESULT>(edit.wordBreak);
    case EM_SETCUEBANNER: return SetCueBanner(hwnd, edit, wParam, reinterpret_cast<const WCHAR *>(lParam));
    case EM_GETCUEBANNER: return GetCueBanner(hwnd, edit, reinterpret_cast<WCHAR *>(wParam), lParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The field keeps its text itself from WM_NCCREATE until WM_NCDESTROY; the window's caption
    // keeps the text it was created with, as the common controls' field has it.
    if (message == WM_NCCREATE) {
        OnNcCreate(hwnd, *controls::CreateState<Edit>(hwnd),
                   *reinterpret_cast<const CREATESTRUCTW *>(lParam));
    }
    Edit *edit = controls::StateOf<Edit>(hwnd);
    if (!edit) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_NCDESTROY: controls::DestroyState<Edit>(hwnd); return 0;
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
    case WM_GETDLGCODE: return DialogCode(hwnd, *edit, lParam);
    case WM_CREATE: edit->created = true; return 0;
    // The text area follows the client area by itself; the platform's field answers 1.
    case WM_SIZE: return 1;
    default: return OnEditMessage(hwnd, *edit, message, wParam, lParam);
    }
}

} // namespace

} // namespace controls::editing

void RegisterEditClass()
{
    controls::RegisterControlClass(L"Edit", controls::editing::EditProc);
}
