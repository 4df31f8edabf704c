// The thread's message queue: sent and posted messages, device input routed to the window that
// takes it as it is read, and paint and quit messages made on demand.
#include "window.h"

#include "host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>

namespace platform::user32 {

namespace {

struct Queue {
    std::deque<MSG> posted;
    // Input from the host, routed only when it is read: keys typed ahead go to the focus of
    // that moment, so a Tab followed by digits puts the digits into the next field.
    std::deque<host::Event> input;
    bool quitPosted = false;
    int quitCode = 0;
    DWORD lastMessageTime = 0;
    MSG lastClick = {}; // the last button press, which a second one may make a double click
};

Queue &TheQueue()
{
    static Queue queue;
    return queue;
}

// The first window, parent before children, that has something to paint.
HWND FindPaintWindow(HWND root, HWND filter)
{
    Window *window = LookupQuiet(root);
    if (window == nullptr || (window->style & WS_VISIBLE) == 0) {
        return nullptr;
    }
    const bool wanted = filter == nullptr || filter == root || IsChild(filter, root);
    if (wanted && (!IsRectEmpty(&window->update) || window->internalPaint)) {
        return root;
    }
    for (HWND child : window->children) {
        if (HWND found = FindPaintWindow(child, filter)) {
            return found;
        }
    }
    return nullptr;
}

bool IsButtonPress(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// A second press of the same button on the same window, soon and close enough, is a double
// click for a window whose class asks for them.
void MakeDoubleClick(MSG &msg)
{
    const MSG &last = TheQueue().lastClick;
    Window *window = LookupQuiet(msg.hwnd);
    if (!IsButtonPress(msg.message) || window == nullptr || (window->windowClass->style & CS_DBLCLKS) == 0 ||
        last.message != msg.message || last.hwnd != msg.hwnd ||
        msg.time - last.time >= GetDoubleClickTime() ||
        std::abs(msg.pt.x - last.pt.x) >= GetSystemMetrics(SM_CXDOUBLECLK) / 2 ||
        std::abs(msg.pt.y - last.pt.y) >= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
        return;
    }
    msg.message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
}

// What a removed mouse message leaves for the next press to be compared with.
void RememberClick(const MSG &msg)
{
    MSG &last = TheQueue().lastClick;
    if (IsButtonPress(msg.message)) {
        last = msg;
    } else if (IsButtonPress(msg.message - (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN))) {
        last = {}; // after a double click, a third press starts afresh
    }
}

// Whether a child takes the mouse at `point` (its parent's client coordinates): a disabled child
// leaves it to its parent, and so does one that calls itself transparent there, as a label does.
bool TakesMouseAt(HWND child, POINT point)
{
    Window *window = LookupQuiet(child);
    if (window == nullptr || (window->style & WS_VISIBLE) == 0 || (window->style & WS_DISABLED) != 0 ||
        !PtInRect(&window->rect, point)) {
        return false;
    }
    POINT screen = point;
    ClientToScreen(window->parent, &screen);
    return SendMessageW(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) != HTTRANSPARENT;
}

// Routes a host event to the window that takes it: keys to the focus, the mouse (and the wheel,
// as on Wine and on the platform's present versions) to the capture or to the deepest child under
// the pointer. Disabled windows take neither.
std::optional<MSG> Route(const host::Event &event)
{
    MSG msg = MakeMessage(event.window, event.message, event.wParam, event.lParam);
    const bool key = event.message >= WM_KEYFIRST && event.message <= WM_KEYLAST;
    if (key && GetFocus() != nullptr) {
        msg.hwnd = GetFocus(); // even when the window it was typed into is gone
    } else if (LookupQuiet(event.window) == nullptr) {
        return std::nullopt;
    }
    if (event.message >= WM_MOUSEFIRST && event.message <= WM_MOUSELAST) {
        POINT point = {static_cast<SHORT>(LOWORD(event.lParam)), static_cast<SHORT>(HIWORD(event.lParam))};
        msg.pt = point;
        ClientToScreen(event.window, &msg.pt);
        if (GetCapture() != nullptr) {
            msg.hwnd = GetCapture();
        } else {
            for (bool descended = true; descended;) {
                descended = false;
                Window *parent = LookupQuiet(msg.hwnd);
                for (HWND child : parent->children) {
                    if (!TakesMouseAt(child, point)) {
                        continue;
                    }
                    const Window *candidate = LookupQuiet(child);
                    point.x -= candidate->client.left;
                    point.y -= candidate->client.top;
                    msg.hwnd = child;
                    descended = true;
                    break;
                }
            }
        }
        // The wheel keeps its point on the screen; the buttons' points are the window's own.
        POINT client = msg.pt;
        const bool wheel = event.message == WM_MOUSEWHEEL || event.message == WM_MOUSEHWHEEL;
        if (!wheel) {
            ScreenToClient(msg.hwnd, &client);
        }
        msg.lParam = MAKELPARAM(client.x, client.y);
        MakeDoubleClick(msg);
    }
    if (!IsEnabledChain(LookupQuiet(msg.hwnd))) {
        return std::nullopt;
    }
    return msg;
}

bool Wants(UINT message, UINT first, UINT last)
{
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

std::optional<MSG> TakePosted(HWND hwnd, UINT first, UINT last, bool remove)
{
    std::deque<MSG> &posted = TheQueue().posted;
    const auto found = std::find_if(posted.begin(), posted.end(),
                                    [&](const MSG &msg) { return MatchesFilter(msg, hwnd, first, last); });
    if (found == posted.end()) {
        return std::nullopt;
    }
    const MSG msg = *found;
    if (remove) {
        posted.erase(found);
    }
    return msg;
}

// The Menu key asks the focus for its context menu when it comes up, at no point of the screen.
void AskForContextMenu(const MSG &msg)
{
    if (msg.message == WM_KEYUP && msg.wParam == VK_APPS) {
        PostMessageW(msg.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd), -1);
    }
}

// The first device input the filter takes, routed to its window as it is read; input no window
// takes any more is dropped, but its keys still go up or down.
std::optional<MSG> TakeInput(HWND hwnd, UINT first, UINT last, bool remove)
{
    std::deque<host::Event> &input = TheQueue().input;
    for (auto it = input.begin(); it != input.end();) {
        const std::optional<MSG> routed = Route(*it);
        if (!routed) {
            TrackKeys(MakeMessage(nullptr, it->message, it->wParam, it->lParam));
            it = input.erase(it);
            continue;
        }
        if (MatchesFilter(*routed, hwnd, first, last)) {
            if (remove) {
                input.erase(it);
                TrackKeys(*routed);
                RememberClick(*routed);
                AskForContextMenu(*routed);
            }
            return routed;
        }
        ++it;
    }
    return std::nullopt;
}

std::optional<MSG> TakeQuit(UINT first, UINT last, bool remove)
{
    Queue &queue = TheQueue();
    if (!queue.quitPosted || !Wants(WM_QUIT, first, last)) {
        return std::nullopt;
    }
    if (remove) {
        queue.quitPosted = false;
    }
    return MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
}

// WM_PAINT stays until the window validates its update region, so it is never removed here.
std::optional<MSG> FindPaint(HWND hwnd, UINT first, UINT last)
{
    const bool threadOnly = hwnd == reinterpret_cast<HWND>(-1); // paints always belong to a window
    if (threadOnly || !Wants(WM_PAINT, first, last)) {
        return std::nullopt;
    }
    for (HWND top : TopLevelWindows()) {
        if (HWND found = FindPaintWindow(top, hwnd)) {
            return MakeMessage(found, WM_PAINT, 0, 0);
        }
    }
    return std::nullopt;
}

// One retrieval pass in the platform's order: posted, input, quit, paint, timers.
std::optional<MSG> Retrieve(HWND hwnd, UINT first, UINT last, bool remove)
{
    if (auto msg = TakePosted(hwnd, first, last, remove)) {
        return msg;
    }
    if (auto msg = TakeInput(hwnd, first, last, remove)) {
        return msg;
    }
    if (auto msg = TakeQuit(first, last, remove)) {
        return msg;
    }
    if (auto msg = FindPaint(hwnd, first, last)) {
        return msg;
    }
    if (Wants(WM_TIMER, first, last)) {
        return TakeDueTimer(hwnd, first, last, remove);
    }
    return std::nullopt;
}

bool Peek(MSG *msg, HWND hwnd, UINT first, UINT last, UINT flags)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    host::Event event;
    while (host::WaitForEvent(host::Now(), event)) {
        TheQueue().input.push_back(event);
    }
    const std::optional<MSG> retrieved = Retrieve(hwnd, first, last, (flags & PM_REMOVE) != 0);
    if (!retrieved) {
        return false;
    }
    *msg = *retrieved;
    TheQueue().lastMessageTime = msg->time;
    return true;
}

// Waits for the host's next input, queuing it, or for the next timer to fall due. False when
// nothing is queued, no timer exists and no input can ever come: waiting would never end.
bool WaitForInput()
{
    const DWORD deadline = NextTimerDue();
    host::Event event;
    if (host::WaitForEvent(deadline, event)) {
        TheQueue().input.push_back(event);
        return true;
    }
    return deadline != INFINITE;
}

BOOL Get(MSG *msg, HWND hwnd, UINT first, UINT last)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd != nullptr && hwnd != reinterpret_cast<HWND>(-1) && !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    for (;;) {
        if (Peek(msg, hwnd, first, last, PM_REMOVE)) {
            return msg->message != WM_QUIT;
        }
        if (!WaitForInput()) {
            std::fputs("user32: GetMessage would wait forever (no message, timer or input can come); "
                       "returning WM_QUIT with exit code 1\n",
                       stderr);
            *msg = MakeMessage(nullptr, WM_QUIT, 1, 0);
            return FALSE;
        }
    }
}

LRESULT Dispatch(const MSG *msg, bool unicode)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        CallTimerProcedure(*msg);
        return 0;
    }
    Window *window = msg->hwnd == nullptr ? nullptr : Lookup(msg->hwnd);
    if (window == nullptr) {
        return 0;
    }
    return CallProcedure(window->procedure, window->unicode, unicode, msg->hwnd, msg->message, msg->wParam,
                         msg->lParam);
}

} // namespace

bool MatchesFilter(const MSG &msg, HWND hwnd, UINT first, UINT last)
{
    if (hwnd == reinterpret_cast<HWND>(-1)) {
        if (msg.hwnd != nullptr) {
            return false;
        }
    } else if (hwnd != nullptr && msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)) {
        return false;
    }
    return Wants(msg.message, first, last);
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {hwnd, message, wParam, lParam, host::Now(), {0, 0}};
    return msg;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return 0;
    }
    return CallProcedure(window->procedure, window->unicode, unicode, hwnd, message, wParam, lParam);
}

void PostToQueue(const MSG &msg)
{
    TheQueue().posted.push_back(msg);
}

void QueueInput(const host::Event &event)
{
    TheQueue().input.push_back(event);
}

void RemoveWindowMessages(HWND hwnd)
{
    auto &posted = TheQueue().posted;
    posted.erase(
        std::remove_if(posted.begin(), posted.end(), [hwnd](const MSG &m) { return m.hwnd == hwnd; }),
        posted.end());
    // The window's pointer input goes with it; keys stay, for the focus of the moment they are read.
    auto &input = TheQueue().input;
    for (host::Event &event : input) {
        if (event.window == hwnd) {
            event.window = nullptr;
        }
    }
    input.erase(std::remove_if(input.begin(), input.end(),
                               [](const host::Event &e) {
                                   return e.window == nullptr &&
                                          (e.message < WM_KEYFIRST || e.message > WM_KEYLAST);
                               }),
                input.end());
}

} // namespace platform::user32

using namespace platform::user32;

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return Send(hWnd, Msg, wParam, lParam, true);
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return Send(hWnd, Msg, wParam, lParam, false);
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd != nullptr && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    PostToQueue(MakeMessage(hWnd, Msg, wParam, lParam));
    return TRUE;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return PostMessageW(hWnd, Msg, wParam, lParam);
}

VOID WINAPI PostQuitMessage(int nExitCode)
{
    TheQueue().quitPosted = true;
    TheQueue().quitCode = nExitCode;
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    return Get(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    return Get(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    return Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    return Peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL WINAPI WaitMessage(void)
{
    MSG msg;
    while (!Peek(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!WaitForInput()) {
            return FALSE; // nothing can ever arrive
        }
    }
    return TRUE;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE * /*pHandles*/, BOOL /*fWaitAll*/,
                                       DWORD dwMilliseconds, DWORD /*dwWakeMask*/)
{
    if (nCount != 0) {
        SetLastError(ERROR_INVALID_HANDLE); // there are no kernel objects to wait on
        return WAIT_FAILED;
    }
    const DWORD deadline = dwMilliseconds == INFINITE ? INFINITE : platform::host::Now() + dwMilliseconds;
    MSG msg;
    while (!Peek(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        const DWORD timer = NextTimerDue();
        const bool timerFirst =
            timer != INFINITE && (deadline == INFINITE || static_cast<LONG>(timer - deadline) < 0);
        platform::host::Event event;
        if (platform::host::WaitForEvent(timerFirst ? timer : deadline, event)) {
            TheQueue().input.push_back(event);
        } else if (!timerFirst) {
            return WAIT_TIMEOUT; // the time ran out, or with no deadline nothing can ever come
        }
    }
    return WAIT_OBJECT_0 + nCount;
}

LRESULT WINAPI DispatchMessageW(const MSG *lpMsg)
{
    return Dispatch(lpMsg, true);
}

LRESULT WINAPI DispatchMessageA(const MSG *lpMsg)
{
    return Dispatch(lpMsg, false);
}

BOOL WINAPI IsWindowUnicode(HWND hWnd)
{
    Window *window = Lookup(hWnd);
    return window != nullptr && window->unicode;
}

DWORD WINAPI GetMessageTime(void)
{
    return TheQueue().lastMessageTime;
}
