// Icons and cursors made from bitmaps (CreateIconIndirect): each keeps copies of its mask and
// colour bitmaps, and hands out fresh copies of them (GetIconInfo) for the caller to delete.
#include "window.h"

#include <memory>
#include <unordered_map>

namespace {

struct Icon {
    BOOL isIcon = TRUE;
    DWORD hotspotX = 0;
    DWORD hotspotY = 0;
    HBITMAP mask = nullptr;
    HBITMAP color = nullptr; // none for a monochrome icon, whose mask holds both halves
};

std::unordered_map<HICON, std::unique_ptr<Icon>> &Icons()
{
    static std::unordered_map<HICON, std::unique_ptr<Icon>> icons;
    return icons;
}

// A bitmap of the same size and format with the same pixels.
HBITMAP CopyBitmap(HBITMAP source)
{
    BITMAP description = {};
    if (source == nullptr || GetObjectW(source, sizeof(description), &description) == 0) {
        return nullptr;
    }
    HBITMAP copy = CreateBitmap(description.bmWidth, description.bmHeight, description.bmPlanes,
                                description.bmBitsPixel, nullptr);
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ previousFrom = SelectObject(from, source);
    HGDIOBJ previousTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, description.bmWidth, description.bmHeight, from, 0, 0, SRCCOPY);
    SelectObject(to, previousTo);
    SelectObject(from, previousFrom);
    DeleteDC(to);
    DeleteDC(from);
    return copy;
}

} // namespace

HICON WINAPI CreateIconIndirect(PICONINFO piconinfo)
{
    if (piconinfo == nullptr || piconinfo->hbmMask == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_unique<Icon>();
    icon->isIcon = piconinfo->fIcon;
    icon->hotspotX = piconinfo->xHotspot;
    icon->hotspotY = piconinfo->yHotspot;
    icon->mask = CopyBitmap(piconinfo->hbmMask);
    icon->color = CopyBitmap(piconinfo->hbmColor);
    HICON handle = reinterpret_cast<HICON>(icon.get());
    Icons().emplace(handle, std::move(icon));
    return handle;
}

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo)
{
    const auto found = Icons().find(hIcon);
    if (found == Icons().end() || piconinfo == nullptr) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    const Icon &icon = *found->second;
    *piconinfo = {icon.isIcon, icon.hotspotX, icon.hotspotY, CopyBitmap(icon.mask), CopyBitmap(icon.color)};
    return TRUE;
}

BOOL WINAPI DestroyIcon(HICON hIcon)
{
    const auto found = Icons().find(hIcon);
    if (found == Icons().end()) {
        return FALSE;
    }
    DeleteObject(found->second->color);
    DeleteObject(found->second->mask);
    Icons().erase(found);
    return TRUE;
}
