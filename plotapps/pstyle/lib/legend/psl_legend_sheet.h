// A legend sheet of a table, for printing an office's standard: a header with title,
// description and file name, then one row per style with the colour it applies to, the colour
// it plots, a sample line at its lineweight with its screening and linetype, and its numbers.
// The sheet is laid out once in millimetres and drawn as SVG or as a PNG image.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <wx/image.h>
#include <wx/string.h>

class CPlotStyleTable;

struct SheetText {
    double x;
    double baseline;
    double size; // height of the font's em in millimetres
    bool bold;
    std::uint32_t color; // 0xRRGGBB
    wxString text;
};

// A rectangle filled with fill (unless it is hollow) and outlined in grey when framed.
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

struct LegendSheet {
    wxString title;
    double width;  // millimetres
    double height; // millimetres
    std::vector<SheetGroup> groups;
};

// The sheet's image is drawn at this many pixels per millimetre (127 dpi).
inline constexpr int kSheetPixelsPerMillimetre = 5;

// Width and height of the sheet in millimetres for rows styles.
double legendSheetWidth();
double legendSheetHeight(int rows);

// fileName is the table file's name as the sheet shows it.
LegendSheet layOutLegendSheet(const CPlotStyleTable& table, const wxString& fileName);

// The sheet as an SVG document in UTF-8, sized in millimetres; texts stay text, each style is a
// group of class "style".
std::string legendSheetSvg(const LegendSheet& sheet);

// The sheet drawn on an image, needing no display; kSheetPixelsPerMillimetre pixels per
// millimetre. An invalid image when the sheet is too long for one (more than 928 styles).
wxImage legendSheetImage(const LegendSheet& sheet);
