#include "psl_dlg_plot_style_editor.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/filedlg.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>
#include <wx/textfile.h>
#include <wx/valgen.h>
#include <wx/valtext.h>
#include <wx/xrc/xmlres.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

#include <davaz/wxg_combo.h>
#include <kesutils/ut_services.h>

#include "psl_catalogues.h"
#include "psl_csv_export.h"
#include "psl_log.h"
#include "psl_pickers.h"
#include "psl_table_files.h"
#include "psl_text.h"

namespace {

constexpr int kFormViewPage = 1;
constexpr int kStyleColumnMargin = 22;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kMaxLineWeight = 200.0;

// Images of the lineweight list: whether some style uses the row.
constexpr int kMarkEmpty = 0;
constexpr int kMarkCheck = 1;

// The 13 characters a style name given by renaming must not hold.
const wxString kForbiddenNameCharacters = "<>/\\\":?*|,=`;";

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

// The style list's one column spans the list. A list whose column width is set skips painting
// until it is laid out again, and the dialog sets it on every paint, so only a real change may
// set it; otherwise the list would never be drawn.
void fitStyleColumn(wxListCtrl* list) {
    const int width = list->GetSize().x - kStyleColumnMargin;
    if (list->GetColumnWidth(0) != width) {
        list->SetColumnWidth(0, width);
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

// The pen fields show "Automatic" or "Varies" in place of 0. GTK's spin button drops every
// character that cannot be part of a number, and sizes itself for two digits.
void prepareSpinForWords(wxSpinCtrl* spin) {
#ifdef __WXGTK__
    gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(spin->GetHandle()), FALSE);
#endif
    const int textWidth =
        std::max(spin->GetTextExtent(_("Automatic")).x, spin->GetTextExtent(_("Varies")).x) +
        spin->GetCharWidth();
    spin->SetMinSize(wxSize(spin->GetSizeFromTextSize(textWidth).x, -1));
}

} // namespace

wxIMPLEMENT_CLASS(DlgPlotStyleEditor, wxDialog);

wxBEGIN_EVENT_TABLE(DlgPlotStyleEditor, wxDialog)
    EVT_INIT_DIALOG(DlgPlotStyleEditor::onInitDialog)
    EVT_BUTTON(wxID_OK, DlgPlotStyleEditor::onOk)
    EVT_BUTTON(wxID_CANCEL, DlgPlotStyleEditor::onCancel)
    EVT_BUTTON(XRCID("BtnStyleAddGrid"), DlgPlotStyleEditor::onStyleAdd)
    EVT_BUTTON(XRCID("BtnStyleAddForm"), DlgPlotStyleEditor::onStyleAdd)
    EVT_BUTTON(XRCID("BtnStyleDelGrid"), DlgPlotStyleEditor::onStyleDelete)
    EVT_BUTTON(XRCID("BtnStyleDelForm"), DlgPlotStyleEditor::onStyleDelete)
    EVT_BUTTON(XRCID("BtnOpen"), DlgPlotStyleEditor::onOpen)
    EVT_BUTTON(XRCID("BtnSaveAs"), DlgPlotStyleEditor::onSaveAs)
    EVT_BUTTON(XRCID("BtnExport"), DlgPlotStyleEditor::onExport)
    EVT_BUTTON(XRCID("BtnLwEdit"), DlgPlotStyleEditor::onLineWeightEdit)
    EVT_BUTTON(XRCID("BtnLwSort"), DlgPlotStyleEditor::onLineWeightSort)
    EVT_RADIOBUTTON(XRCID("RadLwMm"), DlgPlotStyleEditor::onUnitsMillimetres)
    EVT_RADIOBUTTON(XRCID("RadLwIn"), DlgPlotStyleEditor::onUnitsInches)
    EVT_UPDATE_UI(XRCID("TextScale"), DlgPlotStyleEditor::onUpdateScale)
    EVT_UPDATE_UI(XRCID("StatScale"), DlgPlotStyleEditor::onUpdateScale)
    EVT_CUSTOM(wxEVT_UPDATE_UI, XRCID("BtnStyleDelGrid"), DlgPlotStyleEditor::onSkip)
    EVT_UPDATE_UI(XRCID("BtnStyleDelForm"), DlgPlotStyleEditor::onUpdateStyleDelete)
    EVT_UPDATE_UI(XRCID("BtnLwEdit"), DlgPlotStyleEditor::onUpdateLineWeightEdit)
    EVT_UPDATE_UI(XRCID("ComboColor"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("CheckDither"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("CheckGrayscale"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("SpinPhysPen"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("SpinVirtPen"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("SpinScreening"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("ComboLineType"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("CheckAdaptive"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("ComboLineWeight"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("ComboEndStyle"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("ComboJoinStyle"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(XRCID("ComboFillStyle"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(wxID_OK, DlgPlotStyleEditor::onUpdateHasTable)
    EVT_UPDATE_UI(XRCID("BtnSaveAs"), DlgPlotStyleEditor::onUpdateHasTable)
    EVT_UPDATE_UI(XRCID("BtnExport"), DlgPlotStyleEditor::onUpdateHasTable)
    EVT_LIST_BEGIN_LABEL_EDIT(wxID_ANY, DlgPlotStyleEditor::onBeginLabelEdit)
    EVT_LIST_END_LABEL_EDIT(wxID_ANY, DlgPlotStyleEditor::onEndLabelEdit)
    EVT_LIST_ITEM_SELECTED(XRCID("ListStyles"), DlgPlotStyleEditor::onStyleSelection)
    EVT_LIST_ITEM_DESELECTED(XRCID("ListStyles"), DlgPlotStyleEditor::onStyleSelection)
    EVT_COMBOBOX(wxID_ANY, DlgPlotStyleEditor::onComboChanged)
    EVT_CHECKBOX(wxID_ANY, DlgPlotStyleEditor::onCheckChanged)
    EVT_SPINCTRL(wxID_ANY, DlgPlotStyleEditor::onSpinChanged)
    EVT_CUSTOM(wxEVT_SIZE, wxID_ANY, DlgPlotStyleEditor::onSkip)
    EVT_PAINT(DlgPlotStyleEditor::onPaint)
wxEND_EVENT_TABLE()

DlgPlotStyleEditor::DlgPlotStyleEditor(const wxString& path, const wxString& sourcePath,
                                       wxWindow* parent)
    : fileName(path, wxPATH_NATIVE), sourceFileName(sourcePath), modified(false), styleCount(0),
      applyScale(false), scaleText("1"), ditherState(wxCHK_UNCHECKED),
      grayscaleState(wxCHK_UNCHECKED), physPen(0), virtPen(0), physPenVaries(false),
      virtPenVaries(false), screening(100), adaptiveState(wxCHK_UNCHECKED), millimetreUnits(true),
      inchUnits(false), lineWeightInUse{} {
    ut::loadDialog(this, parent, "DlgPlotStyleEditor");
}

DlgPlotStyleEditor::~DlgPlotStyleEditor() {
    table.reset();
    // The style list only borrows the swatches; it must not see them after they are gone.
    if (auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl)) {
        list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    }
    colorImages.reset();
}

bool DlgPlotStyleEditor::TransferDataToWindow() {
    XRCCTRL(*this, "CheckDither", wxCheckBox)->Set3StateValue(wxCheckBoxState(ditherState));
    XRCCTRL(*this, "CheckGrayscale", wxCheckBox)->Set3StateValue(wxCheckBoxState(grayscaleState));
    XRCCTRL(*this, "CheckAdaptive", wxCheckBox)->Set3StateValue(wxCheckBoxState(adaptiveState));
    return wxDialog::TransferDataToWindow();
}

bool DlgPlotStyleEditor::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow() || !table) {
        return false;
    }
    const std::u16string description = toHostText(tableDescription);
    if (description != table->Description) {
        table->Description = description;
        modified = true;
    }
    if (applyScale != table->ApplyFactor) {
        table->ApplyFactor = applyScale;
        modified = true;
    }
    double scale = 0.0;
    if (scaleText.ToDouble(&scale) && scale != table->ScaleFactor) {
        table->ScaleFactor = scale;
        modified = true;
    }
    ditherState = XRCCTRL(*this, "CheckDither", wxCheckBox)->Get3StateValue();
    grayscaleState = XRCCTRL(*this, "CheckGrayscale", wxCheckBox)->Get3StateValue();
    adaptiveState = XRCCTRL(*this, "CheckAdaptive", wxCheckBox)->Get3StateValue();
    return true;
}

void DlgPlotStyleEditor::onInitDialog(wxInitDialogEvent&) {
    SetSize(600, -1);
    Centre(wxBOTH);

    XRCCTRL(*this, "NoteBook", wxNotebook)->RemovePage(1);

    colorImages = createColorSwatches();
    setUpStylePickers(this);

    XRCCTRL(*this, "TextTableDescr", wxTextCtrl)
        ->SetValidator(wxTextValidator(wxFILTER_NONE, &tableDescription));
    XRCCTRL(*this, "CheckScale", wxCheckBox)->SetValidator(wxGenericValidator(&applyScale));
    XRCCTRL(*this, "TextScale", wxTextCtrl)
        ->SetValidator(wxTextValidator(wxFILTER_NUMERIC, &scaleText));
    XRCCTRL(*this, "TextStyleDescr", wxTextCtrl)
        ->SetValidator(wxTextValidator(wxFILTER_NONE, &styleDescription));
    XRCCTRL(*this, "SpinPhysPen", wxSpinCtrl)->SetValidator(wxGenericValidator(&physPen));
    XRCCTRL(*this, "SpinVirtPen", wxSpinCtrl)->SetValidator(wxGenericValidator(&virtPen));
    XRCCTRL(*this, "SpinScreening", wxSpinCtrl)->SetValidator(wxGenericValidator(&screening));
    prepareSpinForWords(XRCCTRL(*this, "SpinPhysPen", wxSpinCtrl));
    prepareSpinForWords(XRCCTRL(*this, "SpinVirtPen", wxSpinCtrl));
    XRCCTRL(*this, "RadLwMm", wxRadioButton)->SetValidator(wxGenericValidator(&millimetreUnits));
    XRCCTRL(*this, "RadLwIn", wxRadioButton)->SetValidator(wxGenericValidator(&inchUnits));

    auto* styleList = XRCCTRL(*this, "ListStyles", wxListCtrl);
    styleList->InsertColumn(0, _("Name"), wxLIST_FORMAT_LEFT);

    setUpLineWeightPicker(this);

    auto* lineWeightList = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    lineWeightList->InsertColumn(0, _("Value"), wxLIST_FORMAT_LEFT);
    lineWeightList->SetColumnWidth(0, 160);
    auto* marks = new wxImageList(16, 16, true);
    marks->Add(wxXmlResource::Get()->LoadBitmap("MarkEmpty"));
    marks->Add(wxXmlResource::Get()->LoadBitmap("MarkCheck"));
    lineWeightList->AssignImageList(marks, wxIMAGE_LIST_SMALL);
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        lineWeightList->InsertItem(row, wxString());
    }

    fitStyleColumn(styleList);

    loadTable();
    SetFocus();
}

void DlgPlotStyleEditor::loadTable() {
    table.reset();

    wxString pathToRead;
    if (!sourceFileName.empty() && wxFileName::FileExists(sourceFileName)) {
        pathToRead = sourceFileName;
    } else if (fileName.FileExists()) {
        pathToRead = fileName.GetFullPath();
    }
    if (pathToRead.empty()) {
        table.reset(CPlotStyleTable::create(hasColorDependentExtension(fileName), nullptr));
    } else {
        table.reset(CPlotStyleTable::read(toHostText(pathToRead).c_str()));
    }
    // A copy shows another file's content: until it is saved, the target does not hold it.
    const bool copiedFromSource =
        pathToRead == sourceFileName && !fileName.SameAs(wxFileName(sourceFileName));
    sourceFileName.clear();
    modified = !fileName.FileExists() || copiedFromSource;

    auto* sortButton = XRCCTRL(*this, "BtnLwSort", wxButton);
    if (!table) {
        wxMessageBox(pathToRead.empty()
                         ? _("Failed to create plotstyle table file.")
                         : _("Invalid file format - failed to open plotstyle table file."),
                     _("Plot Style Table Editor"), wxOK | wxICON_ERROR, nullptr);
        styleCount = 0;
        applyScale = false;
        scaleText = "1";
        tableDescription.clear();
        sortButton->Hide();
    } else {
        styleCount = int(table->size());
        applyScale = table->ApplyFactor;
        scaleText = wxString::Format("%g", table->ScaleFactor);
        tableDescription = toWxString(table->Description);
        millimetreUnits = table->CustomLineWeightUnits == 0;
        inchUnits = !millimetreUnits;
        const double* weights = table->LineWeights;
        sortButton->Show(!std::is_sorted(weights, weights + CPlotStyleTable::kLineWeightCount));
    }
    sortButton->GetParent()->Layout();

    updateFileInfo();
    updateStyleButtons();
    fillStyleList();
    updateLineWeightsInUse(false);
    updateLineWeightList(false);
    TransferDataToWindow();
    showSelection();
}

bool DlgPlotStyleEditor::save(const wxString& name) {
    if (!name.empty()) {
        fileName.Assign(name, wxPATH_NATIVE);
        updateTitle();
    }
    if (table->write(toHostText(fileName.GetFullPath()).c_str())) {
        modified = false;
        return true;
    }
    PSL_LOG_ERROR("DlgPlotStyleEditor::save", _("Failed to save file: %ls"),
                  fileName.GetFullPath());
    return false;
}

bool DlgPlotStyleEditor::canClose() {
    TransferDataFromWindow();
    if (!modified || !table) {
        return true;
    }
    switch (wxMessageBox(_("Do you want to save changes?"), _("Plot Style Table Editor"),
                         wxYES_NO | wxCANCEL | wxICON_QUESTION, nullptr)) {
    case wxCANCEL:
        return false;
    case wxYES:
        return save(wxString());
    default:
        return true;
    }
}

void DlgPlotStyleEditor::updateFileInfo() {
    updateTitle();
    updateNumStyles();
    const bool colorDependent = table && table->ColorDependent;
    XRCCTRL(*this, "StatFileIcon", wxStaticBitmap)
        ->SetBitmap(wxXmlResource::Get()->LoadBitmap(colorDependent ? "BmpCTB" : "BmpSTB"));

    wxString type;
    if (!table) {
        type = _("No table");
    } else if (table->ColorDependent) {
        type = _("Legacy (can be used to import old DWGs)");
    } else if (table->AciTableAvailable) {
        type = _("Regular, created from a PCP, PC2 or CFG file (can be used to import old DWGs)");
    } else {
        type = _("Regular");
    }
    XRCCTRL(*this, "StatFileType", wxStaticText)->SetLabel(type);
}

void DlgPlotStyleEditor::updateTitle() {
    const wxString name = fileName.GetFullName();
    SetTitle(wxString::Format(_("Plot Style Table Editor - %ls"), name));
    XRCCTRL(*this, "StatFileName", wxStaticText)->SetLabelText(name);
    updatePath();
}

void DlgPlotStyleEditor::updatePath() {
    auto* label = XRCCTRL(*this, "StatFilePath", wxStaticText);
    if (!label->IsShown()) {
        return;
    }
    // Called on every paint: setting an unchanged label would only cause another paint.
    const wxString text = fitTextToWidth(_("Path: ") + fileName.GetFullPath(wxPATH_NATIVE), label);
    if (label->GetLabelText() != text) {
        label->SetLabelText(text);
    }
}

void DlgPlotStyleEditor::updateNumStyles() {
    XRCCTRL(*this, "StatNumStyles", wxStaticText)
        ->SetLabel(_("Number of styles: ") + wxString::Format("%d", styleCount));
}

void DlgPlotStyleEditor::updateStyleButtons() {
    const bool show = table && !table->ColorDependent && !table->AciTableAvailable;
    for (const char* name :
         {"BtnStyleAddGrid", "BtnStyleDelGrid", "BtnStyleAddForm", "BtnStyleDelForm"}) {
        wxWindow* button = FindWindow(XRCID(name));
        button->Show(show);
        button->GetParent()->Layout();
    }
}

wxString DlgPlotStyleEditor::fitTextToWidth(const wxString& text, const wxWindow* control) {
    const int clientWidth = control->GetClientSize().x;
    if (control->GetTextExtent(text).x <= clientWidth || clientWidth < 3) {
        return text;
    }
    int length = int(text.length()) - 3;
    wxString candidate = text;
    while (control->GetTextExtent(candidate).x > clientWidth && length > 12) {
        --length;
        candidate = text.Left(length) + "...";
    }
    return candidate;
}

void DlgPlotStyleEditor::onOk(wxCommandEvent& event) {
    if (!Validate() || !TransferDataFromWindow()) {
        return;
    }
    if (modified && (!table || !save(wxString()))) {
        return;
    }
    event.Skip();
}

void DlgPlotStyleEditor::onCancel(wxCommandEvent& event) {
    if (canClose()) {
        event.Skip();
    }
}

void DlgPlotStyleEditor::onUpdateScale(wxUpdateUIEvent& event) {
    event.Enable(XRCCTRL(*this, "CheckScale", wxCheckBox)->IsChecked());
}

void DlgPlotStyleEditor::onUpdateHasTable(wxUpdateUIEvent& event) {
    event.Enable(bool(table));
}

void DlgPlotStyleEditor::onSkip(wxEvent& event) {
    event.Skip();
}

void DlgPlotStyleEditor::onPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    fitStyleColumn(list);
    updatePath();
}

// Form View: the style list and the editing of the selected styles.

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

namespace {

wxArrayInt selectedRows(const wxListCtrl* list) {
    wxArrayInt rows;
    for (long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
        rows.Add(int(row));
    }
    return rows;
}

} // namespace

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

// Adding, deleting and renaming styles of named tables.

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
    if (selectedStyles(rows) == 0) {
        return;
    }
    auto* list = XRCCTRL(*this, "ListStyles", wxListCtrl);
    // From the highest row down, so that the lower row numbers stay valid.
    for (auto row = rows.rbegin(); row != rows.rend() && *row != 0; ++row) {
        table->deleteStyle(*row);
        list->DeleteItem(*row);
    }
    modified = true;
    styleCount = int(table->size());
    updateNumStyles();
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

// The lineweight table.

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
    modified = true;
}

void DlgPlotStyleEditor::endLineWeightEdit(wxListEvent& event) {
    const wxString text = event.GetLabel();
    if (text.empty() || event.IsEditCancelled() || !table) {
        return;
    }
    double value = 0.0;
    const bool parsed = parseNumber(text, value);
    if (inchUnits) {
        value *= kMillimetresPerInch;
    }
    value = roundTo4Decimals(value);
    if (parsed && value >= 0.0 && value <= kMaxLineWeight) {
        table->LineWeights[event.GetIndex()] = value;
        sortLineWeights();
    } else {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onEndLabelEdit",
                      _("Custom lineweights must be greater than or equal to 0 and less than or "
                        "equal to %.0lf mm (%.4lf\")."),
                      kMaxLineWeight, kMaxLineWeight / kMillimetresPerInch);
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
    modified = true;
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

// Open, Save As and Export.

void DlgPlotStyleEditor::onOpen(wxCommandEvent&) {
    if (!canClose()) {
        return;
    }
    wxFileDialog dialog(this, _("Select a Plot Style File"), fileName.GetPath(wxPATH_GET_VOLUME),
                        wxString(),
                        _("Plot Style files (*.ctb;*.stb)|*.ctb;*.stb|All files (*.*)|*.*"),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    fileName.Assign(dialog.GetPath(), wxPATH_NATIVE);
    loadTable();
}

void DlgPlotStyleEditor::onSaveAs(wxCommandEvent&) {
    if (!Validate() || !TransferDataFromWindow()) {
        return;
    }
    const bool colorDependent = isColorDependentTable();
    const wxString wildcard =
        colorDependent ? _("Color-dependent Plot Style files (*.ctb)|*.ctb|All files (*.*)|*.*")
                       : _("Named Plot Style files (*.stb)|*.stb|All files (*.*)|*.*");
    wxFileDialog dialog(this, _("Save Plot Style File As"), fileName.GetPath(wxPATH_GET_VOLUME),
                        fileName.GetFullName(), wildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    const wxFileName chosen(dialog.GetPath());
    if (!fitsTableKind(chosen, colorDependent)) {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onSaveAs", _("%ls is not a valid name to save to."),
                      chosen.GetFullName());
        return;
    }
    save(chosen.GetFullPath());
}

void DlgPlotStyleEditor::onExport(wxCommandEvent&) {
    if (!table) {
        return;
    }
    TransferDataFromWindow();

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
    wxTextFile file;
    const bool opened =
        wxFileName::FileExists(path) ? file.Open(path, wxConvAuto()) : file.Create(path);
    if (!opened) {
        PSL_LOG_ERROR("DlgPlotStyleEditor::onExport", _("Failed to create or open file: %ls"),
                      path);
        return;
    }
    file.Clear();
    for (const wxString& line : csvExportLines(*table, fileName.GetFullName())) {
        file.AddLine(line);
    }
    // wxTextFile writes through a temporary file, so a failed write keeps the old content.
    file.Write(wxTextFileType_None, wxConvUTF8);
    file.Close();
}
