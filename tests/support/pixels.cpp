#include "pixels.h"

#include "SlantGlyphDemo.h"

namespace test {

namespace {

constexpr LPARAM kPrintClient = 0x00000004; // PRF_CLIENT

std::uint32_t ToBits(COLORREF color)
{
    return static_cast<std::uint32_t>(GetRValue(color)) << 16 |
           static_cast<std::uint32_t>(GetGValue(color)) << 8 | GetBValue(color);
}

} // namespace

bool IsCell(COLORREF color)
{
    return GetRValue(color) >= 0xC0 && GetBValue(color) <= 0x40;
}

bool IsInk(COLORREF color)
{
    return IsCell(color) && GetGValue(color) <= 0x80;
}

Canvas::Canvas(int width, int height, COLORREF paper) : dib_(width, height)
{
    for (int i = 0; dib_.bits() != nullptr && i < width * height; ++i) {
        dib_.bits()[i] = ToBits(paper);
    }
}

COLORREF Canvas::At(int x, int y) const
{
    return ColorOf(dib_.bits()[PixelIndex(x, y, width())]);
}

void Canvas::Set(int x, int y, COLORREF color) const
{
    dib_.bits()[PixelIndex(x, y, width())] = ToBits(color);
}

int Canvas::Count(COLORREF color) const
{
    GdiFlush();
    int count = 0;
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            count += At(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

std::vector<std::string> Canvas::Picture() const
{
    GdiFlush();
    std::vector<std::string> rows;
    for (int y = 0; y < height(); ++y) {
        std::string row;
        for (int x = 0; x < width(); ++x) {
            const COLORREF c = At(x, y);
            row += c == kPaper ? '.' : c == kInk ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<COLORREF> Print(HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    const scene::DibCanvas canvas(client.right, client.bottom);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), kPrintClient);
    std::vector<COLORREF> pixels;
    for (std::uint32_t pixel : canvas.Pixels()) {
        pixels.push_back(ColorOf(pixel));
    }
    return pixels;
}

COLORREF PrintedPixel(HWND control, int x, int y)
{
    RECT client;
    GetClientRect(control, &client);
    return Print(control)[PixelIndex(x, y, client.right)];
}

SceneText DrawSceneText(const Canvas &canvas, int escapement, int orientation, int mode, UINT align,
                        int background)
{
    LOGFONTW logical = {};
    logical.lfHeight = scene::kCellHeight;
    logical.lfEscapement = escapement;
    logical.lfOrientation = orientation;
    logical.lfCharSet = DEFAULT_CHARSET;
    SetFaceName(logical, scene::kFaceName);
    HFONT font = CreateFontIndirectW(&logical);
    HGDIOBJ previous = SelectObject(canvas.dc(), font);
    SetTextColor(canvas.dc(), kTextColor);
    SetBkColor(canvas.dc(), kCellColor);
    SetBkMode(canvas.dc(), background);
    SetGraphicsMode(canvas.dc(), mode);
    SetTextAlign(canvas.dc(), align);
    constexpr int kLength = sizeof(scene::kSampleText) / sizeof(WCHAR) - 1;
    TextOutW(canvas.dc(), scene::kReferenceX, scene::kReferenceY, scene::kSampleText, kLength);
    SceneText drawn = {};
    GetTextMetricsW(canvas.dc(), &drawn.metrics);
    GetTextExtentPoint32W(canvas.dc(), scene::kSampleText, kLength, &drawn.extent);
    SelectObject(canvas.dc(), previous);
    DeleteObject(font);
    return drawn;
}

SceneText SceneFontMetrics()
{
    const Canvas speck(1, 1); // the text falls outside it
    return DrawSceneText(speck, 0, 0, GM_COMPATIBLE, TA_BASELINE);
}

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

} // namespace test
