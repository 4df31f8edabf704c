// The desktop host's own state, shared by its parts, which split by concern as SDL's backends do:
// sdl.cpp makes, shows and presents the native windows and keeps the clock; sdl_input.cpp turns
// SDL's events into window messages; sdl_clipboard.cpp serves the clipboard.
#pragma once

#include <SDL.h>

#include "host.h"
#include "window_pixels.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::host::sdl {

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
    Uint32 focusGainedAt = 0;  // the time of the focus event just read; 0 once another event came

    ~Host()
    {
        windows.clear();
        if (started) {
            SDL_Quit();
        }
    }
};

Host &TheHost();
// Starts SDL's video on first use.
void Start();
NativeWindow *Find(HWND window);
HWND FindByNativeId(Uint32 id);
// Puts `area` (surface pixels) of a window on screen.
void Show(NativeWindow &native, const RECT &area);

// Turns one SDL event into window messages on the pending list (sdl_input.cpp).
void Translate(const SDL_Event &sdlEvent);

} // namespace platform::host::sdl
