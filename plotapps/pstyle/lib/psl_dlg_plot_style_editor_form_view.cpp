// The Form View: the style list and the editing of the selected styles.
#include "psl_dlg_plot_style_editor.h"

#include <cstdint>
#include <utility>

#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <davaz/wxg_combo.h>

#include "psl_catalogues.h"
#include "psl_pickers.h"
#include "psl_text.h"

namespace {

constexpr int kFormViewPage = 1;

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
    mergeValue(values.dither, style.ColorPolicy & 1);
    mergeValue(values.grayscale, (style.ColorPolicy >> 1) & 1);
    mergeValue(values.adaptive, style.Adaptive ? 1 : 0);
    mergeValue(values.physPen, style.PhysPenNum);
    mergeValue(values.virtPen, style.VirtPenNum);
    mergeValue(values.screening, style.Screening);
    mergeValue(values.lineWeight, style.LineWeight);
    mergeValue(values.lineType, style.LineType);
    mergeValue(values.endStyle, style.EndStyle);
    mergeValue(values.joinStyle, style.JoinStyle);
    mergeValue(values.fillStyle, style.FillStyle);

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
            0x00FFFFFF,
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

void showSpinValue(wxSpinCtrl* spin, int mergedValue) {
    if (mergedValue == kNoValueYet) {
        spin->SetValue(wxString());
    } else {
        spin->SetValue(mergedValue == kValuesDiffer ? 0 : mergedValue);
    }
}

// Style fields that an image picker of the Form View edits.
struct PickerField {
    const char* pickerName;
    std::int32_t CPlotStyle::*field;
};

const PickerField kPickerFields[] = {
    {"ComboLineType", &CPlotStyle::LineType},   {"ComboLineWeight", &CPlotStyle::LineWeight},
    {"ComboEndStyle", &CPlotStyle::EndStyle},   {"ComboJoinStyle", &CPlotStyle::JoinStyle},
    {"ComboFillStyle", &CPlotStyle::FillStyle},
};

} // namespace

bool DlgPlotStyleEditor::isColorDependentTable() const {
    return table && table->ColorDependent;
}

bool DlgPlotStyleEditor::isFormViewCurrent() const {
    return XRCCTRL(*this, "NoteBook", wxNotebook)->GetSelection() == kFormViewPage;
}

void DlgPlotStyleEditor::fillStyleList() {
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    list->DeleteAllItems();
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

wxArrayInt DlgPlotStyleEditor::selectedRows(const wxListCtrl* list) {
    wxArrayInt rows;
    for (long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
        rows.Add(int(row));
    }
    return rows;
}

int DlgPlotStyleEditor::selectedStyles(wxArrayInt& rows) const {
    rows.Clear();
    if (isFormViewCurrent()) {
        rows = selectedRows(XRCCTRL(*this, "ListStyles", wxListCtrl));
    }
    return int(rows.size());
}

wxArrayInt DlgPlotStyleEditor::editableSelection() const {
    wxArrayInt rows;
    if (!table) {
        return rows;
    }
    selectedStyles(rows);
    return rows;
}

void DlgPlotStyleEditor::showSelection() {
    const wxArrayInt rows = selectedRows(XRCCTRL(*this, "ListStyles", wxListCtrl));
    SelectionValues values = emptySelectionValues();
    if (rows.empty()) {
        values = defaultSelectionValues();
    } else if (table) {
        for (const int row : rows) {
            mergeStyle(values, *table->style(row));
        }
    }

    XRCCTRL(*this, "TextStyleDescr", wxTextCtrl)->ChangeValue(values.description);
    XRCCTRL(*this, "CheckDither", wxCheckBox)->Set3StateValue(checkStateOf(values.dither));
    XRCCTRL(*this, "CheckGrayscale", wxCheckBox)->Set3StateValue(checkStateOf(values.grayscale));
    XRCCTRL(*this, "CheckAdaptive", wxCheckBox)->Set3StateValue(checkStateOf(values.adaptive));
    showColor(XRCCTRL(*this, "ComboColor", wxg::ColorCombo), values.color, values.colorState);

    const std::pair<const char*, int> pickerValues[] = {
        {"ComboLineType", values.lineType},   {"ComboLineWeight", values.lineWeight},
        {"ComboEndStyle", values.endStyle},   {"ComboJoinStyle", values.joinStyle},
        {"ComboFillStyle", values.fillStyle},
    };
    for (const auto& [name, value] : pickerValues) {
        auto* picker = wxStaticCast(FindWindow(XRCID(name)), wxg::ImageCombo);
        picker->setVaries(value == kValuesDiffer);
        picker->setValue(value);
    }

    physPenVaries = values.physPen == kValuesDiffer;
    virtPenVaries = values.virtPen == kValuesDiffer;
    showSpinValue(XRCCTRL(*this, "SpinPhysPen", wxSpinCtrl), values.physPen);
    showSpinValue(XRCCTRL(*this, "SpinVirtPen", wxSpinCtrl), values.virtPen);
    showSpinValue(XRCCTRL(*this, "SpinScreening", wxSpinCtrl), values.screening);
}

void DlgPlotStyleEditor::onStyleSelection(wxListEvent&) {
    showSelection();
}

void DlgPlotStyleEditor::onComboChanged(wxCommandEvent& event) {
    const wxArrayInt rows = editableSelection();
    if (rows.empty()) {
        return;
    }
    const int id = event.GetId();
    const bool colorChanged = id == XRCID("ComboColor");
    std::int32_t CPlotStyle::*field = nullptr;
    for (const PickerField& picker : kPickerFields) {
        if (id == XRCID(picker.pickerName)) {
            field = picker.field;
        }
    }
    if (!colorChanged && !field) {
        return;
    }
    const std::uint32_t color =
        colorChanged ? readColor(wxStaticCast(FindWindow(id), wxg::ColorCombo)) : 0;
    const int value = field ? wxStaticCast(FindWindow(id), wxg::ImageCombo)->getValue() : 0;

    const bool colorDependent = isColorDependentTable();
    for (const int row : rows) {
        if (row == 0 && !colorDependent) {
            continue; // the base style of a named table keeps its properties
        }
        CPlotStyle* style = table->style(row);
        if (colorChanged) {
            style->updateColor(std::int32_t(color));
        } else {
            style->*field = value;
        }
    }
    if (id == XRCID("ComboLineWeight")) {
        updateLineWeightsInUse(true);
    }
    modified = true;
}

void DlgPlotStyleEditor::onCheckChanged(wxCommandEvent& event) {
    const wxArrayInt rows = editableSelection();
    const int id = event.GetId();
    const bool dither = id == XRCID("CheckDither");
    const bool grayscale = id == XRCID("CheckGrayscale");
    const bool adaptive = id == XRCID("CheckAdaptive");
    if (rows.empty() || !(dither || grayscale || adaptive)) {
        return;
    }
    const bool on = event.GetInt() == wxCHK_CHECKED;
    const std::int32_t bit = dither ? 1 : 2;
    const bool colorDependent = isColorDependentTable();
    for (const int row : rows) {
        if (row == 0 && !colorDependent) {
            continue;
        }
        CPlotStyle* style = table->style(row);
        if (adaptive) {
            style->Adaptive = on;
        } else {
            style->ColorPolicy = on ? style->ColorPolicy | bit : style->ColorPolicy & ~bit;
        }
    }
    modified = true;
}

void DlgPlotStyleEditor::onSpinChanged(wxSpinEvent& event) {
    const wxArrayInt rows = editableSelection();
    const int id = event.GetId();
    std::int32_t CPlotStyle::*field = nullptr;
    if (id == XRCID("SpinPhysPen")) {
        field = &CPlotStyle::PhysPenNum;
        physPenVaries = false;
    } else if (id == XRCID("SpinVirtPen")) {
        field = &CPlotStyle::VirtPenNum;
        virtPenVaries = false;
    } else if (id == XRCID("SpinScreening")) {
        field = &CPlotStyle::Screening;
    }
    if (rows.empty() || !field) {
        return;
    }
    const bool colorDependent = isColorDependentTable();
    for (const int row : rows) {
        if (row != 0 || colorDependent) {
            table->style(row)->*field = event.GetValue();
        }
    }
    modified = true;
}

bool DlgPlotStyleEditor::selectionIsEditable() const {
    const auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    const int count = list->GetSelectedItemCount();
    if (count == 0) {
        return false;
    }
    const bool onlyBaseStyle =
        count == 1 && list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED) == 0;
    return isColorDependentTable() || !onlyBaseStyle;
}

void DlgPlotStyleEditor::onUpdateStyleControls(wxUpdateUIEvent& event) {
    const bool enable = selectionIsEditable();
    wxWindow* control = FindWindow(event.GetId());
    const bool enabledChanges = control->IsEnabled() != enable;
    event.Enable(enable);

    const int id = event.GetId();
    if (id == XRCID("SpinPhysPen") || id == XRCID("SpinVirtPen")) {
        auto* spin = static_cast<wxSpinCtrl*>(control);
        const bool varies = id == XRCID("SpinPhysPen") ? physPenVaries : virtPenVaries;
        const wxString text = varies ? _("Varies") : _("Automatic");
        if (spin->GetValue() == 0 && spin->GetTextValue() != text) {
            spin->SetValue(text);
        }
    } else if (enabledChanges && dynamic_cast<wxg::OwnerDrawComboBase*>(control)) {
        // Only a change of state needs a repaint; repainting on every update would keep the
        // idle loop busy.
        control->Refresh();
    }
}

void DlgPlotStyleEditor::onUpdateStyleDelete(wxUpdateUIEvent& event) {
    event.Enable(selectionIsEditable());
}
