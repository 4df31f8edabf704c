// Rendered glyphs and their advances, kept across fonts and paints: a scene drawn again, or with
// a new font of the same face and size, neither loads nor renders its glyphs again.
#pragma once

#include "typeface.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace gdi {

// One glyph as FreeType renders it: grey coverage, one byte a pixel, rows top-down.
struct GlyphImage {
    int left = 0; // of the top-left pixel, from the origin (pixels, x right)
    int top = 0;  // of the top row, from the origin (pixels, y up)
    int width = 0;
    int rows = 0;
    std::vector<unsigned char> coverage;

    unsigned char At(int column, int row) const
    {
        return coverage[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(column)];
    }
};

// Everything that shapes a rendered glyph.
struct GlyphKey {
    const Typeface *face;
    int ppem;
    UINT character;
    FT_Matrix turn;
    FT_Vector delta;   // 26.6
    int widthPpem = 0; // 0 for square

    bool operator==(const GlyphKey &other) const;
};

struct GlyphKeyHash {
    std::size_t operator()(const GlyphKey &key) const;
};

// A store of glyphs within a budget of bytes. Past the budget it starts afresh: simpler than
// tracking use, and a scene's few glyphs are back within one paint.
class GlyphCache {
public:
    explicit GlyphCache(std::size_t budget) : budget_(budget) {}

    const GlyphImage *Find(const GlyphKey &key) const;
    // The reference holds until the next Add.
    const GlyphImage &Add(const GlyphKey &key, GlyphImage image);

    std::size_t size() const { return images_.size(); }
    std::size_t bytes() const { return bytes_; }

private:
    std::size_t budget_;
    std::size_t bytes_ = 0;
    std::unordered_map<GlyphKey, GlyphImage, GlyphKeyHash> images_;
};

// The glyph for `character` at `ppem` (`widthPpem` across, when not 0), turned by `turn` and
// shifted by `delta`, through the process's cache. An empty image when the face cannot render it.
// The reference holds until the next glyph is rendered, which may clear the cache.
const GlyphImage &RenderedGlyph(Typeface &typeface, int ppem, UINT character, const FT_Matrix &turn,
                                const FT_Vector &delta, int widthPpem = 0);

// The hinted advance of `character` at `ppem` (`widthPpem` across, when not 0), rounded up to
// whole pixels; 0 without a glyph.
int GlyphAdvance(Typeface &typeface, int ppem, UINT character, int widthPpem = 0);

} // namespace gdi
