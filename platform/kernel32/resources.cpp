// Resources: the .res image parser, lookups with the platform's language fallback, enumeration.
#include "resources.h"

#include "module.h"
#include "text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <elf.h>

namespace platform {

namespace {

constexpr WORD kOrdinalMarker = 0xFFFF;
constexpr size_t kEntryPrefix = 8;    // DataSize, HeaderSize
constexpr size_t kEntryTrailer = 16;  // DataVersion, MemoryFlags, LanguageId, Version, Characteristics
constexpr size_t kLanguageOffset = 6; // of LanguageId within the trailer

size_t AlignToDword(size_t offset)
{
    return (offset + 3) & ~static_cast<size_t>(3);
}

template <typename T> bool Read(const BYTE *bytes, size_t size, size_t offset, T &value)
{
    if (offset > size || size - offset < sizeof(T)) {
        return false;
    }
    std::memcpy(&value, bytes + offset, sizeof(T));
    return true;
}

// A name or an ordinal within [offset, end); moves `offset` past it.
bool ReadId(const BYTE *bytes, size_t end, size_t &offset, ResourceId &id)
{
    WORD first = 0;
    if (!Read(bytes, end, offset, first)) {
        return false;
    }
    if (first == kOrdinalMarker) {
        offset += 2;
        return Read(bytes, end, offset, id.ordinal) && (offset += 2, true);
    }
    for (WORD unit = first;; offset += 2) {
        if (!Read(bytes, end, offset, unit)) {
            return false;
        }
        if (unit == 0) {
            offset += 2;
            return true;
        }
        id.name += static_cast<char16_t>(unit);
    }
}

bool AllZero(const BYTE *bytes, size_t size)
{
    return std::all_of(bytes, bytes + size, [](BYTE b) { return b == 0; });
}

} // namespace

bool ResourceId::operator<(const ResourceId &other) const
{
    // Named entries come before numbered ones, each group in order, as Windows enumerates them.
    if ((ordinal == 0) != (other.ordinal == 0)) {
        return ordinal == 0;
    }
    return ordinal != 0 ? ordinal < other.ordinal : name < other.name;
}

bool ParseResourceFile(const BYTE *bytes, size_t size, std::vector<Resource> &entries)
{
    entries.clear();
    std::vector<Resource> parsed;
    for (size_t offset = 0; offset < size;) {
        DWORD dataSize = 0;
        DWORD headerSize = 0;
        if (!Read(bytes, size, offset, dataSize) || !Read(bytes, size, offset + 4, headerSize)) {
            if (offset == 0 || !AllZero(bytes + offset, size - offset)) {
                return false;
            }
            break; // padding after the last entry
        }
        if (offset > 0 && headerSize == 0 && dataSize == 0 && AllZero(bytes + offset, size - offset)) {
            break;
        }
        const size_t headerEnd = offset + headerSize;
        if (headerSize < kEntryPrefix + 4 + kEntryTrailer || headerSize > size - offset ||
            dataSize > size - headerEnd) {
            return false;
        }
        Resource entry;
        size_t at = offset + kEntryPrefix;
        if (!ReadId(bytes, headerEnd, at, entry.type) || !ReadId(bytes, headerEnd, at, entry.name)) {
            return false;
        }
        at = AlignToDword(at);
        if (at + kEntryTrailer != headerEnd ||
            !Read(bytes, headerEnd, at + kLanguageOffset, entry.language)) {
            return false;
        }
        entry.data = bytes + headerEnd;
        entry.size = dataSize;
        // The file starts with an empty entry that only marks the format.
        const bool marker = entry.type.ordinal == 0 && entry.type.name.empty() && dataSize == 0;
        if (!marker) {
            parsed.push_back(std::move(entry));
        }
        offset = AlignToDword(headerEnd + dataSize);
    }
    entries = std::move(parsed);
    return true;
}

// A 64-bit file offset where size_t may be narrower: one that does not fit lies beyond any file.
size_t FileOffset(std::uint64_t offset)
{
    return offset <= SIZE_MAX ? static_cast<size_t>(offset) : SIZE_MAX;
}

bool FindElfSection(const std::vector<BYTE> &file, const char *section, size_t &offset, size_t &size)
{
    Elf64_Ehdr header;
    if (!Read(file.data(), file.size(), 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr)) {
        return false;
    }
    Elf64_Shdr names;
    if (!Read(file.data(), file.size(), FileOffset(header.e_shoff + header.e_shstrndx * sizeof(Elf64_Shdr)),
              names)) {
        return false;
    }
    const size_t wanted = std::strlen(section) + 1;
    for (size_t index = 0; index < header.e_shnum; ++index) {
        Elf64_Shdr candidate;
        if (!Read(file.data(), file.size(), FileOffset(header.e_shoff + index * sizeof(Elf64_Shdr)),
                  candidate)) {
            return false;
        }
        const size_t nameAt = FileOffset(names.sh_offset + candidate.sh_name);
        if (nameAt > file.size() || file.size() - nameAt < wanted ||
            std::memcmp(file.data() + nameAt, section, wanted) != 0) {
            continue;
        }
        if (candidate.sh_type == SHT_NOBITS || candidate.sh_offset > file.size() ||
            candidate.sh_size > file.size() - candidate.sh_offset) {
            return false;
        }
        offset = static_cast<size_t>(candidate.sh_offset); // within the file, checked above
        size = static_cast<size_t>(candidate.sh_size);
        return true;
    }
    return false;
}

} // namespace platform

namespace {

using platform::Resource;
using platform::ResourceId;

// A type or name argument: an ordinal, "#123", or a string compared without case.
ResourceId ToId(LPCWSTR text)
{
    ResourceId id;
    if (IS_INTRESOURCE(text)) {
        id.ordinal = LOWORD(reinterpret_cast<ULONG_PTR>(text));
        return id;
    }
    if (text[0] == L'#') {
        unsigned value = 0;
        for (LPCWSTR digit = text + 1; *digit >= L'0' && *digit <= L'9'; ++digit) {
            value = value * 10 + static_cast<unsigned>(*digit - L'0');
        }
        id.ordinal = static_cast<WORD>(value);
        return id;
    }
    for (; *text != 0; ++text) {
        const WCHAR c = *text;
        id.name += static_cast<char16_t>(c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c);
    }
    return id;
}

ResourceId ToId(LPCSTR name)
{
    if (IS_INTRESOURCE(name)) {
        return ToId(reinterpret_cast<LPCWSTR>(name));
    }
    const std::u16string wide = platform::text::FromAnsi(name);
    return ToId(reinterpret_cast<LPCWSTR>(wide.c_str()));
}

bool Matches(const ResourceId &wanted, const ResourceId &actual)
{
    return wanted.ordinal != 0
               ? wanted.ordinal == actual.ordinal
               : actual.ordinal == 0 && lstrcmpiW(reinterpret_cast<LPCWSTR>(wanted.name.c_str()),
                                                  reinterpret_cast<LPCWSTR>(actual.name.c_str())) == 0;
}

const std::vector<Resource> *ResourcesOf(HMODULE module)
{
    platform::Module *found = platform::FindModule(module);
    if (found == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (found->resources.empty()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return &found->resources;
}

HRSRC Find(HMODULE module, const ResourceId &type, const ResourceId &name, WORD language)
{
    const std::vector<Resource> *resources = ResourcesOf(module);
    if (resources == nullptr) {
        return nullptr;
    }
    std::vector<const Resource *> candidates;
    bool typeSeen = false;
    for (const Resource &entry : *resources) {
        if (Matches(type, entry.type)) {
            typeSeen = true;
            if (Matches(name, entry.name)) {
                candidates.push_back(&entry);
            }
        }
    }
    if (candidates.empty()) {
        SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    // The exact language, then its primary language alone, then neutral, then whatever exists.
    const WORD preferences[] = {language,
                                static_cast<WORD>(MAKELANGID(PRIMARYLANGID(language), SUBLANG_NEUTRAL)),
                                static_cast<WORD>(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL))};
    for (WORD preferred : preferences) {
        for (const Resource *entry : candidates) {
            if (entry->language == preferred) {
                return reinterpret_cast<HRSRC>(const_cast<Resource *>(entry));
            }
        }
    }
    return reinterpret_cast<HRSRC>(const_cast<Resource *>(candidates.front()));
}

const Resource *ResourceOf(HMODULE module, HRSRC info)
{
    platform::Module *found = platform::FindModule(module);
    if (found == nullptr || info == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    for (const Resource &entry : found->resources) {
        if (reinterpret_cast<HRSRC>(const_cast<Resource *>(&entry)) == info) {
            return &entry;
        }
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

// The sorted distinct values `select` picks from the entries `filter` accepts.
template <typename Value, typename Filter, typename Select>
std::vector<Value> Distinct(const std::vector<Resource> &resources, Filter filter, Select select)
{
    std::vector<Value> values;
    for (const Resource &entry : resources) {
        if (filter(entry)) {
            values.push_back(select(entry));
        }
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

// Hands an id to an enumeration callback as the platform does: an ordinal as MAKEINTRESOURCE,
// a name as a string that lives for the call.
template <typename Char> struct IdArgument {
    std::basic_string<Char> text;
    Char *pointer;

    explicit IdArgument(const ResourceId &id)
    {
        if (id.ordinal != 0) {
            pointer = reinterpret_cast<Char *>(static_cast<ULONG_PTR>(id.ordinal));
            return;
        }
        if constexpr (sizeof(Char) == 1) {
            text = platform::text::ToAnsi(id.name);
        } else {
            text.assign(id.name.begin(), id.name.end());
        }
        pointer = text.data();
    }
};

BOOL Stopped()
{
    SetLastError(ERROR_RESOURCE_ENUM_USER_STOP);
    return FALSE;
}

template <typename Char, typename Callback> BOOL EnumTypes(HMODULE module, Callback callback, LONG_PTR lParam)
{
    const std::vector<Resource> *resources = ResourcesOf(module);
    if (resources == nullptr || callback == nullptr) {
        return FALSE;
    }
    const auto types = Distinct<ResourceId>(
        *resources, [](const Resource &) { return true; }, [](const Resource &entry) { return entry.type; });
    for (const ResourceId &type : types) {
        IdArgument<Char> argument(type);
        if (!callback(module, argument.pointer, lParam)) {
            return Stopped();
        }
    }
    return TRUE;
}

template <typename Char, typename Callback>
BOOL EnumNames(HMODULE module, const ResourceId &type, const Char *typeArgument, Callback callback,
               LONG_PTR lParam)
{
    const std::vector<Resource> *resources = ResourcesOf(module);
    if (resources == nullptr || callback == nullptr) {
        return FALSE;
    }
    const auto names = Distinct<ResourceId>(
        *resources, [&](const Resource &entry) { return Matches(type, entry.type); },
        [](const Resource &entry) { return entry.name; });
    if (names.empty()) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    for (const ResourceId &name : names) {
        IdArgument<Char> argument(name);
        if (!callback(module, typeArgument, argument.pointer, lParam)) {
            return Stopped();
        }
    }
    return TRUE;
}

template <typename Char, typename Callback>
BOOL EnumLanguages(HMODULE module, const ResourceId &type, const ResourceId &name, const Char *typeArgument,
                   const Char *nameArgument, Callback callback, LONG_PTR lParam)
{
    const std::vector<Resource> *resources = ResourcesOf(module);
    if (resources == nullptr || callback == nullptr) {
        return FALSE;
    }
    const auto languages = Distinct<WORD>(
        *resources,
        [&](const Resource &entry) { return Matches(type, entry.type) && Matches(name, entry.name); },
        [](const Resource &entry) { return entry.language; });
    if (languages.empty()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return FALSE;
    }
    for (WORD language : languages) {
        if (!callback(module, typeArgument, nameArgument, language, lParam)) {
            return Stopped();
        }
    }
    return TRUE;
}

} // namespace

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
{
    return Find(hModule, ToId(lpType), ToId(lpName),
                static_cast<WORD>(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)));
}

HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType)
{
    return Find(hModule, ToId(lpType), ToId(lpName),
                static_cast<WORD>(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)));
}

HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage)
{
    return Find(hModule, ToId(lpType), ToId(lpName), wLanguage);
}

HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage)
{
    return Find(hModule, ToId(lpType), ToId(lpName), wLanguage);
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo)
{
    const Resource *entry = ResourceOf(hModule, hResInfo);
    return entry == nullptr ? nullptr : const_cast<BYTE *>(entry->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData)
{
    return hResData;
}

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo)
{
    const Resource *entry = ResourceOf(hModule, hResInfo);
    return entry == nullptr ? 0 : entry->size;
}

BOOL WINAPI FreeResource(HGLOBAL /*hResData*/)
{
    return FALSE; // resources live as long as their module, as on every 32-bit Windows
}

BOOL WINAPI EnumResourceTypesA(HMODULE hModule, ENUMRESTYPEPROCA lpEnumFunc, LONG_PTR lParam)
{
    return EnumTypes<CHAR>(hModule, lpEnumFunc, lParam);
}

BOOL WINAPI EnumResourceTypesW(HMODULE hModule, ENUMRESTYPEPROCW lpEnumFunc, LONG_PTR lParam)
{
    return EnumTypes<WCHAR>(hModule, lpEnumFunc, lParam);
}

BOOL WINAPI EnumResourceNamesA(HMODULE hModule, LPCSTR lpType, ENUMRESNAMEPROCA lpEnumFunc, LONG_PTR lParam)
{
    return EnumNames<CHAR>(hModule, ToId(lpType), lpType, lpEnumFunc, lParam);
}

BOOL WINAPI EnumResourceNamesW(HMODULE hModule, LPCWSTR lpType, ENUMRESNAMEPROCW lpEnumFunc, LONG_PTR lParam)
{
    return EnumNames<WCHAR>(hModule, ToId(lpType), lpType, lpEnumFunc, lParam);
}

BOOL WINAPI EnumResourceLanguagesA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, ENUMRESLANGPROCA lpEnumFunc,
                                   LONG_PTR lParam)
{
    return EnumLanguages<CHAR>(hModule, ToId(lpType), ToId(lpName), lpType, lpName, lpEnumFunc, lParam);
}

BOOL WINAPI EnumResourceLanguagesW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName,
                                   ENUMRESLANGPROCW lpEnumFunc, LONG_PTR lParam)
{
    return EnumLanguages<WCHAR>(hModule, ToId(lpType), ToId(lpName), lpType, lpName, lpEnumFunc, lParam);
}
