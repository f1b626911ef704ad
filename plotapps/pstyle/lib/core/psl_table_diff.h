// The differences between two tables of one kind, compared by the values as they take effect:
// a lineweight by its millimetres, a colour by what it plots, so that a table written again by
// another program shows none.
#pragma once

#include <vector>

#include <wx/arrstr.h>
#include <wx/string.h>

class CPlotStyleTable;

struct TableDifference {
    enum class Subject { Table, ColorIndex, NamedStyle };
    Subject subject;
    // The colour index ("3") or the style's name; empty for the table.
    wxString name;
    // The key as `pstyle set` takes it ("lineweight"), or what an added or removed style lacks
    // ("style").
    wxString property;
    // As people read them, lineweights in the table's units; empty for an absent style.
    wxString oldText;
    wxString newText;
    // As scripts read them: lineweights in millimetres, catalogue values as numbers.
    wxString oldValue;
    wxString newValue;
};

// Table settings first, then style by style in the order of the newer table (removed styles
// last). Either side may be null for a table that does not exist, which makes the table itself
// the one difference; both must be of one kind.
std::vector<TableDifference> compareTables(const CPlotStyleTable* before,
                                           const CPlotStyleTable* after);

// "Color 3: lineweight 0.2500 mm → 0.3500 mm", "\"Heavy\": added", one line per difference.
wxArrayString differenceLines(const std::vector<TableDifference>& differences);
// A header line "style,property,old,new", then one quoted line per difference.
wxArrayString differenceCsvLines(const std::vector<TableDifference>& differences);
