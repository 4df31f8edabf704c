// The clipboard's text as the tests put it there and read it back, ASCII only.
#pragma once

#include <windows.h>

#include <string>

namespace test {

// Empties the clipboard and puts `text` on it as `format` (CF_TEXT: the bytes as they are);
// nullptr leaves it empty. False where any step was refused or the clipboard kept another block.
bool PutClipboardText(const char *text, UINT format = CF_UNICODETEXT);

// The clipboard's text as `format`; "(none)" without such data, "(not opened)" or "(not closed)"
// where the clipboard refused either.
std::string ClipboardText(UINT format = CF_UNICODETEXT);

} // namespace test
