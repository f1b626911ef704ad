// The dialogs on large screens and in German: every text gets the room it needs and is German,
// every label and button has an Alt+letter of its own, and images come with as many pixels as the
// screen has for them; the resources hold every image. Also run with GDK_SCALE=2 and
// GDK_DPI_SCALE=1.5.
#include <map>

#include <gtk/gtk.h>

#include <wx/anybutton.h>
#include <wx/bookctrl.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dcmemory.h>
#include <wx/dir.h>
#include <wx/display.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include "editor_test_support.h"
#include "psl_catalogues.h"
#include "psl_dlg_new_table.h"
#include "psl_dlg_select_table.h"
#include "psl_window_layout.h"
#include "user_input.h"

namespace {

// A frame's title names a group and leads to no control, so it is no label here.
bool hasLabel(const wxWindow* window) {
    return (dynamic_cast<const wxStaticText*>(window) || dynamic_cast<const wxAnyButton*>(window) ||
            dynamic_cast<const wxCheckBox*>(window) ||
            dynamic_cast<const wxRadioButton*>(window)) &&
           !window->GetLabel().empty();
}

// Fields of one line of text, whose letters' descenders need the natural height.
bool isField(const wxWindow* window) {
    if (auto* text = dynamic_cast<const wxTextCtrl*>(window)) {
        return !text->IsMultiLine();
    }
    return dynamic_cast<const wxComboBox*>(window) || dynamic_cast<const wxChoice*>(window) ||
           dynamic_cast<const wxSpinCtrl*>(window) || dynamic_cast<const wxSpinCtrlDouble*>(window);
}

struct Layout {
    wxString faults; // "\n  what Name 'text': needs WxH, has WxH"
    std::map<wxString, wxArrayString> labelsOfLetter;
    wxString withoutLetter; // " Name" for each label without an Alt+letter
};

void addFault(Layout& layout, const char* what, const wxWindow* control, const wxSize& needed,
              const wxSize& has) {
    layout.faults +=
        wxString::Format("\n  %s %s '%s': needs %dx%d, has %dx%d", what, control->GetName(),
                         control->GetLabel(), needed.x, needed.y, has.x, has.y);
}

// Of each shown label, button and picker, as much is visible as its text needs; labels are as wide
// and fields as high as GTK's natural size for their text.
void inspectControl(const wxWindow* control, Layout& layout) {
    const bool label = hasLabel(control);
    const bool wraps = control->HasFlag(wxST_NO_AUTORESIZE); // a message wraps at its width
    GtkWidget* widget = control->GetHandle();
    if (label || dynamic_cast<const wxOwnerDrawnComboBox*>(control)) {
        wxRect visible = control->GetScreenRect();
        for (const wxWindow* around = control->GetParent(); !around->IsTopLevel();
             around = around->GetParent()) {
            visible.Intersect(around->GetScreenRect());
        }
        wxSize needed = control->GetBestSize();
        if (wraps) {
            int natural = 0;
            gtk_widget_get_preferred_height_for_width(widget, control->GetSize().x, &needed.y,
                                                      &natural);
            needed.x = 0;
        }
        if (needed.x > visible.width || needed.y > visible.height) {
            addFault(layout, "clipped", control, needed, visible.GetSize());
        }
    }
    if ((label && !wraps) || isField(control)) {
        const wxSize has(gtk_widget_get_allocated_width(widget),
                         gtk_widget_get_allocated_height(widget));
        int minimum = 0;
        wxSize natural;
        gtk_widget_get_preferred_width(widget, &minimum, &natural.x);
        gtk_widget_get_preferred_height_for_width(widget, has.x, &minimum, &natural.y);
        if (label ? has.x < natural.x : has.y < natural.y) {
            addFault(layout, "below its natural size", control, natural, has);
        }
    }
}

// The controls shown below window, on the page each notebook shows.
void inspect(const wxWindow* window, Layout& layout) {
    if (auto* book = dynamic_cast<const wxBookCtrlBase*>(window)) { // its other pages are hidden
        if (book->GetCurrentPage()) {
            inspect(book->GetCurrentPage(), layout);
        }
        return;
    }
    for (const wxWindow* child : window->GetChildren()) {
        if (!child->IsShown()) {
            continue;
        }
        inspect(child, layout);
        inspectControl(child, layout);
        if (hasLabel(child)) {
            wxString shown;
            const int index = wxControl::FindAccelIndex(child->GetLabel(), &shown);
            if (index == wxNOT_FOUND) {
                layout.withoutLetter += " " + child->GetName();
            } else {
                layout.labelsOfLetter[shown.Mid(index, 1).Lower()].push_back(child->GetLabel());
            }
        }
    }
}

// Checks what dialog shows once GTK has laid it out: every text fits and no two controls shown at
// once share an Alt+letter. In the selection and new table dialogs every label and button has a
// letter; only the message, which leads nowhere, has none.
void expectEveryTextFits(const wxString& what, const wxWindow* dialog, bool everyLabelLettered) {
    ASSERT_TRUE(waitUntil([dialog] { return isLaidOut(dialog); })) << what;
    Layout layout;
    inspect(dialog, layout);
    for (const auto& [letter, labels] : layout.labelsOfLetter) {
        if (labels.size() > 1) {
            layout.faults += "\n  shared letter " + letter + ": " + wxJoin(labels, ',', '\0');
        }
    }
    EXPECT_TRUE(layout.faults.empty()) << what << layout.faults;
    if (everyLabelLettered) {
        EXPECT_EQ(layout.withoutLetter.ToStdString(), " StatMessage") << what;
    }
}

using LargeScreenTest = EditorTest;

TEST_F(LargeScreenTest, EveryTextOfTheDialogsFitsAndHasItsLetterInEnglishAndGerman) {
    ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", dir.path());
    // Lineweights out of order show every button; an imported table has the longest kind.
    const wxString named = writeTable(dir, "plan.stb", false, [](CPlotStyleTable& table) {
        std::swap(table.LineWeights[0], table.LineWeights[1]);
    });
    const wxString imported = dir.copyTestData("canonical-aci-table.stb", "imported.stb");
    for (const char* language : {"en", "de"}) {
        SCOPED_TRACE(language);
        auto* translations = new wxTranslations; // the host's, which the library joins
        translations->SetLanguage(language);
        wxTranslations::Set(translations);
        ensureResources();
        for (const wxString& table : {named, imported}) {
            const auto editor = openEditor(table);
            auto* pages = findControl<wxNotebook>(editor.get(), "NoteBook");
            for (size_t page = 0; page < pages->GetPageCount(); ++page) {
                pages->SetSelection(page);
                expectEveryTextFits(table + ": " + pages->GetPageText(page), editor.get(), false);
            }
            // In German the title, the pages and the refusals are German.
            if (language == std::string("de") && table == named) {
                EXPECT_EQ(editor->GetTitle(), "Plotstiltabellen-Editor - plan.stb");
                EXPECT_EQ(pages->GetPageText(2), wxString::FromUTF8("Linienstärken"));
                EXPECT_FALSE(typeLineWeight(editor.get(), 3, "-1"));
                const auto errors = log.errors();
                EXPECT_EQ(errors.empty() ? wxString() : errors[0].text,
                          wxString::FromUTF8("Benutzerdefinierte Linienstärken müssen größer "
                                             "oder gleich 0 und kleiner oder gleich 200 mm "
                                             "(7.8740\") sein."));
            }
        }
        const auto select = showDialog<DlgSelectTable>("DlgSelectTable");
        for (const char* mode : {"RadOpen", "RadNew", "RadCopy"}) {
            chooseRadio(select.get(), mode);
            expectEveryTextFits(mode, select.get(), true);
        }
        for (bool colorDependent : {true, false}) {
            const auto newTable =
                showDialog<DlgNewTable>("DlgNewTable", colorDependent, dir.path());
            expectEveryTextFits("new table", newTable.get(), true);
        }
    }
    wxTranslations::Set(nullptr);
}

// A swatch's frame, one unit wide, takes as many pixels as the screen has for a unit, none of
// them blurred; the round line end, whose drawing at twice the size is rounder than the small
// one enlarged, comes from the drawing for the screen's scale.
TEST_F(LargeScreenTest, DrawsSwatchesAndPickerImagesAtTheScreensScale) {
    const auto editor = openEditor(dir.copyTestData("canonical.ctb"));
    const double scale = editor->GetContentScaleFactor();
    const wxBitmap red = styleList(editor.get())->GetImageList(wxIMAGE_LIST_SMALL)->GetBitmap(0);
    EXPECT_EQ(red.GetLogicalSize(), wxSize(14, 14));
    const wxImage swatch = red.ConvertToImage();
    ASSERT_EQ(swatch.GetSize(), wxSize(14, 14) * scale);
    const int frame = int(scale);
    const int inside = swatch.GetWidth() - frame;
    int wrongPixels = 0;
    for (int y = 0; y < swatch.GetHeight(); ++y) {
        for (int x = 0; x < swatch.GetWidth(); ++x) {
            const bool inFrame = x < frame || y < frame || x >= inside || y >= inside;
            const wxColour shown(swatch.GetRed(x, y), swatch.GetGreen(x, y), swatch.GetBlue(x, y));
            wrongPixels += shown != (inFrame ? *wxBLACK : *wxRED);
        }
    }
    EXPECT_EQ(wrongPixels, 0);
    // Index 7 plots black, whatever the screen shows for it.
    const wxImage black =
        styleList(editor.get())->GetImageList(wxIMAGE_LIST_SMALL)->GetBitmap(6).ConvertToImage();
    EXPECT_EQ(black.GetRed(inside / 2, inside / 2) + black.GetGreen(inside / 2, inside / 2), 0);

    wxg::ImageCombo* ends = imagePicker(editor.get(), "ComboEndStyle");
    const int round = ends->setValue(2);
    const wxSize item(ends->GetSize().x, ends->OnMeasureItem(round));
    wxBitmap canvas;
    canvas.CreateWithDIPSize(item, scale);
    {
        wxMemoryDC dc(canvas);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        ends->OnDrawItem(dc, wxRect(item), round, 0);
    }
    const wxImage drawn = canvas.ConvertToImage();
    const wxImage image = wxXmlResource::Get()
                              ->LoadBitmap(scale == 2 ? "BmpEndStyleRound@2x" : "BmpEndStyleRound")
                              .ConvertToImage();
    const wxPoint origin = wxPoint(ends->getTextLeftMargin(), (item.y - 13) / 2) * scale;
    int differing = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            differing += image.GetAlpha(x, y) == wxALPHA_OPAQUE &&
                         (drawn.GetRed(origin.x + x, origin.y + y) != image.GetRed(x, y) ||
                          drawn.GetBlue(origin.x + x, origin.y + y) != image.GetBlue(x, y));
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST(LargeScreenSnapshots, HaveTwiceTheSizeAtAScaleOfTwo) {
    if (wxDisplay().GetScaleFactor() != 2) {
        GTEST_SKIP() << "runs where the screen scales by 2";
    }
    ScratchDir dir;
    for (const char* scale : {"1", "2"}) {
        wxExecuteEnv environment;
        wxGetEnvMap(&environment.env);
        environment.env["GDK_SCALE"] = scale;
        wxArrayString output;
        wxArrayString errors;
        const wxString command = wxString(PSTYLE_PROGRAM " snapshot ") + dir.file(scale);
        ASSERT_EQ(wxExecute(command, output, errors, wxEXEC_SYNC, &environment), 0)
            << wxJoin(errors, '\n');
    }
    wxArrayString pictures;
    wxDir::GetAllFiles(dir.file("1"), &pictures, "*.png");
    EXPECT_EQ(pictures.size(), 5u);
    for (const wxString& picture : pictures) {
        const wxString name = wxFileName(picture).GetFullName();
        EXPECT_EQ(wxImage(dir.file("2/" + name)).GetSize(), wxImage(picture).GetSize() * 2) << name;
    }
}

// Every image the pickers name is in the resources, and registering them twice is no error.
TEST(Resources, EveryImageThePickersNameLoadsWithoutErrors) {
    ensureResources();
    LogCapture log;
    ensureResources();
    std::vector<wxString> names = {"BmpCTB", "BmpSTB", "MarkCheck", "MarkEmpty",
                                   "BmpStyleColorBox"};
    for (const auto& [values, bitmap] : {std::pair{kLineTypeValues, lineTypeBitmap},
                                         {kEndStyleValues, endStyleBitmap},
                                         {kJoinStyleValues, joinStyleBitmap},
                                         {kFillStyleValues, fillStyleBitmap}}) {
        for (int value = values.first; value <= values.last; ++value) {
            names.push_back(bitmap(value));
        }
    }
    for (double millimetres = 0; millimetres < 3.2; millimetres += 0.11) {
        names.push_back(lineWeightBitmap(millimetres));
    }
    for (const wxString& name : names) {
        EXPECT_TRUE(wxXmlResource::Get()->LoadBitmap(name).IsOk()) << name;
    }
    EXPECT_TRUE(log.errors().empty());
}

} // namespace
