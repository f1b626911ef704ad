// Room for text in the selection and new table dialogs, whatever the screen's text size.
#pragma once

class wxDialog;
class wxWindow;

// Gives every one-line text field below window at least the height GTK's theme draws it with:
// wxWidgets measures such a field lower, which cuts descenders once the text is scaled.
void giveFieldsTheirHeight(wxWindow* window);

// Gives the dialog's one-line text fields their height, then makes the dialog width pixels wide,
// or wider where its layout needs it, and as high as its layout needs; no smaller than that.
void sizeForText(wxDialog* dialog, int width);
