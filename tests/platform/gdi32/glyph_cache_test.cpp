// The glyph cache: what it hands back is what FreeType renders fresh, keys that shape a glyph
// differently never share an entry, and the store stays within its budget.
#include "glyphcache.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

gdi::Typeface &SceneFace()
{
    LOGFONTW logical = {};
    logical.lfHeight = 50;
    const WCHAR face[] = L"MS UI Gothic";
    std::memcpy(logical.lfFaceName, face, sizeof(face));
    gdi::Typeface *typeface = gdi::MatchTypeface(logical).typeface;
    EXPECT_NE(typeface, nullptr);
    return *typeface;
}

FT_Matrix Turn(double degrees)
{
    const double radians = degrees * 3.14159265358979323846 / 180;
    const auto fixed = [](double value) { return static_cast<FT_Fixed>(std::lround(value * 65536.0)); };
    return {fixed(std::cos(radians)), fixed(-std::sin(radians)), fixed(std::sin(radians)),
            fixed(std::cos(radians))};
}

// FreeType's own rendering, straight from the slot, with no cache between.
gdi::GlyphImage FreshGlyph(gdi::Typeface &typeface, int ppem, UINT character, FT_Matrix turn, FT_Vector delta)
{
    gdi::GlyphImage image;
    if (!gdi::LoadGlyph(typeface, ppem, character, &turn, &delta) ||
        FT_Render_Glyph(typeface.face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        return image;
    }
    const FT_GlyphSlot slot = typeface.face->glyph;
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = static_cast<int>(slot->bitmap.width);
    image.rows = static_cast<int>(slot->bitmap.rows);
    for (unsigned row = 0; row < slot->bitmap.rows; ++row) {
        const unsigned char *line =
            slot->bitmap.buffer + static_cast<std::ptrdiff_t>(row) * slot->bitmap.pitch;
        image.coverage.insert(image.coverage.end(), line, line + slot->bitmap.width);
    }
    return image;
}

void ExpectSameImage(const gdi::GlyphImage &cached, const gdi::GlyphImage &fresh)
{
    EXPECT_EQ(cached.left, fresh.left);
    EXPECT_EQ(cached.top, fresh.top);
    EXPECT_EQ(cached.width, fresh.width);
    EXPECT_EQ(cached.rows, fresh.rows);
    EXPECT_EQ(cached.coverage, fresh.coverage);
}

TEST(GlyphCache, HandsBackWhatFreeTypeRendersFresh)
{
    gdi::Typeface &face = SceneFace();
    const struct {
        UINT character;
        double degrees;
        FT_Vector delta;
    } cases[] = {{u'S', 0, {0, 0}}, {u'g', 45, {17, -40}}, {u'y', 90, {63, 63}}, {u'D', 217, {5, 0}}};
    for (const auto &glyph : cases) {
        SCOPED_TRACE(glyph.degrees);
        const FT_Matrix turn = Turn(glyph.degrees);
        const gdi::GlyphImage &first = gdi::RenderedGlyph(face, 50, glyph.character, turn, glyph.delta);
        const gdi::GlyphImage &again = gdi::RenderedGlyph(face, 50, glyph.character, turn, glyph.delta);
        EXPECT_EQ(&first, &again); // the second is the cached one
        ExpectSameImage(again, FreshGlyph(face, 50, glyph.character, turn, glyph.delta));
        EXPECT_GT(again.width, 0);
    }
}

gdi::GlyphImage Image(int width, int rows)
{
    gdi::GlyphImage image;
    image.width = width;
    image.rows = rows;
    image.coverage.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), 0x80);
    return image;
}

TEST(GlyphCache, KeysThatShapeTheGlyphDifferentlyStayApart)
{
    gdi::GlyphCache cache(1u << 20);
    const gdi::GlyphKey key = {nullptr, 50, u'S', Turn(0), {0, 0}};
    cache.Add(key, Image(1, 1));
    gdi::GlyphKey shifted = key;
    shifted.delta.x = 1;
    gdi::GlyphKey turned = key;
    turned.turn = Turn(45);
    gdi::GlyphKey smaller = key;
    smaller.ppem = 49;
    gdi::GlyphKey other = key;
    other.character = u'T';
    for (const gdi::GlyphKey &different : {shifted, turned, smaller, other}) {
        EXPECT_EQ(cache.Find(different), nullptr);
    }
    ASSERT_NE(cache.Find(key), nullptr);
    EXPECT_EQ(cache.Find(key)->width, 1);
}

TEST(GlyphCache, StaysWithinItsBudget)
{
    constexpr std::size_t kBudget = 64u << 10;
    gdi::GlyphCache cache(kBudget);
    gdi::GlyphKey key = {nullptr, 50, u'S', Turn(0), {0, 0}};
    const std::size_t firstCost = [&] {
        cache.Add(key, Image(40, 50));
        return cache.bytes();
    }();
    EXPECT_GE(firstCost, 40u * 50u);
    // The same key again replaces its entry rather than counting it twice.
    cache.Add(key, Image(40, 50));
    EXPECT_EQ(cache.bytes(), firstCost);
    for (FT_Pos shift = 1; shift < 200; ++shift) {
        key.delta.x = shift;
        cache.Add(key, Image(40, 50));
        EXPECT_LE(cache.bytes(), kBudget);
        ASSERT_NE(cache.Find(key), nullptr); // the glyph just added is always there
    }
    EXPECT_LT(cache.size(), 200u);
}

} // namespace
