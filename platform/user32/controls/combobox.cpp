// The combo box of the drop-down list kind: a field that shows the chosen item, and a popup list
// that opens under it. The box keeps the mouse captured while the list is open, so every click,
// in the list or outside it, comes here.
#include "controls.h"

#include "wheel.h"

#include <algorithm>
#include <vector>

namespace {

constexpr WCHAR kListClassName[] = L"ComboLBox";
constexpr int kNoItem = -1;

// Pixels: the field's margin around its line of text and the box's sunken border.
constexpr int kFieldMargin = 2;
constexpr int kBorder = 2;
// The arrow on the button: its widest row, and how many rows it narrows by 2 pixels.
constexpr int kArrowWidth = 7;
constexpr int kArrowRows = 4;

struct ComboBox {
    std::vector<controls::Text> items;
    int selected = kNoItem;
    int hot = kNoItem;  // the item marked in the open list
    int firstShown = 0; // the open list's first visible item
    int selectedWhenOpened = kNoItem;
    HWND list = nullptr; // the popup list, made when it first opens
    HFONT font = nullptr;
    int openedHeight = 0; // the height the box was created with: the box and its open list
    int lineHeight = 0;
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
    return box.lineHeight + 2 * kFieldMargin + 2 * kBorder;
}

// How many items the open list shows at once: what fits in the opened height, at least one.
int ShownCount(const ComboBox &box)
{
    const int room = std::max((box.openedHeight - ClosedHeight(box)) / std::max(box.lineHeight, 1), 1);
    return std::max(std::min(Count(box), room), 1);
}

void Redraw(HWND hwnd, const ComboBox &box)
{
    InvalidateRect(hwnd, nullptr, FALSE);
    if (box.list) {
        InvalidateRect(box.list, nullptr, FALSE);
    }
}

// The box is one line high whatever height it was created with; the font sets the line.
void FitToFont(HWND hwnd, ComboBox &box)
{
    HDC dc = GetDC(hwnd);
    HGDIOBJ previousFont = SelectObject(dc, controls::DrawingFont(box.font));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previousFont);
    ReleaseDC(hwnd, dc);
    box.lineHeight = metrics.tmHeight;

    RECT rect;
    GetWindowRect(hwnd, &rect);
    SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left, ClosedHeight(box),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
        const int shown = ShownCount(box);
        box.firstShown = std::clamp(box.firstShown, std::max(index - shown + 1, 0), index);
    }
    Redraw(hwnd, box);
    return true;
}

void PlaceList(HWND hwnd, const ComboBox &box)
{
    RECT rect;
    GetWindowRect(hwnd, &rect);
    RECT listRect = {0, 0, rect.right - rect.left, ShownCount(box) * box.lineHeight};
    AdjustWindowRectEx(&listRect, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    const int height = listRect.bottom - listRect.top;
    // Under the box, or above it when the screen ends first.
    const bool fitsBelow = rect.bottom + height <= GetSystemMetrics(SM_CYSCREEN);
    const int top = fitsBelow ? rect.bottom : rect.top - height;
    SetWindowPos(box.list, HWND_TOPMOST, rect.left, top, rect.right - rect.left, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Open(HWND hwnd, ComboBox &box)
{
    if (box.dropped) {
        return;
    }
    controls::NotifyParent(hwnd, CBN_DROPDOWN);
    if (!box.list) {
        box.list = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kListClassName, L"",
                                   WS_POPUP | WS_BORDER, 0, 0, 0, 0, hwnd, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(box.list, 0, reinterpret_cast<LONG_PTR>(hwnd));
    }
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
    controls::NotifyParent(hwnd, CBN_SELCHANGE);
}

LRESULT OnKeyDown(HWND hwnd, ComboBox &box, WPARAM key)
{
    const int current = box.selected;
    switch (key) {
    case VK_UP:
    case VK_LEFT: Step(hwnd, box, current == kNoItem ? 0 : current - 1); return 0;
    case VK_DOWN:
    case VK_RIGHT: Step(hwnd, box, current + 1); return 0;
    case VK_PRIOR: Step(hwnd, box, current - ShownCount(box) + 1); return 0;
    case VK_NEXT: Step(hwnd, box, current + ShownCount(box) - 1); return 0;
    case VK_HOME: Step(hwnd, box, 0); return 0;
    case VK_END: Step(hwnd, box, Count(box) - 1); return 0;
    case VK_F4: ToggleList(hwnd, box); return 0;
    case VK_RETURN: Close(hwnd, box, CloseAs::Confirmed); return 0;
    case VK_ESCAPE: Close(hwnd, box, CloseAs::Cancelled); return 0;
    default: return 0;
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

LRESULT OnButtonDown(HWND hwnd, ComboBox &box, LPARAM lParam)
{
    if (!box.dropped) {
        SetFocus(hwnd);
        Open(hwnd, box);
        box.tracking = true;
        box.pressedInList = false;
        return 0;
    }
    // With the list open, a click outside it closes it and takes back what was chosen since it
    // opened, quietly.
    const int item = ItemAt(box, hwnd, lParam);
    if (item == kNoItem) {
        box.selected = box.selectedWhenOpened;
        Close(hwnd, box, CloseAs::Cancelled);
        return 0;
    }
    box.hot = item;
    box.tracking = true;
    box.pressedInList = true;
    Redraw(hwnd, box);
    return 0;
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
        return 0;
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
    return 0;
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
    button.left = std::max(button.left, button.right - GetSystemMetrics(SM_CXVSCROLL));
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
    info->stateButton = box.dropped && box.tracking ? STATE_SYSTEM_PRESSED : 0;
    info->hwndCombo = hwnd;
    info->hwndItem = nullptr; // a drop-down list has no edit field
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
    DrawItem(dc, box, box.selected, field, enabled && box.focused && !box.dropped);
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

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrW(list, 0));
    const ComboBox *box = owner ? controls::StateOf<ComboBox>(owner) : nullptr;
    if (message == WM_PAINT && box) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(list, &paint);
        PaintList(list, *box, dc);
        EndPaint(list, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return 1; // the paint fills the background itself
    }
    return DefWindowProcW(list, message, wParam, lParam);
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

LRESULT OnSetFocus(HWND hwnd, ComboBox &box)
{
    box.focused = true;
    Redraw(hwnd, box);
    controls::NotifyParent(hwnd, CBN_SETFOCUS);
    return 0;
}

// Leaving the box cancels a choice under way, and says so even when the list is closed.
LRESULT OnKillFocus(HWND hwnd, ComboBox &box)
{
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
        return CB_ERR;
    }
    if (!IsItem(box, index)) {
        return CB_ERR;
    }
    Choose(hwnd, box, index);
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

// -1 asks for the field's height, any other index for the list's items'.
LRESULT ItemHeight(const ComboBox &box, int index)
{
    if (index == kNoItem) {
        return box.lineHeight + 2 * kFieldMargin;
    }
    return index >= 0 ? box.lineHeight : CB_ERR;
}

bool AsksForColors(UINT message)
{
    return message == WM_CTLCOLOR || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The colours its parts ask for are the parent's to give.
    if (AsksForColors(message)) {
        return SendMessageW(GetParent(hwnd), message, wParam, lParam);
    }
    if (message == WM_NCCREATE) {
        controls::CreateState<ComboBox>(hwnd)->openedHeight =
            reinterpret_cast<const CREATESTRUCTW *>(lParam)->cy;
    }
    ComboBox *box = controls::StateOf<ComboBox>(hwnd);
    if (!box) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const int index = static_cast<int>(wParam);
    switch (message) {
    case WM_CREATE: FitToFont(hwnd, *box); return 0;
    case WM_DESTROY: return OnDestroy(hwnd, *box);
    case WM_PAINT: return OnPaint(hwnd, *box);
    case WM_PRINTCLIENT: Paint(hwnd, *box, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case WM_GETTEXT: return CopyChosenText(*box, reinterpret_cast<WCHAR *>(lParam), wParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(ItemText(*box, box->selected).size());
    case CB_GETCOMBOBOXINFO: return GetInfo(hwnd, *box, reinterpret_cast<COMBOBOXINFO *>(lParam));
    case WM_KEYDOWN: return OnKeyDown(hwnd, *box, wParam);
    case WM_CHAR: return OnChar(hwnd, *box, static_cast<WCHAR>(wParam));
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

    case CB_ADDSTRING: return AddString(hwnd, *box, reinterpret_cast<const WCHAR *>(lParam));
    case CB_INSERTSTRING: return Insert(hwnd, *box, index, reinterpret_cast<const WCHAR *>(lParam));
    case CB_DELETESTRING: return Delete(hwnd, *box, index);
    case CB_RESETCONTENT: return ResetContent(hwnd, *box);
    case CB_GETCOUNT: return Count(*box);
    case CB_GETCURSEL: return box->selected == kNoItem ? CB_ERR : box->selected;
    case CB_SETCURSEL: return SetChosen(hwnd, *box, index);
    case CB_GETLBTEXT: return CopyItem(*box, index, reinterpret_cast<WCHAR *>(lParam));
    case CB_GETLBTEXTLEN: return ItemLength(*box, index);
    case CB_FINDSTRINGEXACT: return FindExact(*box, index, reinterpret_cast<const WCHAR *>(lParam));
    case CB_SHOWDROPDOWN: return ShowList(hwnd, *box, wParam);
    case CB_GETDROPPEDSTATE: return box->dropped ? TRUE : FALSE;
    case CB_GETITEMHEIGHT: return ItemHeight(*box, index);
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
