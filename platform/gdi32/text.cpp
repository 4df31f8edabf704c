// Text: metrics, extents and drawing at any escapement and orientation, with the opaque cell as
// a turned rectangle and the glyphs smoothed over it.
#include "raster.h"
#include "glyphcache.h"
#include "textcell.h"

#include "text.h"

#include <algorithm>
#include <climits>
#include <cmath>

using namespace gdi;
namespace text = platform::text;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTenthsPerTurn = 3600;
constexpr double kFixedOne = 65536.0; // FreeType's 16.16
constexpr double kSubpixels = 64.0;   // FreeType's 26.6
constexpr UINT kVerticalAlignment = TA_BASELINE | TA_BOTTOM | TA_TOP;
constexpr UINT kHorizontalAlignment = TA_CENTER | TA_LEFT | TA_RIGHT;

// An angle in tenths of a degree, any sign, as radians within one turn.
double Radians(LONG tenths)
{
    return ((tenths % kTenthsPerTurn) + kTenthsPerTurn) % kTenthsPerTurn * kPi / 1800.0;
}

FT_Matrix Rotation(double angle)
{
    const auto fixed = [](double value) { return static_cast<FT_Fixed>(std::lround(value * kFixedOne)); };
    return {fixed(std::cos(angle)), fixed(-std::sin(angle)), fixed(std::sin(angle)), fixed(std::cos(angle))};
}

// Blends a glyph's coverage with its top-left pixel at (left, top), only inside its band.
void BlendGlyph(const Canvas &canvas, const Cell &band, const GlyphImage &glyph, int left, int top,
                std::uint32_t pixel)
{
    const int firstRow = std::max(top, static_cast<int>(canvas.clip.top));
    const int lastRow = std::min(top + glyph.rows, static_cast<int>(canvas.clip.bottom));
    const int firstX = std::max(left, static_cast<int>(canvas.clip.left));
    const int lastX = std::min(left + glyph.width, static_cast<int>(canvas.clip.right));
    for (int y = firstRow; y < lastRow; ++y) {
        int start = 0;
        int end = 0;
        if (!band.RowSpan(y, firstX, lastX, start, end)) {
            continue;
        }
        for (int x = start; x < end; ++x) {
            BlendPixel(canvas, x, y, pixel, glyph.At(x - left, y - top));
        }
    }
}

// Where a glyph's ink may stand: the font's ascent above and descent below its origin, in the
// glyph's own frame, so the band turns with the glyph. The band is unbounded along the glyph's
// baseline; it reaches past the glyph's bitmap, which is all the blending looks at.
Cell GlyphBand(const Cell &line, Vector at, double turn, const GlyphImage &glyph)
{
    const Vector direction = {std::cos(turn), -std::sin(turn)};
    const Vector up = {-std::sin(turn), -std::cos(turn)};
    const double reach = std::abs(glyph.left) + std::abs(glyph.top) + glyph.width + glyph.rows + 2.0;
    return {at - reach * direction, direction, up, 2 * reach, line.ascent, line.descent};
}

// Draws the glyph for `character` with its origin at `at`, turned by `turn` (radians).
void DrawGlyph(const Canvas &canvas, const Cell &line, RealizedFont &font, UINT character, Vector at,
               double turn, std::uint32_t pixel)
{
    const Vector whole = {std::floor(at.x), std::floor(at.y)};
    // FreeType's y grows upwards; the sub-pixel rest of the origin goes into its shift.
    const FT_Vector delta = {static_cast<FT_Pos>(std::lround((at.x - whole.x) * kSubpixels)),
                             static_cast<FT_Pos>(std::lround(-(at.y - whole.y) * kSubpixels))};
    const GlyphImage &glyph =
        RenderedGlyph(*font.face, font.ppem, character, Rotation(turn), delta, font.widthPpem);
    BlendGlyph(canvas, GlyphBand(line, at, turn, glyph), glyph, static_cast<int>(whole.x) + glyph.left,
               static_cast<int>(whole.y) - glyph.top, pixel);
}

// The DC's font, when a face was found for it.
Font *SelectedFont(const DeviceContext &dc)
{
    auto *font = Find<Font>(dc.state.font, OBJ_FONT);
    return font != nullptr && font->Realized().face != nullptr ? font : nullptr;
}

RealizedFont *SelectedSizes(HDC hdc)
{
    DeviceContext *dc = FindDc(hdc);
    Font *font = dc != nullptr ? SelectedFont(*dc) : nullptr;
    return font != nullptr ? &font->Realized() : nullptr;
}

// Each character's advance: the caller's, or the font's with the DC's extra spacing.
std::vector<int> Advances(RealizedFont &font, const WCHAR *text, UINT count, const INT *dx, int extra)
{
    std::vector<int> advances(count);
    for (UINT i = 0; i < count; ++i) {
        advances[i] = dx != nullptr ? dx[i] : font.Advance(static_cast<char16_t>(text[i])) + extra;
    }
    return advances;
}

// The baseline origin for the reference point: shifted across the baseline by the vertical
// alignment and back along it by the horizontal one.
Vector BaselineOrigin(Vector reference, UINT align, const TEXTMETRICW &metrics, Vector direction, Vector up,
                      double width)
{
    Vector origin = reference;
    if ((align & kVerticalAlignment) == TA_TOP) {
        origin = origin - metrics.tmAscent * up;
    } else if ((align & kVerticalAlignment) == TA_BOTTOM) {
        origin = origin + metrics.tmDescent * up;
    }
    if ((align & kHorizontalAlignment) == TA_CENTER) {
        origin = origin - (width / 2) * direction;
    } else if ((align & kHorizontalAlignment) == TA_RIGHT) {
        origin = origin - width * direction;
    }
    return origin;
}

// With TA_UPDATECP the text starts at the current position and moves it past the text (left
// alignment) or back before it (right alignment).
void MoveCurrentPosition(DeviceContext &dc, double width, Vector direction)
{
    const UINT horizontal = dc.state.textAlign & kHorizontalAlignment;
    if (horizontal == TA_CENTER) {
        return;
    }
    const double moved = horizontal == TA_RIGHT ? -width : width;
    dc.state.position.x += static_cast<LONG>(std::lround(moved * direction.x));
    dc.state.position.y += static_cast<LONG>(std::lround(moved * direction.y));
}

// The rectangle ExtTextOut is given: filled with the background for ETO_OPAQUE, and the clip
// for ETO_CLIPPED.
void ApplyTextRectangle(const DeviceContext &dc, Canvas &canvas, UINT options, const RECT *rect)
{
    if (rect == nullptr || (options & (ETO_OPAQUE | ETO_CLIPPED)) == 0) {
        return;
    }
    const POINT topLeft = dc.ToSurface(rect->left, rect->top);
    const POINT bottomRight = dc.ToSurface(rect->right, rect->bottom);
    const RECT box = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    if ((options & ETO_OPAQUE) != 0) {
        FillBox(canvas, box, ToPixel(dc.state.bkColor));
    }
    if ((options & ETO_CLIPPED) != 0) {
        canvas.clip = {std::max(canvas.clip.left, box.left), std::max(canvas.clip.top, box.top),
                       std::min(canvas.clip.right, box.right), std::min(canvas.clip.bottom, box.bottom)};
    }
}

// The text's cell: the baseline runs at the escapement from the origin the alignment gives,
// from the reference point or the current position, which TA_UPDATECP then moves.
Cell PlaceText(DeviceContext &dc, Font &selected, int x, int y, double width)
{
    const TEXTMETRICW &metrics = selected.Realized().metrics;
    const double escapement = Radians(selected.logical.lfEscapement);
    const Vector direction = {std::cos(escapement), -std::sin(escapement)};
    const Vector up = {-std::sin(escapement), -std::cos(escapement)};
    const bool updatePosition = (dc.state.textAlign & TA_UPDATECP) != 0;
    const POINT reference =
        dc.ToSurface(updatePosition ? dc.state.position.x : x, updatePosition ? dc.state.position.y : y);
    const Vector origin = BaselineOrigin({static_cast<double>(reference.x), static_cast<double>(reference.y)},
                                         dc.state.textAlign, metrics, direction, up, width);
    if (updatePosition) {
        MoveCurrentPosition(dc, width, direction);
    }
    return {origin,
            direction,
            up,
            width,
            static_cast<double>(metrics.tmAscent),
            static_cast<double>(metrics.tmDescent)};
}

BOOL DrawString(DeviceContext &dc, int x, int y, UINT options, const RECT *rect, const WCHAR *text,
                UINT count, const INT *dx)
{
    Font *selected = SelectedFont(dc);
    if (selected == nullptr || (text == nullptr && count > 0)) {
        return FALSE;
    }
    RealizedFont &font = selected->Realized();
    const std::vector<int> advances = Advances(font, text, count, dx, dc.state.characterExtra);
    double width = 0;
    for (int advance : advances) {
        width += advance;
    }
    const Cell cell = PlaceText(dc, *selected, x, y, width);

    Canvas canvas = CanvasOf(dc);
    ApplyTextRectangle(dc, canvas, options, rect);
    if (dc.state.bkMode == OPAQUE) {
        const std::uint32_t background = ToPixel(dc.state.bkColor);
        cell.ForEachSpan(canvas.clip, [&](int row, int left, int right) {
            FillSpan(canvas, row, left, right, background);
        });
    }
    // The glyphs turn by the escapement, or by the orientation in the advanced graphics mode.
    const double turn = Radians(dc.state.graphicsMode == GM_ADVANCED ? selected->logical.lfOrientation
                                                                     : selected->logical.lfEscapement);
    const std::uint32_t ink = ToPixel(dc.state.textColor);
    double advanced = 0;
    for (UINT i = 0; i < count; ++i) {
        DrawGlyph(canvas, cell, font, static_cast<char16_t>(text[i]), cell.origin + advanced * cell.direction,
                  turn, ink);
        advanced += advances[i];
    }
    return TRUE;
}

// Copies as much of `name` as fits in `size` characters with a terminator: the characters copied,
// the whole length when `buffer` is null, -1 when nothing fits.
template <typename Name, typename Char> int CopyName(const Name &name, int size, Char *buffer)
{
    if (buffer == nullptr) {
        return static_cast<int>(name.size());
    }
    if (size <= 0) {
        return -1;
    }
    return static_cast<int>(text::CopyToBuffer(name, buffer, static_cast<size_t>(size)));
}

std::vector<WCHAR> Widen(LPCSTR bytes, int length)
{
    const std::u16string wide = text::FromAnsi(bytes, length);
    return {wide.begin(), wide.end()};
}

} // namespace

void gdi::NarrowMetrics(const TEXTMETRICW &wide, TEXTMETRICA &narrow)
{
    memcpy(&narrow, &wide, offsetof(TEXTMETRICA, tmFirstChar));
    const auto character = [](WCHAR c) { return static_cast<BYTE>(std::min<unsigned>(c, 0xFF)); };
    narrow.tmFirstChar = character(wide.tmFirstChar);
    narrow.tmLastChar = character(wide.tmLastChar);
    narrow.tmDefaultChar = character(wide.tmDefaultChar);
    narrow.tmBreakChar = character(wide.tmBreakChar);
    narrow.tmItalic = wide.tmItalic;
    narrow.tmUnderlined = wide.tmUnderlined;
    narrow.tmStruckOut = wide.tmStruckOut;
    narrow.tmPitchAndFamily = wide.tmPitchAndFamily;
    narrow.tmCharSet = wide.tmCharSet;
}

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm)
{
    RealizedFont *font = SelectedSizes(hdc);
    if (font == nullptr || lptm == nullptr) {
        return FALSE;
    }
    *lptm = font->metrics;
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm)
{
    TEXTMETRICW wide;
    if (lptm == nullptr || !GetTextMetricsW(hdc, &wide)) {
        return FALSE;
    }
    gdi::NarrowMetrics(wide, *lptm);
    return TRUE;
}

BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit,
                                  LPINT lpnDx, LPSIZE lpSize)
{
    RealizedFont *font = SelectedSizes(hdc);
    if (font == nullptr || cchString < 0 || lpSize == nullptr || (lpszString == nullptr && cchString > 0)) {
        return FALSE;
    }
    const int extra = FindDc(hdc)->state.characterExtra;
    // A negative limit is no limit.
    const int limit = nMaxExtent < 0 ? INT_MAX : nMaxExtent;
    int extent = 0;
    int fit = 0;
    for (int i = 0; i < cchString; ++i) {
        extent += font->Advance(static_cast<char16_t>(lpszString[i])) + extra;
        if (lpnDx != nullptr) {
            lpnDx[i] = extent;
        }
        fit += extent <= limit ? 1 : 0;
    }
    if (lpnFit != nullptr) {
        *lpnFit = fit;
    }
    // Nothing measured has no height either.
    *lpSize = {extent, cchString > 0 ? font->metrics.tmHeight : 0};
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl)
{
    return GetTextExtentExPointW(hdc, lpString, c, 0, nullptr, nullptr, psizl);
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    if (lpString == nullptr || c < 0) {
        return FALSE;
    }
    const std::vector<WCHAR> wide = Widen(lpString, c);
    return GetTextExtentPoint32W(hdc, wide.data(), static_cast<int>(wide.size()), psizl);
}

BOOL WINAPI GetTextExtentPointW(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl)
{
    return GetTextExtentPoint32W(hdc, lpString, c, psizl);
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    return GetTextExtentPoint32A(hdc, lpString, c, psizl);
}

// The ANSI limit takes -1 for no limit and refuses other negative ones. Fit and extents count
// bytes: every byte of a character gets that character's extent.
BOOL WINAPI GetTextExtentExPointA(HDC hdc, LPCSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit,
                                  LPINT lpnDx, LPSIZE lpSize)
{
    if (cchString < 0 || nMaxExtent < -1 || (lpszString == nullptr && cchString > 0)) {
        return FALSE;
    }
    const std::vector<WCHAR> wide = Widen(lpszString, cchString);
    const int count = static_cast<int>(wide.size());
    std::vector<int> ends(wide.size());
    int fit = 0;
    if (!GetTextExtentExPointW(hdc, wide.data(), count, nMaxExtent, &fit, ends.data(), lpSize)) {
        return FALSE;
    }
    int bytes = 0;
    int fitBytes = 0;
    for (size_t i = 0; i < wide.size() && bytes < cchString; ++i) {
        const int length = static_cast<int>(text::ToAnsi(text::View(&wide[i], 1)).size());
        for (int byte = 0; byte < length && bytes < cchString; ++byte, ++bytes) {
            if (lpnDx != nullptr) {
                lpnDx[bytes] = ends[i];
            }
        }
        fitBytes = static_cast<int>(i) < fit ? bytes : fitBytes;
    }
    if (lpnFit != nullptr) {
        *lpnFit = fitBytes;
    }
    return TRUE;
}

// Each character's advance from `first` to `last`, both included.
BOOL WINAPI GetCharWidth32W(HDC hdc, UINT first, UINT last, LPINT lpBuffer)
{
    RealizedFont *font = SelectedSizes(hdc);
    if (font == nullptr || lpBuffer == nullptr || last < first) {
        return FALSE;
    }
    for (unsigned long long character = first; character <= last; ++character) {
        lpBuffer[character - first] = font->Advance(static_cast<UINT>(character));
    }
    return TRUE;
}

BOOL WINAPI GetCharWidthW(HDC hdc, UINT first, UINT last, LPINT lpBuffer)
{
    return GetCharWidth32W(hdc, first, last, lpBuffer);
}

// The ANSI range is of single bytes; each is the character the code page reads it as.
BOOL WINAPI GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT lpBuffer)
{
    constexpr UINT kLastByte = 0xFF;
    if (lpBuffer == nullptr || last < first || last > kLastByte) {
        return FALSE;
    }
    for (UINT code = first; code <= last; ++code) {
        const char byte = static_cast<char>(code);
        const std::vector<WCHAR> wide = Widen(&byte, 1);
        const UINT character = wide.empty() ? 0 : wide.front();
        if (!GetCharWidth32W(hdc, character, character, &lpBuffer[code - first])) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT lpBuffer)
{
    return GetCharWidth32A(hdc, first, last, lpBuffer);
}

int WINAPI GetTextFaceW(HDC hdc, int c, LPWSTR lpName)
{
    RealizedFont *font = SelectedSizes(hdc);
    if (font == nullptr) {
        return 0;
    }
    const int copied = CopyName(font->faceName, c, lpName);
    return lpName == nullptr || copied >= 0 ? copied + 1 : 0;
}

int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName)
{
    WCHAR wide[LF_FACESIZE];
    if (GetTextFaceW(hdc, LF_FACESIZE, wide) == 0) {
        return 0;
    }
    const int copied = CopyName(text::ToAnsi(text::View(wide)), c, lpName);
    // Unlike the wide call, a copied name is counted without its terminator.
    return lpName == nullptr ? copied + 1 : std::max(copied, 0);
}

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT *lprect, LPCWSTR lpString, UINT c,
                        const INT *lpDx)
{
    DeviceContext *dc = FindDc(hdc);
    return dc != nullptr ? DrawString(*dc, x, y, options, lprect, lpString, c, lpDx) : FALSE;
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT *lprect, LPCSTR lpString, UINT c,
                        const INT *lpDx)
{
    if (lpString == nullptr && c > 0) {
        return FALSE;
    }
    const std::vector<WCHAR> wide = Widen(lpString, static_cast<int>(c));
    return ExtTextOutW(hdc, x, y, options, lprect, wide.data(), static_cast<UINT>(wide.size()), lpDx);
}

BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c)
{
    return c >= 0 && ExtTextOutW(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    return c >= 0 && ExtTextOutA(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}
