// Text between the encodings the layer meets: UTF-16 inside and in the W functions, UTF-8 on the
// desktop and in fontconfig, and the ANSI code page of the A functions, which is UTF-8 here. One
// decoder for all of them, so that the same bytes are the same text in every part.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::text {

// UTF-8 bytes as UTF-16. Each malformed sequence (a stray continuation byte, a lead byte above
// F4, a sequence cut short, an overlong form, a surrogate or a code point past U+10FFFF) becomes
// one U+FFFD, and `valid` turns false.
struct Decoded {
    std::u16string text;
    bool valid = true;
};
Decoded DecodeUtf8(std::string_view bytes);
std::u16string FromUtf8(std::string_view bytes);

// UTF-16 as UTF-8; a lone surrogate, which has no UTF-8 form, becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// Our UTF-16 strings as the W functions take them, and back: WCHAR has the size of char16_t
// (std::wstring would use the C++ library's 32-bit wchar_t). Null reads as the empty string.
inline LPCWSTR AsWide(const std::u16string &text)
{
    return reinterpret_cast<LPCWSTR>(text.c_str());
}
inline std::u16string FromWide(LPCWSTR text)
{
    return text == nullptr ? std::u16string() : std::u16string(reinterpret_cast<const char16_t *>(text));
}

// A C string as a view: up to its terminator, or `length` characters when that is not negative.
// Null is the empty string.
std::string_view View(const char *text, int length = -1);
std::u16string_view View(const WCHAR *text, int length = -1);

// The ANSI code page, CP_ACP, is UTF-8 here, as on Windows set to use UTF-8 for it. ANSI text
// comes as the A functions take it, a C string with its length as View reads them.
inline std::u16string FromAnsi(const char *text, int length = -1)
{
    return FromUtf8(View(text, length));
}
inline std::string ToAnsi(std::u16string_view text)
{
    return ToUtf8(text);
}

// Copies `text` into a caller's buffer of `capacity` characters, cut to fit and always terminated
// (nothing is written when the capacity is zero); returns the characters copied, terminator aside.
// The cut counts the buffer's characters, so ANSI text may end inside a sequence.
template <typename Text, typename Char> size_t CopyToBuffer(const Text &text, Char *buffer, size_t capacity)
{
    if (buffer == nullptr || capacity == 0) {
        return 0;
    }
    const size_t count = text.size() < capacity - 1 ? text.size() : capacity - 1;
    for (size_t index = 0; index < count; ++index) {
        buffer[index] = static_cast<Char>(text[index]);
    }
    buffer[count] = 0;
    return count;
}

} // namespace platform::text
