// The dialog template and the manifest, read back from the built program and checked field by
// field.
#include "SlantGlyphDemo.h"

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

const LPCSTR kDialog = MAKEINTRESOURCEA(IDD_SLANTGLYPHDEMO);

// A resource's bytes, read from SlantGlyphDemo.exe beside the test as a data file.
class ProgramResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string program(path);
        program.erase(program.find_last_of("\\/") + 1);
        program += "SlantGlyphDemo.exe";
        module_ = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(module_); }

    static std::vector<unsigned char> Read(LPCSTR type, LPCSTR id, WORD language)
    {
        HRSRC info = FindResourceExA(module_, type, id, language);
        if (info == nullptr) {
            return {};
        }
        const auto *bytes = static_cast<const unsigned char *>(LockResource(LoadResource(module_, info)));
        return {bytes, bytes + SizeofResource(module_, info)};
    }

    // The languages in which a resource exists.
    static std::vector<WORD> Languages(LPCSTR type, LPCSTR id)
    {
        std::vector<WORD> languages;
        EnumResourceLanguagesA(module_, type, id, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }

    static HMODULE module_;

private:
    static BOOL CALLBACK CollectLanguage(HMODULE /*module*/, LPCSTR /*type*/, LPCSTR /*name*/, WORD language,
                                         LONG_PTR list)
    {
        reinterpret_cast<std::vector<WORD> *>(list)->push_back(language);
        return TRUE;
    }
};
HMODULE ProgramResources::module_ = nullptr;

// Reads a classic dialog template in order; every read is bounds-checked.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<unsigned char> &bytes) : bytes_(bytes) {}

    WORD Word()
    {
        WORD value = 0;
        if (offset_ + 2 <= bytes_.size()) {
            std::memcpy(&value, &bytes_[offset_], 2);
        } else {
            overrun_ = true;
        }
        offset_ += 2;
        return value;
    }
    DWORD Dword()
    {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    short Short() { return static_cast<short>(Word()); }

    // A UTF-16 string; the template's texts are all ASCII, anything else reads as '?'.
    std::string String()
    {
        std::string text;
        for (WORD c = Word(); c != 0 && !overrun_; c = Word()) {
            text += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text;
    }
    // A name or an ordinal: 0xFFFF and a number, or a string; ordinals come back as "#n".
    std::string NameOrOrdinal()
    {
        const size_t start = offset_;
        if (Word() == 0xFFFF) {
            return "#" + std::to_string(Word());
        }
        offset_ = start;
        return String();
    }
    void AlignToDword() { offset_ = (offset_ + 3) & ~static_cast<size_t>(3); }

    size_t offset() const { return offset_; }
    bool overrun() const { return overrun_; }

private:
    const std::vector<unsigned char> &bytes_;
    size_t offset_ = 0;
    bool overrun_ = false;
};

struct ExpectedControl {
    WORD id;
    const char *windowClass;
    const char *text;
    DWORD style;
    short x, y, cx, cy;
};

// The controls in template order; the raw numbers are the values the template must carry.
const ExpectedControl kControls[] = {
    {0xFFFF, "#130", "lfEscapement:", 0x50020000, 5, 210, 55, 15},
    {edt1, "#129", "", 0x50810002, 5, 225, 42, 16},
    {scr1, "MSCTLS_UPDOWN32", "", 0x500000B6, 80, 225, 10, 20},
    {0xFFFF, "#130", "lfOrientation:", 0x50020000, 100, 210, 55, 15},
    {edt2, "#129", "", 0x50810002, 100, 225, 40, 15},
    {scr2, "MSCTLS_UPDOWN32", "", 0x500000B6, 160, 225, 10, 20},
    {chx1, "#128", "GM_ADVANCED", 0x50010003, 165, 225, 65, 15},
    {chx3, "#128", "==", 0x50010003, 61, 225, 27, 14},
    {cmb1, "#133", "", 0x50210243, 250, 225, 80, 300},
    {chx4, "#128", "Animate", 0x50010003, 5, 245, 45, 15},
    {chx5, "#128", "Animate", 0x50010003, 100, 245, 45, 15},
};

TEST_F(ProgramResources, DialogTemplateCarriesExactlyTheDialog)
{
    EXPECT_EQ(Languages(RT_DIALOG, kDialog), std::vector<WORD>{0x0409});
    const std::vector<unsigned char> bytes =
        Read(RT_DIALOG, kDialog, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_FALSE(bytes.empty())
        << "no dialog template 1 in language 1033 (SlantGlyphDemo.exe beside the test?)";

    TemplateReader in(bytes);
    const DWORD style = in.Dword();
    ASSERT_NE(HIWORD(style), 0xFFFF) << "the extended template format is not wanted";
    EXPECT_EQ(style, 0x80C808C0u);
    EXPECT_EQ(in.Dword(), 0u) << "extended style";
    const WORD count = in.Word();
    EXPECT_EQ(count, 11);
    // Braces read the four in order: x, y, width, height.
    EXPECT_EQ((std::array{in.Short(), in.Short(), in.Short(), in.Short()}),
              (std::array<short, 4>{0, 0, 386, 259}));
    EXPECT_EQ(in.NameOrOrdinal(), "") << "menu";
    EXPECT_EQ(in.NameOrOrdinal(), "") << "window class";
    EXPECT_EQ(in.String(), "SlantGlyphDemo");
    EXPECT_EQ(in.Word(), 9) << "point size";
    EXPECT_EQ(in.String(), "Tahoma");
    ASSERT_EQ(count, std::size(kControls));

    for (const ExpectedControl &expected : kControls) {
        SCOPED_TRACE(testing::Message() << "control " << expected.id << " at byte " << in.offset());
        in.AlignToDword();
        EXPECT_EQ(in.Dword(), expected.style);
        EXPECT_EQ(in.Dword(), 0u) << "extended style";
        EXPECT_EQ((std::array{in.Short(), in.Short(), in.Short(), in.Short()}),
                  (std::array{expected.x, expected.y, expected.cx, expected.cy}));
        EXPECT_EQ(in.Word(), expected.id);
        EXPECT_EQ(in.NameOrOrdinal(), expected.windowClass);
        EXPECT_EQ(in.NameOrOrdinal(), expected.text);
        EXPECT_EQ(in.Word(), 0) << "creation data";
    }
    EXPECT_FALSE(in.overrun());
    EXPECT_GE(bytes.size(), in.offset());
    EXPECT_LT(bytes.size() - in.offset(), 4u) << "nothing follows the last control";
}

TEST_F(ProgramResources, ManifestSelectsCommonControlsSixAndNothingElse)
{
    const std::vector<unsigned char> bytes =
        Read(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    EXPECT_EQ(Languages(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID), std::vector<WORD>{0x0000});
    ASSERT_GT(bytes.size(), 3u) << "no manifest 1 in the neutral language";
    EXPECT_EQ(bytes[0], 0xEF);
    EXPECT_EQ(bytes[1], 0xBB);
    EXPECT_EQ(bytes[2], 0xBF);
    const std::string xml(bytes.begin() + 3, bytes.end());

    for (const char *required : {
             R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)",
             R"(manifestVersion="1.0")",
             R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
             R"(type="win32")",
             R"(name="Microsoft.Windows.Common-Controls")",
             R"(version="6.0.0.0")",
             R"(processorArchitecture="*")",
             R"(publicKeyToken="6595b64144ccf1df")",
             R"(language="*")",
         }) {
        EXPECT_NE(xml.find(required), std::string::npos) << required;
    }
    for (const char *forbidden : {"dpiAware", "dpiAwareness", "supportedOS", "compatibility", "<file"}) {
        EXPECT_EQ(xml.find(forbidden), std::string::npos) << forbidden;
    }
    // One dependency, one identity in it, and one execution level.
    const auto occurrences = [&xml](const char *needle) {
        size_t n = 0;
        for (size_t at = xml.find(needle); at != std::string::npos; at = xml.find(needle, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(occurrences("<dependency>"), 1u);
    EXPECT_EQ(occurrences("<assemblyIdentity"), 1u);
    EXPECT_EQ(occurrences("<requestedExecutionLevel"), 1u);
}

// The callback's type is the platform's, so `type` cannot point to const.
// NOLINTNEXTLINE(readability-non-const-parameter)
BOOL CALLBACK CountType(HMODULE /*module*/, LPSTR type, LONG_PTR count)
{
    if (!IS_INTRESOURCE(type) || (type != RT_DIALOG && type != RT_MANIFEST)) {
        ++*reinterpret_cast<int *>(count);
    }
    return TRUE;
}

TEST_F(ProgramResources, NoOtherResourceTypes)
{
    int others = 0;
    EnumResourceTypesA(module_, CountType, reinterpret_cast<LONG_PTR>(&others));
    EXPECT_EQ(others, 0);
}

} // namespace
