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
#ifndef OBJID_CLIENT
#define OBJID_CLIENT ((LONG)0xfffffffc)
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

/* ---- comctl32 ---- */
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
typedef int(CALLBACK *EDITWORDBREAKPROCW)(LPWSTR text, int current, int length, int action);
typedef int(CALLBACK *FONTENUMPROCA)(const LOGFONTA *font, const TEXTMETRICA *metrics, DWORD type,
                                     LPARAM data);
typedef struct _ABC {
    int abcA;
    UINT abcB;
    int abcC;
} ABC, *LPABC;
typedef struct tagFONTSIGNATURE {
    DWORD fsUsb[4];
    DWORD fsCsb[2];
} FONTSIGNATURE, *LPFONTSIGNATURE;
typedef struct tagMENUBARINFO {
    DWORD cbSize;
    RECT rcBar;
    HMENU hMenu;
    HWND hwndMenu;
    BOOL fBarFocused : 1;
    BOOL fFocused : 1;
} MENUBARINFO, *PMENUBARINFO;
typedef struct tagMENUITEMINFOA {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
} MENUITEMINFOA, *LPMENUITEMINFOA;

/* ---- The functions: one table, failing placeholders (placeholders.c). ---- */
#define PLACEHOLDER(type, name, parameters, failure) type WINAPI name parameters;
#include "../placeholders.def"
#undef PLACEHOLDER

HMODULE WINAPI LoadLibraryA(LPCSTR name); /* the harness's loader (loader.c) */

#endif
