// The program's dialog with a recorder in front of its dialog procedure: the command traffic
// that reached the program, and how deeply it nested.
#pragma once

#include "program_dialog.h"

#include <windows.h>

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

// The program's dialog, recorded from an empty log.
class Dialog : public driving::Dialog {
public:
    Dialog();
};

} // namespace test
