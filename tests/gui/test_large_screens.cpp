// The dialogs on large screens and in German: every text gets the room it needs and is German,
// every label and button has an Alt+letter of its own, and images come with as many pixels as the
// screen has for them; the resources hold every image. Also run with GDK_SCALE=2 and
// GDK_DPI_SCALE=1.5.
#include <gtk/gtk.h>

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/dir.h>
#include <wx/display.h>
#include <wx/stattext.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include <kesutils/ut_services.h>

#include "editor_test_support.h"
#include "layout_checks.h"
#include "psl_catalogues.h"
#include "psl_dlg_new_table.h"
#include "psl_dlg_select_table.h"

namespace {

bool showsText(const wxWindow* window) {
    const bool label =
        dynamic_cast<const wxStaticText*>(window) || dynamic_cast<const wxCheckBox*>(window) ||
        dynamic_cast<const wxRadioButton*>(window) || dynamic_cast<const wxButton*>(window);
    return (label && !window->GetLabel().empty()) ||
           dynamic_cast<const wxOwnerDrawnComboBox*>(window);
}

// "Name 'text': needs WxH, has WxH" for each shown label, button and picker below window of
// which less is visible than its text needs.
void collectClipped(const wxWindow* window, wxString& clipped) {
    for (const wxWindow* child : window->GetChildren()) {
        if (!child->IsShown()) {
            continue;
        }
        collectClipped(child, clipped);
        if (!showsText(child)) {
            continue;
        }
        wxRect visible = child->GetScreenRect();
        for (const wxWindow* around = child->GetParent(); !around->IsTopLevel();
             around = around->GetParent()) {
            visible.Intersect(around->GetScreenRect());
        }
        wxSize needed = child->GetBestSize();
        if (child->HasFlag(wxST_NO_AUTORESIZE)) { // a message wraps at its width
            int natural = 0;
            gtk_widget_get_preferred_height_for_width(child->GetHandle(), child->GetSize().x,
                                                      &needed.y, &natural);
            needed.x = 0;
        }
        if (needed.x > visible.width || needed.y > visible.height) {
            clipped += wxString::Format("\n  %s '%s': needs %dx%d, has %dx%d", child->GetName(),
                                        child->GetLabel(), needed.x, needed.y, visible.width,
                                        visible.height);
        }
    }
}

// Checks what dialog shows once GTK has laid it out; no two controls shown at once share an
// Alt+letter.
void expectEveryTextFits(const wxString& what, const wxWindow* dialog) {
    ASSERT_TRUE(waitUntilLaidOut(dialog)) << what;
    wxString clipped;
    collectClipped(dialog, clipped);
    EXPECT_TRUE(clipped.empty()) << what << clipped;
    wxString small;
    for (const Undersized& control : controlsBelowTheirNaturalSize(dialog)) {
        small += "\n  " + control.control + " " + control.detail;
    }
    EXPECT_TRUE(small.empty()) << what << small;
    EXPECT_EQ(sharedMnemonics(shownMnemonics(dialog)), "") << what;
}

// In the selection and new table dialogs every label and button has a letter; only the message,
// which leads nowhere, has none.
void expectEveryLabelHasALetter(const wxString& what, const wxWindow* dialog) {
    wxString without;
    for (const Mnemonic& mnemonic : shownMnemonics(dialog)) {
        without += mnemonic.letter.empty() ? " " + mnemonic.control : "";
    }
    EXPECT_EQ(without.ToStdString(), " StatMessage") << what;
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
                expectEveryTextFits(table + ": " + pages->GetPageText(page), editor.get());
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
        DlgSelectTable select;
        ut::loadDialog(&select, nullptr, "DlgSelectTable");
        select.Show();
        for (const char* mode : {"RadOpen", "RadNew", "RadCopy"}) {
            chooseRadio(&select, mode);
            expectEveryTextFits(mode, &select);
            expectEveryLabelHasALetter(mode, &select);
        }
        for (bool colorDependent : {true, false}) {
            DlgNewTable newTable(colorDependent, dir.path());
            ut::loadDialog(&newTable, nullptr, "DlgNewTable");
            newTable.Show();
            expectEveryTextFits("new table", &newTable);
            expectEveryLabelHasALetter("new table", &newTable);
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
