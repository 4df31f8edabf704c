// Modules: the program itself and executables loaded as data files for their resources.
#include "module.h"

#include "text.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <list>
#include <unistd.h>

// GNU ld bounds the program's resource section with these; weak, as a program may have none.
// NOLINTBEGIN(bugprone-reserved-identifier): the linker chooses these names
extern "C" const BYTE __start_win32res[] __attribute__((weak));
extern "C" const BYTE __stop_win32res[] __attribute__((weak));
// NOLINTEND(bugprone-reserved-identifier)

namespace platform {

namespace {

constexpr const char *kResourceSection = "win32res";
constexpr const char *kWindowsExtension = ".exe";
constexpr DWORD kDataFileFlags =
    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE;

std::string ProgramPath()
{
    char path[MAX_PATH * 4];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

Module &Program()
{
    static Module program = [] {
        Module module;
        module.path = ProgramPath();
        const BYTE *start = __start_win32res;
        const BYTE *stop = __stop_win32res;
        if (start != nullptr && stop > start) {
            ParseResourceFile(start, static_cast<size_t>(stop - start), module.resources);
        }
        return module;
    }();
    return program;
}

std::list<Module> &DataModules()
{
    static std::list<Module> modules;
    return modules;
}

HMODULE HandleOf(Module &module)
{
    return reinterpret_cast<HMODULE>(&module);
}

bool ReadFile(const std::string &path, std::vector<BYTE> &bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool EndsWithNoCase(const std::string &text, const std::string &ending)
{
    return text.size() >= ending.size() &&
           std::equal(ending.rbegin(), ending.rend(), text.rbegin(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

std::string BaseName(const std::string &path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

HMODULE LoadDataFile(const std::string &path)
{
    Module module;
    // A native program has no extension where its Windows build has ".exe".
    if (!ReadFile(path, module.file) &&
        !(EndsWithNoCase(path, kWindowsExtension) &&
          ReadFile(path.substr(0, path.size() - std::string(kWindowsExtension).size()), module.file))) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    size_t offset = 0;
    size_t size = 0;
    if (!FindElfSection(module.file, kResourceSection, offset, size)) {
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    ParseResourceFile(module.file.data() + offset, size, module.resources);
    module.path = path;
    DataModules().push_back(std::move(module));
    return HandleOf(DataModules().back());
}

} // namespace

Module *FindModule(HMODULE handle)
{
    if (handle == nullptr || handle == HandleOf(Program())) {
        return &Program();
    }
    for (Module &module : DataModules()) {
        if (HandleOf(module) == handle) {
            return &module;
        }
    }
    return nullptr;
}

} // namespace platform

using platform::FindModule;
using platform::Module;
namespace text = platform::text;

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    Module *program = FindModule(nullptr);
    if (lpModuleName == nullptr) {
        return reinterpret_cast<HMODULE>(program);
    }
    // Only the program itself is loaded as code: by its file name, with or without ".exe".
    const std::string name = platform::BaseName(lpModuleName);
    const std::string own = platform::BaseName(program->path);
    if (lstrcmpiA(name.c_str(), own.c_str()) == 0 || lstrcmpiA(name.c_str(), (own + ".exe").c_str()) == 0) {
        return reinterpret_cast<HMODULE>(program);
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName)
{
    return lpModuleName == nullptr ? GetModuleHandleA(nullptr)
                                   : GetModuleHandleA(text::ToAnsi(text::View(lpModuleName)).c_str());
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    Module *module = FindModule(hModule);
    if (module == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (lpFilename == nullptr || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    // A name too long is cut and still terminated; the result is then the buffer's size.
    const size_t copied = text::CopyToBuffer(module->path, lpFilename, nSize);
    if (module->path.size() >= nSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(copied);
}

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    char narrow[MAX_PATH * 4];
    if (GetModuleFileNameA(hModule, narrow, sizeof(narrow)) == 0) {
        return 0;
    }
    if (lpFilename == nullptr || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string wide = text::FromAnsi(narrow);
    const size_t copied = text::CopyToBuffer(wide, lpFilename, nSize);
    if (wide.size() >= nSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    return static_cast<DWORD>(copied);
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR /*lpProcName*/)
{
    // No module here exports anything: the program links the layer statically.
    SetLastError(FindModule(hModule) == nullptr ? ERROR_INVALID_HANDLE : ERROR_PROC_NOT_FOUND);
    return nullptr;
}

HMODULE WINAPI LoadLibraryExA(LPCSTR lpLibFileName, HANDLE /*hFile*/, DWORD dwFlags)
{
    if (lpLibFileName == nullptr || lpLibFileName[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if ((dwFlags & platform::kDataFileFlags) == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND); // there are no libraries to load as code
        return nullptr;
    }
    return platform::LoadDataFile(lpLibFileName);
}

HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    if (lpLibFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryExA(text::ToAnsi(text::View(lpLibFileName)).c_str(), hFile, dwFlags);
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule)
{
    auto &modules = platform::DataModules();
    for (auto it = modules.begin(); it != modules.end(); ++it) {
        if (platform::HandleOf(*it) == hLibModule) {
            modules.erase(it);
            return TRUE;
        }
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
