// Adding, deleting and renaming the styles of named tables.
#include "psl_dlg_plot_style_editor.h"

#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>
#include <wx/xrc/xmlres.h>

#include "psl_focus_return.h"
#include "psl_log.h"
#include "psl_style_names.h"
#include "psl_text.h"

void DlgPlotStyleEditor::onStyleAdd(wxCommandEvent&) {
    if (!document.hasTable() || isColorDependentTable()) {
        return;
    }
    const FocusReturn focusReturn;
    const wxString answer =
        wxGetTextFromUser(_("Enter style name:"), _("Add Plot Style"),
                          firstFreeStyleName(*document.table(), styleCount), nullptr);
    // An empty answer, as from Cancel, adds nothing and asks nothing.
    if (trimStyleName(answer).empty()) {
        return;
    }
    wxArrayInt rows;
    const bool oneSelected = selectedStyles(rows) == 1;
    const int after = oneSelected ? rows[0] : styleCount - 1;
    if (reportRefusal(document.addStyle(answer, after, oneSelected),
                      "DlgPlotStyleEditor::onStyleAdd")) {
        return;
    }
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    list->InsertItem(after + 1, toWxString(document.table()->style(after + 1)->locName()));
    styleCount = int(document.table()->size());
    updateNumStyles();
    for (const int row : selectedRows(list)) {
        list->SetItemState(row, 0, wxLIST_STATE_SELECTED);
    }
    list->SetItemState(after + 1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    list->EnsureVisible(after + 1);
}

void DlgPlotStyleEditor::onStyleDelete(wxCommandEvent&) {
    if (!document.hasTable() || isColorDependentTable()) {
        return;
    }
    const std::vector<int> rows = editableSelection();
    if (!rows.empty()) {
        deleteStyles(rows);
        // The button turns disabled with nothing selected, and a disabled button's keys reach
        // no one: Ctrl+Z must still work.
        XRCCTRL(*this, "ListStyles", wxListCtrl)->SetFocus();
    }
}

void DlgPlotStyleEditor::deleteStyles(const std::vector<int>& rows) {
    if (reportRefusal(document.deleteStyles(rows), "DlgPlotStyleEditor::onStyleDelete")) {
        return;
    }
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    // From the highest row down, so that the lower row numbers stay valid.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        if (!document.isBaseStyle(*row)) {
            list->DeleteItem(*row);
        }
    }
    styleCount = int(document.table()->size());
    updateNumStyles();
    // The deleted styles' values must not stay on show, ready to be edited into nothing.
    showSelection();
}

void DlgPlotStyleEditor::onBeginLabelEdit(wxListEvent& event) {
    if (event.GetEventObject() == FindWindow(XRCID("ListStyles")) &&
        !document.canRenameStyle(int(event.GetIndex()))) {
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
    if (event.IsEditCancelled() || !document.hasTable()) {
        return;
    }
    const int row = int(event.GetIndex());
    const wxString typed = event.GetLabel();
    if (reportRefusal(document.renameStyle(row, typed), "DlgPlotStyleEditor::onEndLabelEdit")) {
        event.Veto();
        return;
    }
    const wxString name = toWxString(document.table()->style(row)->locName());
    if (name != typed) {
        // The row shows the name as stored, without the blanks around it.
        event.Veto();
        XRCCTRL(*this, "ListStyles", wxListCtrl)->SetItemText(row, name);
    }
}

bool DlgPlotStyleEditor::handleStyleListKey(int key) {
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    const std::vector<int> rows = selectedRows(list);
    if (key == WXK_F2 && rows.size() == 1) {
        list->EditLabel(rows[0]);
        return true;
    }
    if (key == WXK_DELETE && FindWindow(XRCID("BtnStyleDelForm"))->IsShown() &&
        selectionIsEditable()) {
        const FocusReturn focusReturn;
        if (wxMessageBox(_("Do you want to delete the selected styles?"),
                         _("Plot Style Table Editor"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION,
                         nullptr) == wxYES) {
            deleteStyles(editableSelection());
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
