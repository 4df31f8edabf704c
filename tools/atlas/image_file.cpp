#include "image_file.h"

#include <cstdint>
#include <vector>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace atlas {

bool WritePng(const scene::Frame &frame, const std::string &path)
{
    std::vector<unsigned char> rgb;
    rgb.reserve(frame.pixels().size() * 3);
    for (const std::uint32_t p : frame.pixels()) {
        rgb.push_back(static_cast<unsigned char>(p >> 16));
        rgb.push_back(static_cast<unsigned char>(p >> 8));
        rgb.push_back(static_cast<unsigned char>(p));
    }
    return stbi_write_png(path.c_str(), frame.width(), frame.height(), 3, rgb.data(), frame.width() * 3) != 0;
}

std::optional<scene::Frame> ReadPng(const std::string &path)
{
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char *rgb = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (rgb == nullptr) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint32_t>(rgb[i * 3]) << 16 |
                    static_cast<std::uint32_t>(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2];
    }
    stbi_image_free(rgb);
    return scene::Frame(width, height, std::move(pixels));
}

scene::Frame Downscale(const scene::Frame &frame, int factor)
{
    const int width = frame.width() / factor;
    const int height = frame.height() / factor;
    const auto area = static_cast<std::uint32_t>(factor * factor);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t sums[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const std::uint32_t p = frame.At(x * factor + dx, y * factor + dy);
                    sums[0] += (p >> 16) & 0xFFu;
                    sums[1] += (p >> 8) & 0xFFu;
                    sums[2] += p & 0xFFu;
                }
            }
            // Rounded to the nearest value.
            pixels.push_back(((sums[0] + area / 2) / area) << 16 | ((sums[1] + area / 2) / area) << 8 |
                             ((sums[2] + area / 2) / area));
        }
    }
    return {width, height, std::move(pixels)};
}

} // namespace atlas
