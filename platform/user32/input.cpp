// The input devices: SendInput turns key and mouse events into the queue's input, as a keyboard
// and a mouse would give it, and keeps the pointer's place and the keys held at the device.
#include "window.h"

#include "host.h"

#include <algorithm>

namespace platform::user32 {

namespace {

constexpr int kKeyCount = 256;
constexpr BYTE kHeld = 0x80;
constexpr int kNormalisedRange = 65536; // absolute mouse positions are 65536ths of the screen
constexpr UINT kDoubleClickTime = 500;

struct Devices {
    POINT cursor = {0, 0};
    BYTE keys[kKeyCount] = {}; // as the keyboard has them now, ahead of the queue
};

Devices &TheDevices()
{
    static Devices devices;
    return devices;
}

bool Held(int key)
{
    return (TheDevices().keys[key] & kHeld) != 0;
}

// The top-level window a key goes to: the one holding the focus, or else the active one.
HWND KeyboardWindow()
{
    if (Window *focus = LookupQuiet(GetFocus())) {
        return TopLevelOf(focus)->handle;
    }
    return GetActiveWindow();
}

// The top-level window under a point on the screen: the last shown of those that contain it.
HWND TopLevelAt(POINT point)
{
    const std::vector<HWND> windows = TopLevelWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        Window *window = LookupQuiet(*it);
        if (window != nullptr && (window->style & WS_VISIBLE) != 0 && PtInRect(&window->rect, point)) {
            return *it;
        }
    }
    return nullptr;
}

void QueueKey(const KEYBDINPUT &key)
{
    const bool up = (key.dwFlags & KEYEVENTF_KEYUP) != 0;
    const auto code = static_cast<BYTE>(key.wVk);
    Devices &devices = TheDevices();
    const bool wasHeld = Held(code);
    const bool altBefore = Held(VK_MENU);
    // The generic modifier follows its left and right keys.
    const BYTE generic = code == VK_LSHIFT || code == VK_RSHIFT       ? VK_SHIFT
                         : code == VK_LCONTROL || code == VK_RCONTROL ? VK_CONTROL
                         : code == VK_LMENU || code == VK_RMENU       ? VK_MENU
                                                                      : code;
    for (BYTE changed : {code, generic}) {
        devices.keys[changed] =
            static_cast<BYTE>(up ? devices.keys[changed] & ~kHeld
                                 : (wasHeld ? devices.keys[changed] : (devices.keys[changed] ^ 1) | kHeld));
    }
    // With Alt held and Ctrl not, keys are system keys, for the menu and the window's commands.
    const bool alt = up ? altBefore : Held(VK_MENU);
    const bool system = (alt && (!Held(VK_CONTROL) || (up && generic == VK_MENU))) || generic == VK_F10;
    const UINT message = up ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
    DWORD flags = (alt ? KF_ALTDOWN : 0) | ((key.dwFlags & KEYEVENTF_EXTENDEDKEY) != 0 ? KF_EXTENDED : 0);
    if (up) {
        flags |= KF_UP | KF_REPEAT;
    } else if (wasHeld) {
        flags |= KF_REPEAT;
    }
    // With no window to take it, the key still goes up or down when the queue reads it.
    QueueInput(
        {KeyboardWindow(), message, generic, static_cast<LPARAM>(MAKELONG(1, (key.wScan & 0xFF) | flags))});
}

WPARAM MouseKeys()
{
    WPARAM keys = 0;
    const std::pair<int, WPARAM> flags[] = {{VK_LBUTTON, MK_LBUTTON},
                                            {VK_RBUTTON, MK_RBUTTON},
                                            {VK_MBUTTON, MK_MBUTTON},
                                            {VK_SHIFT, MK_SHIFT},
                                            {VK_CONTROL, MK_CONTROL}};
    for (const auto &[key, flag] : flags) {
        if (Held(key)) {
            keys |= flag;
        }
    }
    return keys;
}

// A mouse message at the pointer, for the top-level window under it (or, with the mouse
// captured, the capture's), in that window's client coordinates. A turn of the wheel carries its
// delta, which a fine-grained wheel makes less than a notch.
void QueueMouse(UINT message, SHORT wheelDelta = 0)
{
    Devices &devices = TheDevices();
    HWND window = TopLevelAt(devices.cursor);
    if (Window *capture = LookupQuiet(GetCapture())) {
        window = TopLevelOf(capture)->handle;
    }
    if (window == nullptr) {
        return;
    }
    POINT client = devices.cursor;
    ScreenToClient(window, &client);
    QueueInput({window, message, MAKEWPARAM(MouseKeys(), wheelDelta), MAKELPARAM(client.x, client.y)});
}

void QueueMouseEvent(const MOUSEINPUT &mouse)
{
    Devices &devices = TheDevices();
    if ((mouse.dwFlags & MOUSEEVENTF_MOVE) != 0) {
        POINT target = devices.cursor;
        if ((mouse.dwFlags & MOUSEEVENTF_ABSOLUTE) != 0) {
            target.x = static_cast<LONG>((static_cast<long long>(mouse.dx) * GetSystemMetrics(SM_CXSCREEN)) /
                                         kNormalisedRange);
            target.y = static_cast<LONG>((static_cast<long long>(mouse.dy) * GetSystemMetrics(SM_CYSCREEN)) /
                                         kNormalisedRange);
        } else {
            target.x += mouse.dx;
            target.y += mouse.dy;
        }
        SetCursorPos(target.x, target.y);
    }
    struct Button {
        DWORD flag;
        int key;
        UINT message;
        bool down;
    };
    const Button buttons[] = {
        {MOUSEEVENTF_LEFTDOWN, VK_LBUTTON, WM_LBUTTONDOWN, true},
        {MOUSEEVENTF_LEFTUP, VK_LBUTTON, WM_LBUTTONUP, false},
        {MOUSEEVENTF_RIGHTDOWN, VK_RBUTTON, WM_RBUTTONDOWN, true},
        {MOUSEEVENTF_RIGHTUP, VK_RBUTTON, WM_RBUTTONUP, false},
        {MOUSEEVENTF_MIDDLEDOWN, VK_MBUTTON, WM_MBUTTONDOWN, true},
        {MOUSEEVENTF_MIDDLEUP, VK_MBUTTON, WM_MBUTTONUP, false},
    };
    for (const Button &button : buttons) {
        if ((mouse.dwFlags & button.flag) == 0) {
            continue;
        }
        BYTE &state = devices.keys[button.key];
        state = static_cast<BYTE>(button.down ? state | kHeld : state & ~kHeld);
        QueueMouse(button.message);
    }
    const auto delta = static_cast<SHORT>(static_cast<LONG>(mouse.mouseData));
    if ((mouse.dwFlags & MOUSEEVENTF_WHEEL) != 0) {
        QueueMouse(WM_MOUSEWHEEL, delta);
    }
    if ((mouse.dwFlags & MOUSEEVENTF_HWHEEL) != 0) {
        QueueMouse(WM_MOUSEHWHEEL, delta);
    }
}

} // namespace

} // namespace platform::user32

using namespace platform::user32;

UINT WINAPI SendInput(UINT cInputs, LPINPUT pInputs, int cbSize)
{
    if (pInputs == nullptr || cbSize != static_cast<int>(sizeof(INPUT))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (UINT index = 0; index < cInputs; ++index) {
        const INPUT &input = pInputs[index];
        if (input.type == INPUT_KEYBOARD) {
            QueueKey(input.ki);
        } else if (input.type == INPUT_MOUSE) {
            QueueMouseEvent(input.mi);
        }
    }
    return cInputs;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint)
{
    if (lpPoint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpPoint = TheDevices().cursor;
    return TRUE;
}

// The pointer stays on the screen; moving it is a mouse move for the window under it.
BOOL WINAPI SetCursorPos(int X, int Y)
{
    Devices &devices = TheDevices();
    const POINT target = {std::clamp(X, 0, GetSystemMetrics(SM_CXSCREEN) - 1),
                          std::clamp(Y, 0, GetSystemMetrics(SM_CYSCREEN) - 1)};
    if (target.x == devices.cursor.x && target.y == devices.cursor.y) {
        return TRUE;
    }
    devices.cursor = target;
    QueueMouse(WM_MOUSEMOVE);
    return TRUE;
}

UINT WINAPI GetDoubleClickTime(void)
{
    return kDoubleClickTime;
}
