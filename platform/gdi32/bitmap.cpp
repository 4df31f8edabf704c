// Bitmaps: device-dependent ones kept as 32-bit pixels (those of 1 bit a pixel and of the screen's
// depth, which a memory DC draws on; any other depth keeps its bits as given), and 32-bit DIB
// sections whose bits the caller reads and writes directly.
#include "objects.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace gdi {

namespace {

constexpr int kDibBitsPerPixel = 32;
constexpr int kScreenBitsPerPixel = 32;
constexpr std::uint32_t kWhitePixel = 0x00FFFFFF;

// Rows of a device-dependent bitmap are padded to 16 bits, a DIB's to 32.
LONG RowBytes(int width, int bitsPerPixel, int alignmentBits)
{
    return (width * bitsPerPixel + alignmentBits - 1) / alignmentBits * (alignmentBits / 8);
}

} // namespace

Bitmap::Bitmap(int width, int height, int depth) : Object(OBJ_BITMAP), bitsPerPixel(depth)
{
    storage.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    surface = {width, height, width, storage.data()};
}

bool Bitmap::Drawable() const
{
    return bitsPerPixel == 1 || bitsPerPixel == kScreenBitsPerPixel;
}

int Bitmap::Describe(int size, void *buffer) const
{
    BITMAP info = {};
    info.bmWidth = surface.width;
    info.bmHeight = surface.height;
    info.bmPlanes = 1;
    info.bmBitsPixel = static_cast<WORD>(bitsPerPixel);
    if (!isDib) {
        info.bmWidthBytes = RowBytes(surface.width, bitsPerPixel, 16);
        return CopyOut(info, size, buffer);
    }
    info.bmWidthBytes = RowBytes(surface.width, bitsPerPixel, 32);
    info.bmBits = const_cast<std::uint32_t *>(storage.data());
    if (buffer == nullptr || size < static_cast<int>(sizeof(DIBSECTION))) {
        return CopyOut(info, size, buffer);
    }
    DIBSECTION section = {};
    section.dsBm = info;
    section.dsBmih = dibHeader;
    return CopyOut(section, size, buffer);
}

} // namespace gdi

using namespace gdi;

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void *lpBits)
{
    // The platform's depths; a negative size counts as its magnitude.
    constexpr UINT kDepths[] = {1, 2, 4, 8, 16, 24, 32};
    if (nPlanes != 1 || std::find(std::begin(kDepths), std::end(kDepths), nBitCount) == std::end(kDepths)) {
        return nullptr;
    }
    nWidth = std::abs(nWidth);
    nHeight = std::abs(nHeight);
    if (nWidth == 0 || nHeight == 0) {
        return DefaultBitmap();
    }
    auto bitmap = std::make_unique<Bitmap>(nWidth, nHeight, static_cast<int>(nBitCount));
    if (!bitmap->Drawable()) {
        // Kept as given: such a bitmap is never selected into a DC here, so never drawn on.
        if (lpBits != nullptr) {
            const auto *bytes = static_cast<const BYTE *>(lpBits);
            bitmap->otherDepthBits.assign(
                bytes, bytes + static_cast<size_t>(RowBytes(nWidth, static_cast<int>(nBitCount), 16)) *
                                   static_cast<size_t>(nHeight));
        }
    } else if (lpBits != nullptr && nBitCount == 32) {
        memcpy(bitmap->storage.data(), lpBits, bitmap->storage.size() * sizeof(std::uint32_t));
    } else if (lpBits != nullptr) {
        // One bit a pixel, most significant first, a set bit white; rows padded to 16 bits.
        const auto *bytes = static_cast<const BYTE *>(lpBits);
        const LONG rowBytes = RowBytes(nWidth, 1, 16);
        for (int y = 0; y < nHeight; ++y) {
            auto *row = bitmap->storage.data() + static_cast<size_t>(y) * static_cast<size_t>(nWidth);
            for (int x = 0; x < nWidth; ++x) {
                const bool set = (bytes[y * rowBytes + x / 8] & (0x80 >> (x % 8))) != 0;
                row[x] = set ? kWhitePixel : 0;
            }
        }
    }
    return static_cast<HBITMAP>(AddObject(std::move(bitmap)));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    DeviceContext *dc = FindDc(hdc);
    if (dc == nullptr || cx < 0 || cy < 0) {
        return nullptr;
    }
    // A memory DC makes bitmaps like the one it holds: monochrome while it has its default one.
    const int depth = dc->bitmap != nullptr ? dc->bitmap->bitsPerPixel : kScreenBitsPerPixel;
    return CreateBitmap(cx, cy, 1, static_cast<UINT>(depth), nullptr);
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO *pbmi, UINT usage, void **ppvBits, HANDLE hSection,
                                DWORD offset)
{
    UNREFERENCED_PARAMETER(hdc);
    UNREFERENCED_PARAMETER(offset);
    if (ppvBits != nullptr) {
        *ppvBits = nullptr;
    }
    if (pbmi == nullptr || usage != DIB_RGB_COLORS || hSection != nullptr) {
        return nullptr;
    }
    const BITMAPINFOHEADER &header = pbmi->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biPlanes != 1 || header.biBitCount != kDibBitsPerPixel || header.biCompression != BI_RGB) {
        return nullptr;
    }
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    auto bitmap = std::make_unique<Bitmap>(width, height, kDibBitsPerPixel);
    bitmap->isDib = true;
    bitmap->dibHeader = header;
    bitmap->dibHeader.biSize = sizeof(BITMAPINFOHEADER);
    bitmap->dibHeader.biSizeImage = static_cast<DWORD>(RowBytes(width, kDibBitsPerPixel, 32) * height);
    // Bottom-up bits: the first row in memory is the lowest on screen.
    if (header.biHeight > 0) {
        bitmap->surface.pixels =
            bitmap->storage.data() + static_cast<size_t>(width) * static_cast<size_t>(height - 1);
        bitmap->surface.stride = -width;
    }
    void *bits = bitmap->storage.data();
    HBITMAP handle = static_cast<HBITMAP>(AddObject(std::move(bitmap)));
    if (handle != nullptr && ppvBits != nullptr) {
        *ppvBits = bits;
    }
    return handle;
}
