// String functions and the conversions between the ANSI code page (UTF-8 here) and UTF-16.
#include <windows.h>

#include <cwctype>
#include <type_traits>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsUtf8CodePage(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP || codePage == CP_UTF8;
}

// Decodes one UTF-8 sequence at `text`; `valid` turns false for malformed or overlong input.
char32_t DecodeUtf8(const unsigned char *text, size_t length, size_t &used, bool &valid)
{
    const unsigned char lead = text[0];
    size_t extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        used = 1;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07u, minimum = 0x10000;
    } else {
        used = 1;
        valid = false;
        return kReplacement;
    }
    size_t index = 1;
    for (; index <= extra && index < length && (text[index] & 0xC0) == 0x80; ++index) {
        code = (code << 6) | (text[index] & 0x3Fu);
    }
    used = index;
    if (index != extra + 1 || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        valid = false;
        return kReplacement;
    }
    return code;
}

size_t EncodeUtf8(char32_t code, char *out)
{
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<char>(0xC0 | (code >> 6));
        out[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (code >> 12));
        out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (code >> 18));
    out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

template <typename Char> int Length(const Char *text)
{
    int length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return length;
}

template <typename Char> Char FoldCase(Char c)
{
    return static_cast<Char>(std::towlower(static_cast<wint_t>(static_cast<std::make_unsigned_t<Char>>(c))));
}

template <typename Char> int Compare(const Char *first, const Char *second, bool ignoreCase)
{
    // NULL sorts before every string, as on Windows.
    if (first == nullptr || second == nullptr) {
        return (first != nullptr) - (second != nullptr);
    }
    for (;; ++first, ++second) {
        auto a = static_cast<std::make_unsigned_t<Char>>(ignoreCase ? FoldCase(*first) : *first);
        auto b = static_cast<std::make_unsigned_t<Char>>(ignoreCase ? FoldCase(*second) : *second);
        if (a != b) {
            return a < b ? -1 : 1;
        }
        if (a == 0) {
            return 0;
        }
    }
}

template <typename Char> Char *CopyBounded(Char *destination, const Char *source, int capacity)
{
    if (destination == nullptr || source == nullptr || capacity <= 0) {
        return nullptr;
    }
    int index = 0;
    for (; index < capacity - 1 && source[index] != 0; ++index) {
        destination[index] = source[index];
    }
    destination[index] = 0;
    return destination;
}

} // namespace

int WINAPI lstrlenA(LPCSTR lpString)
{
    return lpString == nullptr ? 0 : Length(lpString);
}

int WINAPI lstrlenW(LPCWSTR lpString)
{
    return lpString == nullptr ? 0 : Length(lpString);
}

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2)
{
    return CopyBounded(lpString1, lpString2, lstrlenA(lpString2) + 1);
}

LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2)
{
    return CopyBounded(lpString1, lpString2, lstrlenW(lpString2) + 1);
}

LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength)
{
    return CopyBounded(lpString1, lpString2, iMaxLength);
}

LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength)
{
    return CopyBounded(lpString1, lpString2, iMaxLength);
}

int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2)
{
    return Compare(lpString1, lpString2, false);
}

int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2)
{
    return Compare(lpString1, lpString2, false);
}

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2)
{
    return Compare(lpString1, lpString2, true);
}

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2)
{
    return Compare(lpString1, lpString2, true);
}

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar)
{
    if (!IsUtf8CodePage(CodePage) || lpMultiByteStr == nullptr || cbMultiByte == 0 || cchWideChar < 0 ||
        (cchWideChar > 0 && lpWideCharStr == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // -1 means "up to and including the terminator".
    const size_t length = cbMultiByte < 0 ? static_cast<size_t>(lstrlenA(lpMultiByteStr)) + 1
                                          : static_cast<size_t>(cbMultiByte);
    const auto *text = reinterpret_cast<const unsigned char *>(lpMultiByteStr);
    int written = 0;
    bool valid = true;
    for (size_t at = 0; at < length;) {
        size_t used = 0;
        const char32_t code = DecodeUtf8(text + at, length - at, used, valid);
        at += used;
        const int units = code >= 0x10000 ? 2 : 1;
        if (cchWideChar > 0) {
            if (written + units > cchWideChar) {
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return 0;
            }
            if (units == 2) {
                lpWideCharStr[written] = static_cast<WCHAR>(0xD800 + ((code - 0x10000) >> 10));
                lpWideCharStr[written + 1] = static_cast<WCHAR>(0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                lpWideCharStr[written] = static_cast<WCHAR>(code);
            }
        }
        written += units;
    }
    if (!valid && (dwFlags & MB_ERR_INVALID_CHARS) != 0) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return written;
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD /*dwFlags*/, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR /*lpDefaultChar*/,
                               LPBOOL lpUsedDefaultChar)
{
    if (!IsUtf8CodePage(CodePage) || lpWideCharStr == nullptr || cchWideChar == 0 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && lpMultiByteStr == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t length =
        cchWideChar < 0 ? static_cast<size_t>(lstrlenW(lpWideCharStr)) + 1 : static_cast<size_t>(cchWideChar);
    if (lpUsedDefaultChar != nullptr) {
        *lpUsedDefaultChar = FALSE;
    }
    int written = 0;
    for (size_t at = 0; at < length; ++at) {
        char32_t code = static_cast<char32_t>(static_cast<WORD>(lpWideCharStr[at]));
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        const bool lowNext =
            at + 1 < length && lpWideCharStr[at + 1] >= 0xDC00 && lpWideCharStr[at + 1] <= 0xDFFF;
        if (high && lowNext) {
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(lpWideCharStr[++at]) - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement; // a lone surrogate has no UTF-8 form
        }
        char bytes[4];
        const size_t count = EncodeUtf8(code, bytes);
        if (cbMultiByte > 0) {
            if (written + static_cast<int>(count) > cbMultiByte) {
                SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return 0;
            }
            memcpy(lpMultiByteStr + written, bytes, count);
        }
        written += static_cast<int>(count);
    }
    return written;
}
