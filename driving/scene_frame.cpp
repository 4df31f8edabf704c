#include "scene_frame.h"

#include "SlantGlyphDemo.h"

#include <utility>

namespace scene {

DibCanvas::DibCanvas(int width, int height) : width_(width), height_(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    void *bits = nullptr;
    dib_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t *>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, dib_);
}

DibCanvas::~DibCanvas()
{
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(dib_);
}

std::vector<std::uint32_t> DibCanvas::Pixels() const
{
    GdiFlush();
    std::vector<std::uint32_t> pixels;
    if (bits_ != nullptr) {
        pixels.assign(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_));
        for (std::uint32_t &p : pixels) {
            p &= 0x00FFFFFFu; // the unused byte is not part of the colour
        }
    }
    return pixels;
}

Frame::Frame(HWND dialog, const std::function<void(HDC)> &after)
{
    RECT client;
    GetClientRect(dialog, &client);
    width_ = client.right;
    height_ = client.bottom;

    const DibCanvas canvas(width_, height_);
    OnDraw(dialog, canvas.dc());
    if (after) {
        after(canvas.dc());
    }
    pixels_ = canvas.Pixels();
}

Frame::Frame(int width, int height, std::vector<std::uint32_t> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels))
{
}

bool Frame::operator==(const Frame &other) const
{
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
}

} // namespace scene
