// The Lineweights page: the table's 27 lineweights, their units, edits and sorting.
#include "psl_dlg_plot_style_editor.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include <wx/listctrl.h>
#include <wx/xrc/xmlres.h>

#include <davaz/wxg_combo.h>

#include "psl_catalogues.h"
#include "psl_log.h"
#include "psl_style_values.h"
#include "psl_value_text.h"

namespace {

// Images of the lineweight list: whether some style uses the row.
constexpr int kMarkEmpty = 0;
constexpr int kMarkCheck = 1;

} // namespace

void DlgPlotStyleEditor::updateLineWeightsInUse(bool refreshMarks) {
    std::fill(std::begin(lineWeightInUse), std::end(lineWeightInUse), false);
    if (const CPlotStyleTable* table = document.table()) {
        for (int row = 0; row < int(table->size()); ++row) {
            const int weight = table->style(row)->LineWeight;
            if (weight >= 1 && weight <= CPlotStyleTable::kLineWeightCount) {
                lineWeightInUse[weight - 1] = true;
            }
        }
    }
    if (refreshMarks) {
        auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
        for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
            list->SetItemImage(row, lineWeightInUse[row] ? kMarkCheck : kMarkEmpty);
        }
    }
}

void DlgPlotStyleEditor::updateLineWeightList(bool keepPickerSelection) {
    auto* picker = XRCCTRL(*this, "ComboLineWeight", wxg::ImageCombo);
    auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    const double factor = inchUnits ? kMillimetresPerInch : 1.0;
    const int keptItem = keepPickerSelection ? picker->GetSelection() : -1;
    if (const CPlotStyleTable* table = document.table()) {
        for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
            const double millimetres = table->LineWeights[row];
            // With a decimal point in every locale, as the edit reads it back.
            const wxString text = fixedNumberText(millimetres / factor, 4);
            picker->setItemLabel(row + 1, text + (inchUnits ? "\"" : " mm"));
            picker->setItemImage(row + 1, lineWeightBitmap(millimetres));
            list->SetItem(row, 0, text, lineWeightInUse[row] ? kMarkCheck : kMarkEmpty);
        }
    }
    if (keptItem >= 0) {
        picker->SetSelection(keptItem);
    }
}

void DlgPlotStyleEditor::sortLineWeights() {
    auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    auto* picker = XRCCTRL(*this, "ComboLineWeight", wxg::ImageCombo);
    const long selectedRow = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    const int pickerItem = picker->GetSelection();
    LineWeightOrder order{};
    if (document.sortLineWeights(&order).refused()) {
        return;
    }
    showSortedLineWeights(order, selectedRow, pickerItem);
}

void DlgPlotStyleEditor::showSortedLineWeights(const LineWeightOrder& order, long selectedRow,
                                               int pickerItem) {
    updateLineWeightsInUse(false);
    updateLineWeightList(false);
    // The selection and the picker follow their rows.
    if (selectedRow >= 0) {
        auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
        const int row = order[selectedRow];
        list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        list->EnsureVisible(row);
    }
    if (pickerItem >= 1) {
        XRCCTRL(*this, "ComboLineWeight", wxg::ImageCombo)->SetSelection(order[pickerItem - 1] + 1);
    }
}

void DlgPlotStyleEditor::endLineWeightEdit(wxListEvent& event) {
    const wxString text = event.GetLabel();
    if (text.empty() || event.IsEditCancelled() || !document.hasTable()) {
        return;
    }
    // The row's value as shown: confirming it unchanged changes nothing, even where the shown
    // value is rounded.
    const long row = event.GetIndex();
    auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    const std::optional<double> typed = parseDecimal(text);
    const std::optional<double> shown = parseDecimal(list->GetItemText(row));
    if (typed && shown && *typed == *shown) {
        event.Veto();
        return;
    }
    // Text that is no number is refused with the limits, as a number beyond them is.
    const double millimetres = typed ? *typed * (inchUnits ? kMillimetresPerInch : 1.0) : -1.0;
    const long pickerItem = XRCCTRL(*this, "ComboLineWeight", wxg::ImageCombo)->GetSelection();
    const long selectedRow = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    LineWeightOrder order{};
    if (!reportRefusal(document.setLineWeight(int(row), millimetres, &order),
                       "DlgPlotStyleEditor::onEndLabelEdit")) {
        showSortedLineWeights(order, selectedRow, int(pickerItem));
    }
    // The list shows what the refresh wrote, never the typed text.
    event.Veto();
}

void DlgPlotStyleEditor::onLineWeightEdit(wxCommandEvent&) {
    auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    const long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (row >= 0) {
        list->EditLabel(row);
    }
}

void DlgPlotStyleEditor::onLineWeightActivated(wxListEvent& event) {
    XRCCTRL(*this, "ListLineWeights", wxListCtrl)->EditLabel(event.GetIndex());
}

void DlgPlotStyleEditor::onLineWeightSort(wxCommandEvent&) {
    sortLineWeights();
}

void DlgPlotStyleEditor::setUnits(bool inches) {
    millimetreUnits = !inches;
    inchUnits = inches;
    document.setLineWeightUnits(inches);
    updateLineWeightList(true);
}

void DlgPlotStyleEditor::onUnitsMillimetres(wxCommandEvent&) {
    setUnits(false);
}

void DlgPlotStyleEditor::onUnitsInches(wxCommandEvent&) {
    setUnits(true);
}

void DlgPlotStyleEditor::onUpdateLineWeightEdit(wxUpdateUIEvent& event) {
    event.Enable(XRCCTRL(*this, "ListLineWeights", wxListCtrl)->GetSelectedItemCount() == 1);
}
