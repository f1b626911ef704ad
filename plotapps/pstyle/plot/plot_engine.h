// The plot of a drawing's model space with a plot style table, fitted to a page: what each
// entity looks like on paper once its style has been applied.
#pragma once

#include <optional>
#include <string>

#include <wx/string.h>

#include "plot_drawing.h"
#include "plot_paper.h"
#include "plot_styles.h"

class CPlotStyleTable;

enum class PageSize { A4, A3, A2, A1, A0, Letter };

// A part of the page, in millimetres from its top left corner.
struct PaperArea {
    double left;
    double top;
    double width;
    double height;
};

struct PlotOptions {
    PageSize page = PageSize::A4;
    bool portrait = false;
    double margin = 10; // millimetres on every side
    // Where the drawing is fitted, less the margins: the whole page when there is none.
    std::optional<PaperArea> area;
    // Plot style names given to layers, in place of those the drawing gives them.
    LayerStyleOverrides layerStyles;
    // Nested block references multiply, and a damaged drawing can ask for more entities than
    // any page holds: past this many, block references are left out.
    long entityLimit = 2000000;
};

// "a4", "a3", "a2", "a1", "a0" or "letter"; false for anything else.
bool pageSizeFromName(const std::string& name, PageSize& page);
// The whole page, upright or lying.
PaperArea pageArea(PageSize page, bool portrait);

PaperPlot plotDrawing(const DxfDrawing& drawing, const CPlotStyleTable& table,
                      const PlotOptions& options);

// One line that counts what the plot left out by kind ("Not drawn: 2 DIMENSION, 1 IMAGE"),
// or an empty text when it drew everything.
wxString skippedSummary(const PaperPlot& plot);
