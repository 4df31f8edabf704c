// String functions and the conversions between the ANSI code page (UTF-8 here) and UTF-16.
#include "text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <type_traits>

namespace {

bool IsUtf8CodePage(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP || codePage == CP_UTF8;
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
    const platform::text::Decoded decoded = platform::text::DecodeUtf8({lpMultiByteStr, length});
    const auto written = static_cast<int>(decoded.text.size());
    if (cchWideChar > 0) {
        if (written > cchWideChar) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::copy(decoded.text.begin(), decoded.text.end(), lpWideCharStr);
    }
    if (!decoded.valid && (dwFlags & MB_ERR_INVALID_CHARS) != 0) {
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
    // -1 means "up to and including the terminator".
    const int length = cchWideChar < 0 ? lstrlenW(lpWideCharStr) + 1 : cchWideChar;
    if (lpUsedDefaultChar != nullptr) {
        *lpUsedDefaultChar = FALSE;
    }
    const std::string bytes = platform::text::ToUtf8(platform::text::View(lpWideCharStr, length));
    const auto written = static_cast<int>(bytes.size());
    if (cbMultiByte > 0) {
        if (written > cbMultiByte) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::copy(bytes.begin(), bytes.end(), lpMultiByteStr);
    }
    return written;
}
