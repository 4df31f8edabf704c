// The layer's one UTF-8 decoder and encoder.
#include "text.h"

namespace platform::text {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char16_t kHighSurrogate = 0xD800;
constexpr char16_t kLowSurrogate = 0xDC00;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// One sequence at the start of `bytes`: its code point, or nothing when it is malformed; `used`
// is how many bytes it took. A sequence cut short or broken by a byte that does not continue it
// takes the bytes up to there.
bool DecodeOne(std::string_view bytes, char32_t &code, size_t &used)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    size_t extra = 0;
    char32_t minimum = 0;
    used = 1;
    if (lead < 0x80) {
        code = lead;
        return true;
    }
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07u, minimum = kFirstSupplementary;
    } else {
        return false; // a stray continuation byte, or no lead byte of UTF-8 at all
    }
    for (; used <= extra && used < bytes.size() && IsContinuation(static_cast<unsigned char>(bytes[used]));
         ++used) {
        code = (code << 6) | (static_cast<unsigned char>(bytes[used]) & 0x3Fu);
    }
    return used == extra + 1 && code >= minimum && code <= kLastCodePoint &&
           (code < kFirstSurrogate || code > kLastSurrogate);
}

void AppendUtf16(char32_t code, std::u16string &text)
{
    if (code < kFirstSupplementary) {
        text += static_cast<char16_t>(code);
        return;
    }
    code -= kFirstSupplementary;
    text += static_cast<char16_t>(kHighSurrogate + (code >> 10));
    text += static_cast<char16_t>(kLowSurrogate + (code & 0x3FF));
}

void AppendUtf8(char32_t code, std::string &text)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < kFirstSupplementary) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= kHighSurrogate && unit < kLowSurrogate;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= kLowSurrogate && unit <= kLastSurrogate;
}

} // namespace

Decoded DecodeUtf8(std::string_view bytes)
{
    Decoded decoded;
    decoded.text.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t code = 0;
        size_t used = 0;
        if (!DecodeOne(bytes, code, used)) {
            code = kReplacement;
            decoded.valid = false;
        }
        AppendUtf16(code, decoded.text);
        bytes.remove_prefix(used);
    }
    return decoded;
}

std::u16string FromUtf8(std::string_view bytes)
{
    return DecodeUtf8(bytes).text;
}

std::string ToUtf8(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        char32_t code = text[at];
        if (IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
            code = kFirstSupplementary + ((code - kHighSurrogate) << 10) + (text[at + 1] - kLowSurrogate);
            ++at;
        } else if (code >= kFirstSurrogate && code <= kLastSurrogate) {
            code = kReplacement;
        }
        AppendUtf8(code, bytes);
    }
    return bytes;
}

std::string_view View(const char *text, int length)
{
    if (text == nullptr) {
        return {};
    }
    return length < 0 ? std::string_view(text) : std::string_view(text, static_cast<size_t>(length));
}

std::u16string_view View(const WCHAR *text, int length)
{
    if (text == nullptr) {
        return {};
    }
    const auto *units = reinterpret_cast<const char16_t *>(text);
    return length < 0 ? std::u16string_view(units) : std::u16string_view(units, static_cast<size_t>(length));
}

} // namespace platform::text
