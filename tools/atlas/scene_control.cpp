#include "scene_control.h"

#include "SlantGlyphDemo.h"

#include <commctrl.h>
#include <dlgs.h>

#include <cstdio>

namespace atlas {

namespace {

constexpr UINT kDialogTemplate = 1;

} // namespace

const char *ModeName(Mode mode)
{
    return mode == Mode::kAdvanced ? "advanced" : "compatible";
}

const char *AlignmentName(Alignment alignment)
{
    switch (alignment) {
    case Alignment::kTop: return "top";
    case Alignment::kBottom: return "bottom";
    case Alignment::kBaseline: break;
    }
    return "baseline";
}

std::string AnglesLabel(const Setting &setting)
{
    char label[64];
    std::snprintf(label, sizeof(label), "e %d  o %d", setting.escapement, setting.orientation);
    return label;
}

SceneDialog::SceneDialog()
{
    InitCommonControls();
    hwnd_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDialogTemplate), nullptr,
                               DialogProc, 0);
}

SceneDialog::~SceneDialog()
{
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    // The dialog's destruction posts a quit request; nothing else is left to handle.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void SceneDialog::SetCheck(int id, Check check) const
{
    const bool checked = check == Check::Checked;
    const bool now = IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
    if (now == checked) {
        return;
    }
    // A click toggles the box, which then tells its dialog.
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, id)));
}

void SceneDialog::Apply(const Setting &setting) const
{
    SetCheck(chx3, Check::Unchecked); // uncoupled, so that the angles may differ
    SetDlgItemInt(hwnd_, edt1, static_cast<UINT>(setting.escapement), TRUE);
    SetDlgItemInt(hwnd_, edt2, static_cast<UINT>(setting.orientation), TRUE);
    SetCheck(chx1, setting.mode == Mode::kAdvanced ? Check::Checked : Check::Unchecked);
    SendDlgItemMessageA(hwnd_, cmb1, CB_SETCURSEL, static_cast<WPARAM>(setting.alignment), 0);
    SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, cmb1)));
}

scene::Frame SceneDialog::Render(const std::function<void(HDC)> &after) const
{
    return scene::Frame(hwnd_, after);
}

} // namespace atlas
