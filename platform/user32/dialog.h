// The dialog manager's state per dialog, shared with DefDlgProc, and its template parser (the
// tests reach the parser).
#pragma once

#include "window.h"

#include <cstddef>
#include <string>
#include <vector>

namespace platform::user32 {

struct DialogInfo {
    HFONT font = nullptr; // created from the template's DS_SETFONT font; deleted with the dialog
    SIZE baseUnits = {};  // the font's average character width and height
    bool procedureUnicode = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND savedFocus = nullptr; // restored when the dialog is activated again
};

// A name or an ordinal as a template stores it; `ordinal` 0 means `text` (possibly empty).
struct TemplateId {
    WORD ordinal = 0;
    std::u16string text;
};

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    RECT bounds = {}; // dialog units: x, y, x + cx, y + cy
    DWORD id = 0;
    TemplateId windowClass;
    TemplateId text;
    std::vector<BYTE> creationData; // its size (a WORD), then the bytes; empty when there are none
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    RECT bounds = {};
    TemplateId menu;
    TemplateId windowClass;
    std::u16string caption;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    bool italic = false;
    BYTE charset = 0;
    std::u16string typeface;
    std::vector<DialogItem> items;
};

// Reads a classic or extended dialog template of `size` bytes; false when it is malformed or
// cut short, and then nothing beyond `size` was read.
bool ParseDialogTemplate(const BYTE *bytes, size_t size, DialogTemplate &parsed);

// The window class name a template's class ordinal stands for ("Button" for 0x80 ...).
std::u16string PredefinedClassName(WORD ordinal);

DialogInfo *DialogOf(HWND hwnd);

// Gives a control of a dialog the focus, selecting all of a field's text.
void FocusDialogControl(HWND control);
// The focus moved to `focus` by the keyboard: a push button that takes it shows as the default
// (BS_DEFPUSHBUTTON) and the one that showed so no longer does; elsewhere the focus gives the look
// back to the dialog's default button, `defaultId`.
void ShowDefaultButton(HWND dialog, HWND focus, int defaultId);

// The system font's average character width and height, the base units of a dialog without a
// font of its own.
SIZE SystemBaseUnits();

} // namespace platform::user32
