// The desktop host on SDL's dummy video driver: what a native window shows, and the window
// messages that SDL's input events become. Built as a program (WinMain) so that it starts with
// the desktop host, as SlantGlyphDemo does. The close request is the end-to-end desktop_close check's.
#include <SDL.h>

#include "host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <utility>

namespace {

namespace host = platform::host;

constexpr char kClassName[] = "DesktopHostTest";
constexpr char kCaption[] = "Host test";
constexpr int kClientWidth = 120;
constexpr int kClientHeight = 80;
constexpr DWORD kPatience = 200; // milliseconds an expected event may take
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr Uint32 kRedPixel = 0xFF0000;
constexpr Uint32 kWhitePixel = 0xFFFFFF;
constexpr LPARAM kReleasedBits = (LPARAM{1} << 30) | (LPARAM{1} << 31);
constexpr LPARAM kWasDownBit = LPARAM{1} << 30;

// The desktop's scale, which the host honours: the test runs once at 1 and once at 2.
int Scale()
{
    const char *setting = std::getenv("GDK_SCALE");
    return setting != nullptr ? std::atoi(setting) : 1;
}

class DesktopHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
        RECT frame = {0, 0, kClientWidth, kClientHeight};
        AdjustWindowRectEx(&frame, WS_CAPTION, FALSE, 0);
        window_ =
            CreateWindowExA(0, kClassName, kCaption, WS_CAPTION | WS_VISIBLE, 0, 0, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        native_ = NativeWindow();
        ASSERT_NE(native_, nullptr);
        Drain();
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        Drain();
    }

    // A native window other than `except`, or none (each test's window replaces the last).
    static SDL_Window *NativeWindow(const SDL_Window *except = nullptr)
    {
        for (Uint32 id = 1; id < 256; ++id) {
            SDL_Window *window = SDL_GetWindowFromID(id);
            if (window != nullptr && window != except) {
                return window;
            }
        }
        return nullptr;
    }

    // What the window presented reaches the screen once the program waits.
    static void Wait()
    {
        host::Event event;
        host::WaitForEvent(host::Now() + 1, event);
    }

    static void Drain()
    {
        host::Event event;
        while (host::WaitForEvent(host::Now(), event)) {
        }
    }

    // Fills a rectangle of a window's client area red and lets it reach the screen.
    static void PaintRed(HWND hwnd, RECT rect)
    {
        HDC dc = GetDC(hwnd);
        HBRUSH red = CreateSolidBrush(kRed);
        FillRect(dc, &rect, red);
        DeleteObject(red);
        ReleaseDC(hwnd, dc);
        Wait();
    }

    // A native window's size or position, as SDL_GetWindowSize or SDL_GetWindowPosition gives it.
    static std::pair<int, int> Get(SDL_Window *window, void (*query)(SDL_Window *, int *, int *))
    {
        std::pair<int, int> value;
        query(window, &value.first, &value.second);
        return value;
    }

    // The window message the next SDL event makes, or WM_NULL if none comes in time.
    static host::Event Next(SDL_Event sdlEvent)
    {
        SDL_PushEvent(&sdlEvent);
        host::Event event;
        return host::WaitForEvent(host::Now() + kPatience, event) ? event : host::Event{};
    }

    host::Event Key(Uint32 type, SDL_Keycode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0)
    {
        SDL_Event sdlEvent = {};
        const auto state = static_cast<Uint8>(type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED);
        sdlEvent.key = {type, 0, SDL_GetWindowID(native_), state, repeat, 0, 0, {}};
        sdlEvent.key.keysym.sym = key;
        sdlEvent.key.keysym.mod = modifiers;
        return Next(sdlEvent);
    }

    // A button press or release, or with no button a motion, on the test window unless told.
    host::Event Mouse(Uint32 type, int x, int y, Uint8 button = 0, SDL_Window *target = nullptr)
    {
        SDL_Event sdlEvent = {};
        const Uint32 id = SDL_GetWindowID(target != nullptr ? target : native_);
        if (type == SDL_MOUSEMOTION) {
            sdlEvent.motion = {type, 0, id, 0, 0, x, y, 0, 0};
        } else {
            sdlEvent.button = {type, 0, id, 0, button, 0, 0, 0, x, y};
        }
        return Next(sdlEvent);
    }

    host::Event Text(const char *text)
    {
        SDL_Event sdlEvent = {};
        sdlEvent.text = {SDL_TEXTINPUT, 0, SDL_GetWindowID(native_), {}};
        SDL_strlcpy(sdlEvent.text.text, text, sizeof(sdlEvent.text.text));
        return Next(sdlEvent);
    }

    // The colour a native window (the test window's unless told) shows at a point of its own.
    Uint32 ShownPixel(int x, int y, SDL_Window *target = nullptr) const
    {
        SDL_Surface *shown = SDL_GetWindowSurface(target != nullptr ? target : native_);
        if (shown == nullptr) {
            return 0;
        }
        const auto *row =
            static_cast<const Uint8 *>(shown->pixels) + static_cast<ptrdiff_t>(y) * shown->pitch;
        Uint8 rgb[3] = {};
        SDL_GetRGB(reinterpret_cast<const Uint32 *>(row)[x], shown->format, &rgb[0], &rgb[1], &rgb[2]);
        return (Uint32{rgb[0]} << 16) | (Uint32{rgb[1]} << 8) | rgb[2];
    }

    HWND window_ = nullptr;
    SDL_Window *native_ = nullptr;
    const int scale_ = Scale();
};

TEST_F(DesktopHost, ShowsTheClientAreaUnderTheWindowsCaptionAndText)
{
    EXPECT_STREQ(SDL_GetWindowTitle(native_), kCaption);
    EXPECT_NE(SDL_GetWindowFlags(native_) & SDL_WINDOW_SHOWN, 0u);
    EXPECT_EQ(Get(native_, SDL_GetWindowSize), std::make_pair(kClientWidth * scale_, kClientHeight * scale_));

    // The client's corner lands in the native window's corner: the drawn caption is left out.
    PaintRed(window_, {0, 0, 1, 1});
    EXPECT_EQ(ShownPixel(0, 0), kRedPixel);
    EXPECT_EQ(ShownPixel(scale_ - 1, scale_ - 1), kRedPixel);
    EXPECT_EQ(ShownPixel(scale_, 0), kWhitePixel);
    EXPECT_EQ(ShownPixel(0, scale_), kWhitePixel);

    // The caption follows the window text.
    SetWindowTextW(window_, L"Gr\u00fc\u00dfe");
    Wait();
    EXPECT_STREQ(SDL_GetWindowTitle(native_), "Gr\xc3\xbc\xc3\x9f"
                                              "e");
}

TEST_F(DesktopHost, KeysBecomeVirtualKeyMessages)
{
    // Pairs: the SDL key, then the virtual key it becomes.
    const SDL_Keycode cases[] = {
        SDLK_a,      'A',        SDLK_z,         'Z',      SDLK_0,      '0',         SDLK_7,      '7',
        SDLK_LEFT,   VK_LEFT,    SDLK_UP,        VK_UP,    SDLK_HOME,   VK_HOME,     SDLK_END,    VK_END,
        SDLK_DELETE, VK_DELETE,  SDLK_BACKSPACE, VK_BACK,  SDLK_TAB,    VK_TAB,      SDLK_RETURN, VK_RETURN,
        SDLK_ESCAPE, VK_ESCAPE,  SDLK_SPACE,     VK_SPACE, SDLK_LSHIFT, VK_SHIFT,    SDLK_RCTRL,  VK_CONTROL,
        SDLK_KP_5,   VK_NUMPAD5, SDLK_F5,        VK_F5,    SDLK_MINUS,  VK_OEM_MINUS};
    for (size_t index = 0; index < std::size(cases); index += 2) {
        const SDL_Keycode key = cases[index];
        const auto virtualKey = static_cast<WPARAM>(cases[index + 1]);
        SCOPED_TRACE(SDL_GetKeyName(key));
        const host::Event down = Key(SDL_KEYDOWN, key);
        EXPECT_EQ(down.window, window_);
        EXPECT_EQ(down.message, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_EQ(down.wParam, virtualKey);
        EXPECT_EQ(down.lParam, 1);
        const host::Event up = Key(SDL_KEYUP, key);
        EXPECT_EQ(up.message, static_cast<UINT>(WM_KEYUP));
        EXPECT_EQ(up.wParam, virtualKey);
        EXPECT_EQ(up.lParam & kReleasedBits, kReleasedBits);
    }
}

TEST_F(DesktopHost, KeyRepeatsAndAltKeysAreMarkedAndKeysWithoutVirtualKeyDropped)
{
    EXPECT_EQ(Key(SDL_KEYDOWN, SDLK_DOWN, KMOD_NONE, 1).lParam & kWasDownBit, kWasDownBit);
    const host::Event alt = Key(SDL_KEYDOWN, SDLK_x, KMOD_LALT);
    EXPECT_EQ(alt.message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(alt.wParam, static_cast<WPARAM>('X'));
    // AltGr comes as Ctrl+Alt and types characters: an ordinary key.
    EXPECT_EQ(Key(SDL_KEYDOWN, SDLK_q, KMOD_LALT | KMOD_LCTRL).message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(Key(SDL_KEYDOWN, SDLK_AUDIOPLAY).message, static_cast<UINT>(WM_NULL));
    EXPECT_EQ(Key(SDL_KEYDOWN, SDLK_b).wParam, static_cast<WPARAM>('B'));
}

// SDL presses again, as the focus arrives, the modifiers held when it moved; they may be up by then
// (a menu's popup takes the focus after the Alt of Alt+Space was let go), so they make no message.
TEST_F(DesktopHost, ModifiersPressedAgainOnFocusAreDropped)
{
    const Uint32 id = SDL_GetWindowID(native_);
    SDL_Event events[3] = {};
    events[0].window = {SDL_WINDOWEVENT, 500, id, SDL_WINDOWEVENT_FOCUS_GAINED, 0, 0, 0, 0, 0};
    events[1].key = {SDL_KEYDOWN, 500, id, SDL_PRESSED,
                     0,           0,   0,  {SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT, 0}};
    events[2].key = {SDL_KEYDOWN, 501, id, SDL_PRESSED,
                     0,           0,   0,  {SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT, 0}};
    ASSERT_EQ(SDL_PeepEvents(events, 3, SDL_ADDEVENT, 0, 0), 3);
    host::Event event;
    ASSERT_TRUE(host::WaitForEvent(host::Now() + kPatience, event));
    // The press that came with the focus is gone; a later one is a key as any other.
    EXPECT_EQ(event.message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(event.wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_FALSE(host::WaitForEvent(host::Now(), event));
}

TEST_F(DesktopHost, MouseButtonsAndMotionInClientCoordinates) // native pixels divided by the scale
{
    const host::Event down = Mouse(SDL_MOUSEBUTTONDOWN, 30 * scale_, 12 * scale_, SDL_BUTTON_LEFT);
    EXPECT_EQ(down.window, window_);
    EXPECT_EQ(down.message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(down.wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(down.lParam, MAKELPARAM(30, 12));

    const host::Event drag = Mouse(SDL_MOUSEMOTION, 35 * scale_, 14 * scale_ + scale_ - 1);
    EXPECT_EQ(drag.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(drag.wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(drag.lParam, MAKELPARAM(35, 14));

    const host::Event up = Mouse(SDL_MOUSEBUTTONUP, 36 * scale_, 15 * scale_, SDL_BUTTON_LEFT);
    EXPECT_EQ(up.message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(up.wParam & MK_LBUTTON, 0u);
    EXPECT_EQ(Mouse(SDL_MOUSEMOTION, 40, 20).wParam & MK_LBUTTON, 0u);
    // Dragged out past the window's corner, the pointer is left of and above the client area.
    EXPECT_EQ(Mouse(SDL_MOUSEMOTION, -1, -1).lParam, MAKELPARAM(-1, -1));

    EXPECT_EQ(Mouse(SDL_MOUSEBUTTONDOWN, 1, 2, SDL_BUTTON_RIGHT).message, static_cast<UINT>(WM_RBUTTONDOWN));
    EXPECT_EQ(Mouse(SDL_MOUSEBUTTONUP, 1, 2, SDL_BUTTON_RIGHT).message, static_cast<UINT>(WM_RBUTTONUP));
}

TEST_F(DesktopHost, OnlyTextNoKeyMakesComesAsCharacters)
{
    const host::Event accented = Text("\xc3\xa9"); // U+00E9
    EXPECT_EQ(accented.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(accented.wParam, 0xE9u);
    // Plain ASCII comes from the key through TranslateMessage; as text too it would come twice.
    EXPECT_EQ(Text("a").message, static_cast<UINT>(WM_NULL));
}

// A drop-down list is such a popup: owned, no caption. No desktop frames it, so it shows its own
// frame, and it stands next to its owner where the layer put it.
TEST_F(DesktopHost, OwnedPopupShowsItsFrameWhereTheLayerPutsIt)
{
    constexpr POINT kOffset = {10, 20};
    constexpr SIZE kSize = {40, 30};
    POINT origin = {0, 0};
    ClientToScreen(window_, &origin);
    HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_BORDER | WS_VISIBLE,
                                 origin.x + kOffset.x, origin.y + kOffset.y, kSize.cx, kSize.cy, window_,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    PaintRed(popup, {0, 0, kSize.cx, kSize.cy}); // clipped to the client area
    SDL_Window *native = NativeWindow(native_);
    ASSERT_NE(native, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(native) & SDL_WINDOW_POPUP_MENU, 0u);
    const auto [ownerX, ownerY] = Get(native_, SDL_GetWindowPosition);
    const auto [x, y] = Get(native, SDL_GetWindowPosition);
    EXPECT_EQ(x - ownerX, kOffset.x * scale_);
    EXPECT_EQ(y - ownerY, kOffset.y * scale_);
    const auto [width, height] = Get(native, SDL_GetWindowSize);
    EXPECT_EQ(width, kSize.cx * scale_) << "the whole frame";
    EXPECT_EQ(height, kSize.cy * scale_);
    EXPECT_NE(ShownPixel(0, 0, native), kRedPixel) << "the border";
    EXPECT_EQ(ShownPixel(width / 2, height / 2, native), kRedPixel);

    // Clicks come in the popup's client coordinates, inside its border.
    const host::Event down = Mouse(SDL_MOUSEBUTTONDOWN, 5 * scale_, 6 * scale_, SDL_BUTTON_LEFT, native);
    EXPECT_EQ(down.window, popup);
    RECT frame;
    GetWindowRect(popup, &frame);
    POINT clientOrigin = {0, 0};
    ClientToScreen(popup, &clientOrigin);
    EXPECT_GT(clientOrigin.x, frame.left);
    EXPECT_EQ(down.lParam, MAKELPARAM(5 - (clientOrigin.x - frame.left), 6 - (clientOrigin.y - frame.top)));
    Mouse(SDL_MOUSEBUTTONUP, 5 * scale_, 6 * scale_, SDL_BUTTON_LEFT, native);
    DestroyWindow(popup);
}

TEST_F(DesktopHost, ClipboardTextIsTheDesktopsInUtf8)
{
    host::SetClipboardText(u"-45\u00b0 \u2192 0");
    char *utf8 = SDL_GetClipboardText();
    EXPECT_STREQ(utf8, "-45\xc2\xb0 \xe2\x86\x92 0");
    SDL_free(utf8);
    SDL_SetClipboardText("caf\xc3\xa9");
    EXPECT_EQ(host::ClipboardText(), u"caf\u00e9");
    host::SetClipboardText(u"");
    EXPECT_FALSE(SDL_HasClipboardText());
    EXPECT_EQ(host::ClipboardText(), u"");
}

TEST_F(DesktopHost, WaitEndsAtTheDeadlineWithoutEvents)
{
    constexpr DWORD kWait = 50;
    const DWORD start = host::Now();
    host::Event event;
    EXPECT_FALSE(host::WaitForEvent(start + kWait, event));
    EXPECT_GE(host::Now() - start, kWait);
}

TEST(DesktopHostWithoutWindows, WaitWithoutDeadlineEndsAtOnce)
{
    host::Event event;
    EXPECT_FALSE(host::WaitForEvent(INFINITE, event));
}

} // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    // No display is needed: SDL keeps the windows in memory.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    int argc = 1;
    char name[] = "host_sdl_test";
    char *argv[] = {name, nullptr};
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
