// The desktop host: each top-level window in a native SDL window, its input as window messages.
// The desktop's window manager draws the frame and caption, so the native window shows only the
// client area of the frame USER32 draws; mouse positions in it are then client coordinates.
#include <SDL.h>
#include <SDL_syswm.h>

#include "host.h"
#include "rects.h"
#include "window_pixels.h"
#include "text.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace platform::host {

namespace {

// Dots per inch at a scale of one; the client area is drawn larger on denser displays.
constexpr float kBaseDotsPerInch = 96.0f;
constexpr int kMaximumScale = 4;

// The longest a busy program's presented pixels wait to reach the screen.
constexpr DWORD kFrameMilliseconds = 16;

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

struct WindowDeleter {
    void operator()(SDL_Window *window) const { SDL_DestroyWindow(window); }
};

struct NativeWindow : WindowPixels {
    std::unique_ptr<SDL_Window, WindowDeleter> window; // made when first shown
    RECT client = {};                                  // what it shows, in surface pixels
    POINT clientOrigin = {};                           // the client area's origin in what it shows
    std::vector<std::uint32_t> shown;                  // its pixels as last presented; empty: none yet
    RECT pending = {};                                 // presented since, in surface pixels
    WindowLook look;                                   // as the layer last told it
    std::string caption;                               // the native window's title, in UTF-8
};

struct Host {
    bool started = false;
    int scale = 1;
    std::map<HWND, std::unique_ptr<NativeWindow>> windows;
    std::deque<Event> pending; // events beyond the first that one SDL event made
    WPARAM buttons = 0;        // MK_ flags of the mouse buttons held
    DWORD shownAt = 0;         // when the pending areas were last put on screen

    ~Host()
    {
        windows.clear();
        if (started) {
            SDL_Quit();
        }
    }
};

Host &TheHost()
{
    static Host host;
    return host;
}

// The display's integer scale: from its density where SDL knows it, else from the desktop's
// setting for it (GDK_SCALE).
int DisplayScale()
{
    float dotsPerInch = 0.0f;
    if (SDL_GetDisplayDPI(0, &dotsPerInch, nullptr, nullptr) == 0 && dotsPerInch > 0.0f) {
        return std::clamp(static_cast<int>(dotsPerInch / kBaseDotsPerInch), 1, kMaximumScale);
    }
    const char *setting = SDL_getenv("GDK_SCALE");
    return setting != nullptr ? std::clamp(SDL_atoi(setting), 1, kMaximumScale) : 1;
}

// Starts SDL's video on first use.
void Start()
{
    Host &host = TheHost();
    if (host.started) {
        return;
    }
    // The process ends on SIGINT and SIGTERM as any other does, not by a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window's own surface, put on screen by the windowing system rectangle by rectangle: no
    // GPU renderer behind it, and the native window is never made again once it exists.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Without a display SDL falls back to windows in memory; those serve only when asked for. A
    // program whose windows nobody can see or close would just hang: it ends instead.
    const char *problem = SDL_Init(SDL_INIT_VIDEO) != 0 ? SDL_GetError() : nullptr;
    if (problem == nullptr && SDL_getenv("SDL_VIDEODRIVER") == nullptr &&
        SDL_strcmp(SDL_GetCurrentVideoDriver(), "offscreen") == 0) {
        problem = "neither DISPLAY nor WAYLAND_DISPLAY names one";
    }
    if (problem != nullptr) {
        std::fprintf(stderr, "host: no display to show windows on: %s\n", problem);
        std::exit(EXIT_FAILURE);
    }
    host.scale = DisplayScale();
    host.started = true;
}

NativeWindow *Find(HWND window)
{
    auto found = TheHost().windows.find(window);
    return found == TheHost().windows.end() ? nullptr : found->second.get();
}

HWND FindByNativeId(Uint32 id)
{
    for (const auto &[hwnd, native] : TheHost().windows) {
        if (native->window && SDL_GetWindowID(native->window.get()) == id) {
            return hwnd;
        }
    }
    return nullptr;
}

// Where a popup's native window goes: its frame's offset from its owner's client area, in native
// pixels, from where the owner's native window is. False while the owner has no native window.
bool PopupPosition(const WindowLook &look, int &x, int &y)
{
    const NativeWindow *owner = Find(look.owner);
    if (owner == nullptr || !owner->window) {
        return false;
    }
    SDL_GetWindowPosition(owner->window.get(), &x, &y);
    x += (look.frame.left - owner->look.client.left) * TheHost().scale;
    y += (look.frame.top - owner->look.client.top) * TheHost().scale;
    return true;
}

// Tells an X window manager, through Motif's hints that they all read, what the frame may offer:
// moving and closing always, minimizing, maximizing and resizing only as the window's styles allow.
void LimitFrame(SDL_Window *window, const WindowLook &look)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    enum : unsigned long { kFunctionsGiven = 1, kDecorationsGiven = 2 };
    enum : unsigned long { kResize = 2, kMove = 4, kMinimize = 8, kMaximize = 16, kClose = 32 };
    enum : unsigned long {
        kBorder = 2,
        kHandles = 4,
        kTitle = 8,
        kMenu = 16,
        kMinimizeBox = 32,
        kMaximizeBox = 64
    };
    unsigned long hints[5] = {kFunctionsGiven | kDecorationsGiven, kMove | kClose, kBorder | kTitle | kMenu,
                              0, 0};
    const std::pair<bool, std::pair<unsigned long, unsigned long>> allowed[] = {
        {look.canMinimize, {kMinimize, kMinimizeBox}},
        {look.canMaximize, {kMaximize, kMaximizeBox}},
        {look.canResize, {kResize, kHandles}}};
    for (const auto &[can, bits] : allowed) {
        if (can) {
            hints[1] |= bits.first;
            hints[2] |= bits.second;
        }
    }
    Display *display = info.info.x11.display;
    const Atom property = XInternAtom(display, "_MOTIF_WM_HINTS", 0);
    XChangeProperty(display, info.info.x11.window, property, property, 32, PropModeReplace,
                    reinterpret_cast<unsigned char *>(hints), static_cast<int>(std::size(hints)));
}

// Brings the native window in line with the layer's look: the place and size of what it shows,
// and the caption.
void Synchronize(NativeWindow &native)
{
    const WindowLook &look = native.look;
    const bool popup = look.kind == WindowKind::Popup;
    const RECT client = ShownArea(native.look, native.surface);
    native.clientOrigin =
        popup ? POINT{look.client.left - look.frame.left, look.client.top - look.frame.top} : POINT{0, 0};
    const int scale = TheHost().scale;
    const int width = std::max<LONG>(client.right - client.left, 1) * scale;
    const int height = std::max<LONG>(client.bottom - client.top, 1) * scale;
    const std::string caption = text::ToUtf8(look.caption);
    int x = SDL_WINDOWPOS_CENTERED;
    int y = SDL_WINDOWPOS_CENTERED;
    const bool placed = popup && PopupPosition(look, x, y);
    if (!native.window) {
        const Uint32 kind = popup ? SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR : 0;
        native.window.reset(SDL_CreateWindow(caption.c_str(), x, y, width, height, SDL_WINDOW_HIDDEN | kind));
        native.caption = caption;
        if (native.window && !popup) {
            LimitFrame(native.window.get(), look);
        }
    } else if (!Same(client, native.client)) {
        SDL_SetWindowSize(native.window.get(), width, height);
    }
    if (placed && native.window) {
        int nativeX = 0;
        int nativeY = 0;
        SDL_GetWindowPosition(native.window.get(), &nativeX, &nativeY);
        if (nativeX != x || nativeY != y) {
            SDL_SetWindowPosition(native.window.get(), x, y);
        }
    }
    if (!Same(client, native.client)) {
        native.client = client;
        native.shown.clear();
    }
    if (native.window && caption != native.caption) {
        SDL_SetWindowTitle(native.window.get(), caption.c_str());
        native.caption = caption;
    }
}

// The bounds of the client pixels within `area` that differ from what is on screen (all the
// client's pixels while nothing is).
RECT ChangedArea(const NativeWindow &native, const RECT &area)
{
    const int width = native.client.right - native.client.left;
    const RECT clientBounds = {0, 0, width, native.client.bottom - native.client.top};
    if (native.shown.empty()) {
        return clientBounds;
    }
    const RECT limit = Intersection(Moved(area, -native.client.left, -native.client.top), clientBounds);
    RECT changed = {0, 0, 0, 0};
    for (int y = limit.top; y < limit.bottom; ++y) {
        const std::uint32_t *row = native.surface.pixels +
                                   static_cast<ptrdiff_t>(y + native.client.top) * native.surface.stride +
                                   native.client.left;
        const std::uint32_t *before = native.shown.data() + static_cast<ptrdiff_t>(y) * width;
        int left = limit.left;
        while (left < limit.right && row[left] == before[left]) {
            ++left;
        }
        if (left == limit.right) {
            continue;
        }
        int right = limit.right;
        while (row[right - 1] == before[right - 1]) {
            --right;
        }
        const RECT line = {left, y, right, y + 1};
        changed = Union(changed, line);
    }
    return changed;
}

// Copies the changed part of the client area to the screen and remembers what it now shows.
void Show(NativeWindow &native, const RECT &area)
{
    const RECT changed = ChangedArea(native, area);
    if (IsEmpty(changed) || !native.window) {
        return;
    }
    SDL_Surface *target = SDL_GetWindowSurface(native.window.get());
    const int width = native.client.right - native.client.left;
    const int height = native.client.bottom - native.client.top;
    std::uint32_t *clientPixels = native.surface.pixels +
                                  static_cast<ptrdiff_t>(native.client.top) * native.surface.stride +
                                  native.client.left;
    SDL_Surface *source = SDL_CreateRGBSurfaceWithFormatFrom(
        clientPixels, width, height, 32, native.surface.stride * 4, SDL_PIXELFORMAT_RGB888);
    if (target == nullptr || source == nullptr) {
        SDL_FreeSurface(source);
        return;
    }
    const int scale = TheHost().scale;
    SDL_Rect from = {changed.left, changed.top, changed.right - changed.left, changed.bottom - changed.top};
    SDL_Rect to = {from.x * scale, from.y * scale, from.w * scale, from.h * scale};
    SDL_BlitScaled(source, &from, target, &to);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurfaceRects(native.window.get(), &to, 1);

    native.shown.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = changed.top; y < changed.bottom; ++y) {
        const std::uint32_t *row = clientPixels + static_cast<ptrdiff_t>(y) * native.surface.stride;
        std::copy(row + changed.left, row + changed.right,
                  native.shown.begin() + static_cast<ptrdiff_t>(y) * width + changed.left);
    }
}

// Puts what was presented on screen, in one go per window: a parent's erase and the repaint of
// its children then reach the screen together, never the erase alone.
void ShowPending()
{
    for (auto &entry : TheHost().windows) {
        NativeWindow &native = *entry.second;
        if (native.window && !IsEmpty(native.pending)) {
            Synchronize(native);
            Show(native, native.pending);
            native.pending = {};
        }
    }
    TheHost().shownAt = Now();
}

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

void OnKey(const SDL_KeyboardEvent &key)
{
    const WPARAM virtualKey = VirtualKey(key.keysym.sym);
    if (virtualKey == 0) {
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

// Turns one SDL event into window messages on the pending list.
void Translate(const SDL_Event &sdlEvent)
{
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

} // namespace

Surface *CreateSurface(HWND window, int width, int height)
{
    NativeWindow &native = ResizeSurface(TheHost().windows, window, width, height);
    native.shown.clear();
    return &native.surface;
}

void DestroySurface(HWND window)
{
    TheHost().windows.erase(window);
}

void SetVisibility(HWND window, Visibility visibility)
{
    NativeWindow *native = Find(window);
    if (native == nullptr) {
        return;
    }
    Start();
    Synchronize(*native);
    if (!native->window) {
        std::fprintf(stderr, "host: the window cannot be made: %s\n", SDL_GetError());
        return;
    }
    if (visibility == Visibility::Shown) {
        SDL_ShowWindow(native->window.get());
        native->shown.clear();
    } else {
        SDL_HideWindow(native->window.get());
    }
}

void SetLook(HWND window, const WindowLook &look)
{
    if (NativeWindow *native = Find(window)) {
        native->look = look;
    }
}

void Present(HWND window, const RECT &area)
{
    NativeWindow *native = Find(window);
    if (native != nullptr && native->window) {
        native->pending = Union(native->pending, area);
    }
}

bool WaitForEvent(DWORD deadline, Event &event)
{
    Host &host = TheHost();
    for (;;) {
        while (!host.pending.empty()) {
            event = host.pending.front();
            host.pending.pop_front();
            if (event.window != nullptr) {
                return true;
            }
        }
        const auto remaining = static_cast<LONG>(deadline - Now());
        // The program has done its work once it waits; one that never does still shows frames.
        if (deadline == INFINITE || remaining > 0 || Now() - host.shownAt >= kFrameMilliseconds) {
            ShowPending();
        }
        if (!host.started || host.windows.empty()) {
            // No window, so no input: only the deadline can end the wait.
            if (deadline != INFINITE && remaining > 0) {
                Sleep(static_cast<DWORD>(remaining));
            }
            return false;
        }
        SDL_Event sdlEvent;
        int received = 0;
        if (deadline == INFINITE) {
            received = SDL_WaitEvent(&sdlEvent);
        } else if (remaining > 0) {
            received = SDL_WaitEventTimeout(&sdlEvent, static_cast<int>(remaining));
        } else {
            received = SDL_PollEvent(&sdlEvent);
        }
        if (received != 0) {
            Translate(sdlEvent);
        } else if (deadline == INFINITE || remaining <= 0) {
            return false;
        }
        // Otherwise SDL's timeout ended a little before our clock reached the deadline: wait on.
    }
}

// The desktop's clipboard holds UTF-8.
void SetClipboardText(const std::u16string &text)
{
    Start();
    SDL_SetClipboardText(platform::text::ToUtf8(text).c_str());
}

std::u16string ClipboardText()
{
    Start();
    char *utf8 = SDL_GetClipboardText();
    std::u16string clipboard;
    if (utf8 != nullptr) {
        clipboard = text::FromUtf8(utf8);
        SDL_free(utf8);
    }
    return clipboard;
}

DWORD Now()
{
    // The monotonic clock counts from boot, as the platform's tick count does.
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

void Sleep(DWORD milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform::host
