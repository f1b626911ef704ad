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

// The labels and buttons shown below window (labels, buttons, check boxes, radio buttons), on the
// page each notebook shows, with their mnemonics.
std::vector<Mnemonic> shownMnemonics(const wxWindow* window);

// "f: Select &file:, &Fill style:" lines, one for each letter that more than one of the shown
// controls has; empty when none shares one.
wxString sharedMnemonics(const std::vector<Mnemonic>& mnemonics);

struct Undersized {
    wxString control; // the control's layout name
    wxString detail;  // "'text': needs WxH, has WxH"
};

// The fields shown below window that are lower than the toolkit's natural height for them, and
// the labels, buttons, check boxes and radio buttons narrower than the natural width of their
// text.
std::vector<Undersized> controlsBelowTheirNaturalSize(const wxWindow* window);

// Lets the toolkit run until the top-level window is laid out (isLaidOut), for at most 10 s;
// false when it never was.
bool waitUntilLaidOut(const wxWindow* window);
