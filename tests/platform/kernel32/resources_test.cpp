// The .res parser, and resource lookups on the test's own embedded resources.
#include "resources.h"

#include "SlantGlyphDemo.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using platform::ParseResourceFile;
using platform::Resource;

// Writes .res entries as windres does.
class ResWriter {
public:
    ResWriter() { Entry(0, 0, 0, {}); } // the empty entry every .res file starts with

    // The type is the ordinal `type`, or the name `typeName` when there is one.
    ResWriter &Entry(WORD type, WORD name, WORD language, const std::vector<BYTE> &data,
                     const char16_t *typeName = nullptr)
    {
        const size_t start = bytes_.size();
        Dword(static_cast<DWORD>(data.size())).Dword(0);
        for (const char16_t *c = typeName; c != nullptr && *c != 0; ++c) {
            Word(static_cast<WORD>(*c));
        }
        (typeName != nullptr ? Word(0) : Word(0xFFFF).Word(type)).Word(0xFFFF).Word(name).Pad();
        Dword(0).Word(0x30).Word(language).Dword(0).Dword(0);
        const auto header = static_cast<DWORD>(bytes_.size() - start);
        memcpy(&bytes_[start + 4], &header, sizeof(header));
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return Pad();
    }
    std::vector<BYTE> &bytes() { return bytes_; }

private:
    ResWriter &Word(WORD value) { return Append(&value, sizeof(value)); }
    ResWriter &Dword(DWORD value) { return Append(&value, sizeof(value)); }
    ResWriter &Pad()
    {
        bytes_.resize((bytes_.size() + 3) / 4 * 4);
        return *this;
    }
    ResWriter &Append(const void *value, size_t size)
    {
        const auto *first = static_cast<const BYTE *>(value);
        bytes_.insert(bytes_.end(), first, first + size);
        return *this;
    }
    std::vector<BYTE> bytes_;
};

TEST(ResourceParser, ReadsOrdinalAndNamedEntriesSkippingTheMarker)
{
    ResWriter res;
    res.Entry(5, 1, 0x409, {1, 2, 3}).Entry(0, 1, 0, {9}, u"PNG");
    std::vector<Resource> entries;
    ASSERT_TRUE(ParseResourceFile(res.bytes().data(), res.bytes().size(), entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(std::make_tuple(entries[0].type.ordinal, entries[0].name.ordinal, entries[0].language),
              std::make_tuple(WORD{5}, WORD{1}, WORD{0x409}));
    ASSERT_EQ(entries[0].size, 3u);
    EXPECT_EQ(entries[0].data[2], 3);
    EXPECT_EQ(std::make_tuple(entries[1].type.name, entries[1].size, entries[1].data[0]),
              std::make_tuple(std::u16string(u"PNG"), DWORD{1}, BYTE{9}));
}

TEST(ResourceParser, RefusesDamagedFilesWhole)
{
    ResWriter res;
    res.Entry(5, 1, 0x409, {1, 2, 3, 4, 5, 6, 7, 8});
    const std::vector<BYTE> whole = res.bytes();
    std::vector<Resource> entries;
    constexpr size_t kMarkerOnly = 32;
    for (size_t size = 1; size < whole.size(); ++size) {
        const std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const bool parsed = ParseResourceFile(cut.data(), cut.size(), entries);
        EXPECT_EQ(parsed, size == kMarkerOnly) << "cut at " << size;
        EXPECT_TRUE(entries.empty()) << "cut at " << size;
    }
    // A data size beyond the file, and a header size too small for its own fields.
    std::vector<BYTE> oversized = whole;
    oversized[32] = 0xFF;
    oversized[33] = 0xFF;
    EXPECT_FALSE(ParseResourceFile(oversized.data(), oversized.size(), entries));
    EXPECT_TRUE(entries.empty());
    std::vector<BYTE> shortHeader = whole;
    shortHeader[36] = 8;
    EXPECT_FALSE(ParseResourceFile(shortHeader.data(), shortHeader.size(), entries));
}

TEST(ResourceLookup, FindsTheProgramsDialogWithTheLanguageFallback)
{
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HRSRC exact = FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), english);
    ASSERT_NE(exact, nullptr);
    EXPECT_GT(SizeofResource(nullptr, exact), 0u);
    EXPECT_NE(LockResource(LoadResource(nullptr, exact)), nullptr);
    // Another English, another language, and no language at all all fall back to the one there is.
    for (WORD language : {static_cast<WORD>(MAKELANGID(LANG_ENGLISH, 0x02)), static_cast<WORD>(0x0407),
                          static_cast<WORD>(0)}) {
        EXPECT_EQ(FindResourceExA(nullptr, RT_DIALOG, MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), language), exact)
            << language;
    }
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), RT_DIALOG), exact);
    EXPECT_EQ(FindResourceA(nullptr, ("#" + std::to_string(IDD_SLANTGLYPHDEMO)).c_str(),
                            reinterpret_cast<LPCSTR>(RT_DIALOG)),
              exact)
        << "\"#n\" is ordinal n";
    // The manifest is neutral: an English request finds it through the neutral step.
    EXPECT_NE(FindResourceExA(nullptr, RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, english), nullptr);
}

TEST(ResourceLookup, MissingTypesNamesAndModulesSayWhich)
{
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO + 1), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    auto *const bogus = reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x1230));
    EXPECT_EQ(FindResourceA(bogus, MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO), RT_DIALOG), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, reinterpret_cast<HRSRC>(static_cast<UINT_PTR>(0x1230))), 0u);
    EXPECT_EQ(LoadLibraryExA("/nonexistent/program.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_FALSE(FreeLibrary(bogus));
}

TEST(ResourceLookup, EnumeratesTypesInOrderAndStopsWhenAsked)
{
    std::vector<ULONG_PTR> types;
    const ENUMRESTYPEPROCA collect = [](HMODULE, LPSTR type, LONG_PTR list) -> BOOL {
        reinterpret_cast<std::vector<ULONG_PTR> *>(list)->push_back(reinterpret_cast<ULONG_PTR>(type));
        return TRUE;
    };
    EXPECT_TRUE(EnumResourceTypesA(nullptr, collect, reinterpret_cast<LONG_PTR>(&types)));
    EXPECT_EQ(types, (std::vector<ULONG_PTR>{5, 24}));
    int calls = 0;
    const ENUMRESTYPEPROCA stopAtFirst = [](HMODULE, LPSTR, LONG_PTR count) -> BOOL {
        ++*reinterpret_cast<int *>(count);
        return FALSE;
    };
    EXPECT_FALSE(EnumResourceTypesA(nullptr, stopAtFirst, reinterpret_cast<LONG_PTR>(&calls)));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_ENUM_USER_STOP));
}

TEST(Modules, TheProgramIsItsOwnModuleAndNothingElseIsLoaded)
{
    HMODULE program = GetModuleHandleA(nullptr);
    ASSERT_NE(program, nullptr);
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(GetModuleHandleA(path), program);
    char cut[4] = {};
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, sizeof(cut)), 4u) << "a cut name fills the buffer";
    EXPECT_EQ(cut[3], '\0');
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(GetModuleHandleA("ntdll.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(program, "wine_get_version"), nullptr);
}

} // namespace
