// The program's behaviour through the real dialog manager: the dialog as it opens, the reaction
// to every control, the coupling of the two angles, the animations, and the ways it ends.
#include "SlantGlyphDemo.h"
#include "recorded_dialog.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace {

using animation::kEscapementTimer;
using animation::kOrientationTimer;
using test::Dialog;
using test::Log;

// A table row's name names its test.
template <class Row> std::string RowName(const ::testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

// ---- The dialog as it opens ----

TEST(OpenedDialog, ControlsStartAsTheUserExpects)
{
    Dialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);

    EXPECT_TRUE(dialog.Checked(chx3));
    for (int box : {chx1, chx4, chx5}) {
        EXPECT_FALSE(dialog.Checked(box)) << box;
        EXPECT_TRUE(dialog.Enabled(box)) << box;
    }
    EXPECT_EQ(dialog.Text(edt1) + dialog.Text(edt2), "");
    BOOL read = TRUE;
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog.hwnd(), edt1, &read, TRUE)), 0);
    EXPECT_FALSE(read) << "an empty field holds no number and reads as 0";

    EXPECT_EQ(SendDlgItemMessageA(dialog.hwnd(), cmb1, CB_GETCURSEL, 0, 0), 0);
    ASSERT_EQ(SendDlgItemMessageA(dialog.hwnd(), cmb1, CB_GETCOUNT, 0, 0), 3);
    WPARAM row = 0;
    for (const char *name : {"TA_BASELINE", "TA_TOP", "TA_BOTTOM"}) {
        char text[32] = {};
        SendDlgItemMessageA(dialog.hwnd(), cmb1, CB_GETLBTEXT, row++, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, name);
    }
}

TEST(OpenedDialog, LaidOutInDialogUnitsOfItsOwnFont)
{
    // 386 x 259 dialog units in Tahoma at 9 points: a unit is 7/4 pixels wide and 14/8 high.
    Dialog dialog;
    RECT client = {};
    GetClientRect(dialog.hwnd(), &client);
    EXPECT_EQ(std::tuple(client.right, client.bottom), std::tuple(676, 453));
    RECT animate = {};
    GetWindowRect(GetDlgItem(dialog.hwnd(), chx5), &animate);
    MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT *>(&animate), 2);
    EXPECT_EQ(std::tuple(animate.left, animate.top, animate.bottom - animate.top), std::tuple(175, 429, 26));
}

// ---- Repaints ----

struct RepaintCase {
    const char *name;
    int id;
    UINT code;
    bool repaints;
};

class CommandRepaint : public ::testing::TestWithParam<RepaintCase> {};

TEST_P(CommandRepaint, RepaintsOnlyForItsOwnNotification)
{
    Dialog dialog;
    dialog.SetCheckQuietly(chx3, false);
    dialog.ShowAndValidate();
    ASSERT_FALSE(dialog.RepaintPending());

    dialog.SendCommand(GetParam().id, GetParam().code);
    EXPECT_EQ(dialog.RepaintPending(), GetParam().repaints);
}

INSTANTIATE_TEST_SUITE_P(EveryRow, CommandRepaint,
                         ::testing::Values(RepaintCase{"AdvancedClicked", chx1, BN_CLICKED, true},
                                           RepaintCase{"AdvancedDoubleClicked", chx1, BN_DOUBLECLICKED,
                                                       false},
                                           RepaintCase{"AlignmentConfirmed", cmb1, CBN_SELENDOK, true},
                                           RepaintCase{"AlignmentSelChange", cmb1, CBN_SELCHANGE, false},
                                           RepaintCase{"AlignmentDropDown", cmb1, CBN_DROPDOWN, false},
                                           RepaintCase{"AlignmentCancelled", cmb1, CBN_SELENDCANCEL, false},
                                           RepaintCase{"EscapementChanged", edt1, EN_CHANGE, true},
                                           RepaintCase{"OrientationChanged", edt2, EN_CHANGE, true},
                                           RepaintCase{"EscapementUpdated", edt1, EN_UPDATE, false},
                                           RepaintCase{"OrientationFocused", edt2, EN_SETFOCUS, false},
                                           RepaintCase{"UnknownControl", 1234, BN_CLICKED, false},
                                           RepaintCase{"Label", 0xFFFF, 0, false}),
                         RowName<RepaintCase>);

TEST(Commands, NotificationsThatAreNotReactedToLeaveTheAnglesAlone)
{
    Dialog dialog;
    dialog.SetAnglesUncoupled("100", "200");
    for (const auto &[id, code] :
         {std::pair{edt1, EN_UPDATE}, {edt2, EN_KILLFOCUS}, {chx3, BN_DOUBLECLICKED}, {chx4, BN_SETFOCUS}}) {
        dialog.SendCommand(id, static_cast<UINT>(code));
    }
    EXPECT_EQ(dialog.Text(edt1), "100");
    EXPECT_EQ(dialog.Text(edt2), "200");
    EXPECT_TRUE(dialog.Enabled(chx5)) << "no animation started";
    EXPECT_FALSE(KillTimer(dialog.hwnd(), kEscapementTimer));
}

// ---- The "==" coupling ----

// Clicking "==" sends the escapement to the orientation, whichever way it turns the box.
struct EqualsClick {
    const char *name;
    bool checkedBefore;
    const char *escapement;
    const char *orientation;
    bool repaints; // only when the orientation changes
};

class ClickOnEquals : public ::testing::TestWithParam<EqualsClick> {};

TEST_P(ClickOnEquals, SendsTheEscapementToTheOrientation)
{
    Dialog dialog;
    dialog.SetCheckQuietly(chx3, GetParam().checkedBefore);
    dialog.SetAnglesUncoupled(GetParam().escapement, GetParam().orientation);
    dialog.ShowAndValidate();
    dialog.Click(chx3);
    EXPECT_EQ(dialog.Checked(chx3), !GetParam().checkedBefore);
    EXPECT_EQ(dialog.Text(edt1), GetParam().escapement);
    EXPECT_EQ(dialog.Text(edt2), GetParam().escapement);
    EXPECT_EQ(dialog.RepaintPending(), GetParam().repaints);
}

INSTANTIATE_TEST_SUITE_P(Table, ClickOnEquals,
                         ::testing::Values(EqualsClick{"Checking", false, "250", "-40", true},
                                           EqualsClick{"Unchecking", true, "250", "-40", true},
                                           EqualsClick{"SameAngles", true, "70", "70", false}),
                         RowName<EqualsClick>);

// With "==" checked, a text typed into one field reaches the other as a number within the
// up-downs' limits, and comes back once to rewrite the first field if the partner changed.
struct Typed {
    const char *name;
    const char *escapementBefore;
    const char *orientationBefore;
    int field;
    const char *text;
    const char *escapementAfter;
    const char *orientationAfter;
    std::vector<int> changes; // the fields announcing a change, in order
};

class CoupledTyping : public ::testing::TestWithParam<Typed> {};

TEST_P(CoupledTyping, ReachesThePartnerAndEchoesOnce)
{
    Dialog dialog;
    dialog.SetAnglesUncoupled(GetParam().escapementBefore, GetParam().orientationBefore);
    Log().Clear();
    dialog.SetText(GetParam().field, GetParam().text);
    EXPECT_EQ(dialog.Text(edt1), GetParam().escapementAfter);
    EXPECT_EQ(dialog.Text(edt2), GetParam().orientationAfter);
    EXPECT_EQ(Log().ChangedFields(), GetParam().changes);
    EXPECT_EQ(Log().deepestNesting, static_cast<int>(GetParam().changes.size()))
        << "each change nests in the last";
}

// The up-down only takes 16 bits: unclamped, 65636 would arrive as 100 and 32768 as -32768.
INSTANTIATE_TEST_SUITE_P(
    Table, CoupledTyping,
    ::testing::Values(
        Typed{"Escapement", "0", "0", edt1, "25", "25", "25", {edt1, edt2}},
        Typed{"Orientation", "0", "0", edt2, "-1799", "-1799", "-1799", {edt2, edt1}},
        Typed{"UpperLimit", "0", "0", edt1, "3600", "3600", "3600", {edt1, edt2}},
        Typed{"BeyondTheLimit", "0", "0", edt1, "5000", "3600", "3600", {edt1, edt2, edt1}},
        Typed{"SixteenBitsPlus100", "0", "0", edt1, "65636", "3600", "3600", {edt1, edt2, edt1}},
        Typed{"SixteenBitSign", "0", "0", edt1, "32768", "3600", "3600", {edt1, edt2, edt1}},
        Typed{"BelowTheLimit", "0", "0", edt1, "-70000", "-3600", "-3600", {edt1, edt2, edt1}},
        Typed{"SixteenBitsMinus100", "0", "0", edt1, "-65436", "-3600", "-3600", {edt1, edt2, edt1}},
        Typed{"LoneMinusIsRewritten", "15", "15", edt1, "-", "0", "0", {edt1, edt2, edt1}},
        Typed{"LeadingZerosAreRewritten", "0", "0", edt2, "0007", "7", "7", {edt2, edt1, edt2}},
        // The partner already shows 0, so nothing comes back to rewrite the field.
        Typed{"EmptyKeptWhenPartnerShowsZero", "0", "0", edt1, "", "", "0", {edt1}},
        Typed{"LettersRewrittenWhenPartnerChanged", "", "0", edt2, "abc", "0", "0", {edt2, edt1, edt2}}),
    RowName<Typed>);

// ---- Animations ----

TEST(Animation, CheckingOneAnimateBoxLocksTheOtherUntilUnchecked)
{
    Dialog dialog;
    const struct {
        int box, other;
        UINT_PTR timer;
    } axes[] = {{chx4, chx5, kEscapementTimer}, {chx5, chx4, kOrientationTimer}};
    for (const auto &axis : axes) {
        SCOPED_TRACE(axis.box);
        dialog.Click(axis.box);
        EXPECT_TRUE(dialog.Checked(axis.box));
        EXPECT_FALSE(dialog.Enabled(axis.other));
        EXPECT_TRUE(dialog.Enabled(axis.box));

        dialog.Click(axis.box);
        EXPECT_FALSE(dialog.Checked(axis.box));
        EXPECT_TRUE(dialog.Enabled(axis.other));
        EXPECT_FALSE(KillTimer(dialog.hwnd(), axis.timer)) << "unchecking stopped the timer";
    }
}

// Ticks the timer and expects the field to turn from 0 in steps of 3 degrees, round and round.
void ExpectTurnFromZero(const Dialog &dialog, UINT_PTR timer, int field, int ticks)
{
    std::vector<int> angles;
    std::vector<int> expected;
    for (int i = 0; i < ticks; ++i) {
        dialog.Tick(timer);
        angles.push_back(dialog.Angle(field));
        expected.push_back((i % 120) * 30);
    }
    EXPECT_EQ(angles, expected) << "timer " << timer;
}

// Either animation, coupled or not: the ticks turn its angle from 0 in steps of 3 degrees round
// and round, and the other angle follows only when coupled.
struct Turn {
    const char *name;
    bool coupled;
    int box;
    UINT_PTR timer;
    int animated, other;
    int ticks;
};

class Animating : public ::testing::TestWithParam<Turn> {};

TEST_P(Animating, TicksTurnTheAngleAndTheOtherFollowsOnlyWhenCoupled)
{
    const Turn &turn = GetParam();
    Dialog dialog;
    dialog.SetCheckQuietly(chx3, turn.coupled);
    dialog.SetText(turn.other, "-55");
    dialog.Click(turn.box);
    ExpectTurnFromZero(dialog, turn.timer, turn.animated, turn.ticks);
    EXPECT_EQ(dialog.Text(turn.other), turn.coupled ? dialog.Text(turn.animated) : "-55");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Animating,
    ::testing::Values(Turn{"EscapementCoupledPastOneTurn", true, chx4, kEscapementTimer, edt1, edt2, 250},
                      Turn{"OrientationCoupled", true, chx5, kOrientationTimer, edt2, edt1, 8},
                      Turn{"EscapementAlone", false, chx4, kEscapementTimer, edt1, edt2, 5},
                      Turn{"OrientationAlonePastOneTurn", false, chx5, kOrientationTimer, edt2, edt1, 130}),
    RowName<Turn>);

TEST(Animation, CoupledTickSetsOrientationEvenWhenEscapementAlreadyShowsTheAngle)
{
    Dialog dialog;
    dialog.SetAnglesUncoupled("0", "99");
    dialog.Click(chx5);
    dialog.Tick(kOrientationTimer);
    EXPECT_EQ(dialog.Text(edt1), "0");
    EXPECT_EQ(dialog.Text(edt2), "0");
}

TEST(Animation, RestartBeginsAgainAtZero)
{
    Dialog dialog;
    dialog.Click(chx4);
    ExpectTurnFromZero(dialog, kEscapementTimer, edt1, 7);
    EXPECT_EQ(dialog.Text(edt1), "180");
    dialog.Click(chx4);
    EXPECT_EQ(dialog.Text(edt1), "180") << "stopping keeps the angle";
    dialog.Click(chx4);
    ExpectTurnFromZero(dialog, kEscapementTimer, edt1, 3);

    // The counter is shared: starting the other axis starts it from zero too.
    dialog.Click(chx4);
    dialog.Click(chx3);
    dialog.Click(chx5);
    ExpectTurnFromZero(dialog, kOrientationTimer, edt2, 2);
}

TEST(Animation, TypingIntoTheAnimatedFieldIsOverwrittenAtTheNextTick)
{
    Dialog dialog;
    dialog.Click(chx4);
    ExpectTurnFromZero(dialog, kEscapementTimer, edt1, 4);
    dialog.SetText(edt1, "2222");
    dialog.Tick(kEscapementTimer);
    EXPECT_EQ(dialog.Text(edt1), "120");
}

TEST(Animation, ForeignTimerChangesNothing)
{
    Dialog dialog;
    dialog.Click(chx4);
    ExpectTurnFromZero(dialog, kEscapementTimer, edt1, 3);
    dialog.ShowAndValidate();
    dialog.Tick(777);
    dialog.Tick(0);
    EXPECT_EQ(dialog.Text(edt1), "60");
    EXPECT_FALSE(dialog.RepaintPending());
    dialog.Tick(kEscapementTimer);
    EXPECT_EQ(dialog.Text(edt1), "90") << "the step counter kept its value";
}

TEST(Animation, TickRequestsRepaint)
{
    Dialog dialog;
    dialog.Click(chx4);
    dialog.Tick(kEscapementTimer); // 0 into an empty field
    dialog.SetAnglesUncoupled("30", "30");
    dialog.ShowAndValidate();
    dialog.Tick(kEscapementTimer); // 30 again: no field changes, the tick itself repaints
    EXPECT_TRUE(dialog.RepaintPending());
}

// ---- The ways the dialog ends ----

// Runs the dialog modally; once it is up, its focused control gets the key, or the dialog the
// system command.
struct Ending {
    const char *name;
    UINT message;
    WPARAM wParam;
    INT_PTR result;
};

const Ending *g_ending = nullptr;
bool g_firstFieldFocused = false;
constexpr UINT kActNow = WM_APP + 1;

INT_PTR CALLBACK EndingDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        PostMessageA(hwnd, kActNow, 0, 0); // arrives once the modal loop runs
    }
    if (msg == kActNow) {
        g_firstFieldFocused = GetFocus() != nullptr && GetFocus() == GetDlgItem(hwnd, edt1);
        HWND target = g_ending->message == WM_KEYDOWN ? GetFocus() : hwnd;
        PostMessageA(target, g_ending->message, g_ending->wParam, 0);
        return TRUE;
    }
    return DialogProc(hwnd, msg, wParam, lParam);
}

class DialogEnds : public ::testing::TestWithParam<Ending> {};

TEST_P(DialogEnds, WithItsCommandAndAQuitRequest)
{
    g_ending = &GetParam();
    const INT_PTR result = driving::RunModal(EndingDialogProc);
    EXPECT_EQ(result, GetParam().result);
    EXPECT_TRUE(g_firstFieldFocused) << "the escapement field has the focus";

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryWay, DialogEnds,
                         ::testing::Values(Ending{"Escape", WM_KEYDOWN, VK_ESCAPE, IDCANCEL},
                                           Ending{"Enter", WM_KEYDOWN, VK_RETURN, IDOK},
                                           Ending{"CloseButton", WM_SYSCOMMAND, SC_CLOSE, IDCANCEL},
                                           Ending{"CloseRequest", WM_CLOSE, 0, IDCANCEL}),
                         RowName<Ending>);

// ---- What the dialog leaves alone ----

TEST(LeftAlone, TheEraseKeepsTheBackgroundForThePaint)
{
    // The paint covers every pixel; a background erased first would only flicker.
    Dialog dialog;
    constexpr int kSide = 8;
    const scene::DibCanvas canvas(kSide, kSide);
    const RECT all = {0, 0, kSide, kSide};
    HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(canvas.dc(), &all, marker);
    DeleteObject(marker);
    SendMessageA(dialog.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    EXPECT_EQ(canvas.Pixels(), std::vector<std::uint32_t>(kSide * kSide, 0x010203u));
}

TEST(LeftAlone, ResizingMovesNoControlAndChangesNoAngle)
{
    Dialog dialog;
    dialog.SetAnglesUncoupled("450", "900");
    RECT before = {};
    GetWindowRect(dialog.Item(chx5), &before);
    SetWindowPos(dialog.hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after = {};
    GetWindowRect(dialog.Item(chx5), &after);
    EXPECT_TRUE(EqualRect(&before, &after) != FALSE);
    EXPECT_EQ(dialog.Text(edt1) + " " + dialog.Text(edt2), "450 900");
}

TEST(LeftAlone, APointerOverTheSceneRequestsNoRepaint)
{
    Dialog dialog;
    dialog.ShowAndValidate();
    SendMessageA(dialog.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(scene::kReferenceX, scene::kReferenceY));
    EXPECT_FALSE(dialog.RepaintPending());
    EXPECT_EQ(dialog.Text(edt1), "");
}

} // namespace
