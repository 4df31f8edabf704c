// Font files packed with the program, for a build without fontconfig (the browser): the two
// families our substitutes name, each in a file of its own; any other family gets Tahoma, as a
// desktop gives its default face.
#include "fontfiles.h"

#include <algorithm>
#include <iterator>

namespace gdi {

namespace {

struct PackedFont {
    const char *family;
    const char *path;
};
constexpr PackedFont kPackedFonts[] = {
    {"Tahoma", "/fonts/tahoma.ttf"},
    {"Ume UI Gothic", "/fonts/ume-ugo4.ttf"},
};

} // namespace

std::optional<FontFile> FindFontFile(const std::string &family, bool /*bold*/, bool /*italic*/)
{
    const auto *font =
        std::find_if(std::begin(kPackedFonts), std::end(kPackedFonts),
                     [&family](const PackedFont &packed) { return Lower(family) == Lower(packed.family); });
    if (font == std::end(kPackedFonts)) {
        font = std::begin(kPackedFonts);
    }
    return FontFile{font->path, 0, font->family};
}

} // namespace gdi
