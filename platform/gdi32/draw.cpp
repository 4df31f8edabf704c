// Drawing calls: blocks, rectangles, lines and single pixels, all through the raster primitives.
#include "raster.h"

#include <algorithm>
#include <cstdlib>

using namespace gdi;

namespace {

// A logical rectangle in surface pixels.
RECT ToSurface(const DeviceContext &dc, int left, int top, int right, int bottom)
{
    const POINT topLeft = dc.ToSurface(left, top);
    const POINT bottomRight = dc.ToSurface(right, bottom);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

// The four one-pixel edges of `box`, each corner painted once.
void FrameBox(const Canvas &canvas, const RECT &box, std::uint32_t pixel)
{
    FillBox(canvas, {box.left, box.top, box.right, box.top + 1}, pixel);
    FillBox(canvas, {box.left, box.bottom - 1, box.right, box.bottom}, pixel);
    FillBox(canvas, {box.left, box.top + 1, box.left + 1, box.bottom - 1}, pixel);
    FillBox(canvas, {box.right - 1, box.top + 1, box.right, box.bottom - 1}, pixel);
}

} // namespace

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    std::uint32_t pattern = 0;
    if (!BrushPixel(*dc, pattern) && UsesPattern(rop)) {
        return TRUE; // a null brush paints nothing
    }
    // A negative extent runs back from the pixel at (x, y), that pixel included.
    const int left = w < 0 ? x + w + 1 : x;
    const int top = h < 0 ? y + h + 1 : y;
    const RECT box = ToSurface(*dc, left, top, left + std::abs(w), top + std::abs(h));
    CombineBlock(CanvasOf(*dc), box, nullptr, {0, 0}, pattern, rop);
    return TRUE;
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    DeviceContext *dc = FindDc(hdc);
    DeviceContext *source = hdcSrc != nullptr ? FindDc(hdcSrc) : nullptr;
    if (dc == nullptr || (hdcSrc != nullptr && source == nullptr)) {
        return FALSE;
    }
    if (source == nullptr) {
        return PatBlt(hdc, x, y, cx, cy, rop);
    }
    std::uint32_t pattern = 0;
    BrushPixel(*dc, pattern);
    RECT box = ToSurface(*dc, x, y, x + cx, y + cy);
    const POINT from = source->ToSurface(x1, y1);
    const POINT offset = {from.x - box.left, from.y - box.top};
    // Only what the source DC can show is copied.
    const RECT &shown = source->visible;
    box = {std::max(box.left, shown.left - offset.x), std::max(box.top, shown.top - offset.y),
           std::min(box.right, shown.right - offset.x), std::min(box.bottom, shown.bottom - offset.y)};
    CombineBlock(CanvasOf(*dc), box, source->surface, offset, pattern, rop);
    return TRUE;
}

int WINAPI FillRect(HDC hDC, const RECT *lprc, HBRUSH hbr)
{
    DeviceContext *dc = FindDc(hDC);
    std::uint32_t pixel = 0;
    if (dc == nullptr || lprc == nullptr || Find<Brush>(hbr, OBJ_BRUSH) == nullptr) {
        return 0;
    }
    if (BrushPixel(*dc, hbr, pixel)) {
        FillBox(CanvasOf(*dc), ToSurface(*dc, lprc->left, lprc->top, lprc->right, lprc->bottom), pixel);
    }
    return 1;
}

int WINAPI FrameRect(HDC hDC, const RECT *lprc, HBRUSH hbr)
{
    DeviceContext *dc = FindDc(hDC);
    std::uint32_t pixel = 0;
    if (dc == nullptr || lprc == nullptr || Find<Brush>(hbr, OBJ_BRUSH) == nullptr) {
        return 0;
    }
    const RECT box = ToSurface(*dc, lprc->left, lprc->top, lprc->right, lprc->bottom);
    if (box.left < box.right && box.top < box.bottom && BrushPixel(*dc, hbr, pixel)) {
        FrameBox(CanvasOf(*dc), box, pixel);
    }
    return 1;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    RECT box = ToSurface(*dc, std::min(left, right), std::min(top, bottom), std::max(left, right),
                         std::max(top, bottom));
    const Canvas canvas = CanvasOf(*dc);
    std::uint32_t pen = 0;
    std::uint32_t brush = 0;
    const bool outlined = PenPixel(*dc, pen);
    // Without an outline the fill stops one pixel short on the right and at the bottom.
    const RECT inside = outlined ? RECT{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}
                                 : RECT{box.left, box.top, box.right - 1, box.bottom - 1};
    if (BrushPixel(*dc, brush)) {
        FillBox(canvas, inside, brush);
    }
    if (outlined && box.right - box.left >= 2 && box.bottom - box.top >= 2) {
        FrameBox(canvas, box, pen);
    }
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT *apt, int cpt)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr || apt == nullptr || cpt < 2) {
        return FALSE;
    }
    std::uint32_t pen = 0;
    if (!PenPixel(*dc, pen)) {
        return TRUE;
    }
    const Canvas canvas = CanvasOf(*dc);
    for (int i = 1; i < cpt; ++i) {
        DrawLine(canvas, dc->ToSurface(apt[i - 1].x, apt[i - 1].y), dc->ToSurface(apt[i].x, apt[i].y), pen);
    }
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    const POINT line[] = {dc->state.position, {x, y}};
    Polyline(hdc, line, 2);
    dc->state.position = {x, y};
    return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const POINT at = dc->ToSurface(x, y);
    const Canvas canvas = CanvasOf(*dc);
    // Outside the clip or the bitmap nothing is written, but the colour is answered all the same.
    if (canvas.Contains(at.x, at.y)) {
        FillSpan(canvas, at.y, at.x, at.x + 1, ToPixel(color));
    }
    return color & 0x00FFFFFFu;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const POINT at = dc->ToSurface(x, y);
    const Canvas canvas = CanvasOf(*dc);
    if (!canvas.Contains(at.x, at.y)) {
        return CLR_INVALID;
    }
    return ToColor(canvas.Row(at.y)[at.x]);
}
