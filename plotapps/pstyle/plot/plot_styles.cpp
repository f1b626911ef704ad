#include "plot_styles.h"

#include <algorithm>
#include <cmath>

#include <kesutils/plot_style_table.h>

#include "psl_catalogues.h"
#include "psl_style_names.h"
#include "psl_style_values.h"

namespace {

// Linetypes from this value on are ISO linetypes, which the table's scale factor leaves alone.
constexpr int kFirstIsoLineType = 17;
constexpr int kObjectLineType = 31;

LineEnd endOf(int value, int drawingEndCaps) {
    switch (value) {
    case 0:
        return LineEnd::Butt;
    case 1:
        return LineEnd::Square;
    case 2:
        return LineEnd::Round;
    case 3:
        return LineEnd::Diamond;
    default:
        break;
    }
    // The drawing's $ENDCAPS: 1 round, 2 angle, 3 square; none plots round.
    return drawingEndCaps == 2   ? LineEnd::Diamond
           : drawingEndCaps == 3 ? LineEnd::Square
                                 : LineEnd::Round;
}

LineJoin joinOf(int value, int drawingJoinStyle) {
    switch (value) {
    case 0:
        return LineJoin::Miter;
    case 1:
        return LineJoin::Bevel;
    case 2:
        return LineJoin::Round;
    case 3:
        return LineJoin::Diamond;
    default:
        break;
    }
    // The drawing's $JOINSTYLE: 1 round, 2 angle, 3 flat; none plots round.
    return drawingJoinStyle == 2   ? LineJoin::Miter
           : drawingJoinStyle == 3 ? LineJoin::Bevel
                                   : LineJoin::Round;
}

} // namespace

PlotStyles::PlotStyles(const CPlotStyleTable& table, const DxfDrawing& drawing,
                       const LayerStyleOverrides& layerStyles)
    : table_(table), drawing_(drawing) {
    std::vector<std::string> names = drawing.plotStyleNames;
    for (const Layer& layer : drawing.layers) {
        layerStyles_.push_back(layer.plotStyle);
    }
    for (const auto& [layerName, styleName] : layerStyles) {
        const int layer = drawing.findLayer(layerName);
        if (layer >= 0) {
            layerStyles_[layer] = int(names.size());
            names.push_back(styleName);
        }
    }
    for (const std::string& name : names) {
        // A name the table does not hold plots with the base style, Normal.
        namedStyles_.push_back(std::max(0, findStyleByName(table, wxString::FromUTF8(name))));
    }
    for (int row = 0; row < int(table.size()); ++row) {
        const CPlotStyle& style = *table.style(row);
        const double factor =
            table.ApplyFactor && style.LineType < kFirstIsoLineType ? table.ScaleFactor : 1.0;
        std::vector<double> dashes;
        for (const int length : lineTypeDashes(style.LineType)) {
            dashes.push_back(length * kLineTypePatternUnit * factor);
        }
        styleDashes_.push_back(std::move(dashes));
    }
}

int PlotStyles::nearestColorIndex(std::uint32_t rgb) const {
    const auto known = nearestColors_.find(rgb);
    if (known != nearestColors_.end()) {
        return known->second;
    }
    int nearest = 7;
    long best = -1;
    for (int index = 1; index <= CPlotStyleTable::kAciCount; ++index) {
        const std::uint32_t entry = swapRedAndBlue(indexColorRgb(index));
        long distance = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const long delta = long(rgb >> shift & 0xFF) - long(entry >> shift & 0xFF);
            distance += delta * delta;
        }
        if (best < 0 || distance < best) {
            best = distance;
            nearest = index;
        }
    }
    nearestColors_.emplace(rgb, nearest);
    return nearest;
}

int PlotStyles::styleFor(const ObjectLook& object) const {
    const int count = int(table_.size());
    if (!table_.ColorDependent) {
        return object.plotStyle >= 0 ? namedStyles_[object.plotStyle] : 0;
    }
    const int index = object.trueColor != kNoTrueColor
                          ? nearestColorIndex(std::uint32_t(object.trueColor))
                          : object.color;
    return std::clamp(index - 1, 0, count - 1);
}

PlotPen PlotStyles::pen(const ObjectLook& object) const {
    const int row = styleFor(object);
    const CPlotStyle& style = *table_.style(row);
    const std::int32_t styleColor = style.color2rgb();
    std::uint32_t color = swapRedAndBlue(std::uint32_t(styleColor) & 0xFFFFFF);
    if (isObjectColor(styleColor)) {
        color = object.trueColor != kNoTrueColor ? std::uint32_t(object.trueColor)
                                                 : swapRedAndBlue(indexColorRgb(object.color));
    }
    if (style.ColorPolicy & 2) {
        color = grayscale(color);
    }
    color = screened(color, style.Screening);

    const double width = styleLineWeight(table_, style);
    PlotPen pen{color,
                width < 0 ? object.lineWeight : width,
                &styleDashes_[row],
                false,
                1,
                endOf(style.EndStyle, drawing_.endCaps),
                joinOf(style.JoinStyle, drawing_.joinStyle)};
    if (style.LineType == kObjectLineType) {
        pen.dashes = object.lineType >= 0 ? &drawing_.lineTypes[object.lineType].pattern : nullptr;
        pen.dashesInDrawingUnits = true;
        pen.dashScale = object.lineTypeScale;
    }
    return pen;
}
