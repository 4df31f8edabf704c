// The button's version-6 extras: text margins, a command link's note, the split button's arrow,
// images set with BM_SETIMAGE, and the size that fits the button's content (BCM_GETIDEALSIZE).
#pragma once

#include "button.h"

namespace button {

// Handles those messages; any other goes to DefWindowProc.
LRESULT HandleExtras(HWND hwnd, Button &button, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace button
