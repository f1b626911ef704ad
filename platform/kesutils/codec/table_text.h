// The table text inside a table file: key=value lines and brace sections.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include <kesutils/plot_style_table.h>

#include "text_buffer.h"

// A block that the model has no field for is kept whole under its key with this suffix.
constexpr char kBlockSuffix = '{';

// The keys of a style, in the order the writer puts them. A reader looks for each key after
// the one it found last, so that files in this order need one comparison per line.
enum class StyleValue {
    Name,
    LocalizedName,
    Description,
    Color,
    ModeColor,
    Integer,
    Real,
    Boolean
};

struct StyleKey {
    std::string_view key;
    StyleValue value;
    std::int32_t CPlotStyle::*integer = nullptr;
};

inline constexpr StyleKey kStyleKeys[] = {
    {"name", StyleValue::Name},
    {"localized_name", StyleValue::LocalizedName},
    {"description", StyleValue::Description},
    {"color", StyleValue::Color},
    {"mode_color", StyleValue::ModeColor},
    {"color_policy", StyleValue::Integer, &CPlotStyle::ColorPolicy},
    {"physical_pen_number", StyleValue::Integer, &CPlotStyle::PhysPenNum},
    {"virtual_pen_number", StyleValue::Integer, &CPlotStyle::VirtPenNum},
    {"screen", StyleValue::Integer, &CPlotStyle::Screening},
    {"linepattern_size", StyleValue::Real},
    {"linetype", StyleValue::Integer, &CPlotStyle::LineType},
    {"adaptive_linetype", StyleValue::Boolean},
    {"lineweight", StyleValue::Integer, &CPlotStyle::LineWeight},
    {"fill_style", StyleValue::Integer, &CPlotStyle::FillStyle},
    {"end_style", StyleValue::Integer, &CPlotStyle::EndStyle},
    {"join_style", StyleValue::Integer, &CPlotStyle::JoinStyle},
};
inline constexpr std::size_t kStyleKeyCount = std::size(kStyleKeys);

// Bounds on what a file may declare, checked before anything is allocated for it (the others
// are CPlotStyleTable's).
constexpr std::size_t kMaxUnknownKeys = 10000;

// Builds a table from UTF-8 text; headerColorDependent is the kind the file header names.
// Returns null with the reason in error when the text is not a sound table; report, when given,
// says what was filled in.
PlotStyleTablePtr parseTableText(std::string_view text, bool headerColorDependent,
                                 std::string& error, PlotStyleReadReport* report = nullptr);
// Why the table holds more than a file may hold, or empty when it does not.
std::string tableBeyondLimits(const CPlotStyleTable& table);
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
    TextBuffer piece_;
};
