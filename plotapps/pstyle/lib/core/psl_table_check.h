// What `pstyle check` finds in a table: what other programs misread in it (braces in style
// names, line breaks and control characters in descriptions), what the reader had to fill in
// (missing lineweights, a colour-dependent table without its 255 styles), and how it differs
// from a reference table.
#pragma once

#include <vector>

#include <wx/string.h>

#include <kesutils/plot_style_table.h>

struct TableFinding {
    // For scripts: unreadable, braces, line-break, control-character, lineweight-rows,
    // style-count or differs.
    const char* kind;
    // For people, after the file's name.
    wxString text;
    // The comma-separated fields style,property,expected,found.
    wxString fields;
};

inline constexpr char kFindingCsvHeader[] = "file,finding,style,property,expected,found";

// The finding of a file that does not read as a table, for the reader's reason.
TableFinding unreadableTable(const wxString& reason);

// What is amiss in a table as read. namedColorDependent: the file's name gives it the
// extension of a colour-dependent table.
std::vector<TableFinding> tableProblems(const CPlotStyleTable& table,
                                        const PlotStyleReadReport& report,
                                        bool namedColorDependent);

// Every difference of table from reference, a table of the same kind, in the form of diff.
std::vector<TableFinding> differencesFrom(const CPlotStyleTable& reference,
                                          const CPlotStyleTable& table);
