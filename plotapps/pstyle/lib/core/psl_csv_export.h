// The comma-separated form of a table, as the editor's Export command and `pstyle export` write
// it: header section, ACI table when present, one row per style, the lineweight table.
#pragma once

#include <string>

#include <wx/arrstr.h>
#include <wx/string.h>

class CPlotStyleTable;

// The lines of the export, without line endings. A text holding a comma, a double quote or a
// line break is quoted, with inner quotes doubled, so such a line may hold a line break.
// fileName is the table file's name with extension and without folder.
wxArrayString csvExportLines(const CPlotStyleTable& table, const wxString& fileName);

// The export as its file holds it: UTF-8 (but for the bytes of a file name that is not), each
// line ended by a line feed.
std::string csvExportText(const CPlotStyleTable& table, const wxString& fileName);
// Writes the export to the file at path through writeOutputFile (psl_output_files.h): false with
// why not in reason.
bool writeCsvExport(const CPlotStyleTable& table, const wxString& fileName, const wxString& path,
                    wxString& reason);

// A text as one field: quoted, with inner quotes doubled, when it holds a separator, a quote or a
// line break, so that it cannot shift the later columns; as it is otherwise.
wxString csvField(const wxString& text);
