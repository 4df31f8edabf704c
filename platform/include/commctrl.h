// Part of the Win32 subset for Linux: the common controls library (COMCTL32): the up-down and
// window subclassing.
#pragma once

#include "windef.h"
#include "winuser.h"

#ifdef __cplusplus
extern "C" {
#endif

// Which classes InitCommonControlsEx registers.
#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_HOTKEY_CLASS 0x00000040
#define ICC_ANIMATE_CLASS 0x00000080
#define ICC_WIN95_CLASSES 0x000000FF
#define ICC_DATE_CLASSES 0x00000100
#define ICC_USEREX_CLASSES 0x00000200
#define ICC_COOL_CLASSES 0x00000400
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_PAGESCROLLER_CLASS 0x00001000
#define ICC_NATIVEFNTCTL_CLASS 0x00002000
#define ICC_STANDARD_CLASSES 0x00004000
#define ICC_LINK_CLASS 0x00008000

typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

void WINAPI InitCommonControls(void);
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX *picce);

// The predefined USER32 classes under their COMCTL32 names.
#define WC_BUTTONA "Button"
#define WC_BUTTONW L"Button"
#define WC_STATICA "Static"
#define WC_STATICW L"Static"
#define WC_EDITA "Edit"
#define WC_EDITW L"Edit"
#define WC_COMBOBOXA "ComboBox"
#define WC_COMBOBOXW L"ComboBox"
#define WC_LISTBOXA "ListBox"
#define WC_LISTBOXW L"ListBox"

// The button's types and messages of this version: split buttons, command links, the room kept
// around its text.
#define BS_SPLITBUTTON 0x0000000C
#define BS_DEFSPLITBUTTON 0x0000000D
#define BS_COMMANDLINK 0x0000000E
#define BS_DEFCOMMANDLINK 0x0000000F
#define BCM_FIRST 0x1600
#define BCM_GETIDEALSIZE (BCM_FIRST + 1)
#define BCM_SETTEXTMARGIN (BCM_FIRST + 4)
#define BCM_GETTEXTMARGIN (BCM_FIRST + 5)
#define BCM_SETDROPDOWNSTATE (BCM_FIRST + 6)
#define BCM_SETSPLITINFO (BCM_FIRST + 7)
#define BCM_GETSPLITINFO (BCM_FIRST + 8)
#define BCM_SETNOTE (BCM_FIRST + 9)
#define BCM_GETNOTE (BCM_FIRST + 10)
#define BCM_GETNOTELENGTH (BCM_FIRST + 11)
#define BCN_FIRST (0U - 1250U)
#define BCN_DROPDOWN (BCN_FIRST + 2)

// What BCM_SETSPLITINFO and BCM_GETSPLITINFO carry, and how the split button lays out its arrow.
#define BCSIF_GLYPH 0x0001
#define BCSIF_IMAGE 0x0002
#define BCSIF_STYLE 0x0004
#define BCSIF_SIZE 0x0008
#define BCSS_NOSPLIT 0x0001
#define BCSS_STRETCH 0x0002
#define BCSS_ALIGNLEFT 0x0004
#define BCSS_IMAGE 0x0008

typedef struct _IMAGELIST *HIMAGELIST;
typedef struct tagBUTTON_SPLITINFO {
    UINT mask;
    HIMAGELIST himlGlyph; // without BCSS_IMAGE, a character of the symbol font
    UINT uSplitStyle;
    SIZE size;
} BUTTON_SPLITINFO, *PBUTTON_SPLITINFO;

// BCN_DROPDOWN: the split button's arrow was pressed.
typedef struct tagNMBCDROPDOWN {
    NMHDR hdr;
    RECT rcButton;
} NMBCDROPDOWN, *LPNMBCDROPDOWN;

// The combo box's messages of this version: how many items its open list shows at most.
#define CBM_FIRST 0x1700
#define CB_SETMINVISIBLE (CBM_FIRST + 1)
#define CB_GETMINVISIBLE (CBM_FIRST + 2)

// Notification codes: each control owns a range below zero.
#define NM_FIRST (0U - 0U)
#define UDN_FIRST (0U - 721U)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define UDN_LAST (0U - 729U)

// Custom draw: a control asks its parent at each stage of its painting (NM_CUSTOMDRAW).
#define CDDS_PREPAINT 1
#define CDDS_POSTPAINT 2
#define CDDS_PREERASE 3
#define CDDS_POSTERASE 4
#define CDDS_ITEM 0x00010000
#define CDIS_SELECTED 0x0001
#define CDIS_GRAYED 0x0002
#define CDIS_DISABLED 0x0004
#define CDIS_CHECKED 0x0008
#define CDIS_FOCUS 0x0010
#define CDIS_DEFAULT 0x0020
#define CDIS_HOT 0x0040
#define CDIS_MARKED 0x0080
#define CDIS_INDETERMINATE 0x0100
#define CDIS_SHOWKEYBOARDCUES 0x0200
#define CDRF_DODEFAULT 0x0000
#define CDRF_NEWFONT 0x0002
#define CDRF_SKIPDEFAULT 0x0004
#define CDRF_DOERASE 0x0008
#define CDRF_NOTIFYPOSTPAINT 0x0010
#define CDRF_NOTIFYITEMDRAW 0x0020
#define CDRF_NOTIFYPOSTERASE 0x0040
#define CDRF_SKIPPOSTPAINT 0x0100

typedef struct tagNMCUSTOMDRAWINFO {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec;
    UINT uItemState;
    LPARAM lItemlParam;
} NMCUSTOMDRAW, *LPNMCUSTOMDRAW;

// The up-down.
#define UPDOWN_CLASSA "msctls_updown32"
#define UPDOWN_CLASSW L"msctls_updown32"

#define UD_MAXVAL 0x7fff
#define UD_MINVAL (-UD_MAXVAL)

#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080
#define UDS_HOTTRACK 0x0100

#define UDM_SETRANGE (WM_USER + 101)
#define UDM_GETRANGE (WM_USER + 102)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETACCEL (WM_USER + 107)
#define UDM_GETACCEL (WM_USER + 108)
#define UDM_SETBASE (WM_USER + 109)
#define UDM_GETBASE (WM_USER + 110)

// The edit control's messages of the common controls: the grey hint an empty field shows.
#define ECM_FIRST 0x1500
#define EM_SETCUEBANNER (ECM_FIRST + 1)
#define EM_GETCUEBANNER (ECM_FIRST + 2)
// Whether the control's notifications carry Unicode strings (CCM_SETUNICODEFORMAT).
#define CCM_FIRST 0x2000
#define CCM_SETUNICODEFORMAT (CCM_FIRST + 5)
#define CCM_GETUNICODEFORMAT (CCM_FIRST + 6)
#define UDM_SETUNICODEFORMAT CCM_SETUNICODEFORMAT
#define UDM_GETUNICODEFORMAT CCM_GETUNICODEFORMAT
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)

#define UDN_DELTAPOS (UDN_FIRST - 1)

typedef struct _UDACCEL {
    UINT nSec;
    UINT nInc;
} UDACCEL, *LPUDACCEL;

typedef struct _NM_UPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
} NMUPDOWN, *LPNMUPDOWN, NM_UPDOWN, *LPNM_UPDOWN;

// Subclassing: procedures chained in front of a window's own, each with an id and its data.
typedef LRESULT(CALLBACK *SUBCLASSPROC)(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
BOOL WINAPI SetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
BOOL WINAPI GetWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass,
                              DWORD_PTR *pdwRefData);
BOOL WINAPI RemoveWindowSubclass(HWND hWnd, SUBCLASSPROC pfnSubclass, UINT_PTR uIdSubclass);
LRESULT WINAPI DefSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
HWND WINAPI CreateUpDownControl(DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent, int nID,
                                HINSTANCE hInst, HWND hBuddy, int nUpper, int nLower, int nPos);

#ifdef __cplusplus
}
#endif

#ifdef UNICODE
#define UPDOWN_CLASS UPDOWN_CLASSW
#define WC_BUTTON WC_BUTTONW
#define WC_STATIC WC_STATICW
#define WC_EDIT WC_EDITW
#define WC_COMBOBOX WC_COMBOBOXW
#define WC_LISTBOX WC_LISTBOXW
#else
#define UPDOWN_CLASS UPDOWN_CLASSA
#define WC_BUTTON WC_BUTTONA
#define WC_STATIC WC_STATICA
#define WC_EDIT WC_EDITA
#define WC_COMBOBOX WC_COMBOBOXA
#define WC_LISTBOX WC_LISTBOXA
#endif
