// Reading input scripts, and making random ones from a seed.
#include "script.h"

#include <windows.h>

#include <cctype>
#include <sstream>

namespace conformance {

namespace {

struct KeyName {
    const char *name;
    unsigned short key;
};

constexpr KeyName kKeyNames[] = {
    {"Tab", VK_TAB},         {"Enter", VK_RETURN},  {"Escape", VK_ESCAPE}, {"Space", VK_SPACE},
    {"Left", VK_LEFT},       {"Right", VK_RIGHT},   {"Up", VK_UP},         {"Down", VK_DOWN},
    {"Home", VK_HOME},       {"End", VK_END},       {"PageUp", VK_PRIOR},  {"PageDown", VK_NEXT},
    {"Backspace", VK_BACK},  {"Delete", VK_DELETE}, {"Insert", VK_INSERT}, {"F4", VK_F4},
    {"Minus", VK_OEM_MINUS}, {"Plus", VK_OEM_PLUS}, {"Add", VK_ADD},       {"Subtract", VK_SUBTRACT},
    {"F10", VK_F10},         {"Apps", VK_APPS},     {"Alt", VK_MENU},
};

bool ParseKey(const std::string &name, unsigned short &key)
{
    if (name.size() == 1 && (std::isupper(static_cast<unsigned char>(name[0])) != 0 ||
                             std::isdigit(static_cast<unsigned char>(name[0])) != 0)) {
        key = static_cast<unsigned char>(name[0]);
        return true;
    }
    for (const KeyName &entry : kKeyNames) {
        if (name == entry.name) {
            key = entry.key;
            return true;
        }
    }
    return false;
}

// "Shift+Ctrl+Tab": modifiers, then the key.
bool ParseKeystroke(const std::string &text, Keystroke &stroke)
{
    std::string rest = text;
    for (size_t plus = rest.find('+'); plus != std::string::npos && plus + 1 < rest.size();
         plus = rest.find('+')) {
        const std::string modifier = rest.substr(0, plus);
        if (modifier == "Shift") {
            stroke.shift = true;
        } else if (modifier == "Ctrl") {
            stroke.control = true;
        } else if (modifier == "Alt") {
            stroke.alt = true;
        } else {
            return false;
        }
        rest = rest.substr(plus + 1);
    }
    return ParseKey(rest, stroke.key);
}

// A character as the keys that type it on a US keyboard.
bool TypedKeystroke(char c, Keystroke &stroke)
{
    if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
        stroke.key = static_cast<unsigned char>(c);
    } else if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
        stroke.key = static_cast<unsigned short>(std::toupper(static_cast<unsigned char>(c)));
        stroke.shift = std::isupper(static_cast<unsigned char>(c)) != 0;
    } else if (c == '-') {
        stroke.key = VK_OEM_MINUS;
    } else if (c == '+') {
        stroke.key = VK_OEM_PLUS;
        stroke.shift = true;
    } else if (c == ' ') {
        stroke.key = VK_SPACE;
    } else {
        return false;
    }
    return true;
}

// "edt1", "scr1.up@0,-2": a target and an optional offset.
bool ParsePlace(const std::string &text, Place &place)
{
    const size_t at = text.find('@');
    place.target = text.substr(0, at);
    if (at == std::string::npos) {
        return !place.target.empty();
    }
    char comma = 0;
    std::istringstream offset(text.substr(at + 1));
    return static_cast<bool>(offset >> place.dx >> comma >> place.dy) && comma == ',' && offset.eof() &&
           !place.target.empty();
}

Phase MakePhase(Phase::Kind kind, int count = 0)
{
    Phase phase;
    phase.kind = kind;
    phase.count = count;
    return phase;
}

Phase MoveTo(const Place &place)
{
    Phase phase = MakePhase(Phase::Kind::Move);
    phase.place = place;
    return phase;
}

bool ParseCount(std::istringstream &in, int &count)
{
    return static_cast<bool>(in >> count) && count >= 0;
}

// "key Shift+Tab Enter": keystrokes, one after the other.
bool ParseKeys(std::istringstream &in, Step &step, std::string &error)
{
    Phase keys = MakePhase(Phase::Kind::Keys);
    std::string word;
    while (in >> word) {
        Keystroke stroke;
        if (!ParseKeystroke(word, stroke)) {
            error = "unknown key \"" + word + "\"";
            return false;
        }
        keys.keys.push_back(stroke);
    }
    step.phases.push_back(keys);
    return true;
}

// "type 12 x": everything after "type ", blanks included, each character as the keys that type it.
bool ParseTyping(const std::string &line, Step &step, std::string &error)
{
    Phase keys = MakePhase(Phase::Kind::Keys);
    const std::string text = line.size() > 5 ? line.substr(5) : std::string();
    for (char c : text) {
        Keystroke stroke;
        if (!TypedKeystroke(c, stroke)) {
            error = std::string("cannot type '") + c + "'";
            return false;
        }
        keys.keys.push_back(stroke);
    }
    step.phases.push_back(keys);
    return true;
}

// An optional button after a place: "right" or "middle"; the left one without.
bool ParseButton(std::istringstream &in, Button &button)
{
    std::string word;
    if (!(in >> word)) {
        button = Button::Left;
        return true;
    }
    button = word == "right" ? Button::Right : Button::Middle;
    return word == "right" || word == "middle";
}

// "click P [BUTTON]", "dclick P [BUTTON]", "press P [BUTTON]", "release P [BUTTON]", "move P".
bool ParseButtonVerb(const std::string &verb, std::istringstream &in, Step &step)
{
    Place place;
    std::string word;
    Button button = Button::Left;
    if (!(in >> word) || !ParsePlace(word, place) || (verb != "move" && !ParseButton(in, button))) {
        return false;
    }
    step.phases.push_back(MoveTo(place));
    if (verb == "move") {
        return true;
    }
    // The presses of a double click come at once, so that they are one however slowly the first
    // is handled.
    if (verb == "dclick") {
        Phase clicks = MakePhase(Phase::Kind::Clicks, 2);
        clicks.button = button;
        step.phases.push_back(clicks);
        return true;
    }
    for (Phase::Kind kind : {Phase::Kind::Press, Phase::Kind::Release}) {
        if (verb == "click" || (verb == "press") == (kind == Phase::Kind::Press)) {
            Phase phase = MakePhase(kind);
            phase.button = button;
            step.phases.push_back(phase);
        }
    }
    return true;
}

// "wheel N [AMOUNT]", "hwheel N [AMOUNT]": N turns of AMOUNT each (a notch, 120, without), away
// from the user (or to the right) for positive N.
bool ParseWheel(const std::string &verb, std::istringstream &in, Step &step)
{
    int turns = 0;
    int amount = WHEEL_DELTA;
    if (!(in >> turns) || turns == 0) {
        return false;
    }
    std::string word;
    if (in >> word) {
        std::istringstream number(word);
        if (!(number >> amount) || !number.eof()) {
            return false;
        }
    }
    Phase wheel = MakePhase(Phase::Kind::Wheel, turns < 0 ? -turns : turns);
    wheel.amount = turns < 0 ? -amount : amount;
    wheel.horizontal = verb == "hwheel";
    step.phases.push_back(wheel);
    return amount > 0 && amount <= WHEEL_DELTA * 4;
}

// The pointer's verbs (click, press, release and move at a place, drag from one place to another,
// hold an arrow for some scrolls, turn the wheel) and the waits (wait, ticks). False for anything
// else.
bool ParsePointerOrWait(const std::string &verb, std::istringstream &in, Step &step)
{
    Place first;
    Place second;
    std::string word;
    int count = 0;
    if (verb == "click" || verb == "dclick" || verb == "press" || verb == "release" || verb == "move") {
        return ParseButtonVerb(verb, in, step);
    }
    if (verb == "wheel" || verb == "hwheel") {
        return ParseWheel(verb, in, step);
    }
    if (verb == "drag" && in >> word && ParsePlace(word, first) && in >> word && ParsePlace(word, second)) {
        step.phases = {MoveTo(first), MakePhase(Phase::Kind::Press), MoveTo(second),
                       MakePhase(Phase::Kind::Release)};
    } else if (verb == "hold" && in >> word && ParsePlace(word, first) && ParseCount(in, count)) {
        step.phases = {MoveTo(first), MakePhase(Phase::Kind::Press), MakePhase(Phase::Kind::Scrolls, count),
                       MakePhase(Phase::Kind::Release)};
    } else if (verb == "wait" && ParseCount(in, count)) {
        step.phases.push_back(MakePhase(Phase::Kind::Wait, count));
    } else if (verb == "ticks" && ParseCount(in, count)) {
        step.phases.push_back(MakePhase(Phase::Kind::Ticks, count));
    } else {
        return false;
    }
    return true;
}

} // namespace

bool ParseStep(const std::string &line, Step &step, std::string &error)
{
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    step.text = line;
    step.phases.clear();
    if (verb == "key") {
        if (!ParseKeys(in, step, error)) {
            return false;
        }
    } else if (verb == "type") {
        // The typed text is the rest of the line as it stands: nothing after it can be unexpected.
        return ParseTyping(line, step, error);
    } else if (!ParsePointerOrWait(verb, in, step)) {
        error = "cannot read \"" + line + "\"";
        return false;
    }
    std::string word;
    if (in >> word) {
        error = "unexpected \"" + word + "\" in \"" + line + "\"";
        return false;
    }
    return true;
}

bool ParseScripts(const std::string &name, const std::string &text, std::vector<Script> &scripts,
                  std::string &error)
{
    Script script{name, {}};
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        // A file may hold several scripts, each under a line "script NAME".
        if (line.rfind("script ", start) == start) {
            if (!script.steps.empty() || script.name != name) {
                scripts.push_back(script);
            }
            script = Script{line.substr(start + 7), {}};
            continue;
        }
        Step step;
        if (!ParseStep(line.substr(start), step, error)) {
            error.insert(0, name + ":" + std::to_string(number) + ": ");
            return false;
        }
        script.steps.push_back(step);
    }
    if (!script.steps.empty() || script.name != name) {
        scripts.push_back(script);
    }
    return true;
}

namespace {

// SplitMix64: small, and the same numbers from the same seed on every compiler.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
    template <typename T, size_t N> const T &Pick(const T (&items)[N])
    {
        return items[Below(static_cast<int>(N))];
    }

private:
    std::uint64_t state_;
};

constexpr const char *kClickTargets[] = {
    "edt1", "edt2", "scr1.up",    "scr1.down",  "scr2.up",    "scr2.down", "chx1",   "chx3",  "chx4",
    "chx5", "cmb1", "cmb1.item0", "cmb1.item1", "cmb1.item2", "outside",   "label1", "label2"};
constexpr const char *kArrows[] = {"scr1.up", "scr1.down", "scr2.up", "scr2.down"};
// Keys a person presses in the dialog. Alt is only ever held with another key: alone, it would
// open the system menu's own modal loop.
constexpr const char *kKeys[] = {"Tab",        "Shift+Tab",   "Left",      "Right",      "Up",
                                 "Down",       "Home",        "End",       "Shift+Home", "Shift+End",
                                 "Shift+Left", "Shift+Right", "Backspace", "Delete",     "Space",
                                 "Alt+Down",   "Alt+Up",      "F4",        "Ctrl+A",     "Ctrl+C",
                                 "Ctrl+X",     "Ctrl+V",      "PageUp",    "PageDown",   "Ctrl+Z"};
// Keys that may end the dialog, drawn seldom so that most scripts run their whole length.
constexpr const char *kEndingKeys[] = {"Enter", "Escape", "Alt+F4"};
constexpr const char kTypable[] = "0123456789--+ x";

std::string RandomPlace(Random &random, const char *target)
{
    std::string place = target;
    if (random.Below(3) == 0) {
        place += "@" + std::to_string(random.Below(7) - 3) + "," + std::to_string(random.Below(5) - 2);
    }
    return place;
}

// The steps beyond the keys and the left button: the wheel, the other buttons, double clicks.
// Without menus, the right button keeps away from the fields, where it opens their menu.
constexpr const char *kNoMenuTargets[] = {"scr1.up",    "scr1.down", "scr2.down", "chx1",
                                          "chx3",       "chx4",      "chx5",      "cmb1",
                                          "cmb1.item1", "outside",   "label1",    "label2"};
constexpr const char *kButtons[] = {"", " right", " middle"};
// Keys that open a menu (or ask for one): drawn only with the menus.
constexpr const char *kMenuKeys[] = {"Shift+F10", "Apps", "Alt+Space", "F10", "Alt Down", "Alt Escape"};

std::string WiderLine(Random &random, int roll, bool menus)
{
    if (roll < 110) {
        const int turns = (1 + random.Below(3)) * (random.Below(2) == 0 ? 1 : -1);
        const char *verb = random.Below(4) == 0 ? "hwheel " : "wheel ";
        return verb + std::to_string(turns) + (random.Below(4) == 0 ? " 40" : "");
    }
    const char *verb = roll < 120 ? "click " : "dclick ";
    const char *button = random.Pick(kButtons);
    if (menus && roll >= 125) {
        return std::string("key ") + random.Pick(kMenuKeys);
    }
    const bool right = std::string(button) == " right";
    const char *target = menus || !right ? random.Pick(kClickTargets) : random.Pick(kNoMenuTargets);
    return verb + RandomPlace(random, target) + button;
}

std::string RandomLine(Random &random, Vocabulary vocabulary)
{
    // The first vocabulary's rolls are below 100; the wider ones roll further.
    const int roll = random.Below(vocabulary == Vocabulary::KeysAndLeftButton ? 100 : 130);
    if (roll >= 100) {
        return WiderLine(random, roll, vocabulary == Vocabulary::WithMenus);
    }
    if (roll < 22) {
        std::string text = "type ";
        for (int count = 1 + random.Below(4); count > 0; --count) {
            text += kTypable[random.Below(static_cast<int>(sizeof(kTypable) - 1))];
        }
        return text;
    }
    if (roll < 47) {
        return std::string("key ") + random.Pick(kKeys);
    }
    if (roll < 49) {
        return std::string("key ") + random.Pick(kEndingKeys);
    }
    if (roll < 74) {
        return "click " + RandomPlace(random, random.Pick(kClickTargets));
    }
    if (roll < 78) {
        return "drag " + RandomPlace(random, random.Pick(kClickTargets)) + " " +
               RandomPlace(random, random.Pick(kClickTargets));
    }
    if (roll < 83) {
        return "hold " + std::string(random.Pick(kArrows)) + " " + std::to_string(1 + random.Below(4));
    }
    if (roll < 86) {
        return std::string(random.Below(2) == 0 ? "press " : "release ") +
               RandomPlace(random, random.Pick(kClickTargets));
    }
    if (roll < 90) {
        return "wait " + std::to_string(10 + 10 * random.Below(5));
    }
    return "ticks " + std::to_string(1 + random.Below(3));
}

// Where a step leaves the pointer: the target of its last move, or "" for keys and waits.
std::string PointerTarget(const Step &step)
{
    std::string target;
    for (const Phase &phase : step.phases) {
        if (phase.kind == Phase::Kind::Move) {
            target = phase.place.target;
        }
    }
    return target;
}

// Wine's up-down steps down by itself when the quarter-second press that an arrow key shows ends
// while Wine takes the pointer to be on the up-down: where it is, or where it was until Wine has
// noticed it leave, which takes up to the mouse's hover time (a fault of Wine's, see
// docs/conformance.md). Random scripts keep the arrow keys away from that, so that they compare
// the same on a busy machine as on an idle one: on an up-down the key drawn is another, and after
// the pointer left one the script first rests.
constexpr const char *kRestAfterAnArrow = "wait 600";
constexpr const char *kArrowKeyInstead = "key Right";

bool EndsWith(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Whether the left button may be down after a step, as far as its line tells: a press leaves it
// down, and so may a drag to an item of a list that turns out closed (the step ends there); a
// click, release or hold lets it go. Other steps leave it as it was.
bool LeftButtonHeld(const std::string &line, bool before)
{
    const bool left = !EndsWith(line, " right") && !EndsWith(line, " middle");
    if (left && line.rfind("press ", 0) == 0) {
        return true;
    }
    if (line.rfind("drag ", 0) == 0) {
        return before || line.find(".item") != std::string::npos;
    }
    const bool letsGo =
        line.rfind("click ", 0) == 0 || line.rfind("release ", 0) == 0 || line.rfind("hold ", 0) == 0;
    return left && letsGo ? false : before;
}

} // namespace

Script RandomScript(std::uint64_t seed, int steps, Vocabulary vocabulary)
{
    Random random(seed);
    Script script;
    const char *family = vocabulary == Vocabulary::KeysAndLeftButton    ? "random-"
                         : vocabulary == Vocabulary::AllButtonsAndWheel ? "buttons-"
                                                                        : "menus-";
    script.name = family + std::to_string(seed);
    std::string error;
    bool onArrow = false;
    bool leftAnArrow = false; // and has not rested since
    bool leftHeld = false;
    for (int index = 0; index < steps; ++index) {
        std::string line = RandomLine(random, vocabulary);
        if (line == "key Up" || line == "key Down") {
            line = onArrow ? kArrowKeyInstead : leftAnArrow ? kRestAfterAnArrow : line;
        }
        // A field that holds the mouse for a selection gets the right button wherever it is
        // clicked, and opens its menu: without menus the middle button is clicked instead.
        if (leftHeld && vocabulary == Vocabulary::AllButtonsAndWheel && EndsWith(line, " right")) {
            line.replace(line.size() - 5, 5, "middle");
        }
        leftHeld = LeftButtonHeld(line, leftHeld);
        Step step;
        ParseStep(line, step, error);
        const std::string target = PointerTarget(step);
        if (!target.empty()) {
            const bool arrow = target.rfind("scr", 0) == 0;
            leftAnArrow = leftAnArrow || (onArrow && !arrow);
            onArrow = arrow;
        }
        if (line == kRestAfterAnArrow) {
            leftAnArrow = false;
        }
        script.steps.push_back(step);
    }
    return script;
}

} // namespace conformance
