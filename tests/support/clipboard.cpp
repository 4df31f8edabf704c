#include "clipboard.h"

#include <cstring>

namespace test {

namespace {

// A moveable block holding `text` and its terminator as `format` has it, or null.
HGLOBAL TextBlock(const char *text, UINT format)
{
    const size_t length = std::strlen(text);
    const bool wide = format == CF_UNICODETEXT;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * (wide ? sizeof(WCHAR) : 1));
    void *bytes = block != nullptr ? GlobalLock(block) : nullptr;
    if (bytes == nullptr) {
        return nullptr;
    }
    if (wide) {
        auto *characters = static_cast<WCHAR *>(bytes);
        for (size_t index = 0; index <= length; ++index) {
            characters[index] = static_cast<WCHAR>(static_cast<unsigned char>(text[index]));
        }
    } else {
        std::memcpy(bytes, text, length + 1);
    }
    GlobalUnlock(block);
    return block;
}

} // namespace

bool PutClipboardText(const char *text, UINT format)
{
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    bool put = EmptyClipboard() != FALSE;
    if (text != nullptr) {
        HGLOBAL block = TextBlock(text, format);
        put = put && block != nullptr && SetClipboardData(format, block) == block;
    }
    return CloseClipboard() != FALSE && put;
}

std::string ClipboardText(UINT format)
{
    if (!OpenClipboard(nullptr)) {
        return "(not opened)";
    }
    std::string text = "(none)";
    if (HANDLE block = GetClipboardData(format)) {
        const void *bytes = GlobalLock(block);
        text.clear();
        if (format == CF_UNICODETEXT) {
            for (const WCHAR *character = static_cast<const WCHAR *>(bytes); *character != 0; ++character) {
                text.push_back(static_cast<char>(*character));
            }
        } else {
            text = static_cast<const char *>(bytes);
        }
        GlobalUnlock(block);
    }
    return CloseClipboard() ? text : "(not closed)";
}

} // namespace test
