// The editor's commands on named tables (add, delete and rename styles) and its file commands
// (Open, Save As, Export), with their prompts and file dialogs answered.
#include <clocale>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/textdlg.h>

#include <kesutils/plot_style_table.h>

#include "editor_test_support.h"
#include "gui_test_support.h"
#include "psl_text.h"

namespace {

using EditorCommandsTest = EditorTest;

bool renameRow(wxWindow* editor, long row, const wxString& name) {
    return endLabelEdit(editor, "ListStyles", row, name);
}

bool mayStartRenaming(wxWindow* editor, long row) {
    wxListCtrl* list = styleList(editor);
    wxListEvent event(wxEVT_LIST_BEGIN_LABEL_EDIT, list->GetId());
    event.SetEventObject(list);
    event.SetIndex(row);
    list->GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed();
}

std::vector<wxString> styleNames(const CPlotStyleTable& table) {
    std::vector<wxString> names;
    for (int row = 0; row < int(table.size()); ++row) {
        names.push_back(toWxString(table.style(row)->locName()));
    }
    return names;
}

} // namespace

TEST_F(EditorCommandsTest, NamedTablesGainAndLoseStyles) {
    const auto editor = openEditor(dir.file("plan.stb"));
    showFormView(editor.get());
    CPlotStyleTable* table = editor->currentTable();

    // Nothing selected: the new style goes to the end, under the offered name.
    wxTEST_DIALOG(clickButton(editor.get(), "BtnStyleAddForm"),
                  ExpectStyleName("Style 1", "Style 1"));
    wxTEST_DIALOG(clickButton(editor.get(), "BtnStyleAddForm"),
                  ExpectStyleName("Style 2", "Walls"));
    EXPECT_EQ(styleNames(*table), (std::vector<wxString>{"Normal", "Style 1", "Walls"}));
    EXPECT_EQ(findControl<wxStaticText>(editor.get(), "StatNumStyles")->GetLabel(),
              "Number of styles: 3");

    // One style selected: the new one lands right behind it with its properties, selected.
    table->style(1)->Screening = 40;
    selectRows(editor.get(), {1});
    wxTEST_DIALOG(clickButton(editor.get(), "BtnStyleAddForm"),
                  ExpectStyleName("Style 3", "Doors"));
    EXPECT_EQ(styleNames(*table), (std::vector<wxString>{"Normal", "Style 1", "Doors", "Walls"}));
    EXPECT_EQ(table->style(2)->Screening, 40);
    EXPECT_EQ(rowTexts(styleList(editor.get()))[2], "Doors");
    EXPECT_EQ(styleList(editor.get())->GetSelectedItemCount(), 1);
    EXPECT_EQ(styleList(editor.get())->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 2);

    // Deleting keeps the base style, whatever else is selected.
    selectRows(editor.get(), {0, 1, 3});
    clickButton(editor.get(), "BtnStyleDelForm");
    EXPECT_EQ(styleNames(*table), (std::vector<wxString>{"Normal", "Doors"}));
    EXPECT_EQ(rowTexts(styleList(editor.get())), (std::vector<wxString>{"Normal", "Doors"}));
    EXPECT_EQ(findControl<wxStaticText>(editor.get(), "StatNumStyles")->GetLabel(),
              "Number of styles: 2");
    EXPECT_TRUE(editor->isModified());
    // Only the base style is left selected: nothing on the form may change.
    refreshControls(editor.get());
    for (const char* name : {"BtnStyleDelForm", "SpinScreening", "ComboLineType"}) {
        EXPECT_FALSE(editor->FindWindow(XRCID(name))->IsEnabled()) << name;
    }
    EXPECT_EQ(findControl<wxSpinCtrl>(editor.get(), "SpinScreening")->GetValue(), 100);

    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    const PlotStyleTablePtr written = readTable(dir.file("plan.stb"));
    ASSERT_TRUE(written);
    EXPECT_EQ(styleNames(*written), (std::vector<wxString>{"Normal", "Doors"}));
}

TEST_F(EditorCommandsTest, AddAndRenameApplyOneNameRule) {
    // Hosts run in the C locale, where the C library folds the case of ASCII letters only.
    const std::string locale = setlocale(LC_CTYPE, nullptr);
    setlocale(LC_CTYPE, "C");
    const auto editor = openEditor(dir.file("names.stb"));
    showFormView(editor.get());
    const CPlotStyleTable& table = *editor->currentTable();
    const wxString walls = wxString::FromUTF8("Wände");
    const wxString shouted = wxString::FromUTF8("WÄNDE");
    const struct {
        const char* offered;
        wxString answer;
    } adds[] = {{"Style 1", "  " + walls + " "},
                {"Style 2", shouted},
                {"Style 2", "Doors;Windows"},
                {"Style 2", "Style 2"},
                {"Style 3", "Style 3"}};
    for (const auto& add : adds) {
        wxTEST_DIALOG(clickButton(editor.get(), "BtnStyleAddForm"),
                      ExpectStyleName(add.offered, add.answer));
    }
    EXPECT_EQ(styleNames(table), (std::vector<wxString>{"Normal", walls, "Style 2", "Style 3"}));
    ASSERT_EQ(log.errors().size(), 2u);
    EXPECT_EQ(log.errors()[0].text,
              "A style named '" + shouted + "' already exists. Please enter a unique style name.");
    EXPECT_EQ(log.errors()[1].function, "DlgPlotStyleEditor::onStyleAdd");

    // With "Style 2" deleted, three styles are left and "Style 3" is taken.
    selectRows(editor.get(), {2});
    clickButton(editor.get(), "BtnStyleDelForm");
    wxTEST_DIALOG(clickButton(editor.get(), "BtnStyleAddForm"), ExpectStyleName("Style 4", ""));

    const wxString forbidden = "A style name cannot contain any of the following characters: "
                               "<>/\\\":?*|,=`;{}";
    const struct {
        wxString typed;
        wxString error; // empty when the name is taken
        wxString stored;
    } renames[] = {
        {"Brace{1}", forbidden, "Style 3"},
        {"Tab\tname", forbidden, "Style 3"},
        {shouted,
         "A style named '" + shouted + "' already exists. Please enter a unique style name.",
         "Style 3"},
        {"", "A style name cannot be empty.", "Style 3"},
        {" Fine  ", "", "Fine"},
    };
    for (const auto& rename : renames) {
        SCOPED_TRACE(rename.typed);
        log.clear();
        EXPECT_FALSE(renameRow(editor.get(), 2, rename.typed));
        EXPECT_EQ(toWxString(table.style(2)->locName()), rename.stored);
        EXPECT_EQ(styleList(editor.get())->GetItemText(2), rename.stored);
        if (rename.error.empty()) {
            EXPECT_TRUE(log.errors().empty());
        } else {
            ASSERT_EQ(log.errors().size(), 1u);
            EXPECT_EQ(log.errors()[0].text, rename.error);
            EXPECT_EQ(log.errors()[0].function, "DlgPlotStyleEditor::onEndLabelEdit");
        }
    }
    EXPECT_TRUE(renameRow(editor.get(), 2, "Finer"));
    setlocale(LC_CTYPE, locale.c_str());

    EXPECT_FALSE(mayStartRenaming(editor.get(), 0)) << "the base style keeps its name";
    EXPECT_TRUE(mayStartRenaming(editor.get(), 1));
    const auto colors = openEditor(dir.copyTestData("canonical.ctb"));
    EXPECT_FALSE(mayStartRenaming(colors.get(), 3));
}

TEST_F(EditorCommandsTest, SaveAsTakesOnlyANameOfTheTablesKind) {
    const wxString original = dir.copyTestData("canonical.ctb", "first.ctb");
    const auto editor = openEditor(original);

    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(dir.file("x.stb")));
    const auto errors = log.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, "x.stb is not a valid name to save to.");
    EXPECT_EQ(errors[1].text, "A color-dependent table is saved with the extension .ctb.");
    EXPECT_EQ(errors[1].function, "DlgPlotStyleEditor::onSaveAs");
    EXPECT_FALSE(wxFileName::FileExists(dir.file("x.stb")));

    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(dir.file("X.CTB")));
    EXPECT_TRUE(readTable(dir.file("X.CTB")));
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - X.CTB");
    EXPECT_EQ(editor->tableFileName().GetFullName(), "X.CTB");
    EXPECT_FALSE(editor->isModified());

    // A name typed without extension gets the table's; replacing a file of the completed name is
    // asked about again.
    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(dir.file("plan")));
    EXPECT_TRUE(readTable(dir.file("plan.ctb")));
    EXPECT_EQ(editor->tableFileName().GetFullName(), "plan.ctb");
    const wxString question = "A file named 'plan.ctb' already exists. Do you want to replace it?";
    std::ofstream(dir.file("plan.ctb").fn_str()) << "kept";
    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(dir.file("plan")),
                  ExpectMessageBox(question, wxID_NO));
    EXPECT_EQ(readBytes(dir.file("plan.ctb")).size(), 4u);
}

TEST_F(EditorCommandsTest, FailedSaveAsLeavesTheEditorOnItsFile) {
    const wxString original = dir.copyTestData("canonical.ctb", "mine.ctb");
    const auto editor = openEditor(original);
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("Changed");
    const wxString other = dir.file("other.ctb");
    {
        FileSizeLimit limit(64);
        wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(other));
    }
    const auto errors = log.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, "Failed to save file: " + other);
    EXPECT_EQ(errors[1].text, wxSysErrorMsgStr(EFBIG)) << "the system's reason";
    EXPECT_EQ(errors[1].function, "DlgPlotStyleEditor::save");
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - mine.ctb");
    EXPECT_EQ(editor->tableFileName().GetFullPath(), original);

    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    EXPECT_EQ(toWxString(readTable(original)->Description), "Changed");
}

TEST_F(EditorCommandsTest, ExportWritesTheTableAsCommaSeparatedText) {
    const auto editor = openEditor(dir.copyTestData("canonical-aci-table.stb", "pens.stb"));
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("As shown");

    // An existing file is replaced whole.
    const wxString csv = dir.file("pens.stb.csv");
    std::ofstream(csv.fn_str()) << "old content\nmore\n";
    wxTEST_DIALOG(clickButton(editor.get(), "BtnExport"), ExpectFileChoice(csv));
    const std::vector<char> bytes = readBytes(csv);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("PLOTSTYLE_TABLE,,\n,FileName,pens.stb\n,Description,As shown\n", 0), 0u)
        << "what the General page shows is exported";
    EXPECT_EQ(text.find("old content"), std::string::npos);
    EXPECT_NE(text.find("\nLINE_WEIGHTS,,\n"), std::string::npos);
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(EditorCommandsTest, OpenAsksAboutChangesAndReplacesTheTable) {
    const auto editor = openEditor(dir.copyTestData("canonical.ctb"));
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("Changed");
    wxTEST_DIALOG(clickButton(editor.get(), "BtnOpen"),
                  ExpectMessageBox("Do you want to save changes?", wxID_CANCEL));
    EXPECT_EQ(toWxString(editor->currentTable()->Description), "Changed");
    wxTEST_DIALOG(clickButton(editor.get(), "BtnOpen"),
                  ExpectMessageBox("Do you want to save changes?", wxID_NO),
                  ExpectFileChoice(dir.copyTestData("windows-1252.stb")));
    ASSERT_TRUE(editor->currentTable());
    EXPECT_FALSE(editor->currentTable()->ColorDependent);
    EXPECT_EQ(editor->tableFileName().GetFullName(), "windows-1252.stb");
    EXPECT_EQ(rowTexts(styleList(editor.get())),
              (std::vector<wxString>{"Normal", wxString::FromUTF8("Gebäude")}));
}

TEST_F(EditorCommandsTest, KeysReachCommandsPagesAndFields) {
    const wxString path = dir.file("keys.stb");
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    wxListCtrl* list = styleList(form);
    auto* pages = findControl<wxNotebook>(form, "NoteBook");
    pressKey(form, form, '2', wxMOD_ALT);
    EXPECT_EQ(pages->GetSelection(), 1);
    wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"), ExpectStyleName("Style 1", "Doors"));
    wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"), ExpectStyleName("Style 2", "Walls"));

    // Ctrl+S saves and stays.
    pressKey(form, form, 'S', wxMOD_CONTROL);
    EXPECT_TRUE(editor->IsShown());
    EXPECT_FALSE(editor->isModified());
    ASSERT_TRUE(readTable(path));
    EXPECT_EQ(readTable(path)->size(), 3u);

    // Escape with a picker's list open closes only the list.
    selectRows(form, {1});
    auto* picker = imagePicker(form, "ComboLineType");
    picker->ShowPopup();
    pressKey(form, picker, WXK_ESCAPE);
    EXPECT_FALSE(picker->IsPopupShown());
    EXPECT_TRUE(editor->IsShown());

    // Alt and a label's letter moves to its field.
    pressKey(form, form, 'R', wxMOD_ALT);
    processPendingEvents();
    EXPECT_EQ(wxWindow::FindFocus(), form->FindWindow(XRCID("SpinScreening")));

    // On the style list: F2 renames, Ctrl+A selects every style, Delete asks first.
    pressKey(form, list, WXK_F2);
    ASSERT_TRUE(list->GetEditControl());
    list->EndEditLabel(true);
    pressKey(form, list, 'A', wxMOD_CONTROL);
    for (long row = 0; row < list->GetItemCount(); ++row) {
        EXPECT_TRUE(list->GetItemState(row, wxLIST_STATE_SELECTED)) << row;
    }
    const char* const question = "Do you want to delete the selected styles?";
    wxTEST_DIALOG(pressKey(form, list, WXK_DELETE), ExpectMessageBox(question, wxID_NO));
    EXPECT_EQ(list->GetItemCount(), 3);
    wxTEST_DIALOG(pressKey(form, list, WXK_DELETE), ExpectMessageBox(question, wxID_YES));
    EXPECT_EQ(rowTexts(list), std::vector<wxString>{"Normal"});

    pressKey(form, form, WXK_PAGEUP, wxMOD_CONTROL);
    EXPECT_EQ(pages->GetSelection(), 0);

    // The editor goes while a list is open, as when the host closes it.
    picker->ShowPopup();
}
