// The conformance tools' own logic: scripts read and made from seeds, and logs compared with only
// the accepted differences let through.
#include "compare.h"
#include "script.h"

#include <gtest/gtest.h>

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

TEST(ConformanceScript, ASeedAlwaysGivesTheSameScript)
{
    const conformance::Script first = conformance::RandomScript(7, 40);
    EXPECT_EQ(first.name, "random-7");
    EXPECT_EQ(first.steps.size(), 40U);
    EXPECT_EQ(Lines(first), Lines(conformance::RandomScript(7, 40)));
    EXPECT_NE(Lines(first), Lines(conformance::RandomScript(8, 40)));
    for (const conformance::Step &step : first.steps) {
        EXPECT_FALSE(step.phases.empty()) << step.text << " reads as no action";
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
               {"wait 5 6\n", "file:1: unexpected"}};
    for (const auto &input : bad) {
        EXPECT_FALSE(conformance::ParseScripts("file", input.text, scripts, error)) << input.text;
        EXPECT_EQ(error.rfind(input.error, 0), 0U) << error;
    }
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
