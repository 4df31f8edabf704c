// Part of the Win32 subset for Linux: the message crackers and control helpers of windowsx.h.
#pragma once

#include "windows.h"

// Mouse coordinates are signed: a captured mouse can be left of or above the window.
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

// GDI objects.
#define DeletePen(hpen) DeleteObject((HGDIOBJ)(HPEN)(hpen))
#define SelectPen(hdc, hpen) ((HPEN)SelectObject((hdc), (HGDIOBJ)(HPEN)(hpen)))
#define GetStockPen(i) ((HPEN)GetStockObject(i))
#define DeleteBrush(hbr) DeleteObject((HGDIOBJ)(HBRUSH)(hbr))
#define SelectBrush(hdc, hbr) ((HBRUSH)SelectObject((hdc), (HGDIOBJ)(HBRUSH)(hbr)))
#define GetStockBrush(i) ((HBRUSH)GetStockObject(i))
#define DeleteFont(hfont) DeleteObject((HGDIOBJ)(HFONT)(hfont))
#define SelectFont(hdc, hfont) ((HFONT)SelectObject((hdc), (HGDIOBJ)(HFONT)(hfont)))
#define GetStockFont(i) ((HFONT)GetStockObject(i))
#define DeleteBitmap(hbm) DeleteObject((HGDIOBJ)(HBITMAP)(hbm))
#define SelectBitmap(hdc, hbm) ((HBITMAP)SelectObject((hdc), (HGDIOBJ)(HBITMAP)(hbm)))

// Windows.
#define GetWindowID(hwnd) GetDlgCtrlID(hwnd)
#define GetWindowStyle(hwnd) ((DWORD)GetWindowLong(hwnd, GWL_STYLE))
#define GetWindowExStyle(hwnd) ((DWORD)GetWindowLong(hwnd, GWL_EXSTYLE))
#define GetWindowFont(hwnd) ((HFONT)(UINT_PTR)SendMessage((hwnd), WM_GETFONT, 0, 0))
#define SetWindowFont(hwnd, hfont, fRedraw)                                                                  \
    ((void)SendMessage((hwnd), WM_SETFONT, (WPARAM)(HFONT)(hfont), (LPARAM)(BOOL)(fRedraw)))

#ifndef WM_QUERYDRAGICON
#define WM_QUERYDRAGICON 0x0037
#endif

// A dialog procedure's answer to a message whose result is not TRUE/FALSE.
#define SetDlgMsgResult(hwnd, msg, result)                                                                   \
    (((msg) == WM_CTLCOLORMSGBOX || (msg) == WM_CTLCOLOREDIT || (msg) == WM_CTLCOLORLISTBOX ||               \
      (msg) == WM_CTLCOLORBTN || (msg) == WM_CTLCOLORDLG || (msg) == WM_CTLCOLORSCROLLBAR ||                 \
      (msg) == WM_CTLCOLORSTATIC || (msg) == WM_COMPAREITEM || (msg) == WM_VKEYTOITEM ||                     \
      (msg) == WM_CHARTOITEM || (msg) == WM_QUERYDRAGICON || (msg) == WM_INITDIALOG)                         \
         ? (BOOL)(result)                                                                                    \
         : (SetWindowLongPtr((hwnd), DWLP_MSGRESULT, (LPARAM)(LRESULT)(result)), TRUE))

// Message crackers: HANDLE_MSG(hwnd, WM_X, OnX) calls OnX with the message's own parameters.
#define HANDLE_MSG(hwnd, message, fn)                                                                        \
    case (message):                                                                                          \
        return HANDLE_##message((hwnd), (wParam), (lParam), (fn))

#define HANDLE_WM_CREATE(hwnd, wParam, lParam, fn)                                                           \
    ((fn)((hwnd), (LPCREATESTRUCT)(lParam)) ? 0L : (LRESULT)-1L)
#define HANDLE_WM_DESTROY(hwnd, wParam, lParam, fn) ((fn)(hwnd), 0L)
#define HANDLE_WM_INITDIALOG(hwnd, wParam, lParam, fn)                                                       \
    (LRESULT)(UINT)(BOOL)(fn)((hwnd), (HWND)(wParam), lParam)
#define HANDLE_WM_COMMAND(hwnd, wParam, lParam, fn)                                                          \
    ((fn)((hwnd), (int)(LOWORD(wParam)), (HWND)(lParam), (UINT)HIWORD(wParam)), 0L)
#define HANDLE_WM_NOTIFY(hwnd, wParam, lParam, fn) (fn)((hwnd), (int)(wParam), (NMHDR *)(lParam))
#define HANDLE_WM_TIMER(hwnd, wParam, lParam, fn) ((fn)((hwnd), (UINT)(wParam)), 0L)
#define HANDLE_WM_PAINT(hwnd, wParam, lParam, fn) ((fn)(hwnd), 0L)
#define HANDLE_WM_ERASEBKGND(hwnd, wParam, lParam, fn) (LRESULT)(DWORD)(BOOL)(fn)((hwnd), (HDC)(wParam))
#define HANDLE_WM_SIZE(hwnd, wParam, lParam, fn)                                                             \
    ((fn)((hwnd), (UINT)(wParam), (int)(short)LOWORD(lParam), (int)(short)HIWORD(lParam)), 0L)
#define HANDLE_WM_CLOSE(hwnd, wParam, lParam, fn) ((fn)(hwnd), 0L)
#define HANDLE_WM_SETFOCUS(hwnd, wParam, lParam, fn) ((fn)((hwnd), (HWND)(wParam)), 0L)
#define HANDLE_WM_KILLFOCUS(hwnd, wParam, lParam, fn) ((fn)((hwnd), (HWND)(wParam)), 0L)
#define HANDLE_WM_ENABLE(hwnd, wParam, lParam, fn) ((fn)((hwnd), (BOOL)(wParam)), 0L)
#define HANDLE_WM_SETFONT(hwnd, wParam, lParam, fn) ((fn)((hwnd), (HFONT)(wParam), (BOOL)(lParam)), 0L)
#define HANDLE_WM_GETFONT(hwnd, wParam, lParam, fn) (LRESULT)(UINT_PTR)(HFONT)(fn)(hwnd)
#define HANDLE_WM_GETDLGCODE(hwnd, wParam, lParam, fn) (LRESULT)(DWORD)(UINT)(fn)((hwnd), (LPMSG)(lParam))
#define HANDLE_WM_KEYDOWN(hwnd, wParam, lParam, fn)                                                          \
    ((fn)((hwnd), (UINT)(wParam), TRUE, (int)(short)LOWORD(lParam), (UINT)HIWORD(lParam)), 0L)
#define HANDLE_WM_KEYUP(hwnd, wParam, lParam, fn)                                                            \
    ((fn)((hwnd), (UINT)(wParam), FALSE, (int)(short)LOWORD(lParam), (UINT)HIWORD(lParam)), 0L)
#define HANDLE_WM_CHAR(hwnd, wParam, lParam, fn)                                                             \
    ((fn)((hwnd), (TCHAR)(wParam), (int)(short)LOWORD(lParam)), 0L)
#define HANDLE_WM_MOUSEMOVE(hwnd, wParam, lParam, fn)                                                        \
    ((fn)((hwnd), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (UINT)(wParam)), 0L)
#define HANDLE_WM_LBUTTONDOWN(hwnd, wParam, lParam, fn)                                                      \
    ((fn)((hwnd), FALSE, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (UINT)(wParam)), 0L)
#define HANDLE_WM_LBUTTONDBLCLK(hwnd, wParam, lParam, fn)                                                    \
    ((fn)((hwnd), TRUE, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (UINT)(wParam)), 0L)
#define HANDLE_WM_LBUTTONUP(hwnd, wParam, lParam, fn)                                                        \
    ((fn)((hwnd), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (UINT)(wParam)), 0L)

// Controls.
#define Button_GetCheck(hwndCtl) ((int)(DWORD)SendMessage((hwndCtl), BM_GETCHECK, 0L, 0L))
#define Button_SetCheck(hwndCtl, check) ((void)SendMessage((hwndCtl), BM_SETCHECK, (WPARAM)(int)(check), 0L))
#define Edit_GetSel(hwndCtl) ((DWORD)SendMessage((hwndCtl), EM_GETSEL, 0L, 0L))
#define Edit_SetSel(hwndCtl, ichStart, ichEnd)                                                               \
    ((void)SendMessage((hwndCtl), EM_SETSEL, (WPARAM)(ichStart), (LPARAM)(ichEnd)))
#define Edit_ReplaceSel(hwndCtl, lpszReplace)                                                                \
    ((void)SendMessage((hwndCtl), EM_REPLACESEL, 0L, (LPARAM)(lpszReplace)))
#define Edit_LimitText(hwndCtl, cchMax) ((void)SendMessage((hwndCtl), EM_LIMITTEXT, (WPARAM)(cchMax), 0L))
#define ComboBox_AddString(hwndCtl, lpsz)                                                                    \
    ((int)(DWORD)SendMessage((hwndCtl), CB_ADDSTRING, 0L, (LPARAM)(lpsz)))
#define ComboBox_GetCount(hwndCtl) ((int)(DWORD)SendMessage((hwndCtl), CB_GETCOUNT, 0L, 0L))
#define ComboBox_GetCurSel(hwndCtl) ((int)(DWORD)SendMessage((hwndCtl), CB_GETCURSEL, 0L, 0L))
#define ComboBox_SetCurSel(hwndCtl, index)                                                                   \
    ((int)(DWORD)SendMessage((hwndCtl), CB_SETCURSEL, (WPARAM)(int)(index), 0L))
#define ComboBox_ShowDropdown(hwndCtl, fShow)                                                                \
    ((BOOL)(DWORD)SendMessage((hwndCtl), CB_SHOWDROPDOWN, (WPARAM)(BOOL)(fShow), 0L))
#define ComboBox_GetDroppedState(hwndCtl) ((BOOL)(DWORD)SendMessage((hwndCtl), CB_GETDROPPEDSTATE, 0L, 0L))
