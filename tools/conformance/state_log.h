// Between the conformance driver's playback and its log: how the log names the dialog's windows and
// messages, and what it writes after each step. The playback makes the input and steps the phases;
// the log only reads the dialog.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>

namespace conformance {

// What the log keeps of one run of a script.
struct StateLog {
    std::ostream *out = nullptr;
    HWND dialog = nullptr; // once it has received WM_INITDIALOG
    std::string messages;  // what the dialog procedure received during the step
};

// The control or static label a script names ("edt1", "label2"), or null for a name it has not.
HWND NamedWindow(HWND dialog, const std::string &name);

// Adds a message the dialog procedure received to the step's, if the log keeps it.
void Record(StateLog &log, UINT message, WPARAM wParam, LPARAM lParam);
// Notes that a place the step named was not there, so that the step did nothing.
void RecordNowhere(StateLog &log);

void LogScript(StateLog &log, const std::string &name);
// The state after a step, with the dialog open; `timers` says which animation timers exist.
void LogState(StateLog &log, const std::string &heading, const std::string &timers);
// The step in which the dialog ended: what it received until it was gone, and its result.
void LogEnd(StateLog &log, const std::string &heading, INT_PTR result);
void LogNotOpened(StateLog &log);

} // namespace conformance
