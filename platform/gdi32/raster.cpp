// The raster primitives over 32-bit surfaces.
#include "raster.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace gdi {

namespace {

constexpr std::uint32_t kColorMask = 0x00FFFFFFu;

// Which operand a raster operation's truth table reads: its index bits are pattern, source, dest.
constexpr unsigned kPatternBit = 4;
constexpr unsigned kSourceBit = 2;
constexpr unsigned kDestinationBit = 1;

constexpr unsigned TruthTable(DWORD rop)
{
    return (rop >> 16) & 0xFFu;
}

// The common case, copying, skips evaluating the table per pixel.
constexpr unsigned kCopyTable = TruthTable(SRCCOPY);

bool Reads(unsigned table, unsigned operandBit)
{
    // An operand matters when flipping it changes some entry of the table.
    for (unsigned index = 0; index < 8; ++index) {
        if (((table >> index) & 1u) != ((table >> (index ^ operandBit)) & 1u)) {
            return true;
        }
    }
    return false;
}

std::uint32_t Evaluate(unsigned table, std::uint32_t pattern, std::uint32_t source, std::uint32_t destination)
{
    std::uint32_t result = 0;
    for (unsigned index = 0; index < 8; ++index) {
        if (((table >> index) & 1u) != 0) {
            result |= ((index & kPatternBit) != 0 ? pattern : ~pattern) &
                      ((index & kSourceBit) != 0 ? source : ~source) &
                      ((index & kDestinationBit) != 0 ? destination : ~destination);
        }
    }
    return result & kColorMask;
}

std::uint32_t Mix(std::uint32_t from, std::uint32_t to, unsigned coverage)
{
    std::uint32_t result = 0;
    for (unsigned shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((from >> shift) & 0xFFu);
        const int b = static_cast<int>((to >> shift) & 0xFFu);
        const int mixed = a + ((b - a) * static_cast<int>(coverage) + 127) / 255;
        result |= static_cast<std::uint32_t>(mixed) << shift;
    }
    return result;
}

} // namespace

bool UsesPattern(DWORD rop)
{
    return Reads(TruthTable(rop), kPatternBit);
}

Canvas CanvasOf(const DeviceContext &dc)
{
    return {*dc.surface, dc.Clip()};
}

void FillSpan(const Canvas &canvas, int y, int left, int right, std::uint32_t pixel)
{
    if (y < canvas.clip.top || y >= canvas.clip.bottom) {
        return;
    }
    left = std::max(left, static_cast<int>(canvas.clip.left));
    right = std::min(right, static_cast<int>(canvas.clip.right));
    if (left < right) {
        std::uint32_t *row = canvas.Row(y);
        std::fill(row + left, row + right, pixel & kColorMask);
    }
}

void FillBox(const Canvas &canvas, const RECT &box, std::uint32_t pixel)
{
    const int top = std::max(box.top, canvas.clip.top);
    const int bottom = std::min(box.bottom, canvas.clip.bottom);
    for (int y = top; y < bottom; ++y) {
        FillSpan(canvas, y, box.left, box.right, pixel);
    }
}

void BlendPixel(const Canvas &canvas, int x, int y, std::uint32_t pixel, unsigned coverage)
{
    if (coverage == 0 || !canvas.Contains(x, y)) {
        return;
    }
    std::uint32_t &target = canvas.Row(y)[x];
    target = coverage >= 255 ? pixel & kColorMask : Mix(target, pixel, coverage);
}

void CombineBlock(const Canvas &target, RECT box, const platform::Surface *source, POINT sourceOffset,
                  std::uint32_t pattern, DWORD rop)
{
    box = {std::max(box.left, target.clip.left), std::max(box.top, target.clip.top),
           std::min(box.right, target.clip.right), std::min(box.bottom, target.clip.bottom)};
    const unsigned table = TruthTable(rop);
    const bool readsSource = Reads(table, kSourceBit) && source != nullptr;
    if (readsSource) {
        // Only where the source has pixels.
        box.left = std::max(box.left, -sourceOffset.x);
        box.top = std::max(box.top, -sourceOffset.y);
        box.right = std::min(box.right, source->width - sourceOffset.x);
        box.bottom = std::min(box.bottom, source->height - sourceOffset.y);
    }
    if (box.left >= box.right || box.top >= box.bottom) {
        return;
    }
    const auto width = static_cast<size_t>(box.right - box.left);
    // Within one surface a source row is copied aside first, as it may overlap its target row.
    const bool sameSurface = readsSource && source == &target.surface;
    std::vector<std::uint32_t> sourceRow(sameSurface ? width : 0);
    // Rows are read before any is written when a block moves within one surface downwards.
    const bool upwards = sameSurface && sourceOffset.y < 0;
    for (int step = 0; step < box.bottom - box.top; ++step) {
        const int y = upwards ? box.bottom - 1 - step : box.top + step;
        std::uint32_t *row = target.Row(y) + box.left;
        const std::uint32_t *from = nullptr;
        if (readsSource) {
            from = source->pixels + static_cast<std::ptrdiff_t>(y + sourceOffset.y) * source->stride +
                   box.left + sourceOffset.x;
        }
        if (sameSurface) {
            std::copy(from, from + width, sourceRow.begin());
            from = sourceRow.data();
        }
        if (table == kCopyTable) {
            if (from != nullptr) {
                std::transform(from, from + width, row, [](std::uint32_t p) { return p & kColorMask; });
            }
            continue;
        }
        for (size_t i = 0; i < width; ++i) {
            row[i] = Evaluate(table, pattern, from != nullptr ? from[i] : 0, row[i]);
        }
    }
}

bool BrushPixel(const DeviceContext &dc, HBRUSH brush, std::uint32_t &pixel)
{
    const auto *found = Find<Brush>(brush, OBJ_BRUSH);
    if (found == nullptr || found->logical.lbStyle == BS_NULL) {
        return false;
    }
    pixel = ToPixel(brush == GetStockObject(DC_BRUSH) ? dc.state.dcBrushColor : found->logical.lbColor);
    return true;
}

bool BrushPixel(const DeviceContext &dc, std::uint32_t &pixel)
{
    return BrushPixel(dc, static_cast<HBRUSH>(dc.state.brush), pixel);
}

bool PenPixel(const DeviceContext &dc, std::uint32_t &pixel)
{
    const auto *pen = Find<Pen>(dc.state.pen, OBJ_PEN);
    if (pen == nullptr || (pen->logical.lopnStyle & PS_STYLE_MASK) == PS_NULL) {
        return false;
    }
    pixel = ToPixel(dc.state.pen == GetStockObject(DC_PEN) ? dc.state.dcPenColor : pen->logical.lopnColor);
    return true;
}

void DrawLine(const Canvas &canvas, POINT from, POINT to, std::uint32_t pixel)
{
    const long dx = to.x - from.x;
    const long dy = to.y - from.y;
    const long steps = std::max(std::labs(dx), std::labs(dy));
    // Each step moves one pixel along the major axis; the minor one follows the nearest pixel.
    const auto along = [steps](long start, long delta, long step) {
        const long twice = 2 * delta * step + steps;
        const long quotient = twice >= 0 ? twice / (2 * steps) : -((-twice + 2 * steps - 1) / (2 * steps));
        return static_cast<int>(start + quotient);
    };
    for (long step = 0; step < steps; ++step) {
        const int x = along(from.x, dx, step);
        const int y = along(from.y, dy, step);
        FillSpan(canvas, y, x, x + 1, pixel);
    }
}

} // namespace gdi
