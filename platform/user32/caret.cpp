// The caret: one for the whole thread, owned by the window that made it. The layer keeps its
// place, size and visibility; the owner draws it (the edit control draws its own).
#include "window.h"

namespace platform::user32 {

namespace {

struct Caret {
    HWND owner = nullptr;
    POINT position = {0, 0};
    SIZE size = {0, 0};
    int hideCount = 1; // a new caret starts hidden; each ShowCaret undoes one HideCaret
};

Caret &TheCaret()
{
    static Caret caret;
    return caret;
}

// The caret, or nullptr when there is none (its owner destroyed takes it along).
Caret *ExistingCaret()
{
    Caret &caret = TheCaret();
    if (caret.owner != nullptr && !IsWindow(caret.owner)) {
        caret = Caret();
    }
    return caret.owner != nullptr ? &caret : nullptr;
}

// ShowCaret and HideCaret name the owner, or no window for whichever owns it.
Caret *CaretOf(HWND hwnd)
{
    Caret *caret = ExistingCaret();
    if (caret == nullptr || (hwnd != nullptr && hwnd != caret->owner)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return caret;
}

} // namespace

} // namespace platform::user32

using namespace platform::user32;

// A width or height of 0 takes the system's border size; the bitmap's shape is not kept.
BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP /*hBitmap*/, int nWidth, int nHeight)
{
    if (Lookup(hWnd) == nullptr) {
        return FALSE;
    }
    Caret &caret = TheCaret();
    caret = Caret();
    caret.owner = hWnd;
    caret.size = {nWidth != 0 ? nWidth : GetSystemMetrics(SM_CXBORDER),
                  nHeight != 0 ? nHeight : GetSystemMetrics(SM_CYBORDER)};
    return TRUE;
}

BOOL WINAPI DestroyCaret(void)
{
    if (ExistingCaret() == nullptr) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    TheCaret() = Caret();
    return TRUE;
}

BOOL WINAPI SetCaretPos(int X, int Y)
{
    Caret *caret = CaretOf(nullptr);
    if (caret == nullptr) {
        return FALSE;
    }
    caret->position = {X, Y};
    return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint)
{
    const Caret *caret = CaretOf(nullptr);
    if (caret == nullptr || lpPoint == nullptr) {
        return FALSE;
    }
    *lpPoint = caret->position;
    return TRUE;
}

BOOL WINAPI ShowCaret(HWND hWnd)
{
    Caret *caret = CaretOf(hWnd);
    if (caret == nullptr) {
        return FALSE;
    }
    caret->hideCount = caret->hideCount > 0 ? caret->hideCount - 1 : 0;
    return TRUE;
}

BOOL WINAPI HideCaret(HWND hWnd)
{
    Caret *caret = CaretOf(hWnd);
    if (caret == nullptr) {
        return FALSE;
    }
    ++caret->hideCount;
    return TRUE;
}
