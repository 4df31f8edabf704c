// Window classes: registration, lookup by name without case, and the built-in classes.
#include "window.h"

#include "controls/controls.h"
#include "menu_internal.h"
#include "text.h"

#include <list>

namespace platform::user32 {

namespace {

constexpr char16_t kDialogClassName[] = u"#32770";

std::list<WindowClass> &Classes()
{
    static std::list<WindowClass> classes;
    return classes;
}

bool SameName(const std::u16string &a, const std::u16string &b)
{
    return lstrcmpiW(AsWide(a), AsWide(b)) == 0;
}

} // namespace

std::u16string ClassNameArgument(LPCWSTR name)
{
    if (IS_INTRESOURCE(name)) {
        for (const WindowClass &entry : Classes()) {
            if (entry.atom == LOWORD(reinterpret_cast<ULONG_PTR>(name))) {
                return entry.name;
            }
        }
        return {};
    }
    return FromWide(name);
}

namespace {

// Class atoms live in the range the platform gives them.
constexpr ATOM kFirstClassAtom = 0xC000;

ATOM AtomOf(const WindowClass &entry)
{
    return entry.atom;
}

ATOM Register(const WNDCLASSEXW &description, bool unicode, const std::u16string &name)
{
    if (description.lpfnWndProc == nullptr || name.empty() || description.cbClsExtra < 0 ||
        description.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(name) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    static ATOM nextAtom = kFirstClassAtom;
    WindowClass entry;
    entry.name = name;
    entry.atom = nextAtom++;
    entry.style = description.style;
    entry.procedure = description.lpfnWndProc;
    entry.unicode = unicode;
    entry.registeredProcedure = entry.procedure;
    entry.registeredUnicode = unicode;
    entry.classExtra = description.cbClsExtra;
    entry.windowExtra = description.cbWndExtra;
    entry.instance = description.hInstance;
    entry.icon = description.hIcon;
    entry.cursor = description.hCursor;
    entry.background = description.hbrBackground;
    entry.extra.assign(static_cast<size_t>(description.cbClsExtra), 0);
    Classes().push_back(std::move(entry));
    return AtomOf(Classes().back());
}

WNDCLASSEXW Extend(const WNDCLASSW &description)
{
    return {sizeof(WNDCLASSEXW),      description.style,         description.lpfnWndProc,
            description.cbClsExtra,   description.cbWndExtra,    description.hInstance,
            description.hIcon,        description.hCursor,       description.hbrBackground,
            description.lpszMenuName, description.lpszClassName, nullptr};
}

LRESULT CALLBACK DialogClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

} // namespace

WindowClass *FindClass(const std::u16string &name)
{
    RegisterBuiltInClasses();
    for (WindowClass &entry : Classes()) {
        if (SameName(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<bool> RegisteredProcedureTakesWide(WNDPROC procedure)
{
    for (const WindowClass &entry : Classes()) {
        if (entry.registeredProcedure == procedure) {
            return entry.registeredUnicode;
        }
    }
    return std::nullopt;
}

void RegisterBuiltInClasses()
{
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    WNDCLASSEXW dialog = {};
    dialog.cbSize = sizeof(dialog);
    dialog.style = CS_DBLCLKS | CS_SAVEBITS;
    dialog.lpfnWndProc = DialogClassProcedure;
    dialog.cbWndExtra = DLGWINDOWEXTRA;
    dialog.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Register(dialog, true, kDialogClassName);
    RegisterStaticClass();
    RegisterButtonClass();
    RegisterEditClass();
    RegisterComboBoxClass();
    menus::RegisterMenuClass();
}

} // namespace platform::user32

using namespace platform::user32;
namespace text = platform::text;

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW *lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->cbSize != sizeof(WNDCLASSEXW) ||
        lpWndClass->lpszClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    RegisterBuiltInClasses();
    return Register(*lpWndClass, true, ClassNameArgument(lpWndClass->lpszClassName));
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->cbSize != sizeof(WNDCLASSEXA) ||
        lpWndClass->lpszClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    RegisterBuiltInClasses();
    WNDCLASSEXW wide = {};
    memcpy(&wide, lpWndClass, sizeof(wide)); // the same layout, pointers aside
    wide.lpszMenuName = nullptr;
    wide.lpszClassName = nullptr;
    const std::u16string name = IS_INTRESOURCE(lpWndClass->lpszClassName)
                                    ? ClassNameArgument(reinterpret_cast<LPCWSTR>(lpWndClass->lpszClassName))
                                    : text::FromAnsi(lpWndClass->lpszClassName);
    return Register(wide, false, name);
}

ATOM WINAPI RegisterClassW(const WNDCLASSW *lpWndClass)
{
    if (lpWndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const WNDCLASSEXW extended = Extend(*lpWndClass);
    return RegisterClassExW(&extended);
}

ATOM WINAPI RegisterClassA(const WNDCLASSA *lpWndClass)
{
    if (lpWndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA extended = {sizeof(WNDCLASSEXA),      lpWndClass->style,         lpWndClass->lpfnWndProc,
                            lpWndClass->cbClsExtra,   lpWndClass->cbWndExtra,    lpWndClass->hInstance,
                            lpWndClass->hIcon,        lpWndClass->hCursor,       lpWndClass->hbrBackground,
                            lpWndClass->lpszMenuName, lpWndClass->lpszClassName, nullptr};
    return RegisterClassExA(&extended);
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE /*hInstance*/)
{
    if (lpClassName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::u16string name = ClassNameArgument(lpClassName);
    for (auto it = Classes().begin(); it != Classes().end(); ++it) {
        if (SameName(it->name, name)) {
            if (it->windows > 0) {
                SetLastError(ERROR_CLASS_HAS_WINDOWS);
                return FALSE;
            }
            Classes().erase(it);
            return TRUE;
        }
    }
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance)
{
    if (lpClassName == nullptr || IS_INTRESOURCE(lpClassName)) {
        return UnregisterClassW(reinterpret_cast<LPCWSTR>(lpClassName), hInstance);
    }
    return UnregisterClassW(AsWide(text::FromAnsi(lpClassName)), hInstance);
}

BOOL WINAPI GetClassInfoExW(HINSTANCE /*hInstance*/, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx)
{
    WindowClass *entry = lpszClass == nullptr ? nullptr : FindClass(ClassNameArgument(lpszClass));
    if (entry == nullptr || lpwcx == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *lpwcx = {sizeof(WNDCLASSEXW), entry->style,    entry->procedure, entry->classExtra,
              entry->windowExtra,  entry->instance, entry->icon,      entry->cursor,
              entry->background,   nullptr,         lpszClass,        entry->icon};
    return AtomOf(*entry);
}

BOOL WINAPI GetClassInfoExA(HINSTANCE hInstance, LPCSTR lpszClass, LPWNDCLASSEXA lpwcx)
{
    if (lpszClass == nullptr || lpwcx == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::u16string name = IS_INTRESOURCE(lpszClass) ? std::u16string() : text::FromAnsi(lpszClass);
    WNDCLASSEXW wide = {};
    const BOOL found = GetClassInfoExW(
        hInstance, IS_INTRESOURCE(lpszClass) ? reinterpret_cast<LPCWSTR>(lpszClass) : AsWide(name), &wide);
    if (found) {
        memcpy(lpwcx, &wide, sizeof(*lpwcx));
        lpwcx->cbSize = sizeof(WNDCLASSEXA);
        lpwcx->lpszMenuName = nullptr;
        lpwcx->lpszClassName = lpszClass;
    }
    return found;
}

namespace {

// The older form: the same class without its small icon, from the extended call of either width.
template <typename Char, typename Info, typename FullInfo>
BOOL ClassInfoWithoutSmallIcon(HINSTANCE instance, const Char *name, Info *info,
                               BOOL(WINAPI *getFull)(HINSTANCE, const Char *, FullInfo *))
{
    FullInfo full = {};
    full.cbSize = sizeof(full);
    if (info == nullptr || !getFull(instance, name, &full)) {
        return FALSE;
    }
    *info = {full.style, full.lpfnWndProc, full.cbClsExtra,    full.cbWndExtra,   full.hInstance,
             full.hIcon, full.hCursor,     full.hbrBackground, full.lpszMenuName, full.lpszClassName};
    return TRUE;
}

} // namespace

BOOL WINAPI GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass)
{
    return ClassInfoWithoutSmallIcon(hInstance, lpClassName, lpWndClass, GetClassInfoExA);
}

BOOL WINAPI GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass)
{
    return ClassInfoWithoutSmallIcon(hInstance, lpClassName, lpWndClass, GetClassInfoExW);
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr || lpClassName == nullptr || nMaxCount <= 0) {
        return 0;
    }
    return static_cast<int>(
        text::CopyToBuffer(window->windowClass->name, lpClassName, static_cast<size_t>(nMaxCount)));
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr || lpClassName == nullptr || nMaxCount <= 0) {
        return 0;
    }
    return static_cast<int>(text::CopyToBuffer(text::ToAnsi(window->windowClass->name), lpClassName,
                                               static_cast<size_t>(nMaxCount)));
}

ULONG_PTR WINAPI GetClassLongPtrW(HWND hWnd, int nIndex)
{
    Window *window = Lookup(hWnd);
    if (window == nullptr) {
        return 0;
    }
    const WindowClass &entry = *window->windowClass;
    switch (nIndex) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(entry.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(entry.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(entry.icon);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(entry.procedure);
    case GCL_STYLE: return entry.style;
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(entry.windowExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(entry.classExtra);
    case GCW_ATOM: return AtomOf(entry);
    default:
        if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(ULONG_PTR) <= entry.extra.size()) {
            ULONG_PTR value = 0;
            memcpy(&value, entry.extra.data() + nIndex, sizeof(value));
            return value;
        }
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND hWnd, int nIndex)
{
    return GetClassLongPtrW(hWnd, nIndex);
}

namespace {

// A new procedure keeps the kind of strings its setter uses, or the kind a handle stands for, or
// the class's own kind when it is the class's own procedure put back; windows made from then on
// start with it. The previous one is given back as it was.
ULONG_PTR SetClassLong(HWND hwnd, int index, LONG_PTR value, CharSet strings)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return 0;
    }
    WindowClass &entry = *window->windowClass;
    const ULONG_PTR previous = GetClassLongPtrW(hwnd, index);
    switch (index) {
    case GCLP_WNDPROC: {
        auto procedure = reinterpret_cast<WNDPROC>(value);
        bool unicode = strings == CharSet::Wide;
        if (!ResolveProcedureHandle(procedure, unicode) && procedure == entry.registeredProcedure) {
            unicode = entry.registeredUnicode; // put back, whichever side reads and writes it
        }
        entry.procedure = procedure;
        entry.unicode = unicode;
        break;
    }
    case GCLP_HBRBACKGROUND: entry.background = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: entry.cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HICON: entry.icon = reinterpret_cast<HICON>(value); break;
    case GCL_STYLE: entry.style = static_cast<UINT>(value); break;
    default:
        if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= entry.extra.size()) {
            memcpy(entry.extra.data() + index, &value, sizeof(value));
            break;
        }
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return previous;
}

} // namespace

ULONG_PTR WINAPI SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    return SetClassLong(hWnd, nIndex, dwNewLong, CharSet::Wide);
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    return SetClassLong(hWnd, nIndex, dwNewLong, CharSet::Ansi);
}
