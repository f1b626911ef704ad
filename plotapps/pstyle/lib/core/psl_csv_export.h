// The comma-separated form of a table, as the editor's Export command and `pstyle export` write
// it: header section, ACI table when present, one row per style, the lineweight table.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

class CPlotStyleTable;

// The lines of the export, without line endings. A text holding a comma, a double quote or a
// line break is quoted, with inner quotes doubled, so such a line may hold a line break.
// fileName is the table file's name with extension and without folder.
wxArrayString csvExportLines(const CPlotStyleTable& table, const wxString& fileName);

// A text as one field: quoted, with inner quotes doubled, when it holds a separator, a quote or a
// line break, so that it cannot shift the later columns; as it is otherwise.
wxString csvField(const wxString& text);
