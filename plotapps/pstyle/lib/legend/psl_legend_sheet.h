// A legend sheet of a table, for printing an office's standard: a header with title,
// description and file name, then one row per style with the colour it applies to, the colour
// it plots, a sample line at its lineweight with its screening and linetype, and its numbers.
// The sheet is laid out once in millimetres, as one tall sheet or on pages of a paper size, and
// written as SVG (psl_legend_svg) or drawn as PNG or PDF (psl_legend_draw).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <wx/string.h>

class CPlotStyleTable;

struct SheetText {
    double x;
    double baseline;
    double size; // height of the font's em in millimetres
    bool bold;
    std::uint32_t color; // 0xRRGGBB
    wxString text;
    bool endsAtX = false; // x is where the text ends rather than where it starts
};

// A rectangle filled with fill (unless it is hollow) and outlined when framed.
struct SheetBox {
    double x;
    double y;
    double width;
    double height;
    std::uint32_t fill;
    bool hollow;
    bool framed;
};

// A horizontal line at y drawn as dashes, each from one x to another.
struct SheetLine {
    double y;
    double width;
    std::uint32_t color;
    std::vector<std::pair<double, double>> dashes;
};

// What belongs to one part of the sheet: the header, the column titles, or one style.
struct SheetGroup {
    const char* kind; // "header", "columns" or "style"
    std::vector<SheetBox> boxes;
    std::vector<SheetLine> lines;
    std::vector<SheetText> texts;
};

// One sheet, or one page of a sheet.
struct LegendSheet {
    wxString title;
    double width;  // millimetres
    double height; // millimetres
    std::vector<SheetGroup> groups;
};

// A sheet is for printing and reading: it shows at most this many styles (46 pages of A4), which
// also bounds the time and memory that drawing it takes.
inline constexpr int kMaxSheetStyles = 1000;

inline constexpr std::uint32_t kSheetFrameColor = 0x808080;
inline constexpr double kSheetFrameWidth = 0.15;

struct PaperSize {
    double width;
    double height;
};

// The paper a sheet's pages print on, by name ("a4", "a3", "letter"), landscape unless
// portrait; none for another name.
std::optional<PaperSize> paperSize(const wxString& name, bool portrait);

// Width and height of the sheet in millimetres for rows styles.
double legendSheetWidth();
double legendSheetHeight(int rows);

// fileName is the table file's name as the sheet shows it.
LegendSheet layOutLegendSheet(const CPlotStyleTable& table, const wxString& fileName);

// The sheet on numbered pages of the paper's size, each starting with the table's heading and
// the column titles, and holding as many whole rows as fit. Columns spread over the paper's
// width; texts keep their size and sample lines their lineweight.
std::vector<LegendSheet> layOutLegendPages(const CPlotStyleTable& table, const wxString& fileName,
                                           PaperSize paper);

// The sheet as an SVG document in UTF-8, sized in millimetres; texts stay text, each style is a
// group of class "style".
std::string legendSheetSvg(const LegendSheet& sheet);
