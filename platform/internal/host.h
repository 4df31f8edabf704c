// The host beneath the layer: where top-level windows get their pixels, events and time.
// The headless host (tests) keeps everything in memory; a windowing host shows it to people.
// The host depends on nothing above it: it calls neither USER32 nor GDI32.
#pragma once

#include "platform.h"

#include <string>

namespace platform::host {

// An input event for a window, already in window-message form (client coordinates, the wheel's
// too: USER32 gives it on with the point on the screen).
struct Event {
    HWND window = nullptr;
    UINT message = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The pixels a window keeps are bounded as a screen's are: a larger window (a dialog template may
// ask for one with a huge font) keeps this many in each direction instead of taking gigabytes.
constexpr int kLargestSurface = 8192;

// The pixels of a top-level window (its whole frame), created or resized to width x height.
// The pointer stays valid until DestroySurface; its pixels move when the size changes.
Surface *CreateSurface(HWND window, int width, int height);
void DestroySurface(HWND window);

enum class Visibility { Hidden, Shown };
void SetVisibility(HWND window, Visibility visibility);

enum class WindowKind {
    Framed, // the desktop frames and places it
    Popup,  // owned and without a caption (a drop-down list): it shows its own frame, next to its owner
};

// How a top-level window stands on the screen, all the host needs to show it: USER32 tells it
// once the window is created, and again whenever its frame, client area, text, style or owner
// changes. The host keeps the last it was told and never asks USER32 back.
struct WindowLook {
    RECT frame = {};  // the whole window, in screen coordinates
    RECT client = {}; // the client area, in screen coordinates
    std::u16string caption;
    HWND owner = nullptr; // the owning window, as the key the host knows it by; null when none
    WindowKind kind = WindowKind::Framed;
    // What the frame lets a person do with the window, as its styles allow; a desktop's window
    // manager is told, so that it offers nothing more.
    bool canMinimize = false;
    bool canMaximize = false;
    bool canResize = false;
    bool closeBox = false; // its caption has a close button (WS_SYSMENU), for a host that draws captions
};
void SetLook(HWND window, const WindowLook &look);

// Shows the surface's pixels inside `area` (surface pixels) on the screen.
void Present(HWND window, const RECT &area);

// Waits for the next event until the clock reaches `deadline` (INFINITE: no deadline). Returns
// true with an event; false once the deadline is reached, or at once when no event can ever come
// and there is no deadline.
bool WaitForEvent(DWORD deadline, Event &event);

// The clipboard's text: the desktop's own clipboard on a windowing host, so that other programs
// share it; memory on the headless one. Empty text is no text.
void SetClipboardText(const std::u16string &text);
std::u16string ClipboardText();

// Milliseconds since the host started, and a pause of the calling thread.
DWORD Now();
void Sleep(DWORD milliseconds);

} // namespace platform::host
