// Window properties: named handles a program hangs on a window (SetProp, GetProp, RemoveProp).
#include "window.h"

#include "text.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace platform::user32 {

namespace {

// A property's key: its name, compared without case, or "#n" for an atom.
std::u16string KeyOf(LPCWSTR name)
{
    if (IS_INTRESOURCE(name)) {
        const std::string number = "#" + std::to_string(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
        return {number.begin(), number.end()};
    }
    std::u16string key = FromWide(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char16_t c) { return c < 0x80 ? static_cast<char16_t>(std::tolower(c)) : c; });
    return key;
}

std::u16string KeyOf(LPCSTR name)
{
    if (IS_INTRESOURCE(name)) {
        return KeyOf(reinterpret_cast<LPCWSTR>(name));
    }
    const std::u16string wide = text::FromAnsi(name);
    return KeyOf(AsWide(wide));
}

auto Find(Window &window, const std::u16string &key)
{
    return std::find_if(window.properties.begin(), window.properties.end(),
                        [&key](const auto &entry) { return entry.first == key; });
}

BOOL SetProperty(HWND hwnd, const std::u16string &key, HANDLE data)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return FALSE;
    }
    auto found = Find(*window, key);
    if (found != window->properties.end()) {
        found->second = data;
    } else {
        window->properties.emplace_back(key, data);
    }
    return TRUE;
}

HANDLE GetProperty(HWND hwnd, const std::u16string &key)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return nullptr;
    }
    auto found = Find(*window, key);
    return found != window->properties.end() ? found->second : nullptr;
}

HANDLE RemoveProperty(HWND hwnd, const std::u16string &key)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return nullptr;
    }
    auto found = Find(*window, key);
    if (found == window->properties.end()) {
        return nullptr;
    }
    HANDLE data = found->second;
    window->properties.erase(found);
    return data;
}

} // namespace

} // namespace platform::user32

using namespace platform::user32;

BOOL WINAPI SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData)
{
    return SetProperty(hWnd, KeyOf(lpString), hData);
}

BOOL WINAPI SetPropA(HWND hWnd, LPCSTR lpString, HANDLE hData)
{
    return SetProperty(hWnd, KeyOf(lpString), hData);
}

HANDLE WINAPI GetPropW(HWND hWnd, LPCWSTR lpString)
{
    return GetProperty(hWnd, KeyOf(lpString));
}

HANDLE WINAPI GetPropA(HWND hWnd, LPCSTR lpString)
{
    return GetProperty(hWnd, KeyOf(lpString));
}

HANDLE WINAPI RemovePropW(HWND hWnd, LPCWSTR lpString)
{
    return RemoveProperty(hWnd, KeyOf(lpString));
}

HANDLE WINAPI RemovePropA(HWND hWnd, LPCSTR lpString)
{
    return RemoveProperty(hWnd, KeyOf(lpString));
}
