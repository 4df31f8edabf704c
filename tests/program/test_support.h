// Helpers the program's tests share: the dialog built from the real template, its controls'
// texts, the command traffic that reaches the dialog procedure, and frames of the scene.
#pragma once

#include "scene_frame.h"

#include <windows.h>

#include <cstdint>
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
    std::vector<Command> Changes() const; // the EN_CHANGE notifications only
};

CommandLog &Log();

// Wraps the program's DialogProc to record the commands that reach it.
INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The program's dialog, modeless so that a test can drive it; destroyed with the object.
class Dialog {
public:
    Dialog();
    ~Dialog();
    Dialog(const Dialog &) = delete;
    Dialog &operator=(const Dialog &) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    std::string Text(int id) const;
    void SetText(int id, const char *text) const; // as if typed: the field announces the change
    void Click(int id) const;                     // a mouse click on a check box
    bool Checked(int id) const;
    bool Enabled(int id) const;
    // Sets a check box without the click and so without any notification.
    void SetCheckQuietly(int id, bool checked) const;
    // Gives both angle fields a text each, with no mirroring between them, and leaves the
    // "==" box as it found it.
    void SetAnglesUncoupled(const char *escapement, const char *orientation) const;

    void SendCommand(int id, UINT code) const;
    void Tick(UINT_PTR timer) const; // one WM_TIMER, as the platform delivers it

    // Shows the dialog and clears its pending repaint, so that a test can see a new one.
    void ShowAndValidate() const;
    bool RepaintPending() const;

private:
    HWND hwnd_;
};

// A 32-bit top-down frame of the scene, drawn by the program's own paint path.
using Frame = scene::Frame;

// Pixel classes of the scene (0x00RRGGBB).
bool IsWhite(std::uint32_t pixel);
bool IsBlack(std::uint32_t pixel);
bool IsCell(std::uint32_t pixel); // the yellow cell or red ink on it, smoothed or not
bool IsInk(std::uint32_t pixel);  // mostly red

// Metrics of the scene's font as the platform reports them.
struct FontMetrics {
    int ascent;
    int descent;
    int height;
    int textWidth; // of the sample text
};
FontMetrics SceneFontMetrics();

// Wine is the real platform we test on, but it has a few known faults in rotated text.
bool RunningUnderWine();

} // namespace test
