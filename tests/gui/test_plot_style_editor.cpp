// The editor's life cycle: loading or creating a table, the General page, Save & Close, Cancel
// with its prompt. Its commands on named tables (add, delete and rename styles) and its file
// commands (Open, Save As, Export), with their prompts and file dialogs answered; its keys. Undo
// and redo: edits of every kind taken back step by step to the file's bytes and brought back,
// the modified flag following the saved point, and Open starting afresh.
#include <clocale>
#include <fstream>
#include <string>

#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "editor_test_support.h"
#include "psl_edit_history.h"

namespace {

const char* const kInvalidFormat = "Invalid file format - failed to open plotstyle table file.";

wxString labelOf(const wxWindow* dialog, const char* name) {
    return findControl<wxStaticText>(dialog, name)->GetLabel();
}

using EditorCommandsTest = EditorTest;
using EditorUndoTest = EditorTest;

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

TEST_F(EditorTest, GeneralPageShowsTheFileAndItsTable) {
    const struct {
        const char* fixture;
        const char* styles;
        const char* type;
        const char* description;
        const char* scale;
        bool sortShown;
    } cases[] = {
        {"independent-writer-64bit-header.ctb", "Number of styles: 255",
         "Legacy (can be used to import old DWGs)", "Bürostandard A3 – grau", "2.5", false},
        {"canonical-aci-table.stb", "Number of styles: 4",
         "Regular, created from a PCP, PC2 or CFG file (can be used to import old DWGs)",
         "Converted from a pen configuration", "1", true},
        {"independent-writer-64bit-header.stb", "Number of styles: 3", "Regular", "", "1", false},
        {"not-a-table.ctb", "Number of styles: 0", "No table", "", "1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        const wxString path = dir.copyTestData(c.fixture, "office.tbl");
        const bool readable = c.styles != std::string("Number of styles: 0");
        std::unique_ptr<DlgPlotStyleEditor> editor;
        if (readable) {
            editor = openEditor(path);
        } else {
            wxTEST_DIALOG(editor = openEditor(path), ExpectMessageBox(kInvalidFormat, wxID_OK));
        }
        EXPECT_EQ(bool(editor->currentTable()), readable);
        EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - office.tbl");
        EXPECT_EQ(labelOf(editor.get(), "StatNumStyles"), c.styles);
        EXPECT_EQ(labelOf(editor.get(), "StatFileType"), c.type);
        EXPECT_EQ(findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->GetValue(),
                  wxString::FromUTF8(c.description));
        EXPECT_EQ(findControl<wxTextCtrl>(editor.get(), "TextScale")->GetValue(), c.scale);
        EXPECT_EQ(editor->FindWindow(XRCID("BtnLwSort"))->IsShown(), c.sortShown);
        // A colour-dependent or converted table never gains or loses styles.
        EXPECT_EQ(editor->FindWindow(XRCID("BtnStyleAddForm"))->IsShown(),
                  c.type == std::string("Regular"));
        // Without a table there is nothing to save: Cancel closes without a question.
        editor->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        EXPECT_EQ(editor->FindWindow(wxID_OK)->IsEnabled(), readable);
        EXPECT_TRUE(closedBy(*editor, "wxID_CANCEL"));
        EXPECT_EQ(readBytes(path), readBytes(testDataPath(c.fixture)));
    }
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(EditorTest, NewFileGetsTheKindItsExtensionNames) {
    struct Case {
        const char* name;
        bool colorDependent;
    };
    for (const Case& c : {Case{"Plan.CTB", true}, Case{"plan.stb", false}, Case{"plan.txt", false},
                          Case{"plan", false}}) {
        SCOPED_TRACE(c.name);
        const wxString path = dir.file(c.name);
        const auto editor = openEditor(path);
        EXPECT_TRUE(editor->isModified()) << "a new table is unsaved until written";
        // Save & Close writes the new table even without an edit.
        EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
        const PlotStyleTablePtr written = readTable(path);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->ColorDependent, c.colorDependent);
        EXPECT_EQ(written->size(), c.colorDependent ? 255u : 1u);
    }
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(EditorTest, SourceFileGivesTheContentAndTheTargetReceivesIt) {
    const wxString source = dir.copyTestData("canonical-aci-table.stb", "pens.stb");
    const wxString existingTarget = dir.copyTestData("windows-1252.stb", "site.stb");

    // The copy is shown from the source; the target does not hold it yet, so it counts as
    // unsaved and Save & Close writes it. The source is never written.
    const auto editor = openEditor(existingTarget, source);
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - site.stb");
    EXPECT_TRUE(editor->isModified());
    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    EXPECT_EQ(readTable(existingTarget)->size(), 4u);
    EXPECT_EQ(readBytes(source), readBytes(testDataPath("canonical-aci-table.stb")));

    // A source that does not exist is ignored: the target is edited as if none was given, and a
    // new one is written by Save & Close.
    const wxString existing = dir.copyTestData("independent-writer-64bit-header.stb", "b.stb");
    EXPECT_FALSE(openEditor(existing, dir.file("missing.stb"))->isModified());
    EXPECT_TRUE(closedBy(*openEditor(dir.file("new.stb"), dir.file("missing.stb")), "wxID_OK"));
    EXPECT_TRUE(readTable(dir.file("new.stb")));
}

TEST_F(EditorTest, SaveAndCloseWritesExactlyWhenModified) {
    // A file in an older encoding is rewritten in UTF-8 whenever it is written, so its bytes
    // tell whether a write happened.
    const wxString path = dir.copyTestData("windows-1252.stb", "plans.stb");
    const std::vector<char> original = readBytes(path);
    EXPECT_TRUE(closedBy(*openEditor(path), "wxID_OK"));
    EXPECT_EQ(readBytes(path), original) << "an unchanged table is not written";

    // Changing only the letter case of the description is a change.
    const auto editor = openEditor(path);
    auto* description = findControl<wxTextCtrl>(editor.get(), "TextTableDescr");
    const wxString upper = description->GetValue().Upper();
    ASSERT_NE(upper, description->GetValue());
    description->SetValue(upper);
    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    EXPECT_EQ(toWxString(readTable(path)->Description), upper);
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(EditorTest, ScaleFactorChangesOnlyForANumber) {
    const wxString path = dir.copyTestData("canonical.ctb", "scale.ctb");
    const auto editor = openEditor(path);
    auto* scale = findControl<wxTextCtrl>(editor.get(), "TextScale");

    // 1.2.3 passes the numeric filter but is no number: the factor stays, silently.
    scale->SetValue("1.2.3");
    EXPECT_TRUE(editor->Validate());
    EXPECT_TRUE(editor->TransferDataFromWindow());
    EXPECT_EQ(editor->currentTable()->ScaleFactor, 1.0);
    EXPECT_FALSE(editor->isModified());

    scale->SetValue("0.75");
    findControl<wxCheckBox>(editor.get(), "CheckScale")->SetValue(true);
    EXPECT_TRUE(editor->TransferDataFromWindow());
    EXPECT_TRUE(editor->isModified());

    // The scale text and its label follow the check box, not the stored flag.
    findControl<wxCheckBox>(editor.get(), "CheckScale")->SetValue(false);
    editor->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_FALSE(scale->IsEnabled());
    findControl<wxCheckBox>(editor.get(), "CheckScale")->SetValue(true);
    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    const PlotStyleTablePtr written = readTable(path);
    EXPECT_EQ(written->ScaleFactor, 0.75);
    EXPECT_TRUE(written->ApplyFactor);
}

TEST_F(EditorTest, CancelAsksAboutUnsavedChanges) {
    const wxString path = dir.copyTestData("canonical.ctb", "ask.ctb");
    const std::vector<char> original = readBytes(path);
    const auto editor = openEditor(path);
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("Changed");

    bool closed = true;
    const char* const question = "Do you want to save changes?";
    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"),
                  ExpectMessageBox(question, wxID_CANCEL));
    EXPECT_FALSE(closed) << "Cancel in the prompt keeps the editor open";
    EXPECT_EQ(readBytes(path), original);

    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"), ExpectMessageBox(question, wxID_NO));
    EXPECT_TRUE(closed);
    EXPECT_EQ(readBytes(path), original) << "No closes without saving";
}

// A failed save is reported with the system's reason and keeps the old file; after a failed
// Save As the editor stays on its own file, and a failed save on Cancel keeps it open.
TEST_F(EditorTest, FailedSaveIsReportedAndKeepsTheOldFile) {
    const wxString path = dir.copyTestData("canonical.ctb", "full-disk.ctb");
    const std::vector<char> original = readBytes(path);
    const auto editor = openEditor(path);
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("Not saved");
    const wxString other = dir.file("other.ctb");
    bool closed = true;
    {
        FileSizeLimit limit(64);
        wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(other));
        wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"),
                      ExpectMessageBox("Do you want to save changes?", wxID_YES));
    }
    EXPECT_FALSE(closed) << "the editor stays open when the save failed";
    EXPECT_TRUE(editor->isModified());
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - full-disk.ctb");
    const auto errors = log.errors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].text, "Failed to save file: " + other);
    EXPECT_EQ(errors[1].text, wxSysErrorMsgStr(EFBIG)) << "the system's reason";
    EXPECT_EQ(errors[2].text, "Failed to save file: " + path);
    EXPECT_EQ(errors[2].function, "DlgPlotStyleEditor::save");

    // Yes saves and closes once the disk has room.
    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"),
                  ExpectMessageBox("Do you want to save changes?", wxID_YES));
    EXPECT_TRUE(closed);
    EXPECT_EQ(toWxString(readTable(path)->Description), "Not saved");
}

TEST_F(EditorTest, PaintingComesToRestWithTheStyleListDrawn) {
    const auto editor = openEditor(dir.copyTestData("canonical.ctb"));
    showFormView(editor.get());
    wxListCtrl* list = styleList(editor.get());
    const auto letTimePass = [] {
        for (int round = 0; round < 30; ++round) {
            wxTheApp->Yield();
            wxMilliSleep(10);
        }
    };
    letTimePass();

    // Painting the dialog fits the style column; doing that when it already fits made the list
    // skip its own painting, which asked the dialog to paint again, for ever.
    int dialogPaints = 0;
    editor->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        ++dialogPaints;
        event.Skip();
    });
    list->Refresh();
    letTimePass();
    EXPECT_LE(dialogPaints, 2) << "the dialog keeps repainting itself";
    EXPECT_EQ(list->GetColumnWidth(0), list->GetSize().x - 22);
}

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

    // One style selected: the new one lands right behind it with its properties, selected.
    table->style(1)->Screening = 40;
    selectRows(editor.get(), {1});
    wxTEST_DIALOG(clickButton(editor.get(), "BtnStyleAddForm"),
                  ExpectStyleName("Style 3", "Doors"));
    EXPECT_EQ(styleNames(*table), (std::vector<wxString>{"Normal", "Style 1", "Doors", "Walls"}));
    EXPECT_EQ(table->style(2)->Screening, 40);
    EXPECT_EQ(styleList(editor.get())->GetSelectedItemCount(), 1);
    EXPECT_EQ(styleList(editor.get())->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 2);

    // Deleting keeps the base style, whatever else is selected.
    selectRows(editor.get(), {0, 1, 3});
    clickButton(editor.get(), "BtnStyleDelForm");
    EXPECT_EQ(rowTexts(styleList(editor.get())), (std::vector<wxString>{"Normal", "Doors"}));
    EXPECT_EQ(findControl<wxStaticText>(editor.get(), "StatNumStyles")->GetLabel(),
              "Number of styles: 2");
    EXPECT_TRUE(editor->isModified());
    // Only the base style is left selected: nothing on the form may change.
    refreshControls(editor.get());
    for (const char* name : {"BtnStyleDelForm", "SpinScreening", "ComboLineType"}) {
        EXPECT_FALSE(editor->FindWindow(XRCID(name))->IsEnabled()) << name;
    }

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
                {"Style 2", "Style 2"},
                {"Style 3", "Style 3"}};
    for (const auto& add : adds) {
        wxTEST_DIALOG(clickButton(editor.get(), "BtnStyleAddForm"),
                      ExpectStyleName(add.offered, add.answer));
    }
    EXPECT_EQ(styleNames(table), (std::vector<wxString>{"Normal", walls, "Style 2", "Style 3"}));
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].text,
              "A style named '" + shouted + "' already exists. Please enter a unique style name.");
    EXPECT_EQ(log.errors()[0].function, "DlgPlotStyleEditor::onStyleAdd");

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

    // A name typed without extension gets the table's; replacing a file of the completed name is
    // asked about again.
    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(dir.file("plan")));
    EXPECT_TRUE(readTable(dir.file("plan.ctb")));
    const wxString question = "A file named 'plan.ctb' already exists. Do you want to replace it?";
    std::ofstream(dir.file("plan.ctb").fn_str()) << "kept";
    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), ExpectFileChoice(dir.file("plan")),
                  ExpectMessageBox(question, wxID_NO));
    EXPECT_EQ(readBytes(dir.file("plan.ctb")).size(), 4u);
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
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - windows-1252.stb");
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
    EXPECT_FALSE(editor->isModified());
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
    EXPECT_EQ(list->GetSelectedItemCount(), 3);
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

TEST_F(EditorUndoTest, EveryEditUndoesToTheFileAndRedoesBack) {
    const wxString path = writeTable(dir, "office.stb", false, [](CPlotStyleTable& table) {
        table.Description = u"Office";
        for (const char16_t* name : {u"Glass", u"Doors", u"Walls"}) {
            table.addStyle(name, 0, nullptr);
        }
        table.style(1)->LineWeight = 4;
        table.style(3)->Screening = 50;
        std::swap(table.LineWeights[3], table.LineWeights[4]);
    });
    const std::vector<char> original = readBytes(path);
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    wxListCtrl* list = styleList(form);
    const auto text = [&](const char* name) { return findControl<wxTextCtrl>(form, name); };
    const wxString probe = dir.file("probe.stb");
    const auto tableBytes = [&] {
        editor->currentTable()->write(toHostText(probe).c_str());
        return readBytes(probe);
    };
    const auto press = [&](int key, int modifiers) {
        pressKey(form, text("TextScale"), key, modifiers);
    };

    const std::vector<std::function<void()>> edits = {
        [&] {
            showFormView(form);
            selectRows(form, {1, 2, 3});
            pick(form, "ComboLineType", 3);
        },
        [&] {
            selectRows(form, {3});
            wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"),
                          ExpectStyleName("Style 4", "Stairs"));
        },
        [&] { endLabelEdit(form, "ListStyles", 1, "Outer walls"); },
        [&] {
            selectRows(form, {2, 3});
            clickButton(form, "BtnStyleDelForm");
            // The keys go on reaching the editor: the button is disabled now.
            processPendingEvents();
            EXPECT_EQ(wxWindow::FindFocus(), list);
        },
        [&] { clickButton(form, "BtnLwSort"); },
        [&] { typeLineWeight(form, 2, "0.3"); },
        [&] { chooseRadio(form, "RadLwIn"); },
        [&] {
            text("TextTableDescr")->SetValue("Office, 2nd floor");
            leaveField(form, "TextTableDescr");
        },
        [&] { clickCheck(form, "CheckScale", wxCHK_CHECKED); },
        [&] {
            text("TextScale")->SetValue("2.5");
            leaveField(form, "TextScale");
        },
        [&] {
            selectRows(form, {2});
            for (const char* typed : {"B", "Br", "Bri", "Brick"}) {
                text("TextStyleDescr")->SetValue(typed);
            }
        },
    };
    std::vector<std::vector<char>> states{original};
    for (const auto& edit : edits) {
        edit();
        states.push_back(tableBytes());
        EXPECT_NE(states.back(), states[states.size() - 2]) << states.size() - 1;
    }
    // Typed but not yet committed: Ctrl+Z first makes it a step, then takes that step back.
    findControl<wxSpinCtrl>(form, "SpinScreening")->SetValue(wxString("40"));
    press('Z', wxMOD_CONTROL);
    EXPECT_EQ(tableBytes(), states.back());
    press('Y', wxMOD_CONTROL);
    EXPECT_EQ(editor->currentTable()->style(2)->Screening, 40);
    press('Z', wxMOD_CONTROL);
    text("TextTableDescr")->SetValue("Typed");
    press('Z', wxMOD_CONTROL);
    EXPECT_EQ(text("TextTableDescr")->GetValue(), "Office, 2nd floor");
    press('Y', wxMOD_CONTROL);
    EXPECT_EQ(editor->currentTable()->Description, u"Typed");
    press('Z', wxMOD_CONTROL);

    for (size_t step = edits.size(); step > 0; --step) {
        press('Z', wxMOD_CONTROL);
        EXPECT_EQ(tableBytes(), states[step - 1]) << step;
        EXPECT_EQ(editor->isModified(), step > 1) << step;
        if (step == 4) { // the deleted styles come back selected
            EXPECT_EQ(list->GetSelectedItemCount(), 2);
            EXPECT_TRUE(list->GetItemState(3, wxLIST_STATE_SELECTED));
        }
    }
    press('Z', wxMOD_CONTROL);
    EXPECT_EQ(tableBytes(), original);
    EXPECT_EQ(rowTexts(list), (std::vector<wxString>{"Normal", "Walls", "Doors", "Glass"}));
    EXPECT_EQ(findControl<wxStaticText>(form, "StatNumStyles")->GetLabel(), "Number of styles: 4");
    EXPECT_EQ(text("TextTableDescr")->GetValue(), "Office");
    EXPECT_TRUE(findControl<wxRadioButton>(form, "RadLwMm")->GetValue());
    EXPECT_EQ(findControl<wxListCtrl>(form, "ListLineWeights")->GetItemText(3), "0.1300");

    for (size_t step = 1; step <= edits.size(); ++step) {
        press(step % 2 ? 'Y' : 'Z', step % 2 ? wxMOD_CONTROL : wxMOD_CONTROL | wxMOD_SHIFT);
        EXPECT_EQ(tableBytes(), states[step]) << step;
        EXPECT_TRUE(editor->isModified()) << step;
    }
    EXPECT_EQ(rowTexts(list), (std::vector<wxString>{"Normal", "Outer walls", "Stairs"}));
    EXPECT_EQ(findControl<wxStaticText>(form, "StatNumStyles")->GetLabel(), "Number of styles: 3");
    EXPECT_EQ(text("TextScale")->GetValue(), "2.5");
    EXPECT_EQ(findControl<wxListCtrl>(form, "ListLineWeights")->GetItemText(4), "0.0059");

    // Saving moves the saved point; undoing everything and saving gives the file's bytes back.
    press('S', wxMOD_CONTROL);
    press('Z', wxMOD_CONTROL);
    EXPECT_TRUE(editor->isModified());
    press('Y', wxMOD_CONTROL);
    EXPECT_FALSE(editor->isModified());
    for (size_t step = 0; step < edits.size(); ++step) {
        press('Z', wxMOD_CONTROL);
    }
    press('S', wxMOD_CONTROL);
    EXPECT_EQ(readBytes(path), original);

    // Open starts a new history: nothing is left to redo.
    wxTEST_DIALOG(clickButton(form, "BtnOpen"), ExpectFileChoice(path));
    press('Y', wxMOD_CONTROL);
    EXPECT_EQ(tableBytes(), original);
}

// A new table stays unsaved however far back its edits go. An edit after undo drops the steps
// undone, the saved one among them.
TEST_F(EditorUndoTest, AnEditAfterUndoDropsTheStepsUndone) {
    const auto editor = openEditor(dir.file("new.ctb"));
    wxWindow* form = editor.get();
    auto* scale = findControl<wxTextCtrl>(form, "TextScale");
    const auto setScale = [&](const char* text) {
        scale->SetValue(text);
        leaveField(form, "TextScale");
    };
    const auto press = [&](int key) { pressKey(form, scale, key, wxMOD_CONTROL); };
    setScale("2");
    press('Z');
    EXPECT_TRUE(editor->isModified()) << "the file does not exist yet";
    setScale("3");
    press('S');
    press('Z');
    setScale("4");
    press('Y');
    EXPECT_EQ(scale->GetValue(), "4");
    press('Z');
    EXPECT_EQ(scale->GetValue(), "1");
    press('Y');
    EXPECT_EQ(scale->GetValue(), "4");
    EXPECT_TRUE(editor->isModified()) << "the file holds 3";
}

TEST(EditHistoryTest, KeepsTheLastStepsAndForgetsASavedPointBeyondThem) {
    const PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    EditHistory history;
    history.reset(*table, true);
    const int edits = int(EditHistory::kMaxSteps) + 5;
    for (int screening = 1; screening <= edits; ++screening) {
        table->style(7)->Screening = screening;
        history.record(*table);
    }
    EXPECT_FALSE(history.record(*table));
    for (size_t step = 0; step < EditHistory::kMaxSteps; ++step) {
        EXPECT_TRUE(history.undo(*table));
    }
    EXPECT_FALSE(history.undo(*table));
    EXPECT_EQ(table->style(7)->Screening, 5);
    EXPECT_FALSE(history.isAtSavedStep());
}
