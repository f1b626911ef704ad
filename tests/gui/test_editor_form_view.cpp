// The editor's Form View: the style list, the merged values of a multi-selection, and the
// changes written back to every selected style. Its Lineweights page: values in millimetres or
// inches, in-place edits and their refusals, the selection and picker following a sorted row, and
// the marks of the rows in use. The rules of rounding and sorting are the table document's.
#include <iterator>

#include <gtk/gtk.h>

#include <wx/imaglist.h>
#include <wx/textctrl.h>

#include "editor_test_support.h"

namespace {

const char* const kPropertyControls[] = {"ComboColor",    "CheckDither",    "CheckGrayscale",
                                         "SpinPhysPen",   "SpinVirtPen",    "SpinScreening",
                                         "ComboLineType", "CheckAdaptive",  "ComboLineWeight",
                                         "ComboEndStyle", "ComboJoinStyle", "ComboFillStyle"};

using FormViewTest = EditorTest;

wxListCtrl* lineWeightList(const wxWindow* editor) {
    return findControl<wxListCtrl>(editor, "ListLineWeights");
}

// The rows marked in use.
std::vector<long> markedRows(const wxListCtrl* list) {
    std::vector<long> rows;
    for (long row = 0; row < list->GetItemCount(); ++row) {
        wxListItem item;
        item.SetId(row);
        item.SetMask(wxLIST_MASK_IMAGE);
        if (list->GetItem(item) && item.GetImage() == 1) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<double> weightsOf(const CPlotStyleTable& table) {
    return std::vector<double>(std::begin(table.LineWeights), std::end(table.LineWeights));
}

using LineWeightTest = EditorTest;

} // namespace

TEST_F(FormViewTest, StyleListNamesColoursOrStyles) {
    const auto colors = openEditor(dir.copyTestData("canonical.ctb"));
    const wxListCtrl* list = styleList(colors.get());
    ASSERT_EQ(list->GetItemCount(), 255);
    EXPECT_EQ(list->GetItemText(0), "Color 1 ");
    EXPECT_EQ(list->GetItemText(254), "Color 255 ");

    // Row i shows swatch i, the colour index i + 1.
    ASSERT_TRUE(list->GetImageList(wxIMAGE_LIST_SMALL));
    wxListItem item;
    item.SetId(122);
    item.SetMask(wxLIST_MASK_IMAGE);
    ASSERT_TRUE(list->GetItem(item));
    EXPECT_EQ(item.GetImage(), 122);

    // Named styles show the name in the user's language.
    const wxString path = writeTable(dir, "names.stb", false, [](CPlotStyleTable& table) {
        table.addStyle(u"Wall", 0, nullptr);
        table.style(1)->setLocName(u"Mauer");
    });
    const auto named = openEditor(path);
    const wxListCtrl* names = styleList(named.get());
    EXPECT_EQ(rowTexts(names), (std::vector<wxString>{"Normal", "Mauer"}));
    EXPECT_FALSE(names->GetImageList(wxIMAGE_LIST_SMALL));
}

TEST_F(FormViewTest, SelectionShowsSharedValuesAndMarksDifferences) {
    const wxString path = writeTable(dir, "merge.ctb", true, [](CPlotStyleTable& table) {
        CPlotStyle& a = *table.style(0);
        CPlotStyle& b = *table.style(1);
        CPlotStyle& c = *table.style(2);
        a.Screening = 100;
        b.Screening = 50;
        a.PhysPenNum = 3;
        b.PhysPenNum = 5;
        a.ColorPolicy = 1; // dither on
        b.ColorPolicy = 4; // dither off, an unrelated bit set
        a.LineType = 2;
        b.LineType = 5;
        a.setDesc(u"Outer wall");
        b.setDesc(u"outer wall");
        a.updateColor(0xFF0000);
        b.updateColor(0x0000FF);
        c.setDesc(u"Outer wall");
        c.ColorPolicy = 1;
        c.EndStyle = 2;
        // Values that other programs may write.
        CPlotStyle& foreign = *table.style(5);
        foreign.LineType = 77;
        foreign.EndStyle = 9;
        foreign.FillStyle = 5;
        foreign.PhysPenNum = 300;
        foreign.Screening = 250;
        table.style(6)->PhysPenNum = 4;
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    auto* physPen = findControl<wxSpinCtrl>(form, "SpinPhysPen");
    auto* virtPen = findControl<wxSpinCtrl>(form, "SpinVirtPen");
    auto* screening = findControl<wxSpinCtrl>(form, "SpinScreening");
    auto* dither = findControl<wxCheckBox>(form, "CheckDither");
    auto* description = findControl<wxTextCtrl>(form, "TextStyleDescr");

    // Nothing selected: the values of a new style, all controls off.
    refreshControls(form);
    for (const char* name : kPropertyControls) {
        EXPECT_FALSE(form->FindWindow(XRCID(name))->IsEnabled()) << name;
    }

    // Two styles: shared values are shown, differing ones marked.
    selectRows(form, {0, 1});
    refreshControls(form);
    for (const char* name : kPropertyControls) {
        EXPECT_TRUE(form->FindWindow(XRCID(name))->IsEnabled()) << name;
    }
    EXPECT_EQ(screening->GetTextValue(), "Varies");
    EXPECT_EQ(physPen->GetTextValue(), "Varies");
    EXPECT_EQ(virtPen->GetTextValue(), "Automatic");
    EXPECT_EQ(dither->Get3StateValue(), wxCHK_UNDETERMINED);
    EXPECT_TRUE(description->GetValue().empty()) << "descriptions differing in case differ";
    EXPECT_EQ(description->GetHint(), "Varies");
    EXPECT_EQ(findControl<wxg::ColorCombo>(form, "ComboColor")->GetValue(), "Varies");
    EXPECT_EQ(imagePicker(form, "ComboLineType")->GetValue(), "Varies");
    EXPECT_EQ(imagePicker(form, "ComboEndStyle")->GetValue(), "Use entity end style");

    // The word is no new value.
    processPendingEvents();
    EXPECT_EQ(editor->currentTable()->style(0)->PhysPenNum, 3);
    EXPECT_FALSE(editor->isModified());

    showFormView(form);

    // Rows 0 and 2 share description, dither and colour except for the end style.
    selectRows(form, {0, 2});
    EXPECT_EQ(description->GetValue(), "Outer wall");
    EXPECT_EQ(dither->Get3StateValue(), wxCHK_CHECKED);
    EXPECT_EQ(imagePicker(form, "ComboEndStyle")->GetValue(), "Varies");

    // Styles whose pens are both automatic say so.
    selectRows(form, {3, 4});
    refreshControls(form);
    EXPECT_EQ(physPen->GetTextValue(), "Automatic");
    EXPECT_TRUE(log.errors().empty());

    // Values from other programs show as they are, and choosing them again changes nothing.
    selectRows(form, {5});
    const struct {
        const char* picker;
        const char* label;
        unsigned int items;
    } pickers[] = {{"ComboLineType", "Line type 77", 32},
                   {"ComboEndStyle", "End style 9", 5},
                   {"ComboFillStyle", "Fill style 5", 10}};
    for (const auto& p : pickers) {
        EXPECT_EQ(imagePicker(form, p.picker)->GetValue(), p.label) << p.picker;
        pick(form, p.picker, imagePicker(form, p.picker)->getValue());
    }
    EXPECT_EQ(physPen->GetTextValue(), "300");
    EXPECT_EQ(screening->GetTextValue(), "250");
    spinTo(form, "SpinPhysPen", 300);
    EXPECT_FALSE(editor->isModified()) << "the same values chosen again";

    // A pen field emptied says "Varies" again once left; 0 typed over it counts.
    selectRows(form, {6, 7});
    EXPECT_EQ(physPen->GetTextValue(), "Varies");
    for (const auto& p : pickers) {
        EXPECT_EQ(imagePicker(form, p.picker)->GetCount(), p.items) << p.picker;
    }
    for (const char* typed : {"", "0"}) {
        gtk_entry_set_text(GTK_ENTRY(physPen->GetHandle()), typed);
        leaveField(form, "SpinPhysPen");
    }
    EXPECT_EQ(editor->currentTable()->style(6)->PhysPenNum, 0);
    EXPECT_EQ(physPen->GetTextValue(), "Automatic");
}

TEST_F(FormViewTest, ChangesGoToEverySelectedStyleWhileFormViewIsShown) {
    const wxString path = dir.copyTestData("independent-writer-64bit-header.ctb", "office.ctb");
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    const CPlotStyleTable& table = *editor->currentTable();
    selectRows(form, {0, 9, 200});

    // On another page the same events change nothing.
    pick(form, "ComboLineType", 3);
    spinTo(form, "SpinScreening", 40);
    EXPECT_EQ(table.style(9)->LineType, 31);
    EXPECT_EQ(table.style(9)->Screening, 100);
    EXPECT_FALSE(editor->isModified());

    // Rows selected on another page stay selected when the Form View comes up.
    showFormView(form);
    EXPECT_EQ(styleList(form)->GetSelectedItemCount(), 3);
    pickColor(form, 5); // blue, index 5
    spinTo(form, "SpinScreening", 40);
    spinTo(form, "SpinPhysPen", 12);
    spinTo(form, "SpinVirtPen", 200);
    pick(form, "ComboLineType", 3);
    pick(form, "ComboLineWeight", 9);
    pick(form, "ComboEndStyle", 2);
    pick(form, "ComboJoinStyle", 1);
    pick(form, "ComboFillStyle", 66);
    clickCheck(form, "CheckGrayscale", wxCHK_UNCHECKED);
    clickCheck(form, "CheckAdaptive", wxCHK_UNCHECKED);
    // A description is one line: a break typed or pasted becomes a blank.
    auto* description = findControl<wxTextCtrl>(form, "TextStyleDescr");
    description->SetValue("Load-bearing\r\nwall");
    EXPECT_EQ(description->GetValue(), "Load-bearing wall");
    EXPECT_TRUE(editor->isModified());

    // The form shows what was written, and Save & Close writes it.
    selectRows(form, {9, 200});
    EXPECT_EQ(findControl<wxg::ColorCombo>(form, "ComboColor")->GetValue(), "Blue");
    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    const PlotStyleTablePtr written = readTable(path);
    ASSERT_TRUE(written);
    // Row 0 of a colour-dependent table is a style like any other.
    for (int row : {0, 9, 200}) {
        SCOPED_TRACE(row);
        const CPlotStyle& s = *written->style(row);
        EXPECT_EQ(s.color2rgb(), 0xFF0000) << "blue, red in the low byte";
        EXPECT_EQ(
            (std::vector<int>{s.Screening, s.PhysPenNum, s.VirtPenNum, s.LineType, s.LineWeight,
                              s.EndStyle, s.JoinStyle, s.FillStyle, s.Adaptive}),
            (std::vector<int>{40, 12, 200, 3, 9, 2, 1, 66, 0}));
        EXPECT_EQ(toWxString(s.desc()), "Load-bearing wall");
    }
    EXPECT_EQ(written->style(9)->ColorPolicy, 1) << "only the grayscale bit is cleared";
    const CPlotStyle& untouched = *written->style(4);
    EXPECT_EQ(untouched.Screening, 100);
    EXPECT_EQ(untouched.PhysPenNum, 7) << "other styles keep what they had";
    EXPECT_EQ(toWxString(written->style(1)->desc()), "Kabel, Leitungen");
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(FormViewTest, ColoursTravelBothWaysBetweenStyleAndPicker) {
    const wxString path = writeTable(dir, "colours.ctb", true, [&](CPlotStyleTable& table) {
        table.style(0)->updateColor(0);
        table.style(2)->updateColor(0xFFFF00);
        table.style(3)->updateColor(0x102030);
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    wxg::ColorCombo* picker = findControl<wxg::ColorCombo>(form, "ComboColor");
    const CPlotStyleTable& table = *editor->currentTable();

    const struct {
        long row;
        const char* shown;
    } shown[] = {{0, "Black"}, {1, "Use object color"}, {2, "Yellow"}, {3, "16,32,48"}};
    for (const auto& [row, label] : shown) {
        selectRows(form, {row});
        EXPECT_EQ(picker->GetString(picker->GetSelection()), label) << row;
    }

    showFormView(form);
    selectRows(form, {5});
    pickColor(form, 7);
    EXPECT_EQ(table.style(5)->color2rgb(), 0);
    pickColor(form, 0);
    EXPECT_EQ(std::uint32_t(table.style(5)->color2rgb()), 0x00FFFFFFu);
    OdCmColor trueColor;
    trueColor.setRGB(10, 20, 30);
    picker->setColor(trueColor.color());
    sendCommand(form, "ComboColor", wxEVT_COMBOBOX);
    EXPECT_EQ(table.style(5)->color2rgb(), 30 << 16 | 20 << 8 | 10);
}

TEST_F(FormViewTest, TypedInputReachesTheStylesOnEveryPathThatReadsTheForm) {
    struct Path {
        const char* name;
        std::function<void(DlgPlotStyleEditor&)> take;
    };
    const Path paths[] = {
        {"another style clicked", [](DlgPlotStyleEditor& editor) { selectRows(&editor, {7}); }},
        {"the field left",
         [](DlgPlotStyleEditor& editor) { leaveField(&editor, "SpinScreening"); }},
        {"Save & Close", [](DlgPlotStyleEditor& editor) { clickButton(&editor, "wxID_OK"); }},
        {"Export",
         [this](DlgPlotStyleEditor& editor) {
             wxTEST_DIALOG(clickButton(&editor, "BtnExport"), expectFileChoice(dir.file("t.csv")));
         }},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        const wxString file = dir.copyTestData("canonical.ctb", "typed.ctb");
        const auto editor = openEditor(file);
        wxWindow* form = editor.get();
        showFormView(form);
        selectRows(form, {2, 3});
        // Typed, not yet taken by the field: no change event has been sent.
        findControl<wxSpinCtrl>(form, "SpinScreening")->SetValue(wxString("42"));
        gtk_entry_set_text(GTK_ENTRY(findControl<wxSpinCtrl>(form, "SpinPhysPen")->GetHandle()),
                           "99");
        path.take(*editor);
        const PlotStyleTablePtr saved = readTable(file);
        const CPlotStyleTable& table = editor->IsShown() ? *editor->currentTable() : *saved;
        for (int row : {2, 3}) {
            EXPECT_EQ(table.style(row)->Screening, 42) << row;
            EXPECT_EQ(table.style(row)->PhysPenNum, 32) << row << ": no more than the last pen";
        }
        EXPECT_EQ(table.style(7)->Screening, 25) << "not selected";
    }
}

// Values show in the chosen unit and typed ones are taken in it; empty text, an edit cancelled
// with Escape and the shown value confirmed are no edit.
TEST_F(LineWeightTest, ValuesShowAndAreTakenInTheChosenUnit) {
    const wxString path = writeTable(
        dir, "units.ctb", true, [](CPlotStyleTable& table) { table.style(0)->LineWeight = 9; });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    const wxListCtrl* list = lineWeightList(form);
    wxg::ImageCombo* picker = imagePicker(form, "ComboLineWeight");
    EXPECT_EQ(list->GetItemText(8), "0.2500");
    EXPECT_EQ(picker->GetString(9), "0.2500 mm");
    EXPECT_TRUE(typeLineWeight(form, 3, wxString()));
    typeLineWeight(form, 3, "0.7", true);
    EXPECT_FALSE(typeLineWeight(form, 8, "0.2500"));
    EXPECT_FALSE(editor->isModified());

    selectRows(form, {0});
    ASSERT_EQ(picker->GetSelection(), 9);
    chooseRadio(form, "RadLwIn");
    EXPECT_EQ(list->GetItemText(8), "0.0098");
    EXPECT_EQ(picker->GetString(9), "0.0098\"");
    EXPECT_EQ(picker->GetSelection(), 9) << "the same weight stays chosen";
    EXPECT_FALSE(typeLineWeight(form, 8, "0.0098"));
    const std::vector<double> before = weightsOf(*editor->currentTable());
    EXPECT_DOUBLE_EQ(before[8], 0.25) << "only the display changes";
    EXPECT_TRUE(log.records().empty());

    // Text that is no number, and a weight beyond the limit in the unit shown, are refused.
    for (const char* typed : {"0,5", "7.875"}) {
        EXPECT_FALSE(typeLineWeight(form, 26, typed)) << "the list never keeps the typed text";
    }
    EXPECT_EQ(weightsOf(*editor->currentTable()), before);
    ASSERT_EQ(log.errors().size(), 2u);
    EXPECT_EQ(log.errors()[1].text, "Custom lineweights must be greater than or equal to 0 and "
                                    "less than or equal to 200 mm (7.8740\").");
    EXPECT_EQ(log.errors()[1].function, "DlgPlotStyleEditor::onEndLabelEdit");

    // A weight typed in inches is stored in millimetres and shown in its sorted row.
    EXPECT_FALSE(typeLineWeight(form, 26, "0.01"));
    EXPECT_EQ(list->GetItemText(9), "0.0100");
    EXPECT_DOUBLE_EQ(editor->currentTable()->LineWeights[9], 0.254);
    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    EXPECT_EQ(readTable(path)->CustomLineWeightUnits, 1);

    // A table saved in inches opens in inches.
    const auto inches = openEditor(path);
    EXPECT_TRUE(findControl<wxRadioButton>(inches.get(), "RadLwIn")->GetValue());
    EXPECT_EQ(lineWeightList(inches.get())->GetItemText(8), "0.0098");
}

// An edited row moves into place with the selection and the picker; the marks of the rows in use
// follow the picker and a change of units.
TEST_F(LineWeightTest, EditedRowMovesIntoPlaceAndTheSelectionAndMarksFollow) {
    const wxString path = writeTable(dir, "move.ctb", true, [](CPlotStyleTable& table) {
        for (const int row : {0, 1, 2, 3}) {
            table.style(row)->LineWeight = row + 3;
        }
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    wxListCtrl* list = lineWeightList(form);
    EXPECT_FALSE(form->FindWindow(XRCID("BtnLwSort"))->IsShown());
    EXPECT_EQ(markedRows(list), (std::vector<long>{2, 3, 4, 5}));

    selectRows(form, {0});
    list->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    EXPECT_FALSE(typeLineWeight(form, 2, "0.16"));
    const std::vector<wxString> texts = rowTexts(list);
    EXPECT_EQ(std::vector<wxString>(texts.begin() + 1, texts.begin() + 7),
              (std::vector<wxString>{"0.0500", "0.1000", "0.1300", "0.1500", "0.1600", "0.1800"}));
    EXPECT_EQ(list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 5)
        << "the selection follows";
    EXPECT_EQ(imagePicker(form, "ComboLineWeight")->GetSelection(), 6);
    EXPECT_EQ(imagePicker(form, "ComboLineWeight")->GetString(6), "0.1600 mm");

    showFormView(form);
    selectRows(form, {0, 1, 2, 3});
    pick(form, "ComboLineWeight", 0);
    EXPECT_EQ(editor->currentTable()->style(1)->LineWeight, 0);
    EXPECT_EQ(markedRows(list), std::vector<long>{});
    pick(form, "ComboLineWeight", 10);
    chooseRadio(form, "RadLwIn");
    EXPECT_EQ(markedRows(list), std::vector<long>{9});
}
