// The editor's Form View: the style list, the merged values of a multi-selection, and the
// changes written back to every selected style.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

#include <davaz/wxg_combo.h>
#include <kesutils/plot_style_table.h>

#include "editor_test_support.h"
#include "gui_test_support.h"
#include "psl_text.h"

namespace {

const char* const kPropertyControls[] = {"ComboColor",    "CheckDither",    "CheckGrayscale",
                                         "SpinPhysPen",   "SpinVirtPen",    "SpinScreening",
                                         "ComboLineType", "CheckAdaptive",  "ComboLineWeight",
                                         "ComboEndStyle", "ComboJoinStyle", "ComboFillStyle"};

using FormViewTest = EditorTest;

} // namespace

TEST_F(FormViewTest, StyleListNamesColoursOrStyles) {
    const auto colors = openEditor(dir.copyTestData("canonical.ctb"));
    const wxListCtrl* list = styleList(colors.get());
    ASSERT_EQ(list->GetItemCount(), 255);
    EXPECT_EQ(list->GetItemText(0), "Color 1 ");
    EXPECT_EQ(list->GetItemText(6), "Color 7 ");
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
    EXPECT_EQ(dither->Get3StateValue(), wxCHK_CHECKED);
    EXPECT_EQ(findControl<wxCheckBox>(form, "CheckGrayscale")->Get3StateValue(), wxCHK_UNCHECKED);
    EXPECT_EQ(findControl<wxCheckBox>(form, "CheckAdaptive")->Get3StateValue(), wxCHK_CHECKED);
    EXPECT_EQ(screening->GetValue(), 100);
    EXPECT_EQ(colorPicker(form)->GetSelection(), 0);
    for (const char* name : {"ComboLineType", "ComboLineWeight", "ComboEndStyle", "ComboJoinStyle",
                             "ComboFillStyle"}) {
        EXPECT_EQ(imagePicker(form, name)->GetSelection(), 0) << name << ": own setting first";
        EXPECT_FALSE(imagePicker(form, name)->varies()) << name;
    }

    // Two styles: shared values are shown, differing ones marked.
    selectRows(form, {0, 1});
    refreshControls(form);
    for (const char* name : kPropertyControls) {
        EXPECT_TRUE(form->FindWindow(XRCID(name))->IsEnabled()) << name;
    }
    EXPECT_EQ(screening->GetTextValue(), "Varies");
    EXPECT_EQ(physPen->GetValue(), 0);
    EXPECT_EQ(physPen->GetTextValue(), "Varies");
    EXPECT_EQ(virtPen->GetTextValue(), "Automatic");
    EXPECT_EQ(dither->Get3StateValue(), wxCHK_UNDETERMINED);
    EXPECT_TRUE(description->GetValue().empty()) << "descriptions differing in case differ";
    EXPECT_TRUE(colorPicker(form)->varies());
    EXPECT_EQ(colorPicker(form)->GetSelection(), 0);
    EXPECT_TRUE(imagePicker(form, "ComboLineType")->varies());
    EXPECT_FALSE(imagePicker(form, "ComboEndStyle")->varies());
    EXPECT_EQ(imagePicker(form, "ComboEndStyle")->getValue(), 4);

    // The word is no new value.
    processPendingEvents();
    EXPECT_EQ(editor->currentTable()->style(0)->PhysPenNum, 3);
    EXPECT_FALSE(editor->isModified());

    // A click on the undetermined box writes its new state to both styles, other bits kept.
    showFormView(form);
    clickCheck(form, "CheckDither", wxCHK_CHECKED);
    EXPECT_EQ(editor->currentTable()->style(0)->ColorPolicy, 1);
    EXPECT_EQ(editor->currentTable()->style(1)->ColorPolicy, 5);
    EXPECT_EQ(editor->currentTable()->style(2)->ColorPolicy, 1) << "not selected";
    EXPECT_TRUE(editor->isModified());

    // Rows 0 and 2 share description, dither and colour except for the end style.
    selectRows(form, {0, 2});
    EXPECT_EQ(description->GetValue(), "Outer wall");
    EXPECT_EQ(dither->Get3StateValue(), wxCHK_CHECKED);
    EXPECT_TRUE(imagePicker(form, "ComboEndStyle")->varies());
    EXPECT_EQ(screening->GetValue(), 100);
    refreshControls(form);
    EXPECT_EQ(physPen->GetTextValue(), "Varies");

    // Styles whose pens are both automatic say so; the last click is the one that counts.
    selectRows(form, {3, 4});
    refreshControls(form);
    EXPECT_EQ(physPen->GetTextValue(), "Automatic");
    EXPECT_EQ(physPen->GetValue(), 0);
    EXPECT_FALSE(colorPicker(form)->varies());
    spinTo(form, "SpinPhysPen", 7);
    refreshControls(form);
    EXPECT_EQ(physPen->GetValue(), 7);
    EXPECT_EQ(editor->currentTable()->style(3)->PhysPenNum, 7);
    EXPECT_EQ(editor->currentTable()->style(4)->PhysPenNum, 7);
    EXPECT_TRUE(log.errors().empty());
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
    clickCheck(form, "CheckAdaptive", wxCHK_UNCHECKED);
    pickColor(form, 1);
    EXPECT_EQ(table.style(9)->LineType, 31);
    EXPECT_EQ(table.style(9)->Screening, 100);
    EXPECT_TRUE(table.style(9)->Adaptive);
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
    EXPECT_TRUE(editor->isModified());

    // The form shows what was written, and Save & Close writes it.
    selectRows(form, {9, 200});
    EXPECT_EQ(findControl<wxSpinCtrl>(form, "SpinScreening")->GetValue(), 40);
    EXPECT_EQ(imagePicker(form, "ComboFillStyle")->getValue(), 66);
    EXPECT_EQ(colorPicker(form)->color().colorIndex(), 5);
    EXPECT_TRUE(closedBy(*editor, "wxID_OK"));
    const PlotStyleTablePtr written = readTable(path);
    ASSERT_TRUE(written);
    // Row 0 of a colour-dependent table is a style like any other.
    for (int row : {0, 9, 200}) {
        SCOPED_TRACE(row);
        const CPlotStyle& style = *written->style(row);
        EXPECT_EQ(style.color2rgb(), 0xFF0000) << "blue, red in the low byte";
        EXPECT_EQ(style.Screening, 40);
        EXPECT_EQ(style.PhysPenNum, 12);
        EXPECT_EQ(style.VirtPenNum, 200);
        EXPECT_EQ(style.LineType, 3);
        EXPECT_EQ(style.LineWeight, 9);
        EXPECT_EQ(style.EndStyle, 2);
        EXPECT_EQ(style.JoinStyle, 1);
        EXPECT_EQ(style.FillStyle, 66);
        EXPECT_FALSE(style.Adaptive);
    }
    EXPECT_EQ(written->style(9)->ColorPolicy, 1) << "only the grayscale bit is cleared";
    const CPlotStyle& untouched = *written->style(4);
    EXPECT_EQ(untouched.Screening, 100);
    EXPECT_EQ(untouched.PhysPenNum, 7) << "other styles keep what they had";
    EXPECT_EQ(toWxString(written->style(1)->desc()), "Kabel, Leitungen");
    EXPECT_TRUE(log.errors().empty());
}

TEST_F(FormViewTest, NamedTableKeepsItsBaseStyle) {
    const wxString path = writeTable(dir, "named.stb", false, [](CPlotStyleTable& table) {
        table.addStyle(u"Wall", 0, nullptr);
        table.addStyle(u"Door", 1, nullptr);
        table.style(2)->setDesc(u"outer");
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    const CPlotStyleTable& table = *editor->currentTable();
    showFormView(form);

    selectRows(form, {0});
    refreshControls(form);
    for (const char* name : kPropertyControls) {
        EXPECT_FALSE(form->FindWindow(XRCID(name))->IsEnabled()) << name;
    }
    EXPECT_FALSE(form->FindWindow(XRCID("BtnStyleDelForm"))->IsEnabled());
    spinTo(form, "SpinScreening", 10);
    EXPECT_EQ(table.style(0)->Screening, 100);
    EXPECT_FALSE(editor->isModified()) << "nothing changed";

    // With another style selected too, that one takes every change, the description on one line.
    selectRows(form, {0, 2});
    refreshControls(form);
    EXPECT_TRUE(form->FindWindow(XRCID("BtnStyleDelForm"))->IsEnabled());
    auto* description = findControl<wxTextCtrl>(form, "TextStyleDescr");
    EXPECT_TRUE(description->GetValue().empty()) << "the descriptions differ";
    description->SetValue("Load-bearing\r\nwall\nwest");
    EXPECT_EQ(description->GetValue(), "Load-bearing wall west");
    spinTo(form, "SpinScreening", 30);
    pick(form, "ComboJoinStyle", 2);
    clickCheck(form, "CheckDither", wxCHK_UNCHECKED);
    pickColor(form, 7);
    const CPlotStyle& door = *table.style(2);
    EXPECT_EQ(toWxString(door.desc()), "Load-bearing wall west");
    EXPECT_EQ(door.Screening, 30);
    EXPECT_EQ(door.JoinStyle, 2);
    EXPECT_EQ(door.ColorPolicy, 0);
    EXPECT_EQ(door.color2rgb(), 0);
    const CPlotStyle& base = *table.style(0);
    EXPECT_EQ(toWxString(base.desc()), "");
    EXPECT_EQ(base.Screening, 100);
    EXPECT_EQ(base.JoinStyle, 5);
    EXPECT_EQ(base.ColorPolicy, 1);
    EXPECT_EQ(std::uint32_t(base.color2rgb()), 0x00FFFFFFu);
    EXPECT_EQ(table.style(1)->Screening, 100) << "not selected";
}

TEST_F(FormViewTest, ColoursTravelBothWaysBetweenStyleAndPicker) {
    const wxString path = writeTable(dir, "colours.ctb", true, [&](CPlotStyleTable& table) {
        table.style(0)->updateColor(0);
        table.style(2)->updateColor(0xFFFF00);
        table.style(3)->updateColor(0x102030);
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    wxg::ColorCombo* picker = colorPicker(form);
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
             wxTEST_DIALOG(clickButton(&editor, "BtnExport"), ExpectFileChoice(dir.file("t.csv")));
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
        findControl<wxSpinCtrl>(form, "SpinPhysPen")->SetValue(wxString("99"));
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

TEST_F(FormViewTest, FieldsShowStoredValuesAsTheyAre) {
    const wxString path = writeTable(dir, "foreign.ctb", true, [](CPlotStyleTable& table) {
        CPlotStyle& style = *table.style(0);
        style.LineType = 77;
        style.EndStyle = 9;
        style.FillStyle = 5;
        style.PhysPenNum = 300;
        style.Screening = 250;
        table.style(1)->PhysPenNum = 4;
    });
    const auto editor = openEditor(path);
    wxWindow* form = editor.get();
    showFormView(form);
    selectRows(form, {0});
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
    auto* physPen = findControl<wxSpinCtrl>(form, "SpinPhysPen");
    auto* screening = findControl<wxSpinCtrl>(form, "SpinScreening");
    EXPECT_EQ(physPen->GetTextValue(), "300");
    EXPECT_EQ(screening->GetTextValue(), "250");
    spinTo(form, "SpinPhysPen", 300);
    EXPECT_FALSE(editor->isModified()) << "the same values chosen again";

    // A pen field without a number keeps what the user left in it; 0 typed over "Varies" counts.
    selectRows(form, {1, 2});
    EXPECT_EQ(physPen->GetTextValue(), "Varies");
    for (const auto& p : pickers) {
        EXPECT_EQ(imagePicker(form, p.picker)->GetCount(), p.items) << p.picker;
    }
    physPen->SetValue(wxString());
    refreshControls(form);
    EXPECT_EQ(physPen->GetTextValue(), "");
    physPen->SetValue(wxString("0"));
    leaveField(form, "SpinPhysPen");
    EXPECT_EQ(editor->currentTable()->style(1)->PhysPenNum, 0);
}
