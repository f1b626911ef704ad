// Undo and redo of the editor's changes to the table.
#include "psl_dlg_plot_style_editor.h"

#include <algorithm>

#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/validate.h>
#include <wx/xrc/xmlres.h>

#include "psl_text.h"

namespace {

int rowOf(const std::vector<wxString>& names, const wxString& name) {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : int(found - names.begin());
}

// The rows to select once undo or redo changed the styles' names: the styles that came back or
// got their name back; else those selected before that are still there; else the style above
// the first one that went.
std::vector<int> rowsToSelect(const std::vector<wxString>& before,
                              const std::vector<wxString>& after,
                              const std::vector<int>& selectedBefore) {
    std::vector<int> rows;
    for (size_t row = 0; row < after.size(); ++row) {
        if (rowOf(before, after[row]) < 0) {
            rows.push_back(int(row));
        }
    }
    if (!rows.empty()) {
        return rows;
    }
    for (const int row : selectedBefore) {
        const int kept = rowOf(after, before[row]);
        if (kept >= 0) {
            rows.push_back(kept);
        }
    }
    if (!rows.empty()) {
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    for (size_t row = 0; row < before.size() && !after.empty(); ++row) {
        if (rowOf(after, before[row]) < 0) {
            rows.push_back(std::clamp(int(row) - 1, 0, int(after.size()) - 1));
            break;
        }
    }
    return rows;
}

} // namespace

bool DlgPlotStyleEditor::isEditingLabel() const {
    for (const char* name : {"ListStyles", "ListLineWeights"}) {
        if (XRCCTRL(*this, name, wxListCtrl)->GetEditControl()) {
            return true;
        }
    }
    return false;
}

std::vector<wxString> DlgPlotStyleEditor::styleNames() const {
    std::vector<wxString> names;
    const CPlotStyleTable* table = document.table();
    for (int row = 0; table && row < int(table->size()); ++row) {
        names.push_back(toWxString(table->style(row)->locName()));
    }
    return names;
}

bool DlgPlotStyleEditor::stepThroughHistory(bool forward) {
    if (isEditingLabel()) {
        return false;
    }
    if (!document.hasTable()) {
        return true;
    }
    // Typed values are an edit of their own, so the step taken back is theirs and nothing typed
    // is lost or applied after the step.
    commitPendingInput();
    const std::vector<wxString> namesBefore = styleNames();
    if (forward ? document.redo() : document.undo()) {
        showRestoredTable(namesBefore);
    }
    return true;
}

void DlgPlotStyleEditor::showRestoredTable(const std::vector<wxString>& namesBefore) {
    // The form's fields hold the values from before; until it shows the restored ones, a
    // selection event must not write them back.
    shownRows.clear();
    const CPlotStyleTable& table = *document.table();
    styleCount = int(table.size());
    updateNumStyles();

    tableDescription = toWxString(table.Description);
    applyScale = table.ApplyFactor;
    scaleText = scaleFactorText(table.ScaleFactor);
    millimetreUnits = table.CustomLineWeightUnits == 0;
    inchUnits = !millimetreUnits;
    // Not the whole dialog's transfer: it would set the style description box from its old text,
    // and the box writes every change into the selected styles.
    for (const char* name : {"TextTableDescr", "CheckScale", "TextScale", "RadLwMm", "RadLwIn"}) {
        wxWindow* control = FindWindow(XRCID(name));
        control->GetValidator()->TransferToWindow();
        if (auto* field = dynamic_cast<wxTextCtrl*>(control)) {
            field->SetInsertionPointEnd();
        }
    }

    const std::vector<wxString> names = styleNames();
    if (names != namesBefore) {
        auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
        const std::vector<int> selectedBefore = selectedRows(list);
        fillStyleList();
        const std::vector<int> rows = rowsToSelect(namesBefore, names, selectedBefore);
        for (const int row : rows) {
            list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        }
        if (!rows.empty()) {
            list->SetItemState(rows[0], wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
            list->EnsureVisible(rows[0]);
        }
    }
    updateLineWeightsInUse(false);
    updateLineWeightList(false);
    showSelection();
}
