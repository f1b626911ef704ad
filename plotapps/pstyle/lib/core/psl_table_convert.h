// Named tables made from colour-dependent ones, so that an office can move its drawings to
// named plot styles and keep how every colour plots.
#pragma once

#include <kesutils/plot_style_table.h>

// A named table with the base style "Normal" first, then one style per colour index named as
// that colour's style (Color_1, ...) with its properties and description, and an ACI table
// that maps each colour index to its style. Description, scale factor, units and lineweights
// are carried over. Null when the table could not be created.
PlotStyleTablePtr convertToNamedTable(const CPlotStyleTable& colorDependent);
