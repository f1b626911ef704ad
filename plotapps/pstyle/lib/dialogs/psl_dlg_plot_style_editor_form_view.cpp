// The Form View: the style list and the editing of the selected styles.
#include "psl_dlg_plot_style_editor.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>

#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <davaz/wxg_combo.h>

#include "psl_catalogues.h"
#include "psl_pickers.h"
#include "psl_spin_field.h"
#include "psl_style_values.h"
#include "psl_text.h"

namespace {

constexpr int kFormViewPage = 1;
// Room that the style list leaves around a row's text.
constexpr int kStyleTextMargin = 8;

// The values of the selected styles merged field by field: one shared value, kNoValueYet before
// the first style, kValuesDiffer once two styles differ.
struct SelectionValues {
    int dither;
    int grayscale;
    int adaptive;
    int physPen;
    int virtPen;
    int screening;
    int lineWeight;
    int lineType;
    int endStyle;
    int joinStyle;
    int fillStyle;
    wxString description;
    int descriptionState;
    std::uint32_t color;
    int colorState;
};

void mergeValue(int& merged, int value) {
    if (merged == kValuesDiffer || merged == value) {
        return;
    }
    merged = merged == kNoValueYet ? value : kValuesDiffer;
}

void mergeStyle(SelectionValues& values, const CPlotStyle& style) {
    mergeValue(values.dither, styleValue(style, StyleProperty::Dither));
    mergeValue(values.grayscale, styleValue(style, StyleProperty::Grayscale));
    mergeValue(values.adaptive, styleValue(style, StyleProperty::Adaptive));
    mergeValue(values.physPen, styleValue(style, StyleProperty::PhysicalPen));
    mergeValue(values.virtPen, styleValue(style, StyleProperty::VirtualPen));
    mergeValue(values.screening, styleValue(style, StyleProperty::Screening));
    mergeValue(values.lineWeight, styleValue(style, StyleProperty::LineWeight));
    mergeValue(values.lineType, styleValue(style, StyleProperty::LineType));
    mergeValue(values.endStyle, styleValue(style, StyleProperty::EndStyle));
    mergeValue(values.joinStyle, styleValue(style, StyleProperty::JoinStyle));
    mergeValue(values.fillStyle, styleValue(style, StyleProperty::FillStyle));

    const std::uint32_t color = style.color2rgb();
    if (values.colorState == kNoValueYet) {
        values.color = color;
        values.colorState = kValueShared;
    } else if (values.colorState == kValueShared && values.color != color) {
        values.colorState = kValuesDiffer;
    }

    const wxString description = toWxString(style.desc());
    if (values.descriptionState == kNoValueYet) {
        values.description = description;
        values.descriptionState = kValueShared;
    } else if (values.descriptionState == kValueShared && values.description != description) {
        values.description.clear();
        values.descriptionState = kValuesDiffer;
    }
}

// What the form shows when no style is selected: the values of a new style.
SelectionValues defaultSelectionValues() {
    return {1,
            0,
            1,
            0,
            0,
            100,
            0,
            kLineTypeValues.ownSetting,
            kEndStyleValues.ownSetting,
            kJoinStyleValues.ownSetting,
            kFillStyleValues.ownSetting,
            wxString(),
            0,
            std::uint32_t(kObjectColor),
            0};
}

SelectionValues emptySelectionValues() {
    return {kNoValueYet, kNoValueYet, kNoValueYet, kNoValueYet, kNoValueYet,
            kNoValueYet, kNoValueYet, kNoValueYet, kNoValueYet, kNoValueYet,
            kNoValueYet, wxString(),  kNoValueYet, 0,           kNoValueYet};
}

wxCheckBoxState checkStateOf(int mergedValue) {
    switch (mergedValue) {
    case kValuesDiffer:
        return wxCHK_UNDETERMINED;
    case kNoValueYet:
    case 0:
        return wxCHK_UNCHECKED;
    default:
        return wxCHK_CHECKED;
    }
}

// Style fields edited through a number field. A pen number of 0 reads "Automatic"; a selection
// whose values differ reads "Varies".
struct NumberFieldBinding {
    const char* spinName;
    StyleProperty property;
    int SelectionValues::*merged;
    bool zeroIsAutomatic;
};

const NumberFieldBinding kSpinFields[] = {
    {"SpinPhysPen", StyleProperty::PhysicalPen, &SelectionValues::physPen, true},
    {"SpinVirtPen", StyleProperty::VirtualPen, &SelectionValues::virtPen, true},
    {"SpinScreening", StyleProperty::Screening, &SelectionValues::screening, false},
};

// Style fields that an image picker of the Form View edits; a stored value outside the catalogue
// is shown with the catalogue's label for such values.
struct PickerField {
    const char* pickerName;
    StyleProperty property;
    int SelectionValues::*merged;
    const CatalogueValues* catalogue; // null: the items follow the table's lineweights
    wxString (*label)(int);
};

const PickerField kPickerFields[] = {
    {"ComboLineType", StyleProperty::LineType, &SelectionValues::lineType, &kLineTypeValues,
     lineTypeLabel},
    {"ComboLineWeight", StyleProperty::LineWeight, &SelectionValues::lineWeight, nullptr, nullptr},
    {"ComboEndStyle", StyleProperty::EndStyle, &SelectionValues::endStyle, &kEndStyleValues,
     endStyleLabel},
    {"ComboJoinStyle", StyleProperty::JoinStyle, &SelectionValues::joinStyle, &kJoinStyleValues,
     joinStyleLabel},
    {"ComboFillStyle", StyleProperty::FillStyle, &SelectionValues::fillStyle, &kFillStyleValues,
     fillStyleLabel},
};

const struct {
    const char* checkName;
    StyleProperty property;
} kCheckFields[] = {
    {"CheckDither", StyleProperty::Dither},
    {"CheckGrayscale", StyleProperty::Grayscale},
    {"CheckAdaptive", StyleProperty::Adaptive},
};

// Shows a merged value; a stored value outside the property's range is shown as it is.
void showSpinValue(SpinField* spin, StyleProperty property, int mergedValue) {
    const StyleValueRange range = styleValueRange(property);
    const bool noValue = mergedValue == kNoValueYet || mergedValue == kValuesDiffer;
    spin->showValue(noValue ? std::nullopt : std::optional<int>(mergedValue), range.first,
                    range.last);
}

} // namespace

bool DlgPlotStyleEditor::isColorDependentTable() const {
    return document.hasTable() && document.table()->ColorDependent;
}

bool DlgPlotStyleEditor::isFormViewCurrent() const {
    return XRCCTRL(*this, "NoteBook", wxNotebook)->GetSelection() == kFormViewPage;
}

void DlgPlotStyleEditor::fillStyleList() {
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    list->DeleteAllItems();
    const CPlotStyleTable* table = document.table();
    if (!table) {
        return;
    }
    const bool colorDependent = isColorDependentTable();
    list->SetImageList(colorDependent ? colorImages.get() : nullptr, wxIMAGE_LIST_SMALL);
    for (int row = 0; row < styleCount; ++row) {
        if (colorDependent) {
            list->InsertItem(row, wxString::Format(_("%ls %d "), _("Color"), row + 1), row);
        } else {
            list->InsertItem(row, toWxString(table->style(row)->locName()));
        }
    }
}

std::vector<int> DlgPlotStyleEditor::selectedRows(const wxListCtrl* list) {
    std::vector<int> rows;
    for (long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
        rows.push_back(int(row));
    }
    return rows;
}

int DlgPlotStyleEditor::selectedStyles(wxArrayInt& rows) const {
    rows.Clear();
    for (const int row : editableSelection()) {
        rows.Add(row);
    }
    return int(rows.size());
}

std::vector<int> DlgPlotStyleEditor::editableSelection() const {
    if (!isFormViewCurrent()) {
        return {};
    }
    return selectedRows(XRCCTRL(*this, "ListStyles", wxListCtrl));
}

void DlgPlotStyleEditor::setUpSpinFields() {
    for (const NumberFieldBinding& spinField : kSpinFields) {
        auto* spin = XRCCTRL(*this, spinField.spinName, SpinField);
        const StyleValueRange range = styleValueRange(spinField.property);
        spin->SetRange(range.first, range.last);
        spin->setUp(spinField.zeroIsAutomatic);
    }
}

void DlgPlotStyleEditor::showSelection() {
    const std::vector<int> rows = selectedRows(XRCCTRL(*this, "ListStyles", wxListCtrl));
    shownRows = rows;
    const CPlotStyleTable* table = document.table();
    SelectionValues values = emptySelectionValues();
    if (rows.empty()) {
        values = defaultSelectionValues();
    } else if (table) {
        for (const int row : rows) {
            mergeStyle(values, *table->style(row));
        }
    }

    auto* description = XRCCTRL(*this, "TextStyleDescr", wxTextCtrl);
    description->ChangeValue(values.description);
    description->SetHint(values.descriptionState == kValuesDiffer ? _("Varies") : wxString());
    XRCCTRL(*this, "CheckDither", wxCheckBox)->Set3StateValue(checkStateOf(values.dither));
    XRCCTRL(*this, "CheckGrayscale", wxCheckBox)->Set3StateValue(checkStateOf(values.grayscale));
    XRCCTRL(*this, "CheckAdaptive", wxCheckBox)->Set3StateValue(checkStateOf(values.adaptive));
    showColor(XRCCTRL(*this, "ComboColor", wxg::ColorCombo), values.color, values.colorState);

    for (const PickerField& pickerField : kPickerFields) {
        auto* picker = wxStaticCast(FindWindow(XRCID(pickerField.pickerName)), wxg::ImageCombo);
        const int value = values.*pickerField.merged;
        picker->setVaries(value == kValuesDiffer);
        if (pickerField.catalogue) {
            showPickerValue(picker, *pickerField.catalogue, pickerField.label, value);
        } else {
            picker->setValue(value);
        }
    }
    for (const NumberFieldBinding& spinField : kSpinFields) {
        showSpinValue(XRCCTRL(*this, spinField.spinName, SpinField), spinField.property,
                      values.*spinField.merged);
    }
}

bool DlgPlotStyleEditor::commitTypedValues() {
    const CPlotStyleTable* table = document.table();
    if (!isFormViewCurrent() || !table) {
        return false;
    }
    bool changed = false;
    for (const NumberFieldBinding& spinField : kSpinFields) {
        // "Varies", an empty field and any other text that is no number give no value: the
        // styles keep theirs.
        const std::optional<long> typed =
            XRCCTRL(*this, spinField.spinName, SpinField)->typedValue();
        if (!typed) {
            continue;
        }
        const StyleValueRange range = styleValueRange(spinField.property);
        const int value = int(std::clamp<long>(*typed, range.first, range.last));
        // A value outside the range that a style already holds, shown as it is, is no change
        // for that style.
        std::vector<int> rows;
        std::copy_if(shownRows.begin(), shownRows.end(), std::back_inserter(rows), [&](int row) {
            return row < int(table->size()) &&
                   styleValue(*table->style(row), spinField.property) != *typed;
        });
        changed = document.setStyleProperty(rows, spinField.property, value).changed() || changed;
    }
    return changed;
}

void DlgPlotStyleEditor::onStyleSelection(wxListEvent&) {
    // What was typed belongs to the styles shown before the selection changed.
    commitTypedValues();
    document.endTyping();
    showSelection();
}

void DlgPlotStyleEditor::onStyleDescriptionChanged(wxCommandEvent&) {
    auto* box = XRCCTRL(*this, "TextStyleDescr", wxTextCtrl);
    const wxString text = singleLine(box->GetValue());
    if (text != box->GetValue()) {
        const long insertionPoint = box->GetInsertionPoint();
        box->ChangeValue(text);
        box->SetInsertionPoint(insertionPoint);
    }
    const std::vector<int> rows = editableSelection();
    if (!rows.empty()) {
        document.setStyleDescription(rows, text);
    }
}

void DlgPlotStyleEditor::onComboChanged(wxCommandEvent& event) {
    const std::vector<int> rows = editableSelection();
    if (rows.empty()) {
        return;
    }
    const int id = event.GetId();
    if (id == XRCID("ComboColor")) {
        const std::uint32_t color = readColor(wxStaticCast(FindWindow(id), wxg::ColorCombo));
        document.setStyleProperty(rows, StyleProperty::Color, std::int32_t(color));
        return;
    }
    for (const PickerField& pickerField : kPickerFields) {
        if (id == XRCID(pickerField.pickerName)) {
            const int value = wxStaticCast(FindWindow(id), wxg::ImageCombo)->getValue();
            if (document.setStyleProperty(rows, pickerField.property, value).changed() &&
                pickerField.property == StyleProperty::LineWeight) {
                updateLineWeightsInUse(true);
            }
        }
    }
}

void DlgPlotStyleEditor::onCheckChanged(wxCommandEvent& event) {
    const int id = event.GetId();
    if (id == XRCID("CheckScale")) {
        // A click on the General page is a step of its own.
        TransferDataFromWindow();
        return;
    }
    for (const auto& checkField : kCheckFields) {
        if (id == XRCID(checkField.checkName)) {
            const std::vector<int> rows = editableSelection();
            if (!rows.empty()) {
                document.setStyleProperty(rows, checkField.property,
                                          event.GetInt() == wxCHK_CHECKED);
            }
        }
    }
}

void DlgPlotStyleEditor::onSpinChanged(wxSpinEvent&) {
    commitTypedValues();
    showSelection();
}

void DlgPlotStyleEditor::onPageChanging(wxBookCtrlEvent& event) {
    commitTypedValues();
    event.Skip();
}

bool DlgPlotStyleEditor::selectionIsEditable() const {
    // Walks the selection: the list's count of selected rows is stale after rows are deleted.
    const std::vector<int> rows = selectedRows(XRCCTRL(*this, "ListStyles", wxListCtrl));
    return !rows.empty() && (rows.size() > 1 || !document.isBaseStyle(rows[0]));
}

void DlgPlotStyleEditor::onUpdateStyleControls(wxUpdateUIEvent& event) {
    const bool enable = selectionIsEditable();
    wxWindow* control = FindWindow(event.GetId());
    const bool enabledChanges = control->IsEnabled() != enable;
    event.Enable(enable);
    if (enabledChanges && dynamic_cast<wxg::OwnerDrawComboBase*>(control)) {
        // Only a change of state needs a repaint; repainting on every update would keep the
        // idle loop busy.
        control->Refresh();
    }
}

void DlgPlotStyleEditor::onStyleListMotion(wxMouseEvent& event) {
    event.Skip();
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    auto* rowArea = static_cast<wxWindow*>(event.GetEventObject());
    int flags = 0;
    const long row = list->HitTest(event.GetPosition(), flags);
    wxString tip;
    if (row >= 0) {
        // A name cut off by the column is shown whole.
        const wxString name = list->GetItemText(row);
        if (rowArea->GetTextExtent(name).x + kStyleTextMargin > list->GetColumnWidth(0)) {
            tip = name;
        }
    }
    if (rowArea->GetToolTipText() != tip) {
        rowArea->SetToolTip(tip);
    }
}

void DlgPlotStyleEditor::onUpdateStyleDelete(wxUpdateUIEvent& event) {
    event.Enable(selectionIsEditable());
}
