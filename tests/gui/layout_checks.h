// What any dialog's layout owes its user, checked on the windows shown: no two controls shown at
// once answer to the same Alt+letter, and every field and label gets the size the toolkit asks
// for its text.
#pragma once

#include <vector>

#include <wx/string.h>

class wxWindow;

struct Mnemonic {
    wxString control; // the control's layout name
    wxString label;   // its label, with the marker: "Select &file:"
    wxString letter;  // the letter, lower-cased; empty when the label has none
};

// The labels and buttons shown below window (labels, buttons, check boxes, radio buttons) with
// their mnemonics.
std::vector<Mnemonic> shownMnemonics(const wxWindow* window);

// "f: Select &file:, &Fill style:" lines, one for each letter that more than one of the shown
// controls has; empty when none shares one.
wxString sharedMnemonics(const std::vector<Mnemonic>& mnemonics);

// "Name 'text': needs WxH, has WxH" lines, one for each field shown below window that is lower
// than the toolkit's natural height for it, and each label, button, check box or radio button
// narrower than the natural width of its text; empty when every one has its room.
wxString controlsBelowTheirNaturalSize(const wxWindow* window);
