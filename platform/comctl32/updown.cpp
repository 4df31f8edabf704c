// The up-down control: a position within a range, two arrow buttons that step it, and an
// optional buddy window that shows the position as text.
#include "updown.h"

#include <windows.h>
#include <windowsx.h>

#include <commctrl.h>

#include "wheel.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

// A new up-down's range runs from 100 down to 0, as Windows' does.
constexpr int kDefaultLower = 100;
constexpr int kDefaultUpper = 0;

// Pixels: a vertical up-down's width, how far it overlaps an edit buddy's border when aligned
// to it, and the gap it leaves between that border and its arrows.
constexpr int kWidth = 16;
constexpr int kBuddyBorder = 2;
constexpr int kBuddySpacer = 2;
// The arrow on a button: its widest row, and how many rows it narrows by 2 pixels.
constexpr int kArrowWidth = 7;
constexpr int kArrowRows = 4;

// Holding an arrow steps once, then again after the initial delay and at every repeat delay.
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kInitialDelay = 500;
constexpr UINT kRepeatDelay = 50;

// The buddy's text is read as Windows reads it: the first 19 characters, separators dropped.
constexpr int kTextCapacity = 20;
constexpr WCHAR kThousandsSeparator = L',';
// The buddy shows the position in decimal, or in hexadecimal as 0x and at least four digits.
constexpr int kDecimal = 10;
constexpr int kHexadecimal = 16;
constexpr int kHexDigits = 4;

enum class Arrow { None, Up, Down };

struct UpDown {
    HWND self = nullptr;
    HWND notify = nullptr; // the parent at creation, which hears about every step
    HWND buddy = nullptr;
    bool buddyIsEdit = false;
    bool setsBuddyInt = false; // UDS_SETBUDDYINT as it was at creation; the style may change later
    int base = kDecimal;
    int position = 0;
    int lower = kDefaultLower;
    int upper = kDefaultUpper;
    Arrow held = Arrow::None;           // the arrow the mouse holds down
    bool overHeld = false;              // the mouse is over that arrow
    int wheelRemainder = 0;             // what fine-grained turns of the wheel left short of a notch
    bool unicodeFormat = true;          // the parent's answer to WM_NOTIFYFORMAT, or UDM_SETUNICODEFORMAT's
    std::vector<UDACCEL> accelerations; // UDM_SETACCEL: the step after so long held; none steps by 1
    DWORD pressedAt = 0;                // when the arrow held now went down
};

UpDown *StateOf(HWND hwnd)
{
    return reinterpret_cast<UpDown *>(GetWindowLongPtrW(hwnd, 0));
}

DWORD Style(const UpDown &upDown)
{
    return static_cast<DWORD>(GetWindowLongW(upDown.self, GWL_STYLE));
}

// The range may run either way: lower may be above upper.
int Clamp(const UpDown &upDown, int value)
{
    return std::clamp(value, std::min(upDown.lower, upDown.upper), std::max(upDown.lower, upDown.upper));
}

bool InRange(const UpDown &upDown, int value)
{
    return Clamp(upDown, value) == value;
}

bool SetsBuddyText(const UpDown &upDown)
{
    return upDown.setsBuddyInt && IsWindow(upDown.buddy);
}

// ---- The buddy's text ----

bool IsBlank(WCHAR character)
{
    return character == L' ' || (character >= L'\t' && character <= L'\r');
}

// The digit's value, or -1 when the character is no digit in that base.
int DigitValue(WCHAR character, int base)
{
    int digit = -1;
    if (character >= L'0' && character <= L'9') {
        digit = character - L'0';
    } else if (character >= L'a' && character <= L'f') {
        digit = character - L'a' + kDecimal;
    } else if (character >= L'A' && character <= L'F') {
        digit = character - L'A' + kDecimal;
    }
    return digit < base ? digit : -1;
}

// A whole number as the C library's wcstol reads it: leading blanks, a sign, in base 16 an
// optional 0x, digits, nothing after them. The empty text reads as 0; a number too large stops at
// the int limits.
bool ParseNumber(const WCHAR *text, int base, int &value)
{
    const WCHAR *cursor = text;
    while (IsBlank(*cursor)) {
        ++cursor;
    }
    const bool negative = *cursor == L'-';
    if (*cursor == L'-' || *cursor == L'+') {
        ++cursor;
    }
    if (base == kHexadecimal && cursor[0] == L'0' && (cursor[1] == L'x' || cursor[1] == L'X') &&
        DigitValue(cursor[2], base) >= 0) {
        cursor += 2;
    }
    if (DigitValue(*cursor, base) < 0) {
        value = 0;
        return *text == 0;
    }
    long long magnitude = 0;
    for (; DigitValue(*cursor, base) >= 0; ++cursor) {
        magnitude =
            std::min(magnitude * base + DigitValue(*cursor, base), static_cast<long long>(INT_MAX) + 1);
    }
    const long long number = negative ? -magnitude : magnitude;
    value = static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
    return *cursor == 0;
}

// Takes the position from the buddy's text when it holds a number within the range.
bool ReadBuddy(UpDown &upDown)
{
    if (!SetsBuddyText(upDown)) {
        return false;
    }
    WCHAR text[kTextCapacity] = {};
    GetWindowTextW(upDown.buddy, text, kTextCapacity);
    WCHAR *kept = std::remove(text, text + kTextCapacity, kThousandsSeparator);
    std::fill(kept, text + kTextCapacity, L'\0');
    int value = 0;
    if (!ParseNumber(text, upDown.base, value) || !InRange(upDown, value)) {
        return false;
    }
    upDown.position = value;
    return true;
}

// The position in hexadecimal, a negative one as its 32 bits.
void FormatHexadecimal(const UpDown &upDown, WCHAR (&text)[kTextCapacity])
{
    constexpr WCHAR kHexDigitCharacters[] = L"0123456789ABCDEF";
    WCHAR reversed[kTextCapacity];
    int length = 0;
    auto bits = static_cast<unsigned int>(upDown.position);
    do {
        reversed[length++] = kHexDigitCharacters[bits % kHexadecimal];
        bits /= kHexadecimal;
    } while (bits > 0 || length < kHexDigits);
    text[0] = L'0';
    text[1] = L'x';
    std::reverse_copy(reversed, reversed + length, text + 2);
    text[length + 2] = 0;
}

// The position in decimal, its digits grouped by three unless the style says not to.
void FormatPosition(const UpDown &upDown, WCHAR (&text)[kTextCapacity])
{
    if (upDown.base == kHexadecimal) {
        FormatHexadecimal(upDown, text);
        return;
    }
    const bool grouped = !(Style(upDown) & UDS_NOTHOUSANDS);
    WCHAR reversed[kTextCapacity];
    int length = 0;
    long long magnitude = upDown.position < 0 ? -static_cast<long long>(upDown.position) : upDown.position;
    int digits = 0;
    do {
        if (grouped && digits > 0 && digits % 3 == 0) {
            reversed[length++] = kThousandsSeparator;
        }
        reversed[length++] = static_cast<WCHAR>(L'0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude > 0);
    if (upDown.position < 0) {
        reversed[length++] = L'-';
    }
    std::reverse_copy(reversed, reversed + length, text);
    text[length] = 0;
}

// Writes the position into the buddy, only when its text differs: an unchanged text must not
// make the buddy announce a change.
void WriteBuddy(const UpDown &upDown)
{
    if (!SetsBuddyText(upDown)) {
        return;
    }
    WCHAR text[kTextCapacity];
    FormatPosition(upDown, text);
    WCHAR current[kTextCapacity] = {};
    GetWindowTextW(upDown.buddy, current, kTextCapacity);
    if (lstrcmpiW(current, text) != 0) {
        SetWindowTextW(upDown.buddy, text);
    }
}

// ---- Position ----

// Returns the previous position, itself brought into the range.
int SetPosition(UpDown &upDown, int position)
{
    const int previous = Clamp(upDown, upDown.position);
    upDown.position = Clamp(upDown, position);
    WriteBuddy(upDown);
    return previous;
}

// Fails when the buddy gives no number within the range, and also when there is no buddy to read
// (none, or no UDS_SETBUDDYINT at creation).
int GetPosition(UpDown &upDown, bool &failed)
{
    failed = !ReadBuddy(upDown);
    if (!InRange(upDown, upDown.position)) {
        failed = true;
    }
    return Clamp(upDown, upDown.position);
}

// WM_VSCROLL (or, horizontal, WM_HSCROLL) to the parent, with the position.
void ReportScroll(const UpDown &upDown, WORD code)
{
    const UINT message = (Style(upDown) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageW(upDown.notify, message, MAKEWPARAM(code, upDown.position),
                 reinterpret_cast<LPARAM>(upDown.self));
}

// `steps` steps up (or, negative, down) at once: the parent may change or refuse them
// (UDN_DELTAPOS), the position stops at the range's end, and the parent hears of the step in any
// case.
void StepBy(UpDown &upDown, int steps)
{
    const int direction = upDown.upper < upDown.lower ? -1 : 1;
    NMUPDOWN change = {};
    change.hdr.hwndFrom = upDown.self;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(upDown.self));
    change.hdr.code = UDN_DELTAPOS;
    change.iPos = upDown.position;
    change.iDelta = steps * direction;
    if (!SendMessageW(upDown.notify, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change))) {
        const long long low = std::min(upDown.lower, upDown.upper);
        const long long high = std::max(upDown.lower, upDown.upper);
        const long long moved =
            std::clamp(static_cast<long long>(upDown.position) + change.iDelta, low, high);
        if (moved != upDown.position && InRange(upDown, upDown.position)) {
            upDown.position = static_cast<int>(moved);
            WriteBuddy(upDown);
        }
    }
    ReportScroll(upDown, SB_THUMBPOSITION);
}

// How far a step goes once an arrow has been held so long: the last acceleration whose time has
// come, the first one before any has.
int Increment(const UpDown &upDown, DWORD heldFor)
{
    int increment = upDown.accelerations.empty() ? 1 : static_cast<int>(upDown.accelerations.front().nInc);
    for (const UDACCEL &acceleration : upDown.accelerations) {
        if (static_cast<DWORD>(acceleration.nSec) * 1000 <= heldFor) {
            increment = static_cast<int>(acceleration.nInc);
        }
    }
    return increment;
}

// One step of an arrow, held `heldFor` milliseconds (0 for a key or a first press).
void Step(UpDown &upDown, Arrow arrow, DWORD heldFor = 0)
{
    const int increment = Increment(upDown, heldFor);
    StepBy(upDown, arrow == Arrow::Up ? increment : -increment);
}

// UDM_SETACCEL: the table replaces the one before; UDM_GETACCEL copies as much as fits, or with
// no buffer counts it.
LRESULT SetAccelerations(UpDown &upDown, WPARAM count, const UDACCEL *table)
{
    if (count > 0 && table == nullptr) {
        return FALSE;
    }
    upDown.accelerations.assign(table, table + count);
    return TRUE;
}

LRESULT GetAccelerations(const UpDown &upDown, WPARAM capacity, UDACCEL *table)
{
    if (table == nullptr) {
        return capacity == 0 ? static_cast<LRESULT>(upDown.accelerations.size()) : 0;
    }
    const size_t copied = std::min(upDown.accelerations.size(), static_cast<size_t>(capacity));
    std::copy_n(upDown.accelerations.begin(), copied, table);
    return static_cast<LRESULT>(copied);
}

// Each notch of the wheel is a step, whether it turns over the up-down or over its buddy; with
// Shift or Ctrl held the wheel is not for stepping.
void OnWheel(UpDown &upDown, WPARAM wParam)
{
    if ((GET_KEYSTATE_WPARAM(wParam) & (MK_SHIFT | MK_CONTROL)) != 0) {
        return;
    }
    const int notches = platform::WheelNotches(upDown.wheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam));
    if (notches != 0) {
        ReadBuddy(upDown);
        StepBy(upDown, notches * Increment(upDown, 0));
    }
}

bool Enabled(const UpDown &upDown)
{
    return IsWindowEnabled(upDown.self) && (!upDown.buddy || IsWindowEnabled(upDown.buddy));
}

// The Up and Down keys, on the up-down or its buddy, step as its arrows do.
bool OnArrowKey(UpDown &upDown, WPARAM key)
{
    if (key != VK_UP && key != VK_DOWN) {
        return false;
    }
    if (Enabled(upDown)) {
        ReadBuddy(upDown);
        Step(upDown, key == VK_UP ? Arrow::Up : Arrow::Down);
    }
    return true;
}

// ---- The buddy's keys ----

// A buddy of an up-down with UDS_ARROWKEYS is subclassed so that the Up and Down keys and the
// wheel reach the up-down, which is the subclass's data.
constexpr UINT_PTR kBuddySubclass = 1;

LRESULT CALLBACK BuddyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                           DWORD_PTR upDownWindow)
{
    UpDown *upDown = StateOf(reinterpret_cast<HWND>(upDownWindow));
    if (upDown != nullptr && message == WM_KEYDOWN && OnArrowKey(*upDown, wParam)) {
        return 0;
    }
    if (upDown != nullptr && message == WM_MOUSEWHEEL) {
        OnWheel(*upDown, wParam); // and the buddy hears of the wheel too
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void HookBuddy(const UpDown &upDown)
{
    SetWindowSubclass(upDown.buddy, BuddyProc, kBuddySubclass, reinterpret_cast<DWORD_PTR>(upDown.self));
}

void UnhookBuddy(const UpDown &upDown)
{
    if (IsWindow(upDown.buddy)) {
        RemoveWindowSubclass(upDown.buddy, BuddyProc, kBuddySubclass);
    }
}

// ---- Buddy ----

bool AlignedToBuddy(const UpDown &upDown)
{
    return (Style(upDown) & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) != 0;
}

// An aligned edit buddy shares its border with the up-down.
bool SharesBorder(const UpDown &upDown)
{
    return AlignedToBuddy(upDown) && upDown.buddyIsEdit;
}

bool IsEdit(HWND hwnd)
{
    WCHAR className[16] = {};
    GetClassNameW(hwnd, className, 16);
    return lstrcmpiW(className, L"Edit") == 0;
}

// Aligned, the up-down takes the buddy's edge: the buddy narrows by the up-down's width and the
// up-down takes the buddy's height, overlapping an edit's border.
void AlignWithBuddy(UpDown &upDown)
{
    RECT buddyRect;
    GetWindowRect(upDown.buddy, &buddyRect);
    MapWindowPoints(nullptr, GetParent(upDown.buddy), reinterpret_cast<POINT *>(&buddyRect), 2);
    const bool left = Style(upDown) & UDS_ALIGNLEFT;
    int x = 0;
    if (left) {
        x = buddyRect.left;
        buddyRect.left += kWidth;
    } else {
        buddyRect.right -= kWidth;
        x = buddyRect.right;
    }
    const int height = buddyRect.bottom - buddyRect.top;
    SetWindowPos(upDown.buddy, nullptr, buddyRect.left, buddyRect.top, buddyRect.right - buddyRect.left,
                 height, SWP_NOACTIVATE | SWP_NOZORDER);
    int width = kWidth;
    if (SharesBorder(upDown)) {
        if (left) {
            width += kBuddyBorder;
        } else {
            x -= kBuddyBorder;
        }
    }
    SetWindowPos(upDown.self, nullptr, x, buddyRect.top, width, height, SWP_NOACTIVATE | SWP_NOZORDER);
}

// Returns the previous buddy.
HWND SetBuddy(UpDown &upDown, HWND buddy)
{
    const HWND previous = upDown.buddy;
    UnhookBuddy(upDown);
    upDown.buddy = IsWindow(buddy) ? buddy : nullptr;
    upDown.buddyIsEdit = upDown.buddy && IsEdit(upDown.buddy);
    if (upDown.buddy) {
        if (Style(upDown) & UDS_ARROWKEYS) {
            HookBuddy(upDown);
        }
        if (AlignedToBuddy(upDown)) {
            AlignWithBuddy(upDown);
        }
    }
    InvalidateRect(upDown.self, nullptr, FALSE);
    return previous;
}

// ---- Arrows ----

RECT ArrowRect(const UpDown &upDown, Arrow arrow)
{
    RECT rect;
    GetClientRect(upDown.self, &rect);
    const DWORD style = Style(upDown);
    if (SharesBorder(upDown)) {
        if (style & UDS_ALIGNLEFT) {
            rect.left += kBuddyBorder;
        } else {
            rect.right -= kBuddyBorder;
        }
        InflateRect(&rect, 0, -kBuddyBorder);
    }
    if (IsWindow(upDown.buddy)) {
        if (style & UDS_ALIGNLEFT) {
            rect.right -= kBuddySpacer;
        } else if (style & UDS_ALIGNRIGHT) {
            rect.left += kBuddySpacer;
        }
    }
    // Up is the top (or, horizontal, the right) half; down the other.
    const bool up = arrow == Arrow::Up;
    if (style & UDS_HORZ) {
        const LONG half = (rect.right - rect.left) / 2;
        if (up) {
            rect.left = rect.right - half;
        } else {
            rect.right = rect.left + half;
        }
    } else {
        const LONG half = (rect.bottom - rect.top) / 2;
        if (up) {
            rect.bottom = rect.top + half;
        } else {
            rect.top = rect.bottom - half;
        }
    }
    return rect;
}

Arrow ArrowAt(const UpDown &upDown, LPARAM lParam)
{
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
        const RECT rect = ArrowRect(upDown, arrow);
        if (PtInRect(&rect, point)) {
            return arrow;
        }
    }
    return Arrow::None;
}

// Ends a mouse press: timer, capture and the pressed look.
void CancelPress(UpDown &upDown)
{
    if (upDown.held == Arrow::None) {
        return;
    }
    upDown.held = Arrow::None;
    KillTimer(upDown.self, kRepeatTimer);
    if (GetCapture() == upDown.self) {
        ReleaseCapture();
    }
    InvalidateRect(upDown.self, nullptr, FALSE);
}

LRESULT OnButtonDown(UpDown &upDown, LPARAM lParam)
{
    if (!Enabled(upDown)) {
        return 0;
    }
    if (upDown.buddyIsEdit) {
        SetFocus(upDown.buddy);
    }
    const Arrow arrow = ArrowAt(upDown, lParam);
    if (arrow == Arrow::None) {
        return 0;
    }
    // A number typed into the buddy counts before the step.
    ReadBuddy(upDown);
    upDown.held = arrow;
    upDown.overHeld = true;
    InvalidateRect(upDown.self, nullptr, FALSE);
    upDown.pressedAt = GetTickCount();
    Step(upDown, arrow);
    SetCapture(upDown.self);
    SetTimer(upDown.self, kRepeatTimer, kInitialDelay, nullptr);
    return 0;
}

// While the button is down the arrow under the pointer is the one held: dragged from one arrow
// to the other, the press turns round; off both, it rests.
LRESULT OnMouseMove(UpDown &upDown, LPARAM lParam)
{
    if (upDown.held == Arrow::None) {
        return 0;
    }
    const Arrow arrow = ArrowAt(upDown, lParam);
    const Arrow held = arrow != Arrow::None ? arrow : upDown.held;
    const bool over = arrow != Arrow::None;
    if (held != upDown.held || over != upDown.overHeld) {
        upDown.held = held;
        upDown.overHeld = over;
        InvalidateRect(upDown.self, nullptr, FALSE);
    }
    return 0;
}

LRESULT OnButtonUp(UpDown &upDown)
{
    if (GetCapture() != upDown.self) {
        return 0;
    }
    if (upDown.held != Arrow::None && upDown.overHeld) {
        ReportScroll(upDown, SB_ENDSCROLL);
        if (upDown.buddyIsEdit) {
            SendMessageW(upDown.buddy, EM_SETSEL, 0, -1);
        }
    }
    CancelPress(upDown);
    return 0;
}

void OnRepeat(UpDown &upDown)
{
    if (upDown.held == Arrow::None) {
        KillTimer(upDown.self, kRepeatTimer);
        return;
    }
    SetTimer(upDown.self, kRepeatTimer, kRepeatDelay, nullptr);
    if (upDown.overHeld) {
        Step(upDown, upDown.held, GetTickCount() - upDown.pressedAt);
    }
}

// ---- Painting ----

void FillArea(HDC dc, int left, int top, int right, int bottom, int colorIndex)
{
    const RECT rect = {left, top, right, bottom};
    FillRect(dc, &rect, GetSysColorBrush(colorIndex));
}

// A raised button face, or a flat sunken one while pressed.
void DrawButton(HDC dc, const RECT &rect, bool pressed)
{
    if (pressed) {
        FillArea(dc, rect.left, rect.top, rect.right, rect.bottom, COLOR_3DSHADOW);
        FillArea(dc, rect.left + 1, rect.top + 1, rect.right, rect.bottom, COLOR_3DFACE);
        return;
    }
    FillArea(dc, rect.left, rect.top, rect.right, rect.bottom, COLOR_3DDKSHADOW);
    FillArea(dc, rect.left, rect.top, rect.right - 1, rect.bottom - 1, COLOR_3DHILIGHT);
    FillArea(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1, COLOR_3DSHADOW);
    FillArea(dc, rect.left + 1, rect.top + 1, rect.right - 2, rect.bottom - 2, COLOR_3DFACE);
}

// A small triangle pointing up or down, in the middle of the button.
void DrawArrow(HDC dc, const RECT &rect, Arrow arrow, bool enabled, bool pressed)
{
    const int shift = pressed ? 1 : 0;
    const int left = (rect.left + rect.right - kArrowWidth) / 2 + shift;
    const int top = (rect.top + rect.bottom - kArrowRows) / 2 + shift;
    for (int row = 0; row < kArrowRows; ++row) {
        const int inset = arrow == Arrow::Up ? kArrowRows - 1 - row : row;
        FillArea(dc, left + inset, top + row, left + kArrowWidth - inset, top + row + 1,
                 enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    }
}

void Paint(const UpDown &upDown, HDC dc)
{
    RECT client;
    GetClientRect(upDown.self, &client);
    // Joined to an edit, the up-down continues the edit's background and sunken border.
    FillRect(dc, &client, GetSysColorBrush(SharesBorder(upDown) ? COLOR_WINDOW : COLOR_3DFACE));
    if (SharesBorder(upDown)) {
        const bool left = Style(upDown) & UDS_ALIGNLEFT;
        FillArea(dc, client.left, client.top, client.right, client.top + 1, COLOR_3DSHADOW);
        FillArea(dc, client.left, client.top + 1, client.right, client.top + 2, COLOR_3DDKSHADOW);
        FillArea(dc, client.left, client.bottom - 1, client.right, client.bottom, COLOR_3DHILIGHT);
        FillArea(dc, client.left, client.bottom - 2, client.right, client.bottom - 1, COLOR_3DFACE);
        const int edge = left ? client.left : client.right - 1;
        const int inner = left ? client.left + 1 : client.right - 2;
        FillArea(dc, edge, client.top, edge + 1, client.bottom, left ? COLOR_3DSHADOW : COLOR_3DHILIGHT);
        FillArea(dc, inner, client.top + 1, inner + 1, client.bottom - 1,
                 left ? COLOR_3DDKSHADOW : COLOR_3DFACE);
    }
    const bool enabled = Enabled(upDown);
    for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
        const RECT rect = ArrowRect(upDown, arrow);
        const bool pressed = upDown.held == arrow && upDown.overHeld;
        DrawButton(dc, rect, pressed);
        DrawArrow(dc, rect, arrow, enabled, pressed);
    }
}

// ---- Window procedure ----

void OnCreate(HWND hwnd, const CREATESTRUCTW &create)
{
    UpDown *upDown = new UpDown{};
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(upDown));
    upDown->self = hwnd;
    upDown->notify = create.hwndParent;
    upDown->setsBuddyInt = (create.style & UDS_SETBUDDYINT) != 0;
    // Notices go out in the strings the parent asks for.
    upDown->unicodeFormat = SendMessageW(create.hwndParent, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(hwnd),
                                         NF_QUERY) == NFR_UNICODE;
    // The arrows draw their own frame.
    SetWindowLongW(hwnd, GWL_STYLE, create.style & ~static_cast<LONG>(WS_BORDER));
    if (!(create.style & UDS_HORZ)) {
        SetWindowPos(hwnd, nullptr, 0, 0, kWidth, create.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (create.style & UDS_AUTOBUDDY) {
        SetBuddy(*upDown, GetWindow(hwnd, GW_HWNDPREV));
    }
}

LRESULT OnDestroy(UpDown *upDown)
{
    const HWND hwnd = upDown->self;
    CancelPress(*upDown);
    UnhookBuddy(*upDown);
    delete upDown;
    SetWindowLongPtrW(hwnd, 0, 0);
    return 0;
}

LRESULT OnPaint(const UpDown &upDown)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(upDown.self, &paint);
    Paint(upDown, dc);
    EndPaint(upDown.self, &paint);
    return 0;
}

// Disabled, the up-down lets go of a press under way.
LRESULT OnEnable(UpDown &upDown, WPARAM enabled)
{
    if (!enabled) {
        CancelPress(upDown);
    }
    InvalidateRect(upDown.self, nullptr, FALSE);
    return 0;
}

LRESULT OnTimer(UpDown &upDown, WPARAM timer)
{
    if (timer == kRepeatTimer) {
        OnRepeat(upDown);
    }
    return 0;
}

LRESULT OnCaptureChanged(UpDown &upDown, LPARAM newCapture)
{
    if (reinterpret_cast<HWND>(newCapture) != upDown.self) {
        CancelPress(upDown);
    }
    return 0;
}

LRESULT OnKeyDown(UpDown &upDown, WPARAM wParam, LPARAM lParam)
{
    if ((Style(upDown) & UDS_ARROWKEYS) && OnArrowKey(upDown, wParam)) {
        return 0;
    }
    return DefWindowProcW(upDown.self, WM_KEYDOWN, wParam, lParam);
}

// UDM_SETRANGE: the upper limit is in the low word, the lower one in the high word, each 16-bit
// signed.
LRESULT SetRange16(UpDown &upDown, LPARAM range)
{
    upDown.upper = static_cast<short>(LOWORD(range));
    upDown.lower = static_cast<short>(HIWORD(range));
    return 0;
}

LRESULT SetRange32(UpDown &upDown, WPARAM lower, LPARAM upper)
{
    upDown.lower = static_cast<int>(lower);
    upDown.upper = static_cast<int>(upper);
    return 0;
}

LRESULT GetRange32(const UpDown &upDown, WPARAM lowerOut, LPARAM upperOut)
{
    if (int *lower = reinterpret_cast<int *>(lowerOut)) {
        *lower = upDown.lower;
    }
    if (int *upper = reinterpret_cast<int *>(upperOut)) {
        *upper = upDown.upper;
    }
    return 0;
}

// UDM_SETBASE takes 10 or 16 and returns the previous base, or 0 for any other; the buddy shows
// the position again in the new base.
LRESULT SetBase(UpDown &upDown, WPARAM base)
{
    if (base != kDecimal && base != kHexadecimal) {
        return 0;
    }
    const int previous = upDown.base;
    upDown.base = static_cast<int>(base);
    if (previous != upDown.base) {
        WriteBuddy(upDown);
    }
    return previous;
}

// UDM_GETPOS: the position in the low word, and in the high word whether reading the buddy failed.
LRESULT GetPosition16(UpDown &upDown)
{
    bool failed = false;
    const int position = GetPosition(upDown, failed);
    return MAKELONG(position, failed ? 1 : 0);
}

LRESULT GetPosition32(UpDown &upDown, LPARAM errorOut)
{
    bool failed = false;
    const int position = GetPosition(upDown, failed);
    if (BOOL *error = reinterpret_cast<BOOL *>(errorOut)) {
        *error = failed ? TRUE : FALSE;
    }
    return position;
}

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        OnCreate(hwnd, *reinterpret_cast<const CREATESTRUCTW *>(lParam));
        return 0;
    }
    UpDown *upDown = StateOf(hwnd);
    if (!upDown) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_DESTROY: return OnDestroy(upDown);
    case WM_PAINT: return OnPaint(*upDown);
    case WM_PRINTCLIENT: Paint(*upDown, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1; // the paint fills the background itself
    case WM_ENABLE: return OnEnable(*upDown, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButtonDown(*upDown, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(*upDown, lParam);
    case WM_LBUTTONUP: return OnButtonUp(*upDown);
    case WM_TIMER: return OnTimer(*upDown, wParam);
    case WM_CANCELMODE: CancelPress(*upDown); return 0;
    case WM_CAPTURECHANGED: return OnCaptureChanged(*upDown, lParam);
    case WM_KEYDOWN: return OnKeyDown(*upDown, wParam, lParam);
    case WM_MOUSEWHEEL: OnWheel(*upDown, wParam); return 0;
    case UDM_SETRANGE: return SetRange16(*upDown, lParam);
    case UDM_GETRANGE: return MAKELONG(upDown->upper, upDown->lower);
    case UDM_SETRANGE32: return SetRange32(*upDown, wParam, lParam);
    case UDM_GETRANGE32: return GetRange32(*upDown, wParam, lParam);
    // Only the low 16 bits of UDM_SETPOS's position count, read as a signed number.
    case UDM_SETPOS: return SetPosition(*upDown, static_cast<short>(LOWORD(lParam)));
    case UDM_SETPOS32: return SetPosition(*upDown, static_cast<int>(lParam));
    case UDM_GETPOS: return GetPosition16(*upDown);
    case UDM_GETPOS32: return GetPosition32(*upDown, lParam);
    case UDM_SETBUDDY: return reinterpret_cast<LRESULT>(SetBuddy(*upDown, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(upDown->buddy);
    case UDM_SETBASE: return SetBase(*upDown, wParam);
    case UDM_GETBASE: return upDown->base;
    case UDM_SETUNICODEFORMAT: return std::exchange(upDown->unicodeFormat, wParam != 0) ? TRUE : FALSE;
    case UDM_GETUNICODEFORMAT: return upDown->unicodeFormat ? TRUE : FALSE;
    case UDM_SETACCEL: return SetAccelerations(*upDown, wParam, reinterpret_cast<const UDACCEL *>(lParam));
    case UDM_GETACCEL: return GetAccelerations(*upDown, wParam, reinterpret_cast<UDACCEL *>(lParam));
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterUpDownClass()
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS;
    windowClass.lpfnWndProc = UpDownProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = UPDOWN_CLASSW;
    RegisterClassExW(&windowClass);
}

HWND WINAPI CreateUpDownControl(DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent, int nID,
                                HINSTANCE hInst, HWND hBuddy, int nUpper, int nLower, int nPos)
{
    HWND upDown = CreateWindowExW(0, UPDOWN_CLASSW, L"", dwStyle, x, y, cx, cy, hParent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(nID)), hInst, nullptr);
    if (upDown != nullptr) {
        SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hBuddy), 0);
        SendMessageW(upDown, UDM_SETRANGE, 0, MAKELONG(nUpper, nLower));
        SendMessageW(upDown, UDM_SETPOS, 0, MAKELONG(nPos, 0));
    }
    return upDown;
}
