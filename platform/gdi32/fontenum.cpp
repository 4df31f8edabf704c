// Font families as the platform lists them: a family asked for by name, the faces that stand for
// our substitutes when no name is given, and the average character size dialogs are laid out with.
#include "typeface.h"

#include "text.h"

#include <cstring>

namespace gdi {

namespace {

// The records a callback receives are the extended ones, so callers may read past the plain
// LOGFONT and TEXTMETRIC as they do on the platform.
struct EnumeratedFontW {
    LOGFONTW logical;
    WCHAR fullName[64];
    WCHAR style[LF_FACESIZE];
    WCHAR script[LF_FACESIZE];
};
struct EnumeratedMetricsW {
    TEXTMETRICW metrics;
    DWORD flags;
    UINT sizeEm;
    UINT cellHeight;
    UINT averageWidth;
    DWORD signature[6];
};
struct EnumeratedFontA {
    LOGFONTA logical;
    BYTE fullName[64];
    BYTE style[LF_FACESIZE];
    BYTE script[LF_FACESIZE];
};
struct EnumeratedMetricsA {
    TEXTMETRICA metrics;
    DWORD flags;
    UINT sizeEm;
    UINT cellHeight;
    UINT averageWidth;
    DWORD signature[6];
};

constexpr DWORD kTrueType = 0x0004;    // TRUETYPE_FONTTYPE
constexpr DWORD kRegularFlag = 0x0040; // NTM_REGULAR

// The family's regular face, described at its design size as the platform describes it.
bool Describe(const std::u16string &requested, EnumeratedFontW &font, EnumeratedMetricsW &metrics,
              DWORD &type)
{
    LOGFONTW logical = {};
    platform::text::CopyToBuffer(requested, logical.lfFaceName, LF_FACESIZE);
    const FaceMatch match = MatchTypeface(logical);
    // A name that falls back to another family is not one of ours.
    if (match.typeface == nullptr || match.name != requested.substr(0, LF_FACESIZE - 1)) {
        return false;
    }
    const Typeface &face = *match.typeface;
    logical.lfHeight = -face.unitsPerEm;
    HFONT handle = CreateFontIndirectW(&logical);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, handle);
    font = {};
    metrics = {};
    GetTextMetricsW(dc, &metrics.metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(handle);

    font.logical = logical;
    font.logical.lfHeight = metrics.metrics.tmHeight;
    font.logical.lfWidth = metrics.metrics.tmAveCharWidth;
    font.logical.lfWeight = metrics.metrics.tmWeight;
    font.logical.lfCharSet = metrics.metrics.tmCharSet;
    font.logical.lfOutPrecision = OUT_TT_PRECIS;
    font.logical.lfQuality = DEFAULT_QUALITY;
    // The LOGFONT's pitch bits are the reverse of the TEXTMETRIC's.
    font.logical.lfPitchAndFamily = static_cast<BYTE>(
        (metrics.metrics.tmPitchAndFamily & 0xF0) |
        ((metrics.metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0 ? VARIABLE_PITCH : FIXED_PITCH));
    const std::string family = face.face->family_name != nullptr ? face.face->family_name : "";
    const std::string style = face.face->style_name != nullptr ? face.face->style_name : "";
    platform::text::CopyToBuffer(platform::text::FromUtf8(style == "Regular" ? family : family + " " + style),
                                 font.fullName, 64);
    platform::text::CopyToBuffer(platform::text::FromUtf8(style), font.style, LF_FACESIZE);
    platform::text::CopyToBuffer(std::u16string(u"Western"), font.script, LF_FACESIZE);
    metrics.flags = kRegularFlag;
    metrics.sizeEm = static_cast<UINT>(face.unitsPerEm);
    metrics.cellHeight = static_cast<UINT>(face.ascent + face.descent);
    metrics.averageWidth = static_cast<UINT>(face.averageWidth);
    type = FT_IS_SFNT(face.face) ? kTrueType : 0;
    return true;
}

// The families to list: the one named, or with no name the faces our substitutes stand for.
std::vector<std::u16string> Families(const std::u16string &requested)
{
    if (!requested.empty()) {
        return {requested};
    }
    std::vector<std::u16string> families;
    for (const char *family : SubstituteFamilies()) {
        families.push_back(platform::text::FromUtf8(family));
    }
    return families;
}

template <typename Callback> int Enumerate(const std::u16string &requested, Callback &&callback)
{
    int result = 1; // nothing listed: the platform's answer without a call
    for (const std::u16string &family : Families(requested)) {
        EnumeratedFontW font = {};
        EnumeratedMetricsW metrics = {};
        DWORD type = 0;
        if (Describe(family, font, metrics, type)) {
            result = callback(font, metrics, type);
            if (result == 0) {
                break;
            }
        }
    }
    return result;
}

void Narrow(const EnumeratedFontW &wide, EnumeratedFontA &narrow)
{
    memcpy(&narrow.logical, &wide.logical, offsetof(LOGFONTA, lfFaceName));
    using platform::text::CopyToBuffer;
    using platform::text::ToAnsi;
    using platform::text::View;
    CopyToBuffer(ToAnsi(View(wide.logical.lfFaceName)), narrow.logical.lfFaceName, LF_FACESIZE);
    CopyToBuffer(ToAnsi(View(wide.fullName)), reinterpret_cast<char *>(narrow.fullName), 64);
    CopyToBuffer(ToAnsi(View(wide.style)), reinterpret_cast<char *>(narrow.style), LF_FACESIZE);
    CopyToBuffer(ToAnsi(View(wide.script)), reinterpret_cast<char *>(narrow.script), LF_FACESIZE);
}

void Narrow(const EnumeratedMetricsW &wide, EnumeratedMetricsA &narrow)
{
    NarrowMetrics(wide.metrics, narrow.metrics);
    narrow.flags = wide.flags;
    narrow.sizeEm = wide.sizeEm;
    narrow.cellHeight = wide.cellHeight;
    narrow.averageWidth = wide.averageWidth;
}

} // namespace

} // namespace gdi

using namespace gdi;
namespace text = platform::text;

int WINAPI EnumFontFamiliesW(HDC hdc, LPCWSTR lpLogfont, FONTENUMPROCW lpProc, LPARAM lParam)
{
    if (FindDc(hdc) == nullptr || lpProc == nullptr) {
        return 0;
    }
    const std::u16string requested(lpLogfont != nullptr ? text::View(lpLogfont) : std::u16string_view());
    return Enumerate(requested,
                     [&](const EnumeratedFontW &font, const EnumeratedMetricsW &metrics, DWORD type) {
                         return lpProc(&font.logical, &metrics.metrics, type, lParam);
                     });
}

int WINAPI EnumFontFamiliesA(HDC hdc, LPCSTR lpLogfont, FONTENUMPROCA lpProc, LPARAM lParam)
{
    if (FindDc(hdc) == nullptr || lpProc == nullptr) {
        return 0;
    }
    const std::u16string requested = lpLogfont != nullptr ? text::FromAnsi(lpLogfont) : std::u16string();
    return Enumerate(requested,
                     [&](const EnumeratedFontW &wideFont, const EnumeratedMetricsW &wideMetrics, DWORD type) {
                         EnumeratedFontA font = {};
                         EnumeratedMetricsA metrics = {};
                         Narrow(wideFont, font);
                         Narrow(wideMetrics, metrics);
                         return lpProc(&font.logical, &metrics.metrics, type, lParam);
                     });
}

// The average width of the Latin letters, rounded, and the cell height: what dialog units are
// reckoned from.
LONG WINAPI GdiGetCharDimensions(HDC hdc, LPTEXTMETRICW lptm, LONG *height)
{
    static const WCHAR kLetters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr int kCount = 52;
    TEXTMETRICW metrics;
    SIZE extent;
    if (!GetTextMetricsW(hdc, &metrics) || !GetTextExtentPointW(hdc, kLetters, kCount, &extent)) {
        return 0;
    }
    if (lptm != nullptr) {
        *lptm = metrics;
    }
    if (height != nullptr) {
        *height = metrics.tmHeight;
    }
    return (extent.cx / (kCount / 2) + 1) / 2;
}
