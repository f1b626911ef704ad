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
