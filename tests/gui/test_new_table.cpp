// The new table dialog: its message and OK button, the names it refuses, the file it creates,
// the editor it may run, and the name newPlotStyleTable hands back.
#include <memory>

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <kesutils/ut_services.h>

#include "editor_test_support.h"
#include "psl_dlg_new_table.h"
#include "pstyle_lib.h"

namespace {

const char* const kColorDependentMessage =
    "A new color-dependent plot style table will be created (CTB). It will contain 255 plot "
    "styles that have initially been set to the default values. Use the Editor to modify any of "
    "the plot styles.";
const char* const kNamedMessage =
    "A new named plot style table will be created (STB). It will contain one plot style named "
    "'Normal'. New plot styles can be added in the Editor.";

std::unique_ptr<DlgNewTable> openDialog(bool colorDependent, const wxString& folder) {
    auto dialog = std::make_unique<DlgNewTable>(colorDependent, folder);
    ut::loadDialog(dialog.get(), nullptr, "DlgNewTable");
    dialog->Show();
    return dialog;
}

void typeName(wxWindow* dialog, const wxString& name) {
    findControl<wxTextCtrl>(dialog, "TextTableName")->SetValue(name);
    refreshControls(dialog);
}

} // namespace

using NewTableTest = EditorTest;

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
        {true, dir.path(), "Plan.", "Extension '" + extension},
        {true, dir.path(), "Plan", "File 'Plan' exists already."},
        {true, dir.path(), "site/plan", "'site/plan" + badName},
        {false, dir.path(), "/tmp/plan", "'/tmp/plan" + badName},
        {false, dir.path(), "  ", "'  " + badName},
        {false, missing, "Plan", "Failed to save file: " + missing + "/Plan.stb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto dialog = openDialog(c.colorDependent, c.folder);
        typeName(dialog.get(), c.name);
        clickButton(dialog.get(), "wxID_OK");
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
        {false, "Plan", false, true, "Plan.stb", "Plan.stb"},
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
            typeName(dialog, c.typed);
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
