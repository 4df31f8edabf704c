// The program's dialog from template 1, modeless so that a test, a benchmark or a fuzzer can drive
// it, and the command traffic that reaches its dialog procedure.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test {

// One WM_COMMAND as it reached the program, and how deeply it was nested in other commands.
struct Command {
    int id;
    UINT code;
    int depth;
};

// Everything the dialog procedure was handed since the last Clear().
struct CommandLog {
    std::vector<Command> commands;
    int deepestNesting = 0;

    void Clear();
    std::vector<int> ChangedFields() const; // the ids of the EN_CHANGE notifications, in order
};

CommandLog &Log();

// Wraps the program's DialogProc to record the commands that reach it.
INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Destroyed with the object; `procedure` stands in for the program's own DialogProc where a
// caller watches it.
class Dialog {
public:
    explicit Dialog(DLGPROC procedure = RecordingDialogProc);
    ~Dialog();
    Dialog(const Dialog &) = delete;
    Dialog &operator=(const Dialog &) = delete;

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
    // The angles, the graphics mode and the alignment list's selection (-1 for none), quietly.
    void SetScene(int escapement, int orientation, bool advanced, int alignment = 0) const;

    void SendCommand(int id, UINT code) const;
    void Tick(UINT_PTR timer) const; // one WM_TIMER, as the platform delivers it

    // Shows the dialog and clears its pending repaint, so that a test can see a new one.
    void ShowAndValidate() const;
    bool RepaintPending() const;
    // The whole client area invalidated and painted at once, the controls over the scene included.
    void Repaint() const;
    // Only the program's own paint path: OnDraw into the window's DC.
    void DrawScene() const;

private:
    HWND hwnd_;
};

// The timers of the two animations, as the program numbers them.
constexpr UINT_PTR kEscapementTimer = 888;
constexpr UINT_PTR kOrientationTimer = 999;

// The GDI objects the process holds (GetGuiResources), or -1 where the platform does not count them.
long GdiObjects();

// Wine is the real platform we test on, but it has a few known faults in rotated text.
bool RunningUnderWine();

} // namespace test
