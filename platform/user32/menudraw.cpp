// How a popup menu looks, in the classic style the platform draws: a raised frame, the items in
// the menu font, the highlighted one in the selection's colours, greyed ones embossed, separators
// as etched lines, and accelerators in a column of their own.
#include "menu_internal.h"

#include <algorithm>

namespace platform::user32::menus {

namespace {

// Pixels: the frame (a raised two-pixel edge and one of menu colour), the check mark's column,
// the gap before the label, and room at the right for a submenu's arrow.
constexpr int kMargin = 3;
constexpr int kCheckWidth = 13;
constexpr int kTextGap = 4;
constexpr int kArrowWidth = 8;
constexpr int kSeparatorHeight = 9;
constexpr int kCheckSize = 7;

HFONT MenuFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The default item (Close in the system menu) is drawn in bold; the caller deletes the font.
HFONT CreateBoldMenuFont()
{
    LOGFONTW font = {};
    GetObjectW(MenuFont(), sizeof(font), &font);
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

bool IsSeparator(const Item &item)
{
    return (item.type & MF_SEPARATOR) != 0;
}

// The label before the tab and the accelerator after it.
std::pair<std::u16string, std::u16string> SplitText(const std::u16string &text)
{
    const size_t tab = text.find(u'\t');
    if (tab == std::u16string::npos) {
        return {text, std::u16string()};
    }
    return {text.substr(0, tab), text.substr(tab + 1)};
}

int TextWidth(HDC dc, const std::u16string &text)
{
    RECT rect = {0, 0, 0, 0};
    DrawTextW(dc, AsWide(text), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_CALCRECT);
    return rect.right - rect.left;
}

void FillArea(HDC dc, RECT rect, int colorIndex)
{
    FillRect(dc, &rect, GetSysColorBrush(colorIndex));
}

void DrawRaisedEdge(HDC dc, RECT rect)
{
    const int colors[2][2] = {{COLOR_3DLIGHT, COLOR_3DDKSHADOW}, {COLOR_3DHILIGHT, COLOR_3DSHADOW}};
    for (const auto &pair : colors) {
        FillArea(dc, {rect.left, rect.top, rect.right, rect.top + 1}, pair[0]);
        FillArea(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, pair[0]);
        FillArea(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, pair[1]);
        FillArea(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, pair[1]);
        InflateRect(&rect, -1, -1);
    }
}

// A tick in the check mark's column: down two pixels a side for the short stroke, up for the long.
void DrawCheckMark(HDC dc, const RECT &item, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    const int left = item.left + (kCheckWidth - kCheckSize) / 2 + kTextGap / 2;
    const int top = (item.top + item.bottom - kCheckSize) / 2 + 2;
    for (int column = 0; column < kCheckSize; ++column) {
        const int drop = column < 3 ? column : 4 - column;
        const RECT stroke = {left + column, top + drop, left + column + 1, top + drop + 3};
        FillRect(dc, &stroke, brush);
    }
    DeleteObject(brush);
}

void DrawSeparator(HDC dc, const RECT &item)
{
    const int middle = (item.top + item.bottom) / 2;
    FillArea(dc, {item.left, middle - 1, item.right, middle}, COLOR_3DSHADOW);
    FillArea(dc, {item.left, middle, item.right, middle + 1}, COLOR_3DHILIGHT);
}

// The label and the accelerator, moved by `offset` (the emboss of a greyed item).
void DrawItemText(HDC dc, const Menu &menu, const Item &item, int offset, COLORREF color)
{
    const auto [label, accelerator] = SplitText(item.text);
    SetTextColor(dc, color);
    RECT rect = item.rect;
    OffsetRect(&rect, offset, offset);
    rect.left += kCheckWidth + kTextGap;
    rect.right -= kArrowWidth;
    DrawTextW(dc, AsWide(label), static_cast<int>(label.size()), &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (!accelerator.empty()) {
        rect.left = item.rect.left + menu.accelerators + offset;
        DrawTextW(dc, AsWide(accelerator), static_cast<int>(accelerator.size()), &rect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
}

void DrawItem(HDC dc, const Menu &menu, const Item &item, bool hot)
{
    if (IsSeparator(item)) {
        DrawSeparator(dc, item.rect);
        return;
    }
    if (hot) {
        FillArea(dc, item.rect, COLOR_HIGHLIGHT);
    }
    const bool greyed = (item.state & MF_GRAYED) != 0;
    const COLORREF color = GetSysColor(greyed ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if ((item.state & MF_CHECKED) != 0) {
        DrawCheckMark(dc, item.rect, color);
    }
    if (greyed && !hot) {
        DrawItemText(dc, menu, item, 1, GetSysColor(COLOR_3DHILIGHT));
        DrawItemText(dc, menu, item, 0, GetSysColor(COLOR_3DSHADOW));
    } else {
        DrawItemText(dc, menu, item, 0, color);
    }
}

void Paint(HWND hwnd, const Menu &menu, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    FillArea(dc, client, COLOR_MENU);
    DrawRaisedEdge(dc, client);
    HFONT bold = CreateBoldMenuFont();
    HGDIOBJ previousFont = SelectObject(dc, MenuFont());
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    for (size_t index = 0; index < menu.items.size(); ++index) {
        const Item &item = menu.items[index];
        SelectObject(dc, (item.state & MF_DEFAULT) != 0 ? bold : MenuFont());
        DrawItem(dc, menu, item, static_cast<int>(index) == menu.hot && !IsSeparator(item));
    }
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousFont);
    DeleteObject(bold);
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        if (const Menu *menu = Find(reinterpret_cast<HMENU>(GetWindowLongPtrW(hwnd, 0)))) {
            Paint(hwnd, *menu, dc);
        }
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case MN_GETHMENU: return GetWindowLongPtrW(hwnd, 0);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void Layout(Menu &menu)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previousFont = SelectObject(dc, MenuFont());
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    int labels = 0;
    int accelerators = 0;
    for (const Item &item : menu.items) {
        const auto [label, accelerator] = SplitText(item.text);
        labels = std::max(labels, TextWidth(dc, label));
        accelerators = std::max(accelerators, accelerator.empty() ? 0 : TextWidth(dc, accelerator));
    }
    SelectObject(dc, previousFont);
    ReleaseDC(nullptr, dc);
    // The label column, a character's gap and the accelerators, then the arrow's room.
    menu.accelerators = kCheckWidth + kTextGap + labels + metrics.tmAveCharWidth;
    const int width = menu.accelerators + accelerators + kArrowWidth + 2;
    int top = kMargin;
    for (Item &item : menu.items) {
        const int height = IsSeparator(item) ? kSeparatorHeight : metrics.tmHeight + 4;
        item.rect = {kMargin, top, kMargin + width, top + height};
        top += height;
    }
    menu.size = {width + 2 * kMargin, top + kMargin};
}

void RegisterMenuClass()
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_GLOBALCLASS | CS_SAVEBITS | CS_DBLCLKS;
    windowClass.lpfnWndProc = MenuWindowProc;
    windowClass.cbWndExtra = sizeof(void *);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

} // namespace platform::user32::menus

using namespace platform::user32;

// An item's place on the screen while its menu is shown; an empty rectangle otherwise.
BOOL WINAPI GetMenuItemRect(HWND /*hWnd*/, HMENU hMenu, UINT uItem, LPRECT lprcItem)
{
    const menus::Menu *menu = menus::Find(hMenu);
    if (menu == nullptr || lprcItem == nullptr || uItem >= menu->items.size()) {
        return FALSE;
    }
    *lprcItem = {};
    if (menu->window == nullptr) {
        return TRUE;
    }
    *lprcItem = menu->items[uItem].rect;
    MapWindowPoints(menu->window, nullptr, reinterpret_cast<POINT *>(lprcItem), 2);
    return TRUE;
}
