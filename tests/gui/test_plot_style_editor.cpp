// The editor's life cycle: loading or creating a table, the General page, Save & Close, Cancel
// with its prompt. Its commands on named tables (add, delete and rename styles) and its file
// commands (Open, Save As, Export), with their prompts and file dialogs answered; its keys. Undo
// and redo from the keyboard: every page shows what each step took back or brought back, and
// Open starts afresh. The rules behind these are the table document's, tested without a display.
#include <fstream>
#include <string>

#include <sys/stat.h>

#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "editor_test_support.h"

namespace {

const char* const kInvalidFormat = "Invalid file format - failed to open plotstyle table file.";

wxString labelOf(const wxWindow* dialog, const char* name) {
    return findControl<wxStaticText>(dialog, name)->GetLabel();
}

using EditorCommandsTest = EditorTest;
using EditorUndoTest = EditorTest;

std::vector<long> selectedRows(const wxListCtrl* list) {
    std::vector<long> rows;
    for (long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

bool mayStartRenaming(wxWindow* editor, long row) {
    wxListCtrl* list = styleList(editor);
    wxListEvent event(wxEVT_LIST_BEGIN_LABEL_EDIT, list->GetId());
    event.SetEventObject(list);
    event.SetIndex(row);
    list->GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed();
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
            // The message tells why, in front of the General page already filled.
            const auto answer = [&](wxMessageDialog* box) {
                EXPECT_EQ(box->GetMessage(), kInvalidFormat);
                EXPECT_EQ(box->GetExtendedMessage(),
                          path + ": it is not a plot style table file (unknown header)");
                EXPECT_EQ(labelOf(wxTopLevelWindows.GetLast()->GetData(), "StatNumStyles"),
                          "Number of styles: 0");
                return wxID_OK;
            };
            wxTEST_DIALOG(editor = openEditor(path), AnswerWith<wxMessageDialog>(answer));
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
        // Without a table there is nothing to save: Cancel closes without a question. Save & Close
        // writes no unchanged table.
        editor->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        EXPECT_EQ(editor->FindWindow(wxID_OK)->IsEnabled(), readable);
        EXPECT_TRUE(closedBy(*editor, readable ? "wxID_OK" : "wxID_CANCEL"));
        EXPECT_EQ(readBytes(path), readBytes(testDataPath(c.fixture)));
    }
    EXPECT_TRUE(log.errors().empty());
}

// A new table and a copy are unsaved until Save & Close writes them, without an edit; the source
// of a copy is never written, nor an unchanged table. The rules of loading are the document's.
TEST_F(EditorTest, SaveAndCloseWritesExactlyWhenModified) {
    const wxString source = dir.copyTestData("canonical-aci-table.stb", "pens.stb");
    const wxString existingTarget = dir.copyTestData("windows-1252.stb", "site.stb");
    const struct {
        wxString target;
        wxString source;
        std::size_t styles;
    } cases[] = {{dir.file("Plan.CTB"), "", 255}, {existingTarget, source, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const auto editor = openEditor(c.target, c.source);
        EXPECT_TRUE(editor->isModified());
        EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
        EXPECT_EQ(readTable(c.target)->size(), c.styles);
    }
    EXPECT_EQ(readBytes(source), readBytes(testDataPath("canonical-aci-table.stb")));
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(EditorTest, ScaleFactorChangesOnlyForANumber) {
    // A factor that "%g" shows rounded stays as the file has it unless another is typed.
    const wxString path = writeTable(
        dir, "scale.ctb", true, [](CPlotStyleTable& table) { table.ScaleFactor = 1.23456789; });
    const std::vector<char> original = readBytes(path);
    EXPECT_TRUE(closedBy(*openEditor(path), "wxID_OK"));
    EXPECT_EQ(readBytes(path), original);

    const auto editor = openEditor(path);
    auto* scale = findControl<wxTextCtrl>(editor.get(), "TextScale");
    // 1.2.3 passes the numeric filter but is no number: the factor stays, and shows again.
    scale->SetValue("1.2.3");
    EXPECT_TRUE(editor->Validate());
    leaveField(editor.get(), "TextScale");
    EXPECT_EQ(editor->currentTable()->ScaleFactor, 1.23456789);
    EXPECT_EQ(scale->GetValue(), "1.23457");
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
    EXPECT_TRUE(log.errors().empty());
}

// A file that another program changed, deleted or created since the editor read or wrote it is
// replaced only when the user says so; No keeps the editor open with its changes. Cancel asks
// about unsaved changes.
TEST_F(EditorTest, AsksBeforeReplacingAFileOrDroppingChanges) {
    const wxString path = dir.copyTestData("canonical.ctb", "shared.ctb");
    const auto editor = openEditor(path);
    auto* description = findControl<wxTextCtrl>(editor.get(), "TextTableDescr");
    description->SetValue("Mine");
    wxCopyFile(testDataPath("independent-writer-64bit-header.ctb"), path);
    const std::vector<char> theirs = readBytes(path);
    const char* const question =
        "The file was changed by another program since it was opened. Replace it?";
    bool closed = true;
    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_OK"), expectMessageBox(question, wxID_NO));
    EXPECT_FALSE(closed);
    EXPECT_EQ(readBytes(path), theirs);
    wxTEST_DIALOG(pressKey(editor.get(), editor.get(), 'S', wxMOD_CONTROL),
                  expectMessageBox(question, wxID_YES));
    EXPECT_EQ(toWxString(readTable(path)->Description), "Mine");

    description->SetValue("Mine again");
    wxRemoveFile(path);
    const char* const save = "Do you want to save changes?";
    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"), expectMessageBox(save, wxID_YES),
                  expectMessageBox(question, wxID_NO));
    EXPECT_FALSE(closed);
    EXPECT_FALSE(wxFileExists(path));
    EXPECT_TRUE(editor->isModified());

    // Cancel in the question keeps the editor open; No closes it without saving.
    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"), expectMessageBox(save, wxID_CANCEL));
    EXPECT_FALSE(closed);
    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"), expectMessageBox(save, wxID_NO));
    EXPECT_TRUE(closed);
    EXPECT_FALSE(wxFileExists(path));
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
        wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), expectFileChoice(other));
        wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"),
                      expectMessageBox("Do you want to save changes?", wxID_YES));
    }
    EXPECT_FALSE(closed) << "the editor stays open when the save failed";
    EXPECT_TRUE(editor->isModified());
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - full-disk.ctb");
    // The file and the system's reason in one line.
    const auto errors = log.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text,
              "Failed to save file: " + other + " (" + wxSysErrorMsgStr(EFBIG) + ")");
    EXPECT_EQ(errors[1].text,
              "Failed to save file: " + path + " (" + wxSysErrorMsgStr(EFBIG) + ")");
    EXPECT_EQ(errors[1].function, "DlgPlotStyleEditor::save");

    // Yes saves and closes once the disk has room.
    wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"),
                  expectMessageBox("Do you want to save changes?", wxID_YES));
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

// Named tables gain, lose and rename styles in the list. The name rules are the document's; the
// editor offers a free name, reports a refusal from the command that met it and shows names as
// stored.
TEST_F(EditorCommandsTest, NamedTablesGainLoseAndRenameStyles) {
    const auto editor = openEditor(dir.file("plan.stb"));
    wxWindow* form = editor.get();
    showFormView(form);
    const CPlotStyleTable& table = *editor->currentTable();

    // Nothing selected: the new style goes to the end, under the offered name.
    const struct {
        const char* offered;
        wxString answer;
    } adds[] = {{"Style 1", "  Walls "}, {"Style 2", "WALLS"}, {"Style 2", "Style 2"}};
    for (const auto& add : adds) {
        wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"),
                      expectStyleName(add.offered, add.answer));
    }
    EXPECT_EQ(rowTexts(styleList(form)), (std::vector<wxString>{"Normal", "Walls", "Style 2"}));
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].text,
              "A style named 'WALLS' already exists. Please enter a unique style name.");
    EXPECT_EQ(log.errors()[0].function, "DlgPlotStyleEditor::onStyleAdd");

    // One style selected: the new one lands right behind it with its properties, selected.
    selectRows(form, {1});
    spinTo(form, "SpinScreening", 40);
    wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"), expectStyleName("Style 3", "Doors"));
    EXPECT_EQ(rowTexts(styleList(form)),
              (std::vector<wxString>{"Normal", "Walls", "Doors", "Style 2"}));
    EXPECT_EQ(table.style(2)->Screening, 40);
    EXPECT_EQ(selectedRows(styleList(form)), std::vector<long>{2});

    // A refused name stays unstored; a taken one shows as stored.
    log.clear();
    EXPECT_FALSE(endLabelEdit(form, "ListStyles", 2, "STYLE 2"));
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(log.errors()[0].function, "DlgPlotStyleEditor::onEndLabelEdit");
    EXPECT_FALSE(endLabelEdit(form, "ListStyles", 2, " Gates  "));
    EXPECT_TRUE(endLabelEdit(form, "ListStyles", 3, "Stairs"));
    EXPECT_EQ(rowTexts(styleList(form))[2], "Gates");
    EXPECT_FALSE(mayStartRenaming(form, 0)) << "the base style keeps its name";

    // Deleting keeps the base style, whatever else is selected.
    selectRows(form, {0, 1, 3});
    clickButton(form, "BtnStyleDelForm");
    EXPECT_EQ(rowTexts(styleList(form)), (std::vector<wxString>{"Normal", "Gates"}));
    EXPECT_EQ(findControl<wxStaticText>(form, "StatNumStyles")->GetLabel(), "Number of styles: 2");
    // Only the base style is left selected: nothing on the form may change.
    refreshControls(form);
    for (const char* name : {"BtnStyleDelForm", "SpinScreening", "ComboLineType"}) {
        EXPECT_FALSE(form->FindWindow(XRCID(name))->IsEnabled()) << name;
    }
    // With two styles left, "Style 2" is offered again.
    wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"), expectStyleName("Style 2", ""));

    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    EXPECT_EQ(rowTexts(styleList(openEditor(dir.file("plan.stb")).get())),
              (std::vector<wxString>{"Normal", "Gates"}));
}

TEST_F(EditorCommandsTest, SaveAsTakesOnlyANameOfTheTablesKind) {
    const wxString original = dir.copyTestData("canonical.ctb", "first.ctb");
    const auto editor = openEditor(original);

    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), expectFileChoice(dir.file("x.stb")));
    const auto errors = log.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, "x.stb is not a valid name to save to.");
    EXPECT_EQ(errors[1].text, "A color-dependent table is saved with the extension .ctb.");
    EXPECT_EQ(errors[1].function, "DlgPlotStyleEditor::onSaveAs");
    EXPECT_FALSE(wxFileName::FileExists(dir.file("x.stb")));

    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), expectFileChoice(dir.file("X.CTB")));
    EXPECT_TRUE(readTable(dir.file("X.CTB")));
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - X.CTB");

    // A name typed without extension gets the table's; replacing a file of the completed name is
    // asked about again.
    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), expectFileChoice(dir.file("plan")));
    EXPECT_TRUE(readTable(dir.file("plan.ctb")));
    const wxString question = "A file named 'plan.ctb' already exists. Do you want to replace it?";
    std::ofstream(dir.file("plan.ctb").fn_str()) << "kept";
    wxTEST_DIALOG(clickButton(editor.get(), "BtnSaveAs"), expectFileChoice(dir.file("plan")),
                  expectMessageBox(question, wxID_NO));
    EXPECT_EQ(readBytes(dir.file("plan.ctb")).size(), 4u);
}

TEST_F(EditorCommandsTest, ExportWritesTheTableAsCommaSeparatedText) {
    const auto editor = openEditor(dir.copyTestData("canonical-aci-table.stb", "pens.stb"));
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("As shown");

    const wxString csv = dir.file("pens.stb.csv");
    wxTEST_DIALOG(clickButton(editor.get(), "BtnExport"), expectFileChoice(csv));
    const std::vector<char> bytes = readBytes(csv);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("PLOTSTYLE_TABLE,,\n,FileName,pens.stb\n,Description,As shown\n", 0), 0u)
        << "what the General page shows is exported";

    // A failed export names the file and the cause, and leaves the file as it was.
    chmod(csv.fn_str(), 0444);
    wxTEST_DIALOG(
        clickButton(editor.get(), "BtnExport"), expectFileChoice(csv),
        expectMessageBox("Failed to export to " + csv + ": " + csv + " is read-only", wxID_OK));
    EXPECT_EQ(readBytes(csv), bytes);
}

TEST_F(EditorCommandsTest, OpenAsksAboutChangesAndReplacesTheTable) {
    const auto editor = openEditor(dir.copyTestData("canonical.ctb"));
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("Changed");
    wxTEST_DIALOG(clickButton(editor.get(), "BtnOpen"),
                  expectMessageBox("Do you want to save changes?", wxID_CANCEL));
    EXPECT_EQ(toWxString(editor->currentTable()->Description), "Changed");
    wxTEST_DIALOG(clickButton(editor.get(), "BtnOpen"),
                  expectMessageBox("Do you want to save changes?", wxID_NO),
                  expectFileChoice(dir.copyTestData("windows-1252.stb")));
    EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - windows-1252.stb");
    EXPECT_EQ(rowTexts(styleList(editor.get())),
              (std::vector<wxString>{"Normal", wxString::FromUTF8("Gebäude")}));
}

TEST_F(EditorCommandsTest, KeysReachCommandsPagesAndFields) {
    const auto editor = openEditor(dir.file("keys.stb"));
    wxWindow* form = editor.get();
    wxListCtrl* list = styleList(form);
    auto* pages = findControl<wxNotebook>(form, "NoteBook");
    showFormView(form);
    wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"), expectStyleName("Style 1", "Doors"));
    wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"), expectStyleName("Style 2", "Walls"));

    // Escape with a picker's list open closes only the list.
    selectRows(form, {1});
    auto* picker = imagePicker(form, "ComboLineType");
    picker->ShowPopup();
    pressKey(form, picker, WXK_ESCAPE);
    EXPECT_FALSE(picker->IsPopupShown());
    EXPECT_TRUE(editor->IsShown());

    // On the style list: F2 renames, Ctrl+A selects every style, Delete asks first.
    pressKey(form, list, WXK_F2);
    ASSERT_TRUE(list->GetEditControl());
    list->EndEditLabel(true);
    pressKey(form, list, 'A', wxMOD_CONTROL);
    EXPECT_EQ(list->GetSelectedItemCount(), 3);
    const char* const question = "Do you want to delete the selected styles?";
    wxTEST_DIALOG(pressKey(form, list, WXK_DELETE), expectMessageBox(question, wxID_NO));
    EXPECT_EQ(list->GetItemCount(), 3);
    wxTEST_DIALOG(pressKey(form, list, WXK_DELETE), expectMessageBox(question, wxID_YES));
    EXPECT_EQ(rowTexts(list), std::vector<wxString>{"Normal"});

    pressKey(form, form, WXK_PAGEUP, wxMOD_CONTROL);
    EXPECT_EQ(pages->GetSelection(), 0);

    // The editor goes while a list is open, as when the host closes it.
    picker->ShowPopup();
}

// Each step that the keys take back or bring back shows on every page; what is typed becomes a
// step of its own first.
TEST_F(EditorUndoTest, KeysStepThroughEditsOfEveryPageAndThePagesFollow) {
    const wxString path = writeTable(dir, "office.stb", false, [](CPlotStyleTable& table) {
        table.Description = u"Office";
        for (const char16_t* name : {u"Glass", u"Doors", u"Walls"}) {
            table.addStyle(name, 0, nullptr);
        }
        std::swap(table.LineWeights[3], table.LineWeights[4]);
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    wxListCtrl* list = styleList(form);
    const auto text = [&](const char* name) { return findControl<wxTextCtrl>(form, name); };
    const auto press = [&](int key, int modifiers = wxMOD_CONTROL) {
        pressKey(form, text("TextScale"), key, modifiers);
    };
    // What the pages show of the table, in one text.
    const auto shown = [&] {
        wxArrayString texts;
        for (const char* name : {"ListStyles", "ListLineWeights"}) {
            for (const wxString& row : rowTexts(findControl<wxListCtrl>(form, name))) {
                texts.Add(row);
            }
        }
        for (const char* name : {"TextTableDescr", "TextScale"}) {
            texts.Add(text(name)->GetValue());
        }
        texts.Add(findControl<wxStaticText>(form, "StatNumStyles")->GetLabel());
        texts.Add(findControl<wxRadioButton>(form, "RadLwIn")->GetValue() ? "in" : "mm");
        // The description box shows the selected styles'; the typing went to row 2.
        texts.Add(toWxString(editor->currentTable()->style(2)->desc()));
        return std::string(wxJoin(texts, '|').utf8_str());
    };
    const std::vector<std::function<void()>> edits = {
        [&] {
            showFormView(form);
            selectRows(form, {3});
            wxTEST_DIALOG(clickButton(form, "BtnStyleAddForm"),
                          expectStyleName("Style 4", "Stairs"));
        },
        [&] {
            selectRows(form, {2, 3});
            clickButton(form, "BtnStyleDelForm");
            // The keys go on reaching the editor: the button is disabled now.
            processPendingEvents();
            EXPECT_EQ(wxWindow::FindFocus(), list);
        },
        [&] { typeLineWeight(form, 2, "0.3"); },
        [&] { chooseRadio(form, "RadLwIn"); },
        [&] {
            text("TextTableDescr")->SetValue("Office, 2nd floor");
            leaveField(form, "TextTableDescr");
        },
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
    std::vector<std::string> states{shown()};
    for (const auto& edit : edits) {
        edit();
        states.push_back(shown());
        EXPECT_NE(states.back(), states[states.size() - 2]) << states.size() - 1;
    }
    // Typed but not yet committed: Ctrl+Z first makes it a step, then takes that step back.
    findControl<wxSpinCtrl>(form, "SpinScreening")->SetValue(wxString("40"));
    press('Z');
    EXPECT_EQ(shown(), states.back());
    press('Y');
    EXPECT_EQ(editor->currentTable()->style(2)->Screening, 40);
    press('Z');

    for (size_t step = edits.size(); step > 0; --step) {
        press('Z');
        EXPECT_EQ(shown(), states[step - 1]) << step;
        EXPECT_EQ(editor->isModified(), step > 1) << step;
        if (step == 2) { // the deleted styles come back selected
            EXPECT_EQ(selectedRows(list), (std::vector<long>{2, 3}));
        }
    }
    for (size_t step = 1; step <= edits.size(); ++step) {
        press(step % 2 ? 'Y' : 'Z', step % 2 ? wxMOD_CONTROL : wxMOD_CONTROL | wxMOD_SHIFT);
        EXPECT_EQ(shown(), states[step]) << step;
    }
}
