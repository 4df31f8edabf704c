// Font files through fontconfig, with Wine's fonts added: Tahoma comes with them, and fontconfig
// does not know their folder by default.
#include "fontfiles.h"

#include <fontconfig/fontconfig.h>

namespace gdi {

namespace {

constexpr const char *kExtraFontDirectory = "/usr/share/wine/fonts";

void StartFontconfig()
{
    static bool started = false;
    if (!started) {
        FcInit();
        FcConfigAppFontAddDir(nullptr, reinterpret_cast<const FcChar8 *>(kExtraFontDirectory));
        started = true;
    }
}

} // namespace

std::optional<FontFile> FindFontFile(const std::string &family, bool bold, bool italic)
{
    StartFontconfig();
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    std::optional<FontFile> found;
    if (FcPattern *match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8 *file = nullptr;
        FcChar8 *name = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            found = FontFile{reinterpret_cast<const char *>(file), 0, ""};
            FcPatternGetInteger(match, FC_INDEX, 0, &found->index);
            if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
                found->family = reinterpret_cast<const char *>(name);
            }
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

} // namespace gdi
