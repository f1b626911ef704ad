// The plot style table editor: one table file, its General page, the styles of the Form View
// and the lineweight table.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <wx/dialog.h>
#include <wx/dynarray.h>
#include <wx/filename.h>

#include <kesutils/plot_style_table.h>

#include "psl_edit_history.h"

class wxImageList;
class wxListCtrl;
class wxListEvent;
class wxBookCtrlEvent;
class wxFocusEvent;
class wxKeyEvent;
class wxMouseEvent;
class wxSpinEvent;
class wxWindow;

struct SpinRange {
    int minimum;
    int maximum;
};

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
    // Writes the table, under name when it is not empty; false after a reported failure.
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
    static double roundTo4Decimals(double value);

    // The label to show for text in control: cut with "..." to the control's width, keeping at
    // least 12 characters.
    static wxString fitTextToWidth(const wxString& text, const wxWindow* control);

    const CPlotStyleTable* currentTable() const { return table.get(); }
    CPlotStyleTable* currentTable() { return table.get(); }
    const wxFileName& tableFileName() const { return fileName; }
    bool isModified() const { return modified; }

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
    void onSpinFocusLost(wxFocusEvent& event);
    void onPageChanging(wxBookCtrlEvent& event);
    void onLineWeightActivated(wxListEvent& event);
    void onStyleListMotion(wxMouseEvent& event);
    // The editor's keys: Escape closes an open picker list first, Ctrl+S saves in place, Ctrl+Z
    // undoes, Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+PgUp/PgDn and Alt+1 to 3 turn the pages, Alt and
    // a label's letter moves to its field; on the style list Ctrl+A, F2 and Delete.
    void onCharHook(wxKeyEvent& event);
    bool closeShownPickerList();
    bool focusLabelledField(int letter);
    bool handleStyleListKey(int key);
    void selectAllStyles();
    void saveInPlace();
    void onStyleDescriptionChanged(wxCommandEvent& event);
    void onSkip(wxEvent& event);
    void onPaint(wxPaintEvent& event);

    // Every change of the table's styles goes through these. change returns whether it changed the
    // style; the base style of a named table is never passed to it. True when a style changed,
    // which marks the table modified; goesOnTyping joins the change to the undo step before.
    bool changeStyles(const wxArrayInt& rows, const std::function<bool(CPlotStyle&)>& change,
                      bool goesOnTyping = false);
    bool setStyleField(const wxArrayInt& rows, std::int32_t CPlotStyle::*field, int value);
    bool setStyleDescription(const wxArrayInt& rows, const wxString& text);
    bool setStyleColor(const wxArrayInt& rows, std::uint32_t color);

    // Inserts a style behind row after, with source's properties or the defaults.
    bool addStyle(const wxString& name, int after, const CPlotStyle* source);
    void renameStyle(int row, const wxString& name);
    // Deletes the styles of rows (ascending) but the base style.
    void deleteStyles(const wxArrayInt& rows);

    void setUpSpinFields();
    // Writes what is typed into the spin fields to the styles the form shows; true when that
    // changed a style. Every path that reads the form calls it first.
    bool commitTypedValues();

    // Stores a lineweight and sorts the table, the styles following their rows.
    void setLineWeight(int row, double millimetres);
    void setUnits(bool inches);
    void endLineWeightEdit(wxListEvent& event);
    void endStyleRename(wxListEvent& event);
    // Marks the table modified and takes its content as one undo step, or as part of the step
    // before when goesOnTyping.
    void noteTableChange(bool goesOnTyping = false);
    // Undoes or, with forward, redoes one step after taking what is typed as a step of its own;
    // false while a list label is edited, whose box keeps the key.
    bool stepThroughHistory(bool forward);
    // Shows on every page the table that undo or redo left; namesBefore were its styles' names.
    void showRestoredTable(const std::vector<wxString>& namesBefore);
    std::vector<wxString> styleNames() const;
    bool isEditingLabel() const;
    void onTextFieldFocusLost(wxFocusEvent& event);
    // Whether the property controls and Delete Style act on the current selection.
    bool selectionIsEditable() const;
    // The selected rows that a property change writes to, or none when nothing may change.
    wxArrayInt editableSelection() const;
    bool isFormViewCurrent() const;
    // The rows selected in list, in ascending order.
    static wxArrayInt selectedRows(const wxListCtrl* list);
    // Reports from reporter why a new style name cannot be taken, if it cannot.
    bool acceptStyleName(const wxString& name, const char* reporter) const;

    wxFileName fileName;
    wxString sourceFileName;
    bool modified;
    int styleCount;
    PlotStyleTablePtr table;
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
    wxArrayInt shownRows;
    // The spin fields' own ranges; a field is widened to show a stored value outside its range.
    SpinRange spinRanges[3];
    EditHistory history;
    // The styles whose description the box is being typed into, while that typing is one step.
    wxArrayInt describedRows;

    wxDECLARE_CLASS(DlgPlotStyleEditor);
    wxDECLARE_EVENT_TABLE();
};
