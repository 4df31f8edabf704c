// DefWindowProc's menu keys. Alt or F10 pressed and released alone enters the menu mode of the
// top-level window, Alt with a space opens its system menu, and Alt with another character looks
// for a menu item with that mnemonic; the system menu's commands come back as WM_SYSCOMMAND, and
// SC_MOVE moves the window with the keys and the mouse.
#include "menu.h"

namespace platform::user32 {

namespace {

// Whether the key last pressed was Alt or F10 alone, so that its release enters menu mode. Any
// other key or a mouse button in between cancels it, as on the platform.
struct MenuKeyState {
    bool altAlone = false;
    bool f10Alone = false;
};

MenuKeyState &Keys()
{
    static MenuKeyState keys;
    return keys;
}

bool IsAlt(WPARAM key)
{
    return key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

void OnSysKeyDown(WPARAM key, LPARAM lParam)
{
    MenuKeyState &keys = Keys();
    if ((HIWORD(lParam) & KF_ALTDOWN) != 0) {
        keys.altAlone = IsAlt(key) && !keys.altAlone;
        keys.f10Alone = false;
    } else if (key == VK_F10) {
        keys.f10Alone = true;
    }
}

void OnKeyUp(HWND hwnd, WPARAM key)
{
    MenuKeyState &keys = Keys();
    const bool enter = (IsAlt(key) && keys.altAlone) || (key == VK_F10 && keys.f10Alone);
    keys = {};
    if (enter) {
        Window *top = TopLevelOf(LookupQuiet(hwnd));
        if (top != nullptr) {
            SendMessageW(top->handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
    }
}

// Alt with a character: a child passes a space on to its parent, so that the top-level window
// opens its own system menu; any other character goes to the menu of the window it was typed in.
void OnSysChar(HWND hwnd, WPARAM character, LPARAM lParam, bool unicode)
{
    Keys().altAlone = false;
    if ((HIWORD(lParam) & KF_ALTDOWN) == 0 || character == 0) {
        if (character != 0x1B) {
            MessageBeep(0);
        }
        return;
    }
    if (character == L'\t' || character == 0x1B) {
        return;
    }
    const Window *window = LookupQuiet(hwnd);
    if (character == L' ' && window != nullptr && IsRealChild(window)) {
        Send(window->parent, WM_SYSCHAR, character, lParam, unicode);
        return;
    }
    Send(hwnd, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(character), unicode);
}

// SC_MOVE from the keys: the window follows the arrows, 8 pixels a press, and the mouse, from a
// grip in the middle of its caption, until Enter or a click; Escape puts it back.
struct Move {
    HWND hwnd;
    RECT start;
    POINT grip;
    POINT pointer;
};

void Follow(Move &move, POINT pointer)
{
    move.pointer = pointer;
    RECT rect = move.start;
    OffsetRect(&rect, pointer.x - move.grip.x, pointer.y - move.grip.y);
    SendMessageW(move.hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rect));
    SetWindowPos(move.hwnd, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Handles one message of the move; false once the move is over.
bool MoveStep(Move &move, MSG &msg)
{
    constexpr int kStep = 8;
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_LBUTTONDOWN) {
        return false;
    }
    if (msg.message == WM_MOUSEMOVE) {
        Follow(move, msg.pt);
        return true;
    }
    if (msg.message != WM_KEYDOWN) {
        if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) {
            DispatchMessageW(&msg);
        }
        return true;
    }
    POINT pointer = move.pointer;
    switch (msg.wParam) {
    case VK_RETURN: return false;
    case VK_ESCAPE: Follow(move, move.grip); return false;
    case VK_LEFT: pointer.x -= kStep; break;
    case VK_RIGHT: pointer.x += kStep; break;
    case VK_UP: pointer.y -= kStep; break;
    case VK_DOWN: pointer.y += kStep; break;
    default: return true;
    }
    Follow(move, pointer);
    return true;
}

void TrackMove(HWND hwnd)
{
    Window *top = TopLevelOf(LookupQuiet(hwnd));
    if (top == nullptr || (top->style & WS_MAXIMIZE) != 0) {
        return;
    }
    hwnd = top->handle;
    Move move = {hwnd, top->rect, {}, {}};
    move.grip = {(move.start.left + move.start.right) / 2,
                 move.start.top + GetSystemMetrics(SM_CYCAPTION) / 2};
    move.pointer = move.grip;
    SetCursorPos(move.grip.x, move.grip.y);
    SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(hwnd);
    for (bool moving = true; moving && IsWindow(hwnd);) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            moving = MoveStep(move, msg);
        } else if (!WaitMessage()) {
            break; // no input can ever come to end the move
        }
    }
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    if (IsWindow(hwnd)) {
        SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
    }
}

} // namespace

bool DefaultMenuKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode, LRESULT &result)
{
    result = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: Keys() = {}; return false;
    case WM_KEYDOWN:
        if (wParam == VK_F10) {
            Keys().f10Alone = true;
        }
        return false;
    case WM_SYSKEYDOWN: OnSysKeyDown(wParam, lParam); return false; // Alt+F4 stays with DefWindowProc
    case WM_KEYUP:
    case WM_SYSKEYUP: OnKeyUp(hwnd, wParam); return false; // other key-up handling may follow
    case WM_SYSCHAR: OnSysChar(hwnd, wParam, lParam, unicode); return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU) {
            TrackSystemMenu(hwnd, static_cast<WCHAR>(lParam));
            return true;
        }
        if ((wParam & 0xFFF0) == SC_MOVE) {
            TrackMove(hwnd);
            return true;
        }
        return false;
    default: return false;
    }
}

} // namespace platform::user32
