#include "psl_legend_sheet.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include <wx/filename.h>
#include <wx/intl.h>

#include <kesutils/plot_style_table.h>

#include "psl_catalogues.h"
#include "psl_style_values.h"
#include "psl_text.h"

namespace {

// The page is A4 landscape wide; everything is in millimetres.
constexpr double kPageWidth = 297.0;
constexpr double kMargin = 10.0;
constexpr double kFirstRowTop = 41.0;
constexpr double kRowHeight = 7.0;
constexpr double kRowTextSize = 2.4;
constexpr double kSwatchSize = 4.0;
constexpr double kSampleLength = 46.0;
// A style that plots with the object's lineweight is drawn at a usual default.
constexpr double kObjectLineWeight = 0.25;
// One unit of the linetype patterns.
constexpr double kPatternUnit = 0.5;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGrey = 0x707070;
constexpr std::uint32_t kRowShade = 0xF2F2F2;

enum Column { Style, PlotsAs, Sample, Screening, Pen, VirtualPen, LineWeight, End, Join, Fill };

struct SheetColumn {
    const char* title;
    double x;
};

const SheetColumn kColumns[] = {
    {wxTRANSLATE("Style"), kMargin},  {wxTRANSLATE("Plots as"), 50},
    {wxTRANSLATE("Sample"), 76},      {wxTRANSLATE("Screening"), 124},
    {wxTRANSLATE("Pen"), 142},        {wxTRANSLATE("Virtual pen"), 156},
    {wxTRANSLATE("Lineweight"), 174}, {wxTRANSLATE("End"), 194},
    {wxTRANSLATE("Join"), 225},       {wxTRANSLATE("Fill"), 256},
};

double columnWidth(Column column) {
    const double next =
        column + 1 < int(std::size(kColumns)) ? kColumns[column + 1].x : kPageWidth - kMargin;
    return next - kColumns[column].x;
}

std::vector<std::pair<double, double>> dashes(int lineType, double from, double to) {
    const std::vector<int> lengths = lineTypeDashes(lineType);
    if (lengths.empty()) {
        return {{from, to}};
    }
    std::vector<std::pair<double, double>> result;
    double x = from;
    for (std::size_t i = 0; x < to; i = (i + 1) % lengths.size()) {
        const double end = std::min(to, x + lengths[i] * kPatternUnit);
        if (i % 2 == 0) {
            result.emplace_back(x, end);
        }
        x = end;
    }
    return result;
}

std::uint32_t gray(std::uint32_t rgb) {
    const double luma =
        0.299 * (rgb >> 16 & 0xFF) + 0.587 * (rgb >> 8 & 0xFF) + 0.114 * (rgb & 0xFF);
    const std::uint32_t level = std::uint32_t(std::lround(luma));
    return level << 16 | level << 8 | level;
}

// Screening thins the ink towards the paper's white: 100 plots the full colour, 0 nothing.
std::uint32_t screened(std::uint32_t rgb, int screening) {
    const double ink = std::clamp(screening, 0, 100) / 100.0;
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double channel = rgb >> shift & 0xFF;
        result |= std::uint32_t(std::lround(255 - (255 - channel) * ink)) << shift;
    }
    return result;
}

// Cuts text that would run into the next column; the width of a character is estimated,
// since the SVG reader picks the font.
wxString fitted(const wxString& text, double width, double size) {
    const std::size_t fits = std::size_t(width / (size * 0.55));
    if (text.length() <= fits || fits < 2) {
        return text;
    }
    return text.Left(fits - 1) + wxString::FromUTF8("\xE2\x80\xA6");
}

// "1-6, 8, 250": the colour indices that plot with the style at row, through the ACI table.
wxString colorsOf(const CPlotStyleTable& table, int row) {
    const CPlotStyle* style = table.style(row);
    wxString ranges;
    for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
        if (table.AciTable[index] != style) {
            continue;
        }
        int last = index;
        while (last + 1 < CPlotStyleTable::kAciCount && table.AciTable[last + 1] == style) {
            ++last;
        }
        ranges += ranges.empty() ? "" : ", ";
        ranges += last == index ? wxString::Format("%d", index + 1)
                                : wxString::Format("%d-%d", index + 1, last + 1);
        index = last;
    }
    return ranges;
}

class SheetBuilder {
public:
    explicit SheetBuilder(const CPlotStyleTable& table) : table_(table) {}

    SheetGroup header(const wxString& fileName) const {
        SheetGroup group{"header", {}, {}, {}};
        const wxString kind = table_.ColorDependent ? _("color-dependent table") : _("named table");
        const wxString details =
            wxString::Format(_("%ls, %ls, %d styles"), fileName, kind, int(table_.size()));
        group.texts.push_back({kMargin, 16, 6, true, kBlack, wxFileName(fileName).GetName()});
        group.texts.push_back({kMargin, 23, 3.5, false, kBlack, toWxString(table_.Description)});
        group.texts.push_back({kMargin, 29, 2.8, false, kGrey, details});
        return group;
    }

    SheetGroup columnTitles() const {
        SheetGroup group{"columns", {}, {}, {}};
        for (const SheetColumn& column : kColumns) {
            group.texts.push_back(
                {column.x, 37, 2.6, true, kBlack, wxGetTranslation(column.title)});
        }
        group.boxes.push_back({kMargin, 39, kPageWidth - 2 * kMargin, 0.3, kGrey, false, false});
        return group;
    }

    SheetGroup styleRow(int row) const {
        const CPlotStyle& style = *table_.style(row);
        const double top = kFirstRowTop + row * kRowHeight;
        SheetGroup group{"style", {}, {}, {}};
        if (row % 2 == 1) {
            group.boxes.push_back(
                {kMargin, top, kPageWidth - 2 * kMargin, kRowHeight, kRowShade, false, false});
        }

        // The colour the style applies to, and the colour it plots.
        wxString name = styleLabel(table_, row);
        if (table_.ColorDependent) {
            addSwatch(group, Style, top, swapRedAndBlue(indexColorRgb(row + 1)), false);
        } else if (table_.AciTableAvailable) {
            const wxString colors = colorsOf(table_, row);
            name += colors.empty() ? wxString() : " (" + colors + ")";
        }
        addText(group, Style, top, name, table_.ColorDependent ? kSwatchSize + 1.5 : 0);

        const std::int32_t rgb = style.color2rgb();
        const bool objectColor = isObjectColor(rgb);
        std::uint32_t plotted = swapRedAndBlue(std::uint32_t(rgb));
        if (objectColor) {
            plotted = table_.ColorDependent ? swapRedAndBlue(indexColorRgb(row + 1)) : kBlack;
        }
        addSwatch(group, PlotsAs, top, plotted, objectColor && !table_.ColorDependent);
        addText(group, PlotsAs, top, colorText(rgb), kSwatchSize + 1.5);

        // The sample: lineweight to scale, screening and linetype as they plot.
        const double lineWeight = styleLineWeight(table_, style);
        std::uint32_t ink = (style.ColorPolicy & 2) ? gray(plotted) : plotted;
        ink = screened(ink, style.Screening);
        const double from = kColumns[Sample].x;
        group.lines.push_back({top + kRowHeight / 2,
                               lineWeight < 0 ? kObjectLineWeight : lineWeight, ink,
                               dashes(style.LineType, from, from + kSampleLength)});

        addText(group, Screening, top, wxString::Format("%d %%", style.Screening));
        addText(group, Pen, top, penText(style.PhysPenNum));
        addText(group, VirtualPen, top, penText(style.VirtPenNum));
        addText(group, LineWeight, top,
                lineWeight < 0 ? wxString("object")
                               : lineWeightText(lineWeight, usesInches(table_)));
        addText(group, End, top, endStyleLabel(style.EndStyle));
        addText(group, Join, top, joinStyleLabel(style.JoinStyle));
        addText(group, Fill, top, fillStyleLabel(style.FillStyle));
        return group;
    }

private:
    static void addText(SheetGroup& group, Column column, double top, const wxString& text,
                        double indent = 0) {
        const double x = kColumns[column].x + indent;
        group.texts.push_back({x, top + 4.4, kRowTextSize, false, kBlack,
                               fitted(text, columnWidth(column) - indent - 1, kRowTextSize)});
    }

    static void addSwatch(SheetGroup& group, Column column, double top, std::uint32_t fill,
                          bool hollow) {
        const double y = top + (kRowHeight - kSwatchSize) / 2;
        group.boxes.push_back(
            {kColumns[column].x, y, kSwatchSize, kSwatchSize, fill, hollow, true});
    }

    const CPlotStyleTable& table_;
};

} // namespace

double legendSheetWidth() {
    return kPageWidth;
}

double legendSheetHeight(int rows) {
    return kFirstRowTop + rows * kRowHeight + kMargin;
}

LegendSheet layOutLegendSheet(const CPlotStyleTable& table, const wxString& fileName) {
    const int rows = int(table.size());
    LegendSheet sheet{fileName, legendSheetWidth(), legendSheetHeight(rows), {}};
    const SheetBuilder builder(table);
    sheet.groups.push_back(builder.header(fileName));
    sheet.groups.push_back(builder.columnTitles());
    for (int row = 0; row < rows; ++row) {
        sheet.groups.push_back(builder.styleRow(row));
    }
    return sheet;
}
