// The program's handlers: DialogProc hands each window message to one of them.
#pragma once

// The resource id of the dialog template; the resource script reads this line and no other.
#define IDD_SLANTGLYPHDEMO 1

#ifndef RC_INVOKED

#include <windows.h>

// What the scene draws and where, for the tools that measure it as well as for the paint.
namespace scene {
constexpr WCHAR kSampleText[] = L"SlantGlyphDemo";
constexpr WCHAR kFaceName[] = L"MS UI Gothic";
constexpr LONG kCellHeight = 50;

// Where the text starts and the two lines of the reference cross meet.
constexpr int kReferenceX = 150;
constexpr int kReferenceY = 170;
} // namespace scene

// What the controls offer.
namespace settings {
// Both up-downs run from minus to plus one full turn, in tenths of a degree.
constexpr int kAngleMin = -3600;
constexpr int kAngleMax = 3600;

// The alignment list in its order: the name it shows beside the text alignment it stands for.
struct Alignment {
    const char *name;
    UINT value;
};
constexpr Alignment kAlignments[] = {
    {"TA_BASELINE", TA_BASELINE}, {"TA_TOP", TA_TOP}, {"TA_BOTTOM", TA_BOTTOM}};
constexpr LRESULT kAlignmentCount = sizeof(kAlignments) / sizeof(kAlignments[0]);
} // namespace settings

// The animations: one window timer per animated angle, each tick turning it by one step.
namespace animation {
constexpr UINT_PTR kEscapementTimer = 888;
constexpr UINT_PTR kOrientationTimer = 999;
constexpr UINT kTickMilliseconds = 100;
// 3 degrees a tick, in tenths of a degree; an animation repeats after one full turn.
constexpr int kStep = 30;
constexpr int kFullTurn = 3600;
} // namespace animation

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Application shell.
BOOL OnInitDialog(HWND hwnd, HWND hwndFocus, LPARAM lParam);
BOOL OnEraseBkgnd(HWND hwnd, HDC hdc);
void OnSize(HWND hwnd, UINT state, int cx, int cy);
void OnDestroy(HWND hwnd);

// Rendering.
void OnPaint(HWND hwnd);
void OnDraw(HWND hwnd, HDC hdc);
void OnDrawBitmap(HWND hwnd, HDC hdc, RECT &rect);

// Interaction.
void OnCommand(HWND hwnd, int id, HWND hwndCtl, UINT codeNotify);
void OnTimer(HWND hwnd, UINT id);

#endif // RC_INVOKED
