// The desktop host's clipboard: the desktop's own, which holds UTF-8.
#include "sdl_host.h"

#include "text.h"

namespace platform::host {

void SetClipboardText(const std::u16string &text)
{
    sdl::Start();
    SDL_SetClipboardText(platform::text::ToUtf8(text).c_str());
}

std::u16string ClipboardText()
{
    sdl::Start();
    char *utf8 = SDL_GetClipboardText();
    std::u16string clipboard;
    if (utf8 != nullptr) {
        clipboard = text::FromUtf8(utf8);
        SDL_free(utf8);
    }
    return clipboard;
}

} // namespace platform::host
