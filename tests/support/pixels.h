// Pictures read back pixel by pixel: tiny bitmaps a test draws into, controls printed into a
// bitmap, frames of the program's scene, and the colours the scene promises.
#pragma once

#include "scene_frame.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test {

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 255);

// The scene's text: red on yellow cells.
constexpr COLORREF kTextColor = RGB(255, 0, 0);
constexpr COLORREF kCellColor = RGB(255, 255, 0);

// A pixel of a DIB section (0x00RRGGBB) as a COLORREF.
inline COLORREF ColorOf(std::uint32_t pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Where pixel (x, y) sits among rows `width` pixels long.
inline size_t PixelIndex(int x, int y, int width)
{
    return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
}

// Pixel classes of the scene.
bool IsCell(COLORREF color); // the yellow cell or red ink on it, smoothed or not
bool IsInk(COLORREF color);  // mostly red

// A 32-bit top-down DIB section in a memory DC, filled with `paper`.
class Canvas {
public:
    Canvas(int width, int height, COLORREF paper = kPaper);

    HDC dc() const { return dib_.dc(); }
    int width() const { return dib_.width(); }
    int height() const { return dib_.height(); }
    COLORREF At(int x, int y) const; // read straight from the bits
    void Set(int x, int y, COLORREF color) const;
    int Count(COLORREF color) const;

    // One string per row: '.' for paper, '#' for ink, '?' for anything else.
    std::vector<std::string> Picture() const;

private:
    scene::DibCanvas dib_;
};

// A control's client area as it prints itself (WM_PRINTCLIENT): COLORREFs, rows top-down.
std::vector<COLORREF> Print(HWND control);
COLORREF PrintedPixel(HWND control, int x, int y);

// The program's scene drawn by its own paint path.
using Frame = scene::Frame;

// The scene's text as the program draws it: "SlantGlyphDemo" in "MS UI Gothic" at a 50-pixel
// cell, red on yellow, at the reference point with the given angles, graphics mode, alignment and
// background mode. What the DC reported for the font, and the text's extent.
struct SceneText {
    TEXTMETRICW metrics;
    SIZE extent;
};
SceneText DrawSceneText(const Canvas &canvas, int escapement, int orientation, int mode, UINT align,
                        int background = OPAQUE);
// The same font's metrics.
SceneText SceneFontMetrics();

// Face names without KERNEL32's string calls.
void SetFaceName(LOGFONTW &font, const WCHAR *name);
std::string Narrow(const WCHAR *text); // ASCII only

} // namespace test
