#include "psl_dialog_sizes.h"

#include <algorithm>

#include <wx/anybutton.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

namespace {

bool showsLabel(const wxWindow* window) {
    return (dynamic_cast<const wxStaticText*>(window) && !window->HasFlag(wxST_NO_AUTORESIZE)) ||
           dynamic_cast<const wxAnyButton*>(window) || dynamic_cast<const wxCheckBox*>(window) ||
           dynamic_cast<const wxRadioButton*>(window);
}

void giveTextItsRoom(wxWindow* window) {
    for (wxWindow* child : window->GetChildren()) {
        giveTextItsRoom(child);
        auto* field = dynamic_cast<wxTextCtrl*>(child);
        const bool singleLineField = field && !field->IsMultiLine();
        if (!singleLineField && !showsLabel(child)) {
            continue;
        }
        int minimum = 0;
        int natural = 0;
        wxSize room = child->GetMinSize();
        if (singleLineField) {
            gtk_widget_get_preferred_height(child->GetHandle(), &minimum, &natural);
            room.y = std::max(room.y, natural);
        } else {
            gtk_widget_get_preferred_width(child->GetHandle(), &minimum, &natural);
            room.x = std::max(room.x, natural);
        }
        child->SetMinSize(room);
    }
}

} // namespace

void sizeForText(wxDialog* dialog, int width) {
    giveTextItsRoom(dialog);
    const wxSize needed = dialog->GetSizer()->ComputeFittingWindowSize(dialog);
    dialog->SetMinSize(needed);
    dialog->SetSize(std::max(width, needed.x), needed.y);
}
