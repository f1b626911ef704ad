#include "psl_message_panel.h"

#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textwrapper.h>
#include <wx/xrc/xmlres.h>

namespace {

class LineCounter : public wxTextWrapper {
public:
    int count(wxWindow* window, const wxString& text, int width) {
        Wrap(window, text, width);
        return lines_;
    }

protected:
    void OnOutputLine(const wxString&) override { ++lines_; }

private:
    int lines_ = 0;
};

} // namespace

void showMessage(wxDialog* dialog, const wxString& text) {
    auto* message = XRCCTRL(*dialog, "StatMessage", wxStaticText);
    message->SetLabel(text);
    dialog->Layout();
    const wxSize room = message->GetClientSize();
    if (room.x <= 0) {
        return;
    }
    const int missing =
        LineCounter().count(message, text, room.x) * message->GetCharHeight() - room.y;
    // The message panel takes all height the dialog gains.
    if (missing > 0) {
        dialog->SetSize(dialog->GetSize() + wxSize(0, missing));
        dialog->Layout();
    }
}
