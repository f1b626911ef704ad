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

// The sheet is A4 landscape wide; everything is in millimetres.
constexpr double kPageWidth = 297.0;
constexpr double kMargin = 10.0;
// Below the heading: the header and the column titles.
constexpr double kFirstRowTop = 41.0;
constexpr double kRowHeight = 7.0;
constexpr double kRowTextSize = 2.4;
constexpr double kSwatchSize = 4.0;
// The sample line leaves this much of its column free.
constexpr double kSampleGap = 2.0;
// A text too wide for its place is drawn down to this part of its size before it is cut.
constexpr double kSmallestText = 0.7;
// The title leaves room for the page number.
constexpr double kPageNumberRoom = 40.0;

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

std::vector<std::pair<double, double>> dashes(int lineType, double from, double to) {
    const std::vector<int> lengths = lineTypeDashes(lineType);
    if (lengths.empty()) {
        return {{from, to}};
    }
    std::vector<std::pair<double, double>> result;
    double x = from;
    for (std::size_t i = 0; x < to; i = (i + 1) % lengths.size()) {
        const double end = std::min(to, x + lengths[i] * kLineTypePatternUnit);
        if (i % 2 == 0) {
            result.emplace_back(x, end);
        }
        x = end;
    }
    return result;
}

// Characters as wide as they are high: the ideographs, kana and hangul of East Asian scripts
// and the full-width forms.
bool isWide(wxUniChar::value_type code) {
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
           (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
           (code >= 0xFFE0 && code <= 0xFFE6) || code >= 0x20000;
}

// The estimated width of a character: the SVG reader picks the font.
double characterWidth(wxUniChar character, double size, bool bold) {
    if (isWide(character.GetValue())) {
        return size;
    }
    return size * (bold ? 0.62 : 0.55);
}

// The estimated width of a text, counted only up to limit.
double estimatedWidth(const wxString& text, double size, bool bold, double limit) {
    double width = 0;
    for (auto character = text.begin(); character != text.end() && width <= limit; ++character) {
        width += characterWidth(*character, size, bold);
    }
    return width;
}

// A text at x that ends before x + width, on one line: drawn smaller when it is too wide, down
// to kSmallestText of its size, and then cut before an ellipsis. Line breaks and other control
// characters become spaces.
SheetText fittedText(double x, double baseline, double size, bool bold, std::uint32_t color,
                     const wxString& text, double width) {
    const double natural = estimatedWidth(text, size, bold, width / kSmallestText);
    if (natural > width) {
        size = std::max(size * kSmallestText, size * width / natural);
    }
    wxString line;
    double used = 0;
    for (const wxUniChar character : text) {
        if (used + characterWidth(character, size, bold) > width) {
            while (!line.empty() && used + characterWidth(' ', size, bold) > width) {
                used -= characterWidth(line.Last(), size, bold);
                line.RemoveLast();
            }
            line += wxString::FromUTF8("\xE2\x80\xA6");
            break;
        }
        used += characterWidth(character, size, bold);
        const wxUniChar::value_type code = character.GetValue();
        line += code < 0x20 || code == 0x7F ? wxUniChar(' ') : character;
    }
    return {x, baseline, size, bold, color, line};
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

// The width of a style's sample line: its lineweight to scale, but no wider than its row; a
// lineweight below 0 or not a number, which only another program can have stored, draws
// nothing.
double sampleWidth(const CPlotStyleTable& table, const CPlotStyle& style) {
    if (usesObjectLineWeight(style)) {
        return kDefaultLineWeight;
    }
    const double lineWeight = styleLineWeight(table, style);
    return lineWeight >= 0 ? std::min(lineWeight, kRowHeight) : 0.0;
}

// Lays out sheets and pages width millimetres wide: the columns keep their share of the width
// between the margins.
class SheetBuilder {
public:
    SheetBuilder(const CPlotStyleTable& table, double width)
        : table_(table), width_(width),
          columnScale_((width - 2 * kMargin) / (kPageWidth - 2 * kMargin)) {}

    // Page number and pages are 0 for a sheet that is not paged.
    SheetGroup header(const wxString& fileName, int page, int pages) const {
        SheetGroup group{"header", {}, {}, {}};
        const wxString kind = table_.ColorDependent ? _("color-dependent table") : _("named table");
        const wxString details =
            wxString::Format(_("%ls, %ls, %d styles"), fileName, kind, int(table_.size()));
        const double room = contentWidth() - (pages > 0 ? kPageNumberRoom : 0);
        addHeaderText(group, 16, 6, true, kBlack, wxFileName(fileName).GetName(), room);
        addHeaderText(group, 23, 3.5, false, kBlack, toWxString(table_.Description),
                      contentWidth());
        addHeaderText(group, 29, 2.8, false, kGrey, details, contentWidth());
        if (pages > 0) {
            group.texts.push_back({width_ - kMargin, 16, 2.8, false, kGrey,
                                   wxString::Format(_("Page %d of %d"), page, pages), true});
        }
        return group;
    }

    SheetGroup columnTitles() const {
        SheetGroup group{"columns", {}, {}, {}};
        for (int column = Style; column <= Fill; ++column) {
            group.texts.push_back(fittedText(columnX(Column(column)), 37, 2.6, true, kBlack,
                                             wxGetTranslation(kColumns[column].title),
                                             columnWidth(Column(column)) - 1));
        }
        group.boxes.push_back({kMargin, 39, contentWidth(), 0.3, kGrey, false, false});
        return group;
    }

    // The style of row at top.
    SheetGroup styleRow(int row, double top) const {
        const CPlotStyle& style = *table_.style(row);
        SheetGroup group{"style", {}, {}, {}};
        if (row % 2 == 1) {
            group.boxes.push_back(
                {kMargin, top, contentWidth(), kRowHeight, kRowShade, false, false});
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
        std::uint32_t ink = (style.ColorPolicy & 2) ? grayscale(plotted) : plotted;
        ink = screened(ink, style.Screening);
        const double from = columnX(Sample);
        group.lines.push_back(
            {top + kRowHeight / 2, sampleWidth(table_, style), ink,
             dashes(style.LineType, from, from + columnWidth(Sample) - kSampleGap)});

        addText(group, Screening, top, wxString::Format("%d %%", style.Screening));
        addText(group, Pen, top, penText(style.PhysPenNum));
        addText(group, VirtualPen, top, penText(style.VirtPenNum));
        addText(group, LineWeight, top,
                usesObjectLineWeight(style)
                    ? wxString("object")
                    : lineWeightText(styleLineWeight(table_, style), usesInches(table_)));
        addText(group, End, top, endStyleLabel(style.EndStyle));
        addText(group, Join, top, joinStyleLabel(style.JoinStyle));
        addText(group, Fill, top, fillStyleLabel(style.FillStyle));
        return group;
    }

private:
    double contentWidth() const { return width_ - 2 * kMargin; }

    double columnX(Column column) const {
        return kMargin + (kColumns[column].x - kMargin) * columnScale_;
    }

    double columnWidth(Column column) const {
        const double next = column < Fill ? columnX(Column(column + 1)) : width_ - kMargin;
        return next - columnX(column);
    }

    static void addHeaderText(SheetGroup& group, double baseline, double size, bool bold,
                              std::uint32_t color, const wxString& text, double room) {
        group.texts.push_back(fittedText(kMargin, baseline, size, bold, color, text, room));
    }

    void addText(SheetGroup& group, Column column, double top, const wxString& text,
                 double indent = 0) const {
        group.texts.push_back(fittedText(columnX(column) + indent, top + 4.4, kRowTextSize, false,
                                         kBlack, text, columnWidth(column) - indent - 1));
    }

    void addSwatch(SheetGroup& group, Column column, double top, std::uint32_t fill,
                   bool hollow) const {
        const double y = top + (kRowHeight - kSwatchSize) / 2;
        group.boxes.push_back({columnX(column), y, kSwatchSize, kSwatchSize, fill, hollow, true});
    }

    const CPlotStyleTable& table_;
    double width_;
    double columnScale_;
};

} // namespace

std::optional<PaperSize> paperSize(const wxString& name, bool portrait) {
    static const struct {
        const char* name;
        PaperSize landscape;
    } papers[] = {
        {"a4", {297, 210}},
        {"a3", {420, 297}},
        {"letter", {11 * kMillimetresPerInch, 8.5 * kMillimetresPerInch}},
    };
    for (const auto& paper : papers) {
        if (name == paper.name) {
            const PaperSize size = paper.landscape;
            return portrait ? PaperSize{size.height, size.width} : size;
        }
    }
    return std::nullopt;
}

double legendSheetWidth() {
    return kPageWidth;
}

double legendSheetHeight(int rows) {
    return kFirstRowTop + rows * kRowHeight + kMargin;
}

LegendSheet layOutLegendSheet(const CPlotStyleTable& table, const wxString& fileName) {
    const int rows = int(table.size());
    LegendSheet sheet{fileName, legendSheetWidth(), legendSheetHeight(rows), {}};
    const SheetBuilder builder(table, sheet.width);
    sheet.groups.push_back(builder.header(fileName, 0, 0));
    sheet.groups.push_back(builder.columnTitles());
    for (int row = 0; row < rows; ++row) {
        sheet.groups.push_back(builder.styleRow(row, kFirstRowTop + row * kRowHeight));
    }
    return sheet;
}

std::vector<LegendSheet> layOutLegendPages(const CPlotStyleTable& table, const wxString& fileName,
                                           PaperSize paper) {
    const int rows = int(table.size());
    const int rowsPerPage = std::max(1, int((paper.height - kFirstRowTop - kMargin) / kRowHeight));
    const int pages = std::max(1, (rows + rowsPerPage - 1) / rowsPerPage);
    const SheetBuilder builder(table, paper.width);
    std::vector<LegendSheet> result;
    for (int page = 0; page < pages; ++page) {
        LegendSheet sheet{fileName, paper.width, paper.height, {}};
        sheet.groups.push_back(builder.header(fileName, page + 1, pages));
        sheet.groups.push_back(builder.columnTitles());
        const int first = page * rowsPerPage;
        for (int row = first; row < std::min(rows, first + rowsPerPage); ++row) {
            sheet.groups.push_back(
                builder.styleRow(row, kFirstRowTop + (row - first) * kRowHeight));
        }
        result.push_back(std::move(sheet));
    }
    return result;
}
