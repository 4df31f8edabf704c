// Input scripts for the conformance driver: what a person does to the dialog, one step at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace conformance {

// A key with the modifiers held around it.
struct Keystroke {
    unsigned short key = 0; // virtual-key code
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// Where the mouse goes: a named place on the dialog, moved by an offset in pixels.
struct Place {
    std::string target; // edt1, scr1.up, cmb1.item2, outside, ...
    int dx = 0;
    int dy = 0;
};

enum class Button { Left, Right, Middle };

// One part of a step. Input is given in batches; the step goes on when the dialog has handled a
// batch (its queue is idle), and waits where a phase says so.
struct Phase {
    enum class Kind {
        Keys,    // press and release each keystroke in turn
        Move,    // the pointer moves to `place`
        Press,   // `button` goes down
        Release, // `button` comes up
        Wheel,   // the wheel turns `count` times by `amount` each (negative: towards the user)
        Clicks,  // `button` goes down and up `count` times in one batch, as a double click does
        Wait,    // `count` milliseconds pass
        Ticks,   // the running animation ticks `count` times (nothing, if none runs)
        Scrolls, // a held arrow repeats until its up-down has scrolled `count` times
    };
    Kind kind = Kind::Wait;
    std::vector<Keystroke> keys;
    Place place;
    int count = 0;
    Button button = Button::Left;
    int amount = 0;          // a turn of the wheel: 120 a notch, less for a fine-grained wheel
    bool horizontal = false; // the wheel turns sideways (positive: to the right)
};

struct Step {
    std::string text; // the line it was read from, for the log
    std::vector<Phase> phases;
};

struct Script {
    std::string name;
    std::vector<Step> steps;
};

// Reads the scripts of a file: one step a line, '#' starts a comment, and "script NAME" starts a
// script of that name (without one, the file is one script named `name`). Returns false with
// `error` set (the line number and what is wrong) for a line it does not understand.
bool ParseScripts(const std::string &name, const std::string &text, std::vector<Script> &scripts,
                  std::string &error);
bool ParseStep(const std::string &line, Step &step, std::string &error);

// The steps random scripts draw from: the keys and the left button, as from the start (so that a
// seed still gives the script it always gave); all buttons and the wheel besides; and with them
// the steps that open menus.
enum class Vocabulary { KeysAndLeftButton, AllButtonsAndWheel, WithMenus };

// A random script of `steps` steps; the same seed always gives the same script, on every platform.
// Its name says its vocabulary: random-SEED, buttons-SEED, menus-SEED.
Script RandomScript(std::uint64_t seed, int steps, Vocabulary vocabulary = Vocabulary::KeysAndLeftButton);

} // namespace conformance
