// A drawing as it lands on paper: lines, fills and texts in millimetres of a page, each with
// the colour, width, pattern, ends and joins its plot style gives it. The plot engine makes
// these; the drawing module paints them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

// Millimetres from the page's top left corner, y running down the page.
struct PaperPoint {
    double x;
    double y;
};

enum class LineEnd { Butt, Square, Round, Diamond };
enum class LineJoin { Miter, Bevel, Round, Diamond };

// One stroked line or one filled area.
struct PaperPath {
    std::vector<PaperPoint> points;
    // Where further sub-paths start in points (an area with holes); empty for one path.
    std::vector<std::uint32_t> subpathStarts;
    bool closed = false;
    // Filled with color by the even-odd rule instead of stroked.
    bool filled = false;
    std::uint32_t color = 0; // 0xRRGGBB
    double width = 0;        // millimetres; 0 is the thinnest line the output can draw
    // Dash and gap lengths in millimetres, starting with a dash, always an even count; empty
    // for a solid line. The pattern starts dashOffset millimetres into it.
    std::vector<double> dashes;
    double dashOffset = 0;
    LineEnd end = LineEnd::Round;
    LineJoin join = LineJoin::Round;
};

enum class TextAlign { Left, Center, Right };
enum class TextBaseline { Baseline, Bottom, Middle, Top };

// A text in one font for all; lines are separated by '\n', their baselines lineSpacing apart.
// The alignment places the block of lines at position: Top is the top of the first line,
// Baseline the baseline of the first, Bottom the bottom of the last.
struct PaperText {
    PaperPoint position;
    double height;      // millimetres from baseline to the top of a capital letter
    double rotation;    // degrees, counter-clockwise as seen on the page
    double widthFactor; // 1 for the font's own width
    // Turned by rotation, the letters stand upside down: mirrored across their baseline, as
    // a text reads in a mirrored block, or backwards.
    bool mirrored;
    TextAlign align;
    TextBaseline baseline;
    double lineSpacing; // millimetres
    std::uint32_t color;
    std::string content; // UTF-8, formatting codes removed
};

using PaperItem = std::variant<PaperPath, PaperText>;

struct PaperPlot {
    double width;  // page, millimetres
    double height; // page, millimetres
    // Paper millimetres per drawing unit.
    double scale;
    // In drawing order.
    std::vector<PaperItem> items;
    // Entities the plot leaves out though their layers plot, by kind ("DIMENSION", "IMAGE").
    std::map<std::string, int> skipped;
};
