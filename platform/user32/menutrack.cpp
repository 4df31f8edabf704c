// The modal menu loop: a popup menu shown in a window of the menu class, tracked with the keys
// and the mouse until an item is chosen or the menu is dismissed. The owner hears of it as on the
// platform: WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT for each highlighted
// item, WM_ENTERIDLE while the queue is empty, WM_EXITMENULOOP, and the chosen command.
#include "menu_internal.h"

#include <algorithm>
#include <iterator>

namespace platform::user32::menus {

namespace {

// What the loop does with an item it is asked to carry out: the item opened its popup, was not
// there to carry out (greyed, a separator, none), or was chosen.
enum class Outcome { Opened, Nothing, Chosen };

struct Tracker {
    HWND owner = nullptr;
    HMENU bar = nullptr; // the system menu's bar, when the keys track the system menu
    HMENU popup = nullptr;
    UINT flags = 0;
    POINT origin = {}; // where the popup opens
    bool done = false;
    UINT chosen = 0;
};

Tracker *g_tracker = nullptr;

bool Notifies(const Tracker &tracker)
{
    return (tracker.flags & TPM_NONOTIFY) == 0;
}

bool Shown(const Tracker &tracker)
{
    const Menu *menu = Find(tracker.popup);
    return menu != nullptr && menu->window != nullptr;
}

// The highlighted item's state says so while it is highlighted, as GetMenuState reports it.
void SetHot(Menu &menu, int index)
{
    const auto size = static_cast<int>(menu.items.size());
    if (menu.hot != kNone && menu.hot < size) {
        menu.items[static_cast<size_t>(menu.hot)].state &= ~static_cast<UINT>(MF_HILITE);
    }
    if (index != kNone && index < size) {
        menu.items[static_cast<size_t>(index)].state |= MF_HILITE;
    }
    menu.hot = index;
}

// Highlights an item (kNone for none) and tells the owner which.
void Select(Tracker &tracker, int index)
{
    Menu *menu = Find(tracker.popup);
    if (menu == nullptr || menu->hot == index) {
        return;
    }
    SetHot(*menu, index);
    InvalidateRect(menu->window, nullptr, FALSE);
    if (index == kNone) {
        return;
    }
    const Item &item = menu->items[static_cast<size_t>(index)];
    const UINT flags = item.type | item.state | ((item.type & MF_SEPARATOR) != 0 ? 0 : MF_HILITE) |
                       (menu->system ? MF_SYSMENU : 0);
    const UINT idOrPosition = (item.type & MF_POPUP) != 0 ? static_cast<UINT>(index) : item.id;
    SendMessageW(tracker.owner, WM_MENUSELECT, MAKEWPARAM(idOrPosition, flags),
                 reinterpret_cast<LPARAM>(tracker.popup));
}

// With the system menu closed on its bar, the bar's one item is the highlighted one.
void SelectBar(const Tracker &tracker)
{
    SendMessageW(tracker.owner, WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_SYSMENU | MF_HILITE),
                 reinterpret_cast<LPARAM>(tracker.bar));
}

// The next item that is not a separator, round to the start, as the arrows move.
void MoveSelection(Tracker &tracker, int step)
{
    const Menu *menu = Find(tracker.popup);
    const int count = menu == nullptr ? 0 : static_cast<int>(menu->items.size());
    if (count == 0) {
        return;
    }
    int index = menu->hot == kNone ? (step > 0 ? count - 1 : 0) : menu->hot;
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if ((menu->items[static_cast<size_t>(index)].type & MF_SEPARATOR) == 0) {
            Select(tracker, index);
            return;
        }
    }
}

// Places the popup by the alignment flags, kept on the screen.
POINT PlacePopup(const Tracker &tracker, SIZE size)
{
    POINT at = tracker.origin;
    if ((tracker.flags & TPM_RIGHTALIGN) != 0) {
        at.x -= size.cx;
    } else if ((tracker.flags & TPM_CENTERALIGN) != 0) {
        at.x -= size.cx / 2;
    }
    if ((tracker.flags & TPM_BOTTOMALIGN) != 0) {
        at.y -= size.cy;
    } else if ((tracker.flags & TPM_VCENTERALIGN) != 0) {
        at.y -= size.cy / 2;
    }
    at.x = std::max(LONG{0}, std::min(at.x, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN) - size.cx)));
    at.y = std::max(LONG{0}, std::min(at.y, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN) - size.cy)));
    return at;
}

void ShowPopup(Tracker &tracker)
{
    Menu *menu = Find(tracker.popup);
    if (menu == nullptr || menu->window != nullptr) {
        return;
    }
    Layout(*menu);
    const POINT at = PlacePopup(tracker, menu->size);
    SetHot(*menu, kNone);
    menu->window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP, at.x, at.y,
                                   menu->size.cx, menu->size.cy, tracker.owner, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(menu->window, 0, reinterpret_cast<LONG_PTR>(tracker.popup));
    SetWindowPos(menu->window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetCapture(menu->window);
}

void HidePopup(Tracker &tracker)
{
    Menu *menu = Find(tracker.popup);
    if (menu == nullptr || menu->window == nullptr) {
        return;
    }
    HWND window = menu->window;
    menu->window = nullptr;
    SetHot(*menu, kNone);
    DestroyWindow(window);
    if (Notifies(tracker)) {
        SendMessageW(tracker.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(tracker.popup),
                     MAKELPARAM(0, menu->system ? 1 : 0));
    }
}

// Opens the system menu's popup from its bar, its first item highlighted.
void OpenSystemPopup(Tracker &tracker)
{
    if (Notifies(tracker)) {
        SendMessageW(tracker.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tracker.popup),
                     MAKELPARAM(0, 1));
    }
    GreySystemItems(tracker.popup, tracker.owner);
    ShowPopup(tracker);
    MoveSelection(tracker, 1);
}

// Carries out the highlighted item: a command is posted to the owner unless the caller wants it
// returned; the system menu's bar opens its popup.
Outcome CarryOut(Tracker &tracker)
{
    if (tracker.bar != nullptr && !Shown(tracker)) {
        OpenSystemPopup(tracker);
        return Outcome::Opened;
    }
    const Menu *menu = Find(tracker.popup);
    if (menu == nullptr || menu->hot == kNone) {
        return Outcome::Nothing;
    }
    const Item &item = menu->items[static_cast<size_t>(menu->hot)];
    if ((item.type & MF_POPUP) != 0) {
        return Outcome::Opened; // submenus stay closed: no menu here has one
    }
    if ((item.state & MF_GRAYED) != 0 || (item.type & MF_SEPARATOR) != 0) {
        return Outcome::Nothing;
    }
    tracker.chosen = item.id;
    if ((tracker.flags & TPM_RETURNCMD) == 0) {
        POINT cursor = {};
        GetCursorPos(&cursor);
        PostMessageW(tracker.owner, menu->system ? WM_SYSCOMMAND : WM_COMMAND, item.id,
                     menu->system ? MAKELPARAM(cursor.x, cursor.y) : 0);
    }
    return Outcome::Chosen;
}

// The item whose mnemonic (the character after '&') is `key`, ignoring case; failing that the
// owner's answer to WM_MENUCHAR: an item, kNone to stay, or -2 to close.
int FindMnemonic(const Tracker &tracker, WCHAR key)
{
    const HMENU handle = Shown(tracker) ? tracker.popup : tracker.bar;
    const Menu *menu = Find(handle);
    if (menu == nullptr) {
        return kNone;
    }
    const WCHAR wanted[] = {key, 0};
    for (size_t index = 0; index < menu->items.size(); ++index) {
        const std::u16string &text = menu->items[index].text;
        size_t at = text.find(u'&');
        while (at != std::u16string::npos && at + 1 < text.size() && text[at + 1] == u'&') {
            at = text.find(u'&', at + 2);
        }
        const WCHAR found[] = {at == std::u16string::npos ? WCHAR{0} : static_cast<WCHAR>(text[at + 1]), 0};
        if (found[0] != 0 && lstrcmpiW(found, wanted) == 0) {
            return static_cast<int>(index);
        }
    }
    const LRESULT answer =
        SendMessageW(tracker.owner, WM_MENUCHAR, MAKEWPARAM(key, menu->popup ? MF_POPUP : 0),
                     reinterpret_cast<LPARAM>(handle));
    if (HIWORD(answer) == MNC_EXECUTE) {
        return LOWORD(answer);
    }
    return HIWORD(answer) == MNC_CLOSE ? -2 : kNone;
}

void OnChar(Tracker &tracker, WCHAR character)
{
    if (character == L'\r' || character == L' ') {
        tracker.done = CarryOut(tracker) != Outcome::Opened;
        return;
    }
    if (character < L' ') {
        return;
    }
    const int found = FindMnemonic(tracker, character);
    if (found == -2) {
        tracker.done = true;
    } else if (found == kNone) {
        MessageBeep(0);
    } else if (Shown(tracker)) {
        Select(tracker, found);
        tracker.done = CarryOut(tracker) != Outcome::Opened;
    }
}

void OnKeyDown(Tracker &tracker, MSG &msg)
{
    switch (msg.wParam) {
    case VK_MENU:
    case VK_F10: tracker.done = true; return;
    case VK_HOME:
    case VK_END:
        if (Shown(tracker)) {
            Select(tracker, kNone);
            MoveSelection(tracker, msg.wParam == VK_HOME ? 1 : -1);
        }
        return;
    case VK_UP:
    case VK_DOWN:
        if (!Shown(tracker)) {
            OpenSystemPopup(tracker);
        } else {
            MoveSelection(tracker, msg.wParam == VK_UP ? -1 : 1);
        }
        return;
    case VK_ESCAPE:
        // The system menu's popup closes back to its bar; any other menu ends.
        if (tracker.bar != nullptr && Shown(tracker)) {
            HidePopup(tracker);
            SetCapture(tracker.owner);
            SelectBar(tracker);
        } else {
            tracker.done = true;
        }
        return;
    default: TranslateMessage(&msg); return;
    }
}

// The item under a point of the screen, and whether the point is on the menu at all.
int ItemAt(const Tracker &tracker, POINT screen, bool &onMenu)
{
    const Menu *menu = Find(tracker.popup);
    RECT rect = {};
    onMenu = menu != nullptr && menu->window != nullptr && GetWindowRect(menu->window, &rect) &&
             PtInRect(&rect, screen);
    if (!onMenu) {
        return kNone;
    }
    POINT client = screen;
    ScreenToClient(menu->window, &client);
    for (size_t index = 0; index < menu->items.size(); ++index) {
        if (PtInRect(&menu->items[index].rect, client)) {
            return static_cast<int>(index);
        }
    }
    return kNone;
}

// A press off the menu dismisses it and goes no further; a release on an item chooses it, unless
// it is greyed; the pointer highlights what it passes over. The buttons the menu does not track
// (the middle one, and the right one unless asked for) do nothing, and the menu stays.
void OnMouse(Tracker &tracker, const MSG &msg)
{
    bool onMenu = false;
    const int item = ItemAt(tracker, msg.pt, onMenu);
    const bool rightCounts = (tracker.flags & TPM_RIGHTBUTTON) != 0;
    switch (msg.message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        if (!rightCounts) {
            return;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!onMenu) {
            tracker.done = true;
        } else {
            Select(tracker, item);
        }
        return;
    case WM_RBUTTONUP:
    case WM_LBUTTONUP:
        if (onMenu && item != kNone && (msg.message == WM_LBUTTONUP || rightCounts)) {
            Select(tracker, item);
            tracker.done = CarryOut(tracker) == Outcome::Chosen;
        }
        return;
    case WM_MOUSEMOVE:
        if (onMenu) {
            Select(tracker, item);
        }
        return;
    default: return;
    }
}

void Handle(Tracker &tracker, MSG &msg)
{
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam)); // the program's own loop must see it too
        tracker.done = true;
    } else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        OnMouse(tracker, msg);
    } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        OnKeyDown(tracker, msg);
    } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        OnChar(tracker, static_cast<WCHAR>(msg.wParam));
    } else if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) {
        DispatchMessageW(&msg);
    }
}

// Reads the queue until the menu ends: input goes to the menu, everything else on to its window.
// The owner hears WM_ENTERIDLE once each time the queue runs dry.
void RunLoop(Tracker &tracker)
{
    bool idleSent = false;
    while (!tracker.done && IsWindow(tracker.owner)) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            idleSent = false;
            Handle(tracker, msg);
            continue;
        }
        if (!idleSent) {
            idleSent = true;
            const Menu *menu = Find(tracker.popup);
            SendMessageW(tracker.owner, WM_ENTERIDLE, MSGF_MENU,
                         reinterpret_cast<LPARAM>(menu != nullptr ? menu->window : nullptr));
        } else if (!WaitMessage()) {
            break; // no input can ever come to end the menu
        }
    }
}

void Enter(const Tracker &tracker, HMENU initial, bool popup)
{
    if (Notifies(tracker)) {
        SendMessageW(tracker.owner, WM_ENTERMENULOOP, popup ? TRUE : FALSE, 0);
    }
    SendMessageW(tracker.owner, WM_SETCURSOR, reinterpret_cast<WPARAM>(tracker.owner), HTCAPTION);
    if (Notifies(tracker)) {
        SendMessageW(tracker.owner, WM_INITMENU, reinterpret_cast<WPARAM>(initial), 0);
    }
}

void Leave(Tracker &tracker, bool popup)
{
    if (IsWindow(tracker.owner)) {
        HidePopup(tracker);
        SendMessageW(tracker.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    }
    if (GetCapture() == tracker.owner || GetCapture() == nullptr) {
        ReleaseCapture();
    }
    if (IsWindow(tracker.owner)) {
        SendMessageW(tracker.owner, WM_EXITMENULOOP, popup ? TRUE : FALSE, 0);
    }
}

// Runs the loop with `tracker` as the menu being tracked.
void Track(Tracker &tracker)
{
    Tracker *outer = g_tracker;
    g_tracker = &tracker;
    RunLoop(tracker);
    g_tracker = outer;
}

BOOL TrackPopup(HMENU handle, UINT flags, int x, int y, HWND owner)
{
    Menu *menu = Lookup(handle);
    if (menu == nullptr) {
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (menu->window != nullptr) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    Tracker tracker;
    tracker.owner = owner;
    tracker.popup = handle;
    tracker.flags = flags;
    tracker.origin = {x, y};
    Enter(tracker, handle, true);
    if (Notifies(tracker)) {
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handle), 0);
    }
    if (Find(handle) != nullptr && Find(handle)->system) {
        GreySystemItems(handle, owner);
    }
    ShowPopup(tracker);
    const bool empty = Find(handle) == nullptr || Find(handle)->items.empty();
    if (!empty) {
        Track(tracker);
    }
    Leave(tracker, true);
    if ((flags & TPM_RETURNCMD) != 0) {
        return static_cast<BOOL>(tracker.chosen);
    }
    return empty ? FALSE : TRUE;
}

// The system menu opens below the caption's left end.
POINT SystemMenuOrigin(HWND hwnd)
{
    POINT client = {0, 0};
    ClientToScreen(hwnd, &client);
    return {client.x, client.y};
}

} // namespace

} // namespace platform::user32::menus

namespace platform::user32 {

bool MenuActive()
{
    return menus::g_tracker != nullptr;
}

void TrackSystemMenu(HWND hwnd, WCHAR key)
{
    Window *window = TopLevelOf(LookupQuiet(hwnd));
    if (window == nullptr || (window->style & WS_SYSMENU) == 0 || MenuActive()) {
        return;
    }
    menus::Tracker tracker;
    tracker.owner = window->handle;
    tracker.bar = menus::SystemBar(tracker.owner, true);
    tracker.popup = menus::SystemPopup(tracker.owner);
    tracker.flags = TPM_LEFTALIGN | TPM_LEFTBUTTON;
    tracker.origin = menus::SystemMenuOrigin(tracker.owner);
    menus::Enter(tracker, tracker.bar, false);
    if (key != 0 && key != L' ') {
        // Alt with a character the menu does not know: the owner is asked, then it all ends.
        if (menus::FindMnemonic(tracker, key) == menus::kNone) {
            MessageBeep(0);
        }
    } else {
        menus::SelectBar(tracker);
        SetCapture(tracker.owner);
        if (key == L' ') {
            menus::OpenSystemPopup(tracker);
        }
        menus::Track(tracker);
    }
    menus::Leave(tracker, false);
}

} // namespace platform::user32

using namespace platform::user32;
namespace menus = platform::user32::menus;

BOOL WINAPI TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS /*lptpm*/)
{
    return menus::TrackPopup(hMenu, uFlags, x, y, hwnd);
}

BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int /*nReserved*/, HWND hWnd,
                           const RECT * /*prcRect*/)
{
    return menus::TrackPopup(hMenu, uFlags, x, y, hWnd);
}

// Ends the menu being tracked, as if it were dismissed.
BOOL WINAPI EndMenu(void)
{
    if (menus::g_tracker != nullptr) {
        menus::g_tracker->done = true;
        PostMessageW(nullptr, WM_NULL, 0, 0); // wakes the loop
    }
    return TRUE;
}

namespace {

// The menu GetMenuBarInfo asks about: the one a menu window shows, or a window's system menu. A
// window has no menu bar of its own here.
HMENU MenuOfObject(HWND hwnd, LONG object)
{
    if (object == OBJID_SYSMENU) {
        return GetSystemMenu(hwnd, FALSE);
    }
    if (object != OBJID_CLIENT) {
        return nullptr;
    }
    WCHAR className[std::size(menus::kClassName)] = {};
    if (GetClassNameW(hwnd, className, static_cast<int>(std::size(className))) == 0) {
        return nullptr;
    }
    if (lstrcmpiW(className, menus::kClassName) != 0) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return reinterpret_cast<HMENU>(GetWindowLongPtrW(hwnd, 0));
}

// Whether the menu is the one being tracked: the popup open or the system menu's bar.
bool Tracked(HMENU handle)
{
    const menus::Tracker *tracker = menus::g_tracker;
    return tracker != nullptr && (tracker->popup == handle || tracker->bar == handle);
}

} // namespace

// Item 0 is the menu as a whole, item n its n-th item; their places are empty unless it is shown.
BOOL WINAPI GetMenuBarInfo(HWND hwnd, LONG idObject, LONG idItem, PMENUBARINFO pmbi)
{
    const HMENU handle = MenuOfObject(hwnd, idObject);
    const menus::Menu *menu = menus::Find(handle);
    if (menu == nullptr) {
        return FALSE;
    }
    if (pmbi == nullptr || pmbi->cbSize != sizeof(MENUBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (idItem < 0 || static_cast<size_t>(idItem) > menu->items.size()) {
        return FALSE;
    }
    pmbi->rcBar = {};
    if (menu->window != nullptr && idItem == 0) {
        GetWindowRect(menu->window, &pmbi->rcBar);
    } else if (menu->window != nullptr) {
        GetMenuItemRect(hwnd, handle, static_cast<UINT>(idItem - 1), &pmbi->rcBar);
    }
    pmbi->hMenu = handle;
    pmbi->hwndMenu = nullptr;
    pmbi->fBarFocused = Tracked(handle) ? 1U : 0U;
    pmbi->fFocused = pmbi->fBarFocused;
    if (idItem != 0) {
        const menus::Item &item = menu->items[static_cast<size_t>(idItem - 1)];
        pmbi->fFocused = menu->hot == idItem - 1 ? 1U : 0U;
        const menus::Menu *submenu = menus::Find(item.submenu);
        if (pmbi->fFocused && submenu != nullptr) {
            pmbi->hwndMenu = submenu->window; // the popup the focused item opened
        }
    }
    return TRUE;
}
