// conformance: plays input scripts on the program's dialog and logs its state after each step
// (run), or compares the logs of two platforms (compare).
//   conformance run [--out FILE] [--random|--buttons|--menus FIRST COUNT STEPS] [SCRIPT...]
//     (random scripts: keys and the left button; all buttons and the wheel too; and menus)
//   conformance compare NATIVE_LOG WINE_LOG [--accepted FILE]
#include "compare.h"
#include "driver.h"
#include "script.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char *kUsage =
    "usage: conformance run [--out FILE] [--random|--buttons|--menus FIRST COUNT STEPS] [SCRIPT...]\n"
    "       conformance compare NATIVE_LOG WINE_LOG [--accepted FILE]\n";

int Usage(const std::string &problem)
{
    std::cerr << "conformance: " << problem << "\n" << kUsage;
    return 2;
}

std::string BaseName(const std::string &path)
{
    const size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.rfind('.'));
}

bool ReadNumber(const char *text, unsigned long long &number)
{
    char *end = nullptr;
    number = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

int Run(const std::vector<std::string> &args)
{
    std::vector<conformance::Script> scripts;
    std::string out;
    for (size_t index = 0; index < args.size(); ++index) {
        if (args[index] == "--out" && index + 1 < args.size()) {
            out = args[++index];
        } else if ((args[index] == "--random" || args[index] == "--buttons" || args[index] == "--menus") &&
                   index + 3 < args.size()) {
            const conformance::Vocabulary vocabulary =
                args[index] == "--random"    ? conformance::Vocabulary::KeysAndLeftButton
                : args[index] == "--buttons" ? conformance::Vocabulary::AllButtonsAndWheel
                                             : conformance::Vocabulary::WithMenus;
            unsigned long long first = 0;
            unsigned long long count = 0;
            unsigned long long steps = 0;
            if (!ReadNumber(args[index + 1].c_str(), first) || !ReadNumber(args[index + 2].c_str(), count) ||
                !ReadNumber(args[index + 3].c_str(), steps)) {
                return Usage(args[index] + " takes three numbers");
            }
            for (unsigned long long seed = first; seed < first + count; ++seed) {
                scripts.push_back(conformance::RandomScript(seed, static_cast<int>(steps), vocabulary));
            }
            index += 3;
        } else if (args[index].rfind("--", 0) == 0) {
            return Usage("unknown option " + args[index]);
        } else {
            std::ifstream file(args[index]);
            if (!file) {
                return Usage("cannot read " + args[index]);
            }
            std::stringstream text;
            text << file.rdbuf();
            std::string error;
            if (!conformance::ParseScripts(BaseName(args[index]), text.str(), scripts, error)) {
                return Usage(error);
            }
        }
    }
    std::ofstream file;
    if (!out.empty()) {
        file.open(out);
        if (!file) {
            return Usage("cannot write " + out);
        }
    }
    std::ostream &log = out.empty() ? std::cout : file;
    bool opened = true;
    for (const conformance::Script &script : scripts) {
        opened = conformance::RunScript(script, log) && opened;
        log.flush();
    }
    return opened ? 0 : 1;
}

int CompareLogs(const std::vector<std::string> &args)
{
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--accepted")) {
        return Usage("compare takes two logs and an optional --accepted FILE");
    }
    std::ifstream native(args[0]);
    std::ifstream wine(args[1]);
    std::ifstream accepted;
    if (args.size() == 4) {
        accepted.open(args[3]);
        if (!accepted) {
            return Usage("cannot read " + args[3]);
        }
    }
    if (!native || !wine) {
        return Usage("cannot read " + (native ? args[1] : args[0]));
    }
    return conformance::Compare(native, wine, args.size() == 4 ? &accepted : nullptr, std::cout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run") {
        return Run(args);
    }
    if (command == "compare") {
        return CompareLogs(args);
    }
    return Usage(command.empty() ? "no command" : "unknown command " + command);
}
