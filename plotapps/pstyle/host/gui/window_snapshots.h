// Pictures of the plug-in's dialogs and the editor's pages, for the README and for checking the
// layouts at other screen scales.
#pragma once

#include <wx/string.h>

struct PlotStyleEntryPoints;

// Opens each dialog through the plug-in's entry points, the editor on sampleTable, pictures each
// as it is shown into folder (select-table.png, new-table.png, editor-general.png,
// editor-form-view.png, editor-lineweights.png), printing their paths, and cancels it. Needs a
// running toolkit. Returns the program's exit status.
int takeWindowSnapshots(const PlotStyleEntryPoints& plugIn, const wxString& sampleTable,
                        const wxString& folder);
