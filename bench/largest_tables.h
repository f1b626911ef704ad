// Tables at the limits of what the reader takes: 4 MiB of text, the most styles, the longest
// names, descriptions as long as the rest of the text allows. They make the table commands hold
// and spend the most. Texts are ASCII, the most characters for their bytes.
#pragma once

#include <algorithm>
#include <string>

#include <kesutils/plot_style_table.h>

#include "plot_style_codec.h"
#include "table_text.h"

// The text of row: its number, then fill up to bytes.
inline std::string largestTableText(int row, char fill, std::size_t bytes) {
    std::string value = std::to_string(row) + " ";
    value.resize(std::max(bytes, value.size()), fill);
    return value;
}

// The names of the styles of the named tables below, but for Normal.
inline std::string largestTableStyleName(int row, std::size_t nameBytes) {
    return largestTableText(row, 'n', nameBytes);
}

// A table of count styles (255 for a colour-dependent one) with names of nameBytes.
inline PlotStyleTablePtr largestTable(bool colorDependent, int count, std::size_t nameBytes) {
    constexpr std::size_t kTextLimit = 4u << 20;
    const auto text = [](int row, char fill, std::size_t bytes) {
        const std::string value = largestTableText(row, fill, bytes);
        return std::u16string(value.begin(), value.end());
    };
    PlotStyleTablePtr table(CPlotStyleTable::create(colorDependent, nullptr));
    for (int row = int(table->size()); row < count; ++row) {
        table->addStyle(text(row, 'n', nameBytes).c_str(), row - 1, nullptr);
    }
    const int first = colorDependent ? 0 : 1; // Normal keeps its name
    for (int row = first; row < int(table->size()); ++row) {
        const std::u16string name = text(row, 'n', nameBytes);
        table->style(row)->setTexts(name, name, u"");
    }
    const std::size_t used = formatTableText(*table).size() + 1024;
    const std::size_t each =
        std::min<std::size_t>(CPlotStyleTable::kMaxDescriptionBytes,
                              (kTextLimit - std::min(used, kTextLimit)) / table->size());
    for (int row = 0; row < int(table->size()); ++row) {
        table->style(row)->setDesc(text(row, 'd', each));
    }
    return table;
}

// The largest table of each kind as a file: 10,000 named styles, 928 named styles with the
// longest names (the most a PNG legend sheet draws), 255 colour-dependent ones.
enum class LargestTable { ManyStyles, LongNames, ColorDependent };
constexpr std::size_t kManyStylesNameBytes = 8;

inline bool writeLargestTable(LargestTable which, const std::string& path) {
    const PlotStyleTablePtr table = which == LargestTable::ManyStyles
                                        ? largestTable(false, 10000, kManyStylesNameBytes)
                                    : which == LargestTable::LongNames
                                        ? largestTable(false, 928, CPlotStyleTable::kMaxNameBytes)
                                        : largestTable(true, 255, CPlotStyleTable::kMaxNameBytes);
    std::string error;
    return writePlotStyleTableFile(*table, path, error);
}
