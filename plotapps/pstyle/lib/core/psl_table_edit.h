// The edits of the Form View as `pstyle set` takes them: how a typed edit ("lineweight=0.35")
// and a list of styles ("1-7,250") are read, and how the edits are made to a table through its
// document.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <wx/string.h>

#include "psl_style_property.h"

class CPlotStyleTable;
class TableDocument;

struct StyleEdit {
    StyleProperty property;
    // The colour for updateColor (red in the third byte), 0 or 1 for on and off, the number
    // stored in the field, or for LineWeight 0 for the object's lineweight.
    std::int32_t value;
    // The lineweight to choose, found among each table's own rows; negative for the object's.
    double lineWeightMillimetres = -1.0;
};

// Reads "key=value" as `pstyle set` takes it; false with a one-line reason for a bad key or
// value. Numbers are read in the same way in every locale, and only finite ones.
bool parseStyleEdit(const wxString& assignment, StyleEdit& edit, wxString& error);

// The rows of the styles that list names: colour numbers and ranges ("1-7,250") in a
// colour-dependent table, style names in a named one; no list means every style. The document
// leaves the base style of a named table as it is, so a list may name it among others but not
// alone. False with a reason otherwise (an empty list too). Linear in the table's styles and
// the list's names.
bool selectStyles(const CPlotStyleTable& table, const std::optional<wxString>& list,
                  std::vector<int>& rows, wxString& error);

// Makes the edits to the styles at rows through the document. False with a reason when a
// lineweight is not one of the table's rows or the document refuses a value; no edit is made
// then.
bool applyStyleEdits(TableDocument& document, const std::vector<int>& rows,
                     const std::vector<StyleEdit>& edits, wxString& error);
