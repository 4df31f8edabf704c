// The page's view of the dialog it shows, read through the public Win32 API as any program could
// read another's window: each control's identifier, class, text, check or selection, and place.
// The page reads it between two of the program's waits, when nothing runs, to link to what is
// shown now and to find where a person would click. It only reads: it sends no message that
// changes a control.
#include <windows.h>

#include <emscripten.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kLongestText = 256;

// A UTF-16 string as a JSON string.
std::string JsonString(const WCHAR *text)
{
    std::string json = "\"";
    for (; *text != 0; ++text) {
        const auto unit = static_cast<unsigned>(*text);
        if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\') {
            json += static_cast<char>(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unit);
            json += escaped;
        }
    }
    return json + "\"";
}

// One control as a JSON object; its place is its rectangle in the dialog's client area.
std::string DescribeControl(HWND dialog, HWND control)
{
    WCHAR className[kLongestText] = {};
    WCHAR text[kLongestText] = {};
    GetClassNameW(control, className, kLongestText);
    GetWindowTextW(control, text, kLongestText);
    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&place), 2);
    long state = -1;
    if (lstrcmpiW(className, L"Button") == 0) {
        state = static_cast<long>(SendMessageW(control, BM_GETCHECK, 0, 0));
    } else if (lstrcmpiW(className, L"ComboBox") == 0) {
        state = static_cast<long>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    }
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "{\"id\":%d,\"state\":%ld,\"left\":%ld,\"top\":%ld,\"right\":%ld,\"bottom\":%ld,",
                  GetDlgCtrlID(control), state, static_cast<long>(place.left), static_cast<long>(place.top),
                  static_cast<long>(place.right), static_cast<long>(place.bottom));
    return numbers + ("\"class\":" + JsonString(className)) + ",\"text\":" + JsonString(text) + "}";
}

} // namespace

// The active window's controls as JSON, {"controls":[...]}, or null when no window is active. The
// string stays valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const char *SlantDescribeDialog()
{
    static std::string json;
    const HWND dialog = GetActiveWindow();
    if (dialog == nullptr) {
        return nullptr;
    }
    json = "{\"controls\":[";
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        json += DescribeControl(dialog, control);
        json += ',';
    }
    if (json.back() == ',') {
        json.pop_back();
    }
    json += "]}";
    return json.c_str();
}
