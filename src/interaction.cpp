// Interaction: the reactions to the controls and the stepping of an animated angle.
#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>

namespace {

using animation::kEscapementTimer;
using animation::kOrientationTimer;
constexpr int kStepsPerTurn = animation::kFullTurn / animation::kStep;

// A mirrored angle travels to the partner field, back, and at most once more to normalise the
// text of the field that started it. An up-down that rewrites its buddy even when the text is
// unchanged would otherwise bounce the value between the two fields without end.
constexpr int kMaxMirrorDepth = 3;

} // namespace

// The animation step; reset when an animation starts, advanced at each tick.
static int s_i = 0;

// How many angle mirrors are under way, one inside the other.
static int s_mirrorDepth = 0;

namespace {

void SetAngle(HWND hwnd, int upDown, int angle)
{
    // The up-down keeps only the low 16 bits of the position it is sent, so a typed angle far
    // out of range would wrap to an unrelated one (65636 to 100); it stops at its limit instead.
    const int position = std::clamp(angle, settings::kAngleMin, settings::kAngleMax);
    // The up-down writes its position into its buddy field, which then announces the change.
    SendDlgItemMessageA(hwnd, upDown, UDM_SETPOS, 0, static_cast<LPARAM>(position));
}

int ReadAngle(HWND hwnd, int field)
{
    return static_cast<int>(GetDlgItemInt(hwnd, field, nullptr, TRUE));
}

void MirrorAngle(HWND hwnd, int field, int partnerUpDown)
{
    if (s_mirrorDepth >= kMaxMirrorDepth) {
        return;
    }
    ++s_mirrorDepth;
    SetAngle(hwnd, partnerUpDown, ReadAngle(hwnd, field));
    --s_mirrorDepth;
}

void RequestRepaint(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
}

void OnAnimateClicked(HWND hwnd, int box, int otherBox, UINT_PTR timer)
{
    // At most one angle animates at a time: a running animation locks the other box.
    const bool starting = IsDlgButtonChecked(hwnd, box) != 0;
    EnableWindow(GetDlgItem(hwnd, otherBox), starting ? FALSE : TRUE);
    if (starting) {
        SetTimer(hwnd, timer, animation::kTickMilliseconds, nullptr);
        s_i = 0;
    } else {
        KillTimer(hwnd, timer);
    }
}

void OnAngleChanged(HWND hwnd, int field)
{
    if (IsDlgButtonChecked(hwnd, chx3)) {
        MirrorAngle(hwnd, field, field == edt1 ? scr2 : scr1);
    }
    RequestRepaint(hwnd);
}

} // namespace

void OnCommand(HWND hwnd, int id, HWND /*hwndCtl*/, UINT codeNotify)
{
    switch (id) {
    case IDOK:
    case IDCANCEL: EndDialog(hwnd, id); return;
    case chx1:
        if (codeNotify == BN_CLICKED) {
            RequestRepaint(hwnd);
        }
        return;
    case chx3:
        // Coupling or uncoupling, the orientation takes the escapement; its field's change
        // brings the repaint.
        if (codeNotify == BN_CLICKED) {
            SetAngle(hwnd, scr2, ReadAngle(hwnd, edt1));
        }
        return;
    case chx4:
        if (codeNotify == BN_CLICKED) {
            OnAnimateClicked(hwnd, chx4, chx5, kEscapementTimer);
        }
        return;
    case chx5:
        if (codeNotify == BN_CLICKED) {
            OnAnimateClicked(hwnd, chx5, chx4, kOrientationTimer);
        }
        return;
    case cmb1:
        if (codeNotify == CBN_SELENDOK) {
            RequestRepaint(hwnd);
        }
        return;
    case edt1:
    case edt2:
        if (codeNotify == EN_CHANGE) {
            OnAngleChanged(hwnd, id);
        }
        return;
    default: return;
    }
}

void OnTimer(HWND hwnd, UINT id)
{
    if (id != kEscapementTimer && id != kOrientationTimer) {
        return;
    }
    const int angle = (s_i * animation::kStep) % animation::kFullTurn;

    // With the angles coupled, both turn, the escapement written first.
    const bool coupled = IsDlgButtonChecked(hwnd, chx3) != 0;
    if (id == kEscapementTimer || coupled) {
        SetAngle(hwnd, scr1, angle);
    }
    if (id == kOrientationTimer || coupled) {
        SetAngle(hwnd, scr2, angle);
    }
    RequestRepaint(hwnd);
    s_i = (s_i % kStepsPerTurn) + 1;
}
