// The registered layouts and image catalogue, built the way the dialogs build them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/grid.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "../support/resource_catalogue.h"
#include "gui_test_support.h"
#include "psl_resources.h"

namespace {

using Controls = std::vector<std::pair<const char*, wxClassInfo*>>;

// Loads the layout name with no log errors; checks its frame and that each control exists.
void expectDialog(wxDialog& dialog, const char* name, const wxString& title,
                  const Controls& controls) {
    ensureResources();
    LogCapture log;
    ASSERT_TRUE(wxXmlResource::Get()->LoadDialog(&dialog, nullptr, name)) << name;
    EXPECT_TRUE(log.errors().empty()) << name << ": " << log.errors().front().text;
    EXPECT_EQ(dialog.GetTitle(), title);
    ASSERT_EQ(dialog.GetIcons().GetIconCount(), 1u) << name;
    EXPECT_EQ(dialog.GetIcons().GetIconByIndex(0).GetWidth(), 16) << name;
    EXPECT_TRUE(dialog.HasExtraStyle(wxWS_EX_BLOCK_EVENTS)) << name;
    EXPECT_TRUE(dialog.HasFlag(wxRESIZE_BORDER)) << name;
    EXPECT_TRUE(dialog.HasFlag(wxCLOSE_BOX)) << name;
    for (const auto& [control, classInfo] : controls) {
        const wxWindow* window = dialog.FindWindow(XRCID(control));
        ASSERT_NE(window, nullptr) << name << " has no " << control;
        EXPECT_TRUE(window->IsKindOf(classInfo))
            << control << " is a " << window->GetClassInfo()->GetClassName();
    }
}

const wxWindow* control(const wxDialog& dialog, const char* name) {
    return dialog.FindWindow(XRCID(name));
}

TEST(ResourceLayouts, CatalogueBitmapsLoadByNameWithTheirSizes) {
    ensureResources();
    LogCapture log;
    for (const CatalogueImage& image : expectedCatalogue()) {
        const wxBitmap bitmap = wxXmlResource::Get()->LoadBitmap(image.name);
        ASSERT_TRUE(bitmap.IsOk()) << image.name;
        EXPECT_EQ(bitmap.GetWidth(), image.width) << image.name;
        EXPECT_EQ(bitmap.GetHeight(), image.height) << image.name;
    }
    EXPECT_TRUE(log.errors().empty());
}

TEST(ResourceLayouts, EditorHasFourPagesAndEveryControlInItsInitialState) {
    wxDialog dialog;
    expectDialog(
        dialog, "DlgPlotStyleEditor", "Plot Style Table Editor",
        {{"NoteBook", CLASSINFO(wxNotebook)},       {"StatFileIcon", CLASSINFO(wxStaticBitmap)},
         {"StatFileName", CLASSINFO(wxStaticText)}, {"TextTableDescr", CLASSINFO(wxTextCtrl)},
         {"StatFilePath", CLASSINFO(wxStaticText)}, {"StatNumStyles", CLASSINFO(wxStaticText)},
         {"StatFileType", CLASSINFO(wxStaticText)}, {"CheckScale", CLASSINFO(wxCheckBox)},
         {"TextScale", CLASSINFO(wxTextCtrl)},      {"StatScale", CLASSINFO(wxStaticText)},
         {"GridStyles", CLASSINFO(wxGrid)},         {"BtnStyleAddGrid", CLASSINFO(wxButton)},
         {"BtnStyleDelGrid", CLASSINFO(wxButton)},  {"ListStyles", CLASSINFO(wxListCtrl)},
         {"TextStyleDescr", CLASSINFO(wxTextCtrl)}, {"ComboColor", CLASSINFO(wxComboBox)},
         {"CheckDither", CLASSINFO(wxCheckBox)},    {"CheckGrayscale", CLASSINFO(wxCheckBox)},
         {"SpinPhysPen", CLASSINFO(wxSpinCtrl)},    {"SpinVirtPen", CLASSINFO(wxSpinCtrl)},
         {"SpinScreening", CLASSINFO(wxSpinCtrl)},  {"ComboLineType", CLASSINFO(wxComboBox)},
         {"CheckAdaptive", CLASSINFO(wxCheckBox)},  {"ComboLineWeight", CLASSINFO(wxComboBox)},
         {"ComboEndStyle", CLASSINFO(wxComboBox)},  {"ComboJoinStyle", CLASSINFO(wxComboBox)},
         {"ComboFillStyle", CLASSINFO(wxComboBox)}, {"BtnStyleAddForm", CLASSINFO(wxButton)},
         {"BtnStyleDelForm", CLASSINFO(wxButton)},  {"ListLineWeights", CLASSINFO(wxListCtrl)},
         {"RadLwMm", CLASSINFO(wxRadioButton)},     {"RadLwIn", CLASSINFO(wxRadioButton)},
         {"BtnLwEdit", CLASSINFO(wxButton)},        {"BtnLwSort", CLASSINFO(wxButton)},
         {"BtnOpen", CLASSINFO(wxButton)},          {"BtnSaveAs", CLASSINFO(wxButton)},
         {"BtnExport", CLASSINFO(wxButton)},        {"wxID_OK", CLASSINFO(wxButton)},
         {"wxID_CANCEL", CLASSINFO(wxButton)}});

    const auto* notebook = static_cast<const wxNotebook*>(control(dialog, "NoteBook"));
    ASSERT_EQ(notebook->GetPageCount(), 4u);
    const char* pages[][2] = {{"General", "PanelGeneral"},
                              {"Table View", "PanelTableView"},
                              {"Form View", "PanelFormView"},
                              {"Lineweights", "PanelLineWeights"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(notebook->GetPageText(i), pages[i][0]);
        EXPECT_EQ(notebook->GetPage(i)->GetId(), XRCID(pages[i][1]));
    }

    const auto* icon = static_cast<const wxStaticBitmap*>(control(dialog, "StatFileIcon"));
    EXPECT_EQ(icon->GetBitmap().GetWidth(), 48);
    EXPECT_EQ(static_cast<const wxTextCtrl*>(control(dialog, "TextScale"))->GetValue(), "1");
    for (const char* disabled :
         {"TextScale", "StatScale", "BtnStyleDelGrid", "BtnStyleDelForm", "BtnLwEdit"})
        EXPECT_FALSE(control(dialog, disabled)->IsThisEnabled()) << disabled;
    EXPECT_FALSE(control(dialog, "BtnExport")->IsShown());
    EXPECT_EQ(control(dialog, "BtnExport")->GetToolTipText(),
              "This button is only visible in debug build");
    EXPECT_EQ(static_cast<const wxButton*>(control(dialog, "wxID_OK"))->GetLabel(),
              "&Save && Close");
    EXPECT_EQ(static_cast<const wxButton*>(control(dialog, "BtnSaveAs"))->GetLabel(),
              "Save &As...");

    for (const char* check : {"CheckDither", "CheckGrayscale", "CheckAdaptive"})
        EXPECT_TRUE(static_cast<const wxCheckBox*>(control(dialog, check))->Is3State()) << check;
    const std::tuple<const char*, int, int, int> spins[] = {
        {"SpinPhysPen", 0, 32, 0}, {"SpinVirtPen", 0, 255, 0}, {"SpinScreening", 0, 100, 100}};
    for (const auto& [name, min, max, value] : spins) {
        const auto* spin = static_cast<const wxSpinCtrl*>(control(dialog, name));
        EXPECT_EQ(spin->GetMin(), min) << name;
        EXPECT_EQ(spin->GetMax(), max) << name;
        EXPECT_EQ(spin->GetValue(), value) << name;
    }
    for (const char* combo : {"ComboColor", "ComboLineType", "ComboLineWeight", "ComboEndStyle",
                              "ComboJoinStyle", "ComboFillStyle"})
        EXPECT_TRUE(control(dialog, combo)->HasFlag(wxCB_READONLY)) << combo;
    EXPECT_TRUE(control(dialog, "ListStyles")->HasFlag(wxLC_EDIT_LABELS));
    EXPECT_FALSE(control(dialog, "ListStyles")->HasFlag(wxLC_SINGLE_SEL));
    EXPECT_TRUE(control(dialog, "ListLineWeights")->HasFlag(wxLC_SINGLE_SEL));
    EXPECT_TRUE(static_cast<const wxRadioButton*>(control(dialog, "RadLwMm"))->GetValue());
    EXPECT_FALSE(static_cast<const wxRadioButton*>(control(dialog, "RadLwIn"))->GetValue());
}

TEST(ResourceLayouts, SelectTableAndNewTableDialogs) {
    wxDialog select;
    expectDialog(select, "DlgSelectTable", "Plot Style Table Editor",
                 {{"RadOpen", CLASSINFO(wxRadioButton)},
                  {"RadNew", CLASSINFO(wxRadioButton)},
                  {"RadCopy", CLASSINFO(wxRadioButton)},
                  {"StatTableType", CLASSINFO(wxStaticText)},
                  {"ChoiceTableType", CLASSINFO(wxChoice)},
                  {"StatSourceFile", CLASSINFO(wxStaticText)},
                  {"ComboSourceFile", CLASSINFO(wxComboBox)},
                  {"BtnBrowse", CLASSINFO(wxButton)},
                  {"StatTableName", CLASSINFO(wxStaticText)},
                  {"TextTableName", CLASSINFO(wxTextCtrl)},
                  {"StatOpen1", CLASSINFO(wxStaticText)},
                  {"StatOpen2", CLASSINFO(wxStaticText)},
                  {"PanelMessage", CLASSINFO(wxPanel)},
                  {"StatMessage", CLASSINFO(wxStaticText)},
                  {"wxID_OK", CLASSINFO(wxButton)},
                  {"wxID_CANCEL", CLASSINFO(wxButton)}});
    const auto* choice = static_cast<const wxChoice*>(control(select, "ChoiceTableType"));
    ASSERT_EQ(choice->GetCount(), 2u);
    EXPECT_EQ(choice->GetString(0), "CTB");
    EXPECT_EQ(choice->GetString(1), "STB");
    EXPECT_EQ(choice->GetSelection(), 0);
    EXPECT_FALSE(control(select, "ComboSourceFile")->HasFlag(wxCB_READONLY));
    EXPECT_FALSE(control(select, "StatOpen1")->IsShown());
    EXPECT_FALSE(control(select, "StatOpen2")->IsShown());
    EXPECT_EQ(control(select, "PanelMessage")->GetBackgroundColour(), wxColour(0xdd, 0xdd, 0xdd));
    EXPECT_EQ(static_cast<const wxStaticText*>(control(select, "StatMessage"))->GetLabel(),
              "[msg]");

    wxDialog newTable;
    expectDialog(newTable, "DlgNewTable", "Add Plot Style Table",
                 {{"StatTableName", CLASSINFO(wxStaticText)},
                  {"TextTableName", CLASSINFO(wxTextCtrl)},
                  {"CheckLaunchEditor", CLASSINFO(wxCheckBox)},
                  {"CheckUseInDrawing", CLASSINFO(wxCheckBox)},
                  {"PanelMessage", CLASSINFO(wxPanel)},
                  {"StatMessage", CLASSINFO(wxStaticText)},
                  {"wxID_OK", CLASSINFO(wxButton)},
                  {"wxID_CANCEL", CLASSINFO(wxButton)}});
    for (const char* check : {"CheckLaunchEditor", "CheckUseInDrawing"})
        EXPECT_TRUE(static_cast<const wxCheckBox*>(control(newTable, check))->GetValue()) << check;
    EXPECT_EQ(static_cast<const wxCheckBox*>(control(newTable, "CheckUseInDrawing"))->GetLabel(),
              "Use this plotstyle for the current drawing");
}

} // namespace
