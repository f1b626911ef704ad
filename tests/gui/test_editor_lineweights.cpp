// The editor's Lineweights page: values in millimetres or inches, in-place edits with their
// limits, sorting that carries the styles along, and the marks of the rows in use.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include <wx/listctrl.h>
#include <wx/radiobut.h>

#include <kesutils/plot_style_table.h>

#include "editor_test_support.h"
#include "gui_test_support.h"

namespace {

const char* const kLimitMessage = "Custom lineweights must be greater than or equal to 0 and less "
                                  "than or equal to 200 mm (7.8740\").";

wxListCtrl* lineWeightList(const wxWindow* editor) {
    return findControl<wxListCtrl>(editor, "ListLineWeights");
}

int rowImage(const wxListCtrl* list, long row) {
    wxListItem item;
    item.SetId(row);
    item.SetMask(wxLIST_MASK_IMAGE);
    return list->GetItem(item) ? item.GetImage() : -2;
}

std::vector<long> selectedLineWeightRows(const wxListCtrl* list) {
    std::vector<long> rows;
    for (long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = list->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

std::vector<double> weightsOf(const CPlotStyleTable& table) {
    return std::vector<double>(std::begin(table.LineWeights), std::end(table.LineWeights));
}

// Millimetres each style plots with, 0 for the object's lineweight.
std::vector<double> plottedWeights(const CPlotStyleTable& table) {
    std::vector<double> weights;
    for (int row = 0; row < int(table.size()); ++row) {
        const int index = table.style(row)->LineWeight;
        weights.push_back(index >= 1 ? table.LineWeights[index - 1] : 0.0);
    }
    return weights;
}

using LineWeightTest = EditorTest;

} // namespace

TEST_F(LineWeightTest, ValuesShowInTheChosenUnit) {
    const wxString path = writeTable(
        dir, "units.ctb", true, [](CPlotStyleTable& table) { table.style(0)->LineWeight = 9; });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    const wxListCtrl* list = lineWeightList(form);
    wxg::ImageCombo* picker = imagePicker(form, "ComboLineWeight");
    ASSERT_DOUBLE_EQ(editor->currentTable()->LineWeights[8], 0.25);
    EXPECT_TRUE(findControl<wxRadioButton>(form, "RadLwMm")->GetValue());
    EXPECT_EQ(list->GetItemText(8), "0.2500");
    EXPECT_EQ(picker->GetString(9), "0.2500 mm");
    EXPECT_EQ(picker->GetString(0), "Use object lineweight");

    selectRows(form, {0});
    ASSERT_EQ(picker->GetSelection(), 9);
    chooseRadio(form, "RadLwIn");
    EXPECT_EQ(list->GetItemText(8), "0.0098");
    EXPECT_EQ(picker->GetString(9), "0.0098\"");
    EXPECT_EQ(picker->GetSelection(), 9) << "the same weight stays chosen";
    EXPECT_EQ(editor->currentTable()->CustomLineWeightUnits, 1);
    EXPECT_DOUBLE_EQ(editor->currentTable()->LineWeights[8], 0.25) << "only the display changes";
    EXPECT_TRUE(editor->isModified());

    chooseRadio(form, "RadLwMm");
    EXPECT_EQ(editor->currentTable()->CustomLineWeightUnits, 0);
    EXPECT_EQ(picker->GetString(9), "0.2500 mm");

    // A table saved in inches opens in inches.
    const auto inches = openEditor(dir.copyTestData("canonical.ctb"));
    EXPECT_TRUE(findControl<wxRadioButton>(inches.get(), "RadLwIn")->GetValue());
    EXPECT_EQ(lineWeightList(inches.get())->GetItemText(8), "0.0098");
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(LineWeightTest, EditsAreRoundedAndKeptWithinTheLimits) {
    struct Case {
        bool inches;
        const char* text;
        const char* shown; // the edited value's row text afterwards; null when refused
        double millimetres;
    };
    const Case cases[] = {
        {false, "200", "200.0000", 200.0},   {false, "200.00004", "200.0000", 200.0},
        {false, "200.00006", nullptr, 0},    {false, "  0.5", "0.5000", 0.5},
        {false, "0.5mm", nullptr, 0},        {true, "0.01", "0.0100", 0.254},
        {true, "7.874", "7.8740", 199.9996}, {true, "7.875", nullptr, 0},
        {false, "-0.00004", "0.0000", 0.0},  {false, "-1", nullptr, 0},
        {false, "abc", nullptr, 0},          {false, "1e999", nullptr, 0},
    };
    const wxString path = writeTable(dir, "edit.ctb", true, [](CPlotStyleTable&) {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        log.clear();
        const auto editor = openEditor(path);
        wxWindow* form = editor.get();
        const CPlotStyleTable& table = *editor->currentTable();
        if (c.inches) {
            chooseRadio(form, "RadLwIn");
        }
        const bool modifiedBefore = editor->isModified();
        const std::vector<double> before = weightsOf(table);
        const std::vector<wxString> textsBefore = rowTexts(lineWeightList(form));

        EXPECT_FALSE(typeLineWeight(form, 26, c.text)) << "the list never keeps the typed text";
        if (!c.shown) {
            EXPECT_EQ(weightsOf(table), before);
            EXPECT_EQ(rowTexts(lineWeightList(form)), textsBefore);
            EXPECT_EQ(editor->isModified(), modifiedBefore);
            ASSERT_EQ(log.errors().size(), 1u);
            EXPECT_EQ(log.errors()[0].text, kLimitMessage);
            EXPECT_EQ(log.errors()[0].function, "DlgPlotStyleEditor::onEndLabelEdit");
            continue;
        }
        // The old 2.11 is gone, the new value stands in its sorted place.
        std::vector<double> expected(before.begin(), before.end() - 1);
        expected.insert(std::upper_bound(expected.begin(), expected.end(), c.millimetres),
                        c.millimetres);
        const std::vector<double> after = weightsOf(table);
        for (std::size_t row = 0; row < after.size(); ++row) {
            EXPECT_NEAR(after[row], expected[row], 1e-9) << row;
        }
        const auto place = std::find(expected.begin(), expected.end(), c.millimetres);
        EXPECT_EQ(rowTexts(lineWeightList(form))[place - expected.begin()], c.shown);
        EXPECT_TRUE(editor->isModified());
        EXPECT_TRUE(log.errors().empty());
    }

    // Empty text, or an edit cancelled with Escape, is no edit at all; nor is the shown value
    // confirmed unchanged, in either unit.
    log.clear();
    const auto editor = openEditor(path);
    const std::vector<double> before = weightsOf(*editor->currentTable());
    EXPECT_TRUE(typeLineWeight(editor.get(), 3, wxString()));
    typeLineWeight(editor.get(), 3, "0.7", true);
    EXPECT_FALSE(typeLineWeight(editor.get(), 8, "0.2500"));
    EXPECT_FALSE(editor->isModified());
    chooseRadio(editor.get(), "RadLwIn");
    EXPECT_FALSE(typeLineWeight(editor.get(), 8, lineWeightList(editor.get())->GetItemText(8)));
    EXPECT_EQ(weightsOf(*editor->currentTable()), before);
    EXPECT_TRUE(log.records().empty());
}

TEST_F(LineWeightTest, EditedRowMovesIntoPlaceAndStylesFollowIt) {
    const wxString path = writeTable(dir, "move.ctb", true, [](CPlotStyleTable& table) {
        const double head[] = {0.0, 0.05, 0.13, 0.15, 0.18, 0.35};
        std::copy(std::begin(head), std::end(head), table.LineWeights);
        for (int row = 6; row < CPlotStyleTable::kLineWeightCount; ++row) {
            table.LineWeights[row] = 0.4 + 0.1 * (row - 6);
        }
        table.style(0)->LineWeight = 3;
        table.style(1)->LineWeight = 4;
        table.style(2)->LineWeight = 5;
        table.style(3)->LineWeight = 6;
        table.style(4)->LineWeight = 3;
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    const CPlotStyleTable& table = *editor->currentTable();
    wxListCtrl* list = lineWeightList(form);
    EXPECT_FALSE(form->FindWindow(XRCID("BtnLwSort"))->IsShown());
    for (long row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        EXPECT_EQ(rowImage(list, row), row >= 2 && row <= 5 ? 1 : 0) << row;
    }

    selectRows(form, {0});
    ASSERT_EQ(imagePicker(form, "ComboLineWeight")->GetSelection(), 3);
    list->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    refreshControls(form);
    EXPECT_TRUE(form->FindWindow(XRCID("BtnLwEdit"))->IsEnabled());

    EXPECT_FALSE(typeLineWeight(form, 2, "0.3"));
    const std::vector<wxString> texts = rowTexts(list);
    EXPECT_EQ(std::vector<wxString>(texts.begin() + 2, texts.begin() + 6),
              (std::vector<wxString>{"0.1500", "0.1800", "0.3000", "0.3500"}));
    EXPECT_EQ(table.style(0)->LineWeight, 5);
    EXPECT_EQ(table.style(4)->LineWeight, 5);
    EXPECT_EQ(table.style(1)->LineWeight, 3);
    EXPECT_EQ(table.style(2)->LineWeight, 4);
    EXPECT_EQ(table.style(3)->LineWeight, 6);
    EXPECT_EQ(selectedLineWeightRows(list), std::vector<long>{4}) << "the selection follows";
    EXPECT_EQ(imagePicker(form, "ComboLineWeight")->GetSelection(), 5);
    EXPECT_EQ(imagePicker(form, "ComboLineWeight")->GetString(5), "0.3000 mm");
    EXPECT_TRUE(editor->isModified());
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(LineWeightTest, SortKeepsEveryStylesWeight) {
    // Already ascending: nothing moves, yet the sort counts as a change.
    const auto ordered = openEditor(dir.copyTestData("canonical.ctb"));
    const std::vector<double> weights = weightsOf(*ordered->currentTable());
    const std::vector<double> plotted = plottedWeights(*ordered->currentTable());
    clickButton(ordered.get(), "BtnLwSort");
    EXPECT_EQ(weightsOf(*ordered->currentTable()), weights);
    EXPECT_EQ(plottedWeights(*ordered->currentTable()), plotted);
    EXPECT_EQ(ordered->currentTable()->style(0)->LineWeight, 9);
    EXPECT_TRUE(ordered->isModified());

    // Out of order: the rows are sorted and every style plots as before.
    const auto unordered = openEditor(dir.copyTestData("canonical-aci-table.stb"));
    ASSERT_TRUE(unordered->FindWindow(XRCID("BtnLwSort"))->IsShown());
    const CPlotStyleTable& table = *unordered->currentTable();
    const std::vector<double> before = plottedWeights(table);
    clickButton(unordered.get(), "BtnLwSort");
    EXPECT_TRUE(std::is_sorted(std::begin(table.LineWeights), std::end(table.LineWeights)));
    EXPECT_EQ(plottedWeights(table), before);
    EXPECT_EQ(lineWeightList(unordered.get())->GetItemText(3), "0.1000");
    EXPECT_EQ(lineWeightList(unordered.get())->GetItemText(4), "0.1300");
}

TEST_F(LineWeightTest, InUseMarksFollowThePicker) {
    const wxString path = writeTable(dir, "marks.stb", false, [](CPlotStyleTable& table) {
        table.addStyle(u"Thin", 0, nullptr);
        table.style(1)->LineWeight = 6;
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    const wxListCtrl* list = lineWeightList(form);
    for (long row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        EXPECT_EQ(rowImage(list, row), row == 5 ? 1 : 0) << row;
    }

    showFormView(form);
    selectRows(form, {1});
    pick(form, "ComboLineWeight", 0);
    EXPECT_EQ(editor->currentTable()->style(1)->LineWeight, 0);
    for (long row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        EXPECT_EQ(rowImage(list, row), 0) << row;
    }
    pick(form, "ComboLineWeight", 10);
    EXPECT_EQ(rowImage(list, 9), 1);

    // A change of units redraws the marks as they stand.
    chooseRadio(form, "RadLwIn");
    EXPECT_EQ(rowImage(list, 9), 1);
    EXPECT_EQ(rowImage(list, 5), 0);
}
