// Dialog templates written byte by byte, as the resource compiler lays them out.
#pragma once

#include <windows.h>

#include <vector>

namespace test {

// Writes a template the way the resource compiler lays it out.
class TemplateWriter {
public:
    TemplateWriter &Word(WORD value) { return Append(&value, sizeof(value)); }
    TemplateWriter &Dword(DWORD value) { return Append(&value, sizeof(value)); }
    TemplateWriter &Byte(BYTE value) { return Append(&value, sizeof(value)); }
    TemplateWriter &String(const char16_t *text)
    {
        for (; *text != 0; ++text) {
            Word(static_cast<WORD>(*text));
        }
        return Word(0);
    }
    TemplateWriter &Ordinal(WORD value) { return Word(0xFFFF).Word(value); }
    TemplateWriter &Align()
    {
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
        return *this;
    }
    TemplateWriter &Box(short x, short y, short cx, short cy)
    {
        return Word(static_cast<WORD>(x))
            .Word(static_cast<WORD>(y))
            .Word(static_cast<WORD>(cx))
            .Word(static_cast<WORD>(cy));
    }
    const std::vector<BYTE> &bytes() const { return bytes_; }
    const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(bytes_.data()); }

private:
    TemplateWriter &Append(const void *value, size_t size)
    {
        const auto *first = static_cast<const BYTE *>(value);
        bytes_.insert(bytes_.end(), first, first + size);
        return *this;
    }
    std::vector<BYTE> bytes_;
};

} // namespace test
