// One page of `pstyle plot`: the plots of one drawing, one per table, side by side; and what
// the outputs share in drawing them.
#pragma once

#include <string>
#include <vector>

#include "plot_paper.h"

struct PaperPage {
    double width;  // millimetres
    double height; // millimetres
    std::string title;
    std::vector<PaperPlot> plots;
};

// A lineweight of 0 mm asks for the thinnest line a plotter draws; the outputs draw it this
// many millimetres wide.
inline constexpr double kThinnestLine = 0.05;

// Lines are drawn at least this wide.
inline double drawnWidth(const PaperPath& path, double thinnest) {
    return path.width > thinnest ? path.width : thinnest;
}

// The triangles that give the ends of an open line drawn width wide the point of a diamond end;
// the line itself is drawn with butt ends. None for other ends and for areas.
std::vector<PaperPath> diamondEnds(const PaperPath& path, double width);

// Fonts are substituted by DejaVu Sans: its capital letters and descenders in ems, for outputs
// that do not measure the font.
inline constexpr char kPlotFontFamily[] = "DejaVu Sans";
inline constexpr double kPlotFontCapital = 0.729;
inline constexpr double kPlotFontDescent = 0.236;
