// A contact sheet: one reduced scene per escapement (rows) and orientation (columns), each
// labelled with its angles under it, the mode and alignment in a title line at the top.
#pragma once

#include "scene_control.h"
#include "scene_frame.h"

#include <functional>
#include <vector>

namespace atlas {

struct SheetLayout {
    static constexpr int kScale = 2;  // a cell is the scene reduced by this factor
    static constexpr int kMargin = 8; // around and between cells
    static constexpr int kTitleHeight = 24;
    static constexpr int kLabelHeight = 18; // under each cell

    int rows = 0;
    int columns = 0;
    int cellWidth = 0;
    int cellHeight = 0;

    SheetLayout(int rows, int columns, int sceneWidth, int sceneHeight);
    int width() const;
    int height() const;
    RECT Cell(int row, int column) const;
    RECT Label(int row, int column) const;
};

struct SheetRequest {
    std::vector<int> escapements;
    std::vector<int> orientations;
    Mode mode = Mode::kCompatible;
    Alignment alignment = Alignment::kBaseline;
    bool overlay = false;
};

// Each cell's setting, row by row.
std::vector<Setting> SheetSettings(const SheetRequest &request);

// `eachScene` sees every full-size scene (without overlay) as it is drawn.
scene::Frame DrawSheet(const SceneDialog &dialog, const SheetRequest &request,
                       const std::function<void(const Setting &, const scene::Frame &)> &eachScene = {});

} // namespace atlas
