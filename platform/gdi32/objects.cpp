// The handle table every GDI object lives in, stock objects, and the calls that take any object.
#include "objects.h"

#include "text.h"

#include <algorithm>

namespace gdi {

namespace {

// A handle is a slot index (never 0) in its low 16 bits and the slot's reuse count (never 0) above,
// so a handle that outlived its object is refused even when the slot holds a new one, and no handle
// is a small number that a window class would read as a system colour.
constexpr unsigned kIndexBits = 16;
constexpr UINT_PTR kIndexMask = (UINT_PTR{1} << kIndexBits) - 1;
constexpr size_t kMaxObjects = kIndexMask;

struct Slot {
    std::unique_ptr<Object> object;
    UINT_PTR generation = 1;
};

struct Table {
    std::vector<Slot> slots = std::vector<Slot>(1); // slot 0 is never handed out
    std::vector<size_t> free;
    DWORD counted = 0;
};

Table &Objects()
{
    static Table table;
    return table;
}

size_t IndexOf(HGDIOBJ handle)
{
    return static_cast<size_t>(reinterpret_cast<UINT_PTR>(handle) & kIndexMask);
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

std::unique_ptr<Object> MakeStockFont(LONG height, LONG weight, const WCHAR *face)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    for (int i = 0; face[i] != 0 && i < LF_FACESIZE - 1; ++i) {
        font.lfFaceName[i] = face[i];
    }
    return std::make_unique<Font>(font);
}

// Stock objects by GetStockObject index; the ones we do not offer stay null.
struct StockObjects {
    HGDIOBJ byIndex[DC_PEN + 1] = {};
    HBITMAP defaultBitmap = nullptr;

    StockObjects()
    {
        const auto brush = [](COLORREF color, UINT style = BS_SOLID) {
            return std::make_unique<Brush>(LOGBRUSH{style, color, 0});
        };
        const auto pen = [](COLORREF color, UINT style = PS_SOLID) {
            return std::make_unique<Pen>(LOGPEN{style, {0, 0}, color});
        };
        Add(WHITE_BRUSH, brush(kWhite));
        Add(LTGRAY_BRUSH, brush(RGB(192, 192, 192)));
        Add(GRAY_BRUSH, brush(RGB(128, 128, 128)));
        Add(DKGRAY_BRUSH, brush(RGB(64, 64, 64)));
        Add(BLACK_BRUSH, brush(kBlack));
        Add(NULL_BRUSH, brush(kBlack, BS_NULL));
        Add(WHITE_PEN, pen(kWhite));
        Add(BLACK_PEN, pen(kBlack));
        Add(NULL_PEN, pen(kBlack, PS_NULL));
        Add(SYSTEM_FONT, MakeStockFont(16, FW_BOLD, L"System"));
        Add(DEVICE_DEFAULT_FONT, MakeStockFont(16, FW_BOLD, L"System"));
        Add(ANSI_FIXED_FONT, MakeStockFont(12, FW_NORMAL, L"Courier"));
        Add(ANSI_VAR_FONT, MakeStockFont(12, FW_NORMAL, L"MS Sans Serif"));
        Add(DEFAULT_GUI_FONT, MakeStockFont(-11, FW_NORMAL, L"MS Shell Dlg"));
        // The DC brush and pen take their colour from the DC they are selected into.
        Add(DC_BRUSH, brush(kWhite));
        Add(DC_PEN, pen(kBlack));
        auto bitmap = std::make_unique<Bitmap>(1, 1, 1);
        bitmap->stock = true;
        defaultBitmap = static_cast<HBITMAP>(AddObject(std::move(bitmap)));
    }

    void Add(int index, std::unique_ptr<Object> object)
    {
        object->stock = true;
        byIndex[index] = AddObject(std::move(object));
    }
};

StockObjects &Stock()
{
    static StockObjects stock;
    return stock;
}

} // namespace

HGDIOBJ AddObject(std::unique_ptr<Object> object)
{
    Table &table = Objects();
    size_t index = 0;
    if (!table.free.empty()) {
        index = table.free.back();
        table.free.pop_back();
    } else if (table.slots.size() < kMaxObjects) {
        index = table.slots.size();
        table.slots.emplace_back();
    } else {
        return nullptr;
    }
    Slot &slot = table.slots[index];
    object->handle =
        reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(index) | (slot.generation << kIndexBits));
    table.counted += object->stock ? 0 : 1;
    slot.object = std::move(object);
    return slot.object->handle;
}

Object *Find(HGDIOBJ handle)
{
    Stock(); // the stock objects take the first slots
    Table &table = Objects();
    const size_t index = IndexOf(handle);
    if (index == 0 || index >= table.slots.size()) {
        return nullptr;
    }
    Object *object = table.slots[index].object.get();
    return object != nullptr && object->handle == handle ? object : nullptr;
}

DeviceContext *FindDc(HDC hdc)
{
    Object *object = Find(hdc);
    if (object == nullptr || (object->type != OBJ_DC && object->type != OBJ_MEMDC)) {
        return nullptr;
    }
    return static_cast<DeviceContext *>(object);
}

void Destroy(Object *object)
{
    Table &table = Objects();
    const size_t index = IndexOf(object->handle);
    table.counted -= object->stock ? 0 : 1;
    Slot &slot = table.slots[index];
    slot.generation = slot.generation % kIndexMask + 1;
    std::unique_ptr<Object> doomed = std::move(slot.object);
    table.free.push_back(index);
}

void Retain(HGDIOBJ handle)
{
    if (Object *object = Find(handle)) {
        ++object->selections;
    }
}

void Release(HGDIOBJ handle)
{
    Object *object = Find(handle);
    if (object == nullptr) {
        return;
    }
    --object->selections;
    if (object->selections == 0 && object->deletePending) {
        Destroy(object);
    }
}

HBITMAP DefaultBitmap()
{
    return Stock().defaultBitmap;
}

} // namespace gdi

namespace platform {

DWORD GdiObjectCount()
{
    gdi::Find(nullptr); // the stock objects exist before anything is counted
    return gdi::Objects().counted;
}

} // namespace platform

using namespace gdi;
namespace text = platform::text;

HGDIOBJ WINAPI GetStockObject(int i)
{
    if (i < 0 || i > DC_PEN) {
        return nullptr;
    }
    return Stock().byIndex[i];
}

BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    Object *object = Find(ho);
    if (object == nullptr) {
        return FALSE;
    }
    if (object->type == OBJ_DC || object->type == OBJ_MEMDC) {
        return DeleteDC(static_cast<HDC>(ho));
    }
    if (object->stock) {
        return TRUE;
    }
    if (object->selections > 0) {
        object->deletePending = true;
        return TRUE;
    }
    Destroy(object);
    return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ h)
{
    Object *object = Find(h);
    return object != nullptr ? object->type : 0;
}

int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv)
{
    Object *object = Find(h);
    return object != nullptr ? object->Describe(c, pv) : 0;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv)
{
    auto *font = Find<Font>(h, OBJ_FONT);
    if (font == nullptr) {
        return GetObjectW(h, c, pv);
    }
    LOGFONTA narrow;
    memcpy(&narrow, &font->logical, offsetof(LOGFONTA, lfFaceName));
    const std::string face = text::ToAnsi(text::View(font->logical.lfFaceName));
    memset(narrow.lfFaceName, 0, sizeof(narrow.lfFaceName));
    text::CopyToBuffer(face, narrow.lfFaceName, LF_FACESIZE);
    return CopyOut(narrow, c, pv);
}

BOOL WINAPI GdiFlush(void)
{
    return TRUE; // drawing is never batched
}
