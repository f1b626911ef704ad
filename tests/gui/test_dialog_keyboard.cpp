// The table selection and new table dialogs at the keyboard, through the real windows under a
// window manager: keys go through the X server to the window that has the focus.
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/log.h>
#include <wx/textctrl.h>
#include <wx/translation.h>

#include <gtk/gtk.h>

#include <kesutils/ut_services.h>

#include "editor_test_support.h"
#include "layout_checks.h"
#include "psl_dlg_new_table.h"
#include "psl_dlg_select_table.h"
#include "pstyle_lib.h"
#include "user_input.h"

namespace {

GtkWidget* textEntry(const wxComboBox* combo) {
    return gtk_bin_get_child(GTK_BIN(combo->GetHandle()));
}

// Which of the named controls has the keyboard focus in the active dialog.
wxString focusedControl(const wxWindow* dialog, std::initializer_list<const char*> names) {
    GtkWidget* focus = gtkFocus(dialog);
    if (!focus) {
        return "nothing";
    }
    for (const char* name : names) {
        GtkWidget* widget = dialog->FindWindow(XRCID(name))->GetHandle();
        if (focus == widget || gtk_widget_is_ancestor(focus, widget)) {
            return name;
        }
    }
    return G_OBJECT_TYPE_NAME(focus);
}

class DialogKeyboardTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", dir.path());
        dir.copyTestData("canonical.ctb", "a.ctb");
        wxMkdir(dir.file("site"));
        dir.copyTestData("independent-writer-64bit-header.ctb", "site/plan.ctb");
    }

    // The steps that wait until the selection dialog is the active window, then press keys.
    UserSteps& whenSelectionActive(const char* keys) {
        return user.then(
            "the selection dialog is active",
            [this] {
                selection = activeModalDialog();
                return selection && receivesKeys(selection);
            },
            [keys] { pressKeys(keys); });
    }

    // The steps that wait for the editor, note its file and close it with Escape.
    UserSteps& closeEditorWithEscape() {
        return user.then(
            "the editor is active",
            [this] {
                auto* editor = dynamic_cast<DlgPlotStyleEditor*>(activeModalDialog());
                if (editor && receivesKeys(editor)) {
                    editedFile = editor->tableFileName().GetFullPath();
                }
                return !editedFile.empty();
            },
            [] { pressKeys("Escape"); });
    }

    wxComboBox* sourceFile() const { return findControl<wxComboBox>(selection, "ComboSourceFile"); }

    UserSteps user;
    wxDialog* selection = nullptr;
    wxString editedFile;
};

} // namespace

// The file field's label takes the caret into its text, where the first letters typed pop up
// the completion; Down picks it, Enter takes it and Enter again opens it.
TEST_F(DialogKeyboardTest, OpensATableWithTheKeyboardAlone) {
    whenSelectionActive("alt+f")
        .then(
            "the caret in the file field",
            [this] { return gtkFocus(selection) == textEntry(sourceFile()); },
            [] { typeText("si"); })
        .then(
            "the completion pops up",
            [this] { return shownCompletionPopup(textEntry(sourceFile())); },
            [] { pressKeys("Down"); })
        .then(
            "the completion is in the field",
            [this] { return sourceFile()->GetValue() == "site/plan.ctb"; },
            [] { pressKeys("Return"); })
        .then(
            "the completion has gone",
            [this] { return !shownCompletionPopup(textEntry(sourceFile())); },
            [] { pressKeys("Return"); });
    closeEditorWithEscape();
    user.start();
    EXPECT_TRUE(startPlotStyleEditor(nullptr));
    EXPECT_TRUE(user.finished());
    EXPECT_EQ(editedFile, dir.file("site/plan.ctb"));
}

// A file chooser cancelled gives the focus back to the field that had it; a file chosen moves it
// to OK, so that Enter opens the file instead of the chooser again.
TEST_F(DialogKeyboardTest, EnterAfterBrowsingOpensTheChosenTable) {
    const wxString chosen = dir.file("site/plan.ctb");
    wxString focusAfterCancel;
    wxString focusAfterChoice;
    whenSelectionActive("alt+f")
        .then(
            "the caret in the file field",
            [this] { return gtkFocus(selection) == textEntry(sourceFile()); },
            [] { pressKeys("alt+period"); })
        .then(
            "the file chooser is shown", [] { return shownGtkDialog(); },
            [] { pressKeys("Escape"); })
        .then(
            "the selection dialog is active again",
            [this] { return !shownGtkDialog() && receivesKeys(selection); },
            [&] {
                focusAfterCancel =
                    focusedControl(selection, {"BtnBrowse", "wxID_OK", "ComboSourceFile"});
                pressKeys("alt+period");
            })
        .then(
            "the file chooser is shown again", [] { return shownGtkDialog(); },
            [&] {
                typeText(chosen);
                pressKeys("Return");
            })
        .then(
            "the chosen file is in the field",
            [&] {
                return !shownGtkDialog() && receivesKeys(selection) &&
                       sourceFile()->GetValue() == chosen;
            },
            [&] {
                focusAfterChoice =
                    focusedControl(selection, {"BtnBrowse", "wxID_OK", "ComboSourceFile"});
                pressKeys("Return");
            });
    closeEditorWithEscape();
    user.start();
    EXPECT_TRUE(startPlotStyleEditor(nullptr));
    EXPECT_TRUE(user.finished());
    EXPECT_EQ(editedFile, chosen);
    EXPECT_EQ(focusAfterCancel.ToStdString(), "ComboSourceFile");
    EXPECT_EQ(focusAfterChoice.ToStdString(), "wxID_OK");
}

// A refusal's message box, closed with Enter, gives the focus back to the name field, so that
// the user corrects the name there.
TEST_F(DialogKeyboardTest, TheFocusReturnsToTheNameAfterARefusal) {
    wxLogGui messageBoxes;
    wxLog* const previousLog = wxLog::SetActiveTarget(&messageBoxes);
    const auto name = [this] { return findControl<wxTextCtrl>(selection, "TextTableName"); };
    whenSelectionActive("alt+s")
        .then(
            "a new table's name is asked for", [&] { return name()->IsShown(); },
            [] { pressKeys("alt+n"); })
        .then(
            "the caret in the name field",
            [&] { return gtkFocus(selection) == name()->GetHandle(); },
            [] { typeText("Plan.stb"); })
        .then(
            "OK is enabled", [this] { return selection->FindWindow(wxID_OK)->IsEnabled(); },
            [] { pressKeys("Return"); })
        .then(
            "the refusal is shown", [] { return shownGtkDialog(); }, [] { pressKeys("Return"); })
        .then(
            "the selection dialog is active again",
            [this] { return !shownGtkDialog() && receivesKeys(selection); }, [] { typeText("x"); })
        .then(
            "the letter typed is in the name", [&] { return name()->GetValue() == "Plan.stbx"; },
            [] { pressKeys("Escape"); });
    user.start();
    EXPECT_FALSE(startPlotStyleEditor(nullptr));
    EXPECT_TRUE(user.finished());
    wxLog::SetActiveTarget(previousLog);
}

// The new table dialog at the keyboard: the name refused, the message box closed, the name
// corrected where the caret was, Launch Editor turned off by its letter, the table created.
TEST_F(DialogKeyboardTest, CreatesANewTableWithTheKeyboardAlone) {
    wxDialog* dialog = nullptr;
    const auto name = [&] { return findControl<wxTextCtrl>(dialog, "TextTableName"); };
    wxLogGui messageBoxes;
    wxLog* const previousLog = wxLog::SetActiveTarget(&messageBoxes);
    user.then(
            "the new table dialog is active",
            [&] {
                dialog = activeModalDialog();
                return dialog && receivesKeys(dialog) && gtkFocus(dialog) == name()->GetHandle();
            },
            [] { typeText("Plan.stb"); })
        .then(
            "OK is enabled", [&] { return dialog->FindWindow(wxID_OK)->IsEnabled(); },
            [] { pressKeys("Return"); })
        .then(
            "the refusal is shown", [] { return shownGtkDialog(); }, [] { pressKeys("Return"); })
        .then(
            "the dialog is active again", [&] { return !shownGtkDialog() && receivesKeys(dialog); },
            [] {
                for (int key = 0; key < 4; ++key) {
                    pressKeys("BackSpace");
                }
                pressKeys("alt+l");
            })
        .then(
            "the name corrected and the editor turned off",
            [&] {
                return name()->GetValue() == "Plan" &&
                       !findControl<wxCheckBox>(dialog, "CheckLaunchEditor")->GetValue();
            },
            [] { pressKeys("Return"); });
    user.start();
    wxString handedBack;
    EXPECT_TRUE(newPlotStyleTable(handedBack, true, dir.path(), nullptr));
    EXPECT_TRUE(user.finished());
    EXPECT_EQ(handedBack, "Plan.ctb");
    EXPECT_TRUE(wxFileExists(dir.file("Plan.ctb")));
    wxLog::SetActiveTarget(previousLog);
}

namespace {

// Each control shown with its mnemonic, "RadNew &s", for the message of a failure.
wxString listed(const std::vector<Mnemonic>& mnemonics) {
    wxString list;
    for (const Mnemonic& mnemonic : mnemonics) {
        list += " " + mnemonic.control + " '" + mnemonic.label + "'";
    }
    return list;
}

} // namespace

// Every label and button of the two dialogs has an Alt+letter of its own among the controls
// shown at once, in every language; only the message, which leads nowhere, has none.
TEST_F(DialogKeyboardTest, EveryLabelHasAMnemonicOfItsOwnInEveryLanguage) {
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        auto* translations = new wxTranslations; // the host's, which the library joins
        translations->SetLanguage(language);
        wxTranslations::Set(translations);
        ensureResources();
        std::vector<std::pair<wxString, std::unique_ptr<wxDialog>>> shown;
        for (const char* mode : {"RadOpen", "RadNew", "RadCopy"}) {
            auto select = std::make_unique<DlgSelectTable>();
            ut::loadDialog(select.get(), nullptr, "DlgSelectTable");
            select->Show();
            chooseRadio(select.get(), mode);
            shown.emplace_back(mode, std::move(select));
        }
        for (bool colorDependent : {true, false}) {
            auto newTable = std::make_unique<DlgNewTable>(colorDependent, dir.path());
            ut::loadDialog(newTable.get(), nullptr, "DlgNewTable");
            newTable->Show();
            shown.emplace_back("new table", std::move(newTable));
        }
        for (const auto& [what, dialog] : shown) {
            const std::vector<Mnemonic> mnemonics = shownMnemonics(dialog.get());
            EXPECT_EQ(sharedMnemonics(mnemonics), "") << what;
            wxString without;
            for (const Mnemonic& mnemonic : mnemonics) {
                without += mnemonic.letter.empty() ? " " + mnemonic.control : "";
            }
            EXPECT_EQ(without.ToStdString(), " StatMessage") << what << listed(mnemonics);
        }
    }
    wxTranslations::Set(nullptr);
}
