// The Form View: the style list and the editing of the selected styles.
#include "psl_dlg_plot_style_editor.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string>

#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include <davaz/wxg_combo.h>

#include "psl_catalogues.h"
#include "psl_pickers.h"
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

// Style fields edited through a spin field. A pen number of 0 reads "Automatic"; a selection
// whose values differ reads "Varies".
struct SpinField {
    const char* spinName;
    std::int32_t CPlotStyle::*field;
    int SelectionValues::*merged;
    bool zeroIsAutomatic;
};

const SpinField kSpinFields[] = {
    {"SpinPhysPen", &CPlotStyle::PhysPenNum, &SelectionValues::physPen, true},
    {"SpinVirtPen", &CPlotStyle::VirtPenNum, &SelectionValues::virtPen, true},
    {"SpinScreening", &CPlotStyle::Screening, &SelectionValues::screening, false},
};

// Style fields that an image picker of the Form View edits; a stored value outside the catalogue
// is shown with the catalogue's label for such values.
struct PickerField {
    const char* pickerName;
    std::int32_t CPlotStyle::*field;
    int SelectionValues::*merged;
    const CatalogueValues* catalogue; // null: the items follow the table's lineweights
    wxString (*label)(int);
};

const PickerField kPickerFields[] = {
    {"ComboLineType", &CPlotStyle::LineType, &SelectionValues::lineType, &kLineTypeValues,
     lineTypeLabel},
    {"ComboLineWeight", &CPlotStyle::LineWeight, &SelectionValues::lineWeight, nullptr, nullptr},
    {"ComboEndStyle", &CPlotStyle::EndStyle, &SelectionValues::endStyle, &kEndStyleValues,
     endStyleLabel},
    {"ComboJoinStyle", &CPlotStyle::JoinStyle, &SelectionValues::joinStyle, &kJoinStyleValues,
     joinStyleLabel},
    {"ComboFillStyle", &CPlotStyle::FillStyle, &SelectionValues::fillStyle, &kFillStyleValues,
     fillStyleLabel},
};

// GTK's spin button drops every character that cannot be part of a number, and sizes itself for
// two digits; the fields show words too.
void prepareSpinForWords(wxSpinCtrl* spin) {
#ifdef __WXGTK__
    gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(spin->GetHandle()), FALSE);
#endif
    const int textWidth =
        std::max(spin->GetTextExtent(_("Automatic")).x, spin->GetTextExtent(_("Varies")).x) +
        spin->GetCharWidth();
    spin->SetMinSize(wxSize(spin->GetSizeFromTextSize(textWidth).x, -1));
}

// Shows a merged value; a stored value outside the field's range is shown as it is.
void showSpinValue(wxSpinCtrl* spin, const SpinField& spinField, const SpinRange& range,
                   int mergedValue) {
    if (mergedValue == kNoValueYet || mergedValue == kValuesDiffer) {
        spin->SetRange(range.minimum, range.maximum);
        spin->SetValue(range.minimum);
        spin->SetValue(mergedValue == kValuesDiffer ? _("Varies") : wxString());
        return;
    }
    spin->SetRange(std::min(range.minimum, mergedValue), std::max(range.maximum, mergedValue));
    spin->SetValue(mergedValue);
    if (mergedValue == 0 && spinField.zeroIsAutomatic) {
        spin->SetValue(_("Automatic"));
    }
}

// A line break cannot be stored in a style's description.
bool replaceLineBreaks(wxString& text) {
    const size_t replaced =
        text.Replace("\r\n", " ") + text.Replace("\r", " ") + text.Replace("\n", " ");
    return replaced > 0;
}

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

bool DlgPlotStyleEditor::changeStyles(const wxArrayInt& rows,
                                      const std::function<bool(CPlotStyle&)>& change,
                                      bool goesOnTyping) {
    if (!table) {
        return false;
    }
    bool changed = false;
    for (const int row : rows) {
        // The base style of a named table keeps its properties.
        if (row != 0 || isColorDependentTable()) {
            changed = change(*table->style(row)) || changed;
        }
    }
    if (changed) {
        noteTableChange(goesOnTyping);
    }
    return changed;
}

bool DlgPlotStyleEditor::setStyleField(const wxArrayInt& rows, std::int32_t CPlotStyle::*field,
                                       int value) {
    return changeStyles(rows, [&](CPlotStyle& style) {
        if (style.*field == value) {
            return false;
        }
        style.*field = value;
        return true;
    });
}

void DlgPlotStyleEditor::setUpSpinFields() {
    for (size_t i = 0; i < std::size(kSpinFields); ++i) {
        auto* spin = XRCCTRL(*this, kSpinFields[i].spinName, wxSpinCtrl);
        spinRanges[i] = {spin->GetMin(), spin->GetMax()};
        prepareSpinForWords(spin);
        spin->Bind(wxEVT_KILL_FOCUS, &DlgPlotStyleEditor::onSpinFocusLost, this);
    }
}

void DlgPlotStyleEditor::showSelection() {
    const wxArrayInt rows = selectedRows(XRCCTRL(*this, "ListStyles", wxListCtrl));
    shownRows = rows;
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
    for (size_t i = 0; i < std::size(kSpinFields); ++i) {
        const SpinField& spinField = kSpinFields[i];
        showSpinValue(XRCCTRL(*this, spinField.spinName, wxSpinCtrl), spinField, spinRanges[i],
                      values.*spinField.merged);
    }
}

bool DlgPlotStyleEditor::commitTypedValues() {
    if (!isFormViewCurrent()) {
        return false;
    }
    bool changed = false;
    for (size_t i = 0; i < std::size(kSpinFields); ++i) {
        const wxString text = XRCCTRL(*this, kSpinFields[i].spinName, wxSpinCtrl)
                                  ->GetTextValue()
                                  .Strip(wxString::both);
        long typed = 0;
        if (text.ToLong(&typed)) {
            const int value =
                int(std::clamp<long>(typed, spinRanges[i].minimum, spinRanges[i].maximum));
            std::int32_t CPlotStyle::*field = kSpinFields[i].field;
            // A value outside the range that a style already holds is no change for it.
            changed = changeStyles(shownRows,
                                   [&](CPlotStyle& style) {
                                       if (style.*field == typed || style.*field == value) {
                                           return false;
                                       }
                                       style.*field = value;
                                       return true;
                                   }) ||
                      changed;
        }
    }
    return changed;
}

void DlgPlotStyleEditor::onStyleSelection(wxListEvent&) {
    // What was typed belongs to the styles shown before the selection changed.
    commitTypedValues();
    describedRows.Clear();
    showSelection();
}

void DlgPlotStyleEditor::onStyleDescriptionChanged(wxCommandEvent&) {
    auto* box = XRCCTRL(*this, "TextStyleDescr", wxTextCtrl);
    wxString text = box->GetValue();
    if (replaceLineBreaks(text)) {
        const long insertionPoint = box->GetInsertionPoint();
        box->ChangeValue(text);
        box->SetInsertionPoint(insertionPoint);
    }
    setStyleDescription(editableSelection(), text);
}

bool DlgPlotStyleEditor::setStyleDescription(const wxArrayInt& rows, const wxString& text) {
    const std::u16string description = toHostText(text);
    // Typing into the box is one step for as long as it describes the same styles.
    const bool goesOnTyping = !describedRows.empty() && rows == describedRows;
    const bool changed = changeStyles(
        rows,
        [&](CPlotStyle& style) {
            if (description == style.desc()) {
                return false;
            }
            style.setDesc(description);
            return true;
        },
        goesOnTyping);
    describedRows = rows;
    return changed;
}

bool DlgPlotStyleEditor::setStyleColor(const wxArrayInt& rows, std::uint32_t color) {
    return changeStyles(rows, [&](CPlotStyle& style) {
        const std::uint32_t before[] = {style.Color, style.ModeColor};
        style.updateColor(std::int32_t(color));
        return before[0] != style.Color || before[1] != style.ModeColor;
    });
}

void DlgPlotStyleEditor::onComboChanged(wxCommandEvent& event) {
    const wxArrayInt rows = editableSelection();
    if (rows.empty()) {
        return;
    }
    const int id = event.GetId();
    if (id == XRCID("ComboColor")) {
        setStyleColor(rows, readColor(wxStaticCast(FindWindow(id), wxg::ColorCombo)));
        return;
    }
    for (const PickerField& pickerField : kPickerFields) {
        if (id == XRCID(pickerField.pickerName)) {
            const int value = wxStaticCast(FindWindow(id), wxg::ImageCombo)->getValue();
            if (setStyleField(rows, pickerField.field, value) &&
                pickerField.field == &CPlotStyle::LineWeight) {
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
    const bool dither = id == XRCID("CheckDither");
    const bool grayscale = id == XRCID("CheckGrayscale");
    const bool adaptive = id == XRCID("CheckAdaptive");
    if (!(dither || grayscale || adaptive)) {
        return;
    }
    const bool on = event.GetInt() == wxCHK_CHECKED;
    const std::int32_t bit = dither ? 1 : 2;
    changeStyles(editableSelection(), [&](CPlotStyle& style) {
        if (adaptive) {
            const bool changed = style.Adaptive != on;
            style.Adaptive = on;
            return changed;
        }
        const std::int32_t policy = on ? style.ColorPolicy | bit : style.ColorPolicy & ~bit;
        const bool changed = policy != style.ColorPolicy;
        style.ColorPolicy = policy;
        return changed;
    });
}

void DlgPlotStyleEditor::onSpinChanged(wxSpinEvent&) {
    commitTypedValues();
    showSelection();
}

void DlgPlotStyleEditor::onPageChanging(wxBookCtrlEvent& event) {
    commitTypedValues();
    event.Skip();
}

void DlgPlotStyleEditor::onSpinFocusLost(wxFocusEvent& event) {
    // Also puts "Automatic" or "Varies" back into a field that was cleared.
    commitTypedValues();
    showSelection();
    event.Skip();
}

bool DlgPlotStyleEditor::selectionIsEditable() const {
    // Walks the selection: the list's count of selected rows is stale after rows are deleted.
    const wxArrayInt rows = selectedRows(XRCCTRL(*this, "ListStyles", wxListCtrl));
    return !rows.empty() && (isColorDependentTable() || rows.size() > 1 || rows[0] != 0);
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
