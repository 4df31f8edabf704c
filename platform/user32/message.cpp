// The thread's message queue: sent and posted messages, A/W conversion, paint and timer
// messages made on demand, and the keyboard state.
#include "window.h"

#include "host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>

namespace platform::user32 {

namespace {

// Timer periods are clamped to the platform's limits.
constexpr UINT kTimerMinimum = 0x0000000A;
constexpr UINT kTimerMaximum = 0x7FFFFFFF;
// Timers without a window get ids of their own.
constexpr UINT_PTR kFirstThreadTimerId = 0x7FFE;
constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);
constexpr SHORT kKeyToggled = 0x0001;
constexpr int kKeyCount = 256;

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    DWORD due;
    TIMERPROC procedure;
};

struct Queue {
    std::deque<MSG> posted;
    // Input from the host, routed only when it is read: keys typed ahead go to the focus of
    // that moment, so a Tab followed by digits puts the digits into the next field.
    std::deque<host::Event> input;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = kFirstThreadTimerId;
    DWORD lastMessageTime = 0;
    SHORT keys[kKeyCount] = {};
    MSG lastClick = {}; // the last button press, which a second one may make a double click
};

Queue &TheQueue()
{
    static Queue queue;
    return queue;
}

bool Due(const Timer &timer, DWORD now)
{
    return static_cast<LONG>(now - timer.due) >= 0;
}

// Messages whose lParam is a string the procedure reads.
bool TakesString(UINT message)
{
    switch (message) {
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING:
        return true;
    default:
        return false;
    }
}

std::u16string ConvertText(const char *text)
{
    return Widen(text);
}
std::string ConvertText(const WCHAR *text)
{
    return Narrow(FromWide(text));
}

template <typename Char> const Char *Pointer(const std::basic_string<Char> &text)
{
    return text.c_str();
}
inline LPCWSTR Pointer(const std::u16string &text)
{
    return AsWide(text);
}

// Copies `text` into a caller's buffer of `capacity` characters (terminator included).
template <typename Char, typename Text> LRESULT CopyOut(const Text &text, Char *buffer, size_t capacity)
{
    if (buffer == nullptr || capacity == 0) {
        return 0;
    }
    const size_t count = std::min(text.size(), capacity - 1);
    for (size_t index = 0; index < count; ++index) {
        buffer[index] = static_cast<Char>(text[index]);
    }
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

// Calls a procedure that takes `ProcChar` strings for a caller that passes `CallerChar` ones.
template <typename CallerChar, typename ProcChar>
LRESULT CallConverted(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    using ProcString = std::basic_string<std::conditional_t<sizeof(ProcChar) == 1, char, char16_t>>;
    const auto callText = [&](UINT textMessage, WPARAM argument, UINT lengthMessage,
                              bool sized) -> ProcString {
        const LRESULT length =
            sized ? procedure(hwnd, lengthMessage, 0, 0) : procedure(hwnd, lengthMessage, argument, 0);
        if (length < 0) {
            return ProcString();
        }
        ProcString text(static_cast<size_t>(length) + 1, 0);
        const LRESULT copied =
            sized ? procedure(hwnd, textMessage, text.size(), reinterpret_cast<LPARAM>(text.data()))
                  : procedure(hwnd, textMessage, argument, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        return text;
    };
    const auto converted = [](const ProcString &text) {
        return ConvertText(reinterpret_cast<const ProcChar *>(text.c_str()));
    };

    if (TakesString(message) && lParam != 0) {
        const auto text = ConvertText(reinterpret_cast<const CallerChar *>(lParam));
        return procedure(hwnd, message, wParam, reinterpret_cast<LPARAM>(Pointer(text)));
    }
    switch (message) {
    case WM_GETTEXT: {
        const auto text = converted(callText(WM_GETTEXT, 0, WM_GETTEXTLENGTH, true));
        return CopyOut(text, reinterpret_cast<CallerChar *>(lParam), wParam);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(converted(callText(WM_GETTEXT, 0, WM_GETTEXTLENGTH, true)).size());
    case CB_GETLBTEXT:
    case LB_GETTEXT: {
        const UINT lengthMessage = message == CB_GETLBTEXT ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
        const LRESULT length = procedure(hwnd, lengthMessage, wParam, 0);
        if (length < 0) {
            return length;
        }
        const auto text = converted(callText(message, wParam, lengthMessage, false));
        return CopyOut(text, reinterpret_cast<CallerChar *>(lParam), text.size() + 1);
    }
    case CB_GETLBTEXTLEN:
    case LB_GETTEXTLEN: {
        const LRESULT length = procedure(hwnd, message, wParam, 0);
        if (length < 0) {
            return length;
        }
        const UINT textMessage = message == CB_GETLBTEXTLEN ? CB_GETLBTEXT : LB_GETTEXT;
        return static_cast<LRESULT>(converted(callText(textMessage, wParam, message, false)).size());
    }
    case WM_NCCREATE:
    case WM_CREATE: {
        using From = std::conditional_t<sizeof(CallerChar) == 1, CREATESTRUCTA, CREATESTRUCTW>;
        using To = std::conditional_t<sizeof(ProcChar) == 1, CREATESTRUCTA, CREATESTRUCTW>;
        const auto *from = reinterpret_cast<const From *>(lParam);
        if (from == nullptr) {
            break;
        }
        const bool textName = from->lpszName != nullptr && !IS_INTRESOURCE(from->lpszName);
        const auto name = ConvertText(textName ? from->lpszName : reinterpret_cast<const CallerChar *>(u""));
        const auto className = ConvertText(from->lpszClass);
        To to;
        memcpy(&to, from, sizeof(to)); // the same layout, the strings aside
        to.lpszName = textName ? Pointer(name) : reinterpret_cast<decltype(to.lpszName)>(from->lpszName);
        to.lpszClass = Pointer(className);
        return procedure(hwnd, message, wParam, reinterpret_cast<LPARAM>(&to));
    }
    default:
        break;
    }
    return procedure(hwnd, message, wParam, lParam);
}

bool MatchesFilter(const MSG &msg, HWND hwnd, UINT first, UINT last)
{
    if (hwnd == reinterpret_cast<HWND>(-1)) {
        if (msg.hwnd != nullptr) {
            return false;
        }
    } else if (hwnd != nullptr && msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)) {
        return false;
    }
    return (first == 0 && last == 0) || (msg.message >= first && msg.message <= last);
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {hwnd, message, wParam, lParam, host::Now(), {0, 0}};
    return msg;
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

void TrackKeys(const MSG &msg)
{
    SHORT *keys = TheQueue().keys;
    const auto index = static_cast<size_t>(msg.wParam & 0xFF);
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if ((keys[index] & kKeyDown) == 0) {
            keys[index] = static_cast<SHORT>((keys[index] ^ kKeyToggled) | kKeyDown);
        }
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        keys[index] = static_cast<SHORT>(keys[index] & kKeyToggled);
        break;
    default:
        break;
    }
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

bool IsEnabledChain(Window *window)
{
    for (Window *at = window; at != nullptr; at = IsRealChild(at) ? LookupQuiet(at->parent) : nullptr) {
        if ((at->style & WS_DISABLED) != 0) {
            return false;
        }
    }
    return true;
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
    return Send(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), true) != HTTRANSPARENT;
}

// Routes a host event to the window that takes it: keys to the focus, the mouse to the capture
// or to the deepest child under the pointer. Disabled windows take neither.
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
        POINT client = msg.pt;
        ScreenToClient(msg.hwnd, &client);
        msg.lParam = MAKELPARAM(client.x, client.y);
        MakeDoubleClick(msg);
    }
    if (!IsEnabledChain(LookupQuiet(msg.hwnd))) {
        return std::nullopt;
    }
    return msg;
}

// One retrieval pass in the platform's order: posted, input, quit, paint, timers.
bool Retrieve(MSG &msg, HWND hwnd, UINT first, UINT last, bool remove)
{
    Queue &queue = TheQueue();
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (MatchesFilter(*it, hwnd, first, last)) {
            msg = *it;
            if (remove) {
                queue.posted.erase(it);
            }
            return true;
        }
    }
    for (auto it = queue.input.begin(); it != queue.input.end();) {
        const std::optional<MSG> routed = Route(*it);
        if (!routed) {
            // No window takes it any more, but a key still goes up or down.
            TrackKeys(MakeMessage(nullptr, it->message, it->wParam, it->lParam));
            it = queue.input.erase(it);
            continue;
        }
        if (MatchesFilter(*routed, hwnd, first, last)) {
            msg = *routed;
            if (remove) {
                queue.input.erase(it);
                TrackKeys(msg);
                RememberClick(msg);
            }
            return true;
        }
        ++it;
    }
    if (queue.quitPosted && ((first == 0 && last == 0) || (WM_QUIT >= first && WM_QUIT <= last))) {
        msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (remove) {
            queue.quitPosted = false;
        }
        return true;
    }
    const bool threadOnly = hwnd == reinterpret_cast<HWND>(-1); // paints always belong to a window
    if (!threadOnly && ((first == 0 && last == 0) || (WM_PAINT >= first && WM_PAINT <= last))) {
        for (HWND top : TopLevelWindows()) {
            if (HWND found = FindPaintWindow(top, hwnd)) {
                msg = MakeMessage(found, WM_PAINT, 0, 0);
                return true;
            }
        }
    }
    if ((first == 0 && last == 0) || (WM_TIMER >= first && WM_TIMER <= last)) {
        const DWORD now = host::Now();
        for (Timer &timer : queue.timers) {
            const MSG candidate =
                MakeMessage(timer.hwnd, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure));
            if (Due(timer, now) && MatchesFilter(candidate, hwnd, first, last)) {
                msg = candidate;
                if (remove) {
                    timer.due = now + timer.period;
                }
                return true;
            }
        }
    }
    return false;
}

// The moment the next timer falls due, or INFINITE.
DWORD NextTimerDue()
{
    const Queue &queue = TheQueue();
    if (queue.timers.empty()) {
        return INFINITE;
    }
    const DWORD now = host::Now();
    DWORD soonest = queue.timers.front().due;
    for (const Timer &timer : queue.timers) {
        if (static_cast<LONG>(timer.due - soonest) < 0) {
            soonest = timer.due;
        }
    }
    return static_cast<LONG>(soonest - now) < 0 ? now : soonest;
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
    if (!Retrieve(*msg, hwnd, first, last, (flags & PM_REMOVE) != 0)) {
        return false;
    }
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

// The character a key makes, as TranslateMessage's US keyboard layout has it; 0 for none.
WCHAR CharacterOf(WPARAM key, bool shift, bool capsLock)
{
    if (key >= 'A' && key <= 'Z') {
        return static_cast<WCHAR>(shift != capsLock ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9' && !shift) {
        return static_cast<WCHAR>(key);
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return static_cast<WCHAR>(key - VK_NUMPAD0 + '0');
    }
    switch (key) {
    case VK_SPACE:
        return L' ';
    case VK_RETURN:
        return L'\r';
    case VK_ESCAPE:
        return 0x1B;
    case VK_BACK:
        return L'\b';
    case VK_TAB:
        return L'\t';
    case VK_SUBTRACT:
        return L'-';
    case VK_ADD:
        return L'+';
    case VK_DECIMAL:
        return L'.';
    case VK_OEM_MINUS:
        return shift ? L'_' : L'-';
    case VK_OEM_PLUS:
        return shift ? L'+' : L'=';
    case VK_OEM_COMMA:
        return shift ? L'<' : L',';
    case VK_OEM_PERIOD:
        return shift ? L'>' : L'.';
    default:
        return 0;
    }
}

// The character a key makes with Ctrl held: letters make the control characters 1 to 26.
WCHAR ControlCharacterOf(WPARAM key)
{
    if (key >= 'A' && key <= 'Z') {
        return static_cast<WCHAR>(key - 'A' + 1);
    }
    switch (key) {
    case VK_SPACE:
        return L' ';
    case VK_RETURN:
        return L'\n';
    case VK_ESCAPE:
        return 0x1B;
    case VK_BACK:
        return 0x7F;
    default:
        return 0;
    }
}

LRESULT Dispatch(const MSG *msg, bool unicode)
{
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only a procedure some timer really has is called.
        for (const Timer &timer : TheQueue().timers) {
            if (reinterpret_cast<LPARAM>(timer.procedure) == msg->lParam && timer.hwnd == msg->hwnd &&
                timer.id == msg->wParam) {
                timer.procedure(msg->hwnd, WM_TIMER, msg->wParam, host::Now());
                return 0;
            }
        }
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

LRESULT CallProcedure(WNDPROC procedure, bool procedureUnicode, bool callerUnicode, HWND hwnd, UINT message,
                      WPARAM wParam, LPARAM lParam)
{
    if (procedure == nullptr) {
        return 0;
    }
    if (procedureUnicode == callerUnicode) {
        return procedure(hwnd, message, wParam, lParam);
    }
    return callerUnicode ? CallConverted<WCHAR, char>(procedure, hwnd, message, wParam, lParam)
                         : CallConverted<char, WCHAR>(procedure, hwnd, message, wParam, lParam);
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool unicode)
{
    Window *window = Lookup(hwnd);
    if (window == nullptr) {
        return 0;
    }
    return CallProcedure(window->procedure, window->unicode, unicode, hwnd, message, wParam, lParam);
}

void QueueInput(const host::Event &event)
{
    TheQueue().input.push_back(event);
}

void KillWindowTimers(HWND hwnd)
{
    auto &timers = TheQueue().timers;
    timers.erase(
        std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer &t) { return t.hwnd == hwnd; }),
        timers.end());
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
    TheQueue().posted.push_back(MakeMessage(hWnd, Msg, wParam, lParam));
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

BOOL WINAPI TranslateMessage(const MSG *lpMsg)
{
    if (lpMsg == nullptr) {
        return FALSE;
    }
    const bool system = lpMsg->message == WM_SYSKEYDOWN;
    if (lpMsg->message != WM_KEYDOWN && !system) {
        return lpMsg->message == WM_KEYUP || lpMsg->message == WM_SYSKEYUP;
    }
    const bool shift = (GetKeyState(VK_SHIFT) & kKeyDown) != 0;
    const bool capsLock = (GetKeyState(VK_CAPITAL) & kKeyToggled) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & kKeyDown) != 0;
    // Ctrl with Alt is AltGr, which makes nothing on a US layout.
    const bool alt = (GetKeyState(VK_MENU) & kKeyDown) != 0;
    WCHAR character = CharacterOf(lpMsg->wParam, shift, capsLock);
    if (control) {
        character = alt ? 0 : ControlCharacterOf(lpMsg->wParam);
    }
    if (character != 0) {
        TheQueue().posted.push_back(
            MakeMessage(lpMsg->hwnd, system ? WM_SYSCHAR : WM_CHAR, character, lpMsg->lParam));
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG *lpMsg)
{
    return Dispatch(lpMsg, true);
}

LRESULT WINAPI DispatchMessageA(const MSG *lpMsg)
{
    return Dispatch(lpMsg, false);
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window *window = LookupQuiet(hWnd);
    const bool unicode = window == nullptr || window->procedure != lpPrevWndFunc ? true : window->unicode;
    return CallProcedure(lpPrevWndFunc, unicode, true, hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window *window = LookupQuiet(hWnd);
    const bool unicode = window == nullptr || window->procedure != lpPrevWndFunc ? false : window->unicode;
    return CallProcedure(lpPrevWndFunc, unicode, false, hWnd, Msg, wParam, lParam);
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

SHORT WINAPI GetKeyState(int nVirtKey)
{
    return nVirtKey >= 0 && nVirtKey < kKeyCount ? TheQueue().keys[nVirtKey] : SHORT{0};
}

// Each key's state as a byte: 0x80 held down, 0x01 toggled.
BOOL WINAPI GetKeyboardState(PBYTE lpKeyState)
{
    if (lpKeyState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int key = 0; key < kKeyCount; ++key) {
        const SHORT state = TheQueue().keys[key];
        lpKeyState[key] = static_cast<BYTE>(((state & kKeyDown) != 0 ? 0x80 : 0) | (state & kKeyToggled));
    }
    return TRUE;
}

// NOLINTNEXTLINE(readability-non-const-parameter): the platform declares it non-const
BOOL WINAPI SetKeyboardState(LPBYTE lpKeyState)
{
    if (lpKeyState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int key = 0; key < kKeyCount; ++key) {
        TheQueue().keys[key] = static_cast<SHORT>(((lpKeyState[key] & 0x80) != 0 ? kKeyDown : 0) |
                                                  (lpKeyState[key] & kKeyToggled));
    }
    return TRUE;
}

SHORT WINAPI GetAsyncKeyState(int vKey)
{
    return static_cast<SHORT>(GetKeyState(vKey) & kKeyDown);
}

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd != nullptr && !IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    Queue &queue = TheQueue();
    const UINT period = std::clamp(uElapse, kTimerMinimum, kTimerMaximum);
    const DWORD due = platform::host::Now() + period;
    for (Timer &timer : queue.timers) {
        if (timer.hwnd == hWnd && timer.id == nIDEvent && (hWnd != nullptr || nIDEvent != 0)) {
            timer = {hWnd, nIDEvent, period, due, lpTimerFunc};
            return hWnd != nullptr ? TRUE : nIDEvent;
        }
    }
    const UINT_PTR id = hWnd != nullptr ? nIDEvent : queue.nextThreadTimerId++;
    queue.timers.push_back({hWnd, id, period, due, lpTimerFunc});
    return hWnd != nullptr ? TRUE : id;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    auto &timers = TheQueue().timers;
    const auto found = std::find_if(timers.begin(), timers.end(),
                                    [&](const Timer &t) { return t.hwnd == hWnd && t.id == uIDEvent; });
    if (found == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers.erase(found); // its WM_TIMER is made on demand, so none can still be waiting
    return TRUE;
}
