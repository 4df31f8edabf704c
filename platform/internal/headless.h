// What tests can do with the headless host beyond the host interface.
#pragma once

#include <windows.h>

namespace platform {

// Moves the host's clock forward; timers that fall due fire at the next message retrieval.
void AdvanceClock(DWORD milliseconds);

// Queues input as if a person gave it: `message` for the top-level `window`, mouse positions in
// its client coordinates. USER32 routes it to the child, focus or capture that takes it.
void InjectInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Writes a top-level window's frame, non-client area included, as a PNG file.
bool SaveWindowPng(HWND window, const char *path);

} // namespace platform
