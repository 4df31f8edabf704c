#include "compare.h"

#include <algorithm>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace conformance {

namespace {

// A step's state: its fields in the order logged, each with the rest of its line.
struct StepState {
    std::string heading;
    std::vector<std::pair<std::string, std::string>> fields;

    std::string Field(const std::string &name) const
    {
        for (const auto &[key, value] : fields) {
            if (key == name) {
                return value;
            }
        }
        return "(absent)";
    }
};

struct Log {
    std::vector<std::string> order;
    std::map<std::string, std::vector<StepState>> scripts;
};

Log ReadLog(std::istream &in)
{
    Log log;
    std::vector<StepState> *steps = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back(); // written in text mode on Windows
        }
        if (line.rfind("script ", 0) == 0) {
            const std::string name = line.substr(7);
            log.order.push_back(name);
            steps = &log.scripts[name];
        } else if (line.rfind("step ", 0) == 0 && steps != nullptr) {
            steps->push_back({line.substr(5), {}});
        } else if (line.rfind("  ", 0) == 0 && steps != nullptr && !steps->empty()) {
            const size_t space = line.find(' ', 2);
            const std::string key =
                line.substr(2, space == std::string::npos ? std::string::npos : space - 2);
            steps->back().fields.emplace_back(key, space == std::string::npos ? "" : line.substr(space + 1));
        } else if (steps != nullptr && !line.empty()) {
            steps->push_back({line, {}}); // a line of its own, such as a dialog that did not open
        }
    }
    return log;
}

using Key = std::tuple<std::string, std::string, std::string>; // script, step number, field

// A step written "~N" shows its difference only when Wine is quick enough (a timer of Wine's still
// running when the next input comes): it is accepted, but its not showing fails nothing.
std::set<Key> ReadAccepted(std::istream *in, std::set<Key> &timingDependent)
{
    std::set<Key> accepted;
    std::string line;
    while (in != nullptr && std::getline(*in, line)) {
        std::istringstream words(line);
        std::string script;
        std::string step;
        std::string field;
        std::string reason;
        if (words >> script >> step >> field >> reason && script[0] != '#') {
            const bool timing = step[0] == '~';
            const Key key = {script, timing ? step.substr(1) : step, field};
            accepted.insert(key);
            if (timing) {
                timingDependent.insert(key);
            }
        }
    }
    return accepted;
}

std::string StepNumber(const StepState &step)
{
    return step.heading.substr(0, step.heading.find(' '));
}

std::vector<std::string> FieldNames(const StepState &a, const StepState &b)
{
    std::vector<std::string> names;
    for (const auto *step : {&a, &b}) {
        for (const auto &field : step->fields) {
            if (std::find(names.begin(), names.end(), field.first) == names.end()) {
                names.push_back(field.first);
            }
        }
    }
    return names;
}

void SideBySide(const std::string &script, const StepState &native, const StepState &wine,
                std::ostream &report)
{
    report << "script " << script << " parts at step " << native.heading << "\n";
    if (native.heading != wine.heading) {
        report << "  (under Wine the step is " << wine.heading << ")\n";
    }
    for (const std::string &name : FieldNames(native, wine)) {
        const std::string ours = native.Field(name);
        const std::string theirs = wine.Field(name);
        report << (ours == theirs ? "    " : "  ! ") << name << "\n";
        report << "      native: " << ours << "\n";
        if (ours != theirs) {
            report << "      wine:   " << theirs << "\n";
        }
    }
    report << "\n";
}

constexpr int kAgree = -1;

// Whether the two logs of a script differ at step `index` or after it.
bool DifferFrom(size_t index, const std::vector<StepState> &native, const std::vector<StepState> &wine)
{
    if (native.size() != wine.size()) {
        return true;
    }
    for (; index < native.size(); ++index) {
        if (native[index].heading != wine[index].heading) {
            return true;
        }
        for (const std::string &name : FieldNames(native[index], wine[index])) {
            if (native[index].Field(name) != wine[index].Field(name)) {
                return true;
            }
        }
    }
    return false;
}

// The first step where the two differ in a way not accepted, or kAgree. `acceptedSteps` counts the
// steps whose differences the accepted list allowed; `shown` gathers the accepted differences seen.
int FirstParting(const std::string &script, const std::vector<StepState> &native,
                 const std::vector<StepState> &wine, const std::set<Key> &accepted, int &acceptedSteps,
                 std::set<Key> &shown)
{
    const size_t steps = std::max(native.size(), wine.size());
    for (size_t index = 0; index < steps; ++index) {
        const Key whole = {script, index < native.size() ? StepNumber(native[index]) : "", "*"};
        if (index < native.size() && accepted.count(whole) != 0) {
            if (DifferFrom(index, native, wine)) {
                ++acceptedSteps;
                shown.insert(whole);
            }
            return kAgree; // a known fault after which the platforms cannot agree again
        }
        if (index >= native.size() || index >= wine.size() || native[index].heading != wine[index].heading) {
            return static_cast<int>(index);
        }
        bool differed = false;
        for (const std::string &name : FieldNames(native[index], wine[index])) {
            if (native[index].Field(name) == wine[index].Field(name)) {
                continue;
            }
            const Key key = {script, StepNumber(native[index]), name};
            if (accepted.count(key) == 0) {
                return static_cast<int>(index);
            }
            shown.insert(key);
            differed = true;
        }
        acceptedSteps += differed ? 1 : 0;
    }
    return kAgree;
}

// Accepted differences of the scripts compared that no longer show: Wine has mended the fault, or
// the script no longer reaches it. Each is reported; returns how many.
int NoLongerShown(const Log &native, const std::set<Key> &accepted, const std::set<Key> &shown,
                  std::ostream &report)
{
    int count = 0;
    for (const Key &key : accepted) {
        if (native.scripts.count(std::get<0>(key)) == 0 || shown.count(key) != 0) {
            continue;
        }
        report << "accepted difference " << std::get<0>(key) << " " << std::get<1>(key) << " "
               << std::get<2>(key)
               << " no longer shows: if Wine has mended it, remove it from the accepted list\n\n";
        ++count;
    }
    return count;
}

} // namespace

int Compare(std::istream &nativeIn, std::istream &wineIn, std::istream *acceptedIn, std::ostream &report)
{
    const Log native = ReadLog(nativeIn);
    const Log wine = ReadLog(wineIn);
    std::set<Key> timingDependent;
    const std::set<Key> accepted = ReadAccepted(acceptedIn, timingDependent);
    int parted = 0;
    int acceptedSteps = 0;
    std::set<Key> shown;
    size_t steps = 0;
    for (const std::string &script : native.order) {
        const auto found = wine.scripts.find(script);
        if (found == wine.scripts.end()) {
            report << "script " << script << " is missing from Wine's log\n\n";
            ++parted;
            continue;
        }
        const std::vector<StepState> &ours = native.scripts.at(script);
        const std::vector<StepState> &theirs = found->second;
        steps += ours.size();
        const int index = FirstParting(script, ours, theirs, accepted, acceptedSteps, shown);
        if (index == kAgree) {
            continue;
        }
        ++parted;
        const auto at = static_cast<size_t>(index);
        const StepState missing = {"(none)", {}};
        SideBySide(script, at < ours.size() ? ours[at] : missing, at < theirs.size() ? theirs[at] : missing,
                   report);
    }
    for (const std::string &script : wine.order) {
        if (native.scripts.count(script) == 0) {
            report << "script " << script << " is missing from the native log\n\n";
            ++parted;
        }
    }
    shown.insert(timingDependent.begin(), timingDependent.end());
    const int unseen = NoLongerShown(native, accepted, shown, report);
    report << native.order.size() << " scripts, " << steps << " steps compared; " << acceptedSteps
           << " steps differ as accepted; " << parted << (parted == 1 ? " script parts" : " scripts part")
           << " from Wine otherwise; " << unseen << " accepted "
           << (unseen == 1 ? "difference" : "differences") << " not shown\n";
    return parted + unseen;
}

} // namespace conformance
