// A frame of the scene drawn by the program's own paint path into a 32-bit DIB section: what the
// tests check and what the atlas tool writes. Public Win32 API only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace scene {

// Top-down 0x00RRGGBB pixels.
class Frame {
public:
    // Draws the dialog's scene; `after`, if given, draws into the same DC once the scene is done.
    explicit Frame(HWND dialog, const std::function<void(HDC)> &after = {});
    Frame(int width, int height, std::vector<std::uint32_t> pixels);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t At(int x, int y) const
    {
        return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    }
    const std::vector<std::uint32_t> &pixels() const { return pixels_; }
    bool operator==(const Frame &other) const;
    bool operator!=(const Frame &other) const { return !(*this == other); }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// A top-down 32-bit DIB section selected into a memory DC, released in reverse order.
class DibCanvas {
public:
    DibCanvas(int width, int height);
    ~DibCanvas();
    DibCanvas(const DibCanvas &) = delete;
    DibCanvas &operator=(const DibCanvas &) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t *bits() const { return bits_; }
    // The pixels as they are now, the unused byte cleared.
    std::vector<std::uint32_t> Pixels() const;

private:
    int width_;
    int height_;
    std::uint32_t *bits_ = nullptr;
    HBITMAP dib_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

} // namespace scene
