// The clipboard, for text: the host keeps the text itself (the desktop's clipboard, or memory),
// USER32 keeps the opening and the memory blocks it hands out and takes over.
#include <windows.h>

#include "host.h"
#include "text.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>

namespace text = platform::text;

namespace {

struct Clipboard {
    bool open = false;
    DWORD openingThread = 0;
    HWND openedBy = nullptr;
    // The blocks the clipboard owns, by format: given to SetClipboardData or made for
    // GetClipboardData. They stay valid until the clipboard is emptied or its text changes.
    std::map<UINT, HGLOBAL> blocks;
};

Clipboard &TheClipboard()
{
    static Clipboard clipboard;
    return clipboard;
}

bool IsText(UINT format)
{
    return format == CF_UNICODETEXT || format == CF_TEXT || format == CF_OEMTEXT;
}

bool CheckOpen()
{
    if (!TheClipboard().open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    return true;
}

// The text a block of `format` holds: up to its terminator or its end. CF_TEXT and CF_OEMTEXT
// alike hold ANSI text.
std::u16string TextOf(UINT format, HGLOBAL block)
{
    const SIZE_T size = GlobalSize(block);
    const void *bytes = GlobalLock(block);
    if (bytes == nullptr) {
        return {};
    }
    std::u16string contents;
    if (format == CF_UNICODETEXT) {
        const std::u16string_view wide(static_cast<const char16_t *>(bytes), size / sizeof(char16_t));
        contents = wide.substr(0, wide.find(u'\0'));
    } else {
        const std::string_view ansi(static_cast<const char *>(bytes), size);
        contents = text::FromAnsi(ansi.data(), static_cast<int>(std::min(ansi.find('\0'), ansi.size())));
    }
    GlobalUnlock(block);
    return contents;
}

// A new moveable block that holds `contents`, terminated, in `format`.
HGLOBAL BlockOf(UINT format, const std::u16string &contents)
{
    const bool wide = format == CF_UNICODETEXT;
    const std::string ansi = wide ? std::string() : text::ToAnsi(contents);
    const SIZE_T size = wide ? (contents.size() + 1) * sizeof(char16_t) : ansi.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void *bytes = GlobalLock(block);
    if (bytes == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    CopyMemory(bytes, wide ? static_cast<const void *>(contents.c_str()) : ansi.c_str(), size);
    GlobalUnlock(block);
    return block;
}

void FreeBlocks()
{
    for (const auto &[format, block] : TheClipboard().blocks) {
        GlobalFree(block);
    }
    TheClipboard().blocks.clear();
}

} // namespace

// The thread that opened the clipboard may open it again, for any window; others must wait.
BOOL WINAPI OpenClipboard(HWND hWndNewOwner)
{
    Clipboard &clipboard = TheClipboard();
    if (clipboard.open && clipboard.openingThread != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    clipboard.open = true;
    clipboard.openingThread = GetCurrentThreadId();
    clipboard.openedBy = hWndNewOwner;
    return TRUE;
}

BOOL WINAPI CloseClipboard(void)
{
    if (!CheckOpen()) {
        return FALSE;
    }
    TheClipboard().open = false;
    TheClipboard().openedBy = nullptr;
    return TRUE;
}

BOOL WINAPI EmptyClipboard(void)
{
    if (!CheckOpen()) {
        return FALSE;
    }
    FreeBlocks();
    platform::host::SetClipboardText(std::u16string());
    return TRUE;
}

// Takes over `hMem`: the text goes to the host in every text format at once, and the blocks
// of the text before it are freed.
HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem)
{
    if (!CheckOpen()) {
        return nullptr;
    }
    if (!IsText(uFormat) || hMem == nullptr) {
        // Only text, and only rendered at once.
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const std::u16string text = TextOf(uFormat, hMem);
    FreeBlocks();
    TheClipboard().blocks[uFormat] = hMem;
    platform::host::SetClipboardText(text);
    return hMem;
}

// A block of the host's text in `uFormat`, owned by the clipboard; NULL without text.
HANDLE WINAPI GetClipboardData(UINT uFormat)
{
    if (!CheckOpen()) {
        return nullptr;
    }
    const std::u16string text = IsText(uFormat) ? platform::host::ClipboardText() : std::u16string();
    if (text.empty()) {
        return nullptr;
    }
    HGLOBAL &block = TheClipboard().blocks[uFormat];
    if (block != nullptr && TextOf(uFormat, block) == text) {
        return block;
    }
    // The text changed since (another program copied): the old block goes.
    GlobalFree(block);
    block = BlockOf(uFormat, text);
    return block;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format)
{
    return IsText(format) && !platform::host::ClipboardText().empty();
}

HWND WINAPI GetOpenClipboardWindow(void)
{
    return TheClipboard().openedBy;
}
