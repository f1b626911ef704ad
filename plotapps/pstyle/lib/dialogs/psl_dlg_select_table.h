// The first dialog a user sees: open a table of the plot style folder, create a new one from
// scratch, or create one from an existing table; then the editor runs on top of it.
#pragma once

#include <wx/dialog.h>
#include <wx/string.h>

class wxUpdateUIEvent;
class wxWindow;

class DlgSelectTable : public wxDialog {
public:
    // Starts in the mode that opens an existing table; the window is created from the layout
    // "DlgSelectTable" afterwards (ut::loadDialog).
    DlgSelectTable();
    ~DlgSelectTable() override;

    // The drop-down offers at most this many tables; completion offers all of them.
    static constexpr unsigned kMaxListedTables = 1000;

private:
    void onInitDialog(wxInitDialogEvent& event);
    void onOk(wxCommandEvent& event);
    void onBrowse(wxCommandEvent& event);
    void onRadioButton(wxCommandEvent& event);
    void onTableTypeChoice(wxCommandEvent& event);
    void onUpdateOk(wxUpdateUIEvent& event);

    void fillSourceFiles();
    void updateControls();
    void updateMessage();
    // The editor's target for the new or copied table, or an empty string after a refusal.
    wxString newTableTarget(const wxString& folder, const wxString& expectedExtension);
    // Asks for a table file in a file dialog that starts at path, or in the plot style folder
    // when path is empty. True when one was chosen; its full path is then in path.
    static bool browseForTableFile(wxString& path, wxWindow* parent);

    bool openExisting;
    bool createNew;
    bool copyExisting;
    int tableType;
    wxString sourceFile;
    wxString tableName;

    wxDECLARE_CLASS(DlgSelectTable);
    wxDECLARE_EVENT_TABLE();
};
