#include "canvas.h"

namespace test {

namespace {

std::uint32_t ToBits(COLORREF color)
{
    return static_cast<std::uint32_t>(GetRValue(color)) << 16 |
           static_cast<std::uint32_t>(GetGValue(color)) << 8 | GetBValue(color);
}

} // namespace

void SetFaceName(LOGFONTW &font, const WCHAR *name)
{
    int i = 0;
    for (; name[i] != 0 && i < LF_FACESIZE - 1; ++i) {
        font.lfFaceName[i] = name[i];
    }
    font.lfFaceName[i] = 0;
}

std::string Narrow(const WCHAR *text)
{
    std::string result;
    for (int i = 0; text[i] != 0; ++i) {
        result += static_cast<char>(text[i]);
    }
    return result;
}

Canvas::Canvas(int width, int height, COLORREF paper) : width_(width), height_(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t *>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    for (int i = 0; bits_ != nullptr && i < width * height; ++i) {
        bits_[i] = ToBits(paper);
    }
}

Canvas::~Canvas()
{
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

COLORREF Canvas::At(int x, int y) const
{
    const std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::Set(int x, int y, COLORREF color)
{
    bits_[y * width_ + x] = ToBits(color);
}

std::vector<std::string> Canvas::Picture() const
{
    GdiFlush();
    std::vector<std::string> rows;
    for (int y = 0; y < height_; ++y) {
        std::string row;
        for (int x = 0; x < width_; ++x) {
            const COLORREF c = At(x, y);
            row += c == kPaper ? '.' : c == kInk ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

SceneText DrawSceneText(const Canvas &canvas, int escapement, int orientation, int mode, UINT align,
                        int background)
{
    LOGFONTW logical = {};
    logical.lfHeight = 50;
    logical.lfEscapement = escapement;
    logical.lfOrientation = orientation;
    logical.lfCharSet = DEFAULT_CHARSET;
    SetFaceName(logical, L"MS UI Gothic");
    HFONT font = CreateFontIndirectW(&logical);
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    SetTextColor(canvas.dc(), kTextColor);
    SetBkColor(canvas.dc(), kCellColor);
    SetBkMode(canvas.dc(), background);
    SetGraphicsMode(canvas.dc(), mode);
    SetTextAlign(canvas.dc(), align);
    TextOutW(canvas.dc(), kReferenceX, kReferenceY, L"SlantGlyphDemo", 14);
    SceneText drawn = {};
    GetTextMetricsW(canvas.dc(), &drawn.metrics);
    GetTextExtentPoint32W(canvas.dc(), L"SlantGlyphDemo", 14, &drawn.extent);
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
    return drawn;
}

} // namespace test
