// Plays a script on the program's dialog, run modally as the program runs it: makes each phase's
// input and steps the phases; state_log.cpp says what the dialog did. The steps are driven from a
// thread timer that the dialog's own modal loop dispatches: a timer message is made only when
// nothing else waits, so each time it comes the input given before has been handled.
#include "driver.h"
#include "state_log.h"

#include "SlantGlyphDemo.h"
#include "program_dialog.h"

#include <commctrl.h>

#include <algorithm>
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

// Everything one run of a script keeps between timer calls: its log, and how far it has played.
struct Run : StateLog {
    const Script *script = nullptr;
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
};

Run g_run;
// Where the pointer rested at the start of the last script, on the screen. Every dialog opens in
// the same place, so the next script's pointer is put there before its dialog opens: a dialog that
// opens under a pointer left on an up-down would have it notice the pointer leaving only late, under
// Wine, and step by itself after an arrow key.
POINT g_restingPlace = {-1, -1};

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
    Record(g_run, message, wParam, lParam);
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
    const HWND window = NamedWindow(dialog, control);
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
            RecordNowhere(g_run);
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
        LogState(g_run, "0 open", HoldAnimation());
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
        LogState(g_run, std::to_string(g_run.step + 1) + " " + step.text, HoldAnimation());
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
    g_run.out = &log;
    LogScript(g_run, script.name);
    g_run.phaseStart = GetTickCount();
    if (g_restingPlace.x >= 0) {
        SetCursorPos(g_restingPlace.x, g_restingPlace.y);
    }
    const UINT_PTR poll = SetTimer(nullptr, 0, kPollMilliseconds, Poll);
    const INT_PTR result = driving::RunModal(LoggingDialogProc);
    KillTimer(nullptr, poll);
    if (g_run.dialog == nullptr) {
        LogNotOpened(g_run);
        return false;
    }
    const std::string heading =
        g_run.finished ? std::string("end")
                       : std::to_string(g_run.step + 1) + " " + g_run.script->steps[g_run.step].text;
    LogEnd(g_run, heading, result);
    ReleaseButtons();
    DrainQueue();
    g_run = Run();
    return true;
}

} // namespace conformance
