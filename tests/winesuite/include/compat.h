/* What Wine's test files name and our layer does not have, declared after the layer's own headers
 * (force-included before each file). Constants and types are here so the files compile; the
 * functions are defined by placeholders.c, which fails every call, so a test function that needs
 * one fails or is listed out of scope in scope.txt: none of them is presented as implemented. */
#ifndef WINESUITE_COMPAT_H
#define WINESUITE_COMPAT_H
#include <assert.h>
#include <limits.h>
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#ifdef __cplusplus
#error "Wine's tests are C"
#endif

/* ---- Messages, styles and values (winuser.h). ---- */
#ifndef WM_DEVICECHANGE
#define WM_DEVICECHANGE 0x0219
#endif
#ifndef NF_QUERY
#define NF_QUERY 3
#endif
#ifndef QS_ALLINPUT
#define QS_ALLINPUT 0x04ff
#endif
#ifndef WAIT_TIMEOUT
#define WAIT_TIMEOUT 258
#endif
#ifndef WAIT_OBJECT_0
#define WAIT_OBJECT_0 0
#endif
#ifndef INFINITE
#define INFINITE 0xffffffffu
#endif
#ifndef IMAGE_BITMAP
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define IMAGE_ENHMETAFILE 3
#endif
#ifndef OBM_CLOSE
#define OBM_CLOSE 32754
#endif
#ifndef ERROR_CALL_NOT_IMPLEMENTED
#define ERROR_CALL_NOT_IMPLEMENTED 120
#endif

#ifndef min
#define min(a, b) (((a) < (b)) ? (a) : (b))
#define max(a, b) (((a) > (b)) ? (a) : (b))
#endif
#ifndef MAKEINTATOM
#define MAKEINTATOM(atom) ((LPSTR)((ULONG_PTR)((WORD)(atom))))
#endif
#define PtrToUlong(p) ((ULONG)(ULONG_PTR)(p))
#define ULongToHandle(u) ((HANDLE)(ULONG_PTR)(u))
#define HandleToULong(h) ((ULONG)(ULONG_PTR)(h))
#define ULongToPtr(u) ((void *)(ULONG_PTR)(u))
#ifndef FIELD_OFFSET
#define FIELD_OFFSET(type, field) ((LONG)offsetof(type, field))
#endif
#ifndef LR_CREATEDIBSECTION
#define LR_CREATEDIBSECTION 0x2000
#endif
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#ifndef WM_DWMNCRENDERINGCHANGED
#define WM_DWMNCRENDERINGCHANGED 0x031f
#endif
#ifndef WM_IME_STARTCOMPOSITION
#define WM_IME_STARTCOMPOSITION 0x010d
#define WM_IME_ENDCOMPOSITION 0x010e
#define WM_IME_COMPOSITION 0x010f
#define WM_IME_SETCONTEXT 0x0281
#define WM_IME_NOTIFY 0x0282
#define WM_IME_CHAR 0x0286
#endif
#ifndef EM_SETHANDLE
#define EM_SETHANDLE 0x00bc
#define EM_GETHANDLE 0x00bd
#endif
#ifndef EM_SETWORDBREAKPROC
#define EM_SETWORDBREAKPROC 0x00d0
#define EM_GETWORDBREAKPROC 0x00d1
#endif
#ifndef EM_SETIMESTATUS
#define EM_SETIMESTATUS 0x00d8
#define EM_GETIMESTATUS 0x00d9
#endif
#define EMSIS_COMPOSITIONSTRING 1
#define EIMES_GETCOMPSTRATONCE 0x0001
#define EIMES_CANCELCOMPSTRINFOCUS 0x0002
#define EIMES_COMPLETECOMPSTRKILLFOCUS 0x0004
#ifndef EM_SETCUEBANNER
#define EM_SETCUEBANNER 0x1501
#define EM_GETCUEBANNER 0x1502
#endif
#ifndef MIIM_STATE
#define MIIM_STATE 0x0001
#endif
#ifndef MFS_HILITE
#define MFS_HILITE 0x0080
#endif
#ifndef MSGF_MENU
#define MSGF_MENU 2
#endif
#ifndef LMEM_MOVEABLE
#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#endif
/* Character sets and their font-signature bits (wingdi.h). */
#ifndef GREEK_CHARSET
#define GREEK_CHARSET 161
#endif
#ifndef EASTEUROPE_CHARSET
#define EASTEUROPE_CHARSET 238
#endif
#ifndef HANGUL_CHARSET
#define HANGUL_CHARSET 129
#endif
#ifndef GB2312_CHARSET
#define GB2312_CHARSET 134
#endif
#ifndef CHINESEBIG5_CHARSET
#define CHINESEBIG5_CHARSET 136
#endif
#define FS_JISJAPAN 0x00020000
#define FS_CHINESESIMP 0x00040000
#define FS_WANSUNG 0x00080000
#define FS_CHINESETRAD 0x00100000
#define FS_JOHAB 0x00200000
/* The input method (imm.h). */
#define CPS_COMPLETE 0x0001
#define NI_COMPOSITIONSTR 0x0015
#define SCS_SETSTR 0x0009

#ifndef WM_WININICHANGE
#define WM_WININICHANGE 0x001a
#endif
#ifndef WM_DEVMODECHANGE
#define WM_DEVMODECHANGE 0x001b
#endif
#ifndef LB_DIR
#define LB_DIR 0x018d
#endif
#ifndef LB_ADDFILE
#define LB_ADDFILE 0x0196
#endif
#ifndef MB_SYSTEMMODAL
#define MB_SYSTEMMODAL 0x00001000
#endif
#ifndef MSGF_DIALOGBOX
#define MSGF_DIALOGBOX 0
#endif
#ifndef SPI_GETNONCLIENTMETRICS
#define SPI_GETNONCLIENTMETRICS 41
#endif
/* Hooks (winuser.h). */
#define WH_MSGFILTER (-1)
#define WH_CBT 5
#define HCBT_ACTIVATE 5
/* Wine's debug-string helpers, which some tests use directly. */
#define debugstr_an wine_dbgstr_an
#define debugstr_wn wine_dbgstr_wn
#define debugstr_a wine_dbgstr_a
#define debugstr_w wine_dbgstr_w

#ifndef WM_TIMECHANGE
#define WM_TIMECHANGE 0x001e
#endif
#ifndef WM_GETOBJECT
#define WM_GETOBJECT 0x003d
#endif
#ifndef WM_DISPLAYCHANGE
#define WM_DISPLAYCHANGE 0x007e
#endif
#ifndef WM_SYNCPAINT
#define WM_SYNCPAINT 0x0088
#endif
#ifndef SM_CYMENUCHECK
#define SM_CXMENUCHECK 71
#define SM_CYMENUCHECK 72
#endif
#define ACTIVATION_CONTEXT_SECTION_WINDOW_CLASS_REDIRECTION 3

/* ---- comctl32 ---- */
/* The button's image lists, which the layer has not. */
#ifndef BCM_SETIMAGELIST
#define BCM_SETIMAGELIST (BCM_FIRST + 2)
#define BCM_GETIMAGELIST (BCM_FIRST + 3)
#endif
#define BUTTON_IMAGELIST_ALIGN_LEFT 0
#define BUTTON_IMAGELIST_ALIGN_RIGHT 1
#define BUTTON_IMAGELIST_ALIGN_TOP 2
#define BUTTON_IMAGELIST_ALIGN_BOTTOM 3
#define BUTTON_IMAGELIST_ALIGN_CENTER 4
#define ILC_COLOR 0x0000
/* The ComboBoxEx control (ComboBoxEx32), and the combo box's version-6 messages. */
#define WC_COMBOBOXEXA "ComboBoxEx32"
#define CBEMAXSTRLEN 260
#define CBEIF_TEXT 0x0001
#define CBEIF_IMAGE 0x0002
#define CBEIF_SELECTEDIMAGE 0x0004
#define CBEIF_OVERLAY 0x0008
#define CBEIF_INDENT 0x0010
#define CBEIF_LPARAM 0x0020
#define CBEIF_DI_SETITEM 0x10000000
#define CBEM_INSERTITEMA (WM_USER + 1)
#define CBEM_SETIMAGELIST (WM_USER + 2)
#define CBEM_GETIMAGELIST (WM_USER + 3)
#define CBEM_GETITEMA (WM_USER + 4)
#define CBEM_SETITEMA (WM_USER + 5)
#define CBEM_DELETEITEM CB_DELETESTRING
#define CBEM_GETCOMBOCONTROL (WM_USER + 6)
#define CBEM_GETEDITCONTROL (WM_USER + 7)
#define CBEM_INSERTITEMW (WM_USER + 11)
#define CBEN_FIRST (0U - 800U)
#define CBEN_GETDISPINFOA (CBEN_FIRST - 0)
#define CBEN_ENDEDITA (CBEN_FIRST - 5)
#define CBEN_ENDEDITW (CBEN_FIRST - 6)
#define CBEN_GETDISPINFOW (CBEN_FIRST - 7)
#define CBENF_DROPDOWN 4
#define I_IMAGECALLBACK (-1)
#define I_INDENTCALLBACK (-1)
#define LPSTR_TEXTCALLBACKA ((LPSTR)-1)
#ifndef CB_SETMINVISIBLE
#define CBM_FIRST 0x1700
#define CB_SETMINVISIBLE (CBM_FIRST + 1)
#define CB_GETMINVISIBLE (CBM_FIRST + 2)
#endif
#ifndef UDM_SETUNICODEFORMAT
#define UDM_SETUNICODEFORMAT 0x2005
#define UDM_GETUNICODEFORMAT 0x2006
#endif
#ifndef UDM_SETBASE
#define UDM_SETBASE (WM_USER + 109)
#define UDM_GETBASE (WM_USER + 110)
#endif
typedef LRESULT(CALLBACK *SUBCLASSPROC)(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

/* ---- Types of what the layer lacks. ---- */
DECLARE_HANDLE(HENHMETAFILE);
DECLARE_HANDLE(HIMC);
typedef int(CALLBACK *EDITWORDBREAKPROCA)(LPSTR text, int current, int length, int action);
typedef int(CALLBACK *FONTENUMPROCA)(const LOGFONTA *font, const TEXTMETRICA *metrics, DWORD type,
                                     LPARAM data);
typedef struct {
    HIMAGELIST himl;
    RECT margin;
    UINT uAlign;
} BUTTON_IMAGELIST, *PBUTTON_IMAGELIST;
typedef struct tagACTCTX_SECTION_KEYED_DATA {
    ULONG cbSize;
    ULONG ulDataFormatVersion;
    PVOID lpData;
    ULONG ulLength;
    PVOID lpSectionGlobalData;
    ULONG ulSectionGlobalDataLength;
    PVOID lpSectionBase;
    ULONG ulSectionTotalLength;
    HANDLE hActCtx;
    ULONG ulAssemblyRosterIndex;
    ULONG ulFlags;
    BYTE AssemblyMetadata[64];
} ACTCTX_SECTION_KEYED_DATA, *PACTCTX_SECTION_KEYED_DATA;
typedef struct tagCOMBOBOXEXITEMA {
    UINT mask;
    INT_PTR iItem;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int iOverlay;
    int iIndent;
    LPARAM lParam;
} COMBOBOXEXITEMA, *PCOMBOBOXEXITEMA;
typedef struct tagCOMBOBOXEXITEMW {
    UINT mask;
    INT_PTR iItem;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int iOverlay;
    int iIndent;
    LPARAM lParam;
} COMBOBOXEXITEMW, *PCOMBOBOXEXITEMW;
typedef struct {
    NMHDR hdr;
    BOOL fChanged;
    int iNewSelection;
    WCHAR szText[CBEMAXSTRLEN];
    int iWhy;
} NMCBEENDEDITW, *PNMCBEENDEDITW;
typedef struct {
    NMHDR hdr;
    BOOL fChanged;
    int iNewSelection;
    char szText[CBEMAXSTRLEN];
    int iWhy;
} NMCBEENDEDITA, *PNMCBEENDEDITA;
typedef struct {
    NMHDR hdr;
    COMBOBOXEXITEMA ceItem;
} NMCOMBOBOXEXA, *PNMCOMBOBOXEXA;
typedef LRESULT(CALLBACK *HOOKPROC)(int code, WPARAM wParam, LPARAM lParam);
typedef struct tagNONCLIENTMETRICSW {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTW lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTW lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTW lfMenuFont;
    LOGFONTW lfStatusFont;
    LOGFONTW lfMessageFont;
    int iPaddedBorderWidth;
} NONCLIENTMETRICSW;
typedef struct _ABC {
    int abcA;
    UINT abcB;
    int abcC;
} ABC, *LPABC;
typedef struct tagFONTSIGNATURE {
    DWORD fsUsb[4];
    DWORD fsCsb[2];
} FONTSIGNATURE, *LPFONTSIGNATURE;

/* ---- The functions: one table, failing placeholders (placeholders.c). ---- */
#define PLACEHOLDER(type, name, parameters, failure) type WINAPI name parameters;
#include "../placeholders.def"
#undef PLACEHOLDER

HMODULE WINAPI LoadLibraryA(LPCSTR name); /* the harness's loader (loader.c) */

#endif
