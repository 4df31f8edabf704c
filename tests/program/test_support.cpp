#include "test_support.h"

#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>

namespace test {

namespace {

constexpr UINT kDialogTemplate = 1;
int g_depth = 0;

std::uint8_t Red(std::uint32_t p)
{
    return static_cast<std::uint8_t>(p >> 16);
}
std::uint8_t Green(std::uint32_t p)
{
    return static_cast<std::uint8_t>(p >> 8);
}
std::uint8_t Blue(std::uint32_t p)
{
    return static_cast<std::uint8_t>(p);
}

} // namespace

void CommandLog::Clear()
{
    commands.clear();
    deepestNesting = 0;
}

std::vector<Command> CommandLog::Changes() const
{
    std::vector<Command> changes;
    for (const Command &c : commands) {
        if (c.code == EN_CHANGE) {
            changes.push_back(c);
        }
    }
    return changes;
}

CommandLog &Log()
{
    static CommandLog log;
    return log;
}

INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_COMMAND) {
        return DialogProc(hwnd, msg, wParam, lParam);
    }
    ++g_depth;
    Log().commands.push_back({LOWORD(wParam), HIWORD(wParam), g_depth});
    if (g_depth > Log().deepestNesting) {
        Log().deepestNesting = g_depth;
    }
    const INT_PTR result = DialogProc(hwnd, msg, wParam, lParam);
    --g_depth;
    return result;
}

Dialog::Dialog()
{
    InitCommonControls();
    hwnd_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDialogTemplate), nullptr,
                               RecordingDialogProc, 0);
    Log().Clear();
}

Dialog::~Dialog()
{
    DestroyWindow(hwnd_);
    // The dialog's destruction posts a quit request; it must not reach the next test.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::string Dialog::Text(int id) const
{
    char buffer[256] = {};
    GetDlgItemTextA(hwnd_, id, buffer, sizeof(buffer));
    return buffer;
}

void Dialog::SetText(int id, const char *text) const
{
    SetDlgItemTextA(hwnd_, id, text);
}

void Dialog::Click(int id) const
{
    SendMessageA(Item(id), BM_CLICK, 0, 0);
}

bool Dialog::Checked(int id) const
{
    return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

bool Dialog::Enabled(int id) const
{
    return IsWindowEnabled(Item(id)) != FALSE;
}

void Dialog::SetCheckQuietly(int id, bool checked) const
{
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Dialog::SetAnglesUncoupled(const char *escapement, const char *orientation) const
{
    const bool coupled = Checked(chx3);
    SetCheckQuietly(chx3, false);
    SetText(edt1, escapement);
    SetText(edt2, orientation);
    SetCheckQuietly(chx3, coupled);
}

void Dialog::SendCommand(int id, UINT code) const
{
    SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
}

void Dialog::Tick(UINT_PTR timer) const
{
    SendMessageA(hwnd_, WM_TIMER, timer, 0);
}

void Dialog::ShowAndValidate() const
{
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    ValidateRect(hwnd_, nullptr);
}

bool Dialog::RepaintPending() const
{
    return GetUpdateRect(hwnd_, nullptr, FALSE) != FALSE;
}

bool IsWhite(std::uint32_t pixel)
{
    return pixel == 0xFFFFFFu;
}
bool IsBlack(std::uint32_t pixel)
{
    return pixel == 0x000000u;
}
bool IsCell(std::uint32_t pixel)
{
    return Red(pixel) >= 0xC0 && Blue(pixel) <= 0x40;
}
bool IsInk(std::uint32_t pixel)
{
    return IsCell(pixel) && Green(pixel) <= 0x80;
}

FontMetrics SceneFontMetrics()
{
    LOGFONTW font = {};
    font.lfHeight = scene::kCellHeight;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(font.lfFaceName, scene::kFaceName);

    HDC dc = CreateCompatibleDC(nullptr);
    HFONT hfont = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(dc, hfont);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SIZE extent = {};
    GetTextExtentPoint32W(dc, scene::kSampleText, lstrlenW(scene::kSampleText), &extent);
    SelectObject(dc, previous);
    DeleteObject(hfont);
    DeleteDC(dc);

    return {metrics.tmAscent, metrics.tmDescent, metrics.tmHeight, extent.cx};
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace test
