#include "psl_dlg_select_table.h"

#include <algorithm>

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/valgen.h>
#include <wx/valtext.h>
#include <wx/xrc/xmlres.h>

#include <gtk/gtk.h>

#include "psl_dialog_sizes.h"
#include "psl_dlg_plot_style_editor.h"
#include "psl_log.h"
#include "psl_message_panel.h"
#include "psl_plot_style_files.h"
#include "psl_resources.h"
#include "psl_table_file_dialog.h"
#include "psl_table_files.h"
#include "pstyle_lib.h"

namespace {

constexpr int kColorDependentType = 0;

void appendRows(GtkListStore* store, const wxArrayString& names, std::size_t count) {
    for (std::size_t index = 0; index < count; ++index) {
        gtk_list_store_insert_with_values(store, nullptr, -1, 0, names[index].utf8_str().data(),
                                          -1);
    }
}

// The toolkit's combo box sets the text of each row after inserting it, and GTK's drop-down
// menu finds the entry of a changed row by walking all its entries. Rows inserted with their
// text are never changed. The toolkit's list of client data stays empty: the dialog attaches
// none.
void appendToDropDown(wxComboBox* combo, const wxArrayString& names, std::size_t count) {
    appendRows(GTK_LIST_STORE(gtk_combo_box_get_model(GTK_COMBO_BOX(combo->GetHandle()))), names,
               count);
}

// GTK's drop-down menu also walks all its entries for every row removed, as the toolkit
// removes them one by one; given an empty list instead, it drops all its entries at once.
void emptyDropDown(wxComboBox* combo) {
    GtkListStore* empty = gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_STRING); // text and id
    gtk_combo_box_set_model(GTK_COMBO_BOX(combo->GetHandle()), GTK_TREE_MODEL(empty));
    g_object_unref(empty);
}

// The completion gets its names when the field first changes, which it waits for anyway before
// it shows anything: thousands of names take longer to fill in than the dialog to open.
void fillCompletion(GtkEntry* entry, gpointer pendingNames) {
    const auto& names = *static_cast<const wxArrayString*>(pendingNames);
    GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
    appendRows(store, names, names.size());
    gtk_entry_completion_set_model(gtk_entry_get_completion(entry), GTK_TREE_MODEL(store));
    g_object_unref(store);
    g_signal_handlers_disconnect_by_func(entry, reinterpret_cast<gpointer>(fillCompletion),
                                         pendingNames);
}

void forgetNames(gpointer names, GClosure*) {
    delete static_cast<wxArrayString*>(names);
}

// The toolkit's completion matches its whole list against the empty field as soon as it gets
// the list, so it only sets up its handling of Enter here. Moving through the completions puts
// each into the field, so that Enter opens the one chosen rather than the letters typed.
void completeFrom(wxComboBox* combo, const wxArrayString& names) {
    combo->AutoComplete(wxArrayString());
    GtkEntry* entry = GTK_ENTRY(gtk_bin_get_child(GTK_BIN(combo->GetHandle())));
    GtkEntryCompletion* completion = gtk_entry_completion_new();
    gtk_entry_completion_set_text_column(completion, 0);
    gtk_entry_completion_set_inline_selection(completion, TRUE);
    gtk_entry_set_completion(entry, completion);
    g_object_unref(completion);
    g_signal_connect_data(entry, "changed", G_CALLBACK(fillCompletion), new wxArrayString(names),
                          forgetNames, GConnectFlags(0));
}

} // namespace

wxIMPLEMENT_CLASS(DlgSelectTable, wxDialog);

wxBEGIN_EVENT_TABLE(DlgSelectTable, wxDialog)
    EVT_INIT_DIALOG(DlgSelectTable::onInitDialog)
    EVT_BUTTON(wxID_OK, DlgSelectTable::onOk)
    EVT_BUTTON(XRCID("BtnBrowse"), DlgSelectTable::onBrowse)
    EVT_RADIOBUTTON(wxID_ANY, DlgSelectTable::onRadioButton)
    EVT_CHOICE(XRCID("ChoiceTableType"), DlgSelectTable::onTableTypeChoice)
    EVT_UPDATE_UI(wxID_OK, DlgSelectTable::onUpdateOk)
wxEND_EVENT_TABLE()

DlgSelectTable::DlgSelectTable()
    : openExisting(true), createNew(false), copyExisting(false), tableType(kColorDependentType) {}

DlgSelectTable::~DlgSelectTable() {
    if (auto* combo = XRCCTRL(*this, "ComboSourceFile", wxComboBox)) {
        emptyDropDown(combo);
    }
}

void DlgSelectTable::onInitDialog(wxInitDialogEvent&) {
    sizeForText(this, 400);

    fillSourceFiles();

    XRCCTRL(*this, "RadOpen", wxRadioButton)->SetValidator(wxGenericValidator(&openExisting));
    XRCCTRL(*this, "RadNew", wxRadioButton)->SetValidator(wxGenericValidator(&createNew));
    XRCCTRL(*this, "RadCopy", wxRadioButton)->SetValidator(wxGenericValidator(&copyExisting));
    XRCCTRL(*this, "ChoiceTableType", wxChoice)->SetValidator(wxGenericValidator(&tableType));
    XRCCTRL(*this, "ComboSourceFile", wxComboBox)->SetValidator(wxGenericValidator(&sourceFile));
    XRCCTRL(*this, "TextTableName", wxTextCtrl)
        ->SetValidator(wxTextValidator(wxFILTER_NONE, &tableName));

    TransferDataToWindow();
    updateControls();
    Centre(wxBOTH);
}

// Offices keep thousands of tables. GTK builds a menu entry for each row of the drop-down, so it
// holds the first kMaxListedTables in listing order; typing completes any of them.
void DlgSelectTable::fillSourceFiles() {
    wxArrayString files;
    if (getPlotStyleFiles(files) == 0) {
        return;
    }
    auto* combo = XRCCTRL(*this, "ComboSourceFile", wxComboBox);
    appendToDropDown(combo, files, std::min<std::size_t>(files.size(), kMaxListedTables));
    completeFrom(combo, files);
}

void DlgSelectTable::updateControls() {
    TransferDataFromWindow();
    for (const char* name : {"StatTableType", "ChoiceTableType"}) {
        FindWindow(XRCID(name))->Show(createNew);
    }
    for (const char* name : {"StatSourceFile", "ComboSourceFile", "BtnBrowse"}) {
        FindWindow(XRCID(name))->Show(!createNew);
    }
    for (const char* name : {"StatTableName", "TextTableName"}) {
        FindWindow(XRCID(name))->Show(!openExisting);
    }
    for (const char* name : {"StatOpen1", "StatOpen2"}) {
        FindWindow(XRCID(name))->Show(openExisting);
    }
    Layout();
    updateMessage();
}

void DlgSelectTable::updateMessage() {
    TransferDataFromWindow();
    wxString message;
    if (openExisting) {
        message = _("Open an existing plot style table file.");
    } else if (createNew && tableType == kColorDependentType) {
        message = _("A color-dependent plot style table will be created (CTB), containing 255 "
                    "plot styles, one for every color index.");
    } else if (createNew) {
        message = _("A named plot style table will be created (STB), containing one plot style "
                    "named 'Normal'. New plot styles can be added in the editor.");
    } else if (copyExisting) {
        message = _("A new plot style table will be created based on an existing plot style "
                    "table file.");
    }
    showMessage(this, message);
}

void DlgSelectTable::onRadioButton(wxCommandEvent&) {
    updateControls();
}

void DlgSelectTable::onTableTypeChoice(wxCommandEvent&) {
    updateMessage();
}

// Reads the controls, not the fields: update-UI runs between the user's changes.
void DlgSelectTable::onUpdateOk(wxUpdateUIEvent& event) {
    const bool sourceMissing = !XRCCTRL(*this, "RadNew", wxRadioButton)->GetValue() &&
                               XRCCTRL(*this, "ComboSourceFile", wxComboBox)->GetValue().empty();
    const bool nameMissing = !XRCCTRL(*this, "RadOpen", wxRadioButton)->GetValue() &&
                             XRCCTRL(*this, "TextTableName", wxTextCtrl)->GetValue().empty();
    event.Enable(!sourceMissing && !nameMissing);
}

void DlgSelectTable::onBrowse(wxCommandEvent&) {
    auto* combo = XRCCTRL(*this, "ComboSourceFile", wxComboBox);
    wxString path = combo->GetValue();
    if (!wxIsAbsolutePath(path)) {
        path.clear();
    }
    if (browseForTableFile(path, this)) {
        combo->SetValue(path);
        // The next Enter opens the file chosen, not the file dialog again. OK, disabled while
        // the field was empty, takes the focus once it is enabled.
        UpdateWindowUI(wxUPDATE_UI_RECURSE);
        FindWindow(wxID_OK)->SetFocus();
    }
}

void DlgSelectTable::onOk(wxCommandEvent& event) {
    TransferDataFromWindow();
    const wxString folder = configuredPlotStyleFolder();

    wxFileName source;
    if (!createNew) {
        source = fileInFolder(folder, sourceFile);
        if (!source.FileExists() || !isPlotStyleTableFile(source)) {
            PSL_LOG_ERROR("DlgSelectTable::onOk", _("%ls is not a valid plot style table file."),
                          sourceFile);
            return;
        }
    }

    wxString target;
    if (openExisting) {
        target = source.GetFullPath();
    } else {
        target =
            newTableTarget(folder, createNew ? tableFileExtension(tableType == kColorDependentType)
                                             : source.GetExt().Lower());
        if (target.empty()) {
            return;
        }
    }

    if (copyExisting) {
        ensureResources();
        DlgPlotStyleEditor editor(target, source.GetFullPath(), this);
        editor.ShowModal();
    } else {
        editPlotStyleTable(target, this);
    }
    event.Skip();
}

wxString DlgSelectTable::newTableTarget(const wxString& folder, const wxString& expectedExtension) {
    const NewTableFile target =
        checkNewTableName(tableName, folder, expectedExtension, NewTableReach::subfolders);
    if (!target.refusal.empty()) {
        PSL_LOG_ERROR("DlgSelectTable::onOk", "%ls", target.refusal);
        return wxString();
    }
    return target.file.GetFullPath();
}

bool DlgSelectTable::browseForTableFile(wxString& path, wxWindow* parent) {
    // A file given is chosen again in its folder; a file path is no folder to start in.
    wxString folder = path.empty() ? configuredPlotStyleFolder() : path;
    wxString file;
    if (wxFileName::FileExists(path)) {
        const wxFileName chosen(path);
        folder = chosen.GetPath();
        file = chosen.GetFullName();
    }
    return chooseTableFile(parent, folder, file, path);
}
