// The table text inside a table file: key=value lines and brace sections.
#pragma once

#include <string>
#include <string_view>

#include <kesutils/plot_style_table.h>

// Bounds on what a file may declare, checked before anything is allocated for it.
constexpr std::size_t kMaxNamedStyles = 10000;
constexpr std::size_t kMaxUnknownKeys = 10000;

// Builds a table from UTF-8 text; headerColorDependent is the kind the file header names.
// Returns null with the reason in error when the text is not a sound table.
PlotStyleTablePtr parseTableText(std::string_view text, bool headerColorDependent,
                                 std::string& error);
// The canonical text of a table, ending in one NUL byte.
std::string formatTableText(const CPlotStyleTable& table);

// The same text a few kilobytes at a time, so that a writer can compress each piece while it is
// fresh in the cache and never holds the whole text.
class TableTextPieces {
public:
    explicit TableTextPieces(const CPlotStyleTable& table) : table_(table) {}
    // The next piece, valid until the next call; empty once the text is complete.
    std::string_view next();

private:
    static constexpr int kStylesPerPiece = 32;
    enum class Part { Head, Styles, Tail, Done };

    const CPlotStyleTable& table_;
    Part part_ = Part::Head;
    int nextStyle_ = 0;
    std::string piece_;
};
