// Any bytes, read as a compiled resource file, as an executable's section table and as a dialog
// template: the readers refuse what is malformed and never read outside the bytes they are given.
// A template they accept is then built into a real dialog and destroyed again.
#include "dialog.h"
#include "resources.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr WORD kDialogType = 5; // RT_DIALOG
// Only dialogs of a sensible size are built: the readers are the subject here, and a huge
// frame (bounded by the host) only costs time to paint.
constexpr LONG kLargestBuiltDialog = 500;
constexpr WORD kLargestBuiltFont = 24;

void Fail(const char *what)
{
    std::fprintf(stderr, "template_fuzzer: %s\n", what);
    std::abort();
}

bool Within(const BYTE *inner, size_t innerSize, const BYTE *outer, size_t outerSize)
{
    return inner >= outer && innerSize <= outerSize &&
           static_cast<size_t>(inner - outer) <= outerSize - innerSize;
}

INT_PTR CALLBACK QuietDialogProc(HWND /*hwnd*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return FALSE;
}

bool SmallEnoughToBuild(const platform::user32::DialogTemplate &parsed)
{
    const RECT &b = parsed.bounds;
    const LONG width = b.right - b.left;
    const LONG height = b.bottom - b.top;
    return width >= 0 && width <= kLargestBuiltDialog && height >= 0 && height <= kLargestBuiltDialog &&
           parsed.pointSize <= kLargestBuiltFont && parsed.items.size() <= 64;
}

void ReadTemplate(const BYTE *bytes, size_t size)
{
    platform::user32::DialogTemplate parsed;
    if (!platform::user32::ParseDialogTemplate(bytes, size, parsed)) {
        return;
    }
    if (parsed.items.size() > size / 16) {
        Fail("a template holds more items than its bytes can describe");
    }
    if (!SmallEnoughToBuild(parsed)) {
        return;
    }
    // A template given by pointer carries no size; the parser has just shown that this one ends
    // within its bytes, so building it must not read past them either.
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes), nullptr, QuietDialogProc, 0);
    if (dialog != nullptr) {
        DestroyWindow(dialog);
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
}

void ReadResources(const BYTE *bytes, size_t size)
{
    std::vector<platform::Resource> entries;
    if (!platform::ParseResourceFile(bytes, size, entries)) {
        if (!entries.empty()) {
            Fail("a refused resource file left entries behind");
        }
        return;
    }
    for (const platform::Resource &entry : entries) {
        if (!Within(entry.data, entry.size, bytes, size)) {
            Fail("a resource's data lies outside the file");
        }
        if (entry.type.ordinal == kDialogType) {
            ReadTemplate(entry.data, entry.size);
        }
    }
}

void ReadSection(const BYTE *bytes, size_t size)
{
    const std::vector<BYTE> file(bytes, bytes + size);
    size_t offset = 0;
    size_t length = 0;
    if (platform::FindElfSection(file, "win32res", offset, length) &&
        (offset > file.size() || length > file.size() - offset)) {
        Fail("the resource section lies outside the file");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ReadResources(data, size);
    ReadTemplate(data, size);
    ReadSection(data, size);
    return 0;
}
