// Dialog items by id: lookup, text, numbers and check boxes.
#include "window.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>

namespace {

// The platform reads no more of the text than this, in its 8-bit form; the rest does not count.
constexpr int kNumberTextCapacity = 30;
// The full-width forms of the ASCII characters, which the 8-bit form maps to those characters.
constexpr char16_t kFirstFullWidth = 0xFF01;
constexpr char16_t kLastFullWidth = 0xFF5E;
constexpr char16_t kFullWidthOffset = 0xFF01 - 0x21;
constexpr char16_t kIdeographicSpace = 0x3000;

char16_t AsNarrow(char16_t c)
{
    if (c >= kFirstFullWidth && c <= kLastFullWidth) {
        return static_cast<char16_t>(c - kFullWidthOffset);
    }
    return c == kIdeographicSpace ? u' ' : c;
}

bool IsBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Reads a whole number as the platform does: blanks, a sign, then digits up to the first
// character that is not one; at least one digit, and the number in range. Unsigned, a minus
// wraps the number round 2^32 while it fits in 32 bits, and reads as 1 beyond that.
bool ParseNumber(std::u16string text, bool isSigned, UINT &value)
{
    std::transform(text.begin(), text.end(), text.begin(), AsNarrow);
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        negative = text[at] == u'-';
        ++at;
    }
    const uint64_t limit = isSigned ? (negative ? 0x80000000ull : 0x7FFFFFFFull) : 0xFFFFFFFFull;
    const size_t firstDigit = at;
    uint64_t magnitude = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(text[at] - u'0');
        if (magnitude > limit) {
            if (negative && !isSigned) {
                value = 1;
                return true;
            }
            return false;
        }
    }
    if (at == firstDigit) {
        return false;
    }
    value = static_cast<UINT>(negative ? 0 - magnitude : magnitude);
    return true;
}

} // namespace

using namespace platform::user32;

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    Window *dialog = Lookup(hDlg);
    if (dialog == nullptr) {
        return nullptr;
    }
    for (HWND child : dialog->children) {
        Window *window = LookupQuiet(child);
        if (window != nullptr && static_cast<int>(window->id) == nIDDlgItem) {
            return child;
        }
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd)
{
    Window *window = Lookup(hWnd);
    return window == nullptr || !IsRealChild(window) ? 0 : static_cast<int>(window->id);
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item == nullptr ? 0 : SendMessageW(item, Msg, wParam, lParam);
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item == nullptr ? 0 : SendMessageA(item, Msg, wParam, lParam);
}

UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    if (lpString != nullptr && cchMax > 0) {
        lpString[0] = 0;
    }
    return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDDlgItem, WM_GETTEXT, static_cast<WPARAM>(cchMax),
                                                 reinterpret_cast<LPARAM>(lpString)));
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax)
{
    if (lpString != nullptr && cchMax > 0) {
        lpString[0] = 0;
    }
    return static_cast<UINT>(SendDlgItemMessageA(hDlg, nIDDlgItem, WM_GETTEXT, static_cast<WPARAM>(cchMax),
                                                 reinterpret_cast<LPARAM>(lpString)));
}

BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString)
{
    return static_cast<BOOL>(
        SendDlgItemMessageW(hDlg, nIDDlgItem, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    return static_cast<BOOL>(
        SendDlgItemMessageA(hDlg, nIDDlgItem, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL *lpTranslated, BOOL bSigned)
{
    if (lpTranslated != nullptr) {
        *lpTranslated = FALSE;
    }
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (item == nullptr) {
        return 0;
    }
    std::u16string text(kNumberTextCapacity, u'\0');
    text.resize(static_cast<size_t>(
        GetWindowTextW(item, reinterpret_cast<LPWSTR>(text.data()), kNumberTextCapacity)));
    UINT value = 0;
    if (!ParseNumber(text, bSigned != FALSE, value)) {
        return 0;
    }
    if (lpTranslated != nullptr) {
        *lpTranslated = TRUE;
    }
    return value;
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    char text[16];
    if (bSigned) {
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(uValue));
    } else {
        std::snprintf(text, sizeof(text), "%u", uValue);
    }
    return SetDlgItemTextA(hDlg, nIDDlgItem, text);
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND button = GetDlgItem(hDlg, nIDButton);
    if (button == nullptr) {
        return FALSE;
    }
    SendMessageW(button, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}
