// USER32's menu unit as the rest of USER32 sees it: the system menu a window's keys open, and the
// menus that go with a window.
#pragma once

#include "window.h"

namespace platform::user32 {

// SC_KEYMENU: the menu mode a window enters from the keyboard. Without a menu bar that is its
// system menu: a space opens it at once, 0 (Alt or F10 alone) waits for the next key, and any
// other character is looked for among the menu's mnemonics.
void TrackSystemMenu(HWND hwnd, WCHAR key);

// A window's system menu goes with the window.
void DestroySystemMenu(HWND hwnd);

// Whether a menu is being tracked now.
bool MenuActive();

// DefWindowProc's share of the menu keys: Alt or F10 pressed and released alone, Alt with a
// character, and the window commands the system menu gives (SC_KEYMENU, SC_MOVE). True when the
// message was handled, with its result; key presses and releases are only watched, and go on to
// DefWindowProc's own handling.
bool DefaultMenuKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode, LRESULT &result);

} // namespace platform::user32
