// Window longs: the fixed indices and the class's extra bytes, through A and W entry points.
#include "dialog.h"

#include <utility>

namespace platform::user32 {

namespace {

template <typename Value> bool ReadExtra(const Window &window, int index, Value &value)
{
    if (index < 0 || static_cast<size_t>(index) + sizeof(Value) > window.extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    memcpy(&value, window.extra.data() + index, sizeof(Value));
    return true;
}

template <typename Value> bool WriteExtra(Window &window, int index, Value value)
{
    if (index < 0 || static_cast<size_t>(index) + sizeof(Value) > window.extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    memcpy(window.extra.data() + index, &value, sizeof(Value));
    return true;
}

// The dialog procedure as a caller of `strings` sees it: itself when of the caller's kind, else a
// handle that stands for it.
LONG_PTR DialogProcedureFor(const Window &window, LONG_PTR value, CharSet strings)
{
    const bool unicode = window.dialog->procedureUnicode;
    if (value == 0 || unicode == (strings == CharSet::Wide)) {
        return value;
    }
    return ProcedureHandle(reinterpret_cast<WNDPROC>(value), unicode);
}

LONG_PTR GetLong(HWND hwnd, int index, CharSet strings)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(IsRealChild(window) ? window->parent : window->owner);
    case GWLP_ID: return window->id;
    case GWLP_USERDATA: return window->userData;
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    default: {
        LONG_PTR value = 0;
        if (!ReadExtra(*window, index, value)) {
            return 0;
        }
        return index == DWLP_DLGPROC && window->dialog ? DialogProcedureFor(*window, value, strings) : value;
    }
    }
}

LONG_PTR SetProcedure(Window &window, LONG_PTR value, CharSet strings)
{
    const auto previous = reinterpret_cast<LONG_PTR>(window.procedure);
    window.procedure = reinterpret_cast<WNDPROC>(value);
    window.unicode = strings == CharSet::Wide;
    return previous;
}

LONG_PTR SetInstance(Window &window, LONG_PTR value)
{
    return reinterpret_cast<LONG_PTR>(std::exchange(window.instance, reinterpret_cast<HINSTANCE>(value)));
}

// GWLP_HWNDPARENT: only a top-level window's owner can change this way; a child answers with its
// parent and keeps it.
LONG_PTR SetOwner(Window &window, LONG_PTR value)
{
    const auto previous = reinterpret_cast<LONG_PTR>(IsRealChild(&window) ? window.parent : window.owner);
    if (!IsRealChild(&window)) {
        window.owner = reinterpret_cast<HWND>(value);
        UpdateHostLook(window);
    }
    return previous;
}

// GWL_STYLE and GWL_EXSTYLE alike: the window hears of the change before it (and may alter the new
// style) and after it; the host learns the new look. A window destroyed in between keeps nothing.
LONG_PTR SetStyle(HWND hwnd, Window *window, int index, LONG_PTR value)
{
    DWORD Window::*const style = index == GWL_STYLE ? &Window::style : &Window::exStyle;
    const LONG_PTR previous = static_cast<LONG>(window->*style);
    STYLESTRUCT change = {window->*style, static_cast<DWORD>(value)};
    SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    if ((window = LookupQuiet(hwnd)) == nullptr) {
        return previous;
    }
    window->*style = change.styleNew;
    UpdateHostLook(*window);
    SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
    return previous;
}

// The window's extra bytes. A dialog procedure set through A or W gets its strings that way, or
// the kind of the procedure a handle stands for.
LONG_PTR SetExtra(Window &window, int index, LONG_PTR value, CharSet strings)
{
    LONG_PTR previous = 0;
    const bool dialogProcedure = index == DWLP_DLGPROC && window.dialog;
    auto procedure = reinterpret_cast<WNDPROC>(value);
    bool unicode = strings == CharSet::Wide;
    if (dialogProcedure) {
        ResolveProcedureHandle(procedure, unicode);
    }
    if (!ReadExtra(window, index, previous) ||
        !WriteExtra(window, index, dialogProcedure ? reinterpret_cast<LONG_PTR>(procedure) : value)) {
        return 0;
    }
    if (dialogProcedure) {
        previous = DialogProcedureFor(window, previous, strings);
        window.dialog->procedureUnicode = unicode;
    }
    return previous;
}

LONG_PTR SetLong(HWND hwnd, int index, LONG_PTR value, CharSet strings)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return 0;
    }
    SetLastError(ERROR_SUCCESS); // 0 can be a genuine previous value
    switch (index) {
    case GWLP_WNDPROC: return SetProcedure(*window, value, strings);
    case GWLP_HINSTANCE: return SetInstance(*window, value);
    case GWLP_HWNDPARENT: return SetOwner(*window, value);
    case GWLP_ID: return std::exchange(window->id, value);
    case GWLP_USERDATA: return std::exchange(window->userData, value);
    case GWL_STYLE:
    case GWL_EXSTYLE: return SetStyle(hwnd, window, index, value);
    default: return SetExtra(*window, index, value, strings);
    }
}

bool IsPointerIndex(int index)
{
    return index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT;
}

LONG GetLong32(HWND hwnd, int index)
{
    if (IsPointerIndex(index)) {
        SetLastError(ERROR_INVALID_INDEX); // a pointer does not fit in 32 bits
        return 0;
    }
    if (index >= 0) {
        Window *window = Lookup(hwnd);
        LONG value = 0;
        return window != nullptr && ReadExtra(*window, index, value) ? value : 0;
    }
    return static_cast<LONG>(GetLong(hwnd, index, CharSet::Wide));
}

LONG SetLong32(HWND hwnd, int index, LONG value, CharSet strings)
{
    if (IsPointerIndex(index)) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    if (index >= 0) {
        Window *window = Lookup(hwnd);
        LONG previous = 0;
        if (window == nullptr || !ReadExtra(*window, index, previous) || !WriteExtra(*window, index, value)) {
            return 0;
        }
        SetLastError(ERROR_SUCCESS);
        return previous;
    }
    return static_cast<LONG>(SetLong(hwnd, index, value, strings));
}

} // namespace

} // namespace platform::user32

using namespace platform::user32;

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex)
{
    return GetLong(hWnd, nIndex, CharSet::Wide);
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex)
{
    return GetLong(hWnd, nIndex, CharSet::Ansi);
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    return SetLong(hWnd, nIndex, dwNewLong, CharSet::Wide);
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    return SetLong(hWnd, nIndex, dwNewLong, CharSet::Ansi);
}

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex)
{
    return GetLong32(hWnd, nIndex);
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex)
{
    return GetLong32(hWnd, nIndex);
}

LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong)
{
    return SetLong32(hWnd, nIndex, dwNewLong, CharSet::Wide);
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong)
{
    return SetLong32(hWnd, nIndex, dwNewLong, CharSet::Ansi);
}
