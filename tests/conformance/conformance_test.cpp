// The conformance tools' own logic: scripts read and made from seeds, and logs compared with only
// the accepted differences let through.
#include "compare.h"
#include "script.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const conformance::Script &script)
{
    std::vector<std::string> lines;
    for (const conformance::Step &step : script.steps) {
        lines.push_back(step.text);
    }
    return lines;
}

// A script as the script files hold it.
std::string Text(const conformance::Script &script)
{
    std::string text = "script " + script.name + "\n";
    for (const conformance::Step &step : script.steps) {
        text += step.text + "\n";
    }
    return text;
}

// The golden file pins what each seed draws, so that a change to the generator, or a compiler
// whose library draws differently, shows here and not as a Wine comparison that parts for no
// reason the scripts can tell.
TEST(ConformanceScript, SeedsDrawTheScriptsTheGoldenFileHolds)
{
    std::ifstream file(CONFORMANCE_GOLDEN_FILE);
    ASSERT_TRUE(file) << CONFORMANCE_GOLDEN_FILE;
    std::stringstream contents;
    contents << file.rdbuf();
    std::vector<conformance::Script> golden;
    std::string error;
    ASSERT_TRUE(conformance::ParseScripts("golden", contents.str(), golden, error)) << error;

    const struct {
        const char *family;
        conformance::Vocabulary vocabulary;
    } families[] = {{"random-", conformance::Vocabulary::KeysAndLeftButton},
                    {"buttons-", conformance::Vocabulary::AllButtonsAndWheel},
                    {"menus-", conformance::Vocabulary::WithMenus}};
    for (const auto &family : families) {
        int pinned = 0;
        for (const conformance::Script &script : golden) {
            if (script.name.rfind(family.family, 0) != 0) {
                continue;
            }
            const std::uint64_t seed = std::stoull(script.name.substr(std::strlen(family.family)));
            const conformance::Script drawn =
                conformance::RandomScript(seed, static_cast<int>(script.steps.size()), family.vocabulary);
            EXPECT_EQ(Text(drawn), Text(script)) << "the seed now draws the script above";
            for (const conformance::Step &step : drawn.steps) {
                EXPECT_FALSE(step.phases.empty()) << step.text << " reads as no action";
            }
            ++pinned;
        }
        EXPECT_GT(pinned, 0) << "no " << family.family << " script in the golden file";
    }
}

TEST(ConformanceScript, AFileHoldsNamedScriptsAndItsErrorsNameTheLine)
{
    std::vector<conformance::Script> scripts;
    std::string error;
    ASSERT_TRUE(conformance::ParseScripts("file",
                                          "# comment\nscript one\nkey Shift+Tab\nhold scr1.up@0,-2 3\n"
                                          "\nscript two\ntype -5 x\ndrag cmb1 outside\n",
                                          scripts, error))
        << error;
    ASSERT_EQ(scripts.size(), 2U);
    EXPECT_EQ(scripts[0].name, "one");
    EXPECT_EQ(Lines(scripts[1]), (std::vector<std::string>{"type -5 x", "drag cmb1 outside"}));
    const conformance::Phase &hold = scripts[0].steps[1].phases[0];
    EXPECT_EQ(hold.place.target, "scr1.up");
    EXPECT_EQ(hold.place.dy, -2);
    EXPECT_EQ(scripts[1].steps[0].phases[0].keys.size(), 4U) << "one keystroke a character";

    scripts.clear();
    ASSERT_TRUE(conformance::ParseScripts("plain", "key Tab\n", scripts, error));
    EXPECT_EQ(scripts.at(0).name, "plain") << "a file without script lines is one script, named for it";

    const struct {
        const char *text;
        const char *error;
    } bad[] = {{"key Tab\nkey Hyper+Q\n", "file:2: unknown key"},
               {"type ~\n", "file:1: cannot type"},
               {"hold edt1\n", "file:1: cannot read"},
               {"wait 5 6\n", "file:1: unexpected"},
               {"click edt1 sideways\n", "file:1: cannot read"},
               {"wheel 0\n", "file:1: cannot read"},
               {"wheel 2 0\n", "file:1: cannot read"},
               {"hwheel 1 x\n", "file:1: cannot read"}};
    for (const auto &input : bad) {
        EXPECT_FALSE(conformance::ParseScripts("file", input.text, scripts, error)) << input.text;
        EXPECT_EQ(error.rfind(input.error, 0), 0U) << error;
    }
}

// The buttons and the wheel: each step's phases as kinds, buttons and turns.
TEST(ConformanceScript, ButtonsAndTheWheelReadAsTheirPhases)
{
    using Kind = conformance::Phase::Kind;
    using conformance::Button;
    const struct {
        const char *line;
        std::vector<Kind> kinds;
        Button button;
        int count;
        int amount;
        bool horizontal;
    } rows[] = {
        {"click edt1", {Kind::Move, Kind::Press, Kind::Release}, Button::Left, 0, 0, false},
        {"click edt1 right", {Kind::Move, Kind::Press, Kind::Release}, Button::Right, 0, 0, false},
        {"release outside middle", {Kind::Move, Kind::Release}, Button::Middle, 0, 0, false},
        {"dclick cmb1 middle", {Kind::Move, Kind::Clicks}, Button::Middle, 0, 0, false},
        {"wheel 40", {Kind::Wheel}, Button::Left, 40, WHEEL_DELTA, false},
        {"wheel -3 40", {Kind::Wheel}, Button::Left, 3, -40, false},
        {"hwheel 2", {Kind::Wheel}, Button::Left, 2, WHEEL_DELTA, true},
    };
    for (const auto &row : rows) {
        conformance::Step step;
        std::string error;
        ASSERT_TRUE(conformance::ParseStep(row.line, step, error)) << row.line << ": " << error;
        std::vector<Kind> kinds;
        for (const conformance::Phase &phase : step.phases) {
            kinds.push_back(phase.kind);
            if (phase.kind == Kind::Press || phase.kind == Kind::Release || phase.kind == Kind::Clicks) {
                EXPECT_EQ(phase.button, row.button) << row.line;
            }
        }
        EXPECT_EQ(kinds, row.kinds) << row.line;
        const conformance::Phase &last = step.phases.back();
        if (last.kind == Kind::Wheel) {
            EXPECT_EQ(last.count, row.count) << row.line;
            EXPECT_EQ(last.amount, row.amount) << row.line;
            EXPECT_EQ(last.horizontal, row.horizontal) << row.line;
        }
    }
}

// Each vocabulary of random scripts draws its own steps, and the narrower ones never the wider's:
// without menus, no step opens one under Wine (a right click in a field, the menu keys).
TEST(ConformanceScript, RandomScriptsDrawOnlyTheirVocabulary)
{
    using conformance::Vocabulary;
    // How many of 40 scripts' lines start with `start` and end with `end`.
    const auto drawn = [](Vocabulary vocabulary, const std::string &start, const std::string &end) {
        int count = 0;
        for (std::uint64_t seed = 1; seed <= 40; ++seed) {
            for (const std::string &line : Lines(conformance::RandomScript(seed, 30, vocabulary))) {
                const bool ends =
                    line.size() >= end.size() && line.compare(line.size() - end.size(), end.size(), end) == 0;
                count += line.rfind(start, 0) == 0 && ends ? 1 : 0;
            }
        }
        return count;
    };
    const std::pair<const char *, const char *> wider[] = {
        {"wheel ", ""}, {"hwheel ", ""}, {"click ", " right"}, {"click ", " middle"}, {"dclick ", ""}};
    for (const auto &[start, end] : wider) {
        EXPECT_EQ(drawn(Vocabulary::KeysAndLeftButton, start, end), 0) << start << end;
        EXPECT_GT(drawn(Vocabulary::AllButtonsAndWheel, start, end), 0) << start << end;
    }
    const std::pair<const char *, const char *> menuSteps[] = {
        {"click edt", " right"}, {"key Shift+F10", ""}, {"key Apps", ""}, {"key F10", ""}, {"key Alt ", ""}};
    for (const auto &[start, end] : menuSteps) {
        EXPECT_EQ(drawn(Vocabulary::AllButtonsAndWheel, start, end), 0) << start << end;
        EXPECT_GT(drawn(Vocabulary::WithMenus, start, end), 0) << start << end;
    }
    EXPECT_EQ(conformance::RandomScript(3, 5, Vocabulary::AllButtonsAndWheel).name, "buttons-3");
}

const char kNative[] = "script s\nstep 0 open\n  focus edt1\n  messages A\nstep 1 key Tab\n  focus edt2\n"
                       "  messages B\nstep 2 key Tab\n  focus chx1\n  messages C\n";

int Compare(const std::string &wine, const std::string &accepted, std::string *report = nullptr)
{
    std::istringstream native(kNative);
    std::istringstream theirs(wine);
    std::istringstream allowed(accepted);
    std::ostringstream out;
    const int parted = conformance::Compare(native, theirs, &allowed, out);
    if (report != nullptr) {
        *report = out.str();
    }
    return parted;
}

TEST(ConformanceCompare, OnlyTheAcceptedFieldOfTheAcceptedStepMayDiffer)
{
    const std::string differentMessages =
        std::string(kNative).replace(std::string(kNative).find('B'), 1, "X");
    const std::string differentFocusLater =
        std::string(kNative).replace(std::string(kNative).find("chx1"), 4, "cmb1");
    const struct {
        std::string wine;
        std::string accepted;
        int parted;
    } cases[] = {
        {kNative, "", 0},
        {differentMessages, "", 1},
        {differentMessages, "s 1 messages reason", 0},
        // The difference parts the script, and the accepted one that does not show counts too.
        {differentMessages, "s 1 focus reason", 2},
        {differentMessages, "s 2 messages reason", 2},
        {differentMessages, "other 1 messages reason", 1},
        {differentMessages + differentFocusLater.substr(differentFocusLater.find("step 2")), "s 1 * reason",
         0},
        {differentFocusLater, "s 1 * reason", 0},
        {"script s\nstep 0 open\n  focus edt1\n  messages A\n", "", 1},
        // An accepted difference that no longer shows fails too: Wine has mended it.
        {kNative, "s 1 messages reason", 1},
        {kNative, "s 1 * reason", 1},
        {differentMessages, "s 1 messages reason\ns 2 focus reason", 1},
        {kNative, "other 1 * reason", 0},
        {kNative, "s ~1 * reason", 0},
        {differentMessages, "s ~1 messages reason", 0},
        {"", "", 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Compare(c.wine, c.accepted), c.parted) << c.wine << "\naccepted: " << c.accepted;
    }

    std::string report;
    Compare(differentMessages, "", &report);
    EXPECT_NE(report.find("script s parts at step 1 key Tab"), std::string::npos) << report;
    EXPECT_NE(report.find("native: B"), std::string::npos) << report;
    EXPECT_NE(report.find("wine:   X"), std::string::npos) << report;
    Compare(kNative, "s 1 * reason", &report);
    EXPECT_NE(report.find("accepted difference s 1 * no longer shows"), std::string::npos) << report;
}

} // namespace
