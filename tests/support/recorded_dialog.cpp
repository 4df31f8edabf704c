#include "recorded_dialog.h"

#include "SlantGlyphDemo.h"

#include <algorithm>

namespace test {

namespace {

int g_depth = 0;

} // namespace

void CommandLog::Clear()
{
    commands.clear();
    deepestNesting = 0;
}

std::vector<int> CommandLog::ChangedFields() const
{
    std::vector<int> fields;
    for (const Command &c : commands) {
        if (c.code == EN_CHANGE) {
            fields.push_back(c.id);
        }
    }
    return fields;
}

CommandLog &Log()
{
    static CommandLog log;
    return log;
}

INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_COMMAND) {
        return DialogProc(hwnd, msg, wParam, lParam);
    }
    ++g_depth;
    Log().commands.push_back({LOWORD(wParam), HIWORD(wParam), g_depth});
    Log().deepestNesting = std::max(Log().deepestNesting, g_depth);
    const INT_PTR result = DialogProc(hwnd, msg, wParam, lParam);
    --g_depth;
    return result;
}

Dialog::Dialog() : driving::Dialog(RecordingDialogProc)
{
    Log().Clear();
}

} // namespace test
