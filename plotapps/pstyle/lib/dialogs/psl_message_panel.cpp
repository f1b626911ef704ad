#include "psl_message_panel.h"

#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include <gtk/gtk.h>

namespace {

// Makes the dialog taller when its message, wrapped at the label's width, needs more lines than
// the label has room for.
void fitMessage(wxDialog* dialog) {
    auto* message = XRCCTRL(*dialog, "StatMessage", wxStaticText);
    const wxSize room = message->GetClientSize();
    if (room.x <= 0) {
        return;
    }
    // The toolkit wraps the text at the label's width: it knows the height that takes.
    int minimum = 0;
    int needed = 0;
    gtk_widget_get_preferred_height_for_width(message->GetHandle(), room.x, &minimum, &needed);
    const int missing = needed - room.y;
    // The message panel takes all height the dialog gains; the least height grows with it, so
    // that the window manager's first placement does not undo it.
    if (missing > 0) {
        const wxSize grown = dialog->GetSize() + wxSize(0, missing);
        dialog->SetMinSize(wxSize(dialog->GetMinSize().x, grown.y));
        dialog->SetSize(grown);
        dialog->Layout();
    }
}

void onMessageResized(wxSizeEvent& event) {
    event.Skip();
    auto* label = static_cast<wxWindow*>(event.GetEventObject());
    if (auto* dialog = dynamic_cast<wxDialog*>(wxGetTopLevelParent(label))) {
        fitMessage(dialog);
    }
}

} // namespace

void showMessage(wxDialog* dialog, const wxString& text) {
    auto* message = XRCCTRL(*dialog, "StatMessage", wxStaticText);
    message->SetLabel(text);
    dialog->Layout();
    fitMessage(dialog);
    // The window manager may answer the first showing with the size from before: the message
    // then takes its room again.
    message->Unbind(wxEVT_SIZE, &onMessageResized);
    message->Bind(wxEVT_SIZE, &onMessageResized);
}
