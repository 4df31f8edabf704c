// The headless host's frames as PNG files, for the tools and tests that keep pictures; apart from
// the host itself, so that a build without libpng (the browser's) still has the host.
#include "headless.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace platform {

bool SaveWindowPng(HWND window, const char *path)
{
    const Surface *frame = WindowSurface(window);
    if (frame == nullptr || path == nullptr) {
        return false;
    }
    const Surface &surface = *frame;
    FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width),
                     static_cast<png_uint_32>(surface.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(static_cast<size_t>(surface.width) * 3);
        for (int y = 0; y < surface.height; ++y) {
            const std::uint32_t *source =
                surface.pixels + static_cast<size_t>(y) * static_cast<size_t>(surface.stride);
            for (int x = 0; x < surface.width; ++x) {
                row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(source[x] >> 16);
                row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(source[x] >> 8);
                row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(source[x]);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    std::fclose(file);
    return written;
}

} // namespace platform
