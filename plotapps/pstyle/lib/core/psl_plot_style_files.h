// The plot style folder of the host's configuration, and its table files as the selection dialog
// offers them and `pstyle list` prints them.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

// Appends the table files below folder by their paths relative to it, so that a name from a
// subfolder (site/plan.ctb) opens when joined to the folder again: regular files with a table's
// extension, through links, and no FIFO, device or dangling link. A folder's subfolders come
// before its own files, each in the order the file system gives them; a folder reached twice
// through links is listed once. False when folder cannot be read.
bool listPlotStyleFiles(const wxString& folder, wxArrayString& files);

// The plot style folder the host configured (the setting "PlotStylePath"); empty when unset.
wxString configuredPlotStyleFolder();
