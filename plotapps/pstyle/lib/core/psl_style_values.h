// Style and table values as people read them and as scripts pass them back: one text for each
// value, shared by the table commands' comparison, edits and legend sheet.
#pragma once

#include <cstdint>

#include <wx/string.h>

#include <kesutils/plot_style_table.h>

inline constexpr double kMillimetresPerInch = 25.4;
// The largest lineweight people may give, in millimetres.
inline constexpr double kMaxLineWeight = 200.0;
// What objects that keep the default lineweight are drawn with: the usual default of CAD
// programs.
inline constexpr double kDefaultLineWeight = 0.25;

// The colour word that means a style uses the object's colour: a table cannot store pure white.
inline constexpr std::int32_t kObjectColor = 0x00FFFFFF;

// True for the values of color2rgb that mean the object's colour.
bool isObjectColor(std::int32_t rgb);
// A plot colour from color2rgb (red in the low byte): "object", the lowest colour index whose
// palette entry it is ("5"; black counts as 7, as the colour picker shows it), or "#RRGGBB".
wxString colorText(std::int32_t rgb);
// The index colour 1 to 255 as it plots, red, green and blue with red in the low byte: 7 is
// white on a dark screen and black on paper.
std::uint32_t indexColorRgb(int index);
// The lowest colour index that plots as rgb (red in the low byte), or 0 when none does.
int colorIndexOf(std::uint32_t rgb);
// Red in the low byte to red in the third byte, and back.
std::uint32_t swapRedAndBlue(std::uint32_t rgb);
// The colour as a grayscale printer prints it: its luma (ITU-R BT.601) on all three channels.
std::uint32_t grayscale(std::uint32_t rgb);
// Screening thins the ink towards the paper's white: 100 prints the full colour, 0 nothing.
std::uint32_t screened(std::uint32_t rgb, int screening);

// "automatic" for pen 0, else the number.
wxString penText(int pen);
// A whole number in digits, as fast as the comparison of two tables needs it.
wxString integerText(int value);
wxString onOffText(bool on);
// A number with at most decimals digits after the point, trailing zeros dropped; always with a
// point, whatever the locale. Absurd numbers as fixedNumberText writes them ("1e+308").
wxString decimalText(double value, int decimals);

// A lineweight in millimetres shown in the table's units: "0.2500 mm" or 0.0098" (inch mark).
wxString lineWeightText(double millimetres, bool inches);
// The millimetres a style plots with, or a negative value when it uses the object's
// lineweight (or names no row of the table).
double styleLineWeight(const CPlotStyleTable& table, const CPlotStyle& style);
// True when the style names no row of the table's lineweights: it plots with the object's. A
// row may hold a negative value that another program wrote; that is not the object's lineweight.
bool usesObjectLineWeight(const CPlotStyle& style);
// The table's row (1 to 27, as a style's LineWeight) that holds millimetres to four decimals,
// or 0 when none does. Only lineweights from 0 to kMaxLineWeight match: a row that another
// program filled with an absurd value is never chosen.
int lineWeightIndexOf(const CPlotStyleTable& table, double millimetres);

bool usesInches(const CPlotStyleTable& table);

// How the style list names a style: "Color 3" in a colour-dependent table, the name otherwise.
wxString styleLabel(const CPlotStyleTable& table, int row);
