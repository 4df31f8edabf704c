// Malformed UTF-8 given to every function that takes ANSI text (UTF-8 here): each must read the
// same text from the same bytes, one U+FFFD for each malformed sequence.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Case {
    const char *what;
    std::string bytes;
    std::u16string text;
};

// Each byte string ends in a letter that is not a hex digit, so the escapes before it stay whole.
const Case kCases[] = {
    {"well formed", "a\xC3\xA9\xF0\x9F\x98\x80", u"a\u00E9\U0001F600"},
    {"overlong slash", "a\xC0\xAFz", u"a\uFFFDz"},
    {"overlong NUL", "a\xC0\x80z", u"a\uFFFDz"},
    {"overlong in three bytes", "a\xE0\x80\xAFz", u"a\uFFFDz"},
    {"high surrogate", "a\xED\xA0\x80z", u"a\uFFFDz"},
    {"low surrogate", "a\xED\xBF\xBFz", u"a\uFFFDz"},
    {"cut short before a letter", "a\xE2\x82z", u"a\uFFFDz"},
    {"cut short at the end", "a\xF0\x9F\x98", u"a\uFFFD"},
    {"stray continuation bytes", "a\x80\xBFz", u"a\uFFFD\uFFFDz"},
    // Cut short by the lead byte of the next character, which then starts a character of its own.
    {"two bytes cut by a lead", "a\xC3\xC3\xA9z", u"a\uFFFD\u00E9z"},
    {"three bytes cut by a lead", "a\xE2\x82\xE2\x82\xACz", u"a\uFFFD\u20ACz"},
    {"three bytes cut at once", "a\xE2\xC3\xA9z", u"a\uFFFD\u00E9z"},
    {"four bytes cut by a lead", "a\xF0\x9F\x98\xF0\x9F\x98\x80z", u"a\uFFFD\U0001F600z"},
    {"four bytes cut by a three-byte lead", "a\xF0\x9F\xE2\x82\xACz", u"a\uFFFD\u20ACz"},
    {"past U+10FFFF", "a\xF4\x90\x80\x80z", u"a\uFFFDz"},
    {"lead byte F5", "a\xF5\x80\x80\x80z", u"a\uFFFDz"},
    {"lead byte F8", "a\xF8\x88\x80\x80\x80z", u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDz"},
    {"byte FF", "a\xFFz", u"a\uFFFDz"},
};

constexpr char kAnsiClass[] = "MalformedAnsi";
constexpr wchar_t kWideClass[] = L"MalformedWide";
constexpr int kFaceHeight = 20;

std::u16string ToText(const WCHAR *wide)
{
    return reinterpret_cast<const char16_t *>(wide);
}

const WCHAR *AsWide(const std::u16string &text)
{
    return reinterpret_cast<const WCHAR *>(text.c_str());
}

std::u16string ByMultiByteToWideChar(const std::string &bytes)
{
    WCHAR wide[64] = {};
    MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, wide, static_cast<int>(std::size(wide)));
    return ToText(wide);
}

std::u16string WindowText(HWND window)
{
    WCHAR wide[64] = {};
    GetWindowTextW(window, wide, static_cast<int>(std::size(wide)));
    return ToText(wide);
}

// The text a font's face name reads as when the name is given in bytes.
std::u16string ByCreateFontA(const std::string &bytes)
{
    HFONT font =
        CreateFontA(kFaceHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, bytes.c_str());
    LOGFONTW logical = {};
    GetObjectW(font, sizeof(logical), &logical);
    DeleteObject(font);
    return ToText(logical.lfFaceName);
}

std::u16string ByClipboard(const std::string &bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    std::memcpy(GlobalLock(block), bytes.c_str(), bytes.size() + 1);
    GlobalUnlock(block);
    std::u16string text = u"(none)";
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        SetClipboardData(CF_TEXT, block);
        if (HANDLE wide = GetClipboardData(CF_UNICODETEXT)) {
            text = ToText(static_cast<const WCHAR *>(GlobalLock(wide)));
            GlobalUnlock(wide);
        }
        CloseClipboard();
    }
    return text;
}

class MalformedUtf8 : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA ansiClass = {};
        ansiClass.lpfnWndProc = DefWindowProcA;
        ansiClass.lpszClassName = kAnsiClass;
        RegisterClassA(&ansiClass);
        WNDCLASSW wideClass = {};
        wideClass.lpfnWndProc = DefWindowProcW;
        wideClass.lpszClassName = kWideClass;
        RegisterClassW(&wideClass);
        ansiWindow_ = CreateWindowExA(0, kAnsiClass, "", WS_OVERLAPPED, 0, 0, 100, 50, nullptr, nullptr,
                                      nullptr, nullptr);
        wideWindow_ = CreateWindowExW(0, kWideClass, L"", WS_OVERLAPPED, 0, 0, 100, 50, nullptr, nullptr,
                                      nullptr, nullptr);
        dc_ = CreateCompatibleDC(nullptr);
        font_ = CreateFontW(kFaceHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                            L"MS UI Gothic");
        previousFont_ = SelectObject(dc_, font_);
    }
    void TearDown() override
    {
        SelectObject(dc_, previousFont_);
        DeleteObject(font_);
        DeleteDC(dc_);
        DestroyWindow(wideWindow_);
        DestroyWindow(ansiWindow_);
        UnregisterClassW(kWideClass, nullptr);
        UnregisterClassA(kAnsiClass, nullptr);
    }

    // Whether the bytes measure as the text does (GDI32 draws what it measures).
    bool MeasuresAs(const std::string &bytes, const std::u16string &text) const
    {
        SIZE fromBytes = {};
        SIZE fromText = {};
        GetTextExtentPoint32A(dc_, bytes.c_str(), static_cast<int>(bytes.size()), &fromBytes);
        GetTextExtentPoint32W(dc_, AsWide(text), static_cast<int>(text.size()), &fromText);
        return fromBytes.cx == fromText.cx && fromBytes.cy == fromText.cy;
    }

    HWND ansiWindow_ = nullptr; // its procedure takes ANSI text
    HWND wideWindow_ = nullptr; // its procedure takes UTF-16, so ANSI messages are converted
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
};

TEST_F(MalformedUtf8, EveryPartReadsTheSameText)
{
    for (const Case &entry : kCases) {
        SCOPED_TRACE(entry.what);
        EXPECT_EQ(ByMultiByteToWideChar(entry.bytes), entry.text) << "KERNEL32";
        EXPECT_EQ(ByCreateFontA(entry.bytes), entry.text) << "GDI32's face name";
        EXPECT_TRUE(MeasuresAs(entry.bytes, entry.text)) << "GDI32's text";
        SetWindowTextA(ansiWindow_, entry.bytes.c_str());
        EXPECT_EQ(WindowText(ansiWindow_), entry.text) << "USER32's window text";
        SendMessageA(wideWindow_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(entry.bytes.c_str()));
        EXPECT_EQ(WindowText(wideWindow_), entry.text) << "USER32's message conversion";
        EXPECT_EQ(ByClipboard(entry.bytes), entry.text) << "USER32's clipboard";
    }
}

} // namespace
