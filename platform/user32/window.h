// USER32's own view of windows and classes, shared by its files.
#pragma once

#include "platform.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::host {
struct Event;
}

namespace platform::user32 {

struct WindowClass {
    std::u16string name; // as registered; compared without case
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    bool unicode = false;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::vector<BYTE> extra;
    int windows = 0; // windows alive with this class
};

struct Window {
    HWND handle = nullptr;
    WindowClass *windowClass = nullptr;
    WNDPROC procedure = nullptr;
    bool unicode = false; // the procedure takes W strings
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr; // children only
    HWND owner = nullptr;  // top-level windows only
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    std::u16string text;
    std::vector<BYTE> extra;
    std::vector<HWND> children; // z-order, top first: creation order

    RECT rect = {};   // the whole window, in the parent's client coordinates (screen for top-level)
    RECT client = {}; // the client area, in the same coordinates as `rect`

    // What still has to be painted, in client coordinates; empty when nothing does.
    RECT update = {};
    bool erasePending = false;
    bool internalPaint = false;

    Surface *surface = nullptr; // top-level windows only
    bool destroying = false;
    std::shared_ptr<struct DialogInfo> dialog; // dialogs made by the dialog manager
};

// The window behind a handle, or nullptr (with ERROR_INVALID_WINDOW_HANDLE set) for a bad one.
Window *Lookup(HWND hwnd);
Window *LookupQuiet(HWND hwnd);
// Every window alive, top-level windows in creation order.
std::vector<HWND> TopLevelWindows();
size_t WindowCount();

// The top-level window that holds `window`, and the offset of `window`'s client area in it.
Window *TopLevelOf(Window *window);
POINT ClientOriginInSurface(Window *window);
// The part of the window's client area that is not cut off by its ancestors, in client coordinates.
RECT VisibleClientRect(Window *window);
bool IsVisibleOnScreen(Window *window);
bool IsRealChild(const Window *window);

// The frame around the client area that a style gives: left, top, right, bottom widths.
RECT NonClientInsets(DWORD style, DWORD exStyle);

// Classes.
WindowClass *FindClass(const std::u16string &name);
// A class name argument: a string, or an atom.
std::u16string ClassNameArgument(LPCWSTR name);
void RegisterBuiltInClasses();

// Messages: calls a window procedure with its string arguments converted for it.
LRESULT CallProcedure(WNDPROC procedure, bool procedureUnicode, bool callerUnicode, HWND hwnd, UINT message,
                      WPARAM wParam, LPARAM lParam);
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode);
void KillWindowTimers(HWND hwnd);
// Input from a device, in window-message form for a top-level window; routed when it is read.
void QueueInput(const host::Event &event);
void RemoveWindowMessages(HWND hwnd);

// Painting.
void InvalidateWindow(Window *window, const RECT *area, UINT flags);
void DrawNonClient(Window *window);
void PresentWindow(Window *window);

// Focus and capture follow a window being hidden, disabled or destroyed.
void ForgetWindow(HWND hwnd);

LRESULT DefaultWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode);

// Text helpers between the A (UTF-8) and W sides.
std::u16string Widen(LPCSTR text, int length = -1);
std::string Narrow(const std::u16string &text);
inline LPCWSTR AsWide(const std::u16string &text)
{
    return reinterpret_cast<LPCWSTR>(text.c_str());
}
inline std::u16string FromWide(LPCWSTR text)
{
    return text == nullptr ? std::u16string() : std::u16string(reinterpret_cast<const char16_t *>(text));
}

} // namespace platform::user32
