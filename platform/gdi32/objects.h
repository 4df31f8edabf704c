// GDI32's objects: one handle table holds pens, brushes, fonts, bitmaps and device contexts.
#pragma once

#include "platform.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace gdi {

struct Object {
    explicit Object(DWORD objectType) : type(objectType) {}
    virtual ~Object() = default;
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    // GetObjectW: copies the logical description, or gives its size when `buffer` is null.
    virtual int Describe(int size, void *buffer) const = 0;

    const DWORD type;
    HGDIOBJ handle = nullptr;
    bool stock = false;
    int selections = 0;         // device-context states that hold it
    bool deletePending = false; // DeleteObject came while it was selected
};

struct Brush : Object {
    explicit Brush(const LOGBRUSH &brush) : Object(OBJ_BRUSH), logical(brush) {}
    int Describe(int size, void *buffer) const override;
    LOGBRUSH logical;
};

struct Pen : Object {
    explicit Pen(const LOGPEN &pen) : Object(OBJ_PEN), logical(pen) {}
    int Describe(int size, void *buffer) const override;
    LOGPEN logical;
};

struct Typeface;

// A font's face and the sizes derived from its height, worked out on first use.
struct RealizedFont {
    int Advance(UINT character); // whole pixels

    Typeface *face = nullptr; // null when no face at all could be found
    std::u16string faceName;  // as GetTextFace reports it
    int ppem = 0;
    int widthPpem = 0; // across, from lfWidth; 0 for square
    TEXTMETRICW metrics = {};
    std::unordered_map<UINT, int> advances;
};

struct Font : Object {
    explicit Font(const LOGFONTW &font) : Object(OBJ_FONT), logical(font) {}
    int Describe(int size, void *buffer) const override;
    RealizedFont &Realized();
    LOGFONTW logical;

private:
    std::unique_ptr<RealizedFont> realized_;
};

struct DeviceContext;

struct Bitmap : Object {
    Bitmap(int width, int height, int depth);
    int Describe(int size, void *buffer) const override;
    // Whether a memory DC can draw on it: one bit a pixel, or the screen's depth, as on the platform.
    bool Drawable() const;

    platform::Surface surface;
    int bitsPerPixel;
    std::vector<std::uint32_t> storage;
    std::vector<BYTE> otherDepthBits; // the bits of a bitmap that is not Drawable(), rows 16-bit padded
    bool isDib = false;
    BITMAPINFOHEADER dibHeader = {};
    DeviceContext *selectedInto = nullptr;
};

// What SaveDC keeps and RestoreDC brings back.
struct DcState {
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_TOP | TA_LEFT | TA_NOUPDATECP;
    int graphicsMode = GM_COMPATIBLE;
    int characterExtra = 0; // added to every character's advance (SetTextCharacterExtra)
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    POINT position = {0, 0};
    POINT viewportOrigin = {0, 0};
    RECT clip = {0, 0, 0, 0}; // surface pixels, within the DC's visible area
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
};

struct DeviceContext : Object {
    DeviceContext(DWORD objectType, platform::Surface *target, POINT targetOrigin, RECT visibleArea);
    ~DeviceContext() override;
    int Describe(int size, void *buffer) const override;

    // Logical to surface pixels.
    POINT ToSurface(int x, int y) const;
    void SetTarget(platform::Surface *target, RECT visibleArea);
    RECT Clip() const; // where drawing may land now, surface pixels

    platform::Surface *surface;
    POINT origin;
    RECT visible = {0, 0, 0, 0}; // surface pixels anything may touch
    DcState state;
    std::vector<DcState> saved;
    Bitmap *bitmap = nullptr; // memory DCs only
};

// ---- The handle table ----
HGDIOBJ AddObject(std::unique_ptr<Object> object);
Object *Find(HGDIOBJ handle);
template <typename T> T *Find(HGDIOBJ handle, DWORD type)
{
    Object *object = Find(handle);
    return object != nullptr && object->type == type ? static_cast<T *>(object) : nullptr;
}
DeviceContext *FindDc(HDC hdc);
void Retain(HGDIOBJ handle);
void Release(HGDIOBJ handle); // frees the object once deleted and no longer selected
void Destroy(Object *object);

HBITMAP DefaultBitmap();

// Copies `value` into the caller's buffer as GetObject does.
template <typename T> int CopyOut(const T &value, int size, void *buffer)
{
    if (buffer == nullptr) {
        return static_cast<int>(sizeof(T));
    }
    const int copied = size < static_cast<int>(sizeof(T)) ? size : static_cast<int>(sizeof(T));
    if (copied <= 0) {
        return 0;
    }
    memcpy(buffer, &value, static_cast<size_t>(copied));
    return copied;
}

} // namespace gdi
