// The GUI part of the utility library: dialogs built from their layouts. A library of its own,
// so that tables and configuration are usable without any GUI library.
#include <kesutils/ut_services.h>

#include <wx/dialog.h>
#include <wx/xrc/xmlres.h>

namespace ut {

bool loadDialog(wxDialog* dialog, wxWindow* parent, const wxString& name) {
    return wxXmlResource::Get()->LoadDialog(dialog, parent, name);
}

} // namespace ut
