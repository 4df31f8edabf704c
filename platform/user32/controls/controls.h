// The predefined control classes of USER32 and what their window procedures share.
#pragma once

#include "text.h"

#include <windows.h>
#include <windowsx.h>

#include <string>

// USER32 calls these once, before its first window is created.
void RegisterStaticClass();
void RegisterButtonClass();
void RegisterEditClass();
void RegisterComboBoxClass();

namespace controls {

// Text as the controls keep it: UTF-16, as the W functions take it.
using Text = std::u16string;
using platform::text::AsWide;
using platform::text::FromWide;

// Copies `text` into a caller's buffer of `capacity` characters, cut to fit with its terminator;
// returns the characters copied, as WM_GETTEXT does.
inline LRESULT CopyText(const Text &text, WCHAR *buffer, size_t capacity)
{
    return static_cast<LRESULT>(platform::text::CopyToBuffer(text, buffer, capacity));
}

// A window's text as DefWindowProc keeps it, for the controls that leave their text to it.
inline Text WindowText(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    Text text(static_cast<size_t>(length) + 1, u'\0');
    GetWindowTextW(hwnd, reinterpret_cast<WCHAR *>(text.data()), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

// Fills a rectangle with a system colour: the controls draw their frames and faces with it.
inline void FillArea(HDC dc, int left, int top, int right, int bottom, int colorIndex)
{
    const RECT rect = {left, top, right, bottom};
    FillRect(dc, &rect, GetSysColorBrush(colorIndex));
}

// Each control keeps its state in one struct whose address is in the window's extra bytes:
// created on WM_NCCREATE, freed on WM_DESTROY.
template <typename State> State *StateOf(HWND hwnd)
{
    return reinterpret_cast<State *>(GetWindowLongPtrW(hwnd, 0));
}

template <typename State> State *CreateState(HWND hwnd)
{
    State *state = new State{};
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
    return state;
}

template <typename State> void DestroyState(HWND hwnd)
{
    delete StateOf<State>(hwnd);
    SetWindowLongPtrW(hwnd, 0, 0);
}

// Predefined classes belong to every module, as Windows' own do.
inline void RegisterControlClass(const WCHAR *name, WNDPROC procedure, UINT style = 0)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS | style;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = sizeof(void *);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

// WM_COMMAND to the parent, the way every standard control reports.
inline void NotifyParent(HWND control, UINT code)
{
    const WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(control), code);
    SendMessageW(GetParent(control), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
}

// Asks the parent for the brush and colours of a control (WM_CTLCOLORSTATIC and the like); a
// parent that does not answer gets the defaults of DefWindowProc.
inline HBRUSH ParentBrush(HWND control, HDC dc, UINT message)
{
    HWND parent = GetParent(control);
    const WPARAM wParam = reinterpret_cast<WPARAM>(dc);
    const LPARAM lParam = reinterpret_cast<LPARAM>(control);
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(parent ? parent : control, message, wParam, lParam));
    if (!brush) {
        brush = reinterpret_cast<HBRUSH>(DefWindowProcW(parent ? parent : control, message, wParam, lParam));
    }
    return brush;
}

// A control without a font of its own draws with the system font.
inline HFONT DrawingFont(HFONT font)
{
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

} // namespace controls
