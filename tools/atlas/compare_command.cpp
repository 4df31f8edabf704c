// compare, natively: our scenes in-process, Wine's from the Windows build started under Wine.
#include "compare.h"
#include "image_file.h"
#include "native_features.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace atlas {

namespace {

std::string JoinAngles(const std::vector<int> &angles)
{
    std::string text;
    for (const int angle : angles) {
        text += (text.empty() ? "" : ",") + std::to_string(angle);
    }
    return text;
}

// Runs a program with its arguments, as given, and waits: its exit code, or -1.
int Run(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv.data());
        std::perror(argv[0]);
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

namespace fs = std::filesystem;

// Fails before any drawing when an input is missing; makes the report's folders.
void Prepare(const CompareOptions &options, const fs::path &folder)
{
    if (!fs::is_regular_file(options.windowsExe)) {
        throw UsageError{"no Windows build at " + options.windowsExe};
    }
    if (!fs::is_regular_file(options.conformance)) {
        throw UsageError{"cannot read Wine's known faults from " + options.conformance};
    }
    for (const char *side : {"native", "wine", "difference"}) {
        fs::create_directories(folder / side);
    }
}

// Our scenes, in the sheet's order, each also written to native/, and the whole sheet.
std::vector<scene::Frame> DrawNative(const SceneDialog &dialog, const SheetRequest &sheet,
                                     const fs::path &folder)
{
    std::vector<scene::Frame> native;
    const scene::Frame nativeSheet =
        DrawSheet(dialog, sheet, [&](const Setting &setting, const scene::Frame &frame) {
            native.push_back(frame);
            if (!WritePng(frame, (folder / "native" / SceneFileName(setting)).string())) {
                throw UsageError{"cannot write into " + (folder / "native").string()};
            }
        });
    WritePng(nativeSheet, (folder / "native-sheet.png").string());
    return native;
}

// The Windows build draws the same sheet under Wine, its scenes into wine/: its exit code.
int DrawUnderWine(const CompareOptions &options, const fs::path &folder)
{
    return Run({options.wine, options.windowsExe, "sheet", (folder / "wine-sheet.png").string(), "--frames",
                (folder / "wine").string(), "--escapements", JoinAngles(options.sheet.escapements),
                "--orientations", JoinAngles(options.sheet.orientations), "--mode",
                ModeName(options.sheet.mode), "--align", AlignmentName(options.sheet.alignment)});
}

// Each scene compared, its difference written into difference/; false when Wine's is missing.
bool CompareScenes(const SheetRequest &sheet, const std::vector<scene::Frame> &native, const fs::path &folder,
                   Report &report)
{
    const std::vector<Setting> settings = SheetSettings(sheet);
    for (size_t i = 0; i < settings.size(); ++i) {
        const std::string name = SceneFileName(settings[i]);
        const std::optional<scene::Frame> wine = ReadPng((folder / "wine" / name).string());
        if (!wine) {
            std::fprintf(stderr, "slantglyph-atlas: Wine's scene %s is missing\n", name.c_str());
            return false;
        }
        scene::Frame difference(0, 0, {});
        report.scenes.push_back(Compare(settings[i], native[i], *wine, report.knownFaults, &difference));
        WritePng(difference, (folder / "difference" / name).string());
    }
    return true;
}

void WriteHtml(const Report &report, const fs::path &folder)
{
    std::ofstream html(folder / "index.html", std::ios::binary);
    html << ReportHtml(report);
    if (!html) {
        throw UsageError{"cannot write " + (folder / "index.html").string()};
    }
}

// The summary, then a line for each scene: how much differs and for what reason.
void PrintSummary(const Report &report)
{
    std::printf("%s\n", SummaryLine(report).c_str());
    for (const SceneComparison &scene : report.scenes) {
        std::string reasons;
        for (const std::string &fault : scene.faults) {
            reasons += (reasons.empty() ? "" : ", ") + fault;
        }
        if (scene.verdict == Verdict::kKnownFault) {
            std::printf("  %s: %.2f%% differ, %s (%.3f%% not accounted for)\n",
                        AnglesLabel(scene.setting).c_str(), scene.differingShare * 100, reasons.c_str(),
                        scene.unexplainedShare * 100);
        } else {
            std::printf("  %s: %.2f%% differ, %.2f%% for no known reason\n",
                        AnglesLabel(scene.setting).c_str(), scene.differingShare * 100,
                        scene.unexplainedShare * 100);
        }
    }
}

} // namespace

bool CompareAvailable()
{
    return true;
}

int RunCompare(const SceneDialog &dialog, const CompareOptions &options)
{
    const fs::path folder(options.folder);
    Prepare(options, folder);

    auto start = std::chrono::steady_clock::now();
    const std::vector<scene::Frame> native = DrawNative(dialog, options.sheet, folder);
    const double nativeSeconds = SecondsSince(start);

    start = std::chrono::steady_clock::now();
    const int wineExit = DrawUnderWine(options, folder);
    const double wineSeconds = SecondsSince(start);
    if (wineExit != 0) {
        std::fprintf(stderr, "slantglyph-atlas: the Windows build under %s ended with %d\n",
                     options.wine.c_str(), wineExit);
        return 1;
    }

    Report report;
    report.title = std::string("SlantGlyphDemo, native and under Wine: ") + ModeName(options.sheet.mode) +
                   ", " + AlignmentName(options.sheet.alignment);
    report.knownFaults = ReadKnownFaults(options.conformance);
    if (!CompareScenes(options.sheet, native, folder, report)) {
        return 1;
    }
    WriteHtml(report, folder);
    PrintSummary(report);
    std::printf("drawn in %.2f s natively, %.2f s under Wine (start-up included)\n", nativeSeconds,
                wineSeconds);
    return 0;
}

} // namespace atlas
