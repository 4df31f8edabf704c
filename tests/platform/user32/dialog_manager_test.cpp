// The dialog manager through the public API: a dialog built from an in-memory template, its
// focus, keyboard navigation, the dialog procedure's return contract and the ways it ends.
// The same expectations hold on the real platform.
#include "template_writer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using test::TemplateWriter;

constexpr char kFieldClass[] = "DialogManagerField";
constexpr int kLabel = 10;
constexpr int kFirstField = 11;
constexpr int kSecondField = 12;
constexpr LPARAM kInitParam = 1234;
constexpr UINT kAnswer = WM_APP + 1;
constexpr LRESULT kAnswerValue = 42;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kFieldStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

struct Record {
    LPARAM initParam = 0;
    std::vector<WPARAM> commands;
};
Record g_record;

// A dialog of a label and two fields of a class of the test's own, 200 x 100 dialog units.
std::vector<BYTE> Template(const char16_t *fieldClass = u"DialogManagerField")
{
    TemplateWriter out;
    out.Dword(kDialogStyle).Dword(0).Word(3).Box(0, 0, 200, 100);
    out.Word(0).Word(0).String(u"Test").Word(8).String(u"Tahoma");
    out.Align().Dword(WS_CHILD | WS_VISIBLE).Dword(0).Box(5, 5, 40, 10).Word(kLabel);
    out.String(fieldClass).String(u"label").Word(0);
    out.Align().Dword(kFieldStyle).Dword(0).Box(5, 20, 40, 12).Word(kFirstField);
    out.String(fieldClass).String(u"").Word(0);
    out.Align().Dword(kFieldStyle).Dword(0).Box(50, 20, 40, 12).Word(kSecondField);
    out.String(fieldClass).String(u"").Word(0);
    return out.bytes();
}

INT_PTR CALLBACK TestDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: g_record.initParam = lParam; return TRUE;
    case WM_COMMAND: g_record.commands.push_back(wParam); return TRUE;
    case kAnswer: SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, kAnswerValue); return TRUE;
    default: return FALSE;
    }
}

class DialogManager : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kFieldClass;
        RegisterClassA(&windowClass);
    }

    void SetUp() override
    {
        g_record = {};
        bytes_ = Template();
        dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(bytes_.data()), nullptr,
                                             TestDialogProc, kInitParam);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(dialog_);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    std::vector<BYTE> bytes_;
    HWND dialog_ = nullptr;
};

TEST_F(DialogManager, GeometryFollowsTheDialogUnitsOfTheTemplateFont)
{
    RECT expected = {0, 0, 200, 100};
    ASSERT_TRUE(MapDialogRect(dialog_, &expected));
    RECT client = {};
    GetClientRect(dialog_, &client);
    EXPECT_TRUE(EqualRect(&client, &expected));

    RECT field = {};
    GetWindowRect(GetDlgItem(dialog_, kSecondField), &field);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT *>(&field), 2);
    // Position and size are converted each on its own.
    RECT mapped = {50, 20, 40, 12};
    MapDialogRect(dialog_, &mapped);
    EXPECT_EQ(field.left, mapped.left);
    EXPECT_EQ(field.top, mapped.top);
    EXPECT_EQ(field.right - field.left, mapped.right);
    EXPECT_EQ(field.bottom - field.top, mapped.bottom);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog_, kFirstField), WM_GETFONT, 0, 0), 0)
        << "the fields' own class keeps no font";
    EXPECT_NE(SendMessageA(dialog_, WM_GETFONT, 0, 0), 0) << "the dialog keeps the template's font";
}

// Tab order, the first focus and the keys that end a dialog are the conformance comparison's to
// check on the program's own dialog; these are the parts of the contract it does not use.
TEST_F(DialogManager, TheDefaultButtonIsIdOkUntilToldAndForeignKeysAreLeft)
{
    EXPECT_EQ(g_record.initParam, kInitParam);
    EXPECT_FALSE(IsWindowVisible(dialog_)) << "a template without WS_VISIBLE stays hidden";
    EXPECT_EQ(SendMessageA(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    SendMessageA(dialog_, DM_SETDEFID, kSecondField, 0);
    EXPECT_EQ(SendMessageA(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(kSecondField, DC_HASDEFID));
    MSG other = {nullptr, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(IsDialogMessageA(dialog_, &other)) << "a message for no window of the dialog";
}

// A dialog of fields, activated again, gives the focus back to the control that had it when it
// was deactivated, whatever has the focus in between.
TEST(DialogFocus, ActivationRestoresWhatDeactivationSaved)
{
    const std::vector<BYTE> bytes = Template(u"Edit");
    HWND dialog =
        CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()),
                                   nullptr, TestDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    for (const int id : {kFirstField, kSecondField}) {
        HWND field = GetDlgItem(dialog, id);
        SetFocus(field);
        SendMessageA(dialog, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
        SetFocus(nullptr);
        SendMessageA(dialog, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
        EXPECT_EQ(GetFocus(), field) << "saved on deactivation";
    }
    DestroyWindow(dialog);
}

// An edit field and two push buttons, the second one IDCANCEL.
std::vector<BYTE> ButtonsTemplate()
{
    TemplateWriter out;
    out.Dword(kDialogStyle).Dword(0).Word(3).Box(0, 0, 200, 100);
    out.Word(0).Word(0).String(u"Test").Word(8).String(u"Tahoma");
    out.Align().Dword(kFieldStyle).Dword(0).Box(5, 5, 60, 12).Word(kFirstField);
    out.String(u"Edit").String(u"").Word(0);
    for (const WORD id : {WORD{kSecondField}, WORD{IDCANCEL}}) {
        out.Align()
            .Dword(kFieldStyle | BS_PUSHBUTTON)
            .Dword(0)
            .Box(5, static_cast<short>(20 + id % 10 * 15), 50, 14);
        out.Word(id).String(u"Button").String(u"Push").Word(0);
    }
    return out.bytes();
}

DWORD ButtonType(HWND button)
{
    return static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE)) & BS_TYPEMASK;
}

// The default look follows the focus among push buttons; elsewhere it goes back to the button
// DM_SETDEFID named. The default id itself never moves with the focus.
TEST(DialogDefaultButton, FollowsTheFocusAmongPushButtons)
{
    const std::vector<BYTE> bytes = ButtonsTemplate();
    HWND dialog =
        CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()),
                                   nullptr, TestDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND field = GetDlgItem(dialog, kFirstField);
    HWND push = GetDlgItem(dialog, kSecondField);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    SendMessageA(dialog, DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(ButtonType(cancel), static_cast<DWORD>(BS_DEFPUSHBUTTON));
    SendMessageA(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    SetFocus(field);
    // The focus moves to the next tab stop (no target), or to the target.
    struct Step {
        HWND target, focus;
        DWORD push, cancel;
    };
    for (const Step step : {Step{nullptr, push, BS_DEFPUSHBUTTON, BS_PUSHBUTTON},
                            Step{nullptr, cancel, BS_PUSHBUTTON, BS_DEFPUSHBUTTON},
                            Step{nullptr, field, BS_PUSHBUTTON, BS_DEFPUSHBUTTON},
                            Step{push, push, BS_DEFPUSHBUTTON, BS_PUSHBUTTON},
                            Step{field, field, BS_PUSHBUTTON, BS_DEFPUSHBUTTON}}) {
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(step.target), step.target != nullptr);
        EXPECT_EQ(GetFocus(), step.focus);
        EXPECT_EQ(ButtonType(push), step.push);
        EXPECT_EQ(ButtonType(cancel), step.cancel);
        EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDCANCEL, DC_HASDEFID));
    }
    DestroyWindow(dialog);
}

TEST_F(DialogManager, ResultsOtherThanHandledTravelInMsgResult)
{
    EXPECT_EQ(SendMessageA(dialog_, kAnswer, 0, 0), kAnswerValue);
    EXPECT_EQ(SendMessageA(dialog_, WM_APP + 99, 0, 0), 0);
    EXPECT_EQ(GetWindowLongPtrA(dialog_, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(TestDialogProc));
}

TEST_F(DialogManager, CloseRequestsArePostedAsCancel)
{
    SendMessageA(dialog_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(g_record.commands.empty()) << "the command is posted, not sent";
    EXPECT_TRUE(IsWindow(dialog_));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(g_record.commands, (std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)}));
}

TEST(DialogManagerFailures, UnknownControlClassFailsTheDialog)
{
    const std::vector<BYTE> bytes = Template(u"NoSuchClassAnywhere");
    EXPECT_EQ(CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                         reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), nullptr,
                                         TestDialogProc, 0),
              nullptr);
    EXPECT_EQ(DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), nullptr,
                                      TestDialogProc, 0),
              -1);
    EXPECT_EQ(
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999), nullptr, TestDialogProc, 0),
        nullptr);
    EXPECT_FALSE(EndDialog(nullptr, 0));
}

} // namespace
