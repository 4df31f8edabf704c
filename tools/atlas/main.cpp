// slantglyph-atlas: many settings of SlantGlyphDemo's scene at once, drawn by the program's own
// dialog and paint path: single scenes, sweeps, contact sheets, their numbers, and (natively) a
// comparison with the Windows build under Wine.
#include "compare.h"
#include "image_file.h"
#include "layout.h"
#include "native_features.h"
#include "overlay.h"
#include "scene_control.h"
#include "sheet.h"

#include "SlantGlyphDemo.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifndef ATLAS_VERSION
#define ATLAS_VERSION "(no version)"
#endif

namespace {

constexpr int kBadUsage = 2;
constexpr int kFailed = 1;
constexpr char kToolName[] = "slantglyph-atlas";

// The animation's angles: one full turn in the program's steps.
constexpr int kSweepFrom = 0;
constexpr int kSweepTo = animation::kFullTurn - animation::kStep;
constexpr int kSweepStep = animation::kStep;

// Thin lines at full size; the sheet thickens its own.
constexpr int kOverlayThickness = 1;

using atlas::UsageError;

struct SettingOptions {
    atlas::Setting setting;
    bool overlay = false;
};

const std::map<std::string, atlas::Mode> kModes = {{"compatible", atlas::Mode::kCompatible},
                                                   {"advanced", atlas::Mode::kAdvanced}};
const std::map<std::string, atlas::Alignment> kAlignments = {{"baseline", atlas::Alignment::kBaseline},
                                                             {"top", atlas::Alignment::kTop},
                                                             {"bottom", atlas::Alignment::kBottom}};

// One of a few names, each standing for a value.
template <typename Value>
void AddChoice(CLI::App &command, const std::string &names, Value &value,
               const std::map<std::string, Value> &choices, const std::string &description)
{
    std::string list;
    for (const auto &choice : choices) {
        list += (list.empty() ? "" : ", ") + choice.first;
    }
    command
        .add_option_function<std::string>(
            names, [&value, &choices](const std::string &name) { value = choices.at(name); }, description)
        ->check(CLI::Validator(
            [choices, list](std::string &name) {
                return choices.count(name) != 0 ? std::string() : "'" + name + "' is not one of " + list;
            },
            "", "choice"));
}

void AddModeAndAlignment(CLI::App &command, atlas::Mode &mode, atlas::Alignment &alignment)
{
    AddChoice(command, "-m,--mode", mode, kModes,
              "graphics mode: compatible (GM_COMPATIBLE, the default) or advanced (GM_ADVANCED)");
    AddChoice(command, "-a,--align", alignment, kAlignments,
              "vertical alignment: baseline (TA_BASELINE, the default), top (TA_TOP) or bottom (TA_BOTTOM)");
}

// Angles are whole numbers; "4.5" or "45deg" is refused with the reason, before any conversion.
const CLI::Validator kWholeNumber(
    [](std::string &text) {
        size_t used = 0;
        try {
            (void)std::stoi(text, &used);
        } catch (const std::exception &) {
            used = 0;
        }
        return used != 0 && used == text.size()
                   ? std::string()
                   : "'" + text + "' is not a whole number of tenths of a degree";
    },
    "", "angle");

void AddSettingOptions(CLI::App &command, SettingOptions &options)
{
    command
        .add_option("-e,--escapement", options.setting.escapement,
                    "escapement in tenths of a degree (default 0)")
        ->check(kWholeNumber);
    command
        .add_option("-o,--orientation", options.setting.orientation,
                    "orientation in tenths of a degree (default 0)")
        ->check(kWholeNumber);
    AddModeAndAlignment(command, options.setting.mode, options.setting.alignment);
    command.add_flag(
        "--overlay", options.overlay,
        "draw the text cell (blue), the baseline (green arrow), the glyphs' up direction (violet "
        "arrow) and each glyph's origin (teal cross) over the scene");
}

void AddGridOptions(CLI::App &command, atlas::SheetRequest &request)
{
    request.escapements = {0, 450, 900, 1350, 1800, 2250, 2700, 3150};
    request.orientations = {0, 900, 1800, 2700};
    command
        .add_option("--escapements", request.escapements,
                    "escapements, comma-separated, one per row (default 0,450,900,1350,1800,2250,2700,3150)")
        ->delimiter(',')
        ->check(kWholeNumber);
    command
        .add_option("--orientations", request.orientations,
                    "orientations, comma-separated, one per column (default 0,900,1800,2700)")
        ->delimiter(',')
        ->check(kWholeNumber);
    AddModeAndAlignment(command, request.mode, request.alignment);
}

// Fails early, before any drawing, when a file cannot be written where it is asked for.
void RequireWritableFile(const std::string &path)
{
    const bool existed = std::filesystem::exists(path);
    std::ofstream probe(path, std::ios::app);
    if (!probe) {
        throw UsageError{"cannot write " + path};
    }
    probe.close();
    if (!existed) {
        std::filesystem::remove(path);
    }
}

void RequireWritableFolder(const std::string &path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path)) {
        throw UsageError{"cannot make the folder " + path};
    }
    RequireWritableFile((std::filesystem::path(path) / ".slantglyph-atlas-probe").string());
}

void Save(const scene::Frame &frame, const std::string &path)
{
    if (!atlas::WritePng(frame, path)) {
        throw UsageError{"cannot write " + path};
    }
}

scene::Frame Draw(const atlas::SceneDialog &dialog, const SettingOptions &options)
{
    dialog.Apply(options.setting);
    if (!options.overlay) {
        return dialog.Render();
    }
    const atlas::TextLayout layout = atlas::LayOut(options.setting);
    return dialog.Render([&](HDC dc) { atlas::DrawOverlay(dc, layout, kOverlayThickness); });
}

struct SweepOptions {
    SettingOptions scene;
    std::string angle = "escapement";
    int from = kSweepFrom;
    int to = kSweepTo;
    int step = kSweepStep;
    std::string folder;
    std::string animation;
};

// Fails before any drawing when the sweep cannot run, or cannot write where it is asked to.
void CheckSweep(const SweepOptions &options)
{
    if (options.step <= 0) {
        throw UsageError{"--step must be positive"};
    }
    if (options.folder.empty() && options.animation.empty()) {
        throw UsageError{"sweep needs a folder for numbered PNGs, or --animation FILE"};
    }
    if (!options.folder.empty()) {
        RequireWritableFolder(options.folder);
    }
    if (!options.animation.empty()) {
        if (!atlas::AnimationAvailable()) {
            throw UsageError{"--animation is not available in this build (the native build writes it)"};
        }
        RequireWritableFile(options.animation);
    }
}

// The sweep's angle turns the escapement, the orientation, or both.
void TurnTo(SweepOptions &options, int angle)
{
    if (options.angle != "orientation") {
        options.scene.setting.escapement = angle;
    }
    if (options.angle != "escapement") {
        options.scene.setting.orientation = angle;
    }
}

// The animation begins with its first frame, which sets its size.
bool AddFrame(std::unique_ptr<atlas::Animation> &animation, const scene::Frame &frame)
{
    if (!animation) {
        animation = atlas::MakeAnimation(frame.width(), frame.height(),
                                         static_cast<int>(animation::kTickMilliseconds));
    }
    return animation->Add(frame);
}

int Sweep(const atlas::SceneDialog &dialog, SweepOptions options)
{
    CheckSweep(options);
    std::unique_ptr<atlas::Animation> animation;
    int index = 0;
    for (int angle = options.from; angle <= options.to; angle += options.step, ++index) {
        TurnTo(options, angle);
        const scene::Frame frame = Draw(dialog, options.scene);
        if (!options.folder.empty()) {
            char name[32];
            std::snprintf(name, sizeof(name), "sweep-%04d.png", index);
            Save(frame, (std::filesystem::path(options.folder) / name).string());
        }
        if (!options.animation.empty() && !AddFrame(animation, frame)) {
            std::fprintf(stderr, "%s: the animation could not take frame %d\n", kToolName, index);
            return kFailed;
        }
    }
    if (animation && !animation->Write(options.animation)) {
        throw UsageError{"cannot write " + options.animation};
    }
    return 0;
}

int Metrics(const atlas::SceneDialog &dialog, const atlas::SheetRequest &request, bool json,
            const std::string &output)
{
    if (!output.empty()) {
        RequireWritableFile(output);
    }
    std::string text = json ? "[\n" : atlas::TableHeader();
    const std::vector<atlas::Setting> settings = atlas::SheetSettings(request);
    for (size_t i = 0; i < settings.size(); ++i) {
        dialog.Apply(settings[i]);
        const atlas::TextLayout layout = atlas::LayOut(settings[i]);
        const atlas::InkCount ink = atlas::CountInk(dialog.Render(), layout);
        if (json) {
            text += atlas::ToJson(settings[i], layout, ink) + (i + 1 < settings.size() ? ",\n" : "\n");
        } else {
            text += atlas::ToTable(settings[i], layout, ink);
        }
    }
    text += json ? "]\n" : "";
    if (output.empty()) {
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    std::ofstream file(output, std::ios::binary);
    file << text;
    if (!file) {
        throw UsageError{"cannot write " + output};
    }
    return 0;
}

std::string UsageLine(const CLI::App &command)
{
    // The line of the help that starts "Usage:".
    std::string help = command.help();
    const size_t start = help.find("Usage:");
    if (start == std::string::npos) {
        return help;
    }
    std::string line = help.substr(start, help.find('\n', start) - start);
    // A command's own help names only the command.
    if (command.get_parent() != nullptr) {
        line.insert(std::string("Usage: ").size(), std::string(kToolName) + " ");
    }
    return line;
}

int BadUsage(const CLI::App &app, const std::string &message)
{
    const CLI::App *command = &app;
    for (const CLI::App *sub : app.get_subcommands()) {
        command = sub;
    }
    std::fprintf(stderr, "%s: %s\n%s\nRun '%s --help' for every command and option.\n", kToolName,
                 message.c_str(), UsageLine(*command).c_str(), kToolName);
    return kBadUsage;
}

// The version flag, one command to a run, and the help's footer.
void DescribeTool(CLI::App &app)
{
    app.set_version_flag("--version", std::string(kToolName) + " " + ATLAS_VERSION);
    app.require_subcommand(1, 1);
    // Paths like /tmp/a.png are paths, not options, in the Windows build too.
    app.allow_windows_style_options(false);
    app.footer(
        "Angles are whole numbers in tenths of a degree, negative or positive (450 is 45 degrees).\n"
        "Exit status: 0 on success, 1 when drawing or writing fails, 2 for a bad command line or a path that "
        "cannot be written.\n"
        "\nExamples:\n"
        "  slantglyph-atlas render scene.png -e 450 -o 900 --mode advanced --align top --overlay\n"
        "  slantglyph-atlas sweep frames/ --angle both --from 0 --to 3570 --step 30\n"
        "  slantglyph-atlas sheet sheet.png --escapements 0,450,900 --orientations 0,900 --overlay\n"
        "  slantglyph-atlas metrics --json --escapements 450 --orientations 450,900 --mode advanced\n"
        "  xvfb-run -a slantglyph-atlas compare report/ --windows-exe build/windows/bin/slantglyph-atlas.exe "
        "--mode advanced");
}

// Every command's options as the command line sets them, and each command's own parser:
// the one parsed is the one to run.
struct Commands {
    CLI::App *render = nullptr;
    SettingOptions renderOptions;
    std::string renderOutput;

    CLI::App *sweep = nullptr;
    SweepOptions sweepOptions;

    CLI::App *sheet = nullptr;
    atlas::SheetRequest sheetRequest;
    std::string sheetOutput;
    std::string sheetFrames;

    CLI::App *metrics = nullptr;
    atlas::SheetRequest metricsRequest;
    bool metricsJson = false;
    std::string metricsOutput;

    atlas::CompareOptions compareOptions; // compare: the command when no other is
};

void AddRender(CLI::App &app, Commands &commands)
{
    commands.render = app.add_subcommand("render", "draw one setting to a PNG file");
    commands.render->add_option("output", commands.renderOutput, "the PNG file to write")->required();
    AddSettingOptions(*commands.render, commands.renderOptions);
}

void AddSweep(CLI::App &app, Commands &commands)
{
    commands.sweep = app.add_subcommand(
        "sweep",
        "turn one angle through a range: numbered PNGs (FOLDER/sweep-0000.png, ...) and/or one animated "
        "WebP (native build)");
    commands.sweep->add_option("folder", commands.sweepOptions.folder, "the folder for the numbered PNGs");
    AddSettingOptions(*commands.sweep, commands.sweepOptions.scene);
    commands.sweep
        ->add_option("--angle", commands.sweepOptions.angle,
                     "the angle that turns: escapement (the default), orientation or both")
        ->check(CLI::IsMember({"escapement", "orientation", "both"}));
    commands.sweep->add_option("--from", commands.sweepOptions.from, "first angle (default 0)")
        ->check(kWholeNumber);
    commands.sweep
        ->add_option("--to", commands.sweepOptions.to,
                     "last angle, included when the steps reach it (default 3570)")
        ->check(kWholeNumber);
    commands.sweep
        ->add_option("--step", commands.sweepOptions.step,
                     "step between angles, positive (default 30, as the program animates)")
        ->check(kWholeNumber);
    commands.sweep->add_option(
        "--animation", commands.sweepOptions.animation,
        "also write the frames as one animated WebP, 100 ms a frame as the program animates");
}

void AddSheet(CLI::App &app, Commands &commands)
{
    commands.sheet = app.add_subcommand(
        "sheet",
        "a contact sheet: one scene at half size per escapement (rows) and orientation (columns), each "
        "labelled with its angles, the mode and alignment in the title");
    commands.sheet->add_option("output", commands.sheetOutput, "the PNG file to write")->required();
    AddGridOptions(*commands.sheet, commands.sheetRequest);
    commands.sheet->add_flag("--overlay", commands.sheetRequest.overlay,
                             "draw the geometry over each scene, as render --overlay does");
    commands.sheet->add_option(
        "--frames", commands.sheetFrames,
        "also write each scene at full size, without overlay, as FOLDER/e<escapement>_o<orientation>.png");
}

void AddMetrics(CLI::App &app, Commands &commands)
{
    commands.metrics = app.add_subcommand(
        "metrics",
        "per setting and glyph: the origin, the advance and the glyph cell's corners, from the platform's "
        "text "
        "metrics and extents; per setting, the ink the drawn frame shows and how much of it lies outside "
        "every "
        "glyph cell. A tab-separated table, or JSON. Settings as for sheet; under Wine, Wine's numbers");
    AddGridOptions(*commands.metrics, commands.metricsRequest);
    commands.metrics->add_flag("--json", commands.metricsJson, "JSON instead of the table");
    commands.metrics->add_option("--output", commands.metricsOutput,
                                 "write to this file instead of standard output");
}

void AddCompare(CLI::App &app, Commands &commands)
{
    CLI::App *compare = app.add_subcommand("compare", "native build only: draw a sheet's scenes natively and "
                                                      "with the Windows build under Wine (which needs a "
                                                      "display: xvfb-run -a), and write FOLDER/index.html, a "
                                                      "static page with both images of every scene, their "
                                                      "difference, the share of differing pixels and, where "
                                                      "Wine's known faults (docs/conformance.md) explain "
                                                      "it, the reason; a summary at the top");
    compare->add_option("folder", commands.compareOptions.folder, "the folder for the report")->required();
    AddGridOptions(*compare, commands.compareOptions.sheet);
    compare
        ->add_option("--windows-exe", commands.compareOptions.windowsExe,
                     "the Windows build of slantglyph-atlas")
        ->required();
    compare->add_option("--wine", commands.compareOptions.wine,
                        "the Wine loader (default wine); WINEPREFIX and the rest come from the environment");
    compare->add_option("--faults", commands.compareOptions.conformance,
                        "the file that lists Wine's known faults (default docs/conformance.md)");
}

// A first word that is not an option must name a command.
bool UnknownCommand(CLI::App &app, int argc, char **argv)
{
    const std::vector<CLI::App *> commands = app.get_subcommands([](CLI::App *) { return true; });
    const bool named =
        argc > 1 && std::any_of(commands.begin(), commands.end(),
                                [&](const CLI::App *command) { return command->get_name() == argv[1]; });
    return argc > 1 && argv[1][0] != '-' && !named;
}

// The exit status when the command line alone ends the run: help, the version, or a bad command
// line; nothing when a command is to run.
std::optional<int> ParseCommandLine(CLI::App &app, int argc, char **argv)
{
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &error) {
        if (dynamic_cast<const CLI::CallForHelp *>(&error) != nullptr && app.get_subcommands().empty()) {
            // The tool's own --help is its manual: every command with its options.
            std::fputs(app.help("", CLI::AppFormatMode::All).c_str(), stdout);
            return 0;
        }
        if (error.get_exit_code() == 0) {
            return app.exit(error); // a command's --help, and --version
        }
        return BadUsage(app, error.what());
    }
    return std::nullopt;
}

// sheet: the contact sheet, and each scene at full size too when asked for.
int Sheet(const atlas::SceneDialog &dialog, const Commands &commands)
{
    const std::string &frames = commands.sheetFrames;
    RequireWritableFile(commands.sheetOutput);
    if (!frames.empty()) {
        RequireWritableFolder(frames);
    }
    Save(atlas::DrawSheet(
             dialog, commands.sheetRequest,
             [&](const atlas::Setting &setting, const scene::Frame &frame) {
                 if (!frames.empty()) {
                     Save(frame, (std::filesystem::path(frames) / atlas::SceneFileName(setting)).string());
                 }
             }),
         commands.sheetOutput);
    return 0;
}

// Runs the command the command line chose; a path that cannot be written throws UsageError.
int RunCommand(const atlas::SceneDialog &dialog, const Commands &commands)
{
    if (commands.render->parsed()) {
        RequireWritableFile(commands.renderOutput);
        Save(Draw(dialog, commands.renderOptions), commands.renderOutput);
        return 0;
    }
    if (commands.sweep->parsed()) {
        return Sweep(dialog, commands.sweepOptions);
    }
    if (commands.sheet->parsed()) {
        return Sheet(dialog, commands);
    }
    if (commands.metrics->parsed()) {
        return Metrics(dialog, commands.metricsRequest, commands.metricsJson, commands.metricsOutput);
    }
    if (!atlas::CompareAvailable()) {
        throw UsageError{"compare runs in the native build, which starts the Windows build under Wine"};
    }
    RequireWritableFolder(commands.compareOptions.folder);
    return atlas::RunCompare(dialog, commands.compareOptions);
}

int Run(int argc, char **argv)
{
    CLI::App app{
        "Draws SlantGlyphDemo's scene for many settings at once: the program's own dialog is built "
        "from its template, never shown, set as a user sets it, and painted into a bitmap by its own "
        "paint path.",
        kToolName};
    DescribeTool(app);
    Commands commands;
    AddRender(app, commands);
    AddSweep(app, commands);
    AddSheet(app, commands);
    AddMetrics(app, commands);
    AddCompare(app, commands);
    if (UnknownCommand(app, argc, argv)) {
        return BadUsage(app, std::string("unknown command '") + argv[1] +
                                 "': render, sweep, sheet, metrics or compare");
    }
    if (const std::optional<int> exitStatus = ParseCommandLine(app, argc, argv)) {
        return *exitStatus;
    }
    try {
        const atlas::SceneDialog dialog;
        if (!dialog.valid()) {
            std::fprintf(stderr, "%s: the program's dialog could not be created\n", kToolName);
            return kFailed;
        }
        return RunCommand(dialog, commands);
    } catch (const UsageError &error) {
        return BadUsage(app, error.message);
    }
}

} // namespace

int main(int argc, char **argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s: %s\n", kToolName, error.what());
        return kFailed;
    }
}
