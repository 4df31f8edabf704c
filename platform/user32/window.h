// USER32's own view of windows and classes, shared by its files.
#pragma once

#include "platform.h"
#include "text.h"

#include <memory>
#include <optional>
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
    WNDPROC registeredProcedure = nullptr; // the procedure it was registered with, and its kind
    bool registeredUnicode = false;
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
    std::vector<std::pair<std::u16string, HANDLE>> properties; // SetProp's, by name ("#n" for an atom)
    std::vector<HWND> children;                                // z-order, top first: creation order

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

// The kind of strings a caller passes or a procedure takes.
enum class CharSet { Ansi, Wide };

// The window behind a handle, or nullptr (with ERROR_INVALID_WINDOW_HANDLE set) for a bad one.
Window *Lookup(HWND hwnd);
Window *LookupQuiet(HWND hwnd);
// Every window alive, top-level windows in creation order.
std::vector<HWND> TopLevelWindows();
size_t WindowCount();

// The window's siblings in stacking order, top first: its parent's children, or the top-level
// windows.
std::vector<HWND> &SiblingsOf(Window *window);
// Whether `hwnd` is `root` or one of its descendants.
bool InSubtree(HWND root, HWND hwnd);
// Shows or hides a window: the redrawing, the host and the focus follow; no messages.
void SetVisibility(Window *window, bool show);
// Tells the host how a top-level window looks now; called whenever its frame, client area, text,
// style or owner changes. A child window has no look of its own.
void UpdateHostLook(const Window &window);

// The top-level window that holds `window`, and the offset of `window`'s client area in it.
Window *TopLevelOf(Window *window);
POINT ClientOriginInSurface(Window *window);
// The part of the window's client area that is not cut off by its ancestors, in client coordinates.
RECT VisibleClientRect(Window *window);
bool IsVisibleOnScreen(Window *window);
// Whether neither the window nor a parent is disabled: no input or focus reaches it otherwise.
bool IsEnabledChain(Window *window);
bool IsRealChild(const Window *window);

// The frame around the client area that a style gives: left, top, right, bottom widths.
RECT NonClientInsets(DWORD style, DWORD exStyle);
// The client area inside `rect` (the window's, or one it will have), after the frame its styles give.
RECT ClientAreaWithin(const Window &window, const RECT &rect);
// Places the client area inside the window's rectangle, after the frame its styles give.
void UpdateClientRect(Window *window);

// Classes.
WindowClass *FindClass(const std::u16string &name);
// The kind of strings a class's own procedure takes, when `procedure` is one a class was
// registered with (the predefined controls' are wide); nothing otherwise.
std::optional<bool> RegisteredProcedureTakesWide(WNDPROC procedure);
// A class name argument: a string, or an atom.
std::u16string ClassNameArgument(LPCWSTR name);
void RegisterBuiltInClasses();

// Messages: calls a window procedure with its string arguments converted for it.
LRESULT CallProcedure(WNDPROC procedure, bool procedureUnicode, bool callerUnicode, HWND hwnd, UINT message,
                      WPARAM wParam, LPARAM lParam);
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode);
// A procedure handed to a caller of the other string kind is a handle that stands for it and its
// kind; CallWindowProc and the dialog manager resolve it. Resolve leaves a plain procedure alone.
LONG_PTR ProcedureHandle(WNDPROC procedure, bool unicode);
bool ResolveProcedureHandle(WNDPROC &procedure, bool &unicode);
// Input from a device, in window-message form for a top-level window; routed when it is read.
void QueueInput(const host::Event &event);
void RemoveWindowMessages(HWND hwnd);

// The queue's parts: its messages, its timers (timer.cpp) and its keyboard state (keyboard.cpp).
MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Whether a message passes GetMessage's window and range filter.
bool MatchesFilter(const MSG &msg, HWND hwnd, UINT first, UINT last);
void PostToQueue(const MSG &msg);
// The first due timer's WM_TIMER that passes the filter; removing it starts its next period.
std::optional<MSG> TakeDueTimer(HWND hwnd, UINT first, UINT last, bool remove);
// The moment the next timer falls due, or INFINITE.
DWORD NextTimerDue();
// Calls the procedure of the timer a WM_TIMER names; false when no timer has it.
bool CallTimerProcedure(const MSG &msg);
void KillWindowTimers(HWND hwnd);
// A key read from the queue goes down or up in the keyboard state.
void TrackKeys(const MSG &msg);

// Painting.
void InvalidateWindow(Window *window, const RECT *area, UINT flags);
void DrawNonClient(Window *window);
void PresentWindow(Window *window);

// Focus and capture follow a window being hidden, disabled or destroyed.
void ForgetWindow(HWND hwnd);

LRESULT DefaultWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, CharSet strings);

using text::AsWide;
using text::FromWide;

} // namespace platform::user32
