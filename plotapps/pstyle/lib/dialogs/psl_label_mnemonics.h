// The underlined letters of labels and buttons.
#pragma once

class wxControl;
class wxDialog;
class wxKeyEvent;
class wxWindow;

// Lets Alt and the underlined letter of the label named label take the keyboard focus to the
// field named field: into its text where it has one (an editable combo box), not onto its
// drop-down arrow. The toolkit gives a label's letter no field of its own.
void setLabelField(wxDialog* dialog, const char* label, const char* field);

// The label or button shown in window, on the page that each notebook shows, whose underlined
// letter is the key of event, whatever its case and the keyboard's layout; null when none is.
wxControl* controlWithMnemonic(wxWindow* window, const wxKeyEvent& event);
