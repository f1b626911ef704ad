// The underlined letters of the labels in front of fields.
#pragma once

class wxDialog;

// Lets Alt and the underlined letter of the label named label take the keyboard focus to the
// field named field: into its text where it has one (an editable combo box), not onto its
// drop-down arrow. The toolkit gives a label's letter no field of its own.
void setLabelField(wxDialog* dialog, const char* label, const char* field);
