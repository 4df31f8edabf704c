// The conformance driver: plays scripts on the program's real dialog through the platform's input
// path and writes, after each step, the dialog's state in a normalised form that two platforms
// can be compared on.
#pragma once

#include "script.h"

#include <ostream>

namespace conformance {

// Runs the program's dialog once for the script, logging the state after it opens and after each
// step. Returns false if the dialog could not be opened.
bool RunScript(const Script &script, std::ostream &log);

} // namespace conformance
