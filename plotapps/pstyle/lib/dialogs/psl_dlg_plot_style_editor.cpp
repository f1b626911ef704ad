// The editor's life cycle, its event table and the General page.
#include "psl_dlg_plot_style_editor.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combo.h>
#include <wx/dcclient.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valgen.h>
#include <wx/valtext.h>
#include <wx/xrc/xmlres.h>

#include <kesutils/ut_services.h>

#include "psl_dialog_sizes.h"
#include "psl_focus_return.h"
#include "psl_label_mnemonics.h"
#include "psl_log.h"
#include "psl_pickers.h"
#include "psl_resources.h"
#include "psl_table_files.h"
#include "psl_text.h"
#include "psl_value_text.h"

namespace {

constexpr int kStyleColumnMargin = 22;

// The style list's one column spans the list. A list whose column width is set skips painting
// until it is laid out again, and the dialog sets it on every paint, so only a real change may
// set it; otherwise the list would never be drawn.
void fitStyleColumn(wxListCtrl* list) {
    const int width = list->GetSize().x - kStyleColumnMargin;
    if (list->GetColumnWidth(0) != width) {
        list->SetColumnWidth(0, width);
    }
}

const char* const kPickerNames[] = {"ComboColor",    "ComboLineType",  "ComboLineWeight",
                                    "ComboEndStyle", "ComboJoinStyle", "ComboFillStyle"};

// The fields that take typed text: Enter takes it, as leaving the field does.
const char* const kTypedFieldNames[] = {"TextTableDescr", "TextStyleDescr", "TextScale",
                                        "SpinPhysPen",    "SpinVirtPen",    "SpinScreening"};

bool isTypedField(const wxWindow* window) {
    return window &&
           std::any_of(std::begin(kTypedFieldNames), std::end(kTypedFieldNames),
                       [window](const char* name) { return window->GetId() == XRCID(name); });
}

// A click on button, when it may be clicked. Keys typed quickly come before the idle time that
// enables controls for what the keys before them did.
void pressButton(wxWindow* button) {
    button->UpdateWindowUI();
    if (button->IsEnabled()) {
        wxCommandEvent click(wxEVT_BUTTON, button->GetId());
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
    }
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
    EVT_UPDATE_UI(XRCID("TextStyleDescr"), DlgPlotStyleEditor::onUpdateStyleControls)
    EVT_UPDATE_UI(wxID_OK, DlgPlotStyleEditor::onUpdateHasTable)
    EVT_UPDATE_UI(XRCID("BtnSaveAs"), DlgPlotStyleEditor::onUpdateHasTable)
    EVT_UPDATE_UI(XRCID("BtnExport"), DlgPlotStyleEditor::onUpdateHasTable)
    EVT_LIST_BEGIN_LABEL_EDIT(wxID_ANY, DlgPlotStyleEditor::onBeginLabelEdit)
    EVT_LIST_END_LABEL_EDIT(wxID_ANY, DlgPlotStyleEditor::onEndLabelEdit)
    EVT_LIST_ITEM_SELECTED(XRCID("ListStyles"), DlgPlotStyleEditor::onStyleSelection)
    EVT_LIST_ITEM_DESELECTED(XRCID("ListStyles"), DlgPlotStyleEditor::onStyleSelection)
    EVT_LIST_ITEM_ACTIVATED(XRCID("ListLineWeights"), DlgPlotStyleEditor::onLineWeightActivated)
    EVT_COMBOBOX(wxID_ANY, DlgPlotStyleEditor::onComboChanged)
    EVT_CHECKBOX(wxID_ANY, DlgPlotStyleEditor::onCheckChanged)
    EVT_SPINCTRL(wxID_ANY, DlgPlotStyleEditor::onSpinChanged)
    EVT_TEXT(XRCID("TextStyleDescr"), DlgPlotStyleEditor::onStyleDescriptionChanged)
    EVT_NOTEBOOK_PAGE_CHANGING(XRCID("NoteBook"), DlgPlotStyleEditor::onPageChanging)
    EVT_CUSTOM(wxEVT_SIZE, wxID_ANY, DlgPlotStyleEditor::onSkip)
    EVT_PAINT(DlgPlotStyleEditor::onPaint)
    EVT_CHAR_HOOK(DlgPlotStyleEditor::onCharHook)
wxEND_EVENT_TABLE()

DlgPlotStyleEditor::DlgPlotStyleEditor(const wxString& path, const wxString& sourcePath,
                                       wxWindow* parent)
    : sourceFileName(sourcePath), document(wxFileName(path, wxPATH_NATIVE)), styleCount(0),
      applyScale(false), scaleText("1"), ditherState(wxCHK_UNCHECKED),
      grayscaleState(wxCHK_UNCHECKED), physPen(0), virtPen(0), screening(100),
      adaptiveState(wxCHK_UNCHECKED), millimetreUnits(true), inchUnits(false), lineWeightInUse{} {
    ut::loadDialog(this, parent, "DlgPlotStyleEditor");
}

DlgPlotStyleEditor::~DlgPlotStyleEditor() {
    // The toolkit takes the focus from the fields while it destroys them, after the members are
    // gone: the handler bound to the fields must not run then.
    for (const char* name : kTypedFieldNames) {
        if (wxWindow* field = FindWindow(XRCID(name))) {
            field->Unbind(wxEVT_KILL_FOCUS, &DlgPlotStyleEditor::onFieldLeft, this);
        }
    }
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
    if (!wxDialog::TransferDataFromWindow() || !document.hasTable()) {
        return false;
    }
    const CPlotStyleTable& table = *document.table();
    document.setTableDescription(singleLine(tableDescription));
    document.setApplyFactor(applyScale);
    // The shown factor is the table's as "%g" writes it, perhaps rounded: only a typed one is
    // stored. Text that is no number, or no factor, leaves the table's as it is.
    if (scaleText != scaleFactorText(table.ScaleFactor)) {
        if (const std::optional<double> scale = parseLocaleDecimal(scaleText)) {
            document.setScaleFactor(*scale);
        }
    }
    ditherState = XRCCTRL(*this, "CheckDither", wxCheckBox)->Get3StateValue();
    grayscaleState = XRCCTRL(*this, "CheckGrayscale", wxCheckBox)->Get3StateValue();
    adaptiveState = XRCCTRL(*this, "CheckAdaptive", wxCheckBox)->Get3StateValue();
    return true;
}

void DlgPlotStyleEditor::onInitDialog(wxInitDialogEvent&) {
    XRCCTRL(*this, "NoteBook", wxNotebook)->RemovePage(1);

    colorImages = createColorSwatches(this);
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
    setUpSpinFields();
    XRCCTRL(*this, "RadLwMm", wxRadioButton)->SetValidator(wxGenericValidator(&millimetreUnits));
    XRCCTRL(*this, "RadLwIn", wxRadioButton)->SetValidator(wxGenericValidator(&inchUnits));
    for (const char* name : kTypedFieldNames) {
        FindWindow(XRCID(name))->Bind(wxEVT_KILL_FOCUS, &DlgPlotStyleEditor::onFieldLeft, this);
    }

    auto* styleList = XRCCTRL(*this, "ListStyles", wxListCtrl);
    styleList->InsertColumn(0, _("Name"), wxLIST_FORMAT_LEFT);

    setUpLineWeightPicker(this);

    auto* lineWeightList = XRCCTRL(*this, "ListLineWeights", wxListCtrl);
    lineWeightList->InsertColumn(0, _("Value"), wxLIST_FORMAT_LEFT);
    lineWeightList->SetColumnWidth(0, 160);
    auto* marks = new wxImageList(16, 16, true);
    marks->Add(catalogueBitmap("MarkEmpty", this));
    marks->Add(catalogueBitmap("MarkCheck", this));
    lineWeightList->AssignImageList(marks, wxIMAGE_LIST_SMALL);
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        lineWeightList->InsertItem(row, wxString());
    }

    // The pickers, labels and fields decide how small the dialog may get.
    giveFieldsTheirHeight(this);
    GetSizer()->SetSizeHints(this);
    SetSize(600, -1);
    // No smaller than shown first: GTK showed the dialog before it was sized, and a window
    // manager answering that first showing late cannot make it smaller.
    SetMinSize(GetSize());
    Centre(wxBOTH);

    fitStyleColumn(styleList);
    for (wxWindow* rowArea : styleList->GetChildren()) {
        rowArea->Bind(wxEVT_MOTION, &DlgPlotStyleEditor::onStyleListMotion, this);
    }

    loadTable();
    SetFocus();
}

void DlgPlotStyleEditor::loadTable() {
    const TableDocument::LoadOutcome outcome = document.load(sourceFileName);
    sourceFileName.clear();

    auto* sortButton = XRCCTRL(*this, "BtnLwSort", wxButton);
    const bool sortButtonWasShown = sortButton->IsShown();
    const CPlotStyleTable* table = document.table();
    if (!table) {
        styleCount = 0;
        applyScale = false;
        scaleText = "1";
        tableDescription.clear();
        sortButton->Hide();
    } else {
        styleCount = int(table->size());
        applyScale = table->ApplyFactor;
        scaleText = scaleFactorText(table->ScaleFactor);
        tableDescription = toWxString(table->Description);
        millimetreUnits = table->CustomLineWeightUnits == 0;
        inchUnits = !millimetreUnits;
        const double* weights = table->LineWeights;
        sortButton->Show(!std::is_sorted(weights, weights + CPlotStyleTable::kLineWeightCount));
    }
    if (sortButton->IsShown() != sortButtonWasShown) {
        sortButton->GetParent()->Layout();
    }

    updateFileInfo();
    updateStyleButtons();
    fillStyleList();
    updateLineWeightsInUse(false);
    updateLineWeightList(false);
    TransferDataToWindow();
    showSelection();
    if (!table) {
        reportLoadFailure(outcome);
    }
}

void DlgPlotStyleEditor::reportLoadFailure(TableDocument::LoadOutcome outcome) {
    const FocusReturn focusReturn;
    wxMessageDialog box(nullptr,
                        outcome == TableDocument::LoadOutcome::CreateFailed
                            ? _("Failed to create plotstyle table file.")
                            : _("Invalid file format - failed to open plotstyle table file."),
                        _("Plot Style Table Editor"), wxOK | wxICON_ERROR);
    if (!document.readFailure().empty()) {
        box.SetExtendedMessage(document.fileName().GetFullPath() + ": " + document.readFailure());
    }
    box.ShowModal();
}

bool DlgPlotStyleEditor::mayReplaceChangedFile() {
    if (!document.fileChangedElsewhere()) {
        return true;
    }
    const FocusReturn focusReturn;
    return wxMessageBox(_("The file was changed by another program since it was opened. "
                          "Replace it?"),
                        _("Plot Style Table Editor"), wxYES_NO | wxNO_DEFAULT | wxICON_WARNING,
                        nullptr) == wxYES;
}

bool DlgPlotStyleEditor::save(const wxString& name) {
    const wxFileName target = name.empty() ? document.fileName() : wxFileName(name, wxPATH_NATIVE);
    if (target.SameAs(document.fileName()) && !mayReplaceChangedFile()) {
        return false;
    }
    const SaveResult saved = document.saveAs(target);
    // The title names the file that later saves go to: the old one after a failure.
    updateTitle();
    if (!saved.saved) {
        PSL_LOG_SAVE_FAILURE("DlgPlotStyleEditor::save", target.GetFullPath(), saved.error);
    }
    return saved.saved;
}

bool DlgPlotStyleEditor::canClose() {
    commitPendingInput();
    if (!document.isModified() || !document.hasTable()) {
        return true;
    }
    const FocusReturn focusReturn;
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

bool DlgPlotStyleEditor::commitPendingInput() {
    commitTypedValues();
    return TransferDataFromWindow();
}

void DlgPlotStyleEditor::takeField(const wxWindow* field) {
    commitPendingInput();
    document.endTyping();
    if (dynamic_cast<const wxSpinCtrl*>(field)) {
        showSelection();
    } else if (field->GetId() == XRCID("TextScale")) {
        showScaleFactor();
    }
}

void DlgPlotStyleEditor::onFieldLeft(wxFocusEvent& event) {
    takeField(static_cast<wxWindow*>(event.GetEventObject()));
    event.Skip();
}

void DlgPlotStyleEditor::showScaleFactor() {
    if (const CPlotStyleTable* table = document.table()) {
        scaleText = scaleFactorText(table->ScaleFactor);
        FindWindow(XRCID("TextScale"))->GetValidator()->TransferToWindow();
    }
}

wxString DlgPlotStyleEditor::scaleFactorText(double factor) {
    return wxString::Format("%g", factor);
}

wxString DlgPlotStyleEditor::singleLine(const wxString& text) {
    wxString line = text;
    line.Replace("\r\n", " ");
    line.Replace("\r", " ");
    line.Replace("\n", " ");
    return line;
}

bool DlgPlotStyleEditor::reportRefusal(const EditResult& result, const char* reporter) {
    if (result.refused()) {
        PSL_LOG_ERROR(reporter, "%ls", result.reason);
    }
    return result.refused();
}

void DlgPlotStyleEditor::updateFileInfo() {
    updateTitle();
    updateNumStyles();
    const CPlotStyleTable* table = document.table();
    const bool colorDependent = table && table->ColorDependent;
    XRCCTRL(*this, "StatFileIcon", wxStaticBitmap)
        ->SetBitmap(catalogueImage(colorDependent ? "BmpCTB" : "BmpSTB"));

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
    const wxString name = document.fileName().GetFullName();
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
    const wxString text =
        fitTextToWidth(_("Path: ") + document.fileName().GetFullPath(wxPATH_NATIVE), label);
    if (label->GetLabelText() != text) {
        label->SetLabelText(text);
    }
}

void DlgPlotStyleEditor::updateNumStyles() {
    XRCCTRL(*this, "StatNumStyles", wxStaticText)
        ->SetLabel(_("Number of styles: ") + wxString::Format("%d", styleCount));
}

void DlgPlotStyleEditor::updateStyleButtons() {
    const bool show = document.canAddOrDeleteStyles();
    // Laying out a page costs more than the rest of loading a table: only a change needs it.
    for (const char* name :
         {"BtnStyleAddGrid", "BtnStyleDelGrid", "BtnStyleAddForm", "BtnStyleDelForm"}) {
        wxWindow* button = FindWindow(XRCID(name));
        if (button->Show(show)) {
            button->GetParent()->Layout();
        }
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
    if (!Validate() || !commitPendingInput()) {
        return;
    }
    if (document.isModified() && !save(wxString())) {
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
    event.Enable(document.hasTable());
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

void DlgPlotStyleEditor::onCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    const auto* focus = dynamic_cast<const wxWindow*>(event.GetEventObject());
    const bool inStyleList = focus && (focus == FindWindow(XRCID("ListStyles")) ||
                                       focus->GetParent() == FindWindow(XRCID("ListStyles")));
    const bool enter = key == WXK_RETURN || key == WXK_NUMPAD_ENTER;
    switch (event.GetModifiers()) {
    case wxMOD_NONE:
        if ((key == WXK_ESCAPE && closeShownPickerList()) ||
            (inStyleList && handleStyleListKey(key))) {
            return;
        }
        // Enter takes a field's text and the editor stays: one applies value after value.
        if (enter && isTypedField(focus)) {
            takeField(focus);
            return;
        }
        break;
    case wxMOD_CONTROL:
        if (enter) {
            pressButton(FindWindow(wxID_OK));
            return;
        }
        if (key == 'S') {
            saveInPlace();
            return;
        }
        if ((key == 'Z' || key == 'Y') && stepThroughHistory(key == 'Y')) {
            return;
        }
        if (key == WXK_PAGEUP || key == WXK_PAGEDOWN) {
            auto* pages = XRCCTRL(*this, "NoteBook", wxNotebook);
            const int count = int(pages->GetPageCount());
            pages->SetSelection((pages->GetSelection() + (key == WXK_PAGEUP ? count - 1 : 1)) %
                                count);
            return;
        }
        if (key == 'A' && inStyleList) {
            selectAllStyles();
            return;
        }
        break;
    case wxMOD_CONTROL | wxMOD_SHIFT:
        if (key == 'Z' && stepThroughHistory(true)) {
            return;
        }
        break;
    case wxMOD_ALT:
        if (key >= '1' && key <= '3') {
            XRCCTRL(*this, "NoteBook", wxNotebook)->SetSelection(key - '1');
            return;
        }
        if (activateMnemonic(event)) {
            return;
        }
        break;
    }
    event.Skip();
}

bool DlgPlotStyleEditor::closeShownPickerList() {
    for (const char* name : kPickerNames) {
        auto* picker = wxStaticCast(FindWindow(XRCID(name)), wxComboCtrl);
        if (picker->IsPopupShown()) {
            picker->Dismiss();
            return true;
        }
    }
    return false;
}

bool DlgPlotStyleEditor::activateMnemonic(const wxKeyEvent& event) {
    // Handled here, before the control with the focus sees the key: a picker would take the
    // letter for the item it begins.
    wxControl* control = controlWithMnemonic(this, event);
    if (!control) {
        return false;
    }
    // Keys typed quickly come before the idle time that enables the controls for what the keys
    // before them did (Ctrl+A, then Alt and a field's letter).
    UpdateWindowUI(wxUPDATE_UI_RECURSE);
    if (dynamic_cast<wxButton*>(control)) {
        pressButton(control);
        return true;
    }
    // GTK ties a label's letter to no field of this toolkit's dialogs: the field that follows the
    // label on the page shown takes the focus.
    for (wxWindow* field = control->GetNextSibling(); field; field = field->GetNextSibling()) {
        if (field->IsShown() && field->AcceptsFocusFromKeyboard()) {
            field->SetFocus();
            break;
        }
    }
    return true;
}

void DlgPlotStyleEditor::saveInPlace() {
    if (Validate() && commitPendingInput()) {
        save(wxString());
    }
}
