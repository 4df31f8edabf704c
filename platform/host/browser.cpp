// The browser host: each top-level window in a canvas of the page, the page's input as window
// messages, time from the browser's clock. The page stands in for the desktop: it shows a framed
// window's client area under its caption, and a popup's whole frame beside its owner. Waiting
// yields to the browser (Emscripten's Asyncify), so the program's own message loops run unchanged.
// Supports: windows and popups, the page's mouse, wheel, keys and text, captions with a close box,
// a clipboard of the page's own whose text is also written to the system's.
// Not: the frame USER32 draws for framed windows; the page draws their caption instead.
#include "host.h"
#include "rects.h"
#include "window_pixels.h"
#include "text.h"

#include <emscripten.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The page's side: a canvas per window inside the element #screen, and a queue of input the
// listeners fill and WaitForEvent empties. Pixels are 0x00RRGGBB; a canvas wants RGBA bytes.
// clang-format off
EM_JS(void, JsPlaceWindow, (int id, int popup, int owner, int x, int y, int width, int height, int shown,
                            const char *caption, int closeBox), {
    const page = Module.slantPage || (Module.slantPage = SlantPage(Module));
    page.place(id, popup, owner, x, y, width, height, shown, UTF8ToString(caption), closeBox);
});
EM_JS(void, JsForgetWindow, (int id), {
    if (Module.slantPage) Module.slantPage.forget(id);
});
EM_JS(void, JsPaint, (int id, const void *pixels, int stride, int x, int y, int width, int height), {
    if (Module.slantPage) Module.slantPage.paint(id, HEAPU32, pixels >> 2, stride, x, y, width, height);
});
// Fills out[0..3] with the next event (window id, message, wParam, lParam); 0 when none waits.
EM_JS(int, JsNextEvent, (int *out), {
    const page = Module.slantPage;
    const event = page && page.events.shift();
    if (!event) return 0;
    HEAP32.set(event, out >> 2);
    return 1;
});
EM_JS(void, JsSetClipboard, (const char *utf8), {
    const text = UTF8ToString(utf8);
    const page = Module.slantPage || (Module.slantPage = SlantPage(Module));
    page.clipboard = text;
    if (navigator.clipboard) navigator.clipboard.writeText(text).catch(() => {});
});
// The clipboard's text as a malloc'ed UTF-8 string, or null.
EM_JS(char *, JsClipboard, (), {
    const page = Module.slantPage;
    return page && page.clipboard ? allocateUTF8(page.clipboard) : 0;
});
// clang-format on

namespace platform::host {

namespace {

// The longest a wait sleeps before it looks at the page's input again.
constexpr DWORD kPollMilliseconds = 10;

struct PageWindow : WindowPixels {
    int id = 0; // the page knows the window by this number
    WindowLook look;
    bool shown = false;
    RECT pending = {}; // presented since the page last got the pixels, in surface pixels
};

struct Host {
    std::map<HWND, std::unique_ptr<PageWindow>> windows;
    int nextId = 1;
};

Host &TheHost()
{
    static Host host;
    return host;
}

PageWindow *Find(HWND window)
{
    auto found = TheHost().windows.find(window);
    return found == TheHost().windows.end() ? nullptr : found->second.get();
}

HWND FindById(int id)
{
    for (const auto &[hwnd, page] : TheHost().windows) {
        if (page->id == id) {
            return hwnd;
        }
    }
    return nullptr;
}

// Tells the page where the window stands. A popup is placed from its owner's client area, as
// the layer placed it; a framed window is placed by the page.
void Place(const PageWindow &page)
{
    const WindowLook &look = page.look;
    const bool popup = look.kind == WindowKind::Popup;
    const PageWindow *owner = Find(look.owner);
    int x = 0;
    int y = 0;
    if (popup && owner != nullptr) {
        x = look.frame.left - owner->look.client.left;
        y = look.frame.top - owner->look.client.top;
    }
    const RECT shown = ShownArea(page.look, page.surface);
    JsPlaceWindow(page.id, popup ? 1 : 0, owner != nullptr ? owner->id : 0, x, y, shown.right - shown.left,
                  shown.bottom - shown.top, page.shown ? 1 : 0, text::ToUtf8(look.caption).c_str(),
                  look.closeBox ? 1 : 0);
}

// Hands the page the pixels presented since it last got them.
void ShowPending()
{
    for (auto &entry : TheHost().windows) {
        PageWindow &page = *entry.second;
        const RECT shownArea = ShownArea(page.look, page.surface);
        const RECT area = Intersection(page.pending, shownArea);
        page.pending = {};
        if (!page.shown || IsEmpty(area)) {
            continue;
        }
        const std::uint32_t *first =
            page.surface.pixels + static_cast<ptrdiff_t>(area.top) * page.surface.stride + area.left;
        JsPaint(page.id, first, page.surface.stride, area.left - shownArea.left, area.top - shownArea.top,
                area.right - area.left, area.bottom - area.top);
    }
}

// A point the page gives in what it shows of a window, in the window's client coordinates.
LPARAM ClientPoint(const PageWindow &page, int x, int y)
{
    if (page.look.kind == WindowKind::Popup) {
        x -= page.look.client.left - page.look.frame.left;
        y -= page.look.client.top - page.look.frame.top;
    }
    return MAKELPARAM(x, y);
}

// The next input the page queued, for a window that still exists.
bool NextEvent(Event &event)
{
    int raw[4] = {};
    while (JsNextEvent(raw) != 0) {
        const HWND window = FindById(raw[0]);
        const PageWindow *page = Find(window);
        if (page == nullptr) {
            continue;
        }
        const auto message = static_cast<UINT>(raw[1]);
        const bool mouse = message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
        const LPARAM lParam =
            mouse ? ClientPoint(*page, static_cast<short>(LOWORD(raw[3])), static_cast<short>(HIWORD(raw[3])))
                  : static_cast<LPARAM>(raw[3]);
        event = {window, message, static_cast<WPARAM>(static_cast<unsigned>(raw[2])), lParam};
        return true;
    }
    return false;
}

} // namespace

Surface *CreateSurface(HWND window, int width, int height)
{
    Host &host = TheHost();
    PageWindow &page = ResizeSurface(host.windows, window, width, height);
    if (page.id == 0) {
        page.id = host.nextId++;
    }
    page.pending = {0, 0, page.surface.width, page.surface.height};
    return &page.surface;
}

void DestroySurface(HWND window)
{
    if (const PageWindow *page = Find(window)) {
        JsForgetWindow(page->id);
    }
    TheHost().windows.erase(window);
}

void SetVisibility(HWND window, Visibility visibility)
{
    PageWindow *page = Find(window);
    if (page == nullptr) {
        return;
    }
    page->shown = visibility == Visibility::Shown;
    page->pending = {0, 0, page->surface.width, page->surface.height};
    Place(*page);
}

void SetLook(HWND window, const WindowLook &look)
{
    PageWindow *page = Find(window);
    if (page == nullptr) {
        return;
    }
    page->look = look;
    if (page->shown) {
        Place(*page);
    }
}

void Present(HWND window, const RECT &area)
{
    if (PageWindow *page = Find(window)) {
        page->pending = Union(page->pending, area);
    }
}

bool WaitForEvent(DWORD deadline, Event &event)
{
    for (;;) {
        if (NextEvent(event)) {
            return true;
        }
        // A wait that ends at once only looks for input (the layer drains the page's queue at every
        // read of its own): the program's work goes on, and what it draws is shown when it waits.
        const auto remaining = static_cast<LONG>(deadline - Now());
        if (deadline != INFINITE && remaining <= 0) {
            return false;
        }
        // The program waits once its work is done: the page gets what it drew before the browser
        // is given the time to show it.
        ShowPending();
        if (TheHost().windows.empty()) {
            // No window, so no input: only the deadline can end the wait.
            if (deadline != INFINITE) {
                Sleep(static_cast<DWORD>(remaining));
            }
            return false;
        }
        const DWORD pause = deadline == INFINITE
                                ? kPollMilliseconds
                                : std::min<DWORD>(static_cast<DWORD>(remaining), kPollMilliseconds);
        Sleep(pause);
    }
}

void SetClipboardText(const std::u16string &text)
{
    JsSetClipboard(text::ToUtf8(text).c_str());
}

std::u16string ClipboardText()
{
    char *utf8 = JsClipboard();
    std::u16string clipboard;
    if (utf8 != nullptr) {
        clipboard = text::FromUtf8(utf8);
        free(utf8); // NOLINT(cppcoreguidelines-no-malloc): the page's string came from malloc
    }
    return clipboard;
}

DWORD Now()
{
    return static_cast<DWORD>(emscripten_get_now());
}

void Sleep(DWORD milliseconds)
{
    // Yields to the browser: its events, timers and painting run meanwhile.
    emscripten_sleep(milliseconds);
}

} // namespace platform::host
