// Windows: creation and destruction, the handle table, the hierarchy of parents, owners and
// children, showing and enabling, and window text.
#include "window.h"

#include "host.h"
#include "menu.h"
#include "text.h"

#include <algorithm>
#include <map>

namespace platform::user32 {

namespace {

// Handles are small even numbers, never reused, so a stale handle is never a live window.
constexpr UINT_PTR kFirstHandle = 0x10020;
constexpr UINT_PTR kHandleStep = 2;
// The desktop window: no window of the table, it stands for the screen as a parent. A child of it
// is a top-level window that keeps WS_CHILD (a combo box's drop-down list).
constexpr UINT_PTR kDesktopHandle = 0x10010;
constexpr int kDefaultX = 0;
constexpr int kDefaultY = 0;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

struct Registry {
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel; // creation order
    UINT_PTR nextHandle = kFirstHandle;
};

Registry &Windows()
{
    static Registry registry;
    return registry;
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

// Sends WM_DESTROY to a window and then to its children, as the platform does.
void SendDestroy(HWND hwnd)
{
    Window *window = LookupQuiet(hwnd);
    if (window == nullptr) {
        return;
    }
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
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
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    window = LookupQuiet(hwnd);
    if (window == nullptr) {
        return;
    }
    KillWindowTimers(hwnd);
    DestroySystemMenu(hwnd);
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

std::vector<HWND> &SiblingsOf(Window *window)
{
    if (IsRealChild(window)) {
        return Lookup(window->parent)->children;
    }
    return Windows().topLevel;
}

bool InSubtree(HWND root, HWND hwnd)
{
    return hwnd != nullptr && (hwnd == root || IsChild(root, hwnd));
}

void UpdateHostLook(const Window &window)
{
    if (window.surface == nullptr) {
        return;
    }
    // An owned window without a caption is a popup: no desktop frames or places it.
    const bool popup = window.owner != nullptr && (window.style & WS_CAPTION) != WS_CAPTION;
    const bool menu = (window.style & WS_SYSMENU) != 0;
    const bool closeBox =
        (window.style & WS_CAPTION) == WS_CAPTION && menu && (window.windowClass->style & CS_NOCLOSE) == 0;
    host::SetLook(window.handle,
                  {window.rect, window.client, window.text, window.owner,
                   popup ? host::WindowKind::Popup : host::WindowKind::Framed,
                   menu && (window.style & WS_MINIMIZEBOX) != 0, menu && (window.style & WS_MAXIMIZEBOX) != 0,
                   (window.style & WS_THICKFRAME) != 0, closeBox});
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
            host::SetVisibility(window->handle, host::Visibility::Shown);
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
        host::SetVisibility(window->handle, host::Visibility::Hidden);
    }
    if (InSubtree(window->handle, GetFocus())) {
        SetFocus(IsRealChild(window) ? window->parent : nullptr);
    }
}

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

namespace {

// Whether the window and every parent up to its top-level window have `style` set, or all have it
// clear.
bool WholeChain(Window *window, DWORD style, bool set)
{
    for (Window *at = window; at != nullptr; at = IsRealChild(at) ? LookupQuiet(at->parent) : nullptr) {
        if (((at->style & style) != 0) != set) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsVisibleOnScreen(Window *window)
{
    return WholeChain(window, WS_VISIBLE, true);
}

bool IsEnabledChain(Window *window)
{
    return WholeChain(window, WS_DISABLED, false);
}

namespace {

// What CreateWindowExA and CreateWindowExW ask for; `strings` is the caller's kind.
struct Creation {
    DWORD exStyle;
    std::u16string className;
    LPCVOID name;
    CharSet strings;
    DWORD style;
    int x;
    int y;
    int width;
    int height;
    HWND parent;
    HMENU menu;
    HINSTANCE instance;
    LPVOID param;
    bool childOfDesktop = false; // a child of the desktop: top-level, with WS_CHILD kept
};

// The window a creation asks for, before it is in the table: its styles as the platform
// completes them, its parent or owner, and its place.
std::unique_ptr<Window> NewWindow(const Creation &creation, WindowClass *windowClass, Window *parentWindow)
{
    const DWORD style = creation.style;
    auto window = std::make_unique<Window>();
    window->windowClass = windowClass;
    window->procedure = windowClass->procedure;
    window->unicode = windowClass->unicode;
    window->style = style & ~static_cast<DWORD>(WS_VISIBLE); // shown once created
    window->exStyle = creation.exStyle;
    if ((style & WS_CHILD) == 0) {
        window->style |= WS_CLIPSIBLINGS;
        if ((style & WS_POPUP) == 0) {
            window->style |= WS_CAPTION; // an overlapped window always has a caption
        }
    }
    if ((window->style & WS_CAPTION) == WS_CAPTION || (creation.exStyle & WS_EX_DLGMODALFRAME) != 0) {
        window->exStyle |= WS_EX_WINDOWEDGE;
    }
    window->instance = creation.instance;
    window->extra.assign(static_cast<size_t>(windowClass->windowExtra), 0);
    if ((style & WS_CHILD) != 0) {
        window->parent = creation.parent; // none for a child of the desktop
        window->id = reinterpret_cast<LONG_PTR>(creation.menu);
    } else if (parentWindow != nullptr) {
        window->owner = TopLevelOf(parentWindow)->handle;
    }
    POINT origin = {creation.x, creation.y};
    SIZE size = {creation.width, creation.height};
    if ((style & WS_CHILD) == 0 && origin.x == CW_USEDEFAULT) {
        origin = {kDefaultX, kDefaultY};
    }
    if ((style & WS_CHILD) == 0 && size.cx == CW_USEDEFAULT) {
        size = {kDefaultWidth, kDefaultHeight};
    }
    window->rect = {origin.x, origin.y, origin.x + std::max(size.cx, LONG{0}),
                    origin.y + std::max(size.cy, LONG{0})};
    UpdateClientRect(window.get());
    return window;
}

// Sends WM_NCCREATE and WM_CREATE with the creation parameters in the caller's kind of strings;
// false when the window refused to be created or is gone.
template <typename Struct, typename Char>
bool SendCreate(HWND hwnd, const Creation &creation, const Char *className)
{
    Window *window = LookupQuiet(hwnd);
    auto create = MakeCreateStruct<Struct>(window, creation.param, creation.menu,
                                           static_cast<const Char *>(creation.name), className);
    const bool unicode = std::is_same_v<Struct, CREATESTRUCTW>;
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create), unicode) ||
        LookupQuiet(hwnd) == nullptr) {
        return false;
    }
    UpdateClientRect(LookupQuiet(hwnd)); // the frame of the styles WM_NCCREATE left
    UpdateHostLook(*LookupQuiet(hwnd));  // and the text it set
    return Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create), unicode) != -1 &&
           LookupQuiet(hwnd) != nullptr;
}

// What a created window hears once it exists: its size and place, its parent's notice, and its
// showing when it was created visible.
void AnnounceCreated(HWND hwnd, const Creation &creation)
{
    const Window *window = LookupQuiet(hwnd);
    SendMessageW(
        hwnd, WM_SIZE, SIZE_RESTORED,
        MAKELPARAM(window->client.right - window->client.left, window->client.bottom - window->client.top));
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(window->client.left, window->client.top));
    window = LookupQuiet(hwnd);
    if (window != nullptr && IsRealChild(window) && (creation.exStyle & WS_EX_NOPARENTNOTIFY) == 0) {
        SendMessageW(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, window->id),
                     reinterpret_cast<LPARAM>(hwnd));
    }
    if ((creation.style & WS_VISIBLE) != 0 && IsWindow(hwnd)) {
        ShowWindow(hwnd, SW_SHOW);
    }
}

// An overlapped or sizable window starts within the sizes it may be tracked to, as it answers
// WM_GETMINMAXINFO (the first message it hears); other windows take the size asked for.
void KeepToTrackingLimits(HWND hwnd, const Creation &creation)
{
    if ((creation.style & WS_THICKFRAME) == 0 && (creation.style & (WS_POPUP | WS_CHILD)) != 0) {
        return;
    }
    Window *window = LookupQuiet(hwnd);
    const RECT insets = NonClientInsets(window->style, window->exStyle);
    MINMAXINFO limits = {};
    limits.ptMaxSize = {GetSystemMetrics(SM_CXSCREEN) + insets.left + insets.right,
                        GetSystemMetrics(SM_CYSCREEN) + insets.bottom * 2};
    limits.ptMaxPosition = {-insets.left, -insets.bottom};
    limits.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    limits.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    window = LookupQuiet(hwnd);
    if (window == nullptr) {
        return;
    }
    RECT &rect = window->rect;
    rect.right = rect.left + std::clamp(rect.right - rect.left, limits.ptMinTrackSize.x,
                                        std::max(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x));
    rect.bottom = rect.top + std::clamp(rect.bottom - rect.top, limits.ptMinTrackSize.y,
                                        std::max(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y));
    UpdateClientRect(window);
}

HWND CreateWindowCommon(Creation creation)
{
    if (creation.parent == GetDesktopWindow()) {
        creation.parent = nullptr;
        creation.childOfDesktop = true;
    }
    WindowClass *windowClass = FindClass(creation.className);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS); // Windows 10's answer; Wine 8 and older Windows give 1411
        return nullptr;
    }
    const HWND parent = creation.parent;
    Window *parentWindow = parent == nullptr || parent == HWND_MESSAGE ? nullptr : Lookup(parent);
    if ((creation.style & WS_CHILD) != 0 && parentWindow == nullptr && !creation.childOfDesktop) {
        SetLastError(parent == nullptr ? ERROR_TLW_WITH_WSCHILD : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (parent != nullptr && parent != HWND_MESSAGE && parentWindow == nullptr) {
        return nullptr;
    }
    Registry &registry = Windows();
    std::unique_ptr<Window> created = NewWindow(creation, windowClass, parentWindow);
    Window *window = created.get();
    auto *const hwnd = reinterpret_cast<HWND>(registry.nextHandle);
    registry.nextHandle += kHandleStep;
    window->handle = hwnd;
    registry.windows.emplace(hwnd, std::move(created));
    ++windowClass->windows;
    KeepToTrackingLimits(hwnd, creation);
    if (LookupQuiet(hwnd) == nullptr) {
        return nullptr;
    }
    if (parentWindow != nullptr && (creation.style & WS_CHILD) != 0) {
        parentWindow->children.push_back(hwnd);
    } else {
        registry.topLevel.push_back(hwnd);
        window->surface = host::CreateSurface(hwnd, window->rect.right - window->rect.left,
                                              window->rect.bottom - window->rect.top);
        UpdateHostLook(*window);
    }
    const bool accepted =
        creation.strings == CharSet::Wide
            ? SendCreate<CREATESTRUCTW>(hwnd, creation, AsWide(windowClass->name))
            : SendCreate<CREATESTRUCTA>(hwnd, creation, text::ToAnsi(windowClass->name).c_str());
    if (!accepted) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    AnnounceCreated(hwnd, creation);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

} // namespace

} // namespace platform::user32

using namespace platform::user32;
namespace text = platform::text;

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam)
{
    if (lpClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateWindowCommon({dwExStyle, ClassNameArgument(lpClassName), lpWindowName, CharSet::Wide,
                               dwStyle, X, Y, nWidth, nHeight, hWndParent, hMenu, hInstance, lpParam});
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam)
{
    if (lpClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // A class atom names the class as it does to CreateWindowExW.
    std::u16string className = IS_INTRESOURCE(lpClassName)
                                   ? ClassNameArgument(reinterpret_cast<LPCWSTR>(lpClassName))
                                   : text::FromAnsi(lpClassName);
    return CreateWindowCommon({dwExStyle, std::move(className), lpWindowName, CharSet::Ansi, dwStyle, X, Y,
                               nWidth, nHeight, hWndParent, hMenu, hInstance, lpParam});
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
        SendMessageW(window->parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, window->id),
                     reinterpret_cast<LPARAM>(hWnd));
    }
    if (InSubtree(hWnd, GetFocus())) {
        window = LookupQuiet(hWnd);
        SetFocus(window != nullptr && IsRealChild(window) ? window->parent : nullptr);
    }
    if (InSubtree(hWnd, GetCapture())) {
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
        SendMessageW(hWnd, WM_ENABLE, TRUE, 0);
    } else if (!bEnable && !wasDisabled) {
        SendMessageW(hWnd, WM_CANCELMODE, 0, 0);
        window = LookupQuiet(hWnd);
        if (window == nullptr) {
            return FALSE;
        }
        window->style |= WS_DISABLED;
        if (InSubtree(hWnd, GetFocus())) {
            SetFocus(nullptr);
        }
        if (InSubtree(hWnd, GetCapture())) {
            ReleaseCapture();
        }
        SendMessageW(hWnd, WM_ENABLE, FALSE, 0);
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
        SendMessageW(hWnd, WM_SHOWWINDOW, show, 0);
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
    if (window != nullptr && activates && !IsRealChild(window) && GetActiveWindow() != hWnd) {
        SetActiveWindow(hWnd);
    }
    return wasVisible;
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
    if ((window->style & WS_CHILD) != 0) {
        return GetDesktopWindow();
    }
    return (window->style & WS_POPUP) != 0 ? window->owner : nullptr;
}

HWND WINAPI GetDesktopWindow()
{
    return reinterpret_cast<HWND>(kDesktopHandle);
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
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return self + 1 == siblings.end() ? nullptr : *(self + 1);
    case GW_HWNDPREV: return self == siblings.begin() ? nullptr : *(self - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

// The first child in Z order; for no window, the first top-level window, as the desktop's child.
HWND WINAPI GetTopWindow(HWND hWnd)
{
    if (hWnd == nullptr) {
        const std::vector<HWND> &topLevel = Windows().topLevel;
        return topLevel.empty() ? nullptr : topLevel.front();
    }
    return GetWindow(hWnd, GW_CHILD);
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
