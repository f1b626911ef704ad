// The Form View pickers: built in the place of placeholder combo boxes, and the colour exchange
// between style values and the colour picker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>

#include <davaz/wxg_combo.h>
#include <kesutils/plot_style_table.h>
#include <kesutils/ut_services.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/imaglist.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "gui_test_support.h"
#include "psl_catalogues.h"
#include "psl_pickers.h"
#include "psl_resources.h"

namespace {

const char* const kPickerNames[] = {"ComboColor",    "ComboLineType",  "ComboLineWeight",
                                    "ComboEndStyle", "ComboJoinStyle", "ComboFillStyle"};

wxColour colourOf(std::uint32_t lowRed) {
    return wxColour(lowRed & 0xFF, lowRed >> 8 & 0xFF, lowRed >> 16 & 0xFF);
}

// A dialog laid out like the Form View's property grid: a label and a read-only placeholder
// combo box per picker.
class PickerTest : public testing::Test {
protected:
    void SetUp() override {
        ensureResources();
        dialog_ = std::make_unique<wxDialog>(nullptr, wxID_ANY, "Style Properties");
        grid_ = new wxFlexGridSizer(2);
        for (const char* name : kPickerNames) {
            grid_->Add(new wxStaticText(dialog_.get(), wxID_ANY, name));
            grid_->Add(new wxComboBox(dialog_.get(), XRCID(name), wxString(), wxDefaultPosition,
                                      wxSize(180, -1), 0, nullptr, wxCB_READONLY));
        }
        dialog_->SetSizerAndFit(grid_);
        setUpStylePickers(dialog_.get());
        setUpLineWeightPicker(dialog_.get());
        picker_ = findControl<wxg::ColorCombo>(dialog_.get(), "ComboColor");
    }

    std::unique_ptr<wxDialog> dialog_;
    wxFlexGridSizer* grid_ = nullptr;
    wxg::ColorCombo* picker_ = nullptr;
};

} // namespace

TEST_F(PickerTest, PickersTakeThePlaceholdersPlacesAndOfferOwnSettingFirst) {
    for (size_t row = 0; row < std::size(kPickerNames); ++row) {
        wxWindow* picker = dialog_->FindWindow(XRCID(kPickerNames[row]));
        ASSERT_TRUE(dynamic_cast<wxg::OwnerDrawComboBase*>(picker)) << kPickerNames[row];
        EXPECT_EQ(grid_->GetItem(2 * row + 1)->GetWindow(), picker);
        // Keyboard users still reach the picker right after its label.
        EXPECT_EQ(dialog_->GetChildren().IndexOf(picker), 2 * int(row) + 1);
    }
    EXPECT_EQ(dialog_->GetChildren().GetCount(), 2 * std::size(kPickerNames));

    const struct {
        const char* name;
        const char* first;
        const char* last;
        unsigned count;
    } cases[] = {{"ComboLineType", "Use entity linetype", "ISO Double Dash Triple Dot", 32},
                 {"ComboEndStyle", "Use entity end style", "Diamond", 5},
                 {"ComboJoinStyle", "Use entity join style", "Diamond", 5},
                 {"ComboFillStyle", "Use entity fill style", "Vertical Bars", 10},
                 {"ComboLineWeight", "Use object lineweight", "", 28}};
    for (const auto& c : cases) {
        auto* combo = findControl<wxg::ImageCombo>(dialog_.get(), c.name);
        ASSERT_EQ(combo->GetCount(), c.count) << c.name;
        EXPECT_EQ(combo->GetString(0), c.first);
        EXPECT_EQ(combo->GetString(c.count - 1), c.last);
    }
}

TEST_F(PickerTest, ShowColorAndReadColorExchangeStyleColours) {
    const std::uint32_t* palette = ut::colorPaletteDark();
    showColor(picker_, palette[1], kValuesDiffer);
    EXPECT_TRUE(picker_->varies());
    EXPECT_EQ(picker_->GetSelection(), 0);
    showColor(picker_, palette[1], kValueShared);
    EXPECT_FALSE(picker_->varies());
    EXPECT_EQ(picker_->GetSelection(), 1);
    EXPECT_EQ(readColor(picker_), 0x00FF0000u) << "red, in the order updateColor takes";

    showColor(picker_, 0, kValueShared);
    EXPECT_EQ(picker_->GetSelection(), 7) << "black";
    EXPECT_EQ(readColor(picker_), 0u);
    for (const std::uint32_t objectColor : {0x00FFFFFFu, 0xFFFFFFFFu}) {
        showColor(picker_, objectColor, kValueShared);
        EXPECT_EQ(picker_->GetSelection(), 0) << objectColor;
        EXPECT_EQ(readColor(picker_), 0x00FFFFFFu);
    }

    // A colour the palette holds more than once is shown as its lowest index.
    int first = 0;
    int repeated = 0;
    for (int i = 1; i <= CPlotStyleTable::kAciCount && !repeated; ++i) {
        for (int j = i + 1; j <= CPlotStyleTable::kAciCount && !repeated; ++j) {
            if (palette[i] == palette[j] && palette[i] != 0x00FFFFFF) {
                first = i;
                repeated = j;
            }
        }
    }
    ASSERT_NE(repeated, 0);
    showColor(picker_, palette[repeated], kValueShared);
    EXPECT_EQ(picker_->color().colorIndex(), first);
    int lastUnique = CPlotStyleTable::kAciCount;
    while (palette[lastUnique] == 0 || palette[lastUnique] == 0x00FFFFFF ||
           std::count(palette + 1, palette + lastUnique, palette[lastUnique]) > 0) {
        --lastUnique;
    }
    ASSERT_GT(lastUnique, 240);
    showColor(picker_, palette[lastUnique], kValueShared);
    EXPECT_EQ(picker_->color().colorIndex(), lastUnique) << "the search reaches the end";

    // Bit 31 marks a true colour even when the palette has the same red, green and blue.
    showColor(picker_, 0x80000000 | palette[1], kValueShared);
    EXPECT_TRUE(picker_->color().isByColor());
    showColor(picker_, 0x80563412, kValueShared);
    EXPECT_EQ(picker_->GetString(picker_->GetSelection()), "18,52,86");
    EXPECT_EQ(readColor(picker_), 0x00123456u);
}

TEST_F(PickerTest, ColorSwatchesShowEveryIndexAsItPlots) {
    const std::unique_ptr<wxImageList> swatches = createColorSwatches(dialog_.get());
    ASSERT_EQ(swatches->GetImageCount(), CPlotStyleTable::kAciCount);
    const std::uint32_t* palette = ut::colorPaletteDark();
    for (int image : {0, 6, 41, 254}) {
        const wxImage swatch = swatches->GetBitmap(image).ConvertToImage();
        const int x = swatch.GetWidth() / 2;
        const int y = swatch.GetHeight() / 2;
        const wxColour centre(swatch.GetRed(x, y), swatch.GetGreen(x, y), swatch.GetBlue(x, y));
        EXPECT_EQ(centre, image == 6 ? *wxBLACK : colourOf(palette[image + 1])) << image;
        EXPECT_EQ(wxColour(swatch.GetRed(0, 0), swatch.GetGreen(0, 0), swatch.GetBlue(0, 0)),
                  *wxBLACK)
            << "framed";
    }
}
