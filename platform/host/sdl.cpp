// The desktop host: each top-level window in a native SDL window, its input as window messages.
// The desktop's window manager draws the frame and caption, so the native window shows only the
// client area of the frame USER32 draws; mouse positions in it are then client coordinates.
// Supports: windows and popups (placed from their owner), the display's integer scale, the frame's
// buttons as the styles allow them (X11), mouse, wheel, keys and text input, the clipboard (UTF-8).
// Not: captions drawn by USER32 (the window manager draws them), fractional scales, IME composition.
// This part makes, shows and presents the windows and keeps the clock.
#include "sdl_host.h"

#include <SDL_syswm.h>

#include "rects.h"
#include "text.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <thread>

namespace platform::host {

namespace sdl {

namespace {

// Dots per inch at a scale of one; the client area is drawn larger on denser displays.
constexpr float kBaseDotsPerInch = 96.0f;
constexpr int kMaximumScale = 4;

// The longest a busy program's presented pixels wait to reach the screen.
constexpr DWORD kFrameMilliseconds = 16;

} // namespace

Host &TheHost()
{
    static Host host;
    return host;
}

namespace {

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

} // namespace

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

namespace {

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

} // namespace

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

namespace {

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

} // namespace

} // namespace sdl

using namespace sdl;

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
