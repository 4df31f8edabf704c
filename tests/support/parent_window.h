// A top-level window that hosts controls under test and records what they tell it; destroyed
// with the object, together with whatever it left in the queue.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test {

// One notification as it reached the parent. WM_VSCROLL keeps its scroll code in `code`.
struct Notification {
    UINT message;
    int id;
    int code;

    bool operator==(const Notification &other) const
    {
        return message == other.message && id == other.id && code == other.code;
    }
};

// Readable failures: gtest prints notifications with this.
void PrintTo(const Notification &notification, std::ostream *stream);

Notification Command(int id, int code);
Notification Notify(int id, int code);
Notification VScroll(int code);

class ParentWindow {
public:
    ParentWindow();
    ~ParentWindow();
    ParentWindow(const ParentWindow &) = delete;
    ParentWindow &operator=(const ParentWindow &) = delete;

    HWND hwnd() const { return hwnd_; }

    // A child control at `rect` (client coordinates of the parent).
    HWND Add(const WCHAR *className, DWORD style, int id, RECT rect, const WCHAR *text = L"");

    // Everything received since the last Clear().
    const std::vector<Notification> &Log() const { return log_; }
    void Clear() { log_.clear(); }
    // The WM_COMMAND codes one control sent, in order.
    std::vector<int> Codes(int id) const;
    // The brush the parent answers WM_CTLCOLOR* with; none leaves it to DefWindowProc.
    void AnswerColors(HBRUSH brush) { colors_ = brush; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    std::vector<Notification> log_;
    HBRUSH colors_ = nullptr;
};

std::string Text(HWND control);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

} // namespace test
