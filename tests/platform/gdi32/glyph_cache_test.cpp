// The glyph cache: what it hands back is what FreeType itself renders, keys that shape a glyph
// differently never share an entry, and the store stays within its budget.
#include "glyphcache.h"

#include <gtest/gtest.h>

#include FT_GLYPH_H

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

// FreeType's own answer, from a library and a face of the test's own opened on the same file:
// the outline loaded turned and shifted, unhinted bitmaps left out, and made a bitmap glyph.
gdi::GlyphImage FreeTypeGlyph(const gdi::Typeface &typeface, int ppem, UINT character, FT_Matrix turn,
                              FT_Vector delta)
{
    gdi::GlyphImage image;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Glyph glyph = nullptr;
    const auto *file = static_cast<const char *>(typeface.face->stream->pathname.pointer);
    if (FT_Init_FreeType(&library) == 0 &&
        FT_New_Face(library, file, typeface.face->face_index, &face) == 0 &&
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) == 0) {
        FT_Set_Transform(face, &turn, &delta);
        if (FT_Load_Char(face, character, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0 &&
            FT_Get_Glyph(face->glyph, &glyph) == 0 &&
            FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0) {
            const auto *bitmapGlyph = reinterpret_cast<const FT_BitmapGlyphRec *>(glyph);
            const FT_Bitmap &bitmap = bitmapGlyph->bitmap;
            image.left = bitmapGlyph->left;
            image.top = bitmapGlyph->top;
            image.width = static_cast<int>(bitmap.width);
            image.rows = static_cast<int>(bitmap.rows);
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                for (unsigned column = 0; column < bitmap.width; ++column) {
                    image.coverage.push_back(
                        bitmap.buffer[static_cast<std::ptrdiff_t>(row) * bitmap.pitch + column]);
                }
            }
        }
    }
    FT_Done_Glyph(glyph);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
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

TEST(GlyphCache, HandsBackWhatFreeTypeItselfRenders)
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
        ExpectSameImage(again, FreeTypeGlyph(face, 50, glyph.character, turn, glyph.delta));
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
