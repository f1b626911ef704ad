#include "psl_dialog_sizes.h"

#include <algorithm>

#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

void giveFieldsTheirHeight(wxWindow* window) {
    for (wxWindow* child : window->GetChildren()) {
        giveFieldsTheirHeight(child);
        auto* field = dynamic_cast<wxTextCtrl*>(child);
        if (!field || field->IsMultiLine()) {
            continue;
        }
        int minimum = 0;
        int natural = 0;
        gtk_widget_get_preferred_height(field->GetHandle(), &minimum, &natural);
        const wxSize least = field->GetMinSize();
        field->SetMinSize(wxSize(least.x, std::max(least.y, natural)));
    }
}

void sizeForText(wxDialog* dialog, int width) {
    giveFieldsTheirHeight(dialog);
    const wxSize needed = dialog->GetSizer()->ComputeFittingWindowSize(dialog);
    // The size asked for is also the least: GTK showed the dialog before it was sized, and a
    // window manager answering that first showing late cannot make it smaller.
    const wxSize size(std::max(width, needed.x), needed.y);
    dialog->SetMinSize(size);
    dialog->SetSize(size);
}
