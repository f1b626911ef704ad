// A colour-dependent table of 255 styles that differ in colour, lineweight, pens and
// description, as an office's table does: what the benchmarks read, write and compare.
#pragma once

#include <string>

#include <kesutils/plot_style_table.h>

inline PlotStyleTablePtr sampleTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    table->Description = u"Office standard A1 – colour plots, 2024 revision";
    table->ScaleFactor = 2.5;
    for (int index = 0; index < static_cast<int>(table->size()); ++index) {
        CPlotStyle& style = *table->style(index);
        style.updateColor((index * 0x3A7F1D) & 0xFFFFFF);
        const std::string description = "Pen " + std::to_string(index % 32 + 1) + ": layer group " +
                                        std::to_string(index) + ", walls and cuts";
        style.setDesc(std::u16string(description.begin(), description.end()));
        style.LineWeight = index % 28;
        style.PhysPenNum = index % 33;
        style.VirtPenNum = index;
        style.Screening = 100 - index % 101;
        style.LineType = index % 32;
        style.LinePatSize = 0.25 * (index % 40 + 1);
    }
    return table;
}
