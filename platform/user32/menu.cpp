// Menus: popup menus and their items, and each window's system menu. A menu shows in a window of
// the menu class ("#32768") while the modal loop of menutrack.cpp tracks it.
#include "menu_internal.h"

#include "text.h"

#include <algorithm>
#include <map>
#include <memory>

namespace platform::user32::menus {

namespace {

constexpr UINT_PTR kFirstHandle = 0x30010;
constexpr UINT_PTR kHandleStep = 4;
constexpr UINT kTypeFlags =
    MF_SEPARATOR | MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MF_BITMAP;
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

struct Registry {
    std::map<HMENU, std::unique_ptr<Menu>> menus;
    std::map<HWND, HMENU> systemBars;
    UINT_PTR next = kFirstHandle;
};

Registry &TheRegistry()
{
    static Registry registry;
    return registry;
}

// The system menu's items, as the platform's template has them.
struct SystemItem {
    const char16_t *text;
    UINT id;
};
constexpr SystemItem kSystemItems[] = {{u"&Restore", SC_RESTORE},    {u"&Move", SC_MOVE},
                                       {u"&Size", SC_SIZE},          {u"Mi&nimize", SC_MINIMIZE},
                                       {u"Ma&ximize", SC_MAXIMIZE},  {nullptr, 0},
                                       {u"&Close\tAlt+F4", SC_CLOSE}};

// The system menu of a window: a bar of one item whose popup holds the commands, as on the
// platform, where GetSystemMenu gives the popup.
HMENU CreateSystemBar(HWND hwnd)
{
    const HMENU popup = Create(true);
    Menu *menu = Find(popup);
    menu->system = true;
    for (const SystemItem &entry : kSystemItems) {
        Item item;
        item.type = entry.text == nullptr ? MF_SEPARATOR : MF_STRING;
        item.id = entry.id;
        item.text = entry.text == nullptr ? u"" : entry.text;
        item.state = entry.id == SC_CLOSE ? MFS_DEFAULT : 0;
        menu->items.push_back(item);
    }
    Window *window = LookupQuiet(hwnd);
    if (window != nullptr && (window->windowClass->style & CS_NOCLOSE) != 0) {
        menu->items.resize(menu->items.size() - 2); // neither Close nor the separator before it
    }
    const HMENU bar = Create(false);
    Menu *barMenu = Find(bar);
    barMenu->system = true;
    Item item;
    item.type = MF_POPUP | MF_SYSMENU;
    item.submenu = popup;
    barMenu->items.push_back(item);
    return bar;
}

// An item found by position or by command; a command is looked for in submenus too.
struct Found {
    Menu *menu = nullptr;
    int position = kNone;
};

Found FindItem(HMENU handle, UINT which, UINT flags)
{
    Menu *menu = Find(handle);
    if (menu == nullptr) {
        return {};
    }
    if ((flags & MF_BYPOSITION) != 0) {
        return which < menu->items.size() ? Found{menu, static_cast<int>(which)} : Found{};
    }
    for (size_t index = 0; index < menu->items.size(); ++index) {
        const Item &item = menu->items[index];
        if ((item.type & MF_POPUP) != 0) {
            if (Found inner = FindItem(item.submenu, which, flags); inner.menu != nullptr) {
                return inner;
            }
        } else if (item.id == which) {
            return {menu, static_cast<int>(index)};
        }
    }
    return {};
}

Item *ItemOf(const Found &found)
{
    return found.menu == nullptr ? nullptr : &found.menu->items[static_cast<size_t>(found.position)];
}

Item ItemFromFlags(UINT flags, UINT_PTR id, std::u16string text)
{
    Item item;
    item.type = flags & kTypeFlags;
    item.state = flags & kStateFlags;
    if ((flags & MF_SEPARATOR) != 0) {
        item.state |= MF_GRAYED | MF_DISABLED; // as the platform keeps a separator
    }
    if ((flags & MF_POPUP) != 0) {
        item.submenu = reinterpret_cast<HMENU>(id);
    } else {
        item.id = static_cast<UINT>(id);
    }
    if ((flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) == 0) {
        item.text = std::move(text);
    }
    return item;
}

BOOL Append(HMENU handle, UINT flags, UINT_PTR id, std::u16string text)
{
    Menu *menu = Lookup(handle);
    if (menu == nullptr) {
        return FALSE;
    }
    menu->items.push_back(ItemFromFlags(flags, id, std::move(text)));
    return TRUE;
}

// MENUITEMINFO's string, A or W.
std::u16string InfoText(const MENUITEMINFOW &info)
{
    return FromWide(info.dwTypeData);
}
std::u16string InfoText(const MENUITEMINFOA &info)
{
    return text::FromAnsi(info.dwTypeData);
}

template <typename Info> Item ItemFromInfo(const Info &info)
{
    Item item;
    if ((info.fMask & (MIIM_FTYPE | MIIM_TYPE)) != 0) {
        item.type = info.fType & ~static_cast<UINT>(MF_POPUP);
    }
    const bool stringType = (item.type & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) == 0;
    if (((info.fMask & MIIM_STRING) != 0 || ((info.fMask & MIIM_TYPE) != 0 && stringType)) &&
        info.dwTypeData != nullptr) {
        item.text = InfoText(info);
    }
    if ((info.fMask & MIIM_STATE) != 0) {
        item.state = info.fState & kStateFlags;
    }
    if ((info.fMask & MIIM_ID) != 0) {
        item.id = info.wID;
    }
    if ((info.fMask & MIIM_SUBMENU) != 0 && info.hSubMenu != nullptr) {
        item.submenu = info.hSubMenu;
        item.type |= MF_POPUP;
    }
    if ((info.fMask & MIIM_DATA) != 0) {
        item.data = info.dwItemData;
    }
    return item;
}

template <typename Info> BOOL InsertFromInfo(HMENU handle, UINT which, BOOL byPosition, const Info *info)
{
    Menu *menu = Lookup(handle);
    if (menu == nullptr || info == nullptr || info->cbSize < offsetof(Info, hbmpItem)) {
        if (menu != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
        }
        return FALSE;
    }
    size_t place = menu->items.size();
    if (byPosition) {
        place = std::min(static_cast<size_t>(which), place);
    } else if (Found found = FindItem(handle, which, MF_BYCOMMAND); found.menu == menu) {
        place = static_cast<size_t>(found.position);
    }
    menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(place), ItemFromInfo(*info));
    return TRUE;
}

// Copies an item's text as GetMenuItemInfo and GetMenuString do: with no buffer, only its length.
template <typename Char> UINT CopyItemText(const std::u16string &itemText, Char *buffer, UINT capacity)
{
    if constexpr (std::is_same_v<Char, char>) {
        const std::string ansi = text::ToAnsi(itemText);
        return buffer == nullptr ? static_cast<UINT>(ansi.size())
                                 : static_cast<UINT>(text::CopyToBuffer(ansi, buffer, capacity));
    } else {
        return buffer == nullptr ? static_cast<UINT>(itemText.size())
                                 : static_cast<UINT>(text::CopyToBuffer(
                                       itemText, reinterpret_cast<LPWSTR>(buffer), capacity));
    }
}

template <typename Info> BOOL GetInfo(HMENU handle, UINT which, BOOL byPosition, Info *info)
{
    const Item *item = ItemOf(FindItem(handle, which, byPosition ? MF_BYPOSITION : MF_BYCOMMAND));
    if (item == nullptr || info == nullptr) {
        SetLastError(item == nullptr ? ERROR_MENU_ITEM_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((info->fMask & (MIIM_FTYPE | MIIM_TYPE)) != 0) {
        info->fType = item->type & ~static_cast<UINT>(MF_POPUP | MF_SYSMENU);
    }
    if ((info->fMask & MIIM_STATE) != 0) {
        info->fState = item->state;
    }
    if ((info->fMask & MIIM_ID) != 0) {
        info->wID = (item->type & MF_POPUP) != 0
                        ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(item->submenu))
                        : item->id;
    }
    if ((info->fMask & MIIM_SUBMENU) != 0) {
        info->hSubMenu = item->submenu;
    }
    if ((info->fMask & MIIM_DATA) != 0) {
        info->dwItemData = item->data;
    }
    if ((info->fMask & (MIIM_STRING | MIIM_TYPE)) != 0) {
        info->cch = CopyItemText(item->text, info->dwTypeData, info->cch);
    }
    return TRUE;
}

// Changes the bits of `mask` in an item's state; returns the bits before, or -1 for no item.
DWORD ChangeState(HMENU handle, UINT which, UINT flags, UINT mask)
{
    Item *item = ItemOf(FindItem(handle, which, flags));
    if (item == nullptr) {
        return static_cast<DWORD>(-1);
    }
    const DWORD before = item->state & mask;
    item->state = (item->state & ~mask) | (flags & mask);
    return before;
}

} // namespace

Menu *Find(HMENU handle)
{
    auto found = TheRegistry().menus.find(handle);
    return found == TheRegistry().menus.end() ? nullptr : found->second.get();
}

Menu *Lookup(HMENU handle)
{
    Menu *menu = Find(handle);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    }
    return menu;
}

HMENU Create(bool popup)
{
    Registry &registry = TheRegistry();
    auto *const handle = reinterpret_cast<HMENU>(registry.next);
    registry.next += kHandleStep;
    auto menu = std::make_unique<Menu>();
    menu->popup = popup;
    registry.menus.emplace(handle, std::move(menu));
    return handle;
}

bool Destroy(HMENU handle)
{
    Menu *menu = Lookup(handle);
    if (menu == nullptr) {
        return false;
    }
    if (menu->window != nullptr) {
        DestroyWindow(menu->window);
    }
    std::vector<HMENU> submenus;
    for (const Item &item : menu->items) {
        if ((item.type & MF_POPUP) != 0) {
            submenus.push_back(item.submenu);
        }
    }
    TheRegistry().menus.erase(handle);
    for (HMENU submenu : submenus) {
        if (Find(submenu) != nullptr) {
            Destroy(submenu);
        }
    }
    return true;
}

HMENU SystemBar(HWND hwnd, bool create)
{
    auto &bars = TheRegistry().systemBars;
    const auto found = bars.find(hwnd);
    if (found != bars.end()) {
        return found->second;
    }
    return create ? (bars[hwnd] = CreateSystemBar(hwnd)) : nullptr;
}

HMENU SystemPopup(HWND hwnd)
{
    const Menu *bar = Find(SystemBar(hwnd, true));
    return bar == nullptr || bar->items.empty() ? nullptr : bar->items.front().submenu;
}

// Greys the system menu's commands that the window's style does not allow, as the platform
// does each time the menu opens.
void GreySystemItems(HMENU popup, HWND hwnd)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const bool maximized = (style & WS_MAXIMIZE) != 0;
    const bool minimized = (style & WS_MINIMIZE) != 0;
    const std::pair<UINT, bool> greyed[] = {
        {SC_SIZE, (style & WS_THICKFRAME) == 0 || maximized || minimized},
        {SC_MOVE, maximized},
        {SC_MINIMIZE, (style & WS_MINIMIZEBOX) == 0 || minimized},
        {SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) == 0 || maximized},
        {SC_RESTORE, !maximized && !minimized},
    };
    for (const auto &[command, grey] : greyed) {
        EnableMenuItem(popup, command, grey ? MF_GRAYED : MF_ENABLED);
    }
}

} // namespace platform::user32::menus

namespace platform::user32 {

void DestroySystemMenu(HWND hwnd)
{
    if (HMENU bar = menus::SystemBar(hwnd, false)) {
        menus::Destroy(bar);
        menus::TheRegistry().systemBars.erase(hwnd);
    }
}

} // namespace platform::user32

using namespace platform::user32;
namespace menus = platform::user32::menus;

HMENU WINAPI CreateMenu(void)
{
    return menus::Create(false);
}

HMENU WINAPI CreatePopupMenu(void)
{
    return menus::Create(true);
}

BOOL WINAPI DestroyMenu(HMENU hMenu)
{
    return menus::Destroy(hMenu) ? TRUE : FALSE;
}

BOOL WINAPI IsMenu(HMENU hMenu)
{
    return menus::Find(hMenu) != nullptr;
}

BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem)
{
    const bool string = (uFlags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) == 0;
    return menus::Append(hMenu, uFlags, uIDNewItem, string ? FromWide(lpNewItem) : std::u16string());
}

BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    const bool string = (uFlags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) == 0 && lpNewItem != nullptr;
    return menus::Append(hMenu, uFlags, uIDNewItem,
                         string ? platform::text::FromAnsi(lpNewItem) : std::u16string());
}

BOOL WINAPI InsertMenuItemW(HMENU hmenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOW lpmi)
{
    return menus::InsertFromInfo(hmenu, item, fByPosition, lpmi);
}

BOOL WINAPI InsertMenuItemA(HMENU hmenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOA lpmi)
{
    return menus::InsertFromInfo(hmenu, item, fByPosition, lpmi);
}

BOOL WINAPI GetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii)
{
    return menus::GetInfo(hmenu, item, fByPosition, lpmii);
}

BOOL WINAPI GetMenuItemInfoA(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOA lpmii)
{
    return menus::GetInfo(hmenu, item, fByPosition, lpmii);
}

// The platform's BOOL is really the previous state: MF_GRAYED and MF_DISABLED, or -1.
BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    return static_cast<BOOL>(menus::ChangeState(hMenu, uIDEnableItem, uEnable, MF_GRAYED | MF_DISABLED));
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    return menus::ChangeState(hMenu, uIDCheckItem, uCheck, MF_CHECKED);
}

int WINAPI GetMenuItemCount(HMENU hMenu)
{
    const menus::Menu *menu = menus::Lookup(hMenu);
    return menu == nullptr ? -1 : static_cast<int>(menu->items.size());
}

UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos)
{
    const menus::Item *item = menus::ItemOf(menus::FindItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION));
    return item == nullptr || (item->type & MF_POPUP) != 0 ? static_cast<UINT>(-1) : item->id;
}

UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    const menus::Item *item = menus::ItemOf(menus::FindItem(hMenu, uId, uFlags));
    if (item == nullptr) {
        return static_cast<UINT>(-1);
    }
    if ((item->type & MF_POPUP) != 0) {
        const menus::Menu *submenu = menus::Find(item->submenu);
        const UINT count = submenu == nullptr ? 0 : static_cast<UINT>(submenu->items.size());
        return (count << 8) | ((item->type | item->state) & 0xFF);
    }
    return item->type | item->state;
}

int WINAPI GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags)
{
    const menus::Item *item = menus::ItemOf(menus::FindItem(hMenu, uIDItem, flags));
    return item == nullptr
               ? 0
               : static_cast<int>(menus::CopyItemText(item->text, lpString, static_cast<UINT>(cchMax)));
}

int WINAPI GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags)
{
    const menus::Item *item = menus::ItemOf(menus::FindItem(hMenu, uIDItem, flags));
    return item == nullptr
               ? 0
               : static_cast<int>(menus::CopyItemText(item->text, lpString, static_cast<UINT>(cchMax)));
}

HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos)
{
    const menus::Item *item = menus::ItemOf(menus::FindItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION));
    return item == nullptr || (item->type & MF_POPUP) == 0 ? nullptr : item->submenu;
}

// The window's system menu; reverting drops a changed copy, and the next call makes it afresh.
HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (bRevert) {
        DestroySystemMenu(hWnd);
        return nullptr;
    }
    return menus::SystemPopup(hWnd);
}
