// Font files: finding a face for a LOGFONT through our substitutes and fontconfig, and loading
// it once with FreeType.
#pragma once

#include "objects.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace gdi {

// One VDMX record: the pixel extents the designer set for one size (1:1 pixels).
struct PixelExtent {
    int ppem;
    int ascent;  // yMax
    int descent; // -yMin
};

// A loaded face and the design metrics the sizes derive from (font units).
struct Typeface {
    FT_Face face = nullptr;
    int unitsPerEm = 0;
    int ascent = 0;  // OS/2 usWinAscent, or hhea
    int descent = 0; // OS/2 usWinDescent, or hhea, positive
    int externalLeading = 0;
    int averageWidth = 0;
    int maximumWidth = 0;
    int weight = FW_NORMAL;
    WCHAR firstChar = 0x20;
    WCHAR lastChar = 0xFFFC;
    WCHAR defaultChar = 0x1F;
    WCHAR breakChar = 0x20;
    std::vector<PixelExtent> pixelExtents; // by ppem, rising
    int currentPpem = 0;                   // the size FreeType is set to now
    int currentWidthPpem = 0;              // and its width, 0 for square
};

// A face for `font`, and the name GetTextFace reports for it.
struct FaceMatch {
    Typeface *typeface = nullptr;
    std::u16string name;
};
FaceMatch MatchTypeface(const LOGFONTW &font);

// The families our substitutes stand for, each once: the faces this layer is sure to have.
std::vector<const char *> SubstituteFamilies();

// Metrics as the A calls give them: the characters past 0xFF read as 0xFF.
void NarrowMetrics(const TEXTMETRICW &wide, TEXTMETRICA &narrow);

// Sets the face to `ppem` pixels per em (`widthPpem` across, when not 0) and loads the glyph for
// `character`, turned by `transform` (none when null) and shifted by `delta` (26.6) as FreeType
// applies them.
bool LoadGlyph(Typeface &typeface, int ppem, UINT character, FT_Matrix *transform, FT_Vector *delta,
               int widthPpem = 0);

} // namespace gdi
