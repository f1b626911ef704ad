#include "psl_dlg_new_table.h"

#include <cerrno>

#include <wx/checkbox.h>
#include <wx/textctrl.h>
#include <wx/valgen.h>
#include <wx/valtext.h>
#include <wx/xrc/xmlres.h>

#include "psl_dialog_sizes.h"
#include "psl_log.h"
#include "psl_message_panel.h"
#include "psl_table_document.h"
#include "psl_table_files.h"
#include "pstyle_lib.h"

wxIMPLEMENT_CLASS(DlgNewTable, wxDialog);

wxBEGIN_EVENT_TABLE(DlgNewTable, wxDialog)
    EVT_INIT_DIALOG(DlgNewTable::onInitDialog)
    EVT_BUTTON(wxID_OK, DlgNewTable::onOk)
    EVT_UPDATE_UI(wxID_OK, DlgNewTable::onUpdateOk)
wxEND_EVENT_TABLE()

DlgNewTable::DlgNewTable(bool colorDependent, const wxString& directory)
    : colorDependent(colorDependent), directory(directory), launchEditor(true), useInDrawing(true) {
}

void DlgNewTable::onInitDialog(wxInitDialogEvent&) {
    sizeForText(this, 400);

    XRCCTRL(*this, "TextTableName", wxTextCtrl)
        ->SetValidator(wxTextValidator(wxFILTER_NONE, &tableName));
    XRCCTRL(*this, "CheckLaunchEditor", wxCheckBox)
        ->SetValidator(wxGenericValidator(&launchEditor));
    XRCCTRL(*this, "CheckUseInDrawing", wxCheckBox)
        ->SetValidator(wxGenericValidator(&useInDrawing));

    showMessage(this, colorDependent
                          ? _("A new color-dependent plot style table will be created (CTB). It "
                              "will contain 255 plot styles that have initially been set to the "
                              "default values. Use the Editor to modify any of the plot styles.")
                          : _("A new named plot style table will be created (STB). It will "
                              "contain one plot style named 'Normal'. New plot styles can be "
                              "added in the Editor."));
    Centre(wxBOTH);
    TransferDataToWindow();
    SetFocus();
}

void DlgNewTable::onUpdateOk(wxUpdateUIEvent& event) {
    event.Enable(!XRCCTRL(*this, "TextTableName", wxTextCtrl)->GetValue().empty());
}

void DlgNewTable::onOk(wxCommandEvent& event) {
    TransferDataFromWindow();
    // The table belongs in the folder the host named, not in one the name leads to.
    const NewTableFile checked = checkNewTableName(
        tableName, directory, tableFileExtension(colorDependent), NewTableReach::folder);
    if (!checked.refusal.empty()) {
        PSL_LOG_ERROR("DlgNewTable::onOk", "%ls", checked.refusal);
        return;
    }
    const wxString path = checked.file.GetFullPath();
    // A new table is made and saved as every other table is, through a document.
    TableDocument document(checked.file);
    if (document.load() != TableDocument::LoadOutcome::Created) {
        PSL_LOG_SAVE_FAILURE("DlgNewTable::onOk", path, EEXIST);
        return;
    }
    const SaveResult saved = document.save();
    if (!saved.saved) {
        PSL_LOG_SAVE_FAILURE("DlgNewTable::onOk", path, saved.error);
        return;
    }

    createdFile = checked.file;
    if (launchEditor) {
        editPlotStyleTable(path, this);
    }
    event.Skip();
}
