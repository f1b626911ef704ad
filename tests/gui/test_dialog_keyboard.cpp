// The dialogs at the keyboard, through the real windows under a window manager: keys and clicks
// go through the X server to the window that has the focus.
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/log.h>
#include <wx/process.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

#include "editor_test_support.h"
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
        fillPlotStyleFolder();
    }

    // The steps that wait for the editor to get the keys, note its file, then press keys.
    UserSteps& whenEditorActive(const char* keys) {
        return user.then(
            "the editor is active",
            [this] {
                editor = dynamic_cast<DlgPlotStyleEditor*>(activeModalDialog());
                const bool active = editor && receivesKeys(editor);
                editedFile = active ? editor->tableFileName().GetFullPath() : wxString();
                return active;
            },
            [keys] { pressKeys(keys); });
    }
    bool editorFocusIn(const char* name) const {
        return activeModalDialog() == editor && focusedControl(editor, {name}) == name;
    }

    UserSteps user;
    DlgPlotStyleEditor* editor = nullptr;
    wxString editedFile;
};

} // namespace

// The file field's label takes the caret into its text (from the first choice, since the dialog
// opens with the caret already there). A file chooser cancelled gives the focus back to the field
// that had it; a file chosen moves it to OK, so that Enter opens the file instead of the chooser
// again. The first letters typed in the field pop up the completion; Down picks it, Enter takes it
// and Enter again opens it.
TEST_F(DialogKeyboardTest, OpensATableWithTheKeyboardAlone) {
    const wxString chosen = dir.file("a.CTB");
    wxDialog* selection = nullptr;
    const auto sourceFile = [&] { return findControl<wxComboBox>(selection, "ComboSourceFile"); };
    const auto caretInField = [&] {
        return !shownGtkDialog() && gtkFocus(selection) == textEntry(sourceFile());
    };
    const auto focusedButton = [&] {
        return focusedControl(selection, {"BtnBrowse", "wxID_OK", "ComboSourceFile"});
    };
    wxString focusAfterCancel;
    wxString focusAfterChoice;
    user.then(
            "the selection dialog is active",
            [&] {
                selection = activeModalDialog();
                return selection && receivesKeys(selection);
            },
            [] { pressKeys("alt+p"); })
        .then(
            "the focus on the first choice",
            [&] { return focusedControl(selection, {"RadOpen"}) == "RadOpen"; },
            [] { pressKeys("alt+f"); })
        .then("the caret in the file field", caretInField, [] { pressKeys("alt+period"); })
        .then(
            "the file chooser is shown", [] { return activeGtkDialog(); },
            [] { pressKeys("Escape"); })
        .then(
            "the selection dialog is active again",
            [&] { return !shownGtkDialog() && receivesKeys(selection); },
            [&] {
                focusAfterCancel = focusedButton();
                pressKeys("alt+period");
            })
        .then(
            "the file chooser is shown again", [] { return activeGtkDialog(); },
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
                focusAfterChoice = focusedButton();
                pressKeys("alt+f");
            })
        .then("the caret in the file field again", caretInField,
              [] {
                  pressKeys("ctrl+a");
                  typeText("si");
              })
        .then(
            "the completion pops up", [&] { return shownCompletionPopup(textEntry(sourceFile())); },
            [] { pressKeys("Down"); })
        .then(
            "the completion is in the field",
            [&] { return sourceFile()->GetValue() == "site/plan.ctb"; },
            [] { pressKeys("Return"); })
        .then(
            "the completion has gone",
            [&] { return !shownCompletionPopup(textEntry(sourceFile())); },
            [] { pressKeys("Return"); });
    whenEditorActive("Escape");
    user.start();
    EXPECT_TRUE(startPlotStyleEditor(nullptr));
    EXPECT_TRUE(user.finished());
    EXPECT_EQ(editedFile, dir.file("site/plan.ctb"));
    EXPECT_EQ(focusAfterCancel.ToStdString(), "ComboSourceFile");
    EXPECT_EQ(focusAfterChoice.ToStdString(), "wxID_OK");
}

// The new table dialog at the keyboard: the name refused, the message box closed, the name
// corrected where the caret was, Launch Editor turned off by its letter, the table created.
TEST_F(DialogKeyboardTest, CreatesANewTableWithTheKeyboardAlone) {
    wxDialog* dialog = nullptr;
    const auto name = [&] { return findControl<wxTextCtrl>(dialog, "TextTableName"); };
    const wxLogChain messageBoxes(new wxLogGui);
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
            "the refusal is shown", [] { return activeGtkDialog(); }, [] { pressKeys("Return"); })
        .then(
            "the dialog is active again", [&] { return !shownGtkDialog() && receivesKeys(dialog); },
            [] { pressKeys("BackSpace BackSpace BackSpace BackSpace alt+l"); })
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
}

// While Screening says "Varies", its arrows and text that is no number change nothing; a number
// is clamped and Enter takes it, as it takes a description, and the editor stays. Alt+letters
// reach their controls whatever has the focus: Alt+S from the linetype picker saves and closes,
// where the picker would have taken the S for an item.
TEST_F(DialogKeyboardTest, EditorKeysWhateverHasTheFocus) {
    const wxString path = writeTable(dir, "plan.stb", false, [](CPlotStyleTable& table) {
        table.addStyle(u"Heavy", 0, nullptr);
        table.style(1)->Screening = 99;
        table.style(1)->LineType = 5;
    });
    const auto screening = [this] { return findControl<wxSpinCtrl>(editor, "SpinScreening"); };
    wxString left;
    int heavy = 0;
    whenEditorActive("alt+2 alt+y")
        .then(
            "the style list has the focus", [this] { return editorFocusIn("ListStyles"); },
            [] { pressKeys("ctrl+a alt+r"); })
        .then(
            "Screening says Varies",
            [&] {
                return editorFocusIn("SpinScreening") && screening()->GetTextValue() == "Varies";
            },
            [&] {
                const wxRect field = screening()->GetScreenRect();
                const int middle = field.y + field.height / 2;
                clickAt(wxPoint(field.GetRight() - field.height / 2, middle));
                clickAt(wxPoint(field.GetRight() - 3 * field.height / 2, middle));
                pressKeys("Up ctrl+a");
                typeText("abc");
                pressKeys("Tab");
            })
        .then(
            "the focus left Screening", [this] { return !editorFocusIn("SpinScreening"); },
            [&] {
                left = screening()->GetTextValue();
                heavy = editor->currentTable()->style(1)->Screening;
                for (const char* field : {"alt+r", "alt+d"}) {
                    pressKeys(field);
                    pressKeys("ctrl+a");
                    typeText(field == std::string("alt+r") ? "150" : "Wall");
                    pressKeys("Return");
                }
                pressKeys("alt+t");
            })
        .then(
            "the linetype picker has the focus, Save & Close not pressed by an Enter",
            [this] {
                // GTK presses a button that Enter activates for a moment before it clicks.
                GtkWidget* ok = editor->FindWindow(wxID_OK)->GetHandle();
                return editorFocusIn("ComboLineType") &&
                       !(gtk_widget_get_state_flags(ok) & GTK_STATE_FLAG_ACTIVE);
            },
            [] { pressKeys("alt+s"); });
    user.start();
    EXPECT_TRUE(editPlotStyleTable(path, nullptr));
    EXPECT_TRUE(user.finished());
    EXPECT_EQ(left, "Varies");
    EXPECT_EQ(heavy, 99);
    const PlotStyleTablePtr saved = readTable(path);
    EXPECT_EQ(saved->style(1)->Screening, 100);
    EXPECT_EQ(toWxString(saved->style(1)->desc()), "Wall");
    EXPECT_EQ(saved->style(1)->LineType, 5);
}

// After the question about changes, the file chooser and a refusal's message box, the keys go to
// the control that had them; Ctrl+Enter saves and closes.
TEST_F(DialogKeyboardTest, EditorControlsGetTheKeysBackAfterBoxesAndTheChooser) {
    const wxLogChain messageBoxes(new wxLogGui);
    const wxString other = dir.file("site/plan.ctb");
    wxString afterOpen;
    wxString afterRefusal;
    whenEditorActive("alt+d")
        .then(
            "the caret in the description", [this] { return editorFocusIn("TextTableDescr"); },
            [] {
                typeText("x");
                pressKeys("alt+o");
            })
        .then(
            "the question is shown", [] { return GTK_IS_MESSAGE_DIALOG(activeGtkDialog()); },
            [] { pressKeys("alt+n"); })
        .then(
            "the file chooser is shown", [] { return GTK_IS_FILE_CHOOSER(activeGtkDialog()); },
            [&] {
                typeText(other);
                pressKeys("Return");
            })
        .then(
            "the other table is shown",
            [&] {
                return !shownGtkDialog() && receivesKeys(editor) &&
                       editor->tableFileName().GetFullPath() == other;
            },
            [&] {
                afterOpen = focusedControl(editor, {"TextTableDescr", "BtnOpen"});
                pressKeys("alt+3 alt+l Down Return minus 1 Return");
            })
        .then(
            "the refusal is shown", [] { return activeGtkDialog(); }, [] { pressKeys("Return"); })
        .then(
            "the editor is active again",
            [this] { return !shownGtkDialog() && receivesKeys(editor); },
            [&] {
                afterRefusal = focusedControl(editor, {"ListLineWeights"});
                pressKeys("ctrl+Return");
            });
    user.start();
    EXPECT_TRUE(editPlotStyleTable(dir.file("a.CTB"), nullptr));
    EXPECT_TRUE(user.finished());
    EXPECT_EQ(afterOpen.ToStdString(), "TextTableDescr");
    EXPECT_EQ(afterRefusal.ToStdString(), "ListLineWeights");
}

// The program shows the plug-in's errors under the editor's name, in German too: a failed save
// says which file and why in one box.
TEST(ProgramErrorBoxes, CarryTheEditorsName) {
    ScratchDir dir;
    const wxString table = dir.copyTestData("canonical.ctb", "plan.ctb");
    for (const auto& [language, editor] :
         {std::pair{"en", "Plot Style Table Editor"}, {"de", "Plotstiltabellen-Editor"}}) {
        SCOPED_TRACE(language);
        // Writes fail past the first kilobyte, as on a full disk.
        const wxString script = wxString::Format("trap '' XFSZ; ulimit -f 1; exec %s --lang %s "
                                                 "edit '%s'",
                                                 PSTYLE_PROGRAM, language, table);
        const char* const command[] = {"sh", "-c", script.utf8_str(), nullptr};
        const long program = wxExecute(command, wxEXEC_ASYNC);
        const auto shows = [](const wxString& title) {
            return waitUntil([&] { return activeWindowTitle() == title; });
        };
        EXPECT_TRUE(shows(wxString(editor) + " - plan.ctb"));
        pressKeys("ctrl+s");
        EXPECT_TRUE(shows(editor));
        pressKeys("Return");
        EXPECT_TRUE(shows(wxString(editor) + " - plan.ctb"));
        pressKeys("Escape");
        EXPECT_TRUE(waitUntil([&] { return !wxProcess::Exists(int(program)); }));
    }
}
