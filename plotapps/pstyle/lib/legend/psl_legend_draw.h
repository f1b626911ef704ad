// The legend sheet drawn by the drawing module, as PNG or PDF bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "psl_legend_sheet.h"
#include "pstyle_draw.h"

// The sheet's image has this many pixels per millimetre (127 dpi), at most kSheetMaxPixels on
// a side, so that a sheet of more than 928 styles fits only the SVG.
inline constexpr double kSheetPixelsPerMillimetre = 5;
inline constexpr int kSheetMaxPixels = 32767;

struct DrawnSheet {
    int status; // PstyleDrawStatus
    std::string bytes;
    std::string error; // why the module failed, when it did
    std::size_t missingGlyphs;
};

// The pages, one PDF page each, or the one sheet as a PNG image.
DrawnSheet drawLegendSheet(const PstyleDrawInterface& draw, const std::vector<LegendSheet>& pages,
                           PstyleDrawFormat format);
