// Adding, deleting and renaming the styles of named tables.
#include "psl_dlg_plot_style_editor.h"

#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>
#include <wx/xrc/xmlres.h>

#include "psl_log.h"
#include "psl_style_names.h"
#include "psl_text.h"

bool DlgPlotStyleEditor::acceptStyleName(const wxString& name, const char* reporter) const {
    if (!isAllowedStyleName(name)) {
        PSL_LOG_ERROR(reporter,
                      _("A style name cannot contain any of the following characters: %ls"),
                      forbiddenStyleNameCharacters());
        return false;
    }
    if (findStyleByName(*table, name) >= 0) {
        PSL_LOG_ERROR(reporter,
                      _("A style named '%ls' already exists. Please enter a unique style name."),
                      name);
        return false;
    }
    return true;
}

void DlgPlotStyleEditor::onStyleAdd(wxCommandEvent&) {
    if (!table || table->ColorDependent) {
        return;
    }
    const wxString name =
        trimStyleName(wxGetTextFromUser(_("Enter style name:"), _("Add Plot Style"),
                                        firstFreeStyleName(*table, styleCount), nullptr));
    if (name.empty() || !acceptStyleName(name, "DlgPlotStyleEditor::onStyleAdd")) {
        return;
    }
    wxArrayInt rows;
    const bool oneSelected = selectedStyles(rows) == 1;
    const int after = oneSelected ? rows[0] : styleCount - 1;
    if (!addStyle(name, after, oneSelected ? table->style(after) : nullptr)) {
        return;
    }
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    for (const int row : selectedRows(list)) {
        list->SetItemState(row, 0, wxLIST_STATE_SELECTED);
    }
    list->SetItemState(after + 1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list->EnsureVisible(after + 1);
}

bool DlgPlotStyleEditor::addStyle(const wxString& name, int after, const CPlotStyle* source) {
    if (!table->addStyle(toHostText(name).c_str(), after, source)) {
        return false;
    }
    XRCCTRL(*this, "ListStyles", wxListCtrl)->InsertItem(after + 1, name);
    noteTableChange();
    styleCount = int(table->size());
    updateNumStyles();
    return true;
}

void DlgPlotStyleEditor::onStyleDelete(wxCommandEvent&) {
    if (!table || table->ColorDependent) {
        return;
    }
    wxArrayInt rows;
    if (selectedStyles(rows) > 0) {
        deleteStyles(rows);
        // The button turns disabled with nothing selected, and a disabled button's keys reach
        // no one: Ctrl+Z must still work.
        XRCCTRL(*this, "ListStyles", wxListCtrl)->SetFocus();
    }
}

void DlgPlotStyleEditor::deleteStyles(const wxArrayInt& rows) {
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    // From the highest row down, so that the lower row numbers stay valid.
    for (auto row = rows.rbegin(); row != rows.rend() && *row != 0; ++row) {
        table->deleteStyle(*row);
        list->DeleteItem(*row);
    }
    noteTableChange();
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
    if (event.IsEditCancelled() || !table) {
        return;
    }
    const int row = int(event.GetIndex());
    const wxString typed = event.GetLabel();
    const wxString name = trimStyleName(typed);
    if (name.empty()) {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onEndLabelEdit", _("A style name cannot be empty."));
        event.Veto();
        return;
    }
    if (name != toWxString(table->style(row)->locName())) {
        if (!acceptStyleName(name, "DlgPlotStyleEditor::onEndLabelEdit")) {
            event.Veto();
            return;
        }
        renameStyle(row, name);
    }
    if (name != typed) {
        // The row shows the name as stored, without the blanks around it.
        event.Veto();
        XRCCTRL(*this, "ListStyles", wxListCtrl)->SetItemText(row, name);
    }
}

void DlgPlotStyleEditor::renameStyle(int row, const wxString& name) {
    table->renameStyle(row, toHostText(name).c_str());
    noteTableChange();
}

bool DlgPlotStyleEditor::handleStyleListKey(int key) {
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    const wxArrayInt rows = selectedRows(list);
    if (key == WXK_F2 && rows.size() == 1) {
        list->EditLabel(rows[0]);
        return true;
    }
    if (key == WXK_DELETE && FindWindow(XRCID("BtnStyleDelForm"))->IsShown() &&
        selectionIsEditable()) {
        if (wxMessageBox(_("Do you want to delete the selected styles?"),
                         _("Plot Style Table Editor"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION,
                         nullptr) == wxYES) {
            wxArrayInt deleted;
            selectedStyles(deleted);
            deleteStyles(deleted);
        }
        return true;
    }
    return false;
}

void DlgPlotStyleEditor::selectAllStyles() {
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    for (long row = 0; row < list->GetItemCount(); ++row) {
        list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }
}
