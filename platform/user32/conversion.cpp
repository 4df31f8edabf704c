// Calling a window procedure across the A/W divide: the strings a message carries in or out are
// converted between the caller's kind and the procedure's.
#include "window.h"

#include "text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace platform::user32 {

namespace {

// Messages whose lParam is a string the procedure reads.
bool TakesString(UINT message)
{
    switch (message) {
    case WM_SETTEXT:
    case WM_WININICHANGE:
    case WM_DEVMODECHANGE:
    case EM_REPLACESEL:
    case CB_DIR:
    case LB_DIR:
    case LB_ADDFILE:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: return true;
    default: return false;
    }
}

std::u16string ConvertText(const char *ansi)
{
    return text::FromAnsi(ansi);
}
std::string ConvertText(const WCHAR *wide)
{
    return text::ToAnsi(text::View(wide));
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
    return static_cast<LRESULT>(text::CopyToBuffer(text, buffer, capacity));
}

// Calls a procedure that takes `ProcChar` strings for a caller that passes `CallerChar` ones.
template <typename CallerChar, typename ProcChar> class ConvertedCall {
public:
    using ProcString = std::basic_string<std::conditional_t<sizeof(ProcChar) == 1, char, char16_t>>;

    ConvertedCall(WNDPROC procedure, HWND hwnd) : procedure_(procedure), hwnd_(hwnd) {}

    LRESULT operator()(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        if (TakesString(message) && lParam != 0) {
            const auto text = ConvertText(reinterpret_cast<const CallerChar *>(lParam));
            return procedure_(hwnd_, message, wParam, reinterpret_cast<LPARAM>(Pointer(text)));
        }
        switch (message) {
        case WM_GETTEXT: return Text(wParam, reinterpret_cast<CallerChar *>(lParam));
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(WindowText().size());
        case CB_GETLBTEXT:
            return ItemText(message, CB_GETLBTEXTLEN, wParam, reinterpret_cast<CallerChar *>(lParam));
        case LB_GETTEXT:
            return ItemText(message, LB_GETTEXTLEN, wParam, reinterpret_cast<CallerChar *>(lParam));
        case CB_GETLBTEXTLEN: return ItemText(CB_GETLBTEXT, message, wParam, nullptr);
        case LB_GETTEXTLEN: return ItemText(LB_GETTEXT, message, wParam, nullptr);
        case EM_GETLINE: return Line(wParam, reinterpret_cast<CallerChar *>(lParam));
        case WM_NCCREATE:
        case WM_CREATE: return Create(message, wParam, lParam);
        default: return procedure_(hwnd_, message, wParam, lParam);
        }
    }

private:
    // Asks the procedure for a text in its own kind: first its length, then the text. WM_GETTEXT
    // takes the buffer's size in wParam, a list item its index.
    ProcString Fetch(UINT textMessage, UINT lengthMessage, WPARAM item) const
    {
        const bool sized = textMessage == WM_GETTEXT;
        const LRESULT length = procedure_(hwnd_, lengthMessage, sized ? 0 : item, 0);
        if (length < 0) {
            return ProcString();
        }
        ProcString text(static_cast<size_t>(length) + 1, 0);
        const LRESULT copied =
            procedure_(hwnd_, textMessage, sized ? text.size() : item, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        return text;
    }

    static auto Converted(const ProcString &text)
    {
        return ConvertText(reinterpret_cast<const ProcChar *>(text.c_str()));
    }

    auto WindowText() const { return Converted(Fetch(WM_GETTEXT, WM_GETTEXTLENGTH, 0)); }

    // WM_GETTEXT is passed on alone, as the platform does, with a buffer of the procedure's kind
    // sized from the caller's (twice as long for ANSI, whose characters may take two bytes).
    LRESULT Text(WPARAM capacity, CallerChar *buffer) const
    {
        if (buffer == nullptr || capacity == 0) {
            return procedure_(hwnd_, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer));
        }
        ProcString text(capacity * (sizeof(ProcChar) == 1 ? 2 : 1), 0);
        const LRESULT copied =
            procedure_(hwnd_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(text.size()))));
        return CopyOut(Converted(text), buffer, capacity);
    }

    // EM_GETLINE: the procedure fills a buffer of its own kind, large enough for the whole text;
    // the caller's gives its size in its first word, and gets a terminator only when there is room.
    LRESULT Line(WPARAM line, CallerChar *buffer) const
    {
        if (buffer == nullptr) {
            return 0;
        }
        const size_t capacity = *reinterpret_cast<const WORD *>(buffer);
        const LRESULT length = procedure_(hwnd_, WM_GETTEXTLENGTH, 0, 0);
        ProcString text(static_cast<size_t>(std::clamp<LRESULT>(length, 1, 0xFFFE)) + 1, 0);
        *reinterpret_cast<WORD *>(text.data()) = static_cast<WORD>(text.size());
        const LRESULT copied = procedure_(hwnd_, EM_GETLINE, line, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(text.size()))));
        const auto converted = Converted(text);
        const size_t count = std::min(converted.size(), capacity);
        std::copy_n(converted.begin(), count, buffer);
        if (count < capacity) {
            buffer[count] = 0;
        }
        return static_cast<LRESULT>(count);
    }

    // A list item's text copied into `buffer`, or with no buffer its length, in the caller's kind.
    LRESULT ItemText(UINT textMessage, UINT lengthMessage, WPARAM item, CallerChar *buffer) const
    {
        const LRESULT length = procedure_(hwnd_, lengthMessage, item, 0);
        if (length < 0) {
            return length;
        }
        const auto text = Converted(Fetch(textMessage, lengthMessage, item));
        return buffer == nullptr ? static_cast<LRESULT>(text.size()) : CopyOut(text, buffer, text.size() + 1);
    }

    LRESULT Create(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        using From = std::conditional_t<sizeof(CallerChar) == 1, CREATESTRUCTA, CREATESTRUCTW>;
        using To = std::conditional_t<sizeof(ProcChar) == 1, CREATESTRUCTA, CREATESTRUCTW>;
        const auto *from = reinterpret_cast<const From *>(lParam);
        if (from == nullptr) {
            return procedure_(hwnd_, message, wParam, lParam);
        }
        const bool textName = from->lpszName != nullptr && !IS_INTRESOURCE(from->lpszName);
        const auto name = ConvertText(textName ? from->lpszName : reinterpret_cast<const CallerChar *>(u""));
        const auto className = ConvertText(from->lpszClass);
        To to;
        memcpy(&to, from, sizeof(to)); // the same layout, the strings aside
        to.lpszName = textName ? Pointer(name) : reinterpret_cast<decltype(to.lpszName)>(from->lpszName);
        to.lpszClass = Pointer(className);
        // A resource id as the name (an icon's, in a dialog): {0xFFFF, id} in W strings reaches
        // an ANSI procedure as 0xFF and the id's two bytes.
        std::array<char, 6> ordinalName = {}; // a reader that takes it for W strings still finds an end
        if constexpr (sizeof(CallerChar) == sizeof(WCHAR) && sizeof(ProcChar) == 1) {
            if (textName && static_cast<WCHAR>(from->lpszName[0]) == 0xFFFF) {
                const auto id = static_cast<WCHAR>(from->lpszName[1]);
                ordinalName = {static_cast<char>(0xFF), static_cast<char>(id & 0xFF),
                               static_cast<char>(id >> 8), 0};
                to.lpszName = ordinalName.data();
            }
        }
        return procedure_(hwnd_, message, wParam, reinterpret_cast<LPARAM>(&to));
    }

    WNDPROC procedure_;
    HWND hwnd_;
};

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
    return callerUnicode ? ConvertedCall<WCHAR, char>(procedure, hwnd)(message, wParam, lParam)
                         : ConvertedCall<char, WCHAR>(procedure, hwnd)(message, wParam, lParam);
}

} // namespace platform::user32

namespace {

struct KindedProcedure {
    WNDPROC procedure;
    bool unicode;
};

std::vector<KindedProcedure> &ProcedureHandles()
{
    static std::vector<KindedProcedure> handles;
    return handles;
}

// Handles sit in a range no code is loaded at, one for each procedure and kind.
constexpr ULONG_PTR kHandleBase = 0xFFFF0000U;
constexpr size_t kMostHandles = 0x10000;

} // namespace

namespace platform::user32 {

LONG_PTR ProcedureHandle(WNDPROC procedure, bool unicode)
{
    std::vector<KindedProcedure> &handles = ProcedureHandles();
    auto found = std::find_if(handles.begin(), handles.end(), [&](const KindedProcedure &entry) {
        return entry.procedure == procedure && entry.unicode == unicode;
    });
    if (found == handles.end()) {
        if (handles.size() >= kMostHandles) {
            return reinterpret_cast<LONG_PTR>(procedure);
        }
        found = handles.insert(handles.end(), {procedure, unicode});
    }
    return static_cast<LONG_PTR>(kHandleBase + static_cast<ULONG_PTR>(found - handles.begin()));
}

bool ResolveProcedureHandle(WNDPROC &procedure, bool &unicode)
{
    const auto value = reinterpret_cast<ULONG_PTR>(procedure);
    const std::vector<KindedProcedure> &handles = ProcedureHandles();
    if (value < kHandleBase || value - kHandleBase >= handles.size()) {
        return false;
    }
    procedure = handles[value - kHandleBase].procedure;
    unicode = handles[value - kHandleBase].unicode;
    return true;
}

} // namespace platform::user32

using namespace platform::user32;

namespace {

// The kind of strings `procedure` takes, as far as the layer knows it: the window's own
// procedure's, its class's, which a subclass calls on, or that of a class registered with it (a
// predefined control's, which a class of the program's own may call on); any other is taken to
// be of the caller's kind.
bool TakesWide(HWND hwnd, WNDPROC procedure, bool callerUnicode)
{
    const Window *window = LookupQuiet(hwnd);
    if (window != nullptr && window->procedure == procedure) {
        return window->unicode;
    }
    if (window != nullptr && window->windowClass != nullptr && window->windowClass->procedure == procedure) {
        return window->windowClass->unicode;
    }
    return RegisteredProcedureTakesWide(procedure).value_or(callerUnicode);
}

// A handle stands for its procedure and kind; a plain procedure is taken as TakesWide finds it.
LRESULT CallAs(bool callerUnicode, WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool unicode = callerUnicode;
    if (!ResolveProcedureHandle(procedure, unicode)) {
        unicode = TakesWide(hwnd, procedure, callerUnicode);
    }
    return CallProcedure(procedure, unicode, callerUnicode, hwnd, message, wParam, lParam);
}

} // namespace

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return CallAs(true, lpPrevWndFunc, hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return CallAs(false, lpPrevWndFunc, hWnd, Msg, wParam, lParam);
}
