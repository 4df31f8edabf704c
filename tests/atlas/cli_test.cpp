// The command line: every mistake gives one line saying what is wrong, the usage, and exit code 2;
// --help lists every command with an example.
#include "atlas_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Mistake {
    const char *arguments;
    const char *message; // what the first line must say
};

const Mistake kMistakes[] = {
    {"", "A subcommand is required"},
    {"paint out.png", "unknown command 'paint'"},
    {"render", "output is required"},
    {"render out.png -e 4.5", "--escapement: '4.5' is not a whole number"},
    {"render out.png -o 90deg", "--orientation: '90deg' is not a whole number"},
    {"sheet out.png --escapements 0,x,900", "--escapements: 'x' is not a whole number"},
    {"render out.png --mode fancy", "--mode: 'fancy' is not one of advanced, compatible"},
    {"render out.png --align middle", "--align: 'middle' is not one of baseline, bottom, top"},
    {"sweep frames --angle tilt", "--angle"},
    {"sweep frames --step 0", "--step must be positive"},
    {"sweep", "sweep needs a folder"},
    {"render out.png --shade 3", "--shade"},
    {"render no-such-folder/deeper/out.png", "cannot write no-such-folder/deeper/out.png"},
    {"metrics --output no-such-folder/deeper/m.json", "cannot write no-such-folder/deeper/m.json"},
};

std::string Read(const std::string &path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(AtlasCommandLine, MistakesExitWithTwoAndOneLineAndTheUsage)
{
    for (const Mistake &mistake : kMistakes) {
        SCOPED_TRACE(mistake.arguments);
        const std::string errors = atlas_test::TempPath("errors.txt");
        EXPECT_EQ(atlas_test::RunTool(mistake.arguments, errors), 2);
        const std::string text = Read(errors);
        const std::string first = text.substr(0, text.find('\n'));
        EXPECT_EQ(first.rfind("slantglyph-atlas: ", 0), 0u) << text;
        EXPECT_NE(first.find(mistake.message), std::string::npos) << text;
        EXPECT_NE(text.find("\nUsage: slantglyph-atlas"), std::string::npos) << text;
    }
}

TEST(AtlasCommandLine, HelpListsEveryCommandWithAnExample)
{
    const std::string help = atlas_test::TempPath("help.txt");
    ASSERT_EQ(atlas_test::RunTool("--help > \"" + help + "\""), 0);
    const std::string text = Read(help);
    for (const char *command : {"render", "sweep", "sheet", "metrics", "compare"}) {
        EXPECT_NE(text.find(std::string("\n") + command + "\n"), std::string::npos) << command;
        EXPECT_NE(text.find(std::string("slantglyph-atlas ") + command + " "), std::string::npos)
            << "no example of " << command;
    }
    // Every command's options, as the manual page takes them from here.
    for (const char *option : {"--escapement", "--orientation", "--mode", "--align", "--overlay", "--angle",
                               "--step", "--animation", "--escapements", "--orientations", "--frames",
                               "--json", "--output", "--windows-exe", "--wine", "--faults", "--version"}) {
        EXPECT_NE(text.find(std::string(option) + " "), std::string::npos) << option;
    }
}

} // namespace
