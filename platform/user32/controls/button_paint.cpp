// How each kind of button draws itself: push buttons (split buttons and command links among them)
// and check boxes in stages the parent may take over (NM_CUSTOMDRAW), group boxes, the old user
// buttons, and owner-drawn buttons, which the parent draws (WM_DRAWITEM).
#include "button.h"

#include <algorithm>

namespace button {
namespace {

using controls::FillArea;

// The check box's square and the gap to its text, in pixels.
constexpr int kBoxSize = 13;
constexpr int kTextGap = 4;
// The check mark: a short stroke down to the bottom point, then a long one up, each 3 pixels thick.
constexpr POINT kCheckMark[] = {{3, 5}, {5, 7}, {10, 2}};
constexpr int kCheckThickness = 3;
// A radio button's dot, centred in its square.
constexpr int kDotSize = 5;
// A command link's text keeps this far from its edges; its note is drawn below the text.
constexpr int kCommandLinkMargin = 6;
// A group box's text sits this far in from the frame's left end.
constexpr int kGroupTextIndent = 8;

// A dotted frame, as the platform marks the focused control.
void DrawFocusFrame(HDC dc, const RECT &rect, COLORREF color)
{
    for (LONG x = rect.left; x < rect.right; x += 2) {
        SetPixel(dc, x, rect.top, color);
        SetPixel(dc, x, rect.bottom - 1, color);
    }
    for (LONG y = rect.top; y < rect.bottom; y += 2) {
        SetPixel(dc, rect.left, y, color);
        SetPixel(dc, rect.right - 1, y, color);
    }
}

void DrawCheckMark(HDC dc, int left, int top, COLORREF color)
{
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    for (int offset = 0; offset < kCheckThickness; ++offset) {
        MoveToEx(dc, left + kCheckMark[0].x, top + kCheckMark[0].y + offset, nullptr);
        LineTo(dc, left + kCheckMark[1].x, top + kCheckMark[1].y + offset);
        LineTo(dc, left + kCheckMark[2].x + 1, top + kCheckMark[2].y + offset - 1);
    }
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

// The square: a sunken frame around a white well (grey while pushed, disabled or indeterminate),
// with the mark, or a radio button's dot.
void DrawBox(HDC dc, const Button &button, DWORD kind, int left, int top, bool enabled)
{
    const int right = left + kBoxSize;
    const int bottom = top + kBoxSize;
    FillArea(dc, left, top, right, bottom, COLOR_3DSHADOW);
    FillArea(dc, left + 1, top + 1, right, bottom, COLOR_3DHILIGHT);
    FillArea(dc, left + 1, top + 1, right - 1, bottom - 1, COLOR_3DDKSHADOW);
    FillArea(dc, left + 2, top + 2, right - 1, bottom - 1, COLOR_3DFACE);
    const bool white = enabled && !button.pushed && button.check != BST_INDETERMINATE;
    FillArea(dc, left + 2, top + 2, right - 2, bottom - 2, white ? COLOR_WINDOW : COLOR_3DFACE);
    if (button.check == BST_UNCHECKED) {
        return;
    }
    const int mark = button.check == BST_INDETERMINATE || !enabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT;
    if (IsRadioButton(kind)) {
        const int dot = (kBoxSize - kDotSize) / 2;
        FillArea(dc, left + dot, top + dot, left + dot + kDotSize, top + dot + kDotSize, mark);
    } else {
        DrawCheckMark(dc, left, top, GetSysColor(mark));
    }
}

// The raised (or, pushed, sunken) face of a push button.
void DrawFace(HDC dc, const RECT &rect, bool pushed)
{
    const int light = pushed ? COLOR_3DDKSHADOW : COLOR_3DHILIGHT;
    const int dark = pushed ? COLOR_3DHILIGHT : COLOR_3DDKSHADOW;
    FillArea(dc, rect.left, rect.top, rect.right, rect.bottom, dark);
    FillArea(dc, rect.left, rect.top, rect.right - 1, rect.bottom - 1, light);
    FillArea(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1, COLOR_3DSHADOW);
    FillArea(dc, rect.left + 1, rect.top + 1, rect.right - 2, rect.bottom - 2, COLOR_3DFACE);
}

bool IsDefault(DWORD kind)
{
    return kind == BS_DEFPUSHBUTTON || kind == BS_DEFSPLITBUTTON || kind == BS_DEFCOMMANDLINK;
}

// The text's place in `rect` from the style's alignment bits, each kind with its own default.
UINT TextFormat(HWND hwnd, DWORD kind)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    UINT format = (style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_CENTER) {
    case BS_LEFT: break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_CENTER: format |= DT_CENTER; break;
    default: format |= IsCheckBox(kind) || IsRadioButton(kind) || IsCommandLink(kind) ? 0 : DT_CENTER;
    }
    switch (style & BS_VCENTER) {
    case BS_TOP: break;
    case BS_BOTTOM: format |= DT_BOTTOM; break;
    default: format |= IsCommandLink(kind) ? 0 : DT_VCENTER;
    }
    return format;
}

// Draws the window's text in `place` (less the BCM_SETTEXTMARGIN margins); returns the rectangle
// the text covers.
RECT DrawLabelText(HWND hwnd, const Button &button, HDC dc, const RECT &place, UINT format)
{
    RECT text = {place.left + button.textMargin.left, place.top + button.textMargin.top,
                 place.right - button.textMargin.right, place.bottom - button.textMargin.bottom};
    const controls::Text label = controls::WindowText(hwnd);
    RECT measured = text;
    DrawTextW(dc, controls::AsWide(label), static_cast<int>(label.size()), &measured, format | DT_CALCRECT);
    DrawTextW(dc, controls::AsWide(label), static_cast<int>(label.size()), &text, format);
    const LONG width = measured.right - measured.left;
    const LONG height = measured.bottom - measured.top;
    const LONG left = (format & DT_CENTER) != 0  ? (text.left + text.right - width) / 2
                      : (format & DT_RIGHT) != 0 ? text.right - width
                                                 : text.left;
    const LONG top = (format & DT_VCENTER) != 0  ? (text.top + text.bottom - height) / 2
                     : (format & DT_BOTTOM) != 0 ? text.bottom - height
                                                 : text.top;
    return {left, top, left + width, top + height};
}

// The image set with BM_SETIMAGE: alone and centred with BS_BITMAP or BS_ICON, otherwise at the
// left of the text's place, which it narrows. Returns whether the text is to be drawn.
bool DrawImagePart(HWND hwnd, const Button &button, HDC dc, RECT *place)
{
    const SIZE size = ImageSize(button);
    if (size.cx == 0) {
        return true;
    }
    const LONG top = (place->top + place->bottom - size.cy) / 2;
    if ((GetWindowLongW(hwnd, GWL_STYLE) & (BS_BITMAP | BS_ICON)) != 0) {
        DrawImage(dc, button, (place->left + place->right - size.cx) / 2, top);
        return false;
    }
    DrawImage(dc, button, place->left, top);
    place->left += size.cx;
    return true;
}

// The split button's arrow: a small triangle pointing down, centred in its part.
void DrawArrow(HDC dc, const RECT &part, bool enabled)
{
    constexpr int kHalfWidth = 3;
    const int middle = (part.left + part.right) / 2;
    const int top = (part.top + part.bottom) / 2 - 1;
    for (int row = 0; row <= kHalfWidth; ++row) {
        FillArea(dc, middle - kHalfWidth + row, top + row, middle + kHalfWidth - row + 1, top + row + 1,
                 enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    }
}

// A command link: its text at the top left in the face, its note below.
void DrawCommandLinkLabel(HWND hwnd, const Button &button, HDC dc, const RECT &face)
{
    RECT place = face;
    InflateRect(&place, -kCommandLinkMargin, -kCommandLinkMargin);
    const RECT text = DrawLabelText(hwnd, button, dc, place, DT_SINGLELINE); // top left
    if (button.hasNote && !button.note.empty()) {
        place.top = text.bottom + 2;
        DrawTextW(dc, controls::AsWide(button.note), static_cast<int>(button.note.size()), &place,
                  DT_WORDBREAK);
    }
}

// ---- Push buttons and check boxes: each drawn in two stages, its background and its label ----

void ErasePushButton(HWND hwnd, const Button &button, HDC dc, const RECT &client)
{
    const DWORD kind = Kind(hwnd);
    FillRect(dc, &client, controls::ParentBrush(hwnd, dc, WM_CTLCOLORBTN));
    RECT face = client;
    if (IsDefault(kind)) { // the default button wears a dark frame around its face
        FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    if (!IsSplitButton(kind) || (button.split.style & BCSS_NOSPLIT) != 0) {
        DrawFace(dc, face, button.pushed);
        return;
    }
    RECT push;
    RECT arrow;
    SplitRects(button, face, &push, &arrow);
    DrawFace(dc, push, button.pushed);
    DrawFace(dc, arrow, button.dropDownPushed);
}

void DrawPushButtonLabel(HWND hwnd, const Button &button, HDC dc, const RECT &client)
{
    const DWORD kind = Kind(hwnd);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT place = client;
    if (IsSplitButton(kind) && (button.split.style & BCSS_NOSPLIT) == 0) {
        RECT arrow;
        SplitRects(button, client, &place, &arrow);
        DrawArrow(dc, arrow, IsWindowEnabled(hwnd) != FALSE);
    }
    if (button.pushed) {
        OffsetRect(&place, 1, 1);
    }
    if (!DrawImagePart(hwnd, button, dc, &place)) {
        return;
    }
    if (IsCommandLink(kind)) {
        DrawCommandLinkLabel(hwnd, button, dc, place);
    } else {
        DrawLabelText(hwnd, button, dc, place, TextFormat(hwnd, kind));
    }
}

RECT PushButtonFocus(HWND /*hwnd*/, const Button & /*button*/, HDC /*dc*/, const RECT &client)
{
    RECT focus = client;
    InflateRect(&focus, -3, -3);
    return focus;
}

// Check boxes and radio buttons sit on their parent's background.
void EraseCheckBox(HWND hwnd, const Button & /*button*/, HDC dc, const RECT &client)
{
    FillRect(dc, &client, controls::ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC));
}

RECT CheckBoxTextPlace(const RECT &client)
{
    return {client.left + kBoxSize + kTextGap, client.top, client.right, client.bottom};
}

void DrawCheckBoxLabel(HWND hwnd, const Button &button, HDC dc, const RECT &client)
{
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    DrawBox(dc, button, Kind(hwnd), client.left, (client.bottom - kBoxSize) / 2, enabled);
    if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    RECT place = CheckBoxTextPlace(client);
    if (DrawImagePart(hwnd, button, dc, &place)) {
        DrawLabelText(hwnd, button, dc, place, TextFormat(hwnd, Kind(hwnd)));
    }
}

// Around the text of a check box.
RECT CheckBoxFocus(HWND hwnd, const Button &button, HDC dc, const RECT &client)
{
    const RECT place = CheckBoxTextPlace(client);
    RECT text = {place.left + button.textMargin.left, place.top + button.textMargin.top,
                 place.right - button.textMargin.right, place.bottom - button.textMargin.bottom};
    const controls::Text label = controls::WindowText(hwnd);
    RECT measured = text;
    DrawTextW(dc, controls::AsWide(label), static_cast<int>(label.size()), &measured,
              TextFormat(hwnd, Kind(hwnd)) | DT_CALCRECT);
    const LONG height = measured.bottom - measured.top;
    return {text.left - 1, (client.bottom - height) / 2 - 1, text.left + (measured.right - measured.left) + 1,
            (client.bottom + height) / 2 + 1};
}

struct Stages {
    void (*erase)(HWND, const Button &, HDC, const RECT &);
    void (*label)(HWND, const Button &, HDC, const RECT &);
    RECT (*focus)(HWND, const Button &, HDC, const RECT &);
};

// The parent's say over each stage (NM_CUSTOMDRAW): one record serves every stage, so what the
// parent leaves in it at one stage it finds at the next.
class CustomDraw {
public:
    CustomDraw(HWND hwnd, const Button &button, HDC dc, const RECT &client) : recipient_(Recipient(hwnd))
    {
        record_.hdr = {hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), NM_CUSTOMDRAW};
        record_.hdc = dc;
        record_.rc = client;
        record_.uItemState = (IsWindowEnabled(hwnd) ? 0U : CDIS_DISABLED) |
                             (button.pushed ? CDIS_SELECTED : 0U) | (button.focused ? CDIS_FOCUS : 0U) |
                             (button.check == BST_INDETERMINATE ? CDIS_INDETERMINATE : 0U);
    }

    LRESULT Ask(DWORD stage)
    {
        record_.dwDrawStage = stage;
        return SendMessageW(recipient_, WM_NOTIFY, record_.hdr.idFrom, reinterpret_cast<LPARAM>(&record_));
    }

private:
    HWND recipient_;
    NMCUSTOMDRAW record_ = {};
};

// A change of focus alone redraws only the focus frame.
void PaintInStages(HWND hwnd, const Button &button, HDC dc, UINT action, const Stages &stages)
{
    RECT client;
    GetClientRect(hwnd, &client);
    CustomDraw customDraw(hwnd, button, dc, client);
    LRESULT answer = customDraw.Ask(CDDS_PREERASE);
    if ((answer & CDRF_SKIPDEFAULT) != 0) {
        return;
    }
    if (action != ODA_FOCUS) {
        stages.erase(hwnd, button, dc, client);
    }
    if ((answer & CDRF_NOTIFYPOSTERASE) != 0) {
        customDraw.Ask(CDDS_POSTERASE);
    }
    answer = customDraw.Ask(CDDS_PREPAINT);
    if ((answer & CDRF_SKIPDEFAULT) != 0) {
        return;
    }
    if ((answer & CDRF_DOERASE) == 0 && action != ODA_FOCUS) {
        stages.label(hwnd, button, dc, client);
    }
    if ((answer & CDRF_NOTIFYPOSTPAINT) != 0) {
        customDraw.Ask(CDDS_POSTPAINT);
    }
    if ((answer & CDRF_SKIPPOSTPAINT) == 0 && button.focused) {
        DrawFocusFrame(dc, stages.focus(hwnd, button, dc, client), GetSysColor(COLOR_WINDOWTEXT));
    }
}

// ---- The kinds that draw without stages ----

// A frame with the text set into its top edge, on the parent's background.
void PaintGroupBox(HWND hwnd, const Button &button, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH background = controls::ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC);
    const controls::Text label = controls::WindowText(hwnd);
    RECT text = {client.left + kGroupTextIndent, client.top, client.right - kGroupTextIndent, client.bottom};
    DrawTextW(dc, controls::AsWide(label), static_cast<int>(label.size()), &text,
              DT_SINGLELINE | DT_CALCRECT);
    const LONG frameTop = client.top + (text.bottom - text.top) / 2;
    FillArea(dc, client.left, frameTop, client.right, client.bottom, COLOR_3DSHADOW);
    FillArea(dc, client.left + 1, frameTop + 1, client.right, client.bottom, COLOR_3DHILIGHT);
    FillArea(dc, client.left + 1, frameTop + 1, client.right - 1, client.bottom - 1, COLOR_3DSHADOW);
    const RECT inside = {client.left + 2, frameTop + 2, client.right - 1, client.bottom - 1};
    FillRect(dc, &inside, background);
    if (!label.empty()) {
        const RECT behindText = {text.left - 1, client.top, text.right + 1, text.bottom};
        FillRect(dc, &behindText, background);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        DrawLabelText(hwnd, button, dc, text, DT_SINGLELINE); // at the top left
    }
}

// The old user button is a plain area of the parent's button colour; the parent draws into it
// after BN_HILITE and the like. Only its focus is drawn, in stages the parent may take over.
void PaintUserButton(HWND hwnd, const Button &button, HDC dc, UINT action)
{
    if (!button.focused) {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, controls::ParentBrush(hwnd, dc, WM_CTLCOLORBTN));
        return;
    }
    const Stages stages = {
        [](HWND self, const Button &, HDC target, const RECT &client) {
            FillRect(target, &client, controls::ParentBrush(self, target, WM_CTLCOLORBTN));
        },
        [](HWND, const Button &, HDC, const RECT &) {},
        [](HWND, const Button &, HDC, const RECT &client) { return client; },
    };
    PaintInStages(hwnd, button, dc, action == ODA_FOCUS ? ODA_DRAWENTIRE : action, stages);
}

void PaintOwnerDrawn(HWND hwnd, const Button &button, HDC dc, UINT action)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = action;
    item.itemState = (button.focused ? ODS_FOCUS : 0U) | (button.pushed ? ODS_SELECTED : 0U) |
                     (IsWindowEnabled(hwnd) ? 0U : ODS_DISABLED);
    item.hwndItem = hwnd;
    item.hDC = dc;
    GetClientRect(hwnd, &item.rcItem);
    HWND recipient = Recipient(hwnd);
    SendMessageW(recipient, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
    SendMessageW(recipient, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

} // namespace

void SplitRects(const Button &button, const RECT &client, RECT *push, RECT *arrow)
{
    *push = client;
    *arrow = client;
    // A button narrower than its arrow is all arrow.
    if ((button.split.style & BCSS_ALIGNLEFT) != 0) {
        arrow->right = std::min(client.left + button.split.size.cx, client.right);
        push->left = arrow->right;
    } else {
        arrow->left = std::max(client.right - button.split.size.cx, client.left);
        push->right = arrow->left;
    }
}

// The button's own font is selected into `dc` and left there, as the platform leaves it for
// whoever handed the DC over (WM_PRINTCLIENT); the colours and background mode are given back.
void Paint(HWND hwnd, const Button &button, HDC dc, UINT action)
{
    if (button.font != nullptr) {
        SelectObject(dc, button.font);
    }
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousText = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    static constexpr Stages kPushButton = {ErasePushButton, DrawPushButtonLabel, PushButtonFocus};
    static constexpr Stages kCheckBox = {EraseCheckBox, DrawCheckBoxLabel, CheckBoxFocus};
    const DWORD kind = Kind(hwnd);
    switch (kind) {
    case BS_GROUPBOX: PaintGroupBox(hwnd, button, dc); break;
    case BS_USERBUTTON: PaintUserButton(hwnd, button, dc, action); break;
    case BS_OWNERDRAW: PaintOwnerDrawn(hwnd, button, dc, action); break;
    case BS_PUSHBOX: break; // never drawn
    default:
        PaintInStages(hwnd, button, dc, action,
                      IsCheckBox(kind) || IsRadioButton(kind) ? kCheckBox : kPushButton);
    }
    SetTextColor(dc, previousText);
    SetBkMode(dc, previousMode);
}

} // namespace button
