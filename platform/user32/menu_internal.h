// The menu unit's own parts: menus and their items (menu.cpp), how a menu looks in its window
// (menudraw.cpp) and the modal loop that tracks it (menutrack.cpp).
#pragma once

#include "menu.h"

#include <string>
#include <vector>

namespace platform::user32::menus {

constexpr int kNone = -1;

struct Item {
    UINT type = MFT_STRING; // MF_SEPARATOR, MF_POPUP ...
    UINT state = 0;         // MF_GRAYED, MF_CHECKED, MF_DEFAULT ...
    UINT id = 0;
    HMENU submenu = nullptr;
    std::u16string text; // the label, then after a tab the accelerator
    ULONG_PTR data = 0;
    RECT rect = {}; // in the menu window's client area, once laid out
};

struct Menu {
    std::vector<Item> items;
    bool popup = false;
    bool system = false;   // a window's system menu: its commands are WM_SYSCOMMAND
    HWND window = nullptr; // the window it shows in, while it is shown
    int hot = kNone;       // the highlighted item
    int accelerators = 0;  // where the accelerators' column begins, from an item's left
    SIZE size = {};        // of its window, once laid out
};

Menu *Find(HMENU handle);
Menu *Lookup(HMENU handle); // sets ERROR_INVALID_MENU_HANDLE for a bad handle
HMENU Create(bool popup);
bool Destroy(HMENU handle);

// A window's system menu: the bar of one item that holds it, and its popup.
HMENU SystemBar(HWND hwnd, bool create);
HMENU SystemPopup(HWND hwnd);
void GreySystemItems(HMENU popup, HWND hwnd);

// menudraw.cpp: lays out a menu's items and sizes its window; the window class.
void Layout(Menu &menu);
void RegisterMenuClass();
constexpr WCHAR kClassName[] = L"#32768";

} // namespace platform::user32::menus
