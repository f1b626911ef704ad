// Adding, deleting and renaming the styles of named tables.
#include "psl_dlg_plot_style_editor.h"

#include <wx/listctrl.h>
#include <wx/textdlg.h>
#include <wx/xrc/xmlres.h>

#include "psl_log.h"
#include "psl_text.h"

namespace {

// The 13 characters a style name given by renaming must not hold.
const wxString kForbiddenNameCharacters = "<>/\\\":?*|,=`;";

} // namespace

int DlgPlotStyleEditor::findStyleIgnoringCase(const wxString& name) const {
    for (int row = 0; row < int(table->size()); ++row) {
        if (toWxString(table->style(row)->locName()).IsSameAs(name, false)) {
            return row;
        }
    }
    return -1;
}

void DlgPlotStyleEditor::onStyleAdd(wxCommandEvent&) {
    if (!table || table->ColorDependent) {
        return;
    }
    const wxString name = wxGetTextFromUser(_("Enter style name:"), _("Add Plot Style"),
                                            wxString::Format(_("Style %d"), styleCount), nullptr);
    if (name.empty()) {
        return;
    }
    if (findStyleIgnoringCase(name) >= 0) {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onStyleAdd",
                      _("A style named '%ls' already exists. Please enter a unique style name."),
                      name);
        return;
    }
    wxArrayInt rows;
    const bool oneSelected = selectedStyles(rows) == 1;
    const int after = oneSelected ? rows[0] : styleCount - 1;
    const CPlotStyle* source = oneSelected ? table->style(after) : nullptr;
    if (!table->addStyle(toHostText(name).c_str(), after, source)) {
        return;
    }

    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    const long newRow = list->InsertItem(after + 1, name);
    for (const int row : selectedRows(list)) {
        list->SetItemState(row, 0, wxLIST_STATE_SELECTED);
    }
    list->SetItemState(newRow, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list->EnsureVisible(newRow);

    modified = true;
    styleCount = int(table->size());
    updateNumStyles();
}

void DlgPlotStyleEditor::onStyleDelete(wxCommandEvent&) {
    if (!table || table->ColorDependent) {
        return;
    }
    wxArrayInt rows;
    if (selectedStyles(rows) > 0) {
        deleteStyles(rows);
    }
}

void DlgPlotStyleEditor::deleteStyles(const wxArrayInt& rows) {
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    // From the highest row down, so that the lower row numbers stay valid.
    for (auto row = rows.rbegin(); row != rows.rend() && *row != 0; ++row) {
        table->deleteStyle(*row);
        list->DeleteItem(*row);
    }
    modified = true;
    styleCount = int(table->size());
    updateNumStyles();
    // The deleted styles' values must not stay on show, ready to be edited into nothing.
    showSelection();
}

void DlgPlotStyleEditor::onBeginLabelEdit(wxListEvent& event) {
    if (event.GetEventObject() == FindWindow(XRCID("ListStyles")) &&
        (isColorDependentTable() || event.GetIndex() == 0)) {
        event.Veto();
    }
}

void DlgPlotStyleEditor::onEndLabelEdit(wxListEvent& event) {
    if (event.GetEventObject() == FindWindow(XRCID("ListLineWeights"))) {
        endLineWeightEdit(event);
    } else if (event.GetEventObject() == FindWindow(XRCID("ListStyles"))) {
        endStyleRename(event);
    }
}

void DlgPlotStyleEditor::endStyleRename(wxListEvent& event) {
    const wxString name = event.GetLabel();
    if (name.empty() || event.IsEditCancelled() || !table) {
        return;
    }
    const int row = int(event.GetIndex());
    if (name == toWxString(table->style(row)->locName())) {
        return;
    }
    if (name.find_first_of(kForbiddenNameCharacters) != wxString::npos) {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onEndLabelEdit",
                      _("A style name cannot contain any of the following characters: %ls"),
                      kForbiddenNameCharacters);
        event.Veto();
        return;
    }
    if (findStyleIgnoringCase(name) >= 0) {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onEndLabelEdit",
                      _("A style named '%ls' already exists. Please enter a unique style name."),
                      name);
        event.Veto();
        return;
    }
    table->renameStyle(row, toHostText(name).c_str());
    modified = true;
}
