// The combo box of the drop-down list kind: a field that shows the chosen item, and a popup list
// that opens under it. The box keeps the mouse captured while the list is open, so every click,
// in the list or outside it, comes here.
#include "controls.h"

#include "wheel.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

constexpr WCHAR kListClassName[] = L"ComboLBox";
constexpr int kNoItem = -1;

// Pixels: the field's margin around its line of text and the box's sunken border.
constexpr int kFieldMargin = 2;
constexpr int kBorder = 2;
// The edit field's inset from the box's border, and the open list's border with its gap (pixels).
constexpr int kFieldInset = 1;
constexpr int kListFrame = 2;
constexpr int kFieldId = 1001;
constexpr int kListId = 1000;
constexpr int kDefaultVisibleItems = 30;
// The arrow on the button: its widest row, and how many rows it narrows by 2 pixels.
constexpr int kArrowWidth = 7;
constexpr int kArrowRows = 4;

struct ComboBox {
    std::vector<controls::Text> items;
    int selected = kNoItem;
    int hot = kNoItem;  // the item marked in the open list
    int firstShown = 0; // the open list's first visible item
    int selectedWhenOpened = kNoItem;
    HWND list = nullptr;  // the popup list, made with the box
    HWND field = nullptr; // the edit field of the kinds that take typing (CBS_SIMPLE, CBS_DROPDOWN)
    HFONT font = nullptr;
    int openedHeight = 0; // the box and its open list together: at first the height it was created with
    int lineHeight = 0;
    int fieldHeight = 0;      // the field's line with its margins (CB_GETITEMHEIGHT -1)
    int askedFieldHeight = 0; // the height CB_SETITEMHEIGHT -1 asked for, reported back as asked; 0 for none
    int droppedWidth = 0;     // the open list's width asked for (CB_SETDROPPEDWIDTH), 0 for the box's
    int visibleItems = kDefaultVisibleItems; // the most items the open list shows (CB_SETMINVISIBLE)
    bool wholeItems = true;                  // the open list shows whole items (no CBS_NOINTEGRALHEIGHT)
    bool reshaping = false;                  // the box sets its own height
    bool fillingField = false; // the box writes the field's text: the field's own notices are not passed on
    bool dropped = false;
    bool tracking = false;      // a mouse button went down on the box or the list and is still down
    bool pressedInList = false; // that button went down in the open list, not on the box
    bool focused = false;
    int wheelRemainder = 0; // what fine-grained turns of the wheel left short of a notch
};

int Count(const ComboBox &box)
{
    return static_cast<int>(box.items.size());
}

bool IsItem(const ComboBox &box, int index)
{
    return index >= 0 && index < Count(box);
}

int ClosedHeight(const ComboBox &box)
{
    return box.fieldHeight + 2 * kBorder;
}

// The open list's inner height: whole items, as many as there are up to the visible limit; with
// CBS_NOINTEGRALHEIGHT what the opened height leaves under the box, less the list's frame.
int ListHeight(const ComboBox &box)
{
    const int items = Count(box) * box.lineHeight;
    if (!box.wholeItems) {
        return std::clamp(box.openedHeight - ClosedHeight(box) - kListFrame, 0, items);
    }
    return std::min(Count(box), box.visibleItems) * box.lineHeight;
}

// How many items the open list shows whole.
int ShownCount(const ComboBox &box)
{
    return ListHeight(box) / std::max(box.lineHeight, 1);
}

// Keys page by what the list shows, and by one item at least.
int PageSize(const ComboBox &box)
{
    return std::max(ShownCount(box), 1);
}

// The simple kind shows its list always, under its field, as a child of its own.
bool IsSimple(HWND hwnd)
{
    return (GetWindowLongW(hwnd, GWL_STYLE) & CBS_DROPDOWNLIST) == CBS_SIMPLE;
}

bool TakesTyping(HWND hwnd)
{
    return (GetWindowLongW(hwnd, GWL_STYLE) & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST;
}

void Redraw(HWND hwnd, const ComboBox &box)
{
    InvalidateRect(hwnd, nullptr, FALSE);
    if (box.list) {
        InvalidateRect(box.list, nullptr, FALSE);
    }
}

int FontLineHeight(HWND hwnd, const ComboBox &box)
{
    HDC dc = GetDC(hwnd);
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(box.font));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previousFont);
    ReleaseDC(hwnd, dc);
    return metrics.tmHeight;
}

// The edit field fills the box inside its border, left of the button, a pixel in.
void PlaceField(HWND hwnd, const ComboBox &box)
{
    if (!box.field) {
        return;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    RECT area = {kBorder, kBorder, client.right - kBorder, kBorder + box.fieldHeight};
    if ((GetWindowLongW(hwnd, GWL_STYLE) & CBS_DROPDOWNLIST) != CBS_SIMPLE) {
        area.right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    InflateRect(&area, -kFieldInset, -kFieldInset);
    SetWindowPos(box.field, nullptr, area.left, area.top, std::max<int>(area.right - area.left, 0),
                 std::max<int>(area.bottom - area.top, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The simple kind's list fills the box under its field.
void PlaceSimpleList(HWND hwnd, const ComboBox &box)
{
    if (!box.list || !IsSimple(hwnd)) {
        return;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    const int top = std::min<int>(ClosedHeight(box), client.bottom);
    SetWindowPos(box.list, nullptr, 0, top, client.right, client.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The box is one field high whatever height it is given (the simple kind excepted, whose list
// shows under its field).
void Reshape(HWND hwnd, ComboBox &box)
{
    if ((GetWindowLongW(hwnd, GWL_STYLE) & CBS_DROPDOWNLIST) != CBS_SIMPLE) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        box.reshaping = true;
        SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left, ClosedHeight(box),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        box.reshaping = false;
    }
    PlaceField(hwnd, box);
    PlaceSimpleList(hwnd, box);
}

// The font sets the line. The box's height follows it, and the opened height by as much: the
// list under the box keeps its room.
void FitToFont(HWND hwnd, ComboBox &box)
{
    const int closedBefore = box.fieldHeight > 0 ? ClosedHeight(box) : 0;
    box.lineHeight = FontLineHeight(hwnd, box);
    box.fieldHeight = box.lineHeight + 2 * kFieldMargin;
    box.askedFieldHeight = 0;
    if (closedBefore > 0) {
        box.openedHeight += ClosedHeight(box) - closedBefore;
    }
    Reshape(hwnd, box);
}

// A size given from outside: more than the box's height sets the opened height, and the box keeps
// its own; a field set lower than the font's line grows back to it.
LRESULT OnPositionChanging(HWND hwnd, ComboBox &box, WINDOWPOS *position)
{
    if (box.reshaping || (position->flags & SWP_NOSIZE) != 0 ||
        (GetWindowLongW(hwnd, GWL_STYLE) & CBS_DROPDOWNLIST) == CBS_SIMPLE) {
        return 0;
    }
    if (box.fieldHeight < box.lineHeight + 2 * kFieldMargin) {
        box.fieldHeight = box.lineHeight + 2 * kFieldMargin;
        box.askedFieldHeight = 0;
    }
    if (position->cy > ClosedHeight(box)) {
        box.openedHeight = position->cy;
    }
    position->cy = ClosedHeight(box);
    return 0;
}

// CB_SETITEMHEIGHT: -1 sets the field's line, any other index the list's items.
LRESULT SetItemHeight(HWND hwnd, ComboBox &box, int index, LPARAM height)
{
    if (height <= 0 || height >= 32768 || index < -1) {
        return CB_ERR;
    }
    if (index == kNoItem) {
        box.fieldHeight = static_cast<int>(height) + kFieldMargin;
        box.askedFieldHeight = static_cast<int>(height);
        Reshape(hwnd, box);
    } else {
        box.lineHeight = static_cast<int>(height);
    }
    Redraw(hwnd, box);
    return CB_OKAY;
}

// CB_GETDROPPEDCONTROLRECT: the box with its open list, on the screen.
LRESULT DroppedRect(HWND hwnd, const ComboBox &box, RECT *rect)
{
    if (!rect) {
        return CB_ERR;
    }
    GetWindowRect(hwnd, rect);
    rect->right = rect->left + std::max<int>(box.droppedWidth, rect->right - rect->left);
    rect->bottom = rect->top + std::max(box.openedHeight, ClosedHeight(box));
    return CB_OKAY;
}

LRESULT SetVisibleItems(ComboBox &box, int count)
{
    if (count <= 0) {
        return FALSE;
    }
    box.visibleItems = count;
    return TRUE;
}

// CB_SETDROPPEDWIDTH: a width under the box's own asks for the box's.
LRESULT SetDroppedWidth(HWND hwnd, ComboBox &box, WPARAM width)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    const int own = rect.right - rect.left;
    if (static_cast<int>(width) >= own) {
        box.droppedWidth = static_cast<int>(width);
    } else if (width != 0) {
        box.droppedWidth = 0;
    }
    return std::max(box.droppedWidth, own);
}

// ---- Items ----

LRESULT Insert(HWND hwnd, ComboBox &box, int index, const WCHAR *text)
{
    if (index < 0) {
        index = Count(box);
    }
    if (index > Count(box)) {
        return CB_ERR;
    }
    box.items.insert(box.items.begin() + index, controls::FromWide(text));
    if (box.selected >= index) {
        ++box.selected;
    }
    Redraw(hwnd, box);
    return index;
}

// A sorted list places a new item before the first that sorts after it, ignoring case.
int SortedPlace(const ComboBox &box, const WCHAR *text)
{
    const auto after = std::find_if(box.items.begin(), box.items.end(), [text](const controls::Text &item) {
        return lstrcmpiW(controls::AsWide(item), text ? text : L"") > 0;
    });
    return static_cast<int>(after - box.items.begin());
}

LRESULT Delete(HWND hwnd, ComboBox &box, int index)
{
    if (!IsItem(box, index)) {
        return CB_ERR;
    }
    box.items.erase(box.items.begin() + index);
    if (box.selected == index) {
        box.selected = kNoItem;
    } else if (box.selected > index) {
        --box.selected;
    }
    box.hot = std::min(box.hot, Count(box) - 1);
    box.firstShown = 0;
    Redraw(hwnd, box);
    return Count(box);
}

// The first item after `start` equal to `text` ignoring case, wrapping round to the start.
LRESULT FindExact(const ComboBox &box, int start, const WCHAR *text)
{
    if (!IsItem(box, start)) {
        start = -1;
    }
    for (int step = 1; step <= Count(box); ++step) {
        const int index = (start + step) % Count(box);
        if (lstrcmpiW(controls::AsWide(box.items[static_cast<size_t>(index)]), text ? text : L"") == 0) {
            return index;
        }
    }
    return CB_ERR;
}

// An item's text; an index that is no item has none.
controls::Text ItemText(const ComboBox &box, int index)
{
    return IsItem(box, index) ? box.items[static_cast<size_t>(index)] : controls::Text();
}

// CB_GETLBTEXT: the caller's buffer is as long as CB_GETLBTEXTLEN said, plus the terminator.
LRESULT CopyItem(const ComboBox &box, int index, WCHAR *buffer)
{
    if (!IsItem(box, index) || !buffer) {
        return CB_ERR;
    }
    const controls::Text item = ItemText(box, index);
    return controls::CopyText(item, buffer, item.size() + 1);
}

// ---- The edit field ----

// The field shows the chosen item, all of it selected while the box has the focus.
void ShowChoiceInField(ComboBox &box)
{
    if (!box.field) {
        return;
    }
    box.fillingField = true;
    SetWindowTextW(box.field, controls::AsWide(ItemText(box, box.selected)));
    box.fillingField = false;
    if (box.focused) {
        SendMessageW(box.field, EM_SETSEL, 0, -1);
    }
}

// The box with a field keeps the focus there.
void FocusBox(HWND hwnd, const ComboBox &box)
{
    SetFocus(box.field ? box.field : hwnd);
}

// CB_GETEDITSEL and CB_SETEDITSEL are the field's EM_GETSEL and EM_SETSEL; CB_SETEDITSEL packs
// both ends, -1 each, in one word.
LRESULT FieldSelection(const ComboBox &box, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!box.field) {
        return CB_ERR;
    }
    if (message == CB_GETEDITSEL) {
        return SendMessageW(box.field, EM_GETSEL, wParam, lParam);
    }
    const auto start = static_cast<SHORT>(LOWORD(lParam));
    const auto end = static_cast<SHORT>(HIWORD(lParam));
    SendMessageW(box.field, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    return TRUE;
}

// ---- Selection, opening and closing ----

// Makes `index` the chosen item (kNoItem for none); returns whether that changed anything.
bool Choose(HWND hwnd, ComboBox &box, int index)
{
    if (box.selected == index) {
        return false;
    }
    box.selected = index;
    box.hot = index;
    if (index != kNoItem) {
        const int shown = PageSize(box);
        box.firstShown = std::clamp(box.firstShown, std::max(index - shown + 1, 0), index);
    }
    Redraw(hwnd, box);
    return true;
}

void PlaceList(HWND hwnd, const ComboBox &box)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    const int width = std::max<int>(box.droppedWidth, rect.right - rect.left);
    RECT listRect = {0, 0, width, ListHeight(box)};
    AdjustWindowRectEx(&listRect, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    const int height = listRect.bottom - listRect.top;
    // Under the box, or above it when the screen ends first.
    const bool fitsBelow = rect.bottom + height <= GetSystemMetrics(SM_CYSCREEN);
    const int top = fitsBelow ? rect.bottom : rect.top - height;
    SetWindowPos(box.list, HWND_TOPMOST, rect.left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Open(HWND hwnd, ComboBox &box)
{
    if (box.dropped || IsSimple(hwnd)) {
        return;
    }
    controls::NotifyParent(hwnd, CBN_DROPDOWN);
    box.dropped = true;
    box.selectedWhenOpened = box.selected;
    box.hot = box.selected;
    box.firstShown = std::clamp(box.selected, 0, std::max(Count(box) - ShownCount(box), 0));
    PlaceList(hwnd, box);
    SetCapture(hwnd);
    Redraw(hwnd, box);
}

// How the open list closes: confirmed, the marked item becomes the chosen one; cancelled, the
// choice stays.
enum class CloseAs { Confirmed, Cancelled };

// Closes the open list; a change of the choice is reported after the list has closed, as Windows
// does. Returns whether it changed.
bool Close(HWND hwnd, ComboBox &box, CloseAs closing)
{
    if (!box.dropped) {
        return false;
    }
    box.dropped = false;
    box.tracking = false;
    ShowWindow(box.list, SW_HIDE);
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    const bool confirmed = closing == CloseAs::Confirmed;
    const bool changed = confirmed && box.hot != kNoItem && Choose(hwnd, box, box.hot);
    controls::NotifyParent(hwnd, confirmed ? CBN_SELENDOK : CBN_SELENDCANCEL);
    controls::NotifyParent(hwnd, CBN_CLOSEUP);
    if (changed) {
        controls::NotifyParent(hwnd, CBN_SELCHANGE);
        ShowChoiceInField(box);
    }
    Redraw(hwnd, box);
    return changed;
}

// F4, Alt+Down and Alt+Up open the list, and close it as Escape does.
void ToggleList(HWND hwnd, ComboBox &box)
{
    if (box.dropped) {
        Close(hwnd, box, CloseAs::Cancelled);
    } else {
        Open(hwnd, box);
    }
}

// Keys and typed initials move the choice at once. On a closed list each step is also confirmed,
// and Windows reports the confirmation first.
void Step(HWND hwnd, ComboBox &box, int index)
{
    if (Count(box) == 0) {
        return;
    }
    // A step is reported even where it changes nothing, at either end of the list.
    Choose(hwnd, box, std::clamp(index, 0, Count(box) - 1));
    if (!box.dropped) {
        controls::NotifyParent(hwnd, CBN_SELENDOK);
    }
    // The field shows the new choice only after the parent has heard of it.
    controls::NotifyParent(hwnd, CBN_SELCHANGE);
    ShowChoiceInField(box);
}

LRESULT OnKeyDown(HWND hwnd, ComboBox &box, WPARAM key)
{
    const int current = box.selected;
    switch (key) {
    case VK_UP:
    case VK_LEFT: Step(hwnd, box, current == kNoItem ? 0 : current - 1); return 0;
    case VK_DOWN:
    case VK_RIGHT: Step(hwnd, box, current + 1); return 0;
    case VK_PRIOR: Step(hwnd, box, current - PageSize(box) + 1); return 0;
    case VK_NEXT: Step(hwnd, box, current + PageSize(box) - 1); return 0;
    case VK_HOME: Step(hwnd, box, 0); return 0;
    case VK_END: Step(hwnd, box, Count(box) - 1); return 0;
    case VK_F4: ToggleList(hwnd, box); return 0;
    case VK_RETURN: Close(hwnd, box, CloseAs::Confirmed); return 0;
    case VK_ESCAPE: Close(hwnd, box, CloseAs::Cancelled); return 0;
    default: return box.field ? SendMessageW(box.field, WM_KEYDOWN, key, 0) : 0;
    }
}

// The open list scrolls as a list box does, by the lines a notch scrolls (no more than it shows),
// and leaves the marked item alone.
void ScrollOpenList(ComboBox &box, int delta)
{
    UINT linesPerNotch = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
    const int lines = std::min(static_cast<int>(linesPerNotch), ShownCount(box));
    if (lines <= 0) {
        return;
    }
    platform::AddWheelTurn(box.wheelRemainder, delta);
    const int scrolled = lines * box.wheelRemainder / WHEEL_DELTA;
    box.wheelRemainder -= WHEEL_DELTA * scrolled / lines;
    const int first = std::clamp(box.firstShown - scrolled, 0, std::max(Count(box) - ShownCount(box), 0));
    if (first != box.firstShown) {
        box.firstShown = first;
        InvalidateRect(box.list, nullptr, FALSE);
    }
}

// Over the closed list each notch of the wheel steps as the Up or Down key does; the open one
// scrolls. With Shift or Ctrl held the wheel goes on to the parent.
LRESULT OnWheel(HWND hwnd, ComboBox &box, WPARAM wParam, LPARAM lParam)
{
    if ((GET_KEYSTATE_WPARAM(wParam) & (MK_SHIFT | MK_CONTROL)) != 0) {
        return DefWindowProcW(hwnd, WM_MOUSEWHEEL, wParam, lParam);
    }
    if (box.dropped) {
        ScrollOpenList(box, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    }
    for (int notches = platform::WheelNotches(box.wheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam));
         notches != 0; notches += notches > 0 ? -1 : 1) {
        OnKeyDown(hwnd, box, notches > 0 ? VK_UP : VK_DOWN);
    }
    return TRUE;
}

LRESULT OnSysKeyDown(HWND hwnd, ComboBox &box, WPARAM key, LPARAM lParam)
{
    if (key == VK_DOWN || key == VK_UP) {
        ToggleList(hwnd, box);
        return 0;
    }
    return DefWindowProcW(hwnd, WM_SYSKEYDOWN, key, lParam);
}

// A typed character chooses the next item that starts with it, ignoring case, round to the start.
LRESULT OnChar(HWND hwnd, ComboBox &box, WCHAR character)
{
    const WCHAR typed[] = {character, 0};
    for (int step = 1; step <= Count(box); ++step) {
        const int index = (box.selected + step) % Count(box);
        const controls::Text item = ItemText(box, index);
        const WCHAR initial[] = {item.empty() ? WCHAR{0} : static_cast<WCHAR>(item[0]), 0};
        if (initial[0] != 0 && lstrcmpiW(initial, typed) == 0) {
            Step(hwnd, box, index);
            return 0;
        }
    }
    return 0;
}

// ---- Mouse ----

// The item of the open list under a point of the box's client area, or kNoItem.
int ItemAt(const ComboBox &box, HWND hwnd, LPARAM lParam)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(hwnd, box.list, &point, 1);
    RECT client;
    GetClientRect(box.list, &client);
    if (!PtInRect(&client, point)) {
        return kNoItem;
    }
    const int index = box.firstShown + point.y / std::max(box.lineHeight, 1);
    return IsItem(box, index) ? index : kNoItem;
}

// A press in the simple kind's list chooses the item under it at once.
LRESULT OnSimpleListPress(HWND hwnd, ComboBox &box, LPARAM lParam)
{
    FocusBox(hwnd, box);
    const int item = ItemAt(box, hwnd, lParam);
    if (item != kNoItem && Choose(hwnd, box, item)) {
        controls::NotifyParent(hwnd, CBN_SELCHANGE);
        ShowChoiceInField(box);
    }
    return TRUE;
}

LRESULT OnButtonDown(HWND hwnd, ComboBox &box, LPARAM lParam)
{
    if (IsSimple(hwnd)) {
        return OnSimpleListPress(hwnd, box, lParam);
    }
    if (!box.dropped) {
        FocusBox(hwnd, box);
        Open(hwnd, box);
        box.tracking = true;
        box.pressedInList = false;
        return TRUE;
    }
    // With the list open, a click outside it closes it and takes back what was chosen since it
    // opened, quietly.
    const int item = ItemAt(box, hwnd, lParam);
    if (item == kNoItem) {
        box.selected = box.selectedWhenOpened;
        Close(hwnd, box, CloseAs::Cancelled);
        return TRUE;
    }
    box.hot = item;
    box.tracking = true;
    box.pressedInList = true;
    Redraw(hwnd, box);
    return TRUE;
}

LRESULT OnMouseMove(HWND hwnd, ComboBox &box, LPARAM lParam)
{
    const int item = box.dropped ? ItemAt(box, hwnd, lParam) : kNoItem;
    if (item != kNoItem && item != box.hot) {
        box.hot = item;
        Redraw(hwnd, box);
    }
    return 0;
}

// A release over an item confirms it; the release of the click that opened the list, over the
// box, leaves it open.
LRESULT OnButtonUp(HWND hwnd, ComboBox &box, LPARAM lParam)
{
    if (!box.dropped || !box.tracking) {
        return TRUE;
    }
    box.tracking = false;
    // Released on an item, or anywhere after a press in the list, the marked item is chosen.
    const int item = ItemAt(box, hwnd, lParam);
    if (item != kNoItem || box.pressedInList) {
        box.hot = item != kNoItem ? item : box.hot;
        // An item chosen with the mouse is reported as a change even when it was chosen already.
        if (!Close(hwnd, box, CloseAs::Confirmed)) {
            controls::NotifyParent(hwnd, CBN_SELCHANGE);
        }
    }
    return TRUE;
}

// ---- Painting ----

using controls::FillArea;

// A two-pixel frame; each ring has one colour for its top and left sides, one for the others.
void DrawBevel(HDC dc, RECT rect, int outerTopLeft, int outerBottomRight, int innerTopLeft,
               int innerBottomRight)
{
    const int colors[2][2] = {{outerTopLeft, outerBottomRight}, {innerTopLeft, innerBottomRight}};
    for (const auto &pair : colors) {
        FillArea(dc, rect.left, rect.top, rect.right, rect.top + 1, pair[0]);
        FillArea(dc, rect.left, rect.top, rect.left + 1, rect.bottom, pair[0]);
        FillArea(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom, pair[1]);
        FillArea(dc, rect.right - 1, rect.top, rect.right, rect.bottom, pair[1]);
        InflateRect(&rect, -1, -1);
    }
}

void DrawArrow(HDC dc, const RECT &button, bool enabled)
{
    const int left = (button.left + button.right - kArrowWidth) / 2;
    const int top = (button.top + button.bottom - kArrowRows) / 2;
    for (int row = 0; row < kArrowRows; ++row) {
        FillArea(dc, left + row, top + row, left + kArrowWidth - row, top + row + 1,
                 enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    }
}

void DrawItem(HDC dc, const ComboBox &box, int index, RECT rect, bool marked)
{
    if (marked) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    if (IsItem(box, index)) {
        const controls::Text text = ItemText(box, index);
        rect.left += kFieldMargin;
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, controls::AsWide(text), static_cast<int>(text.size()), &rect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

// The drop-down button at the right end of the box, inside its border (client coordinates).
RECT ButtonRect(HWND hwnd)
{
    RECT button;
    GetClientRect(hwnd, &button);
    InflateRect(&button, -kBorder, -kBorder);
    const bool simple = (GetWindowLongW(hwnd, GWL_STYLE) & CBS_DROPDOWNLIST) == CBS_SIMPLE;
    button.left =
        simple ? button.right : std::max(button.left, button.right - GetSystemMetrics(SM_CXVSCROLL));
    return button;
}

// The box's parts, as GetComboBoxInfo reports them.
LRESULT GetInfo(HWND hwnd, const ComboBox &box, COMBOBOXINFO *info)
{
    if (info == nullptr || info->cbSize != sizeof(COMBOBOXINFO)) {
        return FALSE;
    }
    info->rcButton = ButtonRect(hwnd);
    GetClientRect(hwnd, &info->rcItem);
    InflateRect(&info->rcItem, -kBorder, -kBorder);
    info->rcItem.right = info->rcButton.left;
    info->rcItem.bottom = info->rcItem.top + box.fieldHeight;
    if (box.field) {
        InflateRect(&info->rcItem, -kFieldInset, -kFieldInset);
    }
    info->stateButton = box.dropped && box.tracking ? STATE_SYSTEM_PRESSED : 0;
    info->hwndCombo = hwnd;
    info->hwndItem = box.field; // none in a drop-down list
    info->hwndList = box.list;
    return TRUE;
}

void Paint(HWND hwnd, const ComboBox &box, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HBRUSH background = controls::ParentBrush(hwnd, dc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
    FillRect(dc, &client, background);
    DrawBevel(dc, client, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DDKSHADOW, COLOR_3DFACE);

    const RECT button = ButtonRect(hwnd);
    const bool pushed = box.dropped && box.tracking;
    if (pushed) {
        FillArea(dc, button.left, button.top, button.right, button.bottom, COLOR_3DSHADOW);
        FillArea(dc, button.left + 1, button.top + 1, button.right - 1, button.bottom - 1, COLOR_3DFACE);
    } else {
        FillArea(dc, button.left, button.top, button.right, button.bottom, COLOR_3DFACE);
        DrawBevel(dc, button, COLOR_3DFACE, COLOR_3DDKSHADOW, COLOR_3DHILIGHT, COLOR_3DSHADOW);
    }
    DrawArrow(dc, button, enabled);

    RECT field = {client.left + kBorder + 1, client.top + kBorder + 1, button.left - 1,
                  client.bottom - kBorder - 1};
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(box.font));
    if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    if (!box.field) { // the edit field shows the text itself
        DrawItem(dc, box, box.selected, field, enabled && box.focused && !box.dropped);
    }
    SelectObject(dc, previousFont);
}

void PaintList(HWND list, const ComboBox &box, HDC dc)
{
    RECT client;
    GetClientRect(list, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(box.font));
    for (int index = box.firstShown; index < Count(box); ++index) {
        const int top = (index - box.firstShown) * box.lineHeight;
        if (top >= client.bottom) {
            break;
        }
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawItem(dc, box, index, {client.left, top, client.right, top + box.lineHeight}, index == box.hot);
    }
    SelectObject(dc, previousFont);
}

// The box tracks the mouse over its list (it holds the capture while the list is open): what
// reaches the list itself goes to the box, in the box's coordinates.
LRESULT PassMouseToBox(HWND list, HWND owner, UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(list, owner, &point, 1);
    SendMessageW(owner, message, wParam, MAKELPARAM(point.x, point.y));
    return 0;
}

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrW(list, 0));
    const ComboBox *box = owner ? controls::StateOf<ComboBox>(owner) : nullptr;
    if (!box) {
        return DefWindowProcW(list, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(list, &paint);
        PaintList(list, *box, dc);
        EndPaint(list, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: return PassMouseToBox(list, owner, message, wParam, lParam);
    case LB_GETITEMHEIGHT: return box->lineHeight;
    case LB_GETCOUNT: return Count(*box);
    default: return DefWindowProcW(list, message, wParam, lParam);
    }
}

LRESULT GetDialogCode(const ComboBox &box, const MSG *message)
{
    // An open list takes Enter and Escape for itself rather than the dialog's buttons.
    const bool listKey = message && message->message == WM_KEYDOWN &&
                         (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE);
    return DLGC_WANTCHARS | DLGC_WANTARROWS | (box.dropped && listKey ? DLGC_WANTMESSAGE : 0);
}

// ---- Message handlers ----

LRESULT OnDestroy(HWND hwnd, const ComboBox &box)
{
    if (box.list) {
        DestroyWindow(box.list);
    }
    controls::DestroyState<ComboBox>(hwnd);
    return 0;
}

LRESULT OnPaint(HWND hwnd, const ComboBox &box)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    Paint(hwnd, box, dc);
    EndPaint(hwnd, &paint);
    return 0;
}

// The box's text is its chosen item's.
LRESULT CopyChosenText(const ComboBox &box, WCHAR *buffer, size_t capacity)
{
    return controls::CopyText(ItemText(box, box.selected), buffer, capacity);
}

// The open list lives on the capture; losing it to another window closes the list.
LRESULT OnCaptureChanged(HWND hwnd, ComboBox &box, LPARAM newCapture)
{
    if (reinterpret_cast<HWND>(newCapture) != hwnd) {
        Close(hwnd, box, CloseAs::Cancelled);
    }
    return 0;
}

// The list's style follows the box's: its sorting, strings and scrolling, and its kind.
DWORD ListStyle(DWORD boxStyle)
{
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | LBS_COMBOBOX | LBS_NOTIFY | (boxStyle & WS_VSCROLL);
    const std::pair<DWORD, DWORD> passed[] = {{CBS_SORT, LBS_SORT},
                                              {CBS_HASSTRINGS, LBS_HASSTRINGS},
                                              {CBS_NOINTEGRALHEIGHT, LBS_NOINTEGRALHEIGHT},
                                              {CBS_DISABLENOSCROLL, LBS_DISABLENOSCROLL}};
    for (const auto &[boxBit, listBit] : passed) {
        style |= (boxStyle & boxBit) != 0 ? listBit : 0;
    }
    // A box that does not draw its own items holds strings, whether it says so or not.
    if ((boxStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) == 0) {
        style |= LBS_HASSTRINGS;
    }
    return style | ((boxStyle & CBS_DROPDOWNLIST) == CBS_SIMPLE ? WS_VISIBLE : WS_BORDER);
}

// The window that holds the box on the screen: the open list goes with it.
HWND RootOf(HWND hwnd)
{
    for (HWND parent = GetParent(hwnd); (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0 &&
                                        parent != nullptr && parent != GetDesktopWindow();
         parent = GetParent(hwnd)) {
        hwnd = parent;
    }
    return hwnd;
}

// The simple kind's list is the box's child with a sunken edge; a drop-down list is a child of the
// desktop, so that it may reach past the box's window, owned by that window.
HWND CreateList(HWND hwnd)
{
    const auto boxStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const bool simple = (boxStyle & CBS_DROPDOWNLIST) == CBS_SIMPLE;
    HWND list = CreateWindowExW(simple ? WS_EX_CLIENTEDGE : WS_EX_TOOLWINDOW, kListClassName, L"",
                                ListStyle(boxStyle), 0, 0, 0, 0, simple ? hwnd : GetDesktopWindow(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
    if (list && !simple) {
        SetWindowLongPtrW(list, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(RootOf(hwnd)));
    }
    return list;
}

// The list, and for the kinds that take typing the edit field, are made with the box.
LRESULT OnCreate(HWND hwnd, ComboBox &box)
{
    box.list = CreateList(hwnd);
    SetWindowLongPtrW(box.list, 0, reinterpret_cast<LONG_PTR>(hwnd));
    box.wholeItems = (GetWindowLongW(hwnd, GWL_STYLE) & CBS_NOINTEGRALHEIGHT) == 0;
    if (TakesTyping(hwnd)) {
        box.field =
            CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL, 0, 0, 0, 0,
                            hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)), nullptr, nullptr);
    }
    FitToFont(hwnd, box);
    return 0;
}

// The field's focus is the box's: it selects its text and the parent hears from the box.
LRESULT OnFieldFocus(HWND hwnd, ComboBox &box)
{
    box.focused = true;
    SendMessageW(box.field, EM_SETSEL, 0, INT_MAX);
    Redraw(hwnd, box);
    controls::NotifyParent(hwnd, CBN_SETFOCUS);
    return 0;
}

LRESULT OnFieldFocusLost(HWND hwnd, ComboBox &box)
{
    box.focused = false;
    Close(hwnd, box, CloseAs::Cancelled);
    SendMessageW(box.field, EM_SETSEL, 0, 0);
    Redraw(hwnd, box);
    controls::NotifyParent(hwnd, CBN_KILLFOCUS);
    return 0;
}

// What the field reports comes to the parent as the box's own news.
LRESULT OnFieldNotice(HWND hwnd, ComboBox &box, WPARAM wParam, LPARAM lParam)
{
    if (!box.field || reinterpret_cast<HWND>(lParam) != box.field) {
        return 0;
    }
    switch (HIWORD(wParam)) {
    case EN_SETFOCUS: return OnFieldFocus(hwnd, box);
    case EN_KILLFOCUS: return OnFieldFocusLost(hwnd, box);
    case EN_CHANGE:
        if (!box.fillingField) {
            controls::NotifyParent(hwnd, CBN_EDITCHANGE);
        }
        return 0;
    case EN_UPDATE:
        if (!box.fillingField) {
            controls::NotifyParent(hwnd, CBN_EDITUPDATE);
        }
        return 0;
    default: return 0;
    }
}

LRESULT OnSetFocus(HWND hwnd, ComboBox &box)
{
    if (box.field) {
        SetFocus(box.field);
        return 0;
    }
    box.focused = true;
    Redraw(hwnd, box);
    controls::NotifyParent(hwnd, CBN_SETFOCUS);
    return 0;
}

// Leaving the box cancels a choice under way, and says so even when the list is closed.
LRESULT OnKillFocus(HWND hwnd, ComboBox &box)
{
    if (box.field) {
        return 0; // passing the focus to its field: the field's own loss is the box's
    }
    box.focused = false;
    if (box.dropped) {
        Close(hwnd, box, CloseAs::Cancelled);
    } else {
        controls::NotifyParent(hwnd, CBN_SELENDCANCEL);
    }
    Redraw(hwnd, box);
    controls::NotifyParent(hwnd, CBN_KILLFOCUS);
    return 0;
}

LRESULT OnEnable(HWND hwnd, ComboBox &box, WPARAM enabled)
{
    if (!enabled) {
        Close(hwnd, box, CloseAs::Cancelled);
    }
    Redraw(hwnd, box);
    return 0;
}

LRESULT OnSetFont(HWND hwnd, ComboBox &box, WPARAM font, LPARAM redraw)
{
    box.font = reinterpret_cast<HFONT>(font);
    if (box.field) {
        SendMessageW(box.field, WM_SETFONT, font, redraw);
    }
    FitToFont(hwnd, box);
    if (LOWORD(redraw)) {
        Redraw(hwnd, box);
    }
    return 0;
}

LRESULT AddString(HWND hwnd, ComboBox &box, const WCHAR *text)
{
    const bool sorted = GetWindowLongW(hwnd, GWL_STYLE) & CBS_SORT;
    return Insert(hwnd, box, sorted ? SortedPlace(box, text) : Count(box), text);
}

LRESULT ResetContent(HWND hwnd, ComboBox &box)
{
    box.items.clear();
    box.selected = box.hot = kNoItem;
    box.firstShown = 0;
    Redraw(hwnd, box);
    return CB_OKAY;
}

// CB_SETCURSEL is quiet: the program chose, so nobody is told. An index out of range changes
// nothing.
LRESULT SetChosen(HWND hwnd, ComboBox &box, int index)
{
    if (index == kNoItem) {
        Choose(hwnd, box, kNoItem);
        ShowChoiceInField(box);
        return CB_ERR;
    }
    if (!IsItem(box, index)) {
        return CB_ERR;
    }
    Choose(hwnd, box, index);
    ShowChoiceInField(box);
    return index;
}

LRESULT ItemLength(const ComboBox &box, int index)
{
    return IsItem(box, index) ? static_cast<LRESULT>(ItemText(box, index).size()) : CB_ERR;
}

LRESULT ShowList(HWND hwnd, ComboBox &box, WPARAM show)
{
    if (show) {
        Open(hwnd, box);
    } else {
        Close(hwnd, box, CloseAs::Cancelled);
    }
    return TRUE;
}

// -1 asks for the field's height (as CB_SETITEMHEIGHT set it, though the field keeps a margin
// more), any other index for the list's items'.
LRESULT ItemHeight(const ComboBox &box, int index)
{
    if (index == kNoItem) {
        return box.askedFieldHeight > 0 ? box.askedFieldHeight : box.fieldHeight;
    }
    return index >= 0 ? box.lineHeight : CB_ERR;
}

bool AsksForColors(UINT message)
{
    return message == WM_CTLCOLOR || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

// The messages of the box's own (CB_*); false when `message` is none of them.
bool OnBoxMessage(HWND hwnd, ComboBox &box, UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result)
{
    const int index = static_cast<int>(wParam);
    switch (message) {
    case CB_ADDSTRING: result = AddString(hwnd, box, reinterpret_cast<const WCHAR *>(lParam)); return true;
    case CB_INSERTSTRING:
        result = Insert(hwnd, box, index, reinterpret_cast<const WCHAR *>(lParam));
        return true;
    case CB_DELETESTRING: result = Delete(hwnd, box, index); return true;
    case CB_RESETCONTENT: result = ResetContent(hwnd, box); return true;
    case CB_GETCOUNT: result = Count(box); return true;
    case CB_GETCURSEL: result = box.selected == kNoItem ? CB_ERR : box.selected; return true;
    case CB_SETCURSEL: result = SetChosen(hwnd, box, index); return true;
    case CB_GETLBTEXT: result = CopyItem(box, index, reinterpret_cast<WCHAR *>(lParam)); return true;
    case CB_GETLBTEXTLEN: result = ItemLength(box, index); return true;
    case CB_FINDSTRINGEXACT:
        result = FindExact(box, index, reinterpret_cast<const WCHAR *>(lParam));
        return true;
    case CB_SHOWDROPDOWN: result = ShowList(hwnd, box, wParam); return true;
    case CB_GETDROPPEDSTATE: result = box.dropped ? TRUE : FALSE; return true;
    case CB_GETITEMHEIGHT: result = ItemHeight(box, index); return true;
    case CB_SETITEMHEIGHT: result = SetItemHeight(hwnd, box, index, lParam); return true;
    case CB_GETDROPPEDCONTROLRECT:
        result = DroppedRect(hwnd, box, reinterpret_cast<RECT *>(lParam));
        return true;
    case CB_GETDROPPEDWIDTH: result = SetDroppedWidth(hwnd, box, 0); return true;
    case CB_SETDROPPEDWIDTH: result = SetDroppedWidth(hwnd, box, wParam); return true;
    case CB_GETEDITSEL:
    case CB_SETEDITSEL: result = FieldSelection(box, message, wParam, lParam); return true;
    case CB_GETCOMBOBOXINFO:
        result = GetInfo(hwnd, box, reinterpret_cast<COMBOBOXINFO *>(lParam));
        return true;
    case CB_SETMINVISIBLE: result = SetVisibleItems(box, index); return true;
    case CB_GETMINVISIBLE: result = box.visibleItems; return true;
    default: return false;
    }
}

// The box's text is its field's, or its chosen item's when it has none.
LRESULT OnText(HWND hwnd, const ComboBox &box, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (box.field) {
        return SendMessageW(box.field, message, wParam, lParam);
    }
    switch (message) {
    case WM_GETTEXT: return CopyChosenText(box, reinterpret_cast<WCHAR *>(lParam), wParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(ItemText(box, box.selected).size());
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The colours its parts ask for are the parent's to give; a box without one gives none.
    if (AsksForColors(message)) {
        return SendMessageW(GetParent(hwnd), message, wParam, lParam);
    }
    if (message == WM_NCCREATE) {
        controls::CreateState<ComboBox>(hwnd)->openedHeight =
            reinterpret_cast<const CREATESTRUCTW *>(lParam)->cy;
    }
    ComboBox *box = controls::StateOf<ComboBox>(hwnd);
    LRESULT result = 0;
    if (!box) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (OnBoxMessage(hwnd, *box, message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_CREATE: return OnCreate(hwnd, *box);
    case WM_DESTROY: return OnDestroy(hwnd, *box);
    case WM_PAINT: return OnPaint(hwnd, *box);
    case WM_PRINTCLIENT: Paint(hwnd, *box, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: return OnText(hwnd, *box, message, wParam, lParam);
    case WM_WINDOWPOSCHANGING: return OnPositionChanging(hwnd, *box, reinterpret_cast<WINDOWPOS *>(lParam));
    case WM_SIZE:
        PlaceField(hwnd, *box);
        PlaceSimpleList(hwnd, *box);
        return 0;
    case WM_COMMAND: return OnFieldNotice(hwnd, *box, wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, *box, wParam);
    case WM_CHAR:
        return box->field ? SendMessageW(box->field, message, wParam, lParam)
                          : OnChar(hwnd, *box, static_cast<WCHAR>(wParam));
    case WM_SYSKEYDOWN: return OnSysKeyDown(hwnd, *box, wParam, lParam);
    case WM_MOUSEWHEEL: return OnWheel(hwnd, *box, wParam, lParam);
    // The open list holds the mouse for itself, a window of its own with no parent to ask for a
    // context menu.
    case WM_RBUTTONUP: return box->dropped ? 0 : DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: return OnButtonDown(hwnd, *box, lParam);
    // A second click soon after the last one on the closed box is a double click, which the box
    // ignores: the list opens on presses only. In the open list it is a press like any other.
    case WM_LBUTTONDBLCLK: return box->dropped ? OnButtonDown(hwnd, *box, lParam) : 0;
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, *box, lParam);
    case WM_LBUTTONUP: return OnButtonUp(hwnd, *box, lParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(hwnd, *box, lParam);
    case WM_SETFOCUS: return OnSetFocus(hwnd, *box);
    case WM_KILLFOCUS: return OnKillFocus(hwnd, *box);
    case WM_ENABLE: return OnEnable(hwnd, *box, wParam);
    case WM_SETFONT: return OnSetFont(hwnd, *box, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(box->font);
    case WM_GETDLGCODE: return GetDialogCode(*box, reinterpret_cast<const MSG *>(lParam));
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterComboBoxClass()
{
    controls::RegisterControlClass(L"ComboBox", ComboBoxProc);
    controls::RegisterControlClass(kListClassName, ListProc);
}

BOOL WINAPI GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi)
{
    return SendMessageW(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)) != 0 ? TRUE : FALSE;
}
