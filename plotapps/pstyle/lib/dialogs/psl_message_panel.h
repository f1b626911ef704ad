// The grey message panel at the foot of the table selection and new table dialogs.
#pragma once

#include <wx/string.h>

class wxDialog;

// Shows text in the dialog's StatMessage, making the dialog taller when the text, wrapped at
// the label's width, needs more lines than the label has room for.
void showMessage(wxDialog* dialog, const wxString& text);
