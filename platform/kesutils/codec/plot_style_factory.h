// Builds tables for create() and the file reader; the table's constructor is private.
#pragma once

#include <memory>

#include <kesutils/plot_style_table.h>

class PlotStyleTableFactory {
public:
    // A table of that kind without styles, in storage of the shared allocator.
    static PlotStyleTablePtr makeEmpty(bool colorDependent);
    static void appendStyle(CPlotStyleTable& table, std::unique_ptr<CPlotStyle> style);
};
