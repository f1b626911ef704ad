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

const wxColour kRed(255, 0, 0);

// Registers a 13 x 13 red test image with the global resources.
void registerTestImage() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    wxFileSystem::AddHandler(new wxMemoryFSHandler);
    wxImage red(13, 13);
    red.SetRGB(wxRect(0, 0, 13, 13), kRed.Red(), kRed.Green(), kRed.Blue());
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

void pressKey(wxWindow* window, int keyCode) {
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = keyCode;
    key.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(key);
}

// Answers a modal dialog of type T with whatever answer does to it and returns.
template <class T> class AnswerWith : public wxExpectModalBase<T, AnswerWith<T>> {
public:
    explicit AnswerWith(std::function<int(T*)> answer) : answer_(std::move(answer)) {}

protected:
    int OnInvoked(T* dialog) const override { return answer_(dialog); }

private:
    std::function<int(T*)> answer_;
};

OdCmColor byIndex(int index) {
    OdCmColor color;
    color.setColorIndex(index);
    return color;
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
        frame_->SetSizer(new wxBoxSizer(wxVERTICAL));
        frame_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) {
            EXPECT_EQ(event.GetId(), kPickerId);
            picks_.push_back(event.GetInt());
        });
    }

    void TearDown() override { frame_->Destroy(); }

    template <class Combo> Combo* add(Combo* combo) {
        frame_->GetSizer()->Add(combo);
        return combo;
    }
    wxg::ImageCombo* makeImageCombo() {
        return add(
            new wxg::ImageCombo(frame_, kPickerId, wxDefaultPosition, wxSize(240, -1), true));
    }
    wxg::ColorCombo* makeColorCombo() {
        return add(new wxg::ColorCombo(
            frame_, kPickerId, wxDefaultPosition, wxSize(240, -1), true, 0, OdDbObjectId::kNull,
            wxg::ColorCombo::FOR_PLOT_COLOR | wxg::ColorCombo::INCLUDING_BYENTITY |
                wxg::ColorCombo::INCLUDING_TRUECOLOR,
            false, 0));
    }

    wxFrame* frame_ = nullptr;
    std::vector<int> picks_; // the items of the picks sent
};

} // namespace

TEST_F(DavazPickers, ImageComboValuesLabelsAndVaries) {
    wxg::ImageCombo* combo = makeImageCombo();
    EXPECT_EQ(0, combo->append("Use entity end style", 4, ""));
    EXPECT_EQ(1, combo->append("Butt", 0, "TestRed"));
    EXPECT_EQ(2, combo->append("Square", 1, ""));
    EXPECT_EQ(3, combo->append("Again", 1, ""));

    EXPECT_EQ(2, combo->setValue(1)) << "the first item carrying the value wins";
    EXPECT_EQ(1, combo->getValue());
    for (int unknown : {-3, 99}) {
        EXPECT_EQ(wxNOT_FOUND, combo->setValue(unknown)) << unknown;
        EXPECT_EQ(-1, combo->getValue()) << "nothing stays on show";
    }

    // "Varies" replaces the closed control's item, image included, but not the list's.
    combo->setValue(0);
    combo->setVaries(true);
    EXPECT_EQ("Varies", combo->GetValue());
    EXPECT_NE(kRed, imageCentreColour(*combo, 1, wxODCB_PAINTING_CONTROL, combo->imageSize()));
    EXPECT_EQ(kRed, imageCentreColour(*combo, 1, 0, combo->imageSize()));
    combo->setValue(-3);
    EXPECT_EQ("Varies", combo->GetValue());
    combo->setVaries(false);
    EXPECT_EQ("", combo->GetValue());

    // The down arrow on the closed control picks the next item as a user would.
    combo->setValue(4);
    combo->setVaries(true);
    pressKey(combo, WXK_DOWN);
    processPendingEvents();
    EXPECT_EQ(picks_, std::vector<int>{1});
    EXPECT_EQ(0, combo->getValue());
    EXPECT_FALSE(combo->varies());
    EXPECT_EQ("Butt", combo->GetValue());

    LogCapture log;
    combo->setItemLabel(2, "Wide");
    combo->setItemLabel(7, "Nowhere");
    combo->setItemImage(-1, "TestRed");
    EXPECT_EQ(2u, log.errors().size());
    EXPECT_EQ("Wide", combo->GetString(2));

    // The list is wide enough for its longest label.
    combo->setImageSize(wxSize(80, 6));
    const wxString longest = "Medium Dash Dot Short Dash Dot";
    combo->append(longest, 5, "TestRed");
    EXPECT_GE(combo->GetWidestItemWidth(),
              combo->getTextStartPosition() + combo->GetTextExtent(longest).x);
}

TEST_F(DavazPickers, ColorComboItemsAndColors) {
    wxg::ColorCombo* combo = makeColorCombo();
    EXPECT_EQ(combo->getLabels(),
              wxSplit("Use object color,Red,Yellow,Green,Cyan,Blue,Magenta,Black,Select...", ','));
    EXPECT_EQ(0, combo->GetSelection()) << "the initial colour 0 is no colour";
    EXPECT_TRUE(combo->color().isNone());

    const struct {
        OdCmColor shown;
        int item;
        OdCmColor read;
    } cases[] = {
        {byIndex(3), 3, byIndex(3)},
        {byIndex(7), 7, byRgb(0, 0, 0)}, // a plotted index 7 is black
        {byRgb(0, 0, 0), 7, byRgb(0, 0, 0)},
        {byRgb(10, 20, 30), 8, byRgb(10, 20, 30)},
        {byIndex(42), 8, byIndex(42)},
        {OdCmColor(), 0, OdCmColor()},
    };
    for (const auto& c : cases) {
        combo->setColor(c.shown.color());
        EXPECT_EQ(c.item, combo->GetSelection()) << c.item;
        EXPECT_EQ(c.read, combo->color()) << c.item;
    }
    EXPECT_EQ("Color 42", combo->GetString(8)) << "one custom item, relabelled";
    EXPECT_EQ(10u, combo->GetCount());
    combo->setColor(0x12345678); // no colour method: shown as no colour
    EXPECT_EQ(0, combo->GetSelection());

    // The swatches show the colours they plot.
    const wxSize swatch(14, 14);
    EXPECT_EQ(imageCentreColour(*combo, 7, 0, swatch), *wxBLACK);
    EXPECT_EQ(imageCentreColour(*combo, 1, 0, swatch), kRed);

    combo->setVaries(true);
    combo->SetSelection(3);
    EXPECT_EQ("Varies", combo->GetValue());
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

    // The arrow keys on the closed control step over "Select...": no chooser, no pick.
    combo->SetSelection(combo->GetCount() - 2);
    {
        const wxTestingModalHook noDialog;
        pressKey(combo, WXK_DOWN);
        processPendingEvents();
    }
    EXPECT_EQ(int(combo->GetCount()) - 2, combo->GetSelection());
    EXPECT_TRUE(picks_.empty());

    // An index clicked in the palette grid.
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      auto* grid =
                          dynamic_cast<wxg::PaletteGrid*>(dialog->FindWindow("PaletteGrid"));
                      wxMouseEvent click(wxEVT_LEFT_DOWN);
                      click.SetPosition(grid->cellRect(42).GetPosition() + wxPoint(3, 3));
                      grid->GetEventHandler()->ProcessEvent(click);
                      return wxID_OK;
                  }));
    EXPECT_EQ(byIndex(42), combo->color());
    EXPECT_EQ("Color 42", combo->GetString(8));
    EXPECT_EQ(picks_, std::vector<int>{8});

    // The arrow keys move through the palette; 256 is refused with a reason; index 7 is the
    // black item.
    LogCapture log;
    wxTEST_DIALOG(
        pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
            auto* grid = dynamic_cast<wxg::PaletteGrid*>(dialog->FindWindow("PaletteGrid"));
            pressKey(grid, WXK_DOWN);
            pressKey(grid, WXK_RIGHT);
            EXPECT_EQ(42 + wxg::PaletteGrid::kColumns + 1, dialog->chosenColor().colorIndex());
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
