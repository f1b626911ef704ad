#include "psl_table_file_dialog.h"

#include <wx/filedlg.h>

bool chooseTableFile(wxWindow* parent, const wxString& folder, const wxString& file,
                     wxString& path) {
    wxFileDialog dialog(parent, _("Select a Plot Style File"), folder, file,
                        _("Plot Style files (*.ctb;*.stb)|*.ctb;*.stb|All files (*.*)|*.*"),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    path = dialog.GetPath();
    return true;
}
