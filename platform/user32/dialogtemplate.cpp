// Dialog templates, classic and extended, read into plain structs with every read bounds-checked.
#include "dialog.h"

namespace platform::user32 {

namespace {

constexpr WORD kOrdinalMarker = 0xFFFF;
constexpr WORD kExtendedVersion = 1;
constexpr WORD kExtendedSignature = 0xFFFF;

class Reader {
public:
    Reader(const BYTE *bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool Word(WORD &value) { return Read(&value, sizeof(value)); }
    bool Dword(DWORD &value) { return Read(&value, sizeof(value)); }
    bool Byte(BYTE &value) { return Read(&value, sizeof(value)); }
    bool Short(LONG &value)
    {
        WORD word = 0;
        if (!Word(word)) {
            return false;
        }
        value = static_cast<SHORT>(word);
        return true;
    }
    bool String(std::u16string &text)
    {
        for (WORD unit = 0;;) {
            if (!Word(unit)) {
                return false;
            }
            if (unit == 0) {
                return true;
            }
            text += static_cast<char16_t>(unit);
        }
    }
    // 0x0000 for none, 0xFFFF and an ordinal, or a string.
    bool NameOrOrdinal(TemplateId &id)
    {
        WORD first = 0;
        if (!Word(first)) {
            return false;
        }
        if (first == kOrdinalMarker) {
            return Word(id.ordinal);
        }
        offset_ -= sizeof(WORD);
        return String(id.text);
    }
    bool Bytes(std::vector<BYTE> &data, size_t count)
    {
        if (count > size_ - offset_) {
            return false;
        }
        data.assign(bytes_ + offset_, bytes_ + offset_ + count);
        offset_ += count;
        return true;
    }
    bool AlignToDword()
    {
        const size_t aligned = (offset_ + 3) & ~static_cast<size_t>(3);
        if (aligned > size_) {
            return false;
        }
        offset_ = aligned;
        return true;
    }
    size_t remaining() const { return size_ - offset_; }

private:
    bool Read(void *value, size_t count)
    {
        if (count > size_ - offset_) {
            return false;
        }
        memcpy(value, bytes_ + offset_, count);
        offset_ += count;
        return true;
    }

    const BYTE *bytes_;
    size_t size_;
    size_t offset_ = 0;
};

bool ReadBounds(Reader &in, RECT &bounds)
{
    LONG x = 0;
    LONG y = 0;
    LONG cx = 0;
    LONG cy = 0;
    if (!in.Short(x) || !in.Short(y) || !in.Short(cx) || !in.Short(cy)) {
        return false;
    }
    bounds = {x, y, x + cx, y + cy};
    return true;
}

bool ReadItem(Reader &in, bool extended, DialogItem &item)
{
    if (!in.AlignToDword()) {
        return false;
    }
    if (extended) {
        if (!in.Dword(item.helpId) || !in.Dword(item.exStyle) || !in.Dword(item.style) ||
            !ReadBounds(in, item.bounds) || !in.Dword(item.id)) {
            return false;
        }
    } else {
        WORD id = 0;
        if (!in.Dword(item.style) || !in.Dword(item.exStyle) || !ReadBounds(in, item.bounds) ||
            !in.Word(id)) {
            return false;
        }
        item.id = id;
    }
    WORD dataSize = 0;
    if (!in.NameOrOrdinal(item.windowClass) || !in.NameOrOrdinal(item.text) || !in.Word(dataSize) ||
        !in.Bytes(item.creationData, dataSize)) {
        return false;
    }
    if (dataSize != 0) {
        // The control is given the data as the template holds it, behind its size.
        const auto *size = reinterpret_cast<const BYTE *>(&dataSize);
        item.creationData.insert(item.creationData.begin(), size, size + sizeof(dataSize));
    }
    return true;
}

} // namespace

bool ParseDialogTemplate(const BYTE *bytes, size_t size, DialogTemplate &parsed)
{
    if (bytes == nullptr) {
        return false;
    }
    DialogTemplate result;
    Reader in(bytes, size);
    WORD version = 0;
    WORD signature = 0;
    if (!in.Word(version) || !in.Word(signature)) {
        return false;
    }
    result.extended = version == kExtendedVersion && signature == kExtendedSignature;
    WORD count = 0;
    if (result.extended) {
        if (!in.Dword(result.helpId) || !in.Dword(result.exStyle) || !in.Dword(result.style)) {
            return false;
        }
    } else {
        Reader restart(bytes, size);
        in = restart;
        if (!in.Dword(result.style) || !in.Dword(result.exStyle)) {
            return false;
        }
    }
    if (!in.Word(count) || !ReadBounds(in, result.bounds) || !in.NameOrOrdinal(result.menu) ||
        !in.NameOrOrdinal(result.windowClass) || !in.String(result.caption)) {
        return false;
    }
    result.hasFont = (result.style & DS_SETFONT) != 0;
    if (result.hasFont) {
        if (!in.Word(result.pointSize)) {
            return false;
        }
        if (result.extended) {
            BYTE italic = 0;
            if (!in.Word(result.weight) || !in.Byte(italic) || !in.Byte(result.charset)) {
                return false;
            }
            result.italic = italic != 0;
        }
        if (!in.String(result.typeface)) {
            return false;
        }
    }
    // Each item takes at least 24 bytes: a count beyond what is left is rejected before reading.
    constexpr size_t kSmallestItem = 24;
    if (count > in.remaining() / kSmallestItem + 1) {
        return false;
    }
    for (WORD index = 0; index < count; ++index) {
        DialogItem item;
        if (!ReadItem(in, result.extended, item)) {
            return false;
        }
        result.items.push_back(std::move(item));
    }
    parsed = std::move(result);
    return true;
}

std::u16string PredefinedClassName(WORD ordinal)
{
    switch (ordinal) {
    case 0x0080: return u"Button";
    case 0x0081: return u"Edit";
    case 0x0082: return u"Static";
    case 0x0083: return u"ListBox";
    case 0x0084: return u"ScrollBar";
    case 0x0085: return u"ComboBox";
    default: return {};
    }
}

} // namespace platform::user32
