// The dialogs that lead to the editor. The table selection dialog: its modes, the names it
// refuses, browsing, and the editor it runs on top of itself through startPlotStyleEditor. The new
// table dialog: the names it refuses, the file it creates, the editor it may run, and the name
// newPlotStyleTable hands back.
#include <fstream>

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/modalhook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <gtk/gtk.h>

#include "editor_test_support.h"
#include "psl_dlg_new_table.h"
#include "psl_dlg_select_table.h"
#include "pstyle_lib.h"

namespace {

struct Choice {
    const char* mode; // RadOpen, RadNew or RadCopy
    int tableType;
    wxString source;
    wxString name;
};

class SelectTableTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        fillPlotStyleFolder();
        dir.copyTestData("canonical-aci-table.stb", "b.stb");
        dir.copyTestData("canonical.ctb", "readme.txt");
    }

    static void choose(wxWindow* dialog, const Choice& choice) {
        chooseRadio(dialog, choice.mode);
        findControl<wxChoice>(dialog, "ChoiceTableType")->SetSelection(choice.tableType);
        sendCommand(dialog, "ChoiceTableType", wxEVT_CHOICE, choice.tableType);
        findControl<wxComboBox>(dialog, "ComboSourceFile")->SetValue(choice.source);
        findControl<wxTextCtrl>(dialog, "TextTableName")->SetValue(choice.name);
        refreshControls(dialog);
    }
};

// Ends every dialog about to run modally at once, counting them: a name wrongly accepted then
// fails its case instead of leaving an editor open that no one closes.
class NoModalDialogs : public wxModalDialogHook {
public:
    NoModalDialogs() { Register(); }
    ~NoModalDialogs() override { Unregister(); }
    int ended = 0;

protected:
    int Enter(wxDialog*) override {
        ++ended;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

// The names of the rows' controls that are shown, in layout order.
wxString shownRows(const wxWindow* dialog) {
    wxString shown;
    for (const char* name : {"ChoiceTableType", "ComboSourceFile", "TextTableName", "StatOpen1"}) {
        shown += dialog->FindWindow(XRCID(name))->IsShown() ? wxString(name) + " " : "";
    }
    return shown.Trim();
}

} // namespace

TEST_F(SelectTableTest, EachModeShowsItsRowsAndMessageAndBrowses) {
    const auto dialog = showDialog<DlgSelectTable>("DlgSelectTable");
    auto* combo = findControl<wxComboBox>(dialog.get(), "ComboSourceFile");
    EXPECT_EQ(combo->GetCount(), 3u);
    EXPECT_NE(combo->FindString("site/plan.ctb"), wxNOT_FOUND);

    struct Case {
        Choice choice;
        bool okEnabled;
        const char* shown;
        const char* message;
    };
    const char* const sourceRows = "ComboSourceFile StatOpen1";
    const char* const newRows = "ChoiceTableType TextTableName";
    const char* const copyRows = "ComboSourceFile TextTableName";
    const char* const copyMessage =
        "A new plot style table will be created based on an existing plot style table file.";
    const Case cases[] = {
        {{"RadOpen", 0, "", "x"}, false, sourceRows, "Open an existing plot style table file."},
        {{"RadNew", 0, "x", ""},
         false,
         newRows,
         "A color-dependent plot style table will be created (CTB), containing 255 plot styles, "
         "one for every color index."},
        {{"RadNew", 1, "", "Plan"},
         true,
         newRows,
         "A named plot style table will be created (STB), containing one plot style named "
         "'Normal'. New plot styles can be added in the editor."},
        {{"RadCopy", 1, "a.CTB", ""}, false, copyRows, copyMessage},
        {{"RadCopy", 0, "a.CTB", "b"}, true, copyRows, copyMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.choice.mode << " [" << c.choice.source << "] [" << c.choice.name << "]");
        choose(dialog.get(), c.choice);
        EXPECT_EQ(dialog->FindWindow(wxID_OK)->IsEnabled(), c.okEnabled);
        EXPECT_EQ(shownRows(dialog.get()), c.shown);
        EXPECT_EQ(findControl<wxStaticText>(dialog.get(), "StatMessage")->GetLabel(), c.message);
    }

    // Browsing starts in the plot style folder, or at the file chosen.
    combo->SetValue("b.stb");
    wxTEST_DIALOG(clickButton(dialog.get(), "BtnBrowse"), expectFileChoice("", dir.path()));
    EXPECT_EQ(combo->GetValue(), "b.stb");
    const wxString chosen = dir.file("site/plan.ctb");
    wxTEST_DIALOG(clickButton(dialog.get(), "BtnBrowse"), expectFileChoice(chosen, dir.path()));
    EXPECT_EQ(combo->GetValue(), chosen);
    wxTEST_DIALOG(clickButton(dialog.get(), "BtnBrowse"), expectFileChoice("", dir.file("site")));
}

TEST_F(SelectTableTest, RefusesWhatItCannotOpenOrCreateAndKeepsTheInput) {
    const wxString notATable = " is not a valid plot style table file.";
    struct Case {
        Choice choice;
        wxString message;
    };
    // The rules of new names are the table files'; a refused name is reported before the editor
    // runs. A copy takes its source's kind, whatever the type choice shows.
    const Case cases[] = {
        {{"RadOpen", 0, "readme.txt", ""}, "readme.txt" + notATable},
        {{"RadCopy", 0, "site", "c"}, "site" + notATable},
        {{"RadCopy", 1, "a.CTB", "c.stb"},
         "Extension 'stb' is not valid for this type of plot style table."},
    };
    const auto dialog = showDialog<DlgSelectTable>("DlgSelectTable");
    NoModalDialogs noEditor;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        choose(dialog.get(), c.choice);
        clickButton(dialog.get(), "wxID_OK");
        EXPECT_EQ(noEditor.ended, 0);
        ASSERT_EQ(log.errors().size(), 1u);
        EXPECT_EQ(log.errors()[0].text, c.message);
        EXPECT_EQ(log.errors()[0].function, "DlgSelectTable::onOk");
        EXPECT_EQ(findControl<wxTextCtrl>(dialog.get(), "TextTableName")->GetValue(),
                  c.choice.name);
        log.clear();
    }
}

TEST_F(SelectTableTest, ThousandsOfTablesFillTheDropDownUpToItsLimitAndAllComplete) {
    for (unsigned index = 0; index < DlgSelectTable::kMaxListedTables; ++index) {
        std::ofstream(dir.file(wxString::Format("t%04u.ctb", index)).fn_str());
    }
    const auto dialog = showDialog<DlgSelectTable>("DlgSelectTable");
    auto* combo = findControl<wxComboBox>(dialog.get(), "ComboSourceFile");
    EXPECT_EQ(combo->GetCount(), DlgSelectTable::kMaxListedTables);
    wxArrayString files;
    getPlotStyleFiles(files);
    const wxString last = files.Last();
    EXPECT_EQ(combo->FindString(last), wxNOT_FOUND);

    const wxString typed = last.Left(last.length() - 1);
    combo->SetValue(typed);
    GtkEntryCompletion* completion =
        gtk_entry_get_completion(GTK_ENTRY(gtk_bin_get_child(GTK_BIN(combo->GetHandle()))));
    ASSERT_TRUE(completion);
    EXPECT_TRUE(gtk_entry_completion_get_inline_selection(completion));
    gtk_entry_completion_complete(completion);
    gchar* completed = gtk_entry_completion_compute_prefix(completion, typed.utf8_str());
    EXPECT_EQ(wxString::FromUTF8(completed), last);
    g_free(completed);
}

// Through the real modal loops: the selection dialog runs the editor from its OK handler and
// closes with OK once the editor has closed, however the editor ended.
TEST_F(SelectTableTest, RunsTheEditorOnTheChosenTable) {
    ScratchDir elsewhere;
    const wxString outside = elsewhere.copyTestData("canonical-aci-table.stb", "pens.stb");
    struct Case {
        Choice choice;
        wxString target;
        int styles;
        const char* closeEditorWith;
    };
    const Case cases[] = {
        {{"RadOpen", 0, outside, ""}, outside, 4, "wxID_CANCEL"},
        {{"RadNew", 1, "", "Plan"}, dir.file("Plan.stb"), 1, "wxID_OK"},
        {{"RadNew", 0, "", "site/Plan.CTB"}, dir.file("site/Plan.CTB"), 255, "wxID_OK"},
        {{"RadCopy", 1, "a.CTB", "copy"}, dir.file("copy.ctb"), 255, "wxID_OK"},
        {{"RadCopy", 0, outside, elsewhere.file("c")}, elsewhere.file("c.stb"), 4, "wxID_OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        wxString editedFile;
        wxTheApp->CallAfter([&] {
            wxDialog* selection = activeModalDialog();
            choose(selection, c.choice);
            wxTheApp->CallAfter([&] {
                auto* editor = dynamic_cast<DlgPlotStyleEditor*>(activeModalDialog());
                if (!editor) {
                    ADD_FAILURE() << "no editor";
                    selection->EndModal(wxID_CANCEL);
                    return;
                }
                EXPECT_EQ(editor->GetParent(), selection);
                editedFile = editor->tableFileName().GetFullPath();
                clickButton(editor, c.closeEditorWith);
            });
            clickButton(selection, "wxID_OK");
        });
        EXPECT_TRUE(startPlotStyleEditor(nullptr));
        EXPECT_EQ(editedFile, c.target);
        const PlotStyleTablePtr written = readTable(c.target);
        ASSERT_TRUE(written);
        EXPECT_EQ(int(written->size()), c.styles) << "a copy has its source's content";
    }
    EXPECT_TRUE(log.errors().empty());

    wxTheApp->CallAfter([] { clickButton(activeModalDialog(), "wxID_CANCEL"); });
    EXPECT_FALSE(startPlotStyleEditor(nullptr));
}

namespace {

const char* const kColorDependentMessage =
    "A new color-dependent plot style table will be created (CTB). It will contain 255 plot "
    "styles that have initially been set to the default values. Use the Editor to modify any of "
    "the plot styles.";
const char* const kNamedMessage =
    "A new named plot style table will be created (STB). It will contain one plot style named "
    "'Normal'. New plot styles can be added in the Editor.";

using NewTableTest = EditorTest;

} // namespace

TEST_F(NewTableTest, RefusesNamesThatDoNotFitAndWritesNothing) {
    dir.copyTestData("canonical.ctb", "Plan.ctb");
    const wxString missing = dir.file("missing");
    const wxString extension = "' is not valid for this type of plot style table.";
    const wxString badName = "' is not a valid table name.";
    struct Case {
        bool colorDependent;
        wxString folder;
        wxString name;
        wxString message;
    };
    const Case cases[] = {
        {false, dir.path(), "Plan.CTB", "Extension 'ctb" + extension},
        {true, dir.path(), "Plan", "File 'Plan' exists already."},
        {true, dir.path(), "site/plan", "'site/plan" + badName},
        {false, missing, "Plan",
         "Failed to save file: " + missing + "/Plan.stb (" + wxSysErrorMsgStr(ENOENT) + ")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto dialog = showDialog<DlgNewTable>("DlgNewTable", c.colorDependent, c.folder);
        findControl<wxTextCtrl>(dialog.get(), "TextTableName")->SetValue(c.name);
        NoModalDialogs noEditor;
        clickButton(dialog.get(), "wxID_OK");
        EXPECT_EQ(noEditor.ended, 0);
        ASSERT_FALSE(log.errors().empty());
        EXPECT_EQ(log.errors()[0].text, c.message);
        EXPECT_EQ(log.errors()[0].function, "DlgNewTable::onOk");
        log.clear();
    }
    EXPECT_FALSE(wxFileExists(dir.file("Plan.stb")));
    EXPECT_EQ(readBytes(dir.file("Plan.ctb")), readBytes(testDataPath("canonical.ctb")));
}

// Through the real modal loops: newPlotStyleTable shows the dialog, which writes the file and
// may run the editor on it before it closes.
TEST_F(NewTableTest, CreatesTheFileAndHandsBackItsName) {
    struct Case {
        bool colorDependent;
        wxString typed; // empty: the user cancels
        bool launchEditor;
        bool useInDrawing;
        wxString handedBack;
        wxString file; // the file written, when not cancelled
    };
    const Case cases[] = {
        {false, "", false, true, "", ""},
        {false, "Upper.STB", false, true, "Upper.STB", "Upper.STB"},
        {true, "Plan", false, false, "", "Plan.ctb"},
        {true, "Edited", true, true, "Edited.ctb", "Edited.ctb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        wxString editedFile;
        wxTheApp->CallAfter([&] {
            wxDialog* dialog = activeModalDialog();
            EXPECT_EQ(findControl<wxStaticText>(dialog, "StatMessage")->GetLabel(),
                      c.colorDependent ? kColorDependentMessage : kNamedMessage);
            refreshControls(dialog);
            EXPECT_FALSE(dialog->FindWindow(wxID_OK)->IsEnabled()) << "no name yet";
            if (c.typed.empty()) {
                clickButton(dialog, "wxID_CANCEL");
                return;
            }
            findControl<wxTextCtrl>(dialog, "TextTableName")->SetValue(c.typed);
            findControl<wxCheckBox>(dialog, "CheckLaunchEditor")->SetValue(c.launchEditor);
            findControl<wxCheckBox>(dialog, "CheckUseInDrawing")->SetValue(c.useInDrawing);
            // The editor opens on the file already written; Cancel leaves it there.
            if (c.launchEditor) {
                wxTheApp->CallAfter([&] {
                    auto* editor = dynamic_cast<DlgPlotStyleEditor*>(activeModalDialog());
                    ASSERT_TRUE(editor);
                    editedFile = editor->tableFileName().GetFullPath();
                    EXPECT_FALSE(editor->isModified());
                    clickButton(editor, "wxID_CANCEL");
                });
            }
            clickButton(dialog, "wxID_OK");
        });
        wxString handedBack = "not emptied";
        EXPECT_EQ(newPlotStyleTable(handedBack, c.colorDependent, dir.path(), nullptr),
                  !c.typed.empty());
        EXPECT_EQ(handedBack, c.handedBack);
        EXPECT_EQ(editedFile, c.launchEditor ? dir.file(c.file) : wxString());
        if (!c.file.empty()) {
            const PlotStyleTablePtr written = readTable(dir.file(c.file));
            ASSERT_TRUE(written);
            EXPECT_EQ(written->size(), c.colorDependent ? 255u : 1u);
        }
    }
    EXPECT_TRUE(log.errors().empty());
}
