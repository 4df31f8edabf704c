// The button's version-6 extras (button_extras.h).
#include "button_extras.h"

#include <algorithm>

namespace button {
namespace {

// BCM_SETTEXTMARGIN and BCM_GETTEXTMARGIN: without a rectangle, nothing is done.
LRESULT TextMargin(Button &button, UINT message, RECT *margin)
{
    if (margin == nullptr) {
        return FALSE;
    }
    if (message == BCM_SETTEXTMARGIN) {
        button.textMargin = *margin;
    } else {
        *margin = button.textMargin;
    }
    return TRUE;
}

// A note belongs to command links only; the others refuse it with ERROR_NOT_SUPPORTED.
bool TakesNote(HWND hwnd)
{
    if (IsCommandLink(Kind(hwnd))) {
        return true;
    }
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

// BCM_SETNOTE: no text makes the note empty.
LRESULT SetNote(HWND hwnd, Button &button, const WCHAR *note)
{
    if (!TakesNote(hwnd)) {
        return FALSE;
    }
    button.note =
        note != nullptr ? controls::Text(reinterpret_cast<const char16_t *>(note)) : controls::Text();
    button.hasNote = true;
    SetLastError(NO_ERROR);
    return TRUE;
}

// BCM_GETNOTE: as much of the note as fits, always ended; a buffer too small learns the size it
// needs. Before any note was set there is none to give.
LRESULT GetNote(HWND hwnd, const Button &button, DWORD *size, WCHAR *buffer)
{
    if (!TakesNote(hwnd)) {
        return FALSE;
    }
    if (buffer == nullptr || size == nullptr || !button.hasNote) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (*size > 0) {
        controls::CopyText(button.note, buffer, *size);
    }
    const auto needed = static_cast<DWORD>(button.note.size() + 1);
    if (*size < needed) {
        *size = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    SetLastError(NO_ERROR);
    return TRUE;
}

LRESULT GetNoteLength(HWND hwnd, const Button &button)
{
    return TakesNote(hwnd) ? static_cast<LRESULT>(button.note.size()) : 0;
}

// The arrow's width when none is asked for: a menu check mark's width for a glyph of the symbol
// font; for an image, its edges (the layer keeps no image lists, whose images would add their width).
LONG DefaultArrowWidth(const SplitInfo &split)
{
    if ((split.style & BCSS_IMAGE) == 0) {
        return GetSystemMetrics(SM_CYMENUCHECK);
    }
    return 2 * GetSystemMetrics(SM_CXEDGE);
}

// BCM_SETSPLITINFO: a new glyph or image resets the arrow's size unless a size comes with it;
// BCSIF_GLYPH wins over BCSIF_IMAGE. Without a record, nothing is done, successfully.
LRESULT SetSplitInfo(Button &button, const BUTTON_SPLITINFO *info)
{
    if (info == nullptr) {
        return TRUE;
    }
    SplitInfo &split = button.split;
    if ((info->mask & (BCSIF_GLYPH | BCSIF_IMAGE)) != 0) {
        split.style = (info->mask & BCSIF_GLYPH) != 0 ? split.style & ~static_cast<UINT>(BCSS_IMAGE)
                                                      : split.style | BCSS_IMAGE;
        split.glyph = info->himlGlyph;
        split.size = {};
    }
    if ((info->mask & BCSIF_STYLE) != 0) {
        split.style = info->uSplitStyle;
    }
    if ((info->mask & BCSIF_SIZE) != 0) {
        split.size = info->size;
    }
    if (split.size.cx <= 0) {
        split.size.cx = DefaultArrowWidth(split);
    }
    return TRUE;
}

LRESULT GetSplitInfo(const Button &button, BUTTON_SPLITINFO *info)
{
    if (info == nullptr) {
        return FALSE;
    }
    if ((info->mask & BCSIF_STYLE) != 0) {
        info->uSplitStyle = button.split.style;
    }
    if ((info->mask & (BCSIF_GLYPH | BCSIF_IMAGE)) != 0) {
        info->himlGlyph = button.split.glyph;
    }
    if ((info->mask & BCSIF_SIZE) != 0) {
        info->size = button.split.size;
    }
    return TRUE;
}

// BM_SETIMAGE: the image is kept as given, whatever its type; the old one is handed back.
LRESULT SetImage(HWND hwnd, Button &button, WPARAM type, LPARAM image)
{
    const HANDLE previous = button.image;
    button.image = reinterpret_cast<HANDLE>(image);
    button.imageType = static_cast<UINT>(type);
    InvalidateRect(hwnd, nullptr, FALSE);
    return reinterpret_cast<LRESULT>(previous);
}

// The bitmap an image is drawn from: an icon's colour half (or its mask, for a monochrome one),
// or the image itself when it is a bitmap, whatever type it was set with. An icon's bitmaps are
// copies, given back with ReleaseImageBitmap.
HBITMAP ImageBitmap(const Button &button, ICONINFO *icon, bool *isIcon)
{
    *isIcon = GetIconInfo(static_cast<HICON>(button.image), icon) != FALSE;
    if (*isIcon) {
        return icon->hbmColor != nullptr ? icon->hbmColor : icon->hbmMask;
    }
    return GetObjectType(button.image) == OBJ_BITMAP ? static_cast<HBITMAP>(button.image) : nullptr;
}

void ReleaseImageBitmap(const ICONINFO &icon, bool isIcon)
{
    if (isIcon) {
        DeleteObject(icon.hbmColor);
        DeleteObject(icon.hbmMask);
    }
}

} // namespace

SIZE ImageSize(const Button &button)
{
    ICONINFO icon = {};
    bool isIcon = false;
    BITMAP description = {};
    if (button.image != nullptr) {
        GetObjectW(ImageBitmap(button, &icon, &isIcon), sizeof(description), &description);
        ReleaseImageBitmap(icon, isIcon);
    }
    return {description.bmWidth, description.bmHeight};
}

// An icon is drawn through its mask (AND), then its colours (XOR); a bitmap is copied.
void DrawImage(HDC dc, const Button &button, int left, int top)
{
    ICONINFO icon = {};
    bool isIcon = false;
    HBITMAP bitmap = button.image != nullptr ? ImageBitmap(button, &icon, &isIcon) : nullptr;
    BITMAP description = {};
    if (GetObjectW(bitmap, sizeof(description), &description) == 0) {
        ReleaseImageBitmap(icon, isIcon);
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, isIcon ? icon.hbmMask : bitmap);
    BitBlt(dc, left, top, description.bmWidth, description.bmHeight, source, 0, 0, isIcon ? SRCAND : SRCCOPY);
    if (isIcon && icon.hbmColor != nullptr) {
        SelectObject(source, icon.hbmColor);
        BitBlt(dc, left, top, description.bmWidth, description.bmHeight, source, 0, 0, SRCINVERT);
    }
    SelectObject(source, previous);
    DeleteDC(source);
    ReleaseImageBitmap(icon, isIcon);
}

LRESULT HandleExtras(HWND hwnd, Button &button, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BCM_SETTEXTMARGIN:
    case BCM_GETTEXTMARGIN: return TextMargin(button, message, reinterpret_cast<RECT *>(lParam));
    case BCM_SETNOTE: return SetNote(hwnd, button, reinterpret_cast<const WCHAR *>(lParam));
    case BCM_GETNOTE:
        return GetNote(hwnd, button, reinterpret_cast<DWORD *>(wParam), reinterpret_cast<WCHAR *>(lParam));
    case BCM_GETNOTELENGTH: return GetNoteLength(hwnd, button);
    case BCM_SETSPLITINFO: return SetSplitInfo(button, reinterpret_cast<const BUTTON_SPLITINFO *>(lParam));
    case BCM_GETSPLITINFO: return GetSplitInfo(button, reinterpret_cast<BUTTON_SPLITINFO *>(lParam));
    case BM_SETIMAGE: return SetImage(hwnd, button, wParam, lParam);
    case BM_GETIMAGE: return reinterpret_cast<LRESULT>(button.image);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace button
