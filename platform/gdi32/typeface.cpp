// Face lookup: our own substitutes for the platform's face names, then the font files this build
// knows; each file is opened once and kept for the life of the process.
#include "typeface.h"

#include "fontfiles.h"
#include "text.h"

#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace gdi {

namespace {

// Faces Windows programs ask for, and the free faces with the same metrics that stand in.
struct Substitute {
    const char *requested;
    const char *family;
};
constexpr Substitute kSubstitutes[] = {
    {"ms ui gothic", "Ume UI Gothic"},
    {"ms shell dlg", "Tahoma"},
    {"ms shell dlg 2", "Tahoma"},
    {"ms sans serif", "Tahoma"},
    {"system", "Tahoma"}, // Wine's System has no outlines, which fontconfig leaves out
    {"", "Tahoma"},
};

constexpr int kBoldWeight = FW_SEMIBOLD;

// VDMX layout: a header, ratio ranges, then offsets of groups of records.
constexpr size_t kVdmxHeaderSize = 6;
constexpr size_t kVdmxRatioSize = 4;
constexpr size_t kVdmxGroupHeaderSize = 4;
constexpr size_t kVdmxRecordSize = 6;

unsigned ReadUnsigned16(const std::vector<FT_Byte> &data, size_t at)
{
    return at + 2 <= data.size() ? static_cast<unsigned>(data[at] << 8 | data[at + 1]) : 0;
}

int ReadSigned16(const std::vector<FT_Byte> &data, size_t at)
{
    return static_cast<std::int16_t>(ReadUnsigned16(data, at));
}

// The records of the first ANSI VDMX group that applies to square pixels, if the face has one.
std::vector<PixelExtent> ReadPixelExtents(FT_Face face)
{
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, TTAG_VDMX, 0, nullptr, &length) != 0 || length < kVdmxHeaderSize) {
        return {};
    }
    std::vector<FT_Byte> data(length);
    FT_Load_Sfnt_Table(face, TTAG_VDMX, 0, data.data(), &length);
    const unsigned ratios = ReadUnsigned16(data, 4);
    for (unsigned i = 0; i < ratios; ++i) {
        const size_t ratio = kVdmxHeaderSize + i * kVdmxRatioSize;
        if (ratio + kVdmxRatioSize > data.size()) {
            break;
        }
        // A range for character set 0 covers every glyph; GDI reads only the ANSI ranges.
        if (data[ratio] == 0) {
            continue;
        }
        const unsigned x = data[ratio + 1];
        const unsigned yStart = data[ratio + 2];
        const unsigned yEnd = data[ratio + 3];
        if (x != 0 && (yStart > x || yEnd < x)) {
            continue; // made for pixels of another shape
        }
        const size_t group = ReadUnsigned16(data, kVdmxHeaderSize + ratios * kVdmxRatioSize + size_t{i} * 2);
        const unsigned records = ReadUnsigned16(data, group);
        std::vector<PixelExtent> extents;
        for (unsigned r = 0; r < records; ++r) {
            const size_t record = group + kVdmxGroupHeaderSize + r * kVdmxRecordSize;
            if (record + kVdmxRecordSize > data.size()) {
                break;
            }
            extents.push_back({static_cast<int>(ReadUnsigned16(data, record)), ReadSigned16(data, record + 2),
                               -ReadSigned16(data, record + 4)});
        }
        return extents;
    }
    return {};
}

struct FaceLibrary {
    FT_Library freetype = nullptr;
    std::map<std::pair<std::string, int>, std::unique_ptr<Typeface>> byFile;
    std::map<std::string, FaceMatch> byRequest;
    std::set<std::string> warned;

    FaceLibrary() { FT_Init_FreeType(&freetype); }

    Typeface *Open(const std::string &file, int index)
    {
        const auto [entry, added] = byFile.try_emplace({file, index});
        auto &slot = entry->second;
        if (!added && slot != nullptr) {
            return slot.get();
        }
        // FreeType keeps the path it is given as the face's own: the map's copy outlives the face.
        FT_Face face = nullptr;
        if (FT_New_Face(freetype, entry->first.first.c_str(), index, &face) != 0) {
            return nullptr;
        }
        slot = std::make_unique<Typeface>();
        ReadMetrics(face, *slot);
        return slot.get();
    }

    static void ReadMetrics(FT_Face face, Typeface &typeface)
    {
        typeface.face = face;
        typeface.unitsPerEm = face->units_per_EM;
        const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const auto *hhea = static_cast<const TT_HoriHeader *>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
        if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent != 0) {
            typeface.ascent = os2->usWinAscent;
            typeface.descent = os2->usWinDescent;
        } else {
            typeface.ascent = face->ascender;
            typeface.descent = -face->descender;
        }
        if (hhea != nullptr) {
            const int hheaHeight = hhea->Ascender - hhea->Descender;
            typeface.externalLeading =
                std::max(0, hhea->Line_Gap - ((typeface.ascent + typeface.descent) - hheaHeight));
        }
        typeface.pixelExtents = ReadPixelExtents(face);
        typeface.maximumWidth = static_cast<int>(face->bbox.xMax - face->bbox.xMin);
        typeface.averageWidth = os2 != nullptr ? os2->xAvgCharWidth : typeface.maximumWidth / 2;
        if (os2 != nullptr) {
            typeface.weight = os2->usWeightClass;
            typeface.firstChar = static_cast<WCHAR>(os2->usFirstCharIndex);
            typeface.lastChar = static_cast<WCHAR>(os2->usLastCharIndex);
            if (os2->version >= 2) {
                typeface.defaultChar =
                    static_cast<WCHAR>(os2->usDefaultChar != 0 ? os2->usDefaultChar : 0x1F);
                typeface.breakChar = static_cast<WCHAR>(os2->usBreakChar);
            }
        }
    }

    FaceMatch Match(const std::string &requested, bool bold, bool italic)
    {
        const std::string key = Lower(requested) + (bold ? "|b" : "|") + (italic ? "i" : "");
        const auto known = byRequest.find(key);
        if (known != byRequest.end()) {
            return known->second;
        }
        std::string family = requested;
        for (const Substitute &substitute : kSubstitutes) {
            if (Lower(requested) == substitute.requested) {
                family = substitute.family;
            }
        }
        FaceMatch match;
        std::string matchedFamily;
        if (const std::optional<FontFile> file = FindFontFile(family, bold, italic)) {
            match.typeface = Open(file->path, file->index);
            matchedFamily = file->family;
        }

        std::string reported = requested.empty() ? family : requested;
        if (Lower(matchedFamily) != Lower(family)) {
            if (warned.insert(Lower(requested)).second) {
                std::fprintf(stderr, "gdi32: no font \"%s\"; using \"%s\" instead\n", family.c_str(),
                             matchedFamily.c_str());
            }
            reported = matchedFamily;
        }
        match.name = platform::text::FromUtf8(reported);
        byRequest[key] = match;
        return match;
    }
};

FaceLibrary &Faces()
{
    static FaceLibrary library;
    return library;
}

} // namespace

FaceMatch MatchTypeface(const LOGFONTW &font)
{
    // The name ends at its terminator or at the field's last character; fontconfig's are UTF-8.
    std::u16string_view face = platform::text::View(font.lfFaceName, LF_FACESIZE - 1);
    face = face.substr(0, face.find(u'\0'));
    return Faces().Match(platform::text::ToUtf8(face), font.lfWeight >= kBoldWeight, font.lfItalic != 0);
}

std::vector<const char *> SubstituteFamilies()
{
    std::vector<const char *> families;
    for (const Substitute &substitute : kSubstitutes) {
        const auto same = [&](const char *family) { return std::string(family) == substitute.family; };
        if (std::none_of(families.begin(), families.end(), same)) {
            families.push_back(substitute.family);
        }
    }
    return families;
}

bool LoadGlyph(Typeface &typeface, int ppem, UINT character, FT_Matrix *transform, FT_Vector *delta,
               int widthPpem)
{
    if (typeface.currentPpem != ppem || typeface.currentWidthPpem != widthPpem) {
        if (FT_Set_Pixel_Sizes(typeface.face, static_cast<FT_UInt>(widthPpem), static_cast<FT_UInt>(ppem)) !=
            0) {
            return false;
        }
        typeface.currentPpem = ppem;
        typeface.currentWidthPpem = widthPpem;
    }
    FT_Set_Transform(typeface.face, transform, delta);
    const FT_UInt glyph = FT_Get_Char_Index(typeface.face, character);
    const FT_Error error = FT_Load_Glyph(typeface.face, glyph, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP);
    FT_Set_Transform(typeface.face, nullptr, nullptr);
    return error == 0;
}

} // namespace gdi
