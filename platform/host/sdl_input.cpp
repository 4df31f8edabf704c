// The desktop host's input: SDL's mouse, wheel, key and text events, and its windows' close
// requests, as the window messages USER32 queues.
#include "sdl_host.h"

#include "text.h"

namespace platform::host::sdl {

namespace {

// Key message lParam bits: repeat count, previous key state, transition state.
constexpr LPARAM kKeyRepeatOnce = 1;
constexpr LPARAM kKeyWasDown = LPARAM{1} << 30;
constexpr LPARAM kKeyReleased = LPARAM{1} << 31;
constexpr LPARAM kAltHeld = LPARAM{KF_ALTDOWN} << 16;

struct KeyMapping {
    SDL_Keycode key;
    WPARAM virtualKey;
};

// Keys whose virtual-key code is not their character; letters and digits are mapped by range.
constexpr KeyMapping kKeys[] = {
    {SDLK_RETURN, VK_RETURN},     {SDLK_KP_ENTER, VK_RETURN},   {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_BACKSPACE, VK_BACK},    {SDLK_TAB, VK_TAB},           {SDLK_SPACE, VK_SPACE},
    {SDLK_DELETE, VK_DELETE},     {SDLK_INSERT, VK_INSERT},     {SDLK_HOME, VK_HOME},
    {SDLK_END, VK_END},           {SDLK_PAGEUP, VK_PRIOR},      {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_LEFT, VK_LEFT},         {SDLK_RIGHT, VK_RIGHT},       {SDLK_UP, VK_UP},
    {SDLK_DOWN, VK_DOWN},         {SDLK_LSHIFT, VK_SHIFT},      {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},     {SDLK_RCTRL, VK_CONTROL},     {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},         {SDLK_CAPSLOCK, VK_CAPITAL},  {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_EQUALS, VK_OEM_PLUS},   {SDLK_COMMA, VK_OEM_COMMA},   {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_KP_MINUS, VK_SUBTRACT}, {SDLK_KP_PLUS, VK_ADD},       {SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_DIVIDE, VK_DIVIDE},  {SDLK_KP_PERIOD, VK_DECIMAL}, {SDLK_KP_0, VK_NUMPAD0},
    {SDLK_KP_1, VK_NUMPAD1},      {SDLK_KP_2, VK_NUMPAD2},      {SDLK_KP_3, VK_NUMPAD3},
    {SDLK_KP_4, VK_NUMPAD4},      {SDLK_KP_5, VK_NUMPAD5},      {SDLK_KP_6, VK_NUMPAD6},
    {SDLK_KP_7, VK_NUMPAD7},      {SDLK_KP_8, VK_NUMPAD8},      {SDLK_KP_9, VK_NUMPAD9},
    {SDLK_APPLICATION, VK_APPS},
};

WPARAM VirtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) {
        return static_cast<WPARAM>('A') + static_cast<WPARAM>(key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return static_cast<WPARAM>('0') + static_cast<WPARAM>(key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return static_cast<WPARAM>(VK_F1) + static_cast<WPARAM>(key - SDLK_F1);
    }
    for (const KeyMapping &mapping : kKeys) {
        if (mapping.key == key) {
            return mapping.virtualKey;
        }
    }
    return 0;
}

WPARAM MouseKeys()
{
    const SDL_Keymod modifiers = SDL_GetModState();
    return TheHost().buttons | ((modifiers & KMOD_SHIFT) != 0 ? MK_SHIFT : 0) |
           ((modifiers & KMOD_CTRL) != 0 ? MK_CONTROL : 0);
}

// Native pixels to client ones, rounding down: left of or above the window stays negative.
int ToClient(Sint32 native)
{
    const int scale = TheHost().scale;
    return (native >= 0 ? native : native - (scale - 1)) / scale;
}

// A point in a native window in the client coordinates of its layer window.
LPARAM ClientPoint(HWND window, Sint32 x, Sint32 y)
{
    const NativeWindow *native = Find(window);
    const POINT origin = native != nullptr ? native->clientOrigin : POINT{0, 0};
    return MAKELPARAM(ToClient(x) - origin.x, ToClient(y) - origin.y);
}

// The window messages a mouse button makes: down and up, and the MK_ flag it holds.
struct ButtonMessages {
    UINT down;
    UINT up;
    WPARAM flag;
};

bool ButtonOf(Uint8 button, ButtonMessages &messages)
{
    switch (button) {
    case SDL_BUTTON_LEFT: messages = {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON}; return true;
    case SDL_BUTTON_RIGHT: messages = {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON}; return true;
    case SDL_BUTTON_MIDDLE: messages = {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON}; return true;
    default: return false;
    }
}

// A native window's own events: a close request becomes WM_CLOSE; exposure and a new size the
// host handles itself.
void OnWindowEvent(const SDL_WindowEvent &windowEvent)
{
    const HWND window = FindByNativeId(windowEvent.windowID);
    NativeWindow *native = Find(window);
    if (native == nullptr) {
        return;
    }
    switch (windowEvent.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: TheHost().focusGainedAt = windowEvent.timestamp; return;
    case SDL_WINDOWEVENT_CLOSE: TheHost().pending.push_back({window, WM_CLOSE, 0, 0}); return;
    case SDL_WINDOWEVENT_EXPOSED: SDL_UpdateWindowSurface(native->window.get()); return;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        native->shown.clear(); // a new window surface holds nothing yet
        Show(*native, {0, 0, native->surface.width, native->surface.height});
        return;
    default: return;
    }
}

void OnMouseMotion(const SDL_MouseMotionEvent &motion)
{
    const HWND window = FindByNativeId(motion.windowID);
    TheHost().pending.push_back({window, WM_MOUSEMOVE, MouseKeys(), ClientPoint(window, motion.x, motion.y)});
}

void OnMouseButton(const SDL_MouseButtonEvent &button)
{
    ButtonMessages messages{};
    if (!ButtonOf(button.button, messages)) {
        return;
    }
    Host &host = TheHost();
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    host.buttons = down ? host.buttons | messages.flag : host.buttons & ~messages.flag;
    const HWND window = FindByNativeId(button.windowID);
    host.pending.push_back(
        {window, down ? messages.down : messages.up, MouseKeys(), ClientPoint(window, button.x, button.y)});
}

// The wheel in WHEEL_DELTA a notch, fine-grained as the device reports it (SDL's precise amounts,
// in notches), at the pointer; SDL's horizontal and the platform's both count to the right.
void OnMouseWheel(const SDL_MouseWheelEvent &wheel)
{
    const HWND window = FindByNativeId(wheel.windowID);
    const float flip = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0F : 1.0F;
    const LPARAM point = ClientPoint(window, wheel.mouseX, wheel.mouseY);
    const std::pair<UINT, float> turns[] = {{WM_MOUSEWHEEL, wheel.preciseY},
                                            {WM_MOUSEHWHEEL, wheel.preciseX}};
    for (const auto &[message, amount] : turns) {
        const auto delta = static_cast<SHORT>(std::lround(amount * flip * WHEEL_DELTA));
        if (delta != 0) {
            TheHost().pending.push_back({window, message, MAKEWPARAM(MouseKeys(), delta), point});
        }
    }
}

// When a window gains the focus SDL presses again the modifiers the server held at that moment. By
// then they may be up: a menu's popup takes the focus late, after the Alt of Alt+Space was let go,
// and a stale Alt would close the menu. The platform sends no key-down for a key that was held
// before the focus came, so those presses are dropped.
bool PressedBeforeFocus(const SDL_KeyboardEvent &key)
{
    const SDL_Scancode code = key.keysym.scancode;
    return key.type == SDL_KEYDOWN && key.timestamp == TheHost().focusGainedAt &&
           code >= SDL_SCANCODE_LCTRL && code <= SDL_SCANCODE_RGUI;
}

void OnKey(const SDL_KeyboardEvent &key)
{
    const WPARAM virtualKey = VirtualKey(key.keysym.sym);
    if (virtualKey == 0 || PressedBeforeFocus(key)) {
        return;
    }
    const bool down = key.type == SDL_KEYDOWN;
    // With Alt held (and not as AltGr, which comes with Ctrl) keys are system keys, and so is F10.
    const Uint16 modifiers = key.keysym.mod;
    const bool system = ((modifiers & KMOD_ALT) != 0 && (modifiers & KMOD_CTRL) == 0) || virtualKey == VK_F10;
    const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    const LPARAM state = (down ? (key.repeat != 0 ? kKeyWasDown : 0) : kKeyWasDown | kKeyReleased) |
                         ((modifiers & KMOD_ALT) != 0 ? kAltHeld : 0);
    TheHost().pending.push_back({FindByNativeId(key.windowID), message, virtualKey, kKeyRepeatOnce | state});
}

// TranslateMessage makes the ASCII characters from their keys; only the rest come as text.
void OnTextInput(const SDL_TextInputEvent &input)
{
    const HWND window = FindByNativeId(input.windowID);
    for (const char16_t character : text::FromUtf8(input.text)) {
        if (character >= 0x80) {
            TheHost().pending.push_back({window, WM_CHAR, character, kKeyRepeatOnce});
        }
    }
}

} // namespace

// Turns one SDL event into window messages on the pending list.
void Translate(const SDL_Event &sdlEvent)
{
    if (sdlEvent.type != SDL_KEYDOWN && sdlEvent.type != SDL_WINDOWEVENT) {
        TheHost().focusGainedAt = 0;
    }
    switch (sdlEvent.type) {
    case SDL_WINDOWEVENT: OnWindowEvent(sdlEvent.window); return;
    case SDL_MOUSEMOTION: OnMouseMotion(sdlEvent.motion); return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: OnMouseButton(sdlEvent.button); return;
    case SDL_MOUSEWHEEL: OnMouseWheel(sdlEvent.wheel); return;
    case SDL_KEYDOWN:
    case SDL_KEYUP: OnKey(sdlEvent.key); return;
    case SDL_TEXTINPUT: OnTextInput(sdlEvent.text); return;
    default: return;
    }
}

} // namespace platform::host::sdl
