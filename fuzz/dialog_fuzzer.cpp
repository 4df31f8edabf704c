// Any run of user actions on the program's real dialog, as the headless host delivers input:
// typing into the angle fields, clicks on every box and arrow, the alignment list, timer ticks,
// Enter and Escape. After every action the program's promises are checked, and a broken one
// aborts the run so that libFuzzer reports it.
#include "SlantGlyphDemo.h"
#include "program_dialog.h"

#include <commctrl.h>
#include <dlgs.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <headless.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

using animation::kEscapementTimer;
using animation::kOrientationTimer;

constexpr int kAngleLimit = 3600;
// A change travels to the partner field, back, and at most once more to rewrite the first
// field's text in plain form: three commands one inside the other.
constexpr int kDeepestEcho = 3;
constexpr int kMostActions = 48;
constexpr size_t kLongestText = 10000;
// Input that a person could give in one go never takes this many messages to settle.
constexpr int kMostMessagesPerPump = 20000;

// What reached the dialog procedure during one action.
struct Traffic {
    int depth = 0;
    int deepest = 0;
    std::set<UINT_PTR> timers;
};
Traffic g_traffic;

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "dialog_fuzzer: %s\n", what);
    std::abort();
}

bool Checked(HWND dialog, int box)
{
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

int ReadAngle(HWND dialog, int field)
{
    return static_cast<int>(GetDlgItemInt(dialog, field, nullptr, TRUE));
}

std::string TextOf(HWND dialog, int field)
{
    char text[64] = {};
    GetDlgItemTextA(dialog, field, text, sizeof(text));
    return text;
}

// A changed angle field, handled: coupled, the partner now holds its angle within the limits;
// uncoupled, the partner is untouched.
INT_PTR HandleAngleChange(HWND hwnd, int field, WPARAM wParam, LPARAM lParam)
{
    const int partner = field == edt1 ? edt2 : edt1;
    const bool coupled = Checked(hwnd, chx3);
    const int angle = ReadAngle(hwnd, field);
    const std::string partnerBefore = TextOf(hwnd, partner);
    const INT_PTR result = DialogProc(hwnd, WM_COMMAND, wParam, lParam);
    if (coupled && ReadAngle(hwnd, partner) != std::clamp(angle, -kAngleLimit, kAngleLimit)) {
        Fail("a coupled angle did not reach the partner field within the limits");
    }
    if (!coupled && TextOf(hwnd, partner) != partnerBefore) {
        Fail("an uncoupled angle changed the partner field");
    }
    return result;
}

INT_PTR CALLBACK WatchedDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        g_traffic.timers.insert(wParam);
    }
    if (message != WM_COMMAND) {
        return DialogProc(hwnd, message, wParam, lParam);
    }
    g_traffic.deepest = std::max(g_traffic.deepest, ++g_traffic.depth);
    const int id = LOWORD(wParam);
    const INT_PTR result = HIWORD(wParam) == EN_CHANGE && (id == edt1 || id == edt2)
                               ? HandleAngleChange(hwnd, id, wParam, lParam)
                               : DialogProc(hwnd, message, wParam, lParam);
    --g_traffic.depth;
    return result;
}

// Delivers everything queued, as the modeless dialog's message loop would; every paint must
// give back every GDI object it took.
void Pump(HWND dialog)
{
    MSG msg;
    for (int count = 0; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++count) {
        if (count > kMostMessagesPerPump) {
            Fail("the message queue never runs dry");
        }
        const bool paint = msg.message == WM_PAINT;
        const long before = paint ? driving::GdiObjects() : 0;
        if (!IsWindow(dialog) || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (paint && driving::GdiObjects() != before) {
            Fail("a paint kept or lost GDI objects");
        }
    }
}

void CheckAfterAction(HWND dialog)
{
    if (g_traffic.depth != 0 || g_traffic.deepest > kDeepestEcho) {
        Fail("command handling nested deeper than one round trip of the echo");
    }
    const bool escapement = Checked(dialog, chx4);
    const bool orientation = Checked(dialog, chx5);
    if (escapement && orientation) {
        Fail("both angles animate");
    }
    // Each box is locked exactly while the other animates.
    if (!IsWindowEnabled(GetDlgItem(dialog, chx5)) != escapement ||
        !IsWindowEnabled(GetDlgItem(dialog, chx4)) != orientation) {
        Fail("an Animate box is enabled against the animation state");
    }
    if (Checked(dialog, chx3)) {
        // Beyond the up-downs' range the partner holds the limit.
        const int first = std::clamp(ReadAngle(dialog, edt1), -kAngleLimit, kAngleLimit);
        const int second = std::clamp(ReadAngle(dialog, edt2), -kAngleLimit, kAngleLimit);
        if (first != second) {
            Fail("with \"==\" checked the two angles differ");
        }
    }
}

// One period of the clock: exactly the timer of the running animation fires, or none.
void Tick(HWND dialog)
{
    g_traffic.timers.clear();
    platform::AdvanceClock(animation::kTickMilliseconds);
    Pump(dialog);
    std::set<UINT_PTR> expected;
    for (const auto &[box, timer] : {std::pair{chx4, kEscapementTimer}, std::pair{chx5, kOrientationTimer}}) {
        if (Checked(dialog, box)) {
            expected.insert(timer);
        }
    }
    if (g_traffic.timers != expected) {
        Fail("the animation timers running do not match the checked Animate boxes");
    }
}

// Where a control's centre (or a point at a fraction of its height) lies in the dialog.
LPARAM PointIn(HWND dialog, int id, int numerator = 1, int denominator = 2)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    return MAKELPARAM((rect.left + rect.right) / 2,
                      rect.top + (rect.bottom - rect.top) * numerator / denominator);
}

// Periods of the clock with the checks after each, as after any action.
void Ticks(HWND dialog, int count)
{
    for (int i = 0; i < count; ++i) {
        Tick(dialog);
        CheckAfterAction(dialog);
    }
}

void Click(HWND dialog, LPARAM point)
{
    platform::InjectInput(dialog, WM_LBUTTONDOWN, MK_LBUTTON, point);
    platform::InjectInput(dialog, WM_LBUTTONUP, 0, point);
}

// A key pressed and let go; the space bar types a space too.
void Key(HWND dialog, WPARAM key)
{
    platform::InjectInput(dialog, WM_KEYDOWN, key, 0);
    if (key == VK_SPACE) {
        platform::InjectInput(dialog, WM_CHAR, L' ', 0);
    }
    platform::InjectInput(dialog, WM_KEYUP, key, 0);
}

void EnterOrEscape(HWND dialog, FuzzedDataProvider &input)
{
    Key(dialog, input.ConsumeBool() ? VK_RETURN : VK_ESCAPE);
}

// Characters a person might type into an angle field, the odd ones included.
constexpr WCHAR kTyped[] = {L'0',   L'1',   L'2',   L'3',   L'5',   L'7',   L'9',    L'-',
                            L'+',   L' ',   L'a',   L'x',   L'Z',   L'.',   L',',    0xFF11,
                            0xFF12, 0x0660, 0x00E9, 0x4E2D, 0xD83D, 0xDE00, VK_BACK, L'0'};

void TypeIntoField(HWND dialog, FuzzedDataProvider &input)
{
    Click(dialog, PointIn(dialog, input.ConsumeBool() ? edt1 : edt2));
    for (int count = input.ConsumeIntegralInRange(0, 24); count > 0; --count) {
        platform::InjectInput(dialog, WM_CHAR, input.PickValueInArray(kTyped), 0);
    }
}

// A long text arrives at once, as a paste or a program would put it there.
void SetLongText(HWND dialog, FuzzedDataProvider &input)
{
    const int field = input.ConsumeBool() ? edt1 : edt2;
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, kLongestText);
    const size_t prefix = input.ConsumeIntegralInRange<size_t>(0, 12);
    std::u16string text;
    for (size_t i = 0; i < prefix; ++i) {
        text += static_cast<char16_t>(input.PickValueInArray(kTyped));
    }
    text.resize(std::max(length, prefix), static_cast<char16_t>(input.PickValueInArray(kTyped)));
    SetDlgItemTextW(dialog, field, reinterpret_cast<LPCWSTR>(text.c_str()));
}

void ClickBox(HWND dialog, FuzzedDataProvider &input)
{
    constexpr int kBoxes[] = {chx1, chx3, chx4, chx5};
    Click(dialog, PointIn(dialog, input.PickValueInArray(kBoxes)));
}

// An arrow of an up-down, clicked or held down for a while.
void PressArrow(HWND dialog, FuzzedDataProvider &input)
{
    const int upDown = input.ConsumeBool() ? scr1 : scr2;
    const LPARAM point = input.ConsumeBool() ? PointIn(dialog, upDown, 1, 4) : PointIn(dialog, upDown, 3, 4);
    platform::InjectInput(dialog, WM_LBUTTONDOWN, MK_LBUTTON, point);
    Ticks(dialog, input.ConsumeIntegralInRange(0, 6));
    platform::InjectInput(dialog, WM_LBUTTONUP, 0, point);
}

void PressKey(HWND dialog, FuzzedDataProvider &input)
{
    constexpr WPARAM kKeys[] = {VK_UP,  VK_DOWN,   VK_LEFT, VK_RIGHT, VK_HOME,
                                VK_END, VK_DELETE, VK_TAB,  VK_SPACE};
    Key(dialog, input.PickValueInArray(kKeys));
}

void ChooseAlignment(HWND dialog, FuzzedDataProvider &input)
{
    constexpr WPARAM kKeys[] = {VK_UP, VK_DOWN, VK_HOME, VK_END};
    Click(dialog, PointIn(dialog, cmb1));
    Key(dialog, input.PickValueInArray(kKeys));
    if (input.ConsumeBool()) {
        EnterOrEscape(dialog, input);
    }
}

void ClickAnywhere(HWND dialog, FuzzedDataProvider &input)
{
    RECT client;
    GetClientRect(dialog, &client);
    const int x = input.ConsumeIntegralInRange<int>(-4, client.right + 4);
    const int y = input.ConsumeIntegralInRange<int>(-4, client.bottom + 4);
    Click(dialog, MAKELPARAM(x, y));
}

void RunTicks(HWND dialog, FuzzedDataProvider &input)
{
    Ticks(dialog, input.ConsumeIntegralInRange(1, 8));
}

// What a person can do to the dialog; the input picks one after another.
using Action = void (*)(HWND, FuzzedDataProvider &);
constexpr Action kActions[] = {TypeIntoField,   SetLongText, ClickBox,      PressArrow,   PressKey,
                               ChooseAlignment, RunTicks,    EnterOrEscape, ClickAnywhere};

bool Ended(HWND dialog)
{
    return !IsWindow(dialog) || !IsWindowVisible(dialog);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const driving::Dialog program(WatchedDialogProc);
    HWND dialog = program.hwnd();
    if (dialog == nullptr) {
        Fail("the dialog could not be created");
    }
    ShowWindow(dialog, SW_SHOW);
    Pump(dialog);

    for (int action = 0; action < kMostActions && input.remaining_bytes() > 0 && !Ended(dialog); ++action) {
        g_traffic.deepest = 0;
        input.PickValueInArray(kActions)(dialog, input);
        Pump(dialog);
        if (!Ended(dialog)) {
            CheckAfterAction(dialog);
        }
    }
    if (!Ended(dialog)) {
        Tick(dialog);
    }
    // What the end leaves queued is delivered and checked too, before the dialog object goes.
    DestroyWindow(dialog);
    Pump(nullptr);
    return 0;
}
