// The file dialog in which a user picks an existing table file, shared by the editor's Open and
// the selection dialog's browse button.
#pragma once

#include <wx/string.h>

class wxWindow;

// Shows the dialog in folder with file preselected (either may be empty). True when the user
// chose a file; its full path is then in path, which is left alone otherwise.
bool chooseTableFile(wxWindow* parent, const wxString& folder, const wxString& file,
                     wxString& path);
