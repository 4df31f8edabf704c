// Device contexts: memory DCs over bitmaps, surface DCs for USER32's windows, the display's DC,
// their attributes, selected objects and clipping.
#include "fontfiles.h"
#include "objects.h"
#include "text.h"

#include <algorithm>

namespace gdi {

namespace {

constexpr int kLogicalPixelsPerInch = 96;
constexpr int kScreenBitsPerPixel = 32;
constexpr int kColorResolution = 24; // eight bits of each primary; the fourth byte holds no colour
constexpr int kMillimetresPerInchTimes10 = 254;

RECT Intersect(const RECT &a, const RECT &b)
{
    RECT result = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
    if (result.left >= result.right || result.top >= result.bottom) {
        result = {0, 0, 0, 0};
    }
    return result;
}

bool IsEmpty(const RECT &rect)
{
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

void RetainState(const DcState &state)
{
    Retain(state.pen);
    Retain(state.brush);
    Retain(state.font);
}

void ReleaseState(const DcState &state)
{
    Release(state.pen);
    Release(state.brush);
    Release(state.font);
}

// Swaps the object in `slot` for `handle`, keeping the selection counts right.
HGDIOBJ Replace(HGDIOBJ &slot, HGDIOBJ handle)
{
    const HGDIOBJ previous = slot;
    Retain(handle);
    slot = handle;
    Release(previous);
    return previous;
}

HGDIOBJ SelectBitmap(DeviceContext &dc, Bitmap &bitmap)
{
    if (dc.type != OBJ_MEMDC || !bitmap.Drawable() ||
        (bitmap.selectedInto != nullptr && bitmap.selectedInto != &dc)) {
        return nullptr;
    }
    Bitmap *previous = dc.bitmap;
    if (previous == &bitmap) {
        return bitmap.handle;
    }
    if (!bitmap.stock) {
        bitmap.selectedInto = &dc;
    }
    previous->selectedInto = nullptr;
    dc.bitmap = &bitmap;
    dc.SetTarget(&bitmap.surface, {0, 0, bitmap.surface.width, bitmap.surface.height});
    Retain(bitmap.handle);
    const HGDIOBJ previousHandle = previous->handle;
    Release(previousHandle);
    return previousHandle;
}

} // namespace

DeviceContext::DeviceContext(DWORD objectType, platform::Surface *target, POINT targetOrigin,
                             RECT visibleArea)
    : Object(objectType), surface(target), origin(targetOrigin)
{
    state.pen = GetStockObject(BLACK_PEN);
    state.brush = GetStockObject(WHITE_BRUSH);
    state.font = GetStockObject(SYSTEM_FONT);
    RetainState(state);
    SetTarget(target, visibleArea);
}

DeviceContext::~DeviceContext()
{
    ReleaseState(state);
    for (const DcState &kept : saved) {
        ReleaseState(kept);
    }
    if (bitmap != nullptr) {
        bitmap->selectedInto = nullptr;
        Release(bitmap->handle);
    }
}

int DeviceContext::Describe(int /*size*/, void * /*buffer*/) const
{
    return 0; // a DC has no logical description
}

POINT DeviceContext::ToSurface(int x, int y) const
{
    return {x + state.viewportOrigin.x + origin.x, y + state.viewportOrigin.y + origin.y};
}

void DeviceContext::SetTarget(platform::Surface *target, RECT visibleArea)
{
    surface = target;
    visible = Intersect(visibleArea, {0, 0, target->width, target->height});
    state.clip = visible;
}

RECT DeviceContext::Clip() const
{
    return Intersect(state.clip, visible);
}

} // namespace gdi

namespace platform {

HDC CreateSurfaceDC(Surface *surface, POINT origin, RECT clip)
{
    if (surface == nullptr) {
        return nullptr;
    }
    return static_cast<HDC>(
        gdi::AddObject(std::make_unique<gdi::DeviceContext>(OBJ_DC, surface, origin, clip)));
}

} // namespace platform

using namespace gdi;

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (hdc != nullptr && FindDc(hdc) == nullptr) {
        return nullptr;
    }
    auto *bitmap = Find<Bitmap>(DefaultBitmap(), OBJ_BITMAP);
    auto dc = std::make_unique<DeviceContext>(OBJ_MEMDC, &bitmap->surface, POINT{0, 0}, RECT{0, 0, 1, 1});
    dc->bitmap = bitmap;
    Retain(bitmap->handle);
    return static_cast<HDC>(AddObject(std::move(dc)));
}

// The display as a whole, as a DC of its own: like the screen USER32's GetDC(NULL) gives, nothing
// drawn into it is ours to show. Printers and displays named one by one are not offered.
HDC WINAPI CreateDCW(LPCWSTR pwszDriver, LPCWSTR pwszDevice, LPCWSTR /*pszPort*/, const DEVMODEW * /*pdm*/)
{
    const bool display =
        pwszDriver != nullptr && Lower(platform::text::ToUtf8(platform::text::View(pwszDriver))) == "display";
    if (!display || pwszDevice != nullptr) {
        return nullptr;
    }
    auto *bitmap = Find<Bitmap>(DefaultBitmap(), OBJ_BITMAP);
    return static_cast<HDC>(
        AddObject(std::make_unique<DeviceContext>(OBJ_DC, &bitmap->surface, POINT{0, 0}, RECT{0, 0, 1, 1})));
}

HDC WINAPI CreateDCA(LPCSTR pwszDriver, LPCSTR pwszDevice, LPCSTR /*pszPort*/, const DEVMODEA * /*pdm*/)
{
    if (pwszDriver == nullptr) {
        return nullptr;
    }
    const std::u16string driver = platform::text::FromAnsi(pwszDriver);
    std::vector<WCHAR> wide(driver.begin(), driver.end());
    wide.push_back(0);
    return pwszDevice != nullptr ? nullptr : CreateDCW(wide.data(), nullptr, nullptr, nullptr);
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    Destroy(dc);
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    DeviceContext *dc = FindDc(hdc);
    Object *object = Find(h);
    if (dc == nullptr || object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    switch (object->type) {
    case OBJ_PEN: return Replace(dc->state.pen, h);
    case OBJ_BRUSH: return Replace(dc->state.brush, h);
    case OBJ_FONT: return Replace(dc->state.font, h);
    case OBJ_BITMAP: return SelectBitmap(*dc, *static_cast<Bitmap *>(object));
    default: return nullptr;
    }
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return nullptr;
    }
    switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->bitmap != nullptr ? dc->bitmap->handle : nullptr;
    default: return nullptr;
    }
}

int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return dc->surface->width;
    case VERTRES: return dc->surface->height;
    case HORZSIZE: return dc->surface->width * kMillimetresPerInchTimes10 / (kLogicalPixelsPerInch * 10);
    case VERTSIZE: return dc->surface->height * kMillimetresPerInchTimes10 / (kLogicalPixelsPerInch * 10);
    case BITSPIXEL: return kScreenBitsPerPixel;
    case COLORRES: return kColorResolution;
    case PLANES: return 1;
    case NUMCOLORS: return -1; // more than a palette holds
    case RASTERCAPS: return RC_BITBLT;
    case LOGPIXELSX:
    case LOGPIXELSY: return kLogicalPixelsPerInch;
    default: return 0;
    }
}

int WINAPI SaveDC(HDC hdc)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    RetainState(dc->state);
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    const int depth = static_cast<int>(dc->saved.size());
    const int level = nSavedDC < 0 ? depth + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > depth) {
        return FALSE;
    }
    ReleaseState(dc->state);
    dc->state = dc->saved[static_cast<size_t>(level - 1)];
    for (size_t i = static_cast<size_t>(level); i < dc->saved.size(); ++i) {
        ReleaseState(dc->saved[i]);
    }
    dc->saved.resize(static_cast<size_t>(level - 1));
    return TRUE;
}

namespace {

// Attribute setters and getters share one shape: the previous value back, `failure` for a bad DC.
template <typename T> T SetAttribute(HDC hdc, T DcState::*member, T value, T failure)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return failure;
    }
    const T previous = dc->state.*member;
    dc->state.*member = value;
    return previous;
}

template <typename T> T GetAttribute(HDC hdc, T DcState::*member, T failure)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return failure;
    }
    return dc->state.*member;
}

} // namespace

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color)
{
    return SetAttribute(hdc, &DcState::textColor, color, CLR_INVALID);
}

COLORREF WINAPI GetTextColor(HDC hdc)
{
    return GetAttribute(hdc, &DcState::textColor, CLR_INVALID);
}

// The colours of the stock DC_BRUSH and DC_PEN, kept by each DC.
COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF color)
{
    return SetAttribute(hdc, &DcState::dcBrushColor, color, CLR_INVALID);
}

COLORREF WINAPI GetDCBrushColor(HDC hdc)
{
    return GetAttribute(hdc, &DcState::dcBrushColor, CLR_INVALID);
}

COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF color)
{
    return SetAttribute(hdc, &DcState::dcPenColor, color, CLR_INVALID);
}

COLORREF WINAPI GetDCPenColor(HDC hdc)
{
    return GetAttribute(hdc, &DcState::dcPenColor, CLR_INVALID);
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color)
{
    return SetAttribute(hdc, &DcState::bkColor, color, CLR_INVALID);
}

COLORREF WINAPI GetBkColor(HDC hdc)
{
    return GetAttribute(hdc, &DcState::bkColor, CLR_INVALID);
}

int WINAPI SetBkMode(HDC hdc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return SetAttribute(hdc, &DcState::bkMode, mode, 0);
}

int WINAPI GetBkMode(HDC hdc)
{
    return GetAttribute(hdc, &DcState::bkMode, 0);
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align)
{
    return SetAttribute(hdc, &DcState::textAlign, align, static_cast<UINT>(GDI_ERROR));
}

UINT WINAPI GetTextAlign(HDC hdc)
{
    return GetAttribute(hdc, &DcState::textAlign, static_cast<UINT>(GDI_ERROR));
}

int WINAPI SetTextCharacterExtra(HDC hdc, int extra)
{
    return SetAttribute(hdc, &DcState::characterExtra, extra, static_cast<int>(0x80000000));
}

int WINAPI GetTextCharacterExtra(HDC hdc)
{
    return GetAttribute(hdc, &DcState::characterExtra, static_cast<int>(0x80000000));
}

int WINAPI SetGraphicsMode(HDC hdc, int iMode)
{
    if (iMode != GM_COMPATIBLE && iMode != GM_ADVANCED) {
        return 0;
    }
    return SetAttribute(hdc, &DcState::graphicsMode, iMode, 0);
}

int WINAPI GetGraphicsMode(HDC hdc)
{
    return GetAttribute(hdc, &DcState::graphicsMode, 0);
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (lppt != nullptr) {
        *lppt = dc->state.position;
    }
    dc->state.position = {x, y};
    return TRUE;
}

BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT lppt)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr || lppt == nullptr) {
        return FALSE;
    }
    *lppt = dc->state.position;
    return TRUE;
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (lppt != nullptr) {
        *lppt = dc->state.viewportOrigin;
    }
    dc->state.viewportOrigin = {x, y};
    return TRUE;
}

BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    POINT previous;
    if (!GetViewportOrgEx(hdc, &previous)) {
        return FALSE;
    }
    return SetViewportOrgEx(hdc, previous.x + x, previous.y + y, lppt);
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppoint)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr || lppoint == nullptr) {
        return FALSE;
    }
    *lppoint = dc->state.viewportOrigin;
    return TRUE;
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return ERROR;
    }
    const POINT topLeft = dc->ToSurface(std::min(left, right), std::min(top, bottom));
    const POINT bottomRight = dc->ToSurface(std::max(left, right), std::max(top, bottom));
    dc->state.clip = Intersect(dc->state.clip, {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
    return IsEmpty(dc->Clip()) ? NULLREGION : SIMPLEREGION;
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr || lprect == nullptr) {
        return ERROR;
    }
    const RECT clip = dc->Clip();
    const POINT shift = dc->ToSurface(0, 0);
    *lprect = {clip.left - shift.x, clip.top - shift.y, clip.right - shift.x, clip.bottom - shift.y};
    return IsEmpty(clip) ? NULLREGION : SIMPLEREGION;
}
