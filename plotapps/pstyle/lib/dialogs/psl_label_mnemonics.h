// The underlined letters of labels and buttons.
#pragma once

class wxControl;
class wxKeyEvent;
class wxWindow;

// The label or button shown in window, on the page that each notebook shows, whose underlined
// letter is the key of event, whatever its case and the keyboard's layout; null when none is.
wxControl* controlWithMnemonic(wxWindow* window, const wxKeyEvent& event);
