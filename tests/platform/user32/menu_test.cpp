// Popup menus through the public API, driven with real input: each time the menu loop goes idle
// (WM_ENTERIDLE) the next step of a script is typed or clicked. The choice the loop ends with,
// the messages its owner hears, the edit field's context menu and a dialog's system menu hold
// the same on the real platform.
#include "clipboard.h"
#include "parent_window.h"
#include "program_dialog.h"
#include "template_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT kAlpha = 101;
constexpr UINT kBeta = 102; // greyed
constexpr UINT kGamma = 103;
constexpr UINT kClosed = 0xFFFF;    // WM_MENUSELECT's "menu closed"
constexpr POINT kMenuAt = {30, 40}; // in the owner's client area
constexpr POINT kOutside = {260, 160};
constexpr int kExtraEscapes = 3; // pressed when a script runs out with the menu still open

// ---- Input ----

// Presses and releases `key`, holding `modifier` (0 for none) around it.
void Press(WORD key, WORD modifier = 0)
{
    const std::pair<WORD, DWORD> strokes[] = {
        {modifier, 0}, {key, 0}, {key, KEYEVENTF_KEYUP}, {modifier, KEYEVENTF_KEYUP}};
    std::vector<INPUT> inputs;
    for (const auto &[virtualKey, flags] : strokes) {
        if (virtualKey != 0) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = virtualKey;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInput(DWORD flags, POINT screen)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = flags;
    return input;
}

void ClickAt(POINT screen)
{
    INPUT inputs[] = {MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen),
                      MouseInput(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, screen),
                      MouseInput(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, screen)};
    SendInput(3, inputs, sizeof(INPUT));
}

// ---- Scripts fed to the menu loop ----

// One step: given the menu's window (null while no popup shows), it sends some input.
using Step = std::function<void(HWND menuWindow)>;

HMENU MenuOf(HWND menuWindow)
{
    return reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
}

Step Key(WORD key)
{
    return [key](HWND) { Press(key); };
}

Step ClickItem(int position)
{
    return [position](HWND menuWindow) {
        RECT item = {};
        GetMenuItemRect(nullptr, MenuOf(menuWindow), static_cast<UINT>(position), &item);
        ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    };
}

// One message the owner heard: the message and, for the menu's, the item it names.
using Heard = std::pair<UINT, UINT>;

// What a shown menu held: each item's text, with "(grey)" after a greyed one and "(hot)" after the
// highlighted one.
using Items = std::vector<std::string>;

struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    int overrun = 0; // idle turns after the script ran out
    std::vector<Heard> heard;
    std::string menuClass; // of the first menu window seen
    Items items;           // what the last Inspect step saw
    HWND menuWindow = nullptr;
    RECT menuRect = {}; // where the menu stood when the last Inspect step saw it
};

Script g_script;
WNDPROC g_previous = nullptr;

Items Inspect(HMENU menu)
{
    Items items;
    for (int index = 0; index < GetMenuItemCount(menu); ++index) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof(text), MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION);
        const bool greyed = (state & (MF_GRAYED | MF_SEPARATOR)) == MF_GRAYED;
        items.push_back(std::string(text) + (greyed ? " (grey)" : "") +
                        ((state & MF_HILITE) != 0 ? " (hot)" : ""));
    }
    return items;
}

// Notes what the shown menu holds, then presses `key`.
Step InspectThen(WORD key)
{
    return [key](HWND menuWindow) {
        g_script.items = Inspect(MenuOf(menuWindow));
        g_script.menuWindow = menuWindow;
        GetWindowRect(menuWindow, &g_script.menuRect);
        Press(key);
    };
}

void Feed(HWND menuWindow)
{
    if (g_script.menuClass.empty() && menuWindow != nullptr) {
        char name[32] = {};
        GetClassNameA(menuWindow, name, sizeof(name));
        g_script.menuClass = name;
    }
    if (g_script.next < g_script.steps.size()) {
        g_script.steps[g_script.next++](menuWindow);
    } else if (++g_script.overrun <= kExtraEscapes) {
        Press(VK_ESCAPE);
    } else {
        EndMenu();
    }
}

void Record(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_MENUSELECT:
        g_script.heard.emplace_back(message, HIWORD(wParam) == 0xFFFF ? kClosed : LOWORD(wParam));
        break;
    case WM_COMMAND:
    case WM_SYSCOMMAND: g_script.heard.emplace_back(message, static_cast<UINT>(wParam & 0xFFFF)); break;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_INITMENUPOPUP:
    case WM_LBUTTONDOWN: g_script.heard.emplace_back(message, 0); break;
    default: break;
    }
}

LRESULT CALLBACK Hook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Record(message, wParam);
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
        Feed(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return CallWindowProcW(g_previous, hwnd, message, wParam, lParam);
}

// Watches `hwnd`, the menu's owner, for the time of a script.
class Watch {
public:
    Watch(HWND hwnd, std::vector<Step> steps) : hwnd_(hwnd)
    {
        g_script = Script{};
        g_script.steps = std::move(steps);
        g_previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Hook)));
    }
    ~Watch()
    {
        if (IsWindow(hwnd_)) {
            SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
        }
    }
    Watch(const Watch &) = delete;
    Watch &operator=(const Watch &) = delete;

    // Every step was used, and the menu ended with the last.
    static bool RanToTheEnd() { return g_script.next == g_script.steps.size() && g_script.overrun == 0; }

private:
    HWND hwnd_;
};

// Dispatches what is queued, through the dialog's keys when there is one.
void Pump(HWND dialog = nullptr)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog == nullptr || !IsWindow(dialog) || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// A top-level window that owns the menus, in front and holding the keys.
class Owner : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = L"MenuTestOwner";
        RegisterClassW(&windowClass);
        owner = CreateWindowExW(0, L"MenuTestOwner", L"Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(owner);
        SetFocus(owner);
        Pump();
        menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, kAlpha, "&Alpha");
        AppendMenuA(menu, MF_STRING | MF_GRAYED, kBeta, "&Beta");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kGamma, "&Gamma\tCtrl+G");
    }
    void TearDown() override
    {
        DestroyMenu(menu);
        DestroyWindow(owner);
        Pump();
    }
    POINT Screen(POINT client) const
    {
        ClientToScreen(owner, &client);
        return client;
    }
    BOOL Track(UINT flags, std::vector<Step> steps)
    {
        Watch watch(owner, std::move(steps));
        const POINT at = Screen(kMenuAt);
        const BOOL result = TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr);
        Pump();
        EXPECT_TRUE(Watch::RanToTheEnd()) << "step " << g_script.next << " of " << g_script.steps.size();
        return result;
    }

    HWND owner = nullptr;
    HMENU menu = nullptr;
};

TEST_F(Owner, MenuHoldsItsItemsInOrder)
{
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(Inspect(menu), (Items{"&Alpha", "&Beta (grey)", "", "&Gamma\tCtrl+G"}));
    EXPECT_EQ(GetMenuItemID(menu, 3), kGamma);
    EXPECT_NE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(CheckMenuItem(menu, kAlpha, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(menu, kAlpha, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(menu, kBeta, MF_ENABLED), MF_GRAYED) << "the state before";
    EXPECT_EQ(EnableMenuItem(menu, 999, MF_GRAYED), -1) << "no such item";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
    info.wID = 104;
    info.fState = MFS_GRAYED;
    info.dwTypeData = const_cast<LPSTR>("&Delta");
    EXPECT_TRUE(InsertMenuItemA(menu, 1, TRUE, &info));
    EXPECT_EQ(Inspect(menu), (Items{"&Alpha", "&Delta (grey)", "&Beta", "", "&Gamma\tCtrl+G"}));
    EXPECT_FALSE(DestroyMenu(reinterpret_cast<HMENU>(0x1234)));
}

TEST_F(Owner, AlignmentFlagsPlaceTheMenuAroundThePoint)
{
    const POINT at = Screen(kMenuAt);
    struct Placing {
        UINT flags;
        bool right;  // the point is the menu's right edge, else its left
        bool bottom; // its bottom edge, else its top
    };
    for (const Placing &placing :
         {Placing{TPM_LEFTALIGN | TPM_TOPALIGN, false, false}, Placing{TPM_RIGHTALIGN, true, false},
          Placing{TPM_BOTTOMALIGN, false, true}, Placing{TPM_RIGHTALIGN | TPM_BOTTOMALIGN, true, true}}) {
        const POINT point = {at.x + 200, at.y + 200};
        Watch watch(owner, {InspectThen(VK_ESCAPE)});
        TrackPopupMenu(menu, placing.flags | TPM_RETURNCMD, point.x, point.y, 0, owner, nullptr);
        const RECT &placed = g_script.menuRect;
        EXPECT_EQ(placing.right ? placed.right : placed.left, point.x) << placing.flags;
        EXPECT_EQ(placing.bottom ? placed.bottom : placed.top, point.y) << placing.flags;
    }
}

// The rows of the tables below print as their names, which also name their tests.
template <typename Row, typename = decltype(Row::name)>
std::ostream &operator<<(std::ostream &out, const Row &row)
{
    return out << row.name;
}

struct ByName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row> &info) const
    {
        return info.param.name;
    }
};

struct Choice {
    const char *name;
    std::vector<Step> steps;
    UINT chosen;
};

class Choosing : public Owner, public ::testing::WithParamInterface<Choice> {};

TEST_P(Choosing, EndsWithTheChosenCommand)
{
    EXPECT_EQ(static_cast<UINT>(Track(TPM_RETURNCMD, GetParam().steps)), GetParam().chosen);
    EXPECT_EQ(g_script.menuClass, "#32768");
    for (const Heard &heard : g_script.heard) {
        EXPECT_NE(heard.first, static_cast<UINT>(WM_COMMAND)) << "a returned command is not sent";
        // Wine leaves the click that dismisses the menu to the window under the pointer; here it goes
        // no further, a difference from Wine that is accepted.
        if (!driving::RunningUnderWine()) {
            EXPECT_NE(heard.first, static_cast<UINT>(WM_LBUTTONDOWN)) << "a click outside goes no further";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Choosing,
    ::testing::Values(Choice{"DownEnter", {Key(VK_DOWN), Key(VK_RETURN)}, kAlpha},
                      Choice{"ArrowsPassOverSeparators",
                             {Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)},
                             kGamma},
                      Choice{"UpStartsFromTheEnd", {Key(VK_UP), Key(VK_RETURN)}, kGamma},
                      Choice{"DownWrapsRound", {Key(VK_UP), Key(VK_DOWN), Key(VK_RETURN)}, kAlpha},
                      Choice{"EnterOnAGreyedItemCloses", {Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}, 0},
                      Choice{"EnterWithNothingHighlightedCloses", {Key(VK_RETURN)}, 0},
                      Choice{"Mnemonic", {Key('G')}, kGamma},
                      Choice{"GreyedItemsMnemonicCloses", {Key('B')}, 0},
                      Choice{"UnknownMnemonicKeepsTheMenu", {Key('Z'), Key(VK_DOWN), Key(VK_RETURN)}, kAlpha},
                      Choice{"Escape", {Key(VK_ESCAPE)}, 0}, Choice{"Alt", {Key(VK_MENU)}, 0},
                      Choice{"F10", {Key(VK_F10)}, 0}, Choice{"ClickOnItem", {ClickItem(3)}, kGamma},
                      Choice{"ClickOnGreyedItemKeepsTheMenu", {ClickItem(1), Key(VK_ESCAPE)}, 0},
                      Choice{"ClickOutsideCloses",
                             {[](HWND) {
                                 POINT outside = kOutside;
                                 ClientToScreen(GetForegroundWindow(), &outside);
                                 ClickAt(outside);
                             }},
                             0}),
    ByName());

// TPM_NONOTIFY keeps the loop's opening messages from the owner; the rest it hears all the same.
TEST_F(Owner, HearsTheLoopInOrder)
{
    const std::vector<Heard> opening = {{WM_ENTERMENULOOP, 0}, {WM_INITMENUPOPUP, 0}};
    const std::vector<Heard> rest = {
        {WM_MENUSELECT, kAlpha}, {WM_MENUSELECT, kClosed}, {WM_EXITMENULOOP, 0}, {WM_COMMAND, kAlpha}};
    for (const UINT flags : {0U, UINT{TPM_NONOTIFY}}) {
        EXPECT_EQ(Track(flags, {Key(VK_DOWN), Key(VK_RETURN)}), TRUE);
        std::vector<Heard> expected = flags == 0 ? opening : std::vector<Heard>{};
        expected.insert(expected.end(), rest.begin(), rest.end());
        EXPECT_EQ(g_script.heard, expected) << flags;
    }
}

// ---- The edit field's context menu ----

constexpr int kFieldId = 301;
const Items kAllEditItems = {"&Undo", "", "Cu&t", "&Copy", "&Paste", "&Delete", "", "Select &All"};

// A field in a parent window, its text and selection set, the clipboard holding `clipboard`.
struct FieldState {
    DWORD style;
    const char *text;
    int start;
    int end;
    const char *clipboard; // nullptr: empty
    bool typed;            // a character typed over the selection, so that there is an undo
};

class EditMenu : public ::testing::Test {
protected:
    HWND Prepare(const FieldState &state)
    {
        field = parent.Add(L"Edit", WS_BORDER | ES_AUTOHSCROLL | state.style, kFieldId, {20, 20, 220, 44});
        SetForegroundWindow(parent.hwnd());
        SetFocus(parent.hwnd());
        SetWindowTextA(field, state.text);
        SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(state.start), state.end);
        if (state.typed) {
            SendMessageW(field, WM_CHAR, '7', 0);
            SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(state.start), state.end);
        }
        EXPECT_TRUE(test::PutClipboardText(state.clipboard));
        Pump();
        return field;
    }
    // Opens the menu as the keyboard does, notes its items, then presses `key`.
    void OpenAndPress(WORD key, LPARAM where = MAKELPARAM(-1, -1))
    {
        Watch watch(field, {InspectThen(key)});
        SendMessageW(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), where);
        Pump();
        EXPECT_TRUE(Watch::RanToTheEnd());
    }
    std::pair<int, int> Selection() const
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }

    test::ParentWindow parent;
    HWND field = nullptr;
};

// The items' texts alone.
Items Texts(Items items)
{
    for (std::string &item : items) {
        item = item.substr(0, item.find(" (grey)"));
    }
    return items;
}

// The items enabled, in the order Undo, Cut, Copy, Paste, Delete, Select All: '+' enabled.
std::string Enabled(const Items &items)
{
    std::string enabled;
    for (const std::string &item : items) {
        if (!item.empty()) {
            enabled += item.find("(grey)") == std::string::npos ? '+' : '-';
        }
    }
    return enabled;
}

struct Enabling {
    const char *name;
    FieldState state;
    const char *enabled;
};

class EditMenuEnabling : public EditMenu, public ::testing::WithParamInterface<Enabling> {};

TEST_P(EditMenuEnabling, ItemsFollowTheFieldsState)
{
    Prepare(GetParam().state);
    OpenAndPress(VK_ESCAPE);
    EXPECT_EQ(Enabled(g_script.items), GetParam().enabled);
    EXPECT_EQ(GetFocus(), field) << "the field takes the focus";
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditMenuEnabling,
    ::testing::Values(Enabling{"Empty", {0, "", 0, 0, nullptr, false}, "------"},
                      Enabling{"TextUnselected", {0, "450", 1, 1, nullptr, false}, "-----+"},
                      Enabling{"AllSelected", {0, "450", 0, 3, nullptr, false}, "-++-+-"},
                      Enabling{"ClipboardHoldsText", {0, "450", 0, 1, "12", false}, "-+++++"},
                      Enabling{"AfterTyping", {0, "450", 0, 3, nullptr, true}, "+++-+-"},
                      Enabling{"ReadOnly", {ES_READONLY, "450", 0, 2, "12", false}, "--+--+"},
                      Enabling{"Password", {ES_PASSWORD, "450", 0, 2, "12", false}, "---+++"}),
    ByName());

struct Action {
    const char *name;
    FieldState state;
    WORD key;
    const char *text;
    std::pair<int, int> selection;
    const char *clipboard;
};

class EditMenuAction : public EditMenu, public ::testing::WithParamInterface<Action> {};

TEST_P(EditMenuAction, EachItemDoesWhatItsKeyDoes)
{
    Prepare(GetParam().state);
    OpenAndPress(GetParam().key);
    EXPECT_EQ(Texts(g_script.items), kAllEditItems);
    EXPECT_EQ(test::Text(field), GetParam().text);
    EXPECT_EQ(Selection(), GetParam().selection);
    EXPECT_EQ(test::ClipboardText(), GetParam().clipboard);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditMenuAction,
    ::testing::Values(Action{"SelectAll", {0, "450", 1, 2, "9", false}, 'A', "450", {0, 3}, "9"},
                      Action{"Copy", {0, "450", 0, 2, "9", false}, 'C', "450", {0, 2}, "45"},
                      Action{"Cut", {0, "450", 0, 2, "9", false}, 'T', "0", {0, 0}, "45"},
                      Action{"Paste", {0, "450", 0, 3, "12", false}, 'P', "12", {2, 2}, "12"},
                      Action{"Delete", {0, "450", 1, 2, "9", false}, 'D', "40", {1, 1}, "9"},
                      Action{"Undo", {0, "450", 0, 3, "9", true}, 'U', "450", {0, 3}, "9"},
                      Action{"GreyedCopyDoesNothing", {0, "450", 1, 1, "9", false}, 'C', "450", {1, 1}, "9"}),
    ByName());

TEST_F(EditMenu, OpensAtTheClickOrFromTheKeyboardAtTheFieldsMiddle)
{
    Prepare({0, "450", 0, 0, nullptr, false});
    RECT client = {};
    GetClientRect(field, &client);
    POINT middle = {client.right / 2, client.bottom / 2};
    ClientToScreen(field, &middle);
    const std::pair<LPARAM, POINT> places[] = {{MAKELPARAM(150, 120), POINT{150, 120}},
                                               {MAKELPARAM(-1, -1), middle}};
    for (const auto &[where, expected] : places) {
        OpenAndPress(VK_ESCAPE, where);
        EXPECT_EQ(g_script.menuRect.left, expected.x);
        EXPECT_EQ(g_script.menuRect.top, expected.y);
    }
}

// ---- A dialog's system menu ----

constexpr WORD kDialogFieldId = 100;
constexpr WORD kDialogListId = 101;

bool g_cancelled = false;

INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        g_cancelled = true;
        DestroyWindow(hwnd);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog frame as a modal dialog has it, with a field holding the focus.
class SystemMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::TemplateWriter writer;
        writer.Dword(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE).Dword(0).Word(2);
        writer.Box(40, 40, 160, 80).Word(0).Word(0).String(u"Frame");
        const auto control = [&writer](DWORD style, short x, short height, WORD id, WORD atom,
                                       const char16_t *text) {
            writer.Align().Dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | style).Dword(0);
            writer.Box(x, 10, 60, height).Word(id).Ordinal(atom).String(text).Word(0);
        };
        control(WS_BORDER, 10, 14, kDialogFieldId, 0x81, u"450");    // an edit field
        control(CBS_DROPDOWNLIST, 80, 60, kDialogListId, 0x85, u""); // a drop-down list
        bytes = writer.bytes();
        dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr,
                                            RecordingDialogProc, 0);
        g_cancelled = false;
        SetForegroundWindow(dialog);
        SetFocus(GetDlgItem(dialog, kDialogFieldId));
        Pump(dialog);
    }
    void TearDown() override
    {
        if (IsWindow(dialog)) {
            DestroyWindow(dialog);
        }
        Pump();
    }
    // Types `keys` into the dialog, then plays `steps` on the menu they open.
    void Play(const std::vector<std::pair<WORD, WORD>> &keys, std::vector<Step> steps)
    {
        Watch watch(dialog, std::move(steps));
        for (const auto &[key, modifier] : keys) {
            Press(key, modifier);
        }
        Pump(dialog);
        EXPECT_TRUE(Watch::RanToTheEnd()) << "step " << g_script.next << " of " << g_script.steps.size();
    }

    std::vector<BYTE> bytes;
    HWND dialog = nullptr;
};

// The platform's items for a dialog frame: Move and Close only; Wine adds its own last item. The
// first is highlighted.
const Items kDialogFrameItems = {"&Restore (grey) (hot)", "&Move", "&Size (grey)",  "Mi&nimize (grey)",
                                 "Ma&ximize (grey)",      "",      "&Close\tAlt+F4"};

TEST_F(SystemMenu, AltSpaceOpensItGreyedByTheFrameAndEscapeLeavesTheDialogOpen)
{
    Play({{VK_SPACE, VK_MENU}}, {InspectThen(VK_ESCAPE), Key(VK_ESCAPE)});
    Items items = g_script.items;
    if (driving::RunningUnderWine() && items.size() == kDialogFrameItems.size() + 2) {
        items.resize(kDialogFrameItems.size()); // "About Wine" after a separator
    }
    EXPECT_EQ(items, kDialogFrameItems);
    EXPECT_EQ(g_script.menuClass, "#32768");
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(g_cancelled);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kDialogFieldId)) << "the field keeps the focus";
}

struct Opening {
    const char *name;
    std::vector<std::pair<WORD, WORD>> keys;
    std::vector<Step> steps;
    bool closed;
    WORD focus = kDialogFieldId;
};

class SystemMenuKeys : public SystemMenu, public ::testing::WithParamInterface<Opening> {};

TEST_P(SystemMenuKeys, OpenAndEndAsOnThePlatform)
{
    SetFocus(GetDlgItem(dialog, GetParam().focus));
    Play(GetParam().keys, GetParam().steps);
    Pump(dialog);
    EXPECT_EQ(g_cancelled, GetParam().closed);
    EXPECT_EQ(IsWindow(dialog) != FALSE, !GetParam().closed);
    if (GetParam().closed) {
        const std::vector<Heard> close = {{WM_SYSCOMMAND, SC_CLOSE}};
        EXPECT_TRUE(std::search(g_script.heard.begin(), g_script.heard.end(), close.begin(), close.end()) !=
                    g_script.heard.end());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SystemMenuKeys,
    ::testing::Values(
        Opening{
            "AltThenSpace", {{VK_MENU, 0}}, {Key(VK_SPACE), InspectThen(VK_ESCAPE), Key(VK_ESCAPE)}, false},
        Opening{"F10ThenDown", {{VK_F10, 0}}, {Key(VK_DOWN), InspectThen(VK_ESCAPE), Key(VK_ESCAPE)}, false},
        Opening{"AltThenEscape", {{VK_MENU, 0}}, {Key(VK_ESCAPE)}, false},
        Opening{"AltSpaceThenAlt", {{VK_SPACE, VK_MENU}}, {Key(VK_MENU)}, false},
        Opening{"CloseByMnemonic", {{VK_SPACE, VK_MENU}}, {Key('C')}, true},
        Opening{"CloseByArrows",
                {{VK_SPACE, VK_MENU}},
                {Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)},
                true},
        Opening{"GreyedMaximizeDoesNothing", {{VK_SPACE, VK_MENU}}, {Key('X')}, false},
        Opening{"AltDownOnTheListEntersNoMenu", {{VK_DOWN, VK_MENU}}, {}, false, kDialogListId}),
    ByName());

TEST_F(SystemMenu, MoveFollowsTheArrowsUntilEnterAndEscapePutsItBack)
{
    if (driving::RunningUnderWine()) {
        GTEST_SKIP() << "Wine on a display without a window manager leaves the window where it is";
    }
    RECT before = {};
    GetWindowRect(dialog, &before);
    const std::pair<std::vector<WORD>, POINT> moves[] = {{{VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN}, {16, 8}},
                                                         {{VK_LEFT, VK_UP, VK_ESCAPE}, {16, 8}}};
    for (const auto &[keys, offset] : moves) {
        std::vector<std::pair<WORD, WORD>> typed = {{VK_SPACE, VK_MENU}, {'M', 0}};
        for (WORD key : keys) {
            typed.emplace_back(key, 0);
        }
        Play(typed, {});
        RECT after = {};
        GetWindowRect(dialog, &after);
        EXPECT_EQ(after.left - before.left, offset.x);
        EXPECT_EQ(after.top - before.top, offset.y);
        EXPECT_EQ(after.right - after.left, before.right - before.left) << "the size stays";
    }
    EXPECT_FALSE(g_cancelled);
}

} // namespace
