// Plays a script on the program's dialog, run modally as the program runs it. The steps are driven
// from a thread timer that the dialog's own modal loop dispatches: a timer message is made only
// when nothing else waits, so each time it comes the input given before has been handled.
#include "driver.h"

#include "SlantGlyphDemo.h"
#include "program_dialog.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace conformance {

namespace {

constexpr UINT kPollMilliseconds = 10;
// A step that waits for ticks or repeats that never come gives up after this long.
constexpr DWORD kPatience = 3000;
// How long a moved pointer rests before a button is pressed or released there.
constexpr DWORD kSettle = 30;
// An up-down shows an arrow key as a press of its arrow for a quarter of a second; the step rests
// until that is over, so that it ends within the step on a busy machine as on an idle one.
constexpr DWORD kArrowKeyRest = 300;
// The dialog is ended by the driver, not by the script, with this result.
constexpr INT_PTR kEndedByDriver = 77;
// The program's animation timers.
constexpr UINT_PTR kAnimationTimers[] = {animation::kEscapementTimer, animation::kOrientationTimer};
// The period the driver holds them at between the steps that wait for ticks: an hour.
constexpr UINT kHeldPeriod = 3600000;
// The clipboard holds this text when a script starts.
constexpr const wchar_t kClipboardText[] = L"-450";
// A point in the dialog's client area, over the scene and clear of every control.
constexpr POINT kOutside = {340, 100};

struct MessageName {
    UINT message;
    const char *name;
};

// The messages the log keeps: every message the program handles, every notification the controls
// send, and the input and window-management messages that say what the dialog did with a key or
// a click. The rest (activation, frame, cursor shape, colours, IME) is left out: see
// docs/conformance.md.
constexpr MessageName kLoggedMessages[] = {
    {WM_INITDIALOG, "WM_INITDIALOG"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_PAINT, "WM_PAINT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_SIZE, "WM_SIZE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_NOTIFY, "WM_NOTIFY"},
    {WM_VSCROLL, "WM_VSCROLL"},
    {WM_HSCROLL, "WM_HSCROLL"},
    {WM_NEXTDLGCTL, "WM_NEXTDLGCTL"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
    {WM_SYSKEYUP, "WM_SYSKEYUP"},
    {WM_SYSCHAR, "WM_SYSCHAR"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
    {WM_RBUTTONUP, "WM_RBUTTONUP"},
    {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK"},
    {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
    {WM_MBUTTONUP, "WM_MBUTTONUP"},
    {WM_MBUTTONDBLCLK, "WM_MBUTTONDBLCLK"},
    {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
    {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
};

// The controls whose state is logged, in template order.
constexpr int kFields[] = {edt1, edt2};
constexpr int kUpDowns[] = {scr1, scr2};
constexpr int kBoxes[] = {chx1, chx3, chx4, chx5};

struct ControlName {
    int id;
    const char *name;
};
constexpr ControlName kControlNames[] = {
    {IDOK, "IDOK"}, {IDCANCEL, "IDCANCEL"}, {edt1, "edt1"}, {edt2, "edt2"}, {scr1, "scr1"}, {scr2, "scr2"},
    {chx1, "chx1"}, {chx3, "chx3"},         {chx4, "chx4"}, {chx5, "chx5"}, {cmb1, "cmb1"}};

// Everything one run of a script keeps between timer calls.
struct Run {
    const Script *script = nullptr;
    std::ostream *log = nullptr;
    HWND dialog = nullptr;
    bool pointerPlaced = false;
    bool opened = false; // the state after opening is logged
    size_t step = 0;     // the step under way
    size_t phase = 0;    // its phase under way
    bool phaseBegun = false;
    DWORD phaseStart = 0;
    int ticksWanted = 0; // animation ticks let through in this phase
    int ticks = 0;
    int scrolls = 0;
    int scrollsWanted = -1;   // the held arrow is let go at this many scrolls
    POINT pointer = {0, 0};   // where the last move sent the pointer
    DWORD keyRest = 0;        // how long the keys of the phase under way rest
    unsigned buttonsDown = 0; // one bit a Button
    bool finished = false;    // every step played; the driver ends the dialog
    std::string messages;     // what the dialog procedure received during the step
};

Run g_run;
// Where the pointer rested at the start of the last script, on the screen. Every dialog opens in
// the same place, so the next script's pointer is put there before its dialog opens: a dialog that
// opens under a pointer left on an up-down would have it notice the pointer leaving only late, under
// Wine, and step by itself after an arrow key.
POINT g_restingPlace = {-1, -1};

std::string ControlId(int id)
{
    for (const ControlName &entry : kControlNames) {
        if (entry.id == id) {
            return entry.name;
        }
    }
    return "id" + std::to_string(id);
}

// The static labels have no identifier of their own; they are known by their order.
HWND Label(HWND dialog, int index)
{
    int seen = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = {};
        GetClassNameA(child, className, sizeof(className));
        if (lstrcmpiA(className, "Static") == 0 && ++seen == index) {
            return child;
        }
    }
    return nullptr;
}

// A window as the log names it: by its control identifier, or by what it is.
std::string WindowName(HWND hwnd)
{
    const HWND dialog = g_run.dialog;
    if (hwnd == nullptr) {
        return "none";
    }
    if (hwnd == dialog) {
        return "dialog";
    }
    if (dialog != nullptr && GetParent(hwnd) == dialog) {
        if (hwnd == Label(dialog, 1)) {
            return "label1";
        }
        if (hwnd == Label(dialog, 2)) {
            return "label2";
        }
        return ControlId(GetDlgCtrlID(hwnd));
    }
    char className[32] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    if (lstrcmpiA(className, "ComboLBox") == 0) {
        return "cmb1.list";
    }
    return std::string("other:") + className;
}

std::string Hex(unsigned value)
{
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << value;
    return text.str();
}

// One logged message with its arguments normalised: handles become names, points are left out.
std::string Describe(const char *name, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::string text = name;
    switch (message) {
    case WM_COMMAND: text += "(" + ControlId(LOWORD(wParam)) + "," + Hex(HIWORD(wParam)) + ")"; break;
    case WM_NOTIFY: {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        text += "(" + ControlId(static_cast<int>(header->idFrom)) + "," +
                std::to_string(static_cast<int>(header->code)) + ")";
        break;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        text += "(" + WindowName(reinterpret_cast<HWND>(lParam)) + "," + std::to_string(LOWORD(wParam)) +
                "," + std::to_string(static_cast<short>(HIWORD(wParam))) + ")";
        break;
    case WM_TIMER: text += "(" + std::to_string(wParam) + ")"; break;
    case WM_SYSCOMMAND: text += "(" + Hex(static_cast<unsigned>(wParam & 0xFFF0)) + ")"; break;
    case WM_NEXTDLGCTL:
        // With lParam set, wParam is the control to focus; otherwise it says which way to go.
        text += "(" + (lParam != 0 ? WindowName(reinterpret_cast<HWND>(wParam)) : std::to_string(wParam)) +
                "," + std::to_string(lParam) + ")";
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR: text += "(" + Hex(static_cast<unsigned>(wParam)) + ")"; break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: text += "(" + WindowName(reinterpret_cast<HWND>(wParam)) + ")"; break;
    case WM_MOUSEWHEEL: text += "(" + std::to_string(GET_WHEEL_DELTA_WPARAM(wParam)) + ")"; break;
    // From the keyboard the point is (-1, -1); from the mouse, where it was.
    case WM_CONTEXTMENU:
        text += "(" + WindowName(reinterpret_cast<HWND>(wParam)) + (lParam == -1 ? ",keys)" : ",mouse)");
        break;
    default: break;
    }
    return text;
}

// Messages about drawing rather than behaviour, sent as often as each platform repaints a control:
// custom-draw notifications, and the erase a themed control asks its parent for, on its own DC, to
// draw its background.
bool IsDrawingDetail(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        return reinterpret_cast<const NMHDR *>(lParam)->code == static_cast<UINT>(NM_CUSTOMDRAW);
    }
    return message == WM_ERASEBKGND && WindowFromDC(reinterpret_cast<HDC>(wParam)) != g_run.dialog;
}

void Record(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsDrawingDetail(message, wParam, lParam)) {
        return;
    }
    for (const MessageName &entry : kLoggedMessages) {
        if (entry.message == message) {
            g_run.messages +=
                (g_run.messages.empty() ? "" : " ") + Describe(entry.name, message, wParam, lParam);
            return;
        }
    }
}

// Starts each animation timer that exists afresh with `period`; returns which exist. Outside the
// steps that wait for ticks the timers are held at a period no step lasts, so that everywhere
// else a step sees the same angles on a busy machine as on an idle one.
std::string RestartAnimation(UINT period)
{
    std::string running;
    for (UINT_PTR timer : kAnimationTimers) {
        if (g_run.dialog != nullptr && KillTimer(g_run.dialog, timer)) {
            SetTimer(g_run.dialog, timer, period, nullptr);
            running += (running.empty() ? "" : " ") + std::to_string(timer);
        }
    }
    return running.empty() ? "none" : running;
}

std::string HoldAnimation()
{
    return RestartAnimation(kHeldPeriod);
}

// Input as the platform's input path takes it: absolute mouse positions are in 65536ths of the
// screen, rounded up so that they land on the intended pixel.
INPUT MouseInput(DWORD flags, POINT point = {0, 0})
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((point.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = flags;
    return input;
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Send(std::vector<INPUT> inputs)
{
    if (!inputs.empty()) {
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
}

unsigned Bit(Button button)
{
    return 1U << static_cast<unsigned>(button);
}

DWORD ButtonFlag(Button button, bool down)
{
    switch (button) {
    case Button::Right: return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    case Button::Middle: return down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
    default: return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
}

// Lets a button go, if it is down; returns whether it was.
bool ReleaseButton(Button button = Button::Left)
{
    if ((g_run.buttonsDown & Bit(button)) == 0) {
        return false;
    }
    g_run.buttonsDown &= ~Bit(button);
    Send({MouseInput(ButtonFlag(button, false))});
    return true;
}

void ReleaseButtons()
{
    for (Button button : {Button::Left, Button::Right, Button::Middle}) {
        ReleaseButton(button);
    }
}

// Presses and releases of a button at once; a button that is down already makes nothing. Returns
// whether it clicked.
bool Click(const Phase &phase)
{
    if ((g_run.buttonsDown & Bit(phase.button)) != 0) {
        return false;
    }
    std::vector<INPUT> clicks;
    for (int click = 0; click < phase.count; ++click) {
        clicks.push_back(MouseInput(ButtonFlag(phase.button, true)));
        clicks.push_back(MouseInput(ButtonFlag(phase.button, false)));
    }
    Send(clicks);
    return true;
}

// Turns of the wheel at the pointer, each its own input.
void TurnWheel(const Phase &phase)
{
    std::vector<INPUT> turns;
    for (int turn = 0; turn < phase.count; ++turn) {
        INPUT input = MouseInput(phase.horizontal ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL);
        input.mi.mouseData = static_cast<DWORD>(phase.amount);
        turns.push_back(input);
    }
    Send(turns);
}

INT_PTR CALLBACK LoggingDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        g_run.dialog = hwnd;
    }
    Record(message, wParam, lParam);
    if ((message == WM_VSCROLL || message == WM_HSCROLL) && ++g_run.scrolls == g_run.scrollsWanted) {
        // The button comes up at once, before the arrow's next repeat can fall due.
        ReleaseButton();
    }
    const INT_PTR result = DialogProc(hwnd, message, wParam, lParam);
    if (message == WM_TIMER && g_run.ticksWanted > 0 && ++g_run.ticks >= g_run.ticksWanted) {
        g_run.ticksWanted = 0;
    }
    // A timer the program has just started is held at once, before it can tick.
    if (g_run.ticksWanted == 0) {
        HoldAnimation();
    }
    return result;
}

std::string Quoted(const std::string &text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string Text(HWND hwnd)
{
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextA(hwnd, text.data(), length + 1), 0)));
    return Quoted(text);
}

// The step in which the dialog ended: what it received until it was gone, and its result.
void LogEnd(const std::string &heading, INT_PTR result)
{
    std::ostream &log = *g_run.log;
    log << "step " << heading << "\n";
    log << "  messages " << g_run.messages << "\n";
    log << "  dialog ended " << result << "\n";
    g_run.messages.clear();
}

// The menu on show, if any: a visible window of the menu class.
HWND ShownMenu()
{
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        char className[16] = {};
        GetClassNameA(window, className, sizeof(className));
        if (lstrcmpA(className, "#32768") == 0 && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Whether a menu is on show, and the text of its highlighted item.
std::string MenuState()
{
    const HWND window = ShownMenu();
    if (window == nullptr) {
        return "none";
    }
    auto *const menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    const int count = GetMenuItemCount(menu);
    for (int item = 0; item < count; ++item) {
        if ((GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & MF_HILITE) != 0) {
            char text[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(item), text, sizeof(text), MF_BYPOSITION);
            return "open highlighted=\"" + std::string(text) + "\"";
        }
    }
    return "open highlighted=none";
}

// The state after a step, with the dialog open.
void LogState(const std::string &heading)
{
    std::ostream &log = *g_run.log;
    log << "step " << heading << "\n";
    const HWND dialog = g_run.dialog;
    const HWND focus = GetFocus();
    log << "  focus " << WindowName(focus) << "\n";
    char className[16] = {};
    GetClassNameA(focus, className, sizeof(className));
    if (lstrcmpiA(className, "Edit") == 0) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        log << "  selection " << start << "," << end << "\n";
    }
    for (int id : kFields) {
        log << "  " << ControlId(id) << " " << Text(GetDlgItem(dialog, id))
            << " enabled=" << (IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 0) << "\n";
    }
    for (int id : kUpDowns) {
        const LRESULT position = SendDlgItemMessageA(dialog, id, UDM_GETPOS, 0, 0);
        log << "  " << ControlId(id) << " position=" << static_cast<short>(LOWORD(position))
            << " enabled=" << (IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 0) << "\n";
    }
    for (int id : kBoxes) {
        log << "  " << ControlId(id) << " checked=" << IsDlgButtonChecked(dialog, id)
            << " enabled=" << (IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 0) << "\n";
    }
    const HWND list = GetDlgItem(dialog, cmb1);
    log << "  cmb1 " << Text(list) << " selection=" << SendMessageA(list, CB_GETCURSEL, 0, 0)
        << " open=" << SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0)
        << " enabled=" << (IsWindowEnabled(list) ? 1 : 0) << "\n";
    log << "  menu " << MenuState() << "\n";
    log << "  messages " << g_run.messages << "\n";
    log << "  timers " << HoldAnimation() << "\n";
    log << "  dialog open\n";
    g_run.messages.clear();
}

// Where a place is on the screen now; false for a place that is not there (an item of a closed
// list, a control that does not exist).
bool Locate(const Place &place, POINT &point)
{
    const HWND dialog = g_run.dialog;
    const std::string &target = place.target;
    const size_t dot = target.find('.');
    const std::string control = target.substr(0, dot);
    const std::string part = dot == std::string::npos ? std::string() : target.substr(dot + 1);
    RECT rect = {};
    if (control == "outside") {
        point = kOutside;
        ClientToScreen(dialog, &point);
        point.x += place.dx;
        point.y += place.dy;
        return true;
    }
    HWND window = nullptr;
    if (control == "label1" || control == "label2") {
        window = Label(dialog, control == "label1" ? 1 : 2);
    } else {
        for (const ControlName &entry : kControlNames) {
            if (control == entry.name) {
                window = GetDlgItem(dialog, entry.id);
            }
        }
    }
    if (window == nullptr || !GetWindowRect(window, &rect)) {
        return false;
    }
    if (part.rfind("item", 0) == 0) {
        if (SendMessageA(window, CB_GETDROPPEDSTATE, 0, 0) == 0) {
            return false;
        }
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        if (!GetComboBoxInfo(window, &info) || !GetWindowRect(info.hwndList, &rect)) {
            return false;
        }
        RECT client = {};
        GetClientRect(info.hwndList, &client);
        POINT origin = {0, 0};
        ClientToScreen(info.hwndList, &origin);
        const int item = std::atoi(part.c_str() + 4);
        const auto height = static_cast<int>(SendMessageA(window, CB_GETITEMHEIGHT, 0, 0));
        point = {origin.x + client.right / 2, origin.y + item * height + height / 2};
    } else if (part == "up" || part == "down") {
        const int middle = (rect.top + rect.bottom) / 2;
        point = {(rect.left + rect.right) / 2,
                 part == "up" ? (rect.top + middle) / 2 : (middle + rect.bottom) / 2};
    } else if (part.empty()) {
        point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    } else {
        return false;
    }
    point.x += place.dx;
    point.y += place.dy;
    return true;
}

void SendKeystrokes(const std::vector<Keystroke> &strokes)
{
    std::vector<INPUT> inputs;
    for (const Keystroke &stroke : strokes) {
        const std::pair<bool, WORD> modifiers[] = {
            {stroke.control, VK_CONTROL}, {stroke.alt, VK_MENU}, {stroke.shift, VK_SHIFT}};
        for (const auto &[held, key] : modifiers) {
            if (held) {
                inputs.push_back(KeyInput(key, false));
            }
        }
        inputs.push_back(KeyInput(stroke.key, false));
        inputs.push_back(KeyInput(stroke.key, true));
        for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
            if (it->first) {
                inputs.push_back(KeyInput(it->second, true));
            }
        }
    }
    Send(inputs);
}

bool PressesAnArrow(const std::vector<Keystroke> &strokes)
{
    return std::any_of(strokes.begin(), strokes.end(), [](const Keystroke &stroke) {
        return !stroke.alt && (stroke.key == VK_UP || stroke.key == VK_DOWN);
    });
}

// Begins a phase; returns true when it is over at once.
bool BeginPhase(const Phase &phase)
{
    g_run.phaseStart = GetTickCount();
    switch (phase.kind) {
    case Phase::Kind::Keys:
        SendKeystrokes(phase.keys);
        g_run.keyRest = PressesAnArrow(phase.keys) ? kArrowKeyRest : 0;
        return false;
    case Phase::Kind::Move: {
        POINT point = {};
        if (!Locate(phase.place, point)) {
            // A place that is not there (an item of a closed list) makes the whole step nothing.
            g_run.messages += g_run.messages.empty() ? "(nowhere)" : " (nowhere)";
            g_run.phase = g_run.script->steps[g_run.step].phases.size() - 1;
            return true;
        }
        Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point)});
        g_run.pointer = point;
        return false;
    }
    case Phase::Kind::Press:
        // A button that is down cannot go down again: the press is nothing.
        if ((g_run.buttonsDown & Bit(phase.button)) != 0) {
            return true;
        }
        g_run.buttonsDown |= Bit(phase.button);
        Send({MouseInput(ButtonFlag(phase.button, true))});
        return false;
    // Already up, when a held arrow was let go.
    case Phase::Kind::Release: return !ReleaseButton(phase.button);
    case Phase::Kind::Wheel: TurnWheel(phase); return false;
    case Phase::Kind::Clicks: return !Click(phase);
    case Phase::Kind::Ticks:
        g_run.ticks = 0;
        g_run.ticksWanted = phase.count;
        if (RestartAnimation(animation::kTickMilliseconds) == "none" || phase.count == 0) {
            g_run.ticksWanted = 0;
            HoldAnimation();
            return true;
        }
        return false;
    case Phase::Kind::Scrolls:
        g_run.scrolls = 0;
        g_run.scrollsWanted = phase.count;
        return phase.count == 0;
    case Phase::Kind::Wait: return phase.count == 0;
    }
    return true;
}

// Whether a phase that has begun is over, at a moment when the dialog has handled all input.
bool PhaseOver(const Phase &phase)
{
    const DWORD elapsed = GetTickCount() - g_run.phaseStart;
    switch (phase.kind) {
    case Phase::Kind::Keys: return elapsed >= g_run.keyRest;
    case Phase::Kind::Wait: return elapsed >= static_cast<DWORD>(phase.count);
    case Phase::Kind::Move: {
        // A desktop may echo the move back late; the button waits until the pointer has settled.
        POINT cursor = {};
        GetCursorPos(&cursor);
        const bool there = cursor.x == g_run.pointer.x && cursor.y == g_run.pointer.y;
        return (there && elapsed >= kSettle) || elapsed >= kPatience;
    }
    case Phase::Kind::Ticks:
        if (g_run.ticksWanted != 0 && elapsed < kPatience) {
            return false;
        }
        g_run.ticksWanted = 0;
        HoldAnimation();
        return true;
    case Phase::Kind::Scrolls:
        if (g_run.scrolls >= phase.count || elapsed >= kPatience) {
            g_run.scrollsWanted = -1;
            return true;
        }
        return false;
    default: return true;
    }
}

void Finish()
{
    g_run.finished = true;
    ReleaseButtons();
    // A script may end with a menu open, whose own loop runs inside the dialog's: it goes first.
    EndMenu();
    if (IsWindow(g_run.dialog)) {
        EndDialog(g_run.dialog, kEndedByDriver);
    }
}

// Called by the dialog's modal loop whenever its queue is idle.
void CALLBACK Poll(HWND /*hwnd*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/)
{
    if (g_run.dialog == nullptr || g_run.finished) {
        return;
    }
    if (!g_run.opened) {
        // The dialog shows once its queue is first empty, and input goes to the foreground window:
        // the steps begin once the dialog is both.
        const bool ready = IsWindowVisible(g_run.dialog) && GetForegroundWindow() == g_run.dialog;
        if (!ready && GetTickCount() - g_run.phaseStart < kPatience) {
            return;
        }
        // Every script starts with the pointer resting on the scene, clear of the controls.
        if (!g_run.pointerPlaced) {
            g_run.pointerPlaced = true;
            POINT outside = kOutside;
            ClientToScreen(g_run.dialog, &outside);
            Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, outside)});
            g_run.pointer = g_restingPlace = outside;
            g_run.phaseStart = GetTickCount();
            return;
        }
        if (!PhaseOver(Phase{Phase::Kind::Move, {}, {}, 0})) {
            return;
        }
        g_run.opened = true;
        LogState("0 open");
    }
    const std::vector<Step> &steps = g_run.script->steps;
    while (g_run.step < steps.size()) {
        const Step &step = steps[g_run.step];
        if (g_run.phase < step.phases.size()) {
            const Phase &phase = step.phases[g_run.phase];
            if (!g_run.phaseBegun) {
                g_run.phaseBegun = true;
                if (!BeginPhase(phase)) {
                    return; // the next call comes once the dialog has handled it
                }
            } else if (!PhaseOver(phase)) {
                return;
            }
            ++g_run.phase;
            g_run.phaseBegun = false;
            continue;
        }
        LogState(std::to_string(g_run.step + 1) + " " + step.text);
        ++g_run.step;
        g_run.phase = 0;
    }
    Finish();
}

void ResetClipboard()
{
    if (!OpenClipboard(nullptr)) {
        return;
    }
    EmptyClipboard();
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(kClipboardText));
    if (block != nullptr) {
        auto *text = static_cast<WCHAR *>(GlobalLock(block));
        for (size_t index = 0; index < sizeof(kClipboardText) / sizeof(kClipboardText[0]); ++index) {
            text[index] = static_cast<WCHAR>(kClipboardText[index]);
        }
        GlobalUnlock(block);
        if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
            GlobalFree(block);
        }
    }
    CloseClipboard();
}

// Leaves nothing of one script for the next: the quit request the dialog's end posts, and input
// that came after the dialog was gone.
void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

} // namespace

bool RunScript(const Script &script, std::ostream &log)
{
    InitCommonControls();
    ResetClipboard();
    g_run = Run();
    g_run.script = &script;
    g_run.log = &log;
    log << "script " << script.name << "\n";
    g_run.phaseStart = GetTickCount();
    if (g_restingPlace.x >= 0) {
        SetCursorPos(g_restingPlace.x, g_restingPlace.y);
    }
    const UINT_PTR poll = SetTimer(nullptr, 0, kPollMilliseconds, Poll);
    const INT_PTR result = driving::RunModal(LoggingDialogProc);
    KillTimer(nullptr, poll);
    if (g_run.dialog == nullptr) {
        log << "dialog did not open\n";
        return false;
    }
    const std::string heading =
        g_run.finished ? std::string("end")
                       : std::to_string(g_run.step + 1) + " " + g_run.script->steps[g_run.step].text;
    LogEnd(heading, result);
    ReleaseButtons();
    DrainQueue();
    g_run = Run();
    return true;
}

} // namespace conformance
