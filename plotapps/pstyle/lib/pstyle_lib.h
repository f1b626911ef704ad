// The plot style library's exported functions, called by the host on its GUI thread.
#pragma once

#include <cstddef>

#include <wx/arrstr.h>
#include <wx/string.h>

class wxWindow;

// Edits the table file fileName (a new table of the kind its extension names when the file does
// not exist yet). True when the editor ended with Save & Close.
bool editPlotStyleTable(const wxString& fileName, wxWindow* parent);
// As above, but the editor starts with the content of sourceFileName when that file exists.
bool editPlotStyleTable(const wxString& fileName, const wxString& sourceFileName, wxWindow* parent);

// Appends the table files of the configured plot style folder, relative to that folder, and
// returns the number of entries in files; 0 when the folder does not exist.
std::size_t getPlotStyleFiles(wxArrayString& files);

// Shows the table selection dialog: open a table of the plot style folder, create a new one or
// copy one, then edit it. True when the user got past the selection and the editor ran, whether
// or not anything was saved.
bool startPlotStyleEditor(wxWindow* parent);

// Shows the new table dialog for a table of the given kind in directory, and creates the file
// under the typed name. True when the dialog ended with OK; tableName then holds the new file's
// name with extension when the user wants it used for the current drawing, else it stays empty.
bool newPlotStyleTable(wxString& tableName, bool colorDependent, const wxString& directory,
                       wxWindow* parent);
