// The edits of the Form View as data: which property of a style takes which value, how a typed
// edit ("lineweight=0.35") and a list of styles ("1-7,250") are read, and how an edit is written
// to the styles of a table.
#pragma once

#include <cstdint>
#include <vector>

#include <wx/string.h>

class CPlotStyle;
class CPlotStyleTable;

enum class StyleProperty {
    Color,
    Dither,
    Grayscale,
    PhysicalPen,
    VirtualPen,
    Screening,
    LineType,
    Adaptive,
    LineWeight,
    EndStyle,
    JoinStyle,
    FillStyle,
};

struct StyleEdit {
    StyleProperty property;
    // The colour for updateColor (red in the third byte), 0 or 1 for on and off, the number
    // stored in the field, or for LineWeight 0 for the object's lineweight.
    std::int32_t value;
    // The lineweight to choose, found among each table's own rows; negative for the object's.
    double lineWeightMillimetres = -1.0;
};

// Reads "key=value" as `pstyle set` takes it; false with a one-line reason for a bad key or
// value.
bool parseStyleEdit(const wxString& assignment, StyleEdit& edit, wxString& error);

// Writes value to one style as the Form View does: the colour through updateColor, dither and
// grayscale as bits 0 and 1 of ColorPolicy, every other property as its field.
void setStyleProperty(CPlotStyle& style, StyleProperty property, std::int32_t value);

// The rows of the styles that list names: colour numbers and ranges ("1-7,250") in a
// colour-dependent table, style names in a named one; an empty list means every style but the
// base style of a named table, which keeps its properties. False with a reason otherwise.
bool selectStyles(const CPlotStyleTable& table, const wxString& list, std::vector<int>& rows,
                  wxString& error);

// Applies the edits to the styles at rows. False with a reason when a lineweight is not one of
// the table's rows; the table is unchanged then.
bool applyStyleEdits(CPlotStyleTable& table, const std::vector<int>& rows,
                     const std::vector<StyleEdit>& edits, wxString& error);
