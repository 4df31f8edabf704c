// The program's dialog from its template, opened modally as WinMain opens it or modeless so that
// a test, a tool, a benchmark or a fuzzer can drive it, and set as a user sets it.
#pragma once

#include "scene_frame.h"

#include <windows.h>

#include <functional>
#include <string>

namespace driving {

// Opens the dialog modally, as the program does, with `procedure` in place of the program's
// DialogProc (which it should hand on to); what EndDialog returned.
INT_PTR RunModal(DLGPROC procedure);

// What the controls hold for one picture.
struct Scene {
    int escapement = 0; // tenths of a degree
    int orientation = 0;
    bool advanced = false; // GM_ADVANCED
    int alignment = 0;     // the alignment list's selection, -1 for none
};

// Destroyed with the object; `procedure` stands in for the program's own DialogProc where a
// caller watches it.
class Dialog {
public:
    explicit Dialog(DLGPROC procedure);
    ~Dialog();
    Dialog(const Dialog &) = delete;
    Dialog &operator=(const Dialog &) = delete;

    bool valid() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    std::string Text(int id) const;
    int Angle(int field) const;                   // the field's text read as the program reads it
    void SetText(int id, const char *text) const; // as if typed: the field announces the change
    void Click(int id) const;                     // a mouse click on a check box
    bool Checked(int id) const;
    bool Enabled(int id) const;
    // Sets a check box without the click and so without any notification.
    void SetCheckQuietly(int id, bool checked) const;
    // Gives both angle fields a text each, with no mirroring between them, and leaves the
    // "==" box as it found it.
    void SetAnglesUncoupled(const char *escapement, const char *orientation) const;
    // The controls as a user leaves them: "==" cleared so that the angles may differ, both
    // angles typed, the graphics-mode box and the alignment list set; each control tells the
    // dialog as it would when used.
    void SetScene(const Scene &scene) const;

    void SendCommand(int id, UINT code) const;
    void Tick(UINT_PTR timer) const; // one WM_TIMER, as the platform delivers it

    // Shows the dialog and clears its pending repaint, so that a caller can see a new one.
    void ShowAndValidate() const;
    bool RepaintPending() const;
    // The whole client area invalidated and painted at once, the controls over the scene included.
    void Repaint() const;
    // Only the program's own paint path: OnDraw into the window's DC.
    void DrawScene() const;
    // The scene through the program's paint path into a bitmap; `after` draws over it in the same DC.
    scene::Frame Paint(const std::function<void(HDC)> &after = {}) const;

private:
    void SetCheck(int id, bool checked) const; // by a click, only where it changes
    HWND hwnd_;
};

// The GDI objects the process holds (GetGuiResources), or -1 where the platform does not count them.
long GdiObjects();

// Wine is the real platform we test on, but it has a few known faults in rotated text.
bool RunningUnderWine();

} // namespace driving
