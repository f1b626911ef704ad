// The plot style table editor: one table file, its General page, the styles of the Form View
// and the lineweight table.
#pragma once

#include <memory>
#include <vector>

#include <wx/dialog.h>
#include <wx/dynarray.h>
#include <wx/filename.h>

#include <kesutils/plot_style_table.h>

#include "psl_table_document.h"

class wxImageList;
class wxListCtrl;
class wxListEvent;
class wxBookCtrlEvent;
class wxFocusEvent;
class wxKeyEvent;
class wxMouseEvent;
class wxSpinEvent;
class wxWindow;

class DlgPlotStyleEditor : public wxDialog {
public:
    // fileName is the file shown and saved; sourceFileName, when it names an existing file, is
    // read instead of it once, to start a copy.
    DlgPlotStyleEditor(const wxString& fileName, const wxString& sourceFileName, wxWindow* parent);
    ~DlgPlotStyleEditor() override;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    // Replaces the held table from the source or the target file and refreshes every page.
    void loadTable();
    // Writes the table, under name when it is not empty; false after a reported failure, or
    // when the user keeps a file that another program changed since the editor saw it.
    bool save(const wxString& name);
    // Asks about unsaved changes; true when the caller may close or replace the table.
    bool canClose();

    void updateFileInfo();
    void updateTitle();
    void updatePath();
    void updateNumStyles();
    void updateStyleButtons();

    void fillStyleList();
    // The selected rows of the style list in ascending order, while the Form View is shown.
    int selectedStyles(wxArrayInt& rows) const;
    // Shows the values the selected styles share, and which of them differ.
    void showSelection();
    bool isColorDependentTable() const;

    void updateLineWeightsInUse(bool refreshMarks);
    void updateLineWeightList(bool keepPickerSelection);
    void sortLineWeights();

    // The label to show for text in control: cut with "..." to the control's width, keeping at
    // least 12 characters.
    static wxString fitTextToWidth(const wxString& text, const wxWindow* control);

    const CPlotStyleTable* currentTable() const { return document.table(); }
    const wxFileName& tableFileName() const { return document.fileName(); }
    bool isModified() const { return document.isModified(); }

private:
    void onInitDialog(wxInitDialogEvent& event);
    void onOk(wxCommandEvent& event);
    void onCancel(wxCommandEvent& event);
    void onStyleAdd(wxCommandEvent& event);
    void onStyleDelete(wxCommandEvent& event);
    void onOpen(wxCommandEvent& event);
    void onSaveAs(wxCommandEvent& event);
    void onExport(wxCommandEvent& event);
    void onLineWeightEdit(wxCommandEvent& event);
    void onLineWeightSort(wxCommandEvent& event);
    void onUnitsMillimetres(wxCommandEvent& event);
    void onUnitsInches(wxCommandEvent& event);
    void onUpdateScale(wxUpdateUIEvent& event);
    void onUpdateStyleDelete(wxUpdateUIEvent& event);
    void onUpdateLineWeightEdit(wxUpdateUIEvent& event);
    void onUpdateStyleControls(wxUpdateUIEvent& event);
    void onUpdateHasTable(wxUpdateUIEvent& event);
    void onBeginLabelEdit(wxListEvent& event);
    void onEndLabelEdit(wxListEvent& event);
    void onStyleSelection(wxListEvent& event);
    void onComboChanged(wxCommandEvent& event);
    void onCheckChanged(wxCommandEvent& event);
    void onSpinChanged(wxSpinEvent& event);
    void onPageChanging(wxBookCtrlEvent& event);
    void onLineWeightActivated(wxListEvent& event);
    void onStyleListMotion(wxMouseEvent& event);
    // The editor's keys: Escape closes an open picker list first, Enter takes what is typed into
    // a field and stays, Ctrl+Enter saves and closes, Ctrl+S saves in place, Ctrl+Z undoes, Ctrl+Y
    // and Ctrl+Shift+Z redo, Ctrl+PgUp/PgDn and Alt+1 to 3 turn the pages, Alt and a label's
    // letter moves to its field or presses its button, whichever control has the focus; on the
    // style list Ctrl+A, F2 and Delete.
    void onCharHook(wxKeyEvent& event);
    bool closeShownPickerList();
    bool activateMnemonic(const wxKeyEvent& event);
    bool handleStyleListKey(int key);
    void selectAllStyles();
    void saveInPlace();
    void onStyleDescriptionChanged(wxCommandEvent& event);
    void onSkip(wxEvent& event);
    void onPaint(wxPaintEvent& event);

    // Writes what is typed into the spin fields to the styles the form shows; true when that
    // changed a style.
    bool commitTypedValues();
    // Takes what is typed anywhere in the form into the table: the spin fields and the General
    // page. Every path that reads the form or acts on the table calls it first.
    bool commitPendingInput();
    // Takes what is typed into field as one step, as leaving it does, and shows what the table
    // holds now: text that is no value goes.
    void takeField(const wxWindow* field);
    void onFieldLeft(wxFocusEvent& event);
    void showScaleFactor();
    // Fills the pages first, so that the message stands in front of what they show.
    void reportLoadFailure(TableDocument::LoadOutcome outcome);
    // Asks before replacing a file that another program changed, created or deleted since the
    // editor read or wrote it; true when the save may go ahead.
    bool mayReplaceChangedFile();
    // Logs the reason of a refused edit from reporter; true when the edit was refused.
    static bool reportRefusal(const EditResult& result, const char* reporter);
    // The General page shows the scale factor as "%g" writes it in the host's locale.
    static wxString scaleFactorText(double factor);
    // A description box's text on one line: a table file cannot hold a line break in a text.
    static wxString singleLine(const wxString& text);

    void setUpSpinFields();
    // Deletes the styles of rows (ascending) but the base style, from the table and the list.
    void deleteStyles(const std::vector<int>& rows);
    void setUnits(bool inches);
    // Refreshes the Lineweights page after a sort; the selected row and the picker's item follow
    // their rows.
    void showSortedLineWeights(const LineWeightOrder& order, long selectedRow, int pickerItem);
    void endLineWeightEdit(wxListEvent& event);
    void endStyleRename(wxListEvent& event);
    // Undoes or, with forward, redoes one step after taking what is typed as a step of its own;
    // false while a list label is edited, whose box keeps the key.
    bool stepThroughHistory(bool forward);
    // Shows on every page the table that undo or redo left; namesBefore were its styles' names.
    void showRestoredTable(const std::vector<wxString>& namesBefore);
    std::vector<wxString> styleNames() const;
    bool isEditingLabel() const;
    // Whether the property controls and Delete Style act on the current selection.
    bool selectionIsEditable() const;
    // The selected rows that a property change writes to: none unless the Form View is shown.
    std::vector<int> editableSelection() const;
    bool isFormViewCurrent() const;
    // The rows selected in list, in ascending order.
    static std::vector<int> selectedRows(const wxListCtrl* list);

    wxString sourceFileName;
    // The table, its file, its history and whether it is modified.
    TableDocument document;
    int styleCount;
    wxString tableDescription;
    wxString styleDescription;
    bool applyScale;
    wxString scaleText;
    int ditherState;
    int grayscaleState;
    int physPen;
    int virtPen;
    int screening;
    int adaptiveState;
    bool millimetreUnits;
    bool inchUnits;
    bool lineWeightInUse[CPlotStyleTable::kLineWeightCount]; // entry r: lineweight index r + 1
    std::unique_ptr<wxImageList> colorImages;
    // The rows whose values the Form View shows, which typed values belong to.
    std::vector<int> shownRows;

    wxDECLARE_CLASS(DlgPlotStyleEditor);
    wxDECLARE_EVENT_TABLE();
};
