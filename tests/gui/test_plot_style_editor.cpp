// The editor's life cycle: loading or creating a table, the General page, Save & Close, Cancel
// with its prompt, and the exported functions that run it modally.
#include <memory>

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include <kesutils/plot_style_table.h>

#include "editor_test_support.h"
#include "gui_test_support.h"
#include "psl_text.h"
#include "pstyle_lib.h"

namespace {

const char* const kInvalidFormat = "Invalid file format - failed to open plotstyle table file.";

wxString labelOf(const wxWindow* dialog, const char* name) {
    return findControl<wxStaticText>(dialog, name)->GetLabel();
}

} // namespace

TEST_F(EditorTest, GeneralPageShowsTheFileAndItsTable) {
    const struct {
        const char* fixture;
        const char* styles;
        const char* type;
        const char* description;
        const char* scale;
        const char* icon;
        bool sortShown;
    } cases[] = {
        {"independent-writer-64bit-header.ctb", "Number of styles: 255",
         "Legacy (can be used to import old DWGs)", "Bürostandard A3 – grau", "2.5", "BmpCTB",
         false},
        {"canonical-aci-table.stb", "Number of styles: 4",
         "Regular, created from a PCP, PC2 or CFG file (can be used to import old DWGs)",
         "Converted from a pen configuration", "1", "BmpSTB", true},
        {"independent-writer-64bit-header.stb", "Number of styles: 3", "Regular", "", "1", "BmpSTB",
         false},
        {"not-a-table.ctb", "Number of styles: 0", "No table", "", "1", "BmpSTB", false},
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
        EXPECT_FALSE(editor->isModified());
        EXPECT_EQ(editor->GetTitle(), "Plot Style Table Editor - office.tbl");
        EXPECT_EQ(labelOf(editor.get(), "StatFileName"), "office.tbl");
        EXPECT_EQ(labelOf(editor.get(), "StatNumStyles"), c.styles);
        EXPECT_EQ(labelOf(editor.get(), "StatFileType"), c.type);
        EXPECT_TRUE(labelOf(editor.get(), "StatFilePath").StartsWith("Path: "));
        EXPECT_EQ(findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->GetValue(),
                  wxString::FromUTF8(c.description));
        EXPECT_EQ(findControl<wxTextCtrl>(editor.get(), "TextScale")->GetValue(), c.scale);
        EXPECT_TRUE(
            sameImage(findControl<wxStaticBitmap>(editor.get(), "StatFileIcon")->GetBitmap(),
                      wxXmlResource::Get()->LoadBitmap(c.icon)));
        EXPECT_EQ(editor->FindWindow(XRCID("BtnLwSort"))->IsShown(), c.sortShown);
        // A colour-dependent or converted table never gains or loses styles.
        EXPECT_EQ(editor->FindWindow(XRCID("BtnStyleAddForm"))->IsShown(),
                  c.type == std::string("Regular"));
        // Without a table there is nothing to save: Cancel closes without a question.
        editor->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        EXPECT_EQ(editor->FindWindow(wxID_OK)->IsEnabled(), readable);
        EXPECT_EQ(editor->FindWindow(XRCID("BtnSaveAs"))->IsEnabled(), readable);
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
        ASSERT_TRUE(editor->currentTable());
        EXPECT_EQ(editor->currentTable()->ColorDependent, c.colorDependent);
        EXPECT_EQ(editor->currentTable()->size(), c.colorDependent ? 255u : 1u);
        EXPECT_TRUE(editor->isModified()) << "a new table is unsaved until written";
        EXPECT_EQ(labelOf(editor.get(), "StatFileType"),
                  c.colorDependent ? "Legacy (can be used to import old DWGs)" : "Regular");

        // Save & Close writes the new table even without an edit.
        EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
        const PlotStyleTablePtr written = readTable(path);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->ColorDependent, c.colorDependent);
    }
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(EditorTest, SourceFileGivesTheContentAndTheTargetReceivesIt) {
    const wxString source = dir.copyTestData("canonical-aci-table.stb", "pens.stb");
    const wxString existingTarget = dir.copyTestData("windows-1252.stb", "site.stb");

    // The copy is shown from the source; the target does not hold it yet, so it counts as
    // unsaved and Save & Close writes it.
    {
        const auto editor = openEditor(existingTarget, source);
        ASSERT_TRUE(editor->currentTable());
        EXPECT_EQ(editor->currentTable()->size(), 4u);
        EXPECT_EQ(editor->tableFileName().GetFullName(), "site.stb");
        EXPECT_TRUE(editor->isModified());
        EXPECT_EQ(labelOf(editor.get(), "StatFileType"),
                  "Regular, created from a PCP, PC2 or CFG file (can be used to import old DWGs)");
        EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
        const PlotStyleTablePtr written = readTable(existingTarget);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->size(), 4u);
        EXPECT_EQ(readBytes(source), readBytes(dir.copyTestData("canonical-aci-table.stb")))
            << "the source is never written";
    }

    // A source that does not exist is ignored: the target is edited as if none was given, and a
    // new target is written by Save & Close.
    const wxString existing = dir.copyTestData("independent-writer-64bit-header.stb", "b.stb");
    EXPECT_FALSE(openEditor(existing, dir.file("missing.stb"))->isModified());
    const auto editor = openEditor(dir.file("new.stb"), dir.file("missing.stb"));
    ASSERT_EQ(editor->currentTable()->size(), 1u);
    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    EXPECT_TRUE(readTable(dir.file("new.stb")));
}

TEST_F(EditorTest, SaveAndCloseWritesExactlyWhenModified) {
    // A file in an older encoding is rewritten in UTF-8 whenever it is written, so its bytes
    // tell whether a write happened.
    const wxString path = dir.copyTestData("windows-1252.stb", "plans.stb");
    const std::vector<char> original = readBytes(path);
    {
        const auto editor = openEditor(path);
        EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
        EXPECT_EQ(readBytes(path), original) << "an unchanged table is not written";
    }
    {
        const auto editor = openEditor(path);
        // Changing only the letter case of the description is a change.
        auto* description = findControl<wxTextCtrl>(editor.get(), "TextTableDescr");
        const wxString upper = description->GetValue().Upper();
        ASSERT_NE(upper, description->GetValue());
        description->SetValue(upper);
        EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
        const PlotStyleTablePtr written = readTable(path);
        ASSERT_TRUE(written);
        EXPECT_EQ(toWxString(written->Description), upper);
        EXPECT_FALSE(editor->isModified());
    }
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
    EXPECT_EQ(editor->currentTable()->ScaleFactor, 0.75);
    EXPECT_TRUE(editor->currentTable()->ApplyFactor);
    EXPECT_TRUE(editor->isModified());
    EXPECT_TRUE(log.errors().empty());

    // The scale text and its label follow the check box, not the stored flag.
    findControl<wxCheckBox>(editor.get(), "CheckScale")->SetValue(false);
    editor->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_FALSE(scale->IsEnabled());
    EXPECT_FALSE(editor->FindWindow(XRCID("StatScale"))->IsEnabled());
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
    EXPECT_TRUE(editor->isModified());

    // Yes saves and closes.
    const auto again = openEditor(path);
    findControl<wxTextCtrl>(again.get(), "TextTableDescr")->SetValue("Changed");
    wxTEST_DIALOG(closed = closedBy(*again, "wxID_CANCEL"), ExpectMessageBox(question, wxID_YES));
    EXPECT_TRUE(closed);
    const PlotStyleTablePtr written = readTable(path);
    ASSERT_TRUE(written);
    EXPECT_EQ(toWxString(written->Description), "Changed");
}

TEST_F(EditorTest, FailedSaveIsReportedAndKeepsTheOldFile) {
    const wxString path = dir.copyTestData("canonical.ctb", "full-disk.ctb");
    const std::vector<char> original = readBytes(path);
    const auto editor = openEditor(path);
    findControl<wxTextCtrl>(editor.get(), "TextTableDescr")->SetValue("Not saved");

    bool closed = true;
    {
        FileSizeLimit limit(64);
        wxTEST_DIALOG(closed = closedBy(*editor, "wxID_CANCEL"),
                      ExpectMessageBox("Do you want to save changes?", wxID_YES));
    }
    EXPECT_FALSE(closed) << "the editor stays open when the save failed";
    EXPECT_TRUE(editor->isModified());
    EXPECT_EQ(readBytes(path), original);
    const auto errors = log.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, "Failed to save file: " + path);
    EXPECT_EQ(errors[0].function, "DlgPlotStyleEditor::save");
    EXPECT_EQ(errors[1].text, wxSysErrorMsgStr(EFBIG)) << "the system's reason";

    // Save & Close fails the same way and stays open too.
    log.clear();
    {
        FileSizeLimit limit(64);
        closed = closedBy(*editor, "wxID_OK");
    }
    EXPECT_FALSE(closed);
    EXPECT_EQ(log.errors().size(), 2u);
    EXPECT_EQ(readBytes(path), original);
}

TEST_F(EditorTest, LongPathsAreCutToTheLabelWidth) {
    const auto editor = openEditor(dir.file("fit.ctb"));
    auto* label = findControl<wxStaticText>(editor.get(), "StatFilePath");
    label->SetSize(120, -1);
    EXPECT_EQ(DlgPlotStyleEditor::fitTextToWidth("short", label), "short");
    const wxString path = "/projects/site/plot styles/office standard.ctb";
    const wxString fitted = DlgPlotStyleEditor::fitTextToWidth(path, label);
    EXPECT_TRUE(path.StartsWith(fitted.Left(fitted.length() - 3)) && fitted.EndsWith("..."));
    EXPECT_LE(label->GetTextExtent(fitted).x, label->GetClientSize().x) << "cut until it fits";
    EXPECT_EQ(DlgPlotStyleEditor::fitTextToWidth(wxString('W', 200), label).length(), 15u)
        << "at least 12 characters stay, even when it does not fit";
}

TEST_F(EditorTest, ExportsRunTheEditorInItsOwnModalLoop) {
    const wxString path = dir.file("loop.stb");

    // Cancel on a new table asks first; No leaves nothing behind and the export says false.
    wxTheApp->CallAfter([] {
        wxDialog* editor = activeModalDialog();
        ASSERT_TRUE(editor);
        wxTEST_DIALOG(clickButton(editor, "wxID_CANCEL"),
                      ExpectMessageBox("Do you want to save changes?", wxID_NO));
    });
    EXPECT_FALSE(editPlotStyleTable(path, nullptr));
    EXPECT_FALSE(wxFileName::FileExists(path));

    // Save & Close writes the file and the export says true.
    wxTheApp->CallAfter([] {
        wxDialog* editor = activeModalDialog();
        ASSERT_TRUE(editor);
        findControl<wxTextCtrl>(editor, "TextTableDescr")->SetValue("From the loop");
        clickButton(editor, "wxID_OK");
    });
    EXPECT_TRUE(editPlotStyleTable(path, wxString(), nullptr));
    const PlotStyleTablePtr written = readTable(path);
    ASSERT_TRUE(written);
    EXPECT_EQ(toWxString(written->Description), "From the loop");
    EXPECT_FALSE(written->ColorDependent);
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
    int listPaints = 0;
    editor->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        ++dialogPaints;
        event.Skip();
    });
    list->GetChildren().front()->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        ++listPaints;
        event.Skip();
    });
    list->Refresh();
    letTimePass();
    EXPECT_GE(listPaints, 1);
    EXPECT_LE(dialogPaints, 2) << "the dialog keeps repainting itself";
    EXPECT_EQ(list->GetColumnWidth(0), list->GetSize().x - 22);
}
