// The button control's state and what its message handling (button.cpp) shares with its drawing
// (button_paint.cpp).
#pragma once

#include "controls.h"

#include <commctrl.h>

namespace button {

// The split button's arrow: its style, glyph and size, as BCM_SETSPLITINFO leaves them.
struct SplitInfo {
    UINT style = BCSS_STRETCH;
    HIMAGELIST glyph = reinterpret_cast<HIMAGELIST>(0x36); // the symbol font's down arrow
    SIZE size = {};
};

struct Button {
    // Some programs read these three through the window's first bytes, where the platform keeps
    // them: the button itself, its parent and the style it was made with.
    HWND self = nullptr;
    HWND parent = nullptr;
    LONG style = 0;
    HFONT font = nullptr;
    UINT check = BST_UNCHECKED; // BST_CHECKED, or BST_INDETERMINATE for the three-state kinds
    bool pushed = false;        // drawn pressed (BM_SETSTATE)
    bool pressing = false;      // a press by mouse or Space began here and has not ended yet
    bool focused = false;
    bool dropDownPushed = false; // the split button's arrow is held down (BCM_SETDROPDOWNSTATE)
    RECT textMargin = {};        // BCM_SETTEXTMARGIN: room kept between the text and its place's edges
    SplitInfo split;
    controls::Text note; // a command link's second line (BCM_SETNOTE)
    bool hasNote = false;
    HANDLE image = nullptr; // BM_SETIMAGE: a bitmap or an icon, as given
    UINT imageType = 0;
};

inline DWORD Kind(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

inline bool IsCheckBox(DWORD kind)
{
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

inline bool IsRadioButton(DWORD kind)
{
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

inline bool IsSplitButton(DWORD kind)
{
    return kind == BS_SPLITBUTTON || kind == BS_DEFSPLITBUTTON;
}

inline bool IsCommandLink(DWORD kind)
{
    return kind == BS_COMMANDLINK || kind == BS_DEFCOMMANDLINK;
}

// Where the button sends its notifications and asks for colours: its parent, or, having none,
// itself.
inline HWND Recipient(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    return parent != nullptr ? parent : hwnd;
}

// WM_COMMAND with a BN_ code.
inline void Notify(HWND hwnd, UINT code)
{
    const WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(hwnd), code);
    SendMessageW(Recipient(hwnd), WM_COMMAND, wParam, reinterpret_cast<LPARAM>(hwnd));
}

// The split button's two parts within `client`: where it is pushed and where its arrow is.
void SplitRects(const Button &button, const RECT &client, RECT *push, RECT *arrow);

// The size of the image set with BM_SETIMAGE (none: zero), and the image drawn at a place.
SIZE ImageSize(const Button &button);
void DrawImage(HDC dc, const Button &button, int left, int top);

// Draws the whole button (ODA_DRAWENTIRE), or what a change of focus changes (ODA_FOCUS), into `dc`.
void Paint(HWND hwnd, const Button &button, HDC dc, UINT action);

} // namespace button
