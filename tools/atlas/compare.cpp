#include "compare.h"

#include "layout.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace atlas {

namespace {

constexpr char kFaultsHeading[] = "## Wine's known rendering faults";
constexpr int kFullTurn = 3600;

constexpr std::uint32_t kNativeOnlyInk = 0xFF00FFu; // magenta
constexpr std::uint32_t kWineOnlyInk = 0x00A0FFu;   // blue
constexpr std::uint32_t kOtherDifference = 0x000000u;
constexpr std::uint32_t kKnownDifference = 0xFFB050u; // orange: a known fault accounts for it

int Turn(int angle)
{
    return ((angle % kFullTurn) + kFullTurn) % kFullTurn;
}

int Channel(std::uint32_t p, int shift)
{
    return static_cast<int>((p >> shift) & 0xFFu);
}

// What a pixel shows, whatever the smoothing: ink, the cell's background, the cross, the paper.
enum class PixelClass { kInk, kCell, kLine, kPaper };

PixelClass ClassOf(std::uint32_t p)
{
    if (IsInk(p)) {
        return PixelClass::kInk;
    }
    const int red = Channel(p, 16);
    const int green = Channel(p, 8);
    const int blue = Channel(p, 0);
    if (red >= kClassThreshold && blue < kClassThreshold) {
        return PixelClass::kCell;
    }
    if (red < kClassThreshold && green < kClassThreshold && blue < kClassThreshold) {
        return PixelClass::kLine;
    }
    return PixelClass::kPaper;
}

// Whether `a`'s pixel at (x, y) shows what `b` shows there or at a neighbour.
template <typename Classify>
bool FoundNearby(const scene::Frame &a, const scene::Frame &b, int x, int y, Classify classify)
{
    const auto wanted = classify(a.At(x, y));
    for (int dy = -kNeighbourhood; dy <= kNeighbourhood; ++dy) {
        for (int dx = -kNeighbourhood; dx <= kNeighbourhood; ++dx) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < b.width() && ny < b.height() && classify(b.At(nx, ny)) == wanted) {
                return true;
            }
        }
    }
    return false;
}

template <typename Classify>
bool Differs(const scene::Frame &a, const scene::Frame &b, int x, int y, Classify classify)
{
    return !FoundNearby(a, b, x, y, classify) || !FoundNearby(b, a, x, y, classify);
}

// The scene at a fifth of its strength over white, for the unchanged parts of a difference.
std::uint32_t Faded(std::uint32_t p)
{
    const auto fade = [&](int shift) {
        return static_cast<std::uint32_t>(255 - (255 - Channel(p, shift)) / 5) << shift;
    };
    return fade(16) | fade(8) | fade(0);
}

std::string Trim(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t`");
    const size_t last = text.find_last_not_of(" \t`");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The ink of `wine` that no cell of `layout` holds, as a share of that ink.
double InkOutsideShare(const scene::Frame &wine, const TextLayout &layout)
{
    const InkCount count = CountInk(wine, layout);
    return count.ink == 0 ? 1.0 : static_cast<double>(count.outsideCells) / count.ink;
}

// Wine lays the line along the orientation: its ink then stands in the cells of a line whose
// escapement is the orientation. Seen with the escapement at 0 only.
bool LineAlongOrientationExplains(const Setting &setting, const scene::Frame &wine)
{
    if (setting.mode != Mode::kAdvanced || Turn(setting.escapement) != 0 || Turn(setting.orientation) == 0) {
        return false;
    }
    Setting alongOrientation = setting;
    alongOrientation.escapement = setting.orientation;
    return InkOutsideShare(wine, LayOut(alongOrientation)) <= kFaultInkShare;
}

// Which known fault, if any, accounts for one differing pixel.
const char *FaultAt(const Setting &setting, const scene::Frame &native, const scene::Frame &wine, int x,
                    int y)
{
    // The ink agrees, the background does not: Wine's upright box where the turned cell belongs.
    const bool inkAgrees = !Differs(native, wine, x, y, IsInk);
    return inkAgrees && Turn(setting.escapement) != 0 ? kUprightBackground : nullptr;
}

// An unexplained difference's colour: ink only one side has, or any other difference.
std::uint32_t UnexplainedColor(std::uint32_t native, std::uint32_t wine)
{
    if (IsInk(native) && !IsInk(wine)) {
        return kNativeOnlyInk;
    }
    if (!IsInk(native) && IsInk(wine)) {
        return kWineOnlyInk;
    }
    return kOtherDifference;
}

// Two scenes of one size compared pixel by pixel: the picture of where they differ, and how many
// pixels differ, with or without a known fault to account for them.
struct Tally {
    std::vector<std::uint32_t> picture;
    std::set<std::string> faults; // the known faults that account for some pixel
    int differing = 0;
    int unexplained = 0;
};

Tally TallyPixels(const Setting &setting, const scene::Frame &native, const scene::Frame &wine,
                  const std::map<std::string, std::string> &knownFaults)
{
    // A line along the orientation accounts for the whole scene; otherwise each differing pixel
    // is put down to a known fault or to none.
    const bool alongOrientation =
        knownFaults.count(kLineAlongOrientation) != 0 && LineAlongOrientationExplains(setting, wine);
    Tally tally;
    tally.picture.reserve(native.pixels().size());
    for (int y = 0; y < native.height(); ++y) {
        for (int x = 0; x < native.width(); ++x) {
            if (!Differs(native, wine, x, y, ClassOf)) {
                tally.picture.push_back(Faded(native.At(x, y)));
                continue;
            }
            ++tally.differing;
            const char *fault =
                alongOrientation ? kLineAlongOrientation : FaultAt(setting, native, wine, x, y);
            if (fault != nullptr && knownFaults.count(fault) != 0) {
                tally.faults.insert(fault);
                tally.picture.push_back(kKnownDifference);
                continue;
            }
            ++tally.unexplained;
            tally.picture.push_back(UnexplainedColor(native.At(x, y), wine.At(x, y)));
        }
    }
    return tally;
}

std::string Escape(const std::string &text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// Escaped, with Markdown's `code` spans as <code>.
std::string MarkdownToHtml(const std::string &text)
{
    std::string out;
    bool inCode = false;
    for (const char c : Escape(text)) {
        if (c == '`') {
            out += inCode ? "</code>" : "<code>";
            inCode = !inCode;
        } else {
            out += c;
        }
    }
    return out + (inCode ? "</code>" : "");
}

int CountOf(const Report &report, Verdict verdict)
{
    return static_cast<int>(std::count_if(report.scenes.begin(), report.scenes.end(),
                                          [&](const SceneComparison &s) { return s.verdict == verdict; }));
}

} // namespace

std::map<std::string, std::string> ReadKnownFaults(const std::string &conformancePath)
{
    // Narrowly: the table rows of one section, "| `key` | what Wine does | evidence |".
    std::map<std::string, std::string> faults;
    std::ifstream file(conformancePath);
    std::string line;
    bool inSection = false;
    while (std::getline(file, line)) {
        if (line.rfind("## ", 0) == 0) {
            inSection = line.rfind(kFaultsHeading, 0) == 0;
            continue;
        }
        if (!inSection || line.rfind("| `", 0) != 0) {
            continue;
        }
        std::vector<std::string> cells;
        std::stringstream row(line.substr(1));
        std::string cell;
        while (std::getline(row, cell, '|')) {
            cells.push_back(Trim(cell));
        }
        if (cells.size() >= 2 && !cells[0].empty()) {
            faults[cells[0]] = cells[1];
        }
    }
    return faults;
}

SceneComparison Compare(const Setting &setting, const scene::Frame &native, const scene::Frame &wine,
                        const std::map<std::string, std::string> &knownFaults, scene::Frame *difference)
{
    SceneComparison result;
    result.setting = setting;
    if (native.width() != wine.width() || native.height() != wine.height()) {
        result.differingShare = 1.0;
        result.verdict = Verdict::kUnexplained;
        if (difference != nullptr) {
            *difference = native;
        }
        return result;
    }

    Tally tally = TallyPixels(setting, native, wine, knownFaults);
    const auto total = static_cast<double>(tally.picture.size());
    result.differingShare = tally.picture.empty() ? 0 : tally.differing / total;
    result.unexplainedShare = tally.picture.empty() ? 0 : tally.unexplained / total;
    if (difference != nullptr) {
        *difference = scene::Frame(native.width(), native.height(), std::move(tally.picture));
    }
    if (result.differingShare <= kAgreeShare) {
        result.verdict = Verdict::kAgree;
    } else if (result.unexplainedShare <= kAgreeShare) {
        result.verdict = Verdict::kKnownFault;
        result.faults.assign(tally.faults.begin(), tally.faults.end());
    } else {
        result.verdict = Verdict::kUnexplained;
    }
    return result;
}

std::string SceneFileName(const Setting &setting)
{
    return "e" + std::to_string(setting.escapement) + "_o" + std::to_string(setting.orientation) + ".png";
}

std::string SummaryLine(const Report &report)
{
    char line[256];
    std::snprintf(line, sizeof(line),
                  "%d scenes: %d agree, %d differ for a known reason, %d differ for no known reason",
                  static_cast<int>(report.scenes.size()), CountOf(report, Verdict::kAgree),
                  CountOf(report, Verdict::kKnownFault), CountOf(report, Verdict::kUnexplained));
    return line;
}

namespace {

// The page's head and title, the banner the script fills in, the summary and the whole sheets.
void WriteHeading(std::ostringstream &html, const Report &report)
{
    html << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>"
         << Escape(report.title)
         << "</title>\n<style>\n"
            "body{font-family:sans-serif;margin:16px;color:#000;background:#fff}\n"
            "#images{padding:6px 10px;color:#fff;background:#888;font-weight:bold}\n"
            "#images.loaded{background:#0a0}#images.broken{background:#c00}\n"
            "table{border-collapse:collapse}td,th{border:1px solid #ccc;padding:4px;vertical-align:top}\n"
            "img{width:338px;display:block}.agree{color:#070}.known{color:#a60}.unexplained{color:#c00}\n"
            "</style></head><body>\n"
            "<p id=\"images\">images not checked yet</p>\n<h1>"
         << Escape(report.title) << "</h1>\n<p><b>" << Escape(SummaryLine(report))
         << "</b></p>\n<p>The whole sheets: <a href=\"native-sheet.png\">native</a>, "
            "<a href=\"wine-sheet.png\">under Wine</a>.</p>\n";
}

// How pixels are compared and what the difference image's colours mean.
void WriteLegend(std::ostringstream &html)
{
    char tolerance[512];
    std::snprintf(
        tolerance, sizeof(tolerance),
        "Each pixel is read as what it shows: ink (at least half red), the text cell's yellow, the black "
        "cross or white paper, so that smoothing does not count. A pixel differs when neither the same "
        "pixel nor any of its neighbours within %d pixel on the other side shows the same; a scene agrees "
        "when at most %.2f%% of its pixels differ, and differs for known reasons when known faults account "
        "for all "
        "but that share.",
        kNeighbourhood, kAgreeShare * 100);
    html << "<p>" << tolerance
         << " The difference image shows the native scene faded where the two agree and orange where they "
            "differ for a known fault of Wine's; where no known fault accounts for a difference, magenta "
            "marks ink "
            "only the native scene has, blue ink only Wine's has, black any other.</p>\n";
}

void WriteKnownFaults(std::ostringstream &html, const Report &report)
{
    if (report.knownFaults.empty()) {
        return;
    }
    html << "<p>Wine's known faults (docs/conformance.md):</p><ul>\n";
    for (const auto &[key, description] : report.knownFaults) {
        html << "<li><code>" << Escape(key) << "</code>: " << MarkdownToHtml(description) << "</li>\n";
    }
    html << "</ul>\n";
}

const char *VerdictClass(Verdict verdict)
{
    switch (verdict) {
    case Verdict::kAgree: return "agree";
    case Verdict::kKnownFault: return "known";
    default: return "unexplained";
    }
}

// What the scene's cell says of its verdict: the faults that account for it, or the share left.
void WriteVerdict(std::ostringstream &html, const SceneComparison &scene)
{
    if (scene.verdict == Verdict::kAgree) {
        html << "agree";
    } else if (scene.verdict == Verdict::kKnownFault) {
        char rest[96];
        std::snprintf(rest, sizeof(rest), "%.3f%% of pixels not accounted for; ",
                      scene.unexplainedShare * 100);
        html << rest << "known faults of Wine's:";
        for (const std::string &fault : scene.faults) {
            html << "<br><code>" << Escape(fault) << "</code>";
        }
    } else {
        char share[96];
        std::snprintf(share, sizeof(share), "differs for no known reason (%.2f%% of pixels unexplained)",
                      scene.unexplainedShare * 100);
        html << share;
    }
}

// A row of the table: the setting and its verdict, then the native, Wine and difference images.
void WriteSceneRow(std::ostringstream &html, const SceneComparison &scene)
{
    const std::string name = SceneFileName(scene.setting);
    char share[64];
    std::snprintf(share, sizeof(share), "%.2f%% of pixels differ", scene.differingShare * 100);
    html << "<tr><td>" << Escape(AnglesLabel(scene.setting)) << "<br>" << ModeName(scene.setting.mode) << ", "
         << AlignmentName(scene.setting.alignment) << "<br>" << share << "<br><span class=\""
         << VerdictClass(scene.verdict) << "\">";
    WriteVerdict(html, scene);
    html << "</span></td>";
    for (const char *folder : {"native", "wine", "difference"}) {
        html << "<td><a href=\"" << folder << "/" << name << "\"><img src=\"" << folder << "/" << name
             << "\" alt=\"" << folder << " " << Escape(AnglesLabel(scene.setting)) << "\"></a></td>";
    }
    html << "</tr>\n";
}

// Every image is checked once the page has loaded, and the banner at the top says how many loaded.
void WriteImageCheck(std::ostringstream &html)
{
    html << "<script>\nwindow.addEventListener('load', function () {\n"
            "  var images = document.images, loaded = 0;\n"
            "  for (var i = 0; i < images.length; i++) {\n"
            "    if (images[i].complete && images[i].naturalWidth > 0) loaded++;\n"
            "  }\n"
            "  var banner = document.getElementById('images');\n"
            "  banner.textContent = loaded + ' of ' + images.length + ' images loaded';\n"
            "  banner.className = loaded === images.length && loaded > 0 ? 'loaded' : 'broken';\n"
            "});\n</script>\n";
}

} // namespace

std::string ReportHtml(const Report &report)
{
    std::ostringstream html;
    WriteHeading(html, report);
    WriteLegend(html);
    WriteKnownFaults(html, report);
    html << "<table>\n<tr><th>setting</th><th>native</th><th>Wine</th><th>difference</th></tr>\n";
    for (const SceneComparison &scene : report.scenes) {
        WriteSceneRow(html, scene);
    }
    html << "</table>\n";
    WriteImageCheck(html);
    html << "</body></html>\n";
    return html.str();
}

} // namespace atlas
