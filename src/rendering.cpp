// Rendering: every paint draws the whole scene off screen and copies it in one transfer.
#include "SlantGlyphDemo.h"

#include <dlgs.h>

namespace {

using scene::kCellHeight;
using scene::kFaceName;
using scene::kReferenceX;
using scene::kReferenceY;
using scene::kSampleText;

constexpr COLORREF kTextColor = RGB(255, 0, 0);
constexpr COLORREF kCellColor = RGB(255, 255, 0);

} // namespace

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    OnDraw(hwnd, hdc);
    EndPaint(hwnd, &ps);
}

void OnDraw(HWND hwnd, HDC hdc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);

    // The bitmap must match the window's colour format, not the memory DC's monochrome default.
    HDC memoryDc = CreateCompatibleDC(hdc);
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, rc.right, rc.bottom);
    HGDIOBJ previousBitmap = SelectObject(memoryDc, bitmap);

    OnDrawBitmap(hwnd, memoryDc, rc);
    BitBlt(hdc, 0, 0, rc.right, rc.bottom, memoryDc, 0, 0, SRCCOPY);

    SelectObject(memoryDc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
}

void OnDrawBitmap(HWND hwnd, HDC hdc, RECT &rect)
{
    FillRect(hdc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    WCHAR text[sizeof(kSampleText) / sizeof(kSampleText[0])];
    lstrcpyW(text, kSampleText);
    const int length = lstrlenW(text);

    LOGFONTW font;
    ZeroMemory(&font, sizeof(font));

    SetTextColor(hdc, kTextColor);
    SetBkColor(hdc, kCellColor);
    SetBkMode(hdc, OPAQUE);
    SetGraphicsMode(hdc, IsDlgButtonChecked(hwnd, chx1) ? GM_ADVANCED : GM_COMPATIBLE);

    // A list without a selection leaves the context's default alignment.
    const LRESULT alignment = SendDlgItemMessageA(hwnd, cmb1, CB_GETCURSEL, 0, 0);
    if (alignment >= 0 && alignment < settings::kAlignmentCount) {
        SetTextAlign(hdc, settings::kAlignments[alignment].value);
    }

    font.lfHeight = kCellHeight;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(font.lfFaceName, kFaceName);
    font.lfEscapement = static_cast<LONG>(GetDlgItemInt(hwnd, edt1, nullptr, TRUE));
    font.lfOrientation = static_cast<LONG>(GetDlgItemInt(hwnd, edt2, nullptr, TRUE));

    // The cross goes first so that the opaque text cells cover it.
    MoveToEx(hdc, 0, kReferenceY, nullptr);
    LineTo(hdc, rect.right, kReferenceY);
    MoveToEx(hdc, kReferenceX, 0, nullptr);
    LineTo(hdc, kReferenceX, rect.bottom);

    HFONT rotatedFont = CreateFontIndirectW(&font);
    HGDIOBJ previousFont = SelectObject(hdc, rotatedFont);
    TextOutW(hdc, kReferenceX, kReferenceY, text, length);
    SelectObject(hdc, previousFont);
    DeleteObject(rotatedFont);
}
