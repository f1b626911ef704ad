// Room for text in the selection and new table dialogs, whatever the screen's text size.
#pragma once

class wxDialog;

// Gives every single-line field of the dialog at least the height the toolkit's theme draws it
// with (wxWidgets measures a text field lower, which cuts descenders once the text is scaled),
// and every label, button, check box and radio button at least the width of its text. Then
// makes the dialog width pixels wide, or wider where its layout needs it, and as high as its
// layout needs.
void sizeForText(wxDialog* dialog, int width);
