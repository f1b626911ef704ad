// The pickers of the GUI library, built in a real frame and driven with events.
#include <functional>

#include <gtest/gtest.h>

#include <wx/colordlg.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/fs_mem.h>
#include <wx/mstream.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/xrc/xmlres.h>

#include <davaz/wxg_combo.h>

#include "color_chooser_dialog.h"
#include "gui_test_support.h"
#include "palette_grid.h"

namespace {

const wxColour kRed(255, 0, 0);
const wxColour kBlue(0, 0, 255);

// Registers two test images with the global resources: a 13 x 13 red one and a 26 x 26 blue one.
void registerTestImages() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    wxFileSystem::AddHandler(new wxMemoryFSHandler);
    wxImage red(13, 13);
    red.SetRGB(wxRect(0, 0, 13, 13), kRed.Red(), kRed.Green(), kRed.Blue());
    wxMemoryFSHandler::AddFile("davaz-test-red.png", red, wxBITMAP_TYPE_PNG);
    wxImage blue(26, 26);
    blue.SetRGB(wxRect(0, 0, 26, 26), kBlue.Red(), kBlue.Green(), kBlue.Blue());
    wxMemoryFSHandler::AddFile("davaz-test-blue.png", blue, wxBITMAP_TYPE_PNG);
    wxMemoryFSHandler::AddFile(
        "davaz-test.xrc",
        "<?xml version=\"1.0\"?>"
        "<resource xmlns=\"http://www.wxwidgets.org/wxxrc\" version=\"2.5.3.0\">"
        "<object class=\"wxBitmap\" name=\"TestRed\">memory:davaz-test-red.png</object>"
        "<object class=\"wxBitmap\" name=\"TestBlue\">memory:davaz-test-blue.png</object>"
        "</resource>");
    wxXmlResource::Get()->Load("memory:davaz-test.xrc");
}

// Paints one item the way the control or its list paints it, on white.
wxImage drawItem(const wxg::OwnerDrawComboBase& combo, int item, int flags,
                 const wxSize& size = wxSize(240, 24)) {
    wxBitmap bitmap(size, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        dc.SetFont(combo.GetFont());
        dc.SetTextForeground(*wxBLACK);
        combo.OnDrawItem(dc, wxRect(size), item, flags);
    }
    return bitmap.ConvertToImage();
}

wxColour pixelAt(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

bool hasInk(const wxImage& image, int fromX, int toX) {
    for (int x = fromX; x < toX; ++x) {
        for (int y = 0; y < image.GetHeight(); ++y) {
            if (pixelAt(image, x, y) != *wxWHITE) {
                return true;
            }
        }
    }
    return false;
}

// The centre of the image or swatch area of a drawn item.
wxPoint imageCentre(const wxg::OwnerDrawComboBase& combo, const wxImage& image,
                    const wxSize& area) {
    return wxPoint(combo.getTextLeftMargin() + area.x / 2, image.GetHeight() / 2);
}

// Presses the down arrow on the closed control, which picks the next item as a user would.
void pressDown(wxWindow* combo) {
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = WXK_DOWN;
    key.SetEventObject(combo);
    combo->GetEventHandler()->ProcessEvent(key);
}

// Presses a key on a window, as the keyboard would.
void pressKey(wxWindow* window, int keyCode) {
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = keyCode;
    key.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(key);
}

// Opens the list, moves to item and chooses it with Enter.
void chooseFromList(wxg::OwnerDrawComboBase* combo, int item) {
    combo->ShowPopup();
    auto* list = dynamic_cast<wxVListBoxComboPopup*>(combo->GetPopupControl());
    ASSERT_TRUE(list);
    list->SetSelection(item);
    pressKey(list->GetControl(), WXK_RETURN);
    processPendingEvents();
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

struct Pick {
    int id;
    int item;
};

class DavazPickers : public testing::Test {
protected:
    static constexpr int kPickerId = 4711;

    void SetUp() override {
        registerTestImages();
        frame_ = new wxFrame(nullptr, wxID_ANY, "pickers");
        sizer_ = new wxBoxSizer(wxVERTICAL);
        frame_->SetSizer(sizer_);
        frame_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) {
            picks_.push_back({event.GetId(), event.GetInt()});
        });
    }

    void TearDown() override { frame_->Destroy(); }

    wxg::ImageCombo* makeImageCombo() {
        auto* combo =
            new wxg::ImageCombo(frame_, kPickerId, wxDefaultPosition, wxSize(240, -1), true);
        sizer_->Add(combo);
        return combo;
    }

    wxg::ColorCombo* makeColorCombo() {
        auto* combo = new wxg::ColorCombo(
            frame_, kPickerId, wxDefaultPosition, wxSize(240, -1), true, 0, OdDbObjectId::kNull,
            wxg::ColorCombo::FOR_PLOT_COLOR | wxg::ColorCombo::INCLUDING_BYENTITY |
                wxg::ColorCombo::INCLUDING_TRUECOLOR,
            false, 0);
        sizer_->Add(combo);
        return combo;
    }

    wxFrame* frame_ = nullptr;
    wxBoxSizer* sizer_ = nullptr;
    std::vector<Pick> picks_;
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

wxColour paletteColour(int index) {
    const std::uint32_t entry = odcmDarkPalette()[index];
    return wxColour(entry & 0xFF, entry >> 8 & 0xFF, entry >> 16 & 0xFF);
}

} // namespace

TEST_F(DavazPickers, ImageComboValuesLabelsAndVaries) {
    wxg::ImageCombo* combo = makeImageCombo();
    EXPECT_EQ(0, combo->append("Use entity end style", 4, ""));
    EXPECT_EQ(1, combo->append("Butt", 0, "TestRed"));
    EXPECT_EQ(2, combo->append("Square", 1, "TestBlue"));
    EXPECT_EQ(3, combo->append("Again", 1, ""));
    EXPECT_EQ(4u, combo->GetCount());
    EXPECT_EQ("Square", combo->getLabels()[2]);

    EXPECT_EQ(2, combo->setValue(1)); // the first item carrying the value wins
    EXPECT_EQ(1, combo->getValue());
    EXPECT_EQ(0, combo->setValue(4));
    EXPECT_EQ(4, combo->getValue());
    for (int unknown : {-2, -3, 99}) {
        EXPECT_EQ(wxNOT_FOUND, combo->setValue(unknown)) << unknown;
        EXPECT_EQ(wxNOT_FOUND, combo->GetSelection()) << unknown;
        EXPECT_EQ(-1, combo->getValue()) << unknown;
    }

    combo->setValue(0);
    combo->setVaries(true);
    EXPECT_EQ("Varies", combo->GetValue());
    const wxImage closed = drawItem(*combo, 1, wxODCB_PAINTING_CONTROL);
    const wxPoint centre = imageCentre(*combo, closed, combo->imageSize());
    EXPECT_NE(kRed, pixelAt(closed, centre.x, centre.y));
    EXPECT_TRUE(hasInk(closed, combo->getTextStartPosition(), closed.GetWidth()));
    const wxImage listed = drawItem(*combo, 1, 0);
    EXPECT_EQ(kRed, pixelAt(listed, centre.x, centre.y));

    // Markers keep "Varies" on show; the closed control has no item to draw then.
    combo->setValue(-3);
    EXPECT_EQ("Varies", combo->GetValue());
    combo->setVaries(false);
    EXPECT_EQ("", combo->GetValue());
    combo->setValue(0);
    EXPECT_EQ("Butt", combo->GetValue());
    const wxImage shown = drawItem(*combo, 1, wxODCB_PAINTING_CONTROL);
    EXPECT_EQ(kRed, pixelAt(shown, centre.x, centre.y));

    {
        LogCapture log;
        combo->setItemLabel(2, "Wide");
        combo->setItemLabel(7, "Nowhere");
        combo->setItemImage(-1, "TestRed");
        EXPECT_EQ(2u, log.errors().size());
    }
    EXPECT_EQ("Wide", combo->GetString(2));
    EXPECT_EQ(4u, combo->GetCount());
}

TEST_F(DavazPickers, ImageComboDrawsImagesAtTheirSizeAndAlignsLabels) {
    wxg::ImageCombo* combo = makeImageCombo();
    combo->append("Use object lineweight", 0, "");
    combo->append("Red", 1, "TestRed");
    combo->append("Blue", 2, "TestBlue");

    const int textStart = combo->getTextStartPosition();
    const wxImage without = drawItem(*combo, 0, 0);
    const wxImage red = drawItem(*combo, 1, 0);
    const wxImage blue = drawItem(*combo, 2, 0);
    // A label without image starts at the left, so that a long own-setting label is not cut.
    const int margin = combo->getTextLeftMargin();
    EXPECT_FALSE(hasInk(without, 0, margin));
    EXPECT_TRUE(hasInk(without, margin, textStart));
    // The 26 x 26 image is drawn at the default 13 x 13, so it ends where the red one ends.
    const wxPoint centre = imageCentre(*combo, red, combo->imageSize());
    EXPECT_EQ(kRed, pixelAt(red, centre.x, centre.y));
    EXPECT_EQ(kBlue, pixelAt(blue, centre.x, centre.y));
    const int imageRight = combo->getTextLeftMargin() + combo->imageSize().x;
    EXPECT_EQ(kBlue, pixelAt(blue, imageRight - 1, centre.y));
    EXPECT_FALSE(hasInk(blue, imageRight, textStart));
    EXPECT_LT(imageRight, textStart);

    combo->setImageSize(wxSize(80, 14));
    EXPECT_GT(combo->getTextStartPosition(), 80);
    EXPECT_GE(combo->OnMeasureItem(1), 14);
    const wxImage wide = drawItem(*combo, 1, 0);
    EXPECT_EQ(kRed, pixelAt(wide, combo->getTextLeftMargin() + 79, centre.y));
    EXPECT_TRUE(hasInk(drawItem(*combo, 0, 0), margin, combo->getTextStartPosition()));

    combo->setItemImage(1, "TestBlue");
    EXPECT_EQ(kBlue, pixelAt(drawItem(*combo, 1, 0), combo->getTextLeftMargin() + 40, centre.y));
    combo->setItemImage(2, "");
    const wxImage imageRemoved = drawItem(*combo, 2, 0);
    EXPECT_NE(kBlue, pixelAt(imageRemoved, margin + 40, centre.y));
    EXPECT_TRUE(hasInk(imageRemoved, margin, combo->getTextStartPosition()));
}

TEST_F(DavazPickers, PickingAnItemSendsTheEventAndEndsVaries) {
    wxg::ImageCombo* combo = makeImageCombo();
    combo->append("Butt", 0, "TestRed");
    combo->append("Square", 1, "TestBlue");
    combo->setValue(0);
    combo->setVaries(true);

    pressDown(combo);
    processPendingEvents();

    ASSERT_EQ(1u, picks_.size());
    EXPECT_EQ(kPickerId, picks_[0].id);
    EXPECT_EQ(1, picks_[0].item);
    EXPECT_EQ(1, combo->getValue());
    EXPECT_FALSE(combo->varies());
}

TEST_F(DavazPickers, ColorComboItemsAndColors) {
    wxg::ColorCombo* combo = makeColorCombo();
    const wxArrayString labels = combo->getLabels();
    const char* expected[] = {"Use object color", "Red",   "Yellow",   "Green", "Cyan", "Blue",
                              "Magenta",          "Black", "Select..."};
    ASSERT_EQ(9u, labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(expected[i], labels[i]);
    }
    EXPECT_EQ(0, combo->GetSelection()); // the initial colour 0 is no colour

    combo->SetSelection(7);
    EXPECT_EQ(0, combo->color().red() + combo->color().green() + combo->color().blue());
    EXPECT_FALSE(combo->color().isNone());
    combo->SetSelection(0);
    EXPECT_TRUE(combo->color().isNone());
    for (int index = 1; index <= 6; ++index) {
        combo->SetSelection(index);
        EXPECT_EQ(byIndex(index), combo->color()) << index;
        combo->setColor(byIndex(index).color());
        EXPECT_EQ(index, combo->GetSelection()) << index;
    }

    combo->setColor(byIndex(7).color());
    EXPECT_EQ(7, combo->GetSelection());
    combo->setColor(0);
    EXPECT_EQ(0, combo->GetSelection());
    combo->setColor(byRgb(0, 0, 0).color());
    EXPECT_EQ(7, combo->GetSelection());

    combo->setColor(byRgb(10, 20, 30).color());
    EXPECT_EQ(8, combo->GetSelection());
    EXPECT_EQ(10u, combo->GetCount());
    EXPECT_EQ("10,20,30", combo->GetString(8));
    EXPECT_EQ("Select...", combo->GetString(9));
    EXPECT_EQ(byRgb(10, 20, 30), combo->color());

    combo->setColor(byIndex(42).color());
    EXPECT_EQ(8, combo->GetSelection());
    EXPECT_EQ(10u, combo->GetCount());
    EXPECT_EQ("Color 42", combo->GetString(8));
    EXPECT_EQ(byIndex(42), combo->color());
    EXPECT_EQ("Black", combo->GetString(7));

    combo->setColor(0x12345678); // no colour method: shown as no colour
    EXPECT_EQ(0, combo->GetSelection());
    EXPECT_TRUE(combo->color().isNone());

    combo->setVaries(true);
    combo->SetSelection(3);
    EXPECT_EQ("Varies", combo->GetValue());
}

TEST_F(DavazPickers, ColorComboSwatches) {
    wxg::ColorCombo* combo = makeColorCombo();
    combo->setColor(byIndex(42).color());
    const wxImage red = drawItem(*combo, 1, 0);
    const wxPoint centre = imageCentre(*combo, red, wxSize(14, 14));
    EXPECT_EQ(paletteColour(1), pixelAt(red, centre.x, centre.y));
    EXPECT_EQ(*wxBLACK, pixelAt(drawItem(*combo, 7, 0), centre.x, centre.y));
    EXPECT_EQ(paletteColour(42), pixelAt(drawItem(*combo, 8, 0), centre.x, centre.y));

    const int textStart = combo->getTextStartPosition();
    const wxImage useObject = drawItem(*combo, 0, 0);
    EXPECT_FALSE(hasInk(useObject, 0, textStart));
    EXPECT_TRUE(hasInk(useObject, textStart, useObject.GetWidth()));

    combo->SetSelection(1);
    combo->setVaries(true);
    const wxImage varies = drawItem(*combo, 1, wxODCB_PAINTING_CONTROL);
    EXPECT_FALSE(hasInk(varies, 0, textStart));
    EXPECT_TRUE(hasInk(varies, textStart, varies.GetWidth()));
}

TEST_F(DavazPickers, SelectOpensTheChooser) {
    wxg::ColorCombo* combo = makeColorCombo();
    const auto pickSelect = [&] { chooseFromList(combo, combo->GetCount() - 1); };

    // The arrow keys on the closed control step over "Select...": no chooser, no pick.
    combo->SetSelection(combo->GetCount() - 2);
    {
        const wxTestingModalHook noDialog;
        pressDown(combo);
        processPendingEvents();
    }
    EXPECT_EQ(int(combo->GetCount()) - 2, combo->GetSelection());
    EXPECT_TRUE(picks_.empty());

    // An index picked in the palette grid with the mouse.
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      auto* grid =
                          wxDynamicCast(dialog->FindWindow("PaletteGrid"), wxg::PaletteGrid);
                      wxMouseEvent click(wxEVT_LEFT_DOWN);
                      click.SetPosition(grid->cellRect(42).GetPosition() + wxPoint(3, 3));
                      grid->GetEventHandler()->ProcessEvent(click);
                      return wxID_OK;
                  }));
    EXPECT_EQ(byIndex(42), combo->color());
    EXPECT_EQ(8, combo->GetSelection());
    EXPECT_EQ("Color 42", combo->GetString(8));
    ASSERT_EQ(1u, picks_.size());
    EXPECT_EQ(kPickerId, picks_[0].id);
    EXPECT_EQ(8, picks_[0].item);

    // Index 7 is the black item, not a custom one; 256 is refused with a reason. The arrow keys
    // move through the palette.
    LogCapture log;
    wxTEST_DIALOG(
        pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
            auto* grid = wxDynamicCast(dialog->FindWindow("PaletteGrid"), wxg::PaletteGrid);
            pressKey(grid, WXK_DOWN);
            pressKey(grid, WXK_RIGHT);
            EXPECT_EQ(42 + wxg::PaletteGrid::kColumns + 1, grid->pickedIndex());
            EXPECT_EQ(42 + wxg::PaletteGrid::kColumns + 1, dialog->chosenColor().colorIndex());
            EXPECT_FALSE(dialog->chooseIndex(256));
            EXPECT_TRUE(dialog->chooseIndex(7));
            return wxID_OK;
        }));
    ASSERT_EQ(1u, log.errors().size());
    EXPECT_TRUE(log.errors()[0].text.Contains("256"));
    EXPECT_EQ(7, combo->GetSelection());
    EXPECT_EQ(byRgb(0, 0, 0), combo->color());
    ASSERT_EQ(2u, picks_.size());
    EXPECT_EQ(7, picks_[1].item);

    // A true colour through the colour dialog. GTK's dialog hands back what its native widget
    // holds, which starts as the current colour: index 42 comes back as a true colour.
    combo->setColor(byIndex(42).color());
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      clickButton(dialog, "BtnTrueColor");
                      return wxID_OK;
                  }),
                  AnswerWith<wxColourDialog>([](wxColourDialog*) { return wxID_OK; }));
    const wxColour colour42 = paletteColour(42);
    const OdCmColor trueColor42 = byRgb(colour42.Red(), colour42.Green(), colour42.Blue());
    EXPECT_EQ(trueColor42, combo->color());
    EXPECT_EQ(8, combo->GetSelection());
    EXPECT_EQ(
        wxString::Format("%d,%d,%d", trueColor42.red(), trueColor42.green(), trueColor42.blue()),
        combo->GetString(8));
    EXPECT_EQ(10u, combo->GetCount());
    EXPECT_EQ(3u, picks_.size());

    // Cancelling puts the previous colour back and tells nobody.
    wxTEST_DIALOG(pickSelect(), AnswerWith<wxg::ColorChooserDialog>([](auto* dialog) {
                      dialog->chooseIndex(100);
                      return wxID_CANCEL;
                  }));
    EXPECT_EQ(8, combo->GetSelection());
    EXPECT_EQ(trueColor42, combo->color());
    EXPECT_EQ(3u, picks_.size());
}

TEST_F(DavazPickers, ListsFitTheirLabels) {
    wxg::ImageCombo* combo = makeImageCombo();
    combo->setImageSize(wxSize(80, 6));
    const wxString longest = "Medium Dash Dot Short Dash Dot";
    combo->append("Solid", 0, "TestRed");
    combo->append(longest, 1, "TestRed");
    EXPECT_GE(combo->GetWidestItemWidth(),
              combo->getTextStartPosition() + combo->GetTextExtent(longest).x);
}

TEST_F(DavazPickers, ReplaceWndKeepsTheSizerPlace) {
    auto* before = new wxStaticText(frame_, wxID_ANY, "before");
    auto* placeholder = new wxStaticText(frame_, wxID_ANY, "placeholder");
    auto* after = new wxStaticText(frame_, wxID_ANY, "after");
    sizer_->Add(before, 0, wxALL, 5);
    sizer_->Add(placeholder, 2, wxEXPAND | wxLEFT, 7);
    sizer_->Add(after);

    auto* combo = new wxg::ImageCombo(frame_, kPickerId, wxDefaultPosition, wxDefaultSize, true);
    EXPECT_TRUE(wxg::replaceWnd(placeholder, combo));
    delete placeholder;

    ASSERT_EQ(3u, sizer_->GetItemCount());
    const wxSizerItem* item = sizer_->GetItem(1);
    EXPECT_EQ(combo, item->GetWindow());
    EXPECT_EQ(2, item->GetProportion());
    EXPECT_EQ(wxEXPAND | wxLEFT, item->GetFlag());
    EXPECT_EQ(7, item->GetBorder());
    EXPECT_EQ(sizer_, combo->GetContainingSizer());
    EXPECT_EQ(combo, frame_->FindWindow(kPickerId));

    auto* loose = new wxStaticText(frame_, wxID_ANY, "not in a sizer");
    EXPECT_FALSE(wxg::replaceWnd(loose, new wxStaticText(frame_, wxID_ANY, "other")));
}
