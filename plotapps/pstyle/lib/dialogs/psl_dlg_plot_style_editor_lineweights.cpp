// The Lineweights page: the table's 27 lineweights, their units, edits and sorting.
#include "psl_dlg_plot_style_editor.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include <wx/listctrl.h>
#include <wx/xrc/xmlres.h>

#include <davaz/wxg_combo.h>

#include "psl_catalogues.h"
#include "psl_log.h"

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kMaxLineWeight = 200.0;

// Images of the lineweight list: whether some style uses the row.
constexpr int kMarkEmpty = 0;
constexpr int kMarkCheck = 1;

// A row of the lineweight table while it is sorted: where it stood, and its value.
struct LineWeightData {
    int index;
    double value;
};

// Parses a whole text as a number in the C library's notation; blanks may lead, nothing may
// follow, and a number out of range fails.
bool parseNumber(const wxString& text, double& value) {
    const wxStringCharType* start = text.wx_str();
    wxStringCharType* end = nullptr;
    errno = 0;
    value = wxStrtod(start, &end);
    return end != start && *end == 0 && errno != ERANGE;
}

} // namespace

double DlgPlotStyleEditor::roundTo4Decimals(double value) {
    const double shifted = (value < 0.0 ? value - 0.00005 : value + 0.00005) * 10000.0;
    // Adding 0.0 turns a negative zero into zero, which would otherwise print as "-0.0000".
    return std::trunc(shifted) / 10000.0 + 0.0;
}

void DlgPlotStyleEditor::updateLineWeightsInUse(bool refreshMarks) {
    std::fill(std::begin(lineWeightInUse), std::end(lineWeightInUse), false);
    if (table) {
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
    if (table) {
        for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
            const double millimetres = table->LineWeights[row];
            const wxString text = wxString::Format("%.4lf", millimetres / factor);
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
    if (!table) {
        return;
    }
    auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    auto* picker = XRCCTRL(*this, "ComboLineWeight", wxg::ImageCombo);
    const long selectedRow = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    const int pickerItem = picker->GetSelection();

    std::vector<LineWeightData> sorted;
    sorted.reserve(CPlotStyleTable::kLineWeightCount);
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        const LineWeightData data{row, table->LineWeights[row]};
        const auto place = std::upper_bound(
            sorted.begin(), sorted.end(), data,
            [](const LineWeightData& a, const LineWeightData& b) { return a.value < b.value; });
        sorted.insert(place, data);
    }

    int newPosition[CPlotStyleTable::kLineWeightCount];
    for (int position = 0; position < CPlotStyleTable::kLineWeightCount; ++position) {
        table->LineWeights[position] = sorted[position].value;
        newPosition[sorted[position].index] = position;
    }
    // Every style keeps plotting with the weight it had: its index follows its row.
    for (int row = 0; row < int(table->size()); ++row) {
        std::int32_t& weight = table->style(row)->LineWeight;
        if (weight > CPlotStyleTable::kLineWeightCount) {
            weight = 0;
        } else if (weight >= 1) {
            weight = newPosition[weight - 1] + 1;
        }
    }

    updateLineWeightsInUse(false);
    updateLineWeightList(false);
    if (selectedRow >= 0) {
        const int row = newPosition[selectedRow];
        list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        list->EnsureVisible(row);
    }
    if (pickerItem >= 1) {
        picker->SetSelection(newPosition[pickerItem - 1] + 1);
    }
    noteTableChange();
}

void DlgPlotStyleEditor::endLineWeightEdit(wxListEvent& event) {
    const wxString text = event.GetLabel();
    if (text.empty() || event.IsEditCancelled() || !table) {
        return;
    }
    // The row's value as shown: confirming it unchanged changes nothing, even where the shown
    // value is rounded.
    const long row = event.GetIndex();
    double value = 0.0;
    double shown = 0.0;
    const bool parsed = parseNumber(text, value);
    auto* list = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    if (parsed && parseNumber(list->GetItemText(row), shown) && value == shown) {
        event.Veto();
        return;
    }
    if (inchUnits) {
        value *= kMillimetresPerInch;
    }
    value = roundTo4Decimals(value);
    if (parsed && value >= 0.0 && value <= kMaxLineWeight) {
        setLineWeight(int(row), value);
    } else {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onEndLabelEdit",
                      _("Custom lineweights must be greater than or equal to 0 and less than or "
                        "equal to %.0lf mm (%.4lf\")."),
                      kMaxLineWeight, kMaxLineWeight / kMillimetresPerInch);
    }
    // The list shows what the refresh wrote, never the typed text.
    event.Veto();
}

void DlgPlotStyleEditor::setLineWeight(int row, double millimetres) {
    table->LineWeights[row] = millimetres;
    sortLineWeights();
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
    if (table) {
        table->CustomLineWeightUnits = inches ? 1 : 0;
    }
    updateLineWeightList(true);
    noteTableChange();
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
