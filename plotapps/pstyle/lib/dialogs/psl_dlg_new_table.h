// Creates a new table file of a kind the host has chosen, in a folder the host names, under a
// name the user types; optionally runs the editor on it.
#pragma once

#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/string.h>

class wxUpdateUIEvent;

class DlgNewTable : public wxDialog {
public:
    // The window is created from the layout "DlgNewTable" afterwards (ut::loadDialog).
    DlgNewTable(bool colorDependent, const wxString& directory);

    // The file created on OK: the typed name in the folder, with the kind's extension when the
    // name has none.
    const wxFileName& newTableFileName() const { return createdFile; }
    bool usesTableInDrawing() const { return useInDrawing; }

private:
    void onInitDialog(wxInitDialogEvent& event);
    void onOk(wxCommandEvent& event);
    void onUpdateOk(wxUpdateUIEvent& event);

    bool colorDependent;
    wxString directory;
    wxString tableName;
    bool launchEditor;
    bool useInDrawing;
    wxFileName createdFile;

    wxDECLARE_CLASS(DlgNewTable);
    wxDECLARE_EVENT_TABLE();
};
