// Google Benchmark figures of the native build: whole paints of the program's dialog, the scene
// alone, and the one line of rotated text with and without creating its font.
#include "scene_dialog.h"

#include <benchmark/benchmark.h>

namespace {

const bench::ProgramDialog &Dialog()
{
    static const bench::ProgramDialog dialog;
    return dialog;
}

void FullPaint(benchmark::State &state)
{
    const bench::Scene &scene = bench::kPaintScenes[state.range(0)];
    Dialog().Show(scene);
    while (state.KeepRunning()) {
        Dialog().Repaint();
    }
    state.SetLabel(scene.name);
}
BENCHMARK(FullPaint)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void ScenePaint(benchmark::State &state)
{
    const bench::Scene &scene = bench::kPaintScenes[state.range(0)];
    Dialog().Show(scene);
    while (state.KeepRunning()) {
        Dialog().DrawScene();
    }
    state.SetLabel(scene.name);
}
BENCHMARK(ScenePaint)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The scene's text: level, turned by 45 degrees, and with its glyphs turned further than its line.
constexpr bench::Scene kTextScenes[] = {
    {"0", 0, 0, false},
    {"450", 450, 450, false},
    {"advanced 450/900", 450, 900, true},
};
constexpr WCHAR kSampleText[] = L"SlantGlyphDemo";
constexpr int kSampleLength = static_cast<int>(sizeof(kSampleText) / sizeof(kSampleText[0])) - 1;

LOGFONTW SceneFont(const bench::Scene &scene)
{
    LOGFONTW font = {};
    font.lfHeight = 50;
    font.lfEscapement = scene.escapement;
    font.lfOrientation = scene.orientation;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(font.lfFaceName, L"MS UI Gothic");
    return font;
}

// A memory DC like the one the program paints into, set up as the scene sets it.
class SceneBitmap {
public:
    explicit SceneBitmap(const bench::Scene &scene)
    {
        RECT client;
        GetClientRect(Dialog().hwnd(), &client);
        HDC window = GetDC(Dialog().hwnd());
        dc_ = CreateCompatibleDC(window);
        bitmap_ = CreateCompatibleBitmap(window, client.right, client.bottom);
        ReleaseDC(Dialog().hwnd(), window);
        previousBitmap_ = SelectObject(dc_, bitmap_);
        SetTextColor(dc_, RGB(255, 0, 0));
        SetBkColor(dc_, RGB(255, 255, 0));
        SetBkMode(dc_, OPAQUE);
        SetGraphicsMode(dc_, scene.advanced ? GM_ADVANCED : GM_COMPATIBLE);
        SetTextAlign(dc_, TA_BASELINE);
    }
    ~SceneBitmap()
    {
        SelectObject(dc_, previousBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    SceneBitmap(const SceneBitmap &) = delete;
    SceneBitmap &operator=(const SceneBitmap &) = delete;

    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previousBitmap_;
};

void TextOnly(benchmark::State &state)
{
    const bench::Scene &scene = kTextScenes[state.range(0)];
    const SceneBitmap target(scene);
    const LOGFONTW logical = SceneFont(scene);
    HFONT font = CreateFontIndirectW(&logical);
    HGDIOBJ previousFont = SelectObject(target.dc(), font);
    while (state.KeepRunning()) {
        TextOutW(target.dc(), 150, 170, kSampleText, kSampleLength);
    }
    SelectObject(target.dc(), previousFont);
    DeleteObject(font);
    state.SetLabel(scene.name);
}
BENCHMARK(TextOnly)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// As every paint does it: a new font for the one line of text.
void FontAndText(benchmark::State &state)
{
    const bench::Scene &scene = kTextScenes[state.range(0)];
    const SceneBitmap target(scene);
    const LOGFONTW logical = SceneFont(scene);
    while (state.KeepRunning()) {
        HFONT font = CreateFontIndirectW(&logical);
        HGDIOBJ previousFont = SelectObject(target.dc(), font);
        TextOutW(target.dc(), 150, 170, kSampleText, kSampleLength);
        SelectObject(target.dc(), previousFont);
        DeleteObject(font);
    }
    state.SetLabel(scene.name);
}
BENCHMARK(FontAndText)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
