// Which style of a plot style table an object plots with, and what that style makes of the
// object's own colour, lineweight and linetype.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "plot_drawing.h"
#include "plot_paper.h"

class CPlotStyleTable;

// A drawn object's own properties, BYLAYER and BYBLOCK resolved.
struct ObjectLook {
    int color = 7;                         // 1 to 255
    std::int32_t trueColor = kNoTrueColor; // 0xRRGGBB, taking the place of color
    double lineWeight = 0.25;              // millimetres
    int lineType = -1;                     // index into the drawing's linetypes; -1 continuous
    double lineTypeScale = 1;              // the drawing's and the object's scale
    int plotStyle = -1;                    // index into PlotStyles::styleNames(); -1 names none
};

// The pen an object plots with. Dashes are in paper millimetres, or in drawing units when
// they are the object's own linetype.
struct PlotPen {
    std::uint32_t color;
    double width;
    const std::vector<double>* dashes; // null or empty for a solid line
    bool dashesInDrawingUnits;
    double dashScale; // drawing dashes only
    LineEnd end;
    LineJoin join;
};

// "LAYER=NAME" pairs given on the command line, as read there.
using LayerStyleOverrides = std::vector<std::pair<std::string, std::string>>;

class PlotStyles {
public:
    PlotStyles(const CPlotStyleTable& table, const DxfDrawing& drawing,
               const LayerStyleOverrides& layerStyles);

    // The plot style name (index, or -1) of objects that take their layer's.
    int layerPlotStyle(int layer) const { return layerStyles_[layer]; }
    // Position in the table of the style the object plots with.
    int styleFor(const ObjectLook& object) const;
    PlotPen pen(const ObjectLook& object) const;

private:
    int nearestColorIndex(std::uint32_t rgb) const;

    const CPlotStyleTable& table_;
    const DxfDrawing& drawing_;
    std::vector<int> layerStyles_;
    // The table's style for each plot style name of the drawing and the command line.
    std::vector<int> namedStyles_;
    // Each style's own linetype in paper millimetres.
    std::vector<std::vector<double>> styleDashes_;
    mutable std::unordered_map<std::uint32_t, int> nearestColors_;
};
