// The keyboard state as the queue's reader sees it (a key is down once its WM_KEYDOWN has been
// read), and the US layout TranslateMessage makes characters with.
#include "window.h"

#include <array>

namespace platform::user32 {

namespace {

constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);
constexpr SHORT kKeyToggled = 0x0001;
constexpr int kKeyCount = 256;

// Each key's state: kKeyDown while held, kKeyToggled flipped by each press.
std::array<SHORT, kKeyCount> &Keys()
{
    static std::array<SHORT, kKeyCount> keys = {};
    return keys;
}

// The character a key makes, as TranslateMessage's US keyboard layout has it; 0 for none.
WCHAR CharacterOf(WPARAM key, bool shift, bool capsLock)
{
    if (key >= 'A' && key <= 'Z') {
        return static_cast<WCHAR>(shift != capsLock ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9' && !shift) {
        return static_cast<WCHAR>(key);
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return static_cast<WCHAR>(key - VK_NUMPAD0 + '0');
    }
    switch (key) {
    case VK_SPACE: return L' ';
    case VK_RETURN: return L'\r';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return L'\b';
    case VK_TAB: return L'\t';
    case VK_SUBTRACT: return L'-';
    case VK_ADD: return L'+';
    case VK_DECIMAL: return L'.';
    case VK_OEM_MINUS: return shift ? L'_' : L'-';
    case VK_OEM_PLUS: return shift ? L'+' : L'=';
    case VK_OEM_COMMA: return shift ? L'<' : L',';
    case VK_OEM_PERIOD: return shift ? L'>' : L'.';
    default: return 0;
    }
}

// The character a key makes with Ctrl held: letters make the control characters 1 to 26.
WCHAR ControlCharacterOf(WPARAM key)
{
    if (key >= 'A' && key <= 'Z') {
        return static_cast<WCHAR>(key - 'A' + 1);
    }
    switch (key) {
    case VK_SPACE: return L' ';
    case VK_RETURN: return L'\n';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return 0x7F;
    default: return 0;
    }
}

// The mouse's buttons are keys too (VK_LBUTTON, VK_RBUTTON, VK_MBUTTON): down with a press or
// a double click, up with the release. Returns the key, or 0 for a message of no button.
int ButtonOf(UINT message, bool &down)
{
    struct ButtonMessages {
        UINT press;
        int key;
    };
    constexpr ButtonMessages kButtons[] = {
        {WM_LBUTTONDOWN, VK_LBUTTON}, {WM_RBUTTONDOWN, VK_RBUTTON}, {WM_MBUTTONDOWN, VK_MBUTTON}};
    for (const ButtonMessages &button : kButtons) {
        if (message == button.press || message == button.press + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN)) {
            down = true;
            return button.key;
        }
        if (message == button.press + (WM_LBUTTONUP - WM_LBUTTONDOWN)) {
            down = false;
            return button.key;
        }
    }
    return 0;
}

} // namespace

void TrackKeys(const MSG &msg)
{
    std::array<SHORT, kKeyCount> &keys = Keys();
    bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool key = down || msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    const int button = key ? 0 : ButtonOf(msg.message, down);
    if (!key && button == 0) {
        return;
    }
    const auto index = static_cast<size_t>(key ? (msg.wParam & 0xFF) : static_cast<WPARAM>(button));
    if (!down) {
        keys[index] = static_cast<SHORT>(keys[index] & kKeyToggled);
    } else if ((keys[index] & kKeyDown) == 0) {
        keys[index] = static_cast<SHORT>((keys[index] ^ kKeyToggled) | kKeyDown);
    }
}

} // namespace platform::user32

using namespace platform::user32;

BOOL WINAPI TranslateMessage(const MSG *lpMsg)
{
    if (lpMsg == nullptr) {
        return FALSE;
    }
    const bool system = lpMsg->message == WM_SYSKEYDOWN;
    if (lpMsg->message != WM_KEYDOWN && !system) {
        return lpMsg->message == WM_KEYUP || lpMsg->message == WM_SYSKEYUP;
    }
    const bool shift = (GetKeyState(VK_SHIFT) & kKeyDown) != 0;
    const bool capsLock = (GetKeyState(VK_CAPITAL) & kKeyToggled) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & kKeyDown) != 0;
    // Ctrl with Alt is AltGr, which makes nothing on a US layout.
    const bool alt = (GetKeyState(VK_MENU) & kKeyDown) != 0;
    WCHAR character = CharacterOf(lpMsg->wParam, shift, capsLock);
    if (control) {
        character = alt ? 0 : ControlCharacterOf(lpMsg->wParam);
    }
    if (character != 0) {
        PostToQueue(MakeMessage(lpMsg->hwnd, system ? WM_SYSCHAR : WM_CHAR, character, lpMsg->lParam));
    }
    return TRUE;
}

SHORT WINAPI GetKeyState(int nVirtKey)
{
    return nVirtKey >= 0 && nVirtKey < kKeyCount ? Keys()[static_cast<size_t>(nVirtKey)] : SHORT{0};
}

// Each key's state as a byte: 0x80 held down, 0x01 toggled.
BOOL WINAPI GetKeyboardState(PBYTE lpKeyState)
{
    if (lpKeyState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int key = 0; key < kKeyCount; ++key) {
        const SHORT state = Keys()[static_cast<size_t>(key)];
        lpKeyState[key] = static_cast<BYTE>(((state & kKeyDown) != 0 ? 0x80 : 0) | (state & kKeyToggled));
    }
    return TRUE;
}

// NOLINTNEXTLINE(readability-non-const-parameter): the platform declares it non-const
BOOL WINAPI SetKeyboardState(LPBYTE lpKeyState)
{
    if (lpKeyState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int key = 0; key < kKeyCount; ++key) {
        Keys()[static_cast<size_t>(key)] = static_cast<SHORT>(((lpKeyState[key] & 0x80) != 0 ? kKeyDown : 0) |
                                                              (lpKeyState[key] & kKeyToggled));
    }
    return TRUE;
}

SHORT WINAPI GetAsyncKeyState(int vKey)
{
    return static_cast<SHORT>(GetKeyState(vKey) & kKeyDown);
}
