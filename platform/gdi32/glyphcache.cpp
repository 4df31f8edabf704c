// The process's glyph cache: images by face, size, turn and sub-pixel shift; advances by face and
// size.
#include "glyphcache.h"

#include <cstdint>
#include <cstring>
#include <functional>

namespace gdi {

namespace {

// Room for a whole turn of the scene's text in every step of an animation, and the dialog's own.
constexpr std::size_t kGlyphBudget = 8u << 20;
// What an entry costs beyond its pixels: the key, the image's fields and the table's node.
constexpr std::size_t kEntryOverhead = sizeof(GlyphKey) + sizeof(GlyphImage) + 4 * sizeof(void *);
// Advances are a few bytes each; a face keeps this many before it starts afresh.
constexpr std::size_t kAdvanceLimit = 1u << 16;

GlyphCache &Glyphs()
{
    static GlyphCache cache(kGlyphBudget);
    return cache;
}

std::unordered_map<std::uint64_t, int> &Advances(const Typeface &typeface)
{
    static std::unordered_map<const Typeface *, std::unordered_map<std::uint64_t, int>> advances;
    return advances[&typeface];
}

void Combine(std::size_t &seed, std::size_t value)
{
    seed ^= value + 0x9e3779b97f4a7c15u + (seed << 6) + (seed >> 2);
}

} // namespace

bool GlyphKey::operator==(const GlyphKey &other) const
{
    return face == other.face && ppem == other.ppem && widthPpem == other.widthPpem &&
           character == other.character && turn.xx == other.turn.xx && turn.xy == other.turn.xy &&
           turn.yx == other.turn.yx && turn.yy == other.turn.yy && delta.x == other.delta.x &&
           delta.y == other.delta.y;
}

std::size_t GlyphKeyHash::operator()(const GlyphKey &key) const
{
    std::size_t seed = std::hash<const void *>()(key.face);
    for (const long value :
         {static_cast<long>(key.ppem), static_cast<long>(key.widthPpem), static_cast<long>(key.character),
          key.turn.xx, key.turn.xy, key.turn.yx, key.turn.yy, key.delta.x, key.delta.y}) {
        Combine(seed, std::hash<long>()(value));
    }
    return seed;
}

const GlyphImage *GlyphCache::Find(const GlyphKey &key) const
{
    const auto found = images_.find(key);
    return found != images_.end() ? &found->second : nullptr;
}

const GlyphImage &GlyphCache::Add(const GlyphKey &key, GlyphImage image)
{
    const std::size_t cost = image.coverage.size() + kEntryOverhead;
    if (bytes_ + cost > budget_) {
        images_.clear();
        bytes_ = 0;
    }
    const auto [entry, added] = images_.insert_or_assign(key, std::move(image));
    bytes_ += added ? cost : 0;
    return entry->second;
}

const GlyphImage &RenderedGlyph(Typeface &typeface, int ppem, UINT character, const FT_Matrix &turn,
                                const FT_Vector &delta, int widthPpem)
{
    const GlyphKey key = {&typeface, ppem, character, turn, delta, widthPpem};
    if (const GlyphImage *known = Glyphs().Find(key)) {
        return *known;
    }
    GlyphImage image;
    FT_Matrix matrix = turn;
    FT_Vector shift = delta;
    if (LoadGlyph(typeface, ppem, character, &matrix, &shift, widthPpem)) {
        FT_GlyphSlot slot = typeface.face->glyph;
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
            slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const FT_Bitmap &bitmap = slot->bitmap;
            image.left = slot->bitmap_left;
            image.top = slot->bitmap_top;
            image.width = static_cast<int>(bitmap.width);
            image.rows = static_cast<int>(bitmap.rows);
            image.coverage.resize(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                std::memcpy(image.coverage.data() + static_cast<std::size_t>(row) * bitmap.width,
                            bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch, bitmap.width);
            }
        }
    }
    return Glyphs().Add(key, std::move(image));
}

int GlyphAdvance(Typeface &typeface, int ppem, UINT character, int widthPpem)
{
    auto &advances = Advances(typeface);
    // Sizes and characters each fit in 16 bits here: the height is at most 4096 pixels.
    const std::uint64_t key =
        static_cast<std::uint64_t>(widthPpem) << 48 | static_cast<std::uint64_t>(ppem) << 32 | character;
    const auto known = advances.find(key);
    if (known != advances.end()) {
        return known->second;
    }
    int advance = 0;
    if (LoadGlyph(typeface, ppem, character, nullptr, nullptr, widthPpem)) {
        advance = static_cast<int>((typeface.face->glyph->metrics.horiAdvance + 63) / 64);
    }
    if (advances.size() >= kAdvanceLimit) {
        advances.clear();
    }
    advances.emplace(key, advance);
    return advance;
}

} // namespace gdi
