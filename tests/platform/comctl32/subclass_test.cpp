// Window subclassing: the chain's order, its data, and procedures removed while a message runs.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Who saw WM_USER, in order: 0 for the window's own procedure, a subclass's id for a subclass.
std::vector<UINT_PTR> &Seen()
{
    static std::vector<UINT_PTR> seen;
    return seen;
}

LRESULT CALLBACK OwnProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER) {
        Seen().push_back(0);
        return 42;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// What a subclass does to the chain while it handles WM_USER (its data).
enum Action : DWORD_PTR { kPass = 0, kRemoveSelf = 1, kRemovePrevious = 2, kSendAgain = 4 };

LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR action)
{
    if (message == WM_USER) {
        Seen().push_back(id);
        if ((action & kRemoveSelf) != 0) {
            RemoveWindowSubclass(hwnd, Subclass, id);
        }
        if ((action & kRemovePrevious) != 0) {
            RemoveWindowSubclass(hwnd, Subclass, id - 1);
        }
        if ((action & kSendAgain) != 0 && wParam == 0) {
            SendMessageW(hwnd, WM_USER, 1, 0);
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

class Subclassing : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = OwnProc;
        windowClass.lpszClassName = L"SubclassTarget";
        RegisterClassW(&windowClass);
        hwnd =
            CreateWindowW(L"SubclassTarget", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
        Seen().clear();
    }
    void TearDown() override { DestroyWindow(hwnd); }
    std::vector<UINT_PTR> Deliver()
    {
        Seen().clear();
        EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 42) << "the window's own answer comes back";
        return Seen();
    }
    HWND hwnd = nullptr;
};

TEST_F(Subclassing, NewestFirstThenTheWindowsOwnProcedure)
{
    ASSERT_TRUE(SetWindowSubclass(hwnd, Subclass, 2, kPass));
    ASSERT_TRUE(SetWindowSubclass(hwnd, Subclass, 3, kPass));
    EXPECT_EQ(Deliver(), (std::vector<UINT_PTR>{3, 2, 0}));
    ASSERT_TRUE(SetWindowSubclass(hwnd, Subclass, 2, 7)) << "the same subclass again only changes its data";
    DWORD_PTR data = 99;
    EXPECT_TRUE(GetWindowSubclass(hwnd, Subclass, 2, &data));
    EXPECT_EQ(data, 7U);
    EXPECT_FALSE(GetWindowSubclass(hwnd, Subclass, 4, &data));
    EXPECT_EQ(data, 0U) << "cleared when there is no such subclass";
    EXPECT_FALSE(SetWindowSubclass(nullptr, Subclass, 1, 0));
    EXPECT_FALSE(SetWindowSubclass(hwnd, nullptr, 1, 0));
    EXPECT_TRUE(RemoveWindowSubclass(hwnd, Subclass, 2));
    EXPECT_FALSE(RemoveWindowSubclass(hwnd, Subclass, 2));
    EXPECT_TRUE(RemoveWindowSubclass(hwnd, Subclass, 3));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(OwnProc))
        << "the last one out gives the window its procedure back";
}

TEST_F(Subclassing, RemovedWhileAMessageRuns)
{
    struct Row {
        const char *what;
        DWORD_PTR newest;
        std::vector<UINT_PTR> first, then;
    };
    const Row rows[] = {
        {"itself", kRemoveSelf, {3, 2, 0}, {2, 0}},
        {"the one before it", kRemovePrevious, {3, 0}, {3, 0}},
        {"itself, then the message nests", kRemoveSelf | kSendAgain, {3, 2, 0, 2, 0}, {2, 0}},
        {"nested", kSendAgain, {3, 3, 2, 0, 2, 0}, {3, 3, 2, 0, 2, 0}},
    };
    for (const Row &row : rows) {
        ASSERT_TRUE(SetWindowSubclass(hwnd, Subclass, 2, kPass));
        ASSERT_TRUE(SetWindowSubclass(hwnd, Subclass, 3, row.newest));
        EXPECT_EQ(Deliver(), row.first) << row.what;
        EXPECT_EQ(Deliver(), row.then) << row.what;
        RemoveWindowSubclass(hwnd, Subclass, 3);
        RemoveWindowSubclass(hwnd, Subclass, 2);
        EXPECT_EQ(Deliver(), std::vector<UINT_PTR>{0}) << row.what;
    }
}

// A procedure set over the chain calls it in turn; subclasses added later still join the chain.
WNDPROC chainBelow = nullptr;

LRESULT CALLBACK ProcedureSetLater(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER) {
        Seen().push_back(1);
    }
    return CallWindowProcW(chainBelow, hwnd, message, wParam, lParam);
}

TEST_F(Subclassing, UnderAProcedureSetLater)
{
    ASSERT_TRUE(SetWindowSubclass(hwnd, Subclass, 2, kPass));
    chainBelow = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcedureSetLater)));
    ASSERT_TRUE(SetWindowSubclass(hwnd, Subclass, 4, kPass));
    EXPECT_EQ(Deliver(), (std::vector<UINT_PTR>{1, 4, 2, 0}));
    RemoveWindowSubclass(hwnd, Subclass, 4);
    EXPECT_EQ(Deliver(), (std::vector<UINT_PTR>{1, 2, 0}));
    RemoveWindowSubclass(hwnd, Subclass, 2);
}

} // namespace
