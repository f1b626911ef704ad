// The pickers of the GUI library, built in a real frame and driven with events.
#include <functional>

#include <gtest/gtest.h>

#include <wx/colordlg.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/fs_mem.h>
#include <wx/sizer.h>
#include <wx/testing.h>
#include <wx/xrc/xmlres.h>

#include <davaz/wxg_combo.h>

#include "color_chooser_dialog.h"
#include "gui_test_support.h"
#include "palette_grid.h"

namespace {

// Registers a 13 x 13 red test image with the global resources.
void registerTestImage() {
    if (wxXmlResource::Get()->GetResourceNode("TestRed")) {
        return;
    }
    wxFileSystem::AddHandler(new wxMemoryFSHandler);
    wxImage red(13, 13);
    red.SetRGB(wxRect(0, 0, 13, 13), 255, 0, 0);
    wxMemoryFSHandler::AddFile("davaz-test-red.png", red, wxBITMAP_TYPE_PNG);
    wxMemoryFSHandler::AddFile(
        "davaz-test.xrc",
        "<?xml version=\"1.0\"?>"
        "<resource xmlns=\"http://www.wxwidgets.org/wxxrc\" version=\"2.5.3.0\">"
        "<object class=\"wxBitmap\" name=\"TestRed\">memory:davaz-test-red.png</object>"
        "</resource>");
    wxXmlResource::Get()->Load("memory:davaz-test.xrc");
}

// The colour at the centre of the image area of one item, painted as the closed control
// (painting the control) or its list paints it, on white.
wxColour imageCentreColour(const wxg::OwnerDrawComboBase& combo, int item, int flags,
                           const wxSize& area) {
    wxBitmap bitmap(wxSize(240, 24), 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        combo.OnDrawItem(dc, wxRect(bitmap.GetSize()), item, flags);
    }
    const wxImage image = bitmap.ConvertToImage();
    const int x = combo.getTextLeftMargin() + area.x / 2;
    const int y = image.GetHeight() / 2;
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

void pressKey(wxWindow* window, int keyCode, wxEventType type = wxEVT_KEY_DOWN,
              int modifiers = wxMOD_NONE) {
    wxKeyEvent key(type);
    key.m_keyCode = keyCode;
    key.m_uniChar = keyCode;
    key.m_altDown = modifiers & wxMOD_ALT;
    key.m_controlDown = modifiers & wxMOD_CONTROL;
    key.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(key);
}

OdCmColor byRgb(int red, int green, int blue) {
    OdCmColor color;
    color.setRGB(red, green, blue);
    return color;
}

class DavazPickers : public testing::Test {
protected:
    static constexpr int kPickerId = 4711;

    void SetUp() override {
        registerTestImage();
        frame_ = new wxFrame(nullptr, wxID_ANY, "pickers");
        frame_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) {
            EXPECT_EQ(event.GetId(), kPickerId);
            picks_.push_back(event.GetInt());
        });
    }

    void TearDown() override { frame_->Destroy(); }

    wxg::ColorCombo* makeColorCombo() {
        return new wxg::ColorCombo(
            frame_, kPickerId, wxDefaultPosition, wxSize(240, -1), true, 0, OdDbObjectId::kNull,
            wxg::ColorCombo::FOR_PLOT_COLOR | wxg::ColorCombo::INCLUDING_BYENTITY |
                wxg::ColorCombo::INCLUDING_TRUECOLOR,
            false, 0);
    }

    wxFrame* frame_ = nullptr;
    std::vector<int> picks_; // the items of the picks sent
};

} // namespace

TEST_F(DavazPickers, ImageComboValuesLabelsAndVaries) {
    auto* combo = new wxg::ImageCombo(frame_, kPickerId, wxDefaultPosition, wxSize(240, -1), true);
    EXPECT_EQ(0, combo->append("Use entity end style", 4, ""));
    EXPECT_EQ(1, combo->append("Butt", 0, "TestRed"));
    EXPECT_EQ(2, combo->append("Square", 1, ""));
    EXPECT_EQ(3, combo->append("Again", 1, ""));

    EXPECT_EQ(2, combo->setValue(1)) << "the first item carrying the value wins";
    EXPECT_EQ(1, combo->getValue());
    EXPECT_EQ(wxNOT_FOUND, combo->setValue(99));
    EXPECT_EQ(-1, combo->getValue()) << "nothing stays on show";

    // "Varies" replaces the closed control's item, image included, but not the list's.
    combo->setValue(0);
    combo->setVaries(true);
    EXPECT_EQ("Varies", combo->GetValue());
    EXPECT_NE(*wxRED, imageCentreColour(*combo, 1, wxODCB_PAINTING_CONTROL, combo->imageSize()));
    EXPECT_EQ(*wxRED, imageCentreColour(*combo, 1, 0, combo->imageSize()));

    // The down arrow on the closed control picks the next item as a user would.
    combo->setValue(4);
    combo->setVaries(true);
    pressKey(combo, WXK_DOWN);
    processPendingEvents();
    EXPECT_EQ(picks_, std::vector<int>{1});
    EXPECT_EQ(0, combo->getValue());
    EXPECT_FALSE(combo->varies());
    EXPECT_EQ("Butt", combo->GetValue());
    // A letter picks the item it begins with; held with Alt or Ctrl it is the window's key.
    pressKey(combo, 's', wxEVT_CHAR, wxMOD_ALT);
    pressKey(combo, 's', wxEVT_CHAR, wxMOD_CONTROL);
    EXPECT_EQ("Butt", combo->GetValue());
    pressKey(combo, 's', wxEVT_CHAR);
    processPendingEvents();
    EXPECT_EQ(picks_, (std::vector<int>{1, 2}));

    LogCapture log;
    combo->setItemLabel(7, "Nowhere");
    combo->setItemImage(-1, "TestRed");
    EXPECT_EQ(2u, log.errors().size());

    // The list is wide enough for its longest label; a new image size applies to every image.
    combo->setImageSize(wxSize(80, 6));
    EXPECT_EQ(*wxRED, imageCentreColour(*combo, 1, 0, combo->imageSize()));
    const wxString longest = "Medium Dash Dot Short Dash Dot";
    combo->append(longest, 5, "TestRed");
    EXPECT_GE(combo->GetWidestItemWidth(),
              combo->getTextStartPosition() + combo->GetTextExtent(longest).x);
}

TEST_F(DavazPickers, ColorComboItemsAndColors) {
    wxg::ColorCombo* combo = makeColorCombo();
    EXPECT_EQ(combo->getLabels(),
              wxSplit("Use object color,Red,Yellow,Green,Cyan,Blue,Magenta,Black,Select...", ','));
    EXPECT_TRUE(combo->color().isNone()) << "the initial colour 0 is no colour";
    // The swatches show the colours they plot.
    const wxSize swatch(14, 14);
    EXPECT_EQ(imageCentreColour(*combo, 7, 0, swatch), *wxBLACK);
    EXPECT_EQ(imageCentreColour(*combo, 1, 0, swatch), *wxRED);
}

TEST_F(DavazPickers, SelectOpensTheChooser) {
    wxg::ColorCombo* combo = makeColorCombo();
    // Opens the list, moves to "Select..." and chooses it with Enter.
    const auto pickSelect = [&] {
        combo->ShowPopup();
        auto* list = dynamic_cast<wxVListBoxComboPopup*>(combo->GetPopupControl());
        ASSERT_TRUE(list);
        list->SetSelection(combo->GetCount() - 1);
        pressKey(list->GetControl(), WXK_RETURN);
        processPendingEvents();
    };

    // An index clicked in the palette grid.
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      auto* grid =
                          dynamic_cast<wxg::PaletteGrid*>(dialog->FindWindow("PaletteGrid"));
                      wxMouseEvent click(wxEVT_LEFT_DOWN);
                      click.SetPosition(grid->cellRect(42).GetPosition() + wxPoint(3, 3));
                      grid->GetEventHandler()->ProcessEvent(click);
                      return wxID_OK;
                  }));
    OdCmColor index42;
    index42.setColorIndex(42);
    EXPECT_EQ(index42, combo->color());
    EXPECT_EQ("Color 42", combo->GetString(8));
    EXPECT_EQ(picks_, std::vector<int>{8});

    // 256 is refused with a reason; index 7 is the black item.
    LogCapture log;
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      EXPECT_FALSE(dialog->chooseIndex(256));
                      EXPECT_TRUE(dialog->chooseIndex(7));
                      return wxID_OK;
                  }));
    ASSERT_EQ(1u, log.errors().size());
    EXPECT_EQ(log.errors()[0].text, "256 is no colour index; choose one from 1 to 255.");
    EXPECT_EQ(byRgb(0, 0, 0), combo->color());
    EXPECT_EQ(picks_, (std::vector<int>{8, 7}));

    // A true colour through the colour dialog, which starts at the current colour.
    combo->setColor(byRgb(10, 20, 30).color());
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      clickButton(dialog, "BtnTrueColor");
                      return wxID_OK;
                  }),
                  AnswerWith<wxColourDialog>([](wxColourDialog*) { return wxID_OK; }));
    EXPECT_EQ(byRgb(10, 20, 30), combo->color());
    EXPECT_EQ("10,20,30", combo->GetString(8));
    EXPECT_EQ(3u, picks_.size());

    // Cancelling puts the previous colour back and tells nobody.
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      dialog->chooseIndex(100);
                      return wxID_CANCEL;
                  }));
    EXPECT_EQ(byRgb(10, 20, 30), combo->color());
    EXPECT_EQ(3u, picks_.size());
}
