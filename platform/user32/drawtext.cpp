// DrawText: lines, word breaks, alignment and the '&' prefix, drawn with GDI text.
#include "window.h"

#include "text.h"

#include <algorithm>

namespace {

constexpr WCHAR kPrefix = L'&';

struct Line {
    std::u16string text;
    int width = 0;
};

int Width(HDC dc, const std::u16string &text)
{
    SIZE size = {};
    GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Removes prefix marks: "&x" shows "x", "&&" shows "&".
std::u16string WithoutPrefixes(const std::u16string &text)
{
    std::u16string shown;
    for (size_t index = 0; index < text.size(); ++index) {
        if (text[index] == kPrefix && index + 1 < text.size()) {
            ++index;
        }
        shown += text[index];
    }
    return shown;
}

// Splits at line ends and, with DT_WORDBREAK, between words that would pass `width`.
std::vector<Line> BreakLines(HDC dc, const std::u16string &text, UINT format, int width)
{
    std::vector<Line> lines;
    if ((format & DT_SINGLELINE) != 0) {
        lines.push_back({text, Width(dc, text)});
        return lines;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(u"\r\n", start);
        std::u16string paragraph =
            text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
        while ((format & DT_WORDBREAK) != 0 && Width(dc, paragraph) > width) {
            size_t cut = paragraph.size();
            while (cut > 0) {
                const size_t space = paragraph.rfind(u' ', cut - 1);
                if (space == std::u16string::npos || space == 0) {
                    cut = 0;
                    break;
                }
                cut = space;
                if (Width(dc, paragraph.substr(0, cut)) <= width) {
                    break;
                }
            }
            if (cut == 0) {
                break; // a single word wider than the line stays whole
            }
            const std::u16string head = paragraph.substr(0, cut + 1); // the breaking space stays on the line
            lines.push_back({head, Width(dc, head)});
            paragraph.erase(0, cut + 1);
        }
        lines.push_back({paragraph, Width(dc, paragraph)});
        if (end == std::u16string::npos) {
            break;
        }
        if (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}

} // namespace

int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    if (hdc == nullptr || lprc == nullptr || lpchText == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int length = cchText < 0 ? lstrlenW(lpchText) : cchText;
    std::u16string text(reinterpret_cast<const char16_t *>(lpchText), static_cast<size_t>(length));
    if ((format & DT_NOPREFIX) == 0) {
        text = WithoutPrefixes(text);
    }
    TEXTMETRICW metrics = {};
    GetTextMetricsW(hdc, &metrics);
    const int lineHeight =
        metrics.tmHeight + ((format & DT_EXTERNALLEADING) != 0 ? metrics.tmExternalLeading : 0);
    const std::vector<Line> lines = BreakLines(hdc, text, format, lprc->right - lprc->left);
    const int height = lineHeight * static_cast<int>(lines.size());

    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const Line &line : lines) {
            widest = std::max(widest, line.width);
        }
        lprc->right = lprc->left + widest;
        lprc->bottom = lprc->top + height;
        return height;
    }
    int y = lprc->top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) {
            y = lprc->top + (lprc->bottom - lprc->top - height) / 2;
        } else if ((format & DT_BOTTOM) != 0) {
            y = lprc->bottom - height;
        }
    }
    const UINT options = (format & DT_NOCLIP) != 0 ? 0u : static_cast<UINT>(ETO_CLIPPED);
    for (const Line &line : lines) {
        int x = lprc->left;
        if ((format & DT_CENTER) != 0) {
            x = lprc->left + (lprc->right - lprc->left - line.width) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            x = lprc->right - line.width;
        }
        ExtTextOutW(hdc, x, y, options, lprc, reinterpret_cast<LPCWSTR>(line.text.c_str()),
                    static_cast<UINT>(line.text.size()), nullptr);
        y += lineHeight;
    }
    return y - lprc->top;
}

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    if (lpchText == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string wide = platform::text::FromAnsi(lpchText, cchText < 0 ? -1 : cchText);
    return DrawTextW(hdc, platform::user32::AsWide(wide), static_cast<int>(wide.size()), lprc, format);
}
