// What tests can do with the headless host beyond the host interface.
#pragma once

#include "platform.h"

namespace platform {

// Moves the host's clock forward; timers that fall due fire at the next message retrieval.
void AdvanceClock(DWORD milliseconds);

// Queues input as if a person gave it: `message` for the top-level `window`, mouse positions in
// its client coordinates. USER32 routes it to the child, focus or capture that takes it.
void InjectInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The pixels of a top-level window's frame, non-client area included; null for any other window.
const Surface *WindowSurface(HWND window);

// Writes a top-level window's frame as a PNG file (library win32_headless_png).
bool SaveWindowPng(HWND window, const char *path);

} // namespace platform
