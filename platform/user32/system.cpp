// System colours, brushes and metrics, resource counts, and the few cursor and sound calls.
#include "window.h"

#include <array>

namespace {

// The platform's default colours (Windows 10 scheme), by COLOR_* index.
constexpr std::array<COLORREF, COLOR_MENUBAR + 1> kColors = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219), RGB(240, 240, 240),
    RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(180, 180, 180), RGB(244, 247, 252), RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255),
    RGB(240, 240, 240), RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234), RGB(215, 228, 242), RGB(0, 120, 215),
    RGB(240, 240, 240)};

// The headless screen and the frame sizes of the classic look.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kCaptionHeight = 19;
constexpr int kSmallCaptionHeight = 15;
constexpr int kBorder = 1;
constexpr int kDialogFrame = 3;
constexpr int kSizingFrame = 4;
constexpr int kEdge = 2;
constexpr int kScrollBar = 17;
constexpr int kIcon = 32;
constexpr int kMenuCheck = 13; // the check mark of a menu item, and a check box's square
constexpr int kSmallIcon = 16;
constexpr int kMenuHeight = 19;
constexpr int kCaptionButton = 18;
constexpr int kMinimumTrackWidth = 112;
constexpr int kMinimumTrackHeight = 27;
constexpr int kDoubleClickArea = 4;

struct SystemBrushes {
    std::array<HBRUSH, kColors.size()> brushes = {};
    DWORD created = 0;
};

SystemBrushes &Brushes()
{
    static SystemBrushes brushes;
    return brushes;
}

// Standard cursors and icons are shared handles that nothing draws yet.
struct SharedCursor {
    int unused;
};
SharedCursor g_arrow;
SharedCursor g_application;
HCURSOR g_currentCursor = nullptr;

constexpr WORD kFirstSystemCursor = 32512;
constexpr WORD kLastSystemCursor = 32651;

HCURSOR SystemCursor(LPCVOID name, SharedCursor &shared)
{
    if (!IS_INTRESOURCE(name) || LOWORD(reinterpret_cast<ULONG_PTR>(name)) < kFirstSystemCursor ||
        LOWORD(reinterpret_cast<ULONG_PTR>(name)) > kLastSystemCursor) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND); // programs carry no cursors or icons here
        return nullptr;
    }
    return reinterpret_cast<HCURSOR>(&shared);
}

} // namespace

DWORD WINAPI GetSysColor(int nIndex)
{
    return nIndex >= 0 && static_cast<size_t>(nIndex) < kColors.size() ? kColors[static_cast<size_t>(nIndex)]
                                                                       : 0;
}

HBRUSH WINAPI GetSysColorBrush(int nIndex)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= kColors.size()) {
        return nullptr;
    }
    SystemBrushes &system = Brushes();
    HBRUSH &brush = system.brushes[static_cast<size_t>(nIndex)];
    if (brush == nullptr) {
        brush = CreateSolidBrush(kColors[static_cast<size_t>(nIndex)]);
        ++system.created;
    }
    return brush;
}

// NOLINTNEXTLINE(readability-function-size): one table of the metrics, which reads best whole
int WINAPI GetSystemMetrics(int nIndex)
{
    switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN: return kScreenWidth;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return kScreenHeight;
    case SM_CYFULLSCREEN: return kScreenHeight - kCaptionHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return kScrollBar;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CYSMCAPTION: return kSmallCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return kSizingFrame;
    case SM_CXEDGE:
    case SM_CYEDGE: return kEdge;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return kMenuCheck;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return kIcon;
    case SM_CXSMICON:
    case SM_CYSMICON: return kSmallIcon;
    case SM_CYMENU: return kMenuHeight;
    case SM_CXSIZE:
    case SM_CYSIZE: return kCaptionButton;
    case SM_CXMIN:
    case SM_CXMINTRACK: return kMinimumTrackWidth;
    case SM_CYMIN:
    case SM_CYMINTRACK: return kMinimumTrackHeight;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return kDoubleClickArea;
    case SM_MOUSEPRESENT:
    case SM_CMONITORS: return 1;
    default: return 0;
    }
}

DWORD WINAPI GetGuiResources(HANDLE hProcess, DWORD uiFlags)
{
    if (hProcess != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (uiFlags) {
    case GR_GDIOBJECTS:
        // System colour brushes belong to the system, as stock objects do.
        return platform::GdiObjectCount() - Brushes().created;
    case GR_USEROBJECTS: return static_cast<DWORD>(platform::user32::WindowCount());
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

BOOL WINAPI MessageBeep(UINT /*uType*/)
{
    return TRUE; // there is no sound to make
}

HCURSOR WINAPI LoadCursorW(HINSTANCE /*hInstance*/, LPCWSTR lpCursorName)
{
    return SystemCursor(lpCursorName, g_arrow);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE /*hInstance*/, LPCSTR lpCursorName)
{
    return SystemCursor(lpCursorName, g_arrow);
}

HICON WINAPI LoadIconW(HINSTANCE /*hInstance*/, LPCWSTR lpIconName)
{
    return SystemCursor(lpIconName, g_application);
}

HICON WINAPI LoadIconA(HINSTANCE /*hInstance*/, LPCSTR lpIconName)
{
    return SystemCursor(lpIconName, g_application);
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor)
{
    HCURSOR previous = g_currentCursor;
    g_currentCursor = hCursor;
    return previous;
}

// The settings the controls read: how far a notch of the wheel scrolls, in lines and characters.
BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT /*uiParam*/, PVOID pvParam, UINT /*fWinIni*/)
{
    constexpr UINT kWheelScrollLines = 3;
    constexpr UINT kWheelScrollCharacters = 3;
    if ((uiAction != SPI_GETWHEELSCROLLLINES && uiAction != SPI_GETWHEELSCROLLCHARS) || pvParam == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *static_cast<UINT *>(pvParam) =
        uiAction == SPI_GETWHEELSCROLLLINES ? kWheelScrollLines : kWheelScrollCharacters;
    return TRUE;
}

BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
    return SystemParametersInfoW(uiAction, uiParam, pvParam, fWinIni);
}
