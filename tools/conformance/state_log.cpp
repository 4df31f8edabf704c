// The conformance log: names the dialog's windows and messages as two platforms can agree on them,
// and writes the dialog's state after each step.
#include "state_log.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace conformance {

namespace {

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
std::string WindowName(HWND dialog, HWND hwnd)
{
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
std::string Describe(HWND dialog, const char *name, UINT message, WPARAM wParam, LPARAM lParam)
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
        text += "(" + WindowName(dialog, reinterpret_cast<HWND>(lParam)) + "," +
                std::to_string(LOWORD(wParam)) + "," + std::to_string(static_cast<short>(HIWORD(wParam))) +
                ")";
        break;
    case WM_TIMER: text += "(" + std::to_string(wParam) + ")"; break;
    case WM_SYSCOMMAND: text += "(" + Hex(static_cast<unsigned>(wParam & 0xFFF0)) + ")"; break;
    case WM_NEXTDLGCTL:
        // With lParam set, wParam is the control to focus; otherwise it says which way to go.
        text += "(" +
                (lParam != 0 ? WindowName(dialog, reinterpret_cast<HWND>(wParam)) : std::to_string(wParam)) +
                "," + std::to_string(lParam) + ")";
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR: text += "(" + Hex(static_cast<unsigned>(wParam)) + ")"; break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: text += "(" + WindowName(dialog, reinterpret_cast<HWND>(wParam)) + ")"; break;
    case WM_MOUSEWHEEL: text += "(" + std::to_string(GET_WHEEL_DELTA_WPARAM(wParam)) + ")"; break;
    // From the keyboard the point is (-1, -1); from the mouse, where it was.
    case WM_CONTEXTMENU:
        text +=
            "(" + WindowName(dialog, reinterpret_cast<HWND>(wParam)) + (lParam == -1 ? ",keys)" : ",mouse)");
        break;
    default: break;
    }
    return text;
}

// Messages about drawing rather than behaviour, sent as often as each platform repaints a control:
// custom-draw notifications, and the erase a themed control asks its parent for, on its own DC, to
// draw its background.
bool IsDrawingDetail(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        return reinterpret_cast<const NMHDR *>(lParam)->code == static_cast<UINT>(NM_CUSTOMDRAW);
    }
    return message == WM_ERASEBKGND && WindowFromDC(reinterpret_cast<HDC>(wParam)) != dialog;
}

void AddMessage(StateLog &log, const std::string &text)
{
    log.messages += (log.messages.empty() ? "" : " ") + text;
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

} // namespace

HWND NamedWindow(HWND dialog, const std::string &name)
{
    if (name == "label1" || name == "label2") {
        return Label(dialog, name == "label1" ? 1 : 2);
    }
    for (const ControlName &entry : kControlNames) {
        if (name == entry.name) {
            return GetDlgItem(dialog, entry.id);
        }
    }
    return nullptr;
}

void Record(StateLog &log, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsDrawingDetail(log.dialog, message, wParam, lParam)) {
        return;
    }
    for (const MessageName &entry : kLoggedMessages) {
        if (entry.message == message) {
            AddMessage(log, Describe(log.dialog, entry.name, message, wParam, lParam));
            return;
        }
    }
}

void RecordNowhere(StateLog &log)
{
    AddMessage(log, "(nowhere)");
}

void LogScript(StateLog &log, const std::string &name)
{
    *log.out << "script " << name << "\n";
}

void LogState(StateLog &log, const std::string &heading, const std::string &timers)
{
    std::ostream &out = *log.out;
    out << "step " << heading << "\n";
    const HWND dialog = log.dialog;
    const HWND focus = GetFocus();
    out << "  focus " << WindowName(dialog, focus) << "\n";
    char className[16] = {};
    GetClassNameA(focus, className, sizeof(className));
    if (lstrcmpiA(className, "Edit") == 0) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        out << "  selection " << start << "," << end << "\n";
    }
    for (int id : kFields) {
        out << "  " << ControlId(id) << " " << Text(GetDlgItem(dialog, id))
            << " enabled=" << (IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 0) << "\n";
    }
    for (int id : kUpDowns) {
        const LRESULT position = SendDlgItemMessageA(dialog, id, UDM_GETPOS, 0, 0);
        out << "  " << ControlId(id) << " position=" << static_cast<short>(LOWORD(position))
            << " enabled=" << (IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 0) << "\n";
    }
    for (int id : kBoxes) {
        out << "  " << ControlId(id) << " checked=" << IsDlgButtonChecked(dialog, id)
            << " enabled=" << (IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 0) << "\n";
    }
    const HWND list = GetDlgItem(dialog, cmb1);
    out << "  cmb1 " << Text(list) << " selection=" << SendMessageA(list, CB_GETCURSEL, 0, 0)
        << " open=" << SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0)
        << " enabled=" << (IsWindowEnabled(list) ? 1 : 0) << "\n";
    out << "  menu " << MenuState() << "\n";
    out << "  messages " << log.messages << "\n";
    out << "  timers " << timers << "\n";
    out << "  dialog open\n";
    log.messages.clear();
}

void LogEnd(StateLog &log, const std::string &heading, INT_PTR result)
{
    std::ostream &out = *log.out;
    out << "step " << heading << "\n";
    out << "  messages " << log.messages << "\n";
    out << "  dialog ended " << result << "\n";
    log.messages.clear();
}

void LogNotOpened(StateLog &log)
{
    *log.out << "dialog did not open\n";
}

} // namespace conformance
