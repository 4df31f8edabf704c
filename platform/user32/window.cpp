// Windows: creation and destruction, the handle table, relations, geometry, state and longs.
#include "window.h"

#include "host.h"

#include <algorithm>
#include <map>

namespace platform::user32 {

namespace {

// Handles are small even numbers, never reused, so a stale handle is never a live window.
constexpr UINT_PTR kFirstHandle = 0x10020;
constexpr UINT_PTR kHandleStep = 2;
constexpr int kDefaultX = 0;
constexpr int kDefaultY = 0;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

struct Registry {
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel; // creation order
    UINT_PTR nextHandle = kFirstHandle;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
};

Registry &Windows()
{
    static Registry registry;
    return registry;
}

std::vector<HWND> &SiblingsOf(Window *window)
{
    if (IsRealChild(window)) {
        return Lookup(window->parent)->children;
    }
    return Windows().topLevel;
}

POINT ClientOriginOnScreen(Window *window)
{
    POINT origin = {window->client.left, window->client.top};
    for (Window *at = window; IsRealChild(at);) {
        at = LookupQuiet(at->parent);
        origin.x += at->client.left;
        origin.y += at->client.top;
    }
    return origin;
}

void UpdateClientRect(Window *window)
{
    const RECT insets = NonClientInsets(window->style, window->exStyle);
    window->client = {window->rect.left + insets.left, window->rect.top + insets.top,
                      std::max(window->rect.left + insets.left, window->rect.right - insets.right),
                      std::max(window->rect.top + insets.top, window->rect.bottom - insets.bottom)};
}

bool InSubtree(HWND root, HWND hwnd)
{
    return hwnd != nullptr && (hwnd == root || IsChild(root, hwnd));
}

// The creation parameters as the window procedure expects them, A or W.
template <typename Struct, typename Text>
Struct MakeCreateStruct(Window *window, LPVOID param, HMENU menu, const Text *name, const Text *className)
{
    Struct create = {};
    create.lpCreateParams = param;
    create.hInstance = window->instance;
    create.hMenu = menu;
    create.hwndParent = IsRealChild(window) ? window->parent : window->owner;
    create.cx = window->rect.right - window->rect.left;
    create.cy = window->rect.bottom - window->rect.top;
    create.x = window->rect.left;
    create.y = window->rect.top;
    create.style = static_cast<LONG>(window->style);
    create.lpszName = name;
    create.lpszClass = className;
    create.dwExStyle = window->exStyle;
    return create;
}

// Shows or hides a window: the redrawing, the host and the focus follow; no messages.
void SetVisibility(Window *window, bool show)
{
    if (((window->style & WS_VISIBLE) != 0) == show) {
        return;
    }
    if (show) {
        window->style |= WS_VISIBLE;
        if (window->surface != nullptr) {
            host::SetVisible(window->handle, true);
            DrawNonClient(window);
        }
        // A window that appears is erased at once, and painted when its turn comes.
        RedrawWindow(window->handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_ERASENOW);
        return;
    }
    // What the window covered must be drawn again by its parent.
    if (IsRealChild(window)) {
        InvalidateWindow(LookupQuiet(window->parent), &window->rect, RDW_INVALIDATE | RDW_ERASE);
    }
    window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (window->surface != nullptr) {
        host::SetVisible(window->handle, false);
    }
    if (InSubtree(window->handle, Windows().focus)) {
        SetFocus(IsRealChild(window) ? window->parent : nullptr);
    }
}

// Sends WM_DESTROY to a window and then to its children, as the platform does.
void SendDestroy(HWND hwnd)
{
    Window *window = LookupQuiet(hwnd);
    if (window == nullptr) {
        return;
    }
    Send(hwnd, WM_DESTROY, 0, 0, true);
    const std::vector<HWND> children = window->children;
    for (HWND child : children) {
        SendDestroy(child);
    }
}

// Frees a window after its children, each with WM_NCDESTROY as its last message.
void FreeWindow(HWND hwnd)
{
    Window *window = LookupQuiet(hwnd);
    if (window == nullptr) {
        return;
    }
    const std::vector<HWND> children = window->children;
    for (HWND child : children) {
        FreeWindow(child);
    }
    Send(hwnd, WM_NCDESTROY, 0, 0, true);
    window = LookupQuiet(hwnd);
    if (window == nullptr) {
        return;
    }
    KillWindowTimers(hwnd);
    RemoveWindowMessages(hwnd);
    ForgetWindow(hwnd);
    if (window->surface != nullptr) {
        host::DestroySurface(hwnd);
    }
    std::vector<HWND> &siblings = SiblingsOf(window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
    --window->windowClass->windows;
    Windows().windows.erase(hwnd);
}

} // namespace

Window *LookupQuiet(HWND hwnd)
{
    auto found = Windows().windows.find(hwnd);
    return found == Windows().windows.end() ? nullptr : found->second.get();
}

Window *Lookup(HWND hwnd)
{
    Window *window = LookupQuiet(hwnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return window;
}

std::vector<HWND> TopLevelWindows()
{
    return Windows().topLevel;
}

size_t WindowCount()
{
    return Windows().windows.size();
}

bool IsRealChild(const Window *window)
{
    return (window->style & WS_CHILD) != 0 && window->parent != nullptr;
}

Window *TopLevelOf(Window *window)
{
    while (window != nullptr && IsRealChild(window)) {
        window = LookupQuiet(window->parent);
    }
    return window;
}

POINT ClientOriginInSurface(Window *window)
{
    const POINT screen = ClientOriginOnScreen(window);
    const Window *top = TopLevelOf(window);
    return {screen.x - top->rect.left, screen.y - top->rect.top};
}

RECT VisibleClientRect(Window *window)
{
    RECT visible = {0, 0, window->client.right - window->client.left,
                    window->client.bottom - window->client.top};
    POINT offset = {0, 0}; // of `window`'s client origin in the ancestor's client coordinates
    for (Window *at = window; IsRealChild(at);) {
        offset.x += at->client.left;
        offset.y += at->client.top;
        at = LookupQuiet(at->parent);
        const RECT ancestor = {-offset.x, -offset.y, at->client.right - at->client.left - offset.x,
                               at->client.bottom - at->client.top - offset.y};
        IntersectRect(&visible, &visible, &ancestor);
    }
    return visible;
}

bool IsVisibleOnScreen(Window *window)
{
    for (Window *at = window; at != nullptr; at = IsRealChild(at) ? LookupQuiet(at->parent) : nullptr) {
        if ((at->style & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return true;
}

RECT NonClientInsets(DWORD style, DWORD exStyle)
{
    int border = 0;
    if ((style & WS_THICKFRAME) != 0) {
        border = GetSystemMetrics(SM_CXFRAME);
    } else if ((style & WS_DLGFRAME) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        border = GetSystemMetrics(SM_CXDLGFRAME);
    } else if ((style & WS_BORDER) != 0) {
        border = GetSystemMetrics(SM_CXBORDER);
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        border += GetSystemMetrics(SM_CXEDGE);
    }
    if ((exStyle & WS_EX_STATICEDGE) != 0) {
        border += GetSystemMetrics(SM_CXBORDER);
    }
    const int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
    return {border, border + caption, border, border};
}

void ForgetWindow(HWND hwnd)
{
    Registry &registry = Windows();
    if (InSubtree(hwnd, registry.capture)) {
        registry.capture = nullptr;
    }
    if (InSubtree(hwnd, registry.focus)) {
        registry.focus = nullptr;
    }
    if (registry.active == hwnd) {
        registry.active = nullptr;
    }
}

std::u16string Widen(LPCSTR text, int length)
{
    if (text == nullptr || length == 0) {
        return {};
    }
    const int size = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::u16string wide(static_cast<size_t>(std::max(size, 0)), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, reinterpret_cast<LPWSTR>(wide.data()), size);
    if (length < 0 && !wide.empty()) {
        wide.pop_back(); // the terminator
    }
    return wide;
}

std::string Narrow(const std::u16string &text)
{
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, AsWide(text), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, AsWide(text), length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

// Creates a window for either CreateWindowExA or CreateWindowExW; `unicode` is the caller's kind.
HWND CreateWindowCommon(DWORD exStyle, const std::u16string &className, LPCVOID name, bool unicode,
                        DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                        HINSTANCE instance, LPVOID param)
{
    WindowClass *windowClass = FindClass(className);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST); // Wine's answer; Windows gives ERROR_CANNOT_FIND_WND_CLASS
        return nullptr;
    }
    Window *parentWindow = parent == nullptr || parent == HWND_MESSAGE ? nullptr : Lookup(parent);
    if ((style & WS_CHILD) != 0 && parentWindow == nullptr) {
        SetLastError(parent == nullptr ? ERROR_TLW_WITH_WSCHILD : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (parent != nullptr && parent != HWND_MESSAGE && parentWindow == nullptr) {
        return nullptr;
    }
    Registry &registry = Windows();
    auto created = std::make_unique<Window>();
    Window *window = created.get();
    window->handle = reinterpret_cast<HWND>(registry.nextHandle);
    registry.nextHandle += kHandleStep;
    window->windowClass = windowClass;
    window->procedure = windowClass->procedure;
    window->unicode = windowClass->unicode;
    window->style = style & ~static_cast<DWORD>(WS_VISIBLE); // shown once created
    window->exStyle = exStyle;
    if ((style & WS_CHILD) == 0) {
        window->style |= WS_CLIPSIBLINGS;
        if ((style & WS_POPUP) == 0) {
            window->style |= WS_CAPTION; // an overlapped window always has a caption
        }
    }
    if ((window->style & WS_CAPTION) == WS_CAPTION || (exStyle & WS_EX_DLGMODALFRAME) != 0) {
        window->exStyle |= WS_EX_WINDOWEDGE;
    }
    window->instance = instance;
    window->extra.assign(static_cast<size_t>(windowClass->windowExtra), 0);
    if ((style & WS_CHILD) != 0) {
        window->parent = parent;
        window->id = reinterpret_cast<LONG_PTR>(menu);
    } else if (parentWindow != nullptr) {
        window->owner = TopLevelOf(parentWindow)->handle;
    }
    if ((style & WS_CHILD) == 0) {
        if (x == CW_USEDEFAULT) {
            x = kDefaultX;
            y = kDefaultY;
        }
        if (width == CW_USEDEFAULT) {
            width = kDefaultWidth;
            height = kDefaultHeight;
        }
    }
    window->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    UpdateClientRect(window);

    const HWND hwnd = window->handle;
    registry.windows.emplace(hwnd, std::move(created));
    ++windowClass->windows;
    if (parentWindow != nullptr && (style & WS_CHILD) != 0) {
        parentWindow->children.push_back(hwnd);
    } else {
        registry.topLevel.push_back(hwnd);
        window->surface = host::CreateSurface(hwnd, window->rect.right - window->rect.left,
                                              window->rect.bottom - window->rect.top);
    }

    LRESULT accepted = 0;
    LRESULT result = 0;
    if (unicode) {
        auto create = MakeCreateStruct<CREATESTRUCTW>(window, param, menu, static_cast<LPCWSTR>(name),
                                                      AsWide(windowClass->name));
        accepted = Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create), true);
        if (accepted && LookupQuiet(hwnd) != nullptr) {
            UpdateClientRect(LookupQuiet(hwnd)); // the frame of the styles WM_NCCREATE left
            result = Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create), true);
        }
    } else {
        const std::string narrowClass = Narrow(windowClass->name);
        auto create = MakeCreateStruct<CREATESTRUCTA>(window, param, menu, static_cast<LPCSTR>(name),
                                                      narrowClass.c_str());
        accepted = Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create), false);
        if (accepted && LookupQuiet(hwnd) != nullptr) {
            UpdateClientRect(LookupQuiet(hwnd)); // the frame of the styles WM_NCCREATE left
            result = Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create), false);
        }
    }
    if (!accepted || result == -1 || LookupQuiet(hwnd) == nullptr) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    window = LookupQuiet(hwnd);
    Send(hwnd, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(window->client.right - window->client.left, window->client.bottom - window->client.top),
         true);
    Send(hwnd, WM_MOVE, 0, MAKELPARAM(window->client.left, window->client.top), true);
    if (IsRealChild(window) && (exStyle & WS_EX_NOPARENTNOTIFY) == 0) {
        Send(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, window->id),
             reinterpret_cast<LPARAM>(hwnd), true);
    }
    if ((style & WS_VISIBLE) != 0 && IsWindow(hwnd)) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return IsWindow(hwnd) ? hwnd : nullptr;
}

} // namespace platform::user32

using namespace platform::user32;
namespace host = platform::host;

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam)
{
    if (lpClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::u16string className = ClassNameArgument(lpClassName);
    return CreateWindowCommon(dwExStyle, className, lpWindowName, true, dwStyle, X, Y, nWidth, nHeight,
                              hWndParent, hMenu, hInstance, lpParam);
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam)
{
    if (lpClassName == nullptr || IS_INTRESOURCE(lpClassName)) {
        SetLastError(lpClassName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    return CreateWindowCommon(dwExStyle, Widen(lpClassName), lpWindowName, false, dwStyle, X, Y, nWidth,
                              nHeight, hWndParent, hMenu, hInstance, lpParam);
}

BOOL WINAPI DestroyWindow(HWND hWnd)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    if (window->destroying) {
        return TRUE;
    }
    window->destroying = true;
    // Owned windows go first, as on the platform.
    for (HWND other : TopLevelWindows()) {
        Window *owned = LookupQuiet(other);
        if (owned != nullptr && owned->owner == hWnd) {
            DestroyWindow(other);
        }
    }
    window = LookupQuiet(hWnd);
    if (window == nullptr) {
        return TRUE;
    }
    if ((window->style & WS_VISIBLE) != 0) {
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    window = LookupQuiet(hWnd);
    if (window != nullptr && IsRealChild(window) && (window->exStyle & WS_EX_NOPARENTNOTIFY) == 0) {
        Send(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, window->id),
             reinterpret_cast<LPARAM>(hWnd), true);
    }
    Registry &registry = Windows();
    if (InSubtree(hWnd, registry.focus)) {
        window = LookupQuiet(hWnd);
        SetFocus(window != nullptr && IsRealChild(window) ? window->parent : nullptr);
    }
    if (InSubtree(hWnd, registry.capture)) {
        ReleaseCapture();
    }
    SendDestroy(hWnd);
    FreeWindow(hWnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd)
{
    return LookupQuiet(hWnd) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND hWnd)
{
    Window *window = LookupQuiet(hWnd);
    return window != nullptr && IsVisibleOnScreen(window);
}

BOOL WINAPI IsWindowEnabled(HWND hWnd)
{
    Window *window = Lookup(hWnd);
    return window != nullptr && (window->style & WS_DISABLED) == 0;
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd)
{
    Window *window = LookupQuiet(hWnd);
    while (window != nullptr && IsRealChild(window)) {
        if (window->parent == hWndParent) {
            return TRUE;
        }
        window = LookupQuiet(window->parent);
    }
    return FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = (window->style & WS_DISABLED) != 0;
    if (bEnable && wasDisabled) {
        window->style &= ~static_cast<DWORD>(WS_DISABLED);
        Send(hWnd, WM_ENABLE, TRUE, 0, true);
    } else if (!bEnable && !wasDisabled) {
        Send(hWnd, WM_CANCELMODE, 0, 0, true);
        window = LookupQuiet(hWnd);
        if (window == nullptr) {
            return FALSE;
        }
        window->style |= WS_DISABLED;
        if (InSubtree(hWnd, Windows().focus)) {
            SetFocus(nullptr);
        }
        if (InSubtree(hWnd, Windows().capture)) {
            ReleaseCapture();
        }
        Send(hWnd, WM_ENABLE, FALSE, 0, true);
    }
    return wasDisabled;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    const bool show = nCmdShow != SW_HIDE;
    if (show != wasVisible) {
        Send(hWnd, WM_SHOWWINDOW, show, 0, true);
        if (!IsWindow(hWnd)) {
            return wasVisible;
        }
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    window = LookupQuiet(hWnd);
    const bool activates = nCmdShow == SW_SHOW || nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_SHOWDEFAULT ||
                           nCmdShow == SW_RESTORE || nCmdShow == SW_SHOWMAXIMIZED;
    if (window != nullptr && activates && !IsRealChild(window) && Windows().active != hWnd) {
        SetActiveWindow(hWnd);
    }
    return wasVisible;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    WINDOWPOS position = {hWnd, hWndInsertAfter, X, Y, std::max(cx, 0), std::max(cy, 0), uFlags};
    if ((uFlags & SWP_NOMOVE) != 0) {
        position.x = window->rect.left;
        position.y = window->rect.top;
    }
    if ((uFlags & SWP_NOSIZE) != 0) {
        position.cx = window->rect.right - window->rect.left;
        position.cy = window->rect.bottom - window->rect.top;
    }
    if ((uFlags & SWP_NOSENDCHANGING) == 0) {
        Send(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position), true);
        window = LookupQuiet(hWnd);
        if (window == nullptr) {
            return FALSE;
        }
    }
    const RECT before = window->rect;
    const RECT clientBefore = window->client;
    window->rect = {position.x, position.y, position.x + position.cx, position.y + position.cy};
    UpdateClientRect(window);
    const bool moved = window->client.left != clientBefore.left || window->client.top != clientBefore.top;
    const bool sized = window->client.right - window->client.left != clientBefore.right - clientBefore.left ||
                       window->client.bottom - window->client.top != clientBefore.bottom - clientBefore.top ||
                       (uFlags & SWP_FRAMECHANGED) != 0;
    if ((uFlags & SWP_NOMOVE) == 0 || moved) {
        position.flags &= ~static_cast<UINT>(SWP_NOMOVE);
    }
    if (!moved) {
        position.flags |= SWP_NOMOVE;
    }
    if (!sized) {
        position.flags |= SWP_NOSIZE;
    }
    if ((uFlags & SWP_NOZORDER) == 0) {
        std::vector<HWND> &siblings = SiblingsOf(window);
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hWnd), siblings.end());
        auto place = siblings.begin(); // HWND_TOP and the topmost kinds
        if (hWndInsertAfter == HWND_BOTTOM) {
            place = siblings.end();
        } else if (hWndInsertAfter != HWND_TOP && hWndInsertAfter != HWND_TOPMOST &&
                   hWndInsertAfter != HWND_NOTOPMOST) {
            place = std::find(siblings.begin(), siblings.end(), hWndInsertAfter);
            place = place == siblings.end() ? siblings.end() : place + 1;
        }
        siblings.insert(place, hWnd);
    }
    if (window->surface != nullptr && sized) {
        window->surface = host::CreateSurface(hWnd, position.cx, position.cy);
    }
    if ((uFlags & SWP_NOREDRAW) == 0 && (moved || sized) && IsVisibleOnScreen(window)) {
        if (IsRealChild(window)) {
            InvalidateWindow(LookupQuiet(window->parent), &before, RDW_INVALIDATE | RDW_ERASE);
        }
        DrawNonClient(window);
        InvalidateWindow(window, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    if ((uFlags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0) {
        SetVisibility(window, (uFlags & SWP_SHOWWINDOW) != 0);
    }
    if (IsWindow(hWnd)) {
        Send(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position), true);
    }
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    *lpRect = {0, 0, window->client.right - window->client.left, window->client.bottom - window->client.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        return FALSE;
    }
    const POINT client = ClientOriginOnScreen(window);
    *lpRect = window->rect;
    OffsetRect(lpRect, client.x - window->client.left, client.y - window->client.top);
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL /*bMenu*/, DWORD dwExStyle)
{
    if (lpRect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT insets = NonClientInsets(dwStyle, dwExStyle);
    lpRect->left -= insets.left;
    lpRect->top -= insets.top;
    lpRect->right += insets.right;
    lpRect->bottom += insets.bottom;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    POINT from = {0, 0};
    POINT to = {0, 0};
    if (hWndFrom != nullptr) {
        Window *window = Lookup(hWndFrom);
        if (window == nullptr) {
            return 0;
        }
        from = ClientOriginOnScreen(window);
    }
    if (hWndTo != nullptr) {
        Window *window = Lookup(hWndTo);
        if (window == nullptr) {
            return 0;
        }
        to = ClientOriginOnScreen(window);
    }
    const LONG dx = from.x - to.x;
    const LONG dy = from.y - to.y;
    for (UINT index = 0; lpPoints != nullptr && index < cPoints; ++index) {
        lpPoints[index].x += dx;
        lpPoints[index].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return MAKELONG(LOWORD(dx), LOWORD(dy));
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    if (lpPoint == nullptr || !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MapWindowPoints(hWnd, nullptr, lpPoint, 1);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    if (lpPoint == nullptr || !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MapWindowPoints(nullptr, hWnd, lpPoint, 1);
    return TRUE;
}

HWND WINAPI GetParent(HWND hWnd)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (IsRealChild(window)) {
        return window->parent;
    }
    return (window->style & WS_POPUP) != 0 ? window->owner : nullptr;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (uCmd == GW_CHILD) {
        return window->children.empty() ? nullptr : window->children.front();
    }
    if (uCmd == GW_OWNER) {
        return window->owner;
    }
    const std::vector<HWND> &siblings = SiblingsOf(window);
    const auto self = std::find(siblings.begin(), siblings.end(), hWnd);
    switch (uCmd) {
    case GW_HWNDFIRST:
        return siblings.front();
    case GW_HWNDLAST:
        return siblings.back();
    case GW_HWNDNEXT:
        return self + 1 == siblings.end() ? nullptr : *(self + 1);
    case GW_HWNDPREV:
        return self == siblings.begin() ? nullptr : *(self - 1);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    Window *window = Lookup(hWndParent);
    if (window == nullptr || lpEnumFunc == nullptr) {
        return FALSE;
    }
    for (HWND child : std::vector<HWND>(window->children)) {
        if (!IsWindow(child)) {
            continue;
        }
        if (!lpEnumFunc(child, lParam)) {
            return FALSE;
        }
        EnumChildWindows(child, lpEnumFunc, lParam);
    }
    return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd)
{
    Registry &registry = Windows();
    const HWND previous = registry.focus;
    if (hWnd != nullptr) {
        Window *window = Lookup(hWnd);
        if (window == nullptr) {
            return nullptr;
        }
        // A disabled window, or one inside a disabled parent, cannot take the focus.
        for (Window *at = window; at != nullptr; at = IsRealChild(at) ? LookupQuiet(at->parent) : nullptr) {
            if ((at->style & WS_DISABLED) != 0) {
                return nullptr;
            }
        }
        Window *top = TopLevelOf(window);
        if (registry.active != top->handle) {
            SetActiveWindow(top->handle);
            if (registry.focus == hWnd) {
                return previous;
            }
        }
    }
    if (previous == hWnd) {
        return previous;
    }
    registry.focus = hWnd;
    if (previous != nullptr && IsWindow(previous)) {
        Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0, true);
    }
    if (hWnd != nullptr && registry.focus == hWnd && IsWindow(hWnd)) {
        Send(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0, true);
    }
    return previous;
}

HWND WINAPI GetFocus(void)
{
    return Windows().focus;
}

HWND WINAPI GetActiveWindow(void)
{
    return Windows().active;
}

HWND WINAPI SetActiveWindow(HWND hWnd)
{
    Registry &registry = Windows();
    const HWND previous = registry.active;
    Window *window = hWnd == nullptr ? nullptr : Lookup(hWnd);
    if (hWnd != nullptr && window == nullptr) {
        return nullptr;
    }
    if (window != nullptr) {
        hWnd = TopLevelOf(window)->handle;
    }
    if (previous == hWnd) {
        return previous;
    }
    registry.active = hWnd;
    if (previous != nullptr && IsWindow(previous)) {
        Send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hWnd), true);
    }
    if (hWnd != nullptr) {
        Send(hWnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), reinterpret_cast<LPARAM>(previous), true);
    } else if (registry.focus != nullptr) {
        SetFocus(nullptr);
    }
    return previous;
}

HWND WINAPI GetForegroundWindow(void)
{
    return Windows().active;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd)
{
    return IsWindow(hWnd) && (SetActiveWindow(hWnd), TRUE);
}

HWND WINAPI SetCapture(HWND hWnd)
{
    Registry &registry = Windows();
    const HWND previous = registry.capture;
    if (hWnd != nullptr && !IsWindow(hWnd)) {
        return nullptr;
    }
    registry.capture = hWnd;
    if (previous != nullptr && previous != hWnd && IsWindow(previous)) {
        Send(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd), true);
    }
    return previous;
}

BOOL WINAPI ReleaseCapture(void)
{
    SetCapture(nullptr);
    return TRUE;
}

HWND WINAPI GetCapture(void)
{
    return Windows().capture;
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    return IsWindow(hWnd)
               ? static_cast<BOOL>(SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)))
               : (SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE);
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    return IsWindow(hWnd)
               ? static_cast<BOOL>(SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)))
               : (SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE);
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    if (lpString == nullptr || nMaxCount <= 0) {
        return 0;
    }
    lpString[0] = 0;
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(
        SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    if (lpString == nullptr || nMaxCount <= 0) {
        return 0;
    }
    lpString[0] = 0;
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(
        SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd)
{
    return IsWindow(hWnd) ? static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0))
                          : (SetLastError(ERROR_INVALID_WINDOW_HANDLE), 0);
}

int WINAPI GetWindowTextLengthA(HWND hWnd)
{
    return IsWindow(hWnd) ? static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0))
                          : (SetLastError(ERROR_INVALID_WINDOW_HANDLE), 0);
}
