// The arguments of `pstyle plot`, read and checked before any file is opened.
#pragma once

#include <string>
#include <vector>

#include "plot_engine.h"

enum class PlotFormat { Pdf, Png, Svg };

struct PlotArguments {
    std::string drawing;
    std::string table;
    std::string compareTable; // empty unless --compare
    std::string output;
    PlotFormat format = PlotFormat::Pdf;
    PageSize page = PageSize::A4;
    bool portrait = false;
    int dotsPerInch = 150;
    LayerStyleOverrides layerStyles;
};

// A PNG has at most this many pixels on a side.
inline constexpr int kMaxPlotPixels = 16384;

extern const char* const kPlotHelp;

// False after reporting bad usage in one line.
bool parsePlotArguments(const std::vector<std::string>& args, PlotArguments& parsed);
