// Undo and redo in the editor: edits of every kind taken back step by step to the file's bytes
// and brought back, the modified flag following the saved point, and a load starting afresh.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "editor_test_support.h"
#include "psl_edit_history.h"

namespace {

using EditorUndoTest = EditorTest;

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
        if (step == 4) {
            // The deleted styles come back selected.
            EXPECT_TRUE(list->GetItemState(2, wxLIST_STATE_SELECTED));
            EXPECT_TRUE(list->GetItemState(3, wxLIST_STATE_SELECTED));
            EXPECT_EQ(list->GetSelectedItemCount(), 2);
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

    // A load starts a new history: nothing is left to redo.
    editor->loadTable();
    press('Y', wxMOD_CONTROL);
    EXPECT_EQ(tableBytes(), original);
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

} // namespace
