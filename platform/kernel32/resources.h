// The compiled resource script (.res) as KERNEL32 reads it: the tests reach the parser directly.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// A resource type or name: an ordinal, or an upper-case string when `ordinal` is 0.
struct ResourceId {
    WORD ordinal = 0;
    std::u16string name;

    bool operator==(const ResourceId &other) const { return ordinal == other.ordinal && name == other.name; }
    bool operator<(const ResourceId &other) const;
};

struct Resource {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    const BYTE *data = nullptr;
    DWORD size = 0;
};

// Reads every entry of a .res image; the entries point into `bytes`. Anything malformed or cut
// short gives false and no entries at all.
bool ParseResourceFile(const BYTE *bytes, size_t size, std::vector<Resource> &entries);

// The bytes of the section `section` in an ELF file image, or false when there is none.
bool FindElfSection(const std::vector<BYTE> &file, const char *section, size_t &offset, size_t &size);

} // namespace platform
