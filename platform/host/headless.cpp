// The headless host: surfaces in memory, input only as a test queues it, and a clock that moves
// only when told to.
// Supports: every window's pixels (read back, or written as PNG), a clipboard of its own.
// Not: a screen, input from a person, time that passes by itself.
#include "headless.h"
#include "host.h"
#include "window_pixels.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace platform {

namespace {

// Non-zero at start, as a tick count is on a running system.
constexpr DWORD kClockStart = 1000;

struct HostSurface : host::WindowPixels {
    bool visible = false;
};

struct Host {
    DWORD clock = kClockStart;
    std::map<HWND, std::unique_ptr<HostSurface>> surfaces;
    std::deque<host::Event> input;
    std::u16string clipboard;
};

Host &TheHost()
{
    static Host host;
    return host;
}

} // namespace

namespace host {

Surface *CreateSurface(HWND window, int width, int height)
{
    return &ResizeSurface(TheHost().surfaces, window, width, height).surface;
}

void DestroySurface(HWND window)
{
    TheHost().surfaces.erase(window);
}

void SetVisibility(HWND window, Visibility visibility)
{
    auto found = TheHost().surfaces.find(window);
    if (found != TheHost().surfaces.end()) {
        found->second->visible = visibility == Visibility::Shown;
    }
}

void SetLook(HWND /*window*/, const WindowLook & /*look*/)
{
    // No desktop to frame or place windows: a frame is its surface, non-client area included.
}

void Present(HWND /*window*/, const RECT & /*area*/)
{
    // Nothing to show: the frame stays in memory until a test asks for it.
}

bool WaitForEvent(DWORD deadline, Event &event)
{
    Host &host = TheHost();
    if (!host.input.empty()) {
        event = host.input.front();
        host.input.pop_front();
        return true;
    }
    // Only tests give input; waiting for a deadline is moving the clock to it.
    if (deadline != INFINITE && static_cast<LONG>(deadline - TheHost().clock) > 0) {
        TheHost().clock = deadline;
    }
    return false;
}

void SetClipboardText(const std::u16string &text)
{
    TheHost().clipboard = text;
}

std::u16string ClipboardText()
{
    return TheHost().clipboard;
}

DWORD Now()
{
    return TheHost().clock;
}

void Sleep(DWORD milliseconds)
{
    TheHost().clock += milliseconds;
}

} // namespace host

void AdvanceClock(DWORD milliseconds)
{
    TheHost().clock += milliseconds;
}

void InjectInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TheHost().input.push_back({window, message, wParam, lParam});
}

const Surface *WindowSurface(HWND window)
{
    auto found = TheHost().surfaces.find(window);
    return found == TheHost().surfaces.end() ? nullptr : &found->second->surface;
}

} // namespace platform
