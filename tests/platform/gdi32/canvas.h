// A tiny 32-bit top-down DIB section in a memory DC, and its pixels drawn as text so that a test
// can spell out the picture it expects, corners included.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test {

constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 255);

// Face names without KERNEL32's string calls, so that these tests need GDI32 only.
void SetFaceName(LOGFONTW &font, const WCHAR *name);
std::string Narrow(const WCHAR *text); // ASCII only

class Canvas {
public:
    Canvas(int width, int height, COLORREF paper = kPaper);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF At(int x, int y) const; // read straight from the bits
    void Set(int x, int y, COLORREF color);

    // One string per row: '.' for paper, '#' for ink, '?' for anything else.
    std::vector<std::string> Picture() const;

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    std::uint32_t *bits_ = nullptr;
};

// The scene's text: "SlantGlyphDemo" in "MS UI Gothic" at a 50-pixel cell, red on yellow, drawn
// at the reference point with the given angles, graphics mode, alignment and background mode.
constexpr int kReferenceX = 150;
constexpr int kReferenceY = 170;
constexpr COLORREF kTextColor = RGB(255, 0, 0);
constexpr COLORREF kCellColor = RGB(255, 255, 0);

struct SceneText {
    TEXTMETRICW metrics;
    SIZE extent;
};
SceneText DrawSceneText(const Canvas &canvas, int escapement, int orientation, int mode, UINT align,
                        int background = OPAQUE);

} // namespace test
