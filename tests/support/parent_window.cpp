#include "parent_window.h"

#include <commctrl.h>

#include <ostream>

namespace test {

namespace {

constexpr WCHAR kClassName[] = L"ControlTestParent";
constexpr RECT kParentRect = {0, 0, 400, 300};

} // namespace

LRESULT CALLBACK ParentWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *parent = reinterpret_cast<ParentWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (parent == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_COMMAND: parent->log_.push_back(Command(LOWORD(wParam), HIWORD(wParam))); return 0;
    case WM_NOTIFY: {
        const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
        parent->log_.push_back(Notify(static_cast<int>(header->idFrom), static_cast<int>(header->code)));
        return 0;
    }
    case WM_VSCROLL: parent->log_.push_back(VScroll(LOWORD(wParam))); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (parent->colors_) {
            return reinterpret_cast<LRESULT>(parent->colors_);
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void PrintTo(const Notification &notification, std::ostream *stream)
{
    *stream << "{message 0x" << std::hex << notification.message << std::dec << ", id " << notification.id
            << ", code " << notification.code << "}";
}

Notification Command(int id, int code)
{
    return {WM_COMMAND, id, code};
}

Notification Notify(int id, int code)
{
    return {WM_NOTIFY, id, code};
}

Notification VScroll(int code)
{
    return {WM_VSCROLL, 0, code};
}

ParentWindow::ParentWindow()
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass); // fails harmlessly when an earlier test registered it

    hwnd_ = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, kParentRect.left, kParentRect.top,
                            kParentRect.right, kParentRect.bottom, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
    Clear();
}

ParentWindow::~ParentWindow()
{
    DestroyWindow(hwnd_);
    // What the window and its controls left queued must not reach the next test.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

HWND ParentWindow::Add(const WCHAR *className, DWORD style, int id, RECT rect, const WCHAR *text)
{
    HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
    Clear();
    return child;
}

std::vector<int> ParentWindow::Codes(int id) const
{
    std::vector<int> codes;
    for (const Notification &notification : log_) {
        if (notification.message == WM_COMMAND && notification.id == id) {
            codes.push_back(notification.code);
        }
    }
    return codes;
}

std::string Text(HWND control)
{
    char buffer[256] = {};
    GetWindowTextA(control, buffer, sizeof(buffer));
    return buffer;
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

} // namespace test
