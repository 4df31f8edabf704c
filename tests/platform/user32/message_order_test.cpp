// The order in which windows receive messages: creation and destruction, nested sends, posted
// against sent, merged paints, parents before children, and paints and timers only when the
// queue holds nothing else. Public API only: the same expectations hold on the real platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT kNestOuter = WM_APP + 1;
constexpr UINT kNestMiddle = WM_APP + 2;
constexpr UINT kNestInner = WM_APP + 3;
constexpr UINT kPosted = WM_APP + 4;
constexpr UINT kSent = WM_APP + 5;
constexpr UINT_PTR kTimer = 7;
constexpr UINT kTimerPeriod = 200;
constexpr DWORD kPastTheTimer = 250;
constexpr int kSize = 100;
constexpr char kClassName[] = "MessageOrderTest";

// One message as a window received it: the window's name in the test and the message.
using Seen = std::pair<std::string, UINT>;
using Log = std::vector<Seen>;

// The messages the tests follow; the platform sends many others between them. A test may
// follow more.
const std::vector<UINT> kFollowed = {WM_NCCREATE, WM_CREATE,   WM_DESTROY, WM_NCDESTROY, WM_PAINT, WM_TIMER,
                                     kNestOuter,  kNestMiddle, kNestInner, kPosted,      kSent};
std::vector<UINT> g_followed;

bool Followed(UINT message)
{
    return std::find(g_followed.begin(), g_followed.end(), message) != g_followed.end();
}

Log g_seen;
std::vector<RECT> g_painted;
std::vector<MSG> g_requests; // the context menus and wheel turns that reached a window

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (Followed(msg)) {
        char name[32] = {};
        GetWindowTextA(hwnd, name, sizeof(name));
        // During WM_NCCREATE the text is not stored yet: take it from the creation data.
        g_seen.emplace_back(
            msg == WM_NCCREATE ? reinterpret_cast<const CREATESTRUCTA *>(lParam)->lpszName : name, msg);
    }
    if (msg == WM_CONTEXTMENU || msg == WM_MOUSEWHEEL) {
        g_requests.push_back({hwnd, msg, wParam, lParam, 0, {0, 0}});
    }
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        g_painted.push_back(paint.rcPaint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case kNestOuter:
        // wParam is the partner window: it answers by sending back the innermost message.
        return SendMessageA(reinterpret_cast<HWND>(wParam), kNestMiddle, reinterpret_cast<WPARAM>(hwnd), 0) +
               1;
    case kNestMiddle: return SendMessageA(reinterpret_cast<HWND>(wParam), kNestInner, 0, 0) + 10;
    case kNestInner: return 100;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

class MessageOrder : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
    static void TearDownTestSuite() { UnregisterClassA(kClassName, GetModuleHandleA(nullptr)); }

    void SetUp() override
    {
        g_followed = kFollowed;
        Drain();
    }
    void TearDown() override
    {
        for (HWND hwnd : created_) {
            DestroyWindow(hwnd);
        }
        Drain();
    }

    HWND Create(const char *name, DWORD style, HWND parent = nullptr, RECT place = {0, 0, kSize, kSize})
    {
        HWND hwnd =
            CreateWindowExA(0, kClassName, name, style, place.left, place.top, place.right - place.left,
                            place.bottom - place.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (parent == nullptr) {
            created_.push_back(hwnd);
        }
        return hwnd;
    }

    // Shows a window with nothing left to paint and nothing recorded.
    static void ShowQuietly(HWND hwnd)
    {
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hwnd);
        Drain();
    }

    // Dispatches everything queued, recording the order of retrieval of followed messages.
    static std::vector<UINT> Pump()
    {
        std::vector<UINT> retrieved;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Followed(msg.message)) {
                retrieved.push_back(msg.message);
            }
            DispatchMessageA(&msg);
        }
        return retrieved;
    }

    static void Drain()
    {
        Pump();
        g_seen.clear();
        g_painted.clear();
        g_requests.clear();
    }

    std::vector<HWND> created_;
};

TEST_F(MessageOrder, CreationAndDestructionVisitParentAndChildrenInTheirOrder)
{
    HWND parent = Create("parent", WS_OVERLAPPEDWINDOW);
    HWND child = Create("child", WS_CHILD, parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), child);

    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    // The parent's text may already be gone by its last message; only the order matters there.
    ASSERT_FALSE(g_seen.empty());
    g_seen.back().first = "parent";
    const Log expected = {
        {"parent", WM_NCCREATE}, {"parent", WM_CREATE}, {"child", WM_NCCREATE},  {"child", WM_CREATE},
        {"parent", WM_DESTROY},  {"child", WM_DESTROY}, {"child", WM_NCDESTROY}, {"parent", WM_NCDESTROY},
    };
    EXPECT_EQ(g_seen, expected);
}

TEST_F(MessageOrder, SentMessagesNestAndArriveAtOncePostedOnesWaitForTheLoop)
{
    HWND first = Create("first", WS_OVERLAPPEDWINDOW);
    HWND second = Create("second", WS_OVERLAPPEDWINDOW);
    g_seen.clear();

    EXPECT_EQ(SendMessageA(first, kNestOuter, reinterpret_cast<WPARAM>(second), 0), 111);
    EXPECT_EQ(g_seen, (Log{{"first", kNestOuter}, {"second", kNestMiddle}, {"first", kNestInner}}));
    g_seen.clear();
    ASSERT_TRUE(PostMessageA(second, kPosted, 0, 0));
    EXPECT_TRUE(g_seen.empty()) << "a posted message waits in the queue";
    SendMessageA(second, kSent, 0, 0);
    Pump();
    EXPECT_EQ(g_seen, (Log{{"second", kSent}, {"second", kPosted}}));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0xDEAD0)), kPosted, 0, 0));
}

TEST_F(MessageOrder, InvalidationsMergeIntoOnePaintOfTheirUnion)
{
    HWND hwnd = Create("window", WS_POPUP);
    ShowQuietly(hwnd);

    const RECT first = {10, 10, 20, 20};
    const RECT second = {30, 40, 50, 60};
    InvalidateRect(hwnd, &first, TRUE);
    InvalidateRect(hwnd, &second, FALSE);
    RECT pending = {};
    EXPECT_TRUE(GetUpdateRect(hwnd, &pending, FALSE));
    const RECT both = {10, 10, 50, 60};
    EXPECT_TRUE(EqualRect(&pending, &both));

    EXPECT_EQ(Pump(), std::vector<UINT>{WM_PAINT});
    ASSERT_EQ(g_painted.size(), 1u);
    EXPECT_TRUE(EqualRect(&g_painted.front(), &both));
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE)) << "BeginPaint validated what it painted";
}

TEST_F(MessageOrder, ParentPaintsBeforeTheChildrenItCovers)
{
    HWND parent = Create("parent", WS_POPUP);
    HWND covered = Create("covered", WS_CHILD | WS_VISIBLE, parent, {10, 10, 40, 40});
    Create("elsewhere", WS_CHILD | WS_VISIBLE, parent, {60, 60, 90, 90});
    ASSERT_NE(covered, nullptr);
    ShowQuietly(parent);

    const RECT area = {0, 0, 50, 50};
    InvalidateRect(parent, &area, TRUE);
    Pump();
    EXPECT_EQ(g_seen, (Log{{"parent", WM_PAINT}, {"covered", WM_PAINT}}));
    ASSERT_EQ(g_painted.size(), 2u);
    const RECT coveredPart = {0, 0, 30, 30};
    EXPECT_TRUE(EqualRect(&g_painted[1], &coveredPart));
}

TEST_F(MessageOrder, PaintAndTimerComeOnlyWhenNothingElseWaits)
{
    HWND hwnd = Create("window", WS_POPUP);
    ShowQuietly(hwnd);
    ASSERT_NE(SetTimer(hwnd, kTimer, kTimerPeriod, nullptr), 0u);
    Sleep(kPastTheTimer);
    InvalidateRect(hwnd, nullptr, FALSE);
    PostMessageA(hwnd, kPosted, 0, 0);

    std::vector<UINT> retrieved = Pump();
    retrieved.resize(3); // the first three, or zeros for those missing
    EXPECT_EQ(retrieved, (std::vector<UINT>{kPosted, WM_PAINT, WM_TIMER}));
    EXPECT_TRUE(KillTimer(hwnd, kTimer));
    EXPECT_FALSE(KillTimer(hwnd, kTimer)) << "a timer dies once";
}

// The order of WM_KILLFOCUS and WM_SETFOCUS shows in the conformance comparison; this does not.
TEST_F(MessageOrder, MovesSizesAndDisablingReachAChildInOrder)
{
    HWND parent = Create("parent", WS_POPUP);
    HWND child = Create("child", WS_CHILD | WS_VISIBLE, parent, {0, 0, 10, 10});
    g_followed.insert(g_followed.end(), {WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_KILLFOCUS, WM_ENABLE});
    g_seen.clear();

    MoveWindow(child, 5, 5, 20, 20, FALSE);
    EXPECT_EQ(g_seen, (Log{{"child", WM_WINDOWPOSCHANGED}, {"child", WM_MOVE}, {"child", WM_SIZE}}));
    g_seen.clear();
    SetWindowPos(child, nullptr, 6, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(g_seen, (Log{{"child", WM_WINDOWPOSCHANGED}, {"child", WM_MOVE}}));

    // A disabled window loses the focus and cannot take it.
    ShowWindow(parent, SW_SHOW);
    SetFocus(child);
    g_seen.clear();
    EnableWindow(child, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(child), nullptr);
    EXPECT_EQ(g_seen, (Log{{"child", WM_KILLFOCUS}, {"child", WM_ENABLE}}));
}

TEST_F(MessageOrder, TranslatedKeysPostTheirCharactersWithTheKeyData)
{
    HWND hwnd = Create("window", WS_POPUP);
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    // Rows of four: the key, Ctrl held, the key data, and the character it makes on a US layout
    // (0: none).
    const LPARAM keys[] = {'A',       0, 0x001E0001, 'a',  '7',     0, 0x00080001, '7',
                           VK_RETURN, 0, 0x001C0001, '\r', VK_LEFT, 0, 0x014B0001, 0,
                           'A',       1, 1,          0x01, 'C',     1, 1,          0x03,
                           'V',       1, 1,          0x16, 'X',     1, 1,          0x18};
    for (size_t row = 0; row < std::size(keys); row += 4) {
        const auto key = static_cast<WPARAM>(keys[row]);
        const LPARAM data = keys[row + 2];
        const auto character = static_cast<WPARAM>(keys[row + 3]);
        SCOPED_TRACE(key);
        BYTE held[256];
        std::copy(std::begin(saved), std::end(saved), held);
        held[VK_CONTROL] = keys[row + 1] != 0 ? 0x80 : 0;
        ASSERT_TRUE(SetKeyboardState(held));
        const MSG down = {hwnd, WM_KEYDOWN, key, data, 0, {0, 0}};
        EXPECT_TRUE(TranslateMessage(&down));
        MSG msg;
        const BOOL queued = PeekMessageA(&msg, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
        EXPECT_EQ(queued != FALSE, character != 0);
        if (queued) {
            EXPECT_EQ(msg.wParam, character);
            EXPECT_EQ(msg.lParam, data) << "the key data comes along";
        }
    }
    SetKeyboardState(saved);
    const MSG other = {hwnd, WM_APP, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&other));
}

VOID CALLBACK CountTick(HWND /*hwnd*/, UINT /*msg*/, UINT_PTR /*id*/, DWORD /*time*/)
{
    g_seen.push_back({"callback", WM_TIMER});
}

TEST_F(MessageOrder, TimersWithACallbackCallItWhenDispatched)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, kTimerPeriod, CountTick);
    ASSERT_NE(timer, 0u);
    Sleep(kPastTheTimer);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, timer);
    DispatchMessageA(&msg);
    EXPECT_EQ(g_seen, (Log{{"callback", WM_TIMER}}));
    EXPECT_TRUE(KillTimer(nullptr, timer));
}

TEST_F(MessageOrder, DestroyedWindowsLoseTheirTimersAndRefuseMessages)
{
    HWND hwnd = Create("window", WS_POPUP);
    ASSERT_NE(SetTimer(hwnd, kTimer, kTimerPeriod, nullptr), 0u);
    DestroyWindow(hwnd);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(KillTimer(hwnd, kTimer));
    EXPECT_EQ(SendMessageA(hwnd, kSent, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(DestroyWindow(hwnd));
}

TEST_F(MessageOrder, QuitArrivesAfterPostedMessagesAndEndsGetMessage)
{
    HWND hwnd = Create("window", WS_POPUP);
    g_seen.clear();
    PostQuitMessage(3);
    PostMessageA(hwnd, kPosted, 0, 0);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, kPosted);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

} // namespace

// What the default handling does with the wheel and the right button and the keys that ask for a
// context menu: each row is a message given to a child's DefWindowProc, and the requests that
// reach the child and its parent, in order.
TEST_F(MessageOrder, DefaultHandlingAsksForContextMenusAndPassesTheWheelUp)
{
    constexpr POINT kChildAt = {20, 10};
    HWND parent = Create("parent", WS_POPUP);
    SetWindowPos(parent, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND child = Create("child", WS_CHILD | WS_VISIBLE, parent, {kChildAt.x, kChildAt.y, 60, 40});
    POINT clientOrigin = {0, 0};
    ClientToScreen(child, &clientOrigin);
    const LPARAM clickedAt = MAKELPARAM(clientOrigin.x + 3, clientOrigin.y + 4);
    const LPARAM wheelData = MAKEWPARAM(0, WHEEL_DELTA);
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    // Each row: the message and its arguments, whether Shift is held, the windows the requests
    // reach in order, and each request's wParam and lParam.
    const struct {
        const char *what;
        WPARAM wParam;
        LPARAM lParam;
        WPARAM requestWParam;
        LPARAM requestLParam;
        std::vector<std::pair<HWND, UINT>> reached;
        UINT message;
        bool shift;
    } rows[] = {
        {"right button up",
         0,
         MAKELPARAM(3, 4),
         reinterpret_cast<WPARAM>(child),
         clickedAt,
         {{child, WM_CONTEXTMENU}, {parent, WM_CONTEXTMENU}},
         WM_RBUTTONUP,
         false},
        {"Shift+F10",
         VK_F10,
         0,
         reinterpret_cast<WPARAM>(child),
         -1,
         {{child, WM_CONTEXTMENU}, {parent, WM_CONTEXTMENU}},
         WM_SYSKEYDOWN,
         true},
        {"F10 alone", VK_F10, 0, 0, 0, {}, WM_SYSKEYDOWN, false},
        {"wheel",
         static_cast<WPARAM>(wheelData),
         clickedAt,
         static_cast<WPARAM>(wheelData),
         clickedAt,
         {{parent, WM_MOUSEWHEEL}},
         WM_MOUSEWHEEL,
         false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        BYTE held[256];
        std::copy(std::begin(saved), std::end(saved), held);
        held[VK_SHIFT] = row.shift ? 0x80 : 0;
        ASSERT_TRUE(SetKeyboardState(held));
        g_requests.clear();
        DefWindowProcA(child, row.message, row.wParam, row.lParam);
        ASSERT_EQ(g_requests.size(), row.reached.size());
        for (size_t index = 0; index < row.reached.size(); ++index) {
            EXPECT_EQ(g_requests[index].hwnd, row.reached[index].first) << index;
            EXPECT_EQ(g_requests[index].message, row.reached[index].second) << index;
            EXPECT_EQ(g_requests[index].wParam, row.requestWParam) << index;
            EXPECT_EQ(g_requests[index].lParam, row.requestLParam) << index;
        }
    }
    SetKeyboardState(saved);
    g_requests.clear();
    DefWindowProcA(parent, WM_MOUSEWHEEL, static_cast<WPARAM>(wheelData), clickedAt);
    DefWindowProcA(parent, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(parent), clickedAt);
    EXPECT_TRUE(g_requests.empty()) << "a top-level window passes nothing on";
}
