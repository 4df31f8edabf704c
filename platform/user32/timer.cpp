// Timers: WM_TIMER is made on demand when a timer falls due, as the queue is read.
#include "window.h"

#include "host.h"

#include <algorithm>

namespace platform::user32 {

namespace {

// Timer periods are clamped to the platform's limits.
constexpr UINT kTimerMinimum = 0x0000000A;

constexpr UINT kTimerMaximum = 0x7FFFFFFF;

// Timers without a window get ids of their own.
constexpr UINT_PTR kFirstThreadTimerId = 0x7FFE;

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    DWORD due;
    TIMERPROC procedure;
};

struct Timers {
    std::vector<Timer> all;
    UINT_PTR nextThreadTimerId = kFirstThreadTimerId;
};

Timers &TheTimers()
{
    static Timers timers;
    return timers;
}

bool Due(const Timer &timer, DWORD now)
{
    return static_cast<LONG>(now - timer.due) >= 0;
}

} // namespace

// The moment the next timer falls due, or INFINITE.
DWORD NextTimerDue()
{
    const std::vector<Timer> &timers = TheTimers().all;
    if (timers.empty()) {
        return INFINITE;
    }
    const DWORD now = host::Now();
    DWORD soonest = timers.front().due;
    for (const Timer &timer : timers) {
        if (static_cast<LONG>(timer.due - soonest) < 0) {
            soonest = timer.due;
        }
    }
    return static_cast<LONG>(soonest - now) < 0 ? now : soonest;
}

void KillWindowTimers(HWND hwnd)
{
    auto &timers = TheTimers().all;
    timers.erase(
        std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer &t) { return t.hwnd == hwnd; }),
        timers.end());
}

std::optional<MSG> TakeDueTimer(HWND hwnd, UINT first, UINT last, bool remove)
{
    const DWORD now = host::Now();
    for (Timer &timer : TheTimers().all) {
        const MSG candidate =
            MakeMessage(timer.hwnd, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure));
        if (Due(timer, now) && MatchesFilter(candidate, hwnd, first, last)) {
            if (remove) {
                timer.due = now + timer.period;
            }
            return candidate;
        }
    }
    return std::nullopt;
}

bool CallTimerProcedure(const MSG &msg)
{
    // Only a procedure some timer really has is called.
    const auto &timers = TheTimers().all;
    const auto timer = std::find_if(timers.begin(), timers.end(), [&msg](const Timer &candidate) {
        return reinterpret_cast<LPARAM>(candidate.procedure) == msg.lParam && candidate.hwnd == msg.hwnd &&
               candidate.id == msg.wParam;
    });
    if (timer == timers.end()) {
        return false;
    }
    timer->procedure(msg.hwnd, WM_TIMER, msg.wParam, host::Now());
    return true;
}

} // namespace platform::user32

using namespace platform::user32;

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd != nullptr && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    Timers &timers = TheTimers();
    const UINT period = std::clamp(uElapse, kTimerMinimum, kTimerMaximum);
    const DWORD due = platform::host::Now() + period;
    for (Timer &timer : timers.all) {
        if (timer.hwnd == hWnd && timer.id == nIDEvent && (hWnd != nullptr || nIDEvent != 0)) {
            timer = {hWnd, nIDEvent, period, due, lpTimerFunc};
            return hWnd != nullptr ? TRUE : nIDEvent;
        }
    }
    const UINT_PTR id = hWnd != nullptr ? nIDEvent : timers.nextThreadTimerId++;
    timers.all.push_back({hWnd, id, period, due, lpTimerFunc});
    return hWnd != nullptr ? TRUE : id;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    auto &timers = TheTimers().all;
    const auto found = std::find_if(timers.begin(), timers.end(),
                                    [&](const Timer &t) { return t.hwnd == hWnd && t.id == uIDEvent; });
    if (found == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers.erase(found); // its WM_TIMER is made on demand, so none can still be waiting
    return TRUE;
}
