// Fonts: the logical font as given, and its size worked out from the height on first use.
#include "glyphcache.h"

#include "text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {

namespace {

// What a height of 0 asks for: the default cell height.
constexpr LONG kDefaultCellHeight = 16;
constexpr LONG kLargestHeight = 4096; // beyond any screen; keeps glyph images and arithmetic in range
constexpr double kLargestEm = 65535;  // the largest em the platform sizes a face to
constexpr LONG kWidestRatio = 100;    // a width beyond this many heights is ignored
constexpr LONG kDigitizedAspect = 96;
constexpr BYTE kItalic = 255;

int Scale(int fontUnits, double scale)
{
    return static_cast<int>(std::lround(fontUnits * scale));
}

// The designer's extents for this height: for a positive height the tallest record that fits,
// as long as a taller one shows the table reaches that far; for a negative one the exact em.
const PixelExtent *FindPixelExtent(const Typeface &typeface, LONG height)
{
    const PixelExtent *fitting = nullptr;
    for (const PixelExtent &extent : typeface.pixelExtents) {
        if (height < 0 && extent.ppem == -height) {
            return &extent;
        }
        if (height > 0 && extent.ascent + extent.descent > height) {
            return fitting;
        }
        if (height > 0 && extent.ascent + extent.descent == height) {
            return &extent;
        }
        fitting = &extent;
    }
    return nullptr;
}

// The height asked for, as the platform takes it: an em beyond the largest it sizes to is
// ignored for an em of one pixel; a height our rasteriser cannot reach is held to its limit.
LONG EffectiveHeight(const Typeface &typeface, LONG requested)
{
    const double designHeight = typeface.ascent + typeface.descent;
    const double height = requested == 0 ? kDefaultCellHeight : requested;
    const double em = height > 0 ? std::round(typeface.unitsPerEm * height / designHeight) : -height;
    if (em > kLargestEm) {
        return -1;
    }
    return std::clamp(static_cast<LONG>(height), -kLargestHeight, kLargestHeight);
}

void FillMetrics(const Typeface &typeface, const LOGFONTW &logical, RealizedFont &realized)
{
    const int designHeight = typeface.ascent + typeface.descent;
    const LONG height = EffectiveHeight(typeface, logical.lfHeight);
    TEXTMETRICW &metrics = realized.metrics;
    if (height > 0) {
        // A positive height is the cell: the largest em whose cell still fits in it.
        realized.ppem = Scale(typeface.unitsPerEm, static_cast<double>(height) / designHeight);
        if (realized.ppem > 1 &&
            Scale(designHeight, static_cast<double>(realized.ppem) / typeface.unitsPerEm) > height) {
            --realized.ppem;
        }
    } else {
        // A negative one is the em.
        realized.ppem = -height;
    }
    // Ascent and descent follow the em, each rounded on its own, so the cell may come out smaller.
    const double designScale = static_cast<double>(realized.ppem) / typeface.unitsPerEm;
    metrics.tmAscent = Scale(typeface.ascent, designScale);
    metrics.tmDescent = Scale(typeface.descent, designScale);
    metrics.tmInternalLeading = Scale(designHeight - typeface.unitsPerEm, designScale);
    if (const PixelExtent *extent = FindPixelExtent(typeface, height)) {
        realized.ppem = extent->ppem;
        metrics.tmAscent = extent->ascent;
        metrics.tmDescent = extent->descent;
        metrics.tmInternalLeading = extent->ascent + extent->descent - extent->ppem;
    }
    realized.ppem = std::max(realized.ppem, 1);
    const double emScale = static_cast<double>(realized.ppem) / typeface.unitsPerEm;
    metrics.tmHeight = metrics.tmAscent + metrics.tmDescent;
    metrics.tmExternalLeading = Scale(typeface.externalLeading, emScale);
    metrics.tmAveCharWidth = std::max(Scale(typeface.averageWidth, emScale), 1);
    metrics.tmMaxCharWidth = Scale(typeface.maximumWidth, emScale);
    metrics.tmWeight = typeface.weight;
    metrics.tmDigitizedAspectX = kDigitizedAspect;
    metrics.tmDigitizedAspectY = kDigitizedAspect;
    metrics.tmFirstChar = typeface.firstChar;
    metrics.tmLastChar = typeface.lastChar;
    metrics.tmDefaultChar = typeface.defaultChar;
    metrics.tmBreakChar = typeface.breakChar;
    metrics.tmItalic = (typeface.face->style_flags & FT_STYLE_FLAG_ITALIC) != 0 ? kItalic : 0;
    metrics.tmUnderlined = logical.lfUnderline;
    metrics.tmStruckOut = logical.lfStrikeOut;
    const bool fixed = FT_IS_FIXED_WIDTH(typeface.face);
    // TMPF_FIXED_PITCH set means the pitch varies.
    metrics.tmPitchAndFamily =
        static_cast<BYTE>((fixed ? FF_MODERN : FF_SWISS | TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE);
    metrics.tmCharSet = logical.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : logical.lfCharSet;
}

// A width asks for that average character width: the glyphs are stretched or narrowed across by
// the width over the font's own average, and the widths derived from them follow.
void ApplyWidth(const Typeface &typeface, const LOGFONTW &logical, RealizedFont &realized)
{
    TEXTMETRICW &metrics = realized.metrics;
    const long long requested = std::llabs(static_cast<long long>(logical.lfWidth));
    const long long cell = std::max<LONG>(metrics.tmHeight, 1);
    if (requested == 0 || (requested + cell - 1) / cell > kWidestRatio) {
        return;
    }
    const LONG width = static_cast<LONG>(std::min<long long>(requested, kLargestHeight));
    const double across = static_cast<double>(width) / metrics.tmAveCharWidth;
    realized.widthPpem = std::max(static_cast<int>(std::lround(realized.ppem * across)), 1);
    metrics.tmAveCharWidth = width;
    metrics.tmMaxCharWidth =
        Scale(typeface.maximumWidth, static_cast<double>(realized.widthPpem) / typeface.unitsPerEm);
}

} // namespace

int Font::Describe(int size, void *buffer) const
{
    return CopyOut(logical, size, buffer);
}

RealizedFont &Font::Realized()
{
    if (realized_ == nullptr) {
        realized_ = std::make_unique<RealizedFont>();
        FaceMatch match = MatchTypeface(logical);
        realized_->face = match.typeface;
        realized_->faceName = std::move(match.name);
        if (realized_->face != nullptr) {
            FillMetrics(*realized_->face, logical, *realized_);
            ApplyWidth(*realized_->face, logical, *realized_);
        }
    }
    return *realized_;
}

int RealizedFont::Advance(UINT character)
{
    const auto known = advances.find(character);
    if (known != advances.end()) {
        return known->second;
    }
    const int advance = face != nullptr ? GlyphAdvance(*face, ppem, character, widthPpem) : 0;
    advances[character] = advance;
    return advance;
}

} // namespace gdi

using namespace gdi;
namespace text = platform::text;

HFONT WINAPI CreateFontIndirectW(const LOGFONTW *lplf)
{
    if (lplf == nullptr) {
        return nullptr;
    }
    LOGFONTW font = *lplf;
    font.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(AddObject(std::make_unique<Font>(font)));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA *lplf)
{
    if (lplf == nullptr) {
        return nullptr;
    }
    LOGFONTW font;
    memcpy(&font, lplf, offsetof(LOGFONTW, lfFaceName));
    memset(font.lfFaceName, 0, sizeof(font.lfFaceName));
    const std::u16string face =
        text::FromAnsi(lplf->lfFaceName, static_cast<int>(strnlen(lplf->lfFaceName, LF_FACESIZE)));
    text::CopyToBuffer(face, font.lfFaceName, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                         LPCWSTR pszFaceName)
{
    LOGFONTW font = {cHeight,
                     cWidth,
                     cEscapement,
                     cOrientation,
                     cWeight,
                     static_cast<BYTE>(bItalic),
                     static_cast<BYTE>(bUnderline),
                     static_cast<BYTE>(bStrikeOut),
                     static_cast<BYTE>(iCharSet),
                     static_cast<BYTE>(iOutPrecision),
                     static_cast<BYTE>(iClipPrecision),
                     static_cast<BYTE>(iQuality),
                     static_cast<BYTE>(iPitchAndFamily),
                     {}};
    for (int i = 0; pszFaceName != nullptr && pszFaceName[i] != 0 && i < LF_FACESIZE - 1; ++i) {
        font.lfFaceName[i] = pszFaceName[i];
    }
    return CreateFontIndirectW(&font);
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                         LPCSTR pszFaceName)
{
    const std::u16string face = text::FromAnsi(pszFaceName);
    std::vector<WCHAR> wide(face.begin(), face.end());
    wide.push_back(0);
    return CreateFontW(cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline, bStrikeOut,
                       iCharSet, iOutPrecision, iClipPrecision, iQuality, iPitchAndFamily, wide.data());
}
