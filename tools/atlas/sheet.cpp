#include "sheet.h"

#include "image_file.h"
#include "layout.h"
#include "overlay.h"

#include <string>

namespace atlas {

namespace {

constexpr WCHAR kLabelFace[] = L"Tahoma";
constexpr LONG kLabelFontHeight = 14;
constexpr LONG kTitleFontHeight = 16;
constexpr COLORREF kLabelColor = RGB(0, 0, 0);
constexpr COLORREF kPaperColor = RGB(255, 255, 255);
constexpr COLORREF kCellFrameColor = RGB(200, 200, 200);
constexpr int kOverlayThickness = 2; // survives the reduction

void Label(HDC dc, int x, int y, LONG height, const std::string &text)
{
    LOGFONTW font = {};
    font.lfHeight = -height;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(font.lfFaceName, kLabelFace);
    HFONT hfont = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(dc, hfont);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, previous);
    DeleteObject(hfont);
}

std::string Title(const SheetRequest &request)
{
    return std::string(request.mode == Mode::kAdvanced ? "GM_ADVANCED" : "GM_COMPATIBLE") + ", TA_" +
           (request.alignment == Alignment::kTop      ? "TOP"
            : request.alignment == Alignment::kBottom ? "BOTTOM"
                                                      : "BASELINE") +
           "   rows: escapement, columns: orientation (tenths of a degree)";
}

} // namespace

SheetLayout::SheetLayout(int rows, int columns, int sceneWidth, int sceneHeight)
    : rows(rows), columns(columns), cellWidth(sceneWidth / kScale), cellHeight(sceneHeight / kScale)
{
}

int SheetLayout::width() const
{
    return kMargin + columns * (cellWidth + kMargin);
}

int SheetLayout::height() const
{
    return kTitleHeight + kMargin + rows * (cellHeight + kLabelHeight + kMargin);
}

RECT SheetLayout::Cell(int row, int column) const
{
    const int left = kMargin + column * (cellWidth + kMargin);
    const int top = kTitleHeight + kMargin + row * (cellHeight + kLabelHeight + kMargin);
    return {left, top, left + cellWidth, top + cellHeight};
}

RECT SheetLayout::Label(int row, int column) const
{
    const RECT cell = Cell(row, column);
    return {cell.left, cell.bottom, cell.right, cell.bottom + kLabelHeight};
}

std::vector<Setting> SheetSettings(const SheetRequest &request)
{
    std::vector<Setting> settings;
    for (const int escapement : request.escapements) {
        for (const int orientation : request.orientations) {
            settings.push_back({escapement, orientation, request.mode, request.alignment});
        }
    }
    return settings;
}

scene::Frame DrawSheet(const SceneDialog &dialog, const SheetRequest &request,
                       const std::function<void(const Setting &, const scene::Frame &)> &eachScene)
{
    RECT client;
    GetClientRect(dialog.hwnd(), &client);
    const SheetLayout layout(static_cast<int>(request.escapements.size()),
                             static_cast<int>(request.orientations.size()), client.right, client.bottom);
    const scene::DibCanvas canvas(layout.width(), layout.height());
    HDC dc = canvas.dc();

    const RECT paper = {0, 0, layout.width(), layout.height()};
    HBRUSH paperBrush = CreateSolidBrush(kPaperColor);
    FillRect(dc, &paper, paperBrush);
    DeleteObject(paperBrush);
    SetTextColor(dc, kLabelColor);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    Label(dc, SheetLayout::kMargin, (SheetLayout::kTitleHeight - kTitleFontHeight) / 2 + 2, kTitleFontHeight,
          Title(request));

    const std::vector<Setting> settings = SheetSettings(request);
    for (size_t i = 0; i < settings.size(); ++i) {
        const Setting &setting = settings[i];
        const int row = static_cast<int>(i) / layout.columns;
        const int column = static_cast<int>(i) % layout.columns;
        dialog.Apply(setting);
        if (eachScene) {
            eachScene(setting, dialog.Render());
        }
        const TextLayout text = LayOut(setting);
        const scene::Frame full =
            request.overlay
                ? dialog.Render([&](HDC sceneDc) { DrawOverlay(sceneDc, text, kOverlayThickness); })
                : dialog.Render();
        const scene::Frame reduced = Downscale(full, SheetLayout::kScale);

        GdiFlush();
        const RECT cell = layout.Cell(row, column);
        for (int y = 0; y < reduced.height(); ++y) {
            for (int x = 0; x < reduced.width(); ++x) {
                canvas.bits()[static_cast<size_t>(cell.top + y) * static_cast<size_t>(layout.width()) +
                              static_cast<size_t>(cell.left + x)] = reduced.At(x, y);
            }
        }
        // A thin frame just outside the cell, so that each scene reads as one.
        const RECT frame = {cell.left - 1, cell.top - 1, cell.right + 1, cell.bottom + 1};
        HBRUSH frameBrush = CreateSolidBrush(kCellFrameColor);
        FrameRect(dc, &frame, frameBrush);
        DeleteObject(frameBrush);
        const RECT label = layout.Label(row, column);
        Label(dc, label.left + 2, label.top + 2, kLabelFontHeight, AnglesLabel(setting));
    }
    return {layout.width(), layout.height(), canvas.Pixels()};
}

} // namespace atlas
