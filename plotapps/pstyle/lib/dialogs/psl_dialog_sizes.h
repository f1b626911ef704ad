// Room for text in the selection and new table dialogs, whatever the screen's text size.
#pragma once

class wxDialog;

// Gives every one-line text field of the dialog at least the height GTK's theme draws it with:
// wxWidgets measures such a field lower, which cuts descenders once the text is scaled. Then
// makes the dialog width pixels wide, or wider where its layout needs it, and as high as its
// layout needs.
void sizeForText(wxDialog* dialog, int width);
