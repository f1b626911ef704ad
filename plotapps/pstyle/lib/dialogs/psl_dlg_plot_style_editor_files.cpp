// The file commands: Open, Save As and Export.
#include "psl_dlg_plot_style_editor.h"

#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include "psl_csv_export.h"
#include "psl_focus_return.h"
#include "psl_log.h"
#include "psl_table_file_dialog.h"
#include "psl_table_files.h"

void DlgPlotStyleEditor::onOpen(wxCommandEvent&) {
    const FocusReturn focusReturn;
    if (!canClose()) {
        return;
    }
    wxString path;
    if (!chooseTableFile(this, tableFileName().GetPath(wxPATH_GET_VOLUME), wxString(), path)) {
        return;
    }
    document = TableDocument(wxFileName(path, wxPATH_NATIVE));
    loadTable();
}

void DlgPlotStyleEditor::onSaveAs(wxCommandEvent&) {
    if (!Validate() || !commitPendingInput()) {
        return;
    }
    const FocusReturn focusReturn;
    const wxFileName& fileName = tableFileName();
    const bool colorDependent = isColorDependentTable();
    const wxString wildcard =
        colorDependent ? _("Color-dependent Plot Style files (*.ctb)|*.ctb|All files (*.*)|*.*")
                       : _("Named Plot Style files (*.stb)|*.stb|All files (*.*)|*.*");
    wxFileDialog dialog(this, _("Save Plot Style File As"), fileName.GetPath(wxPATH_GET_VOLUME),
                        fileName.GetFullName(), wildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    wxFileName chosen(dialog.GetPath());
    const bool typedWithoutExtension = !chosen.HasExt();
    wxString wrongExtension;
    if (!completeTableFileName(chosen, tableFileExtension(colorDependent), wrongExtension)) {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onSaveAs", _("%ls is not a valid name to save to."),
                      chosen.GetFullName());
        PSL_LOG_ERROR("DlgPlotStyleEditor::onSaveAs", "%ls",
                      tableKindExtensionHint(colorDependent));
        return;
    }
    // The file dialog asked before replacing the name as typed, not the completed one.
    if (typedWithoutExtension && chosen.FileExists() &&
        wxMessageBox(wxString::Format(_("A file named '%ls' already exists. Do you want to "
                                        "replace it?"),
                                      chosen.GetFullName()),
                     _("Plot Style Table Editor"), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING,
                     nullptr) != wxYES) {
        return;
    }
    save(chosen.GetFullPath());
}

void DlgPlotStyleEditor::onExport(wxCommandEvent&) {
    if (!document.hasTable()) {
        return;
    }
    commitPendingInput();

    const wxFileName& fileName = tableFileName();
    wxFileName proposal(fileName);
    proposal.SetFullName(fileName.GetFullName() + ".csv");
    wxFileDialog dialog(this, _("Export Plot Style File To"), proposal.GetPath(wxPATH_GET_VOLUME),
                        proposal.GetFullName(),
                        _("Comma-separated-value files (*.csv)|*.csv|Text files (*.txt)|*.txt|"
                          "All files (*.*)|*.*"),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    const wxString path = dialog.GetPath();
    wxString reason;
    if (!writeCsvExport(*document.table(), fileName.GetFullName(), path, reason)) {
        wxMessageBox(wxString::Format(_("Failed to export to %ls: %ls"), path, reason),
                     _("Plot Style Table Editor"), wxOK | wxICON_ERROR, nullptr);
    }
}
