// The Form View pickers: built in the place of placeholder combo boxes, filled from the
// catalogues, and the colour exchange between style values and the colour picker.
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

// In the order of the Form View; ComboLineWeight is built separately, as the editor does.
const char* const kPickerNames[] = {"ComboColor",    "ComboLineType",  "ComboLineWeight",
                                    "ComboEndStyle", "ComboJoinStyle", "ComboFillStyle"};

struct ImagePickerCase {
    const char* name;
    CatalogueValues values;
    wxString (*label)(int);
    unsigned count;
};

wxString noLabel(int) {
    return wxString();
}

wxColour colourOf(std::uint32_t lowRed) {
    return wxColour(lowRed & 0xFF, lowRed >> 8 & 0xFF, lowRed >> 16 & 0xFF);
}

wxColour pixel(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
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
                                      wxSize(180, -1), 0, nullptr, wxCB_READONLY),
                       wxSizerFlags().Expand());
        }
        dialog_->SetSizerAndFit(grid_);
    }

    wxg::ColorCombo* colorPicker() {
        setUpStylePickers(dialog_.get());
        return findControl<wxg::ColorCombo>(dialog_.get(), "ComboColor");
    }

    std::unique_ptr<wxDialog> dialog_;
    wxFlexGridSizer* grid_ = nullptr;
};

} // namespace

TEST_F(PickerTest, PickersTakeThePlaceholdersPlacesAndHoldTheCatalogues) {
    const LogCapture log;
    setUpStylePickers(dialog_.get());
    setUpLineWeightPicker(dialog_.get());
    EXPECT_EQ(log.errors().size(), 0u); // every catalogue image was found

    for (size_t row = 0; row < std::size(kPickerNames); ++row) {
        const char* name = kPickerNames[row];
        SCOPED_TRACE(name);
        wxWindow* picker = dialog_->FindWindow(XRCID(name));
        ASSERT_TRUE(wxDynamicCast(picker, wxg::OwnerDrawComboBase));
        EXPECT_EQ(grid_->GetItem(2 * row + 1)->GetWindow(), picker);
        EXPECT_EQ(picker->GetContainingSizer(), grid_);
        EXPECT_EQ(picker->GetParent(), dialog_.get());
        EXPECT_TRUE(picker->HasFlag(wxCB_READONLY));

        // Keyboard users still reach the picker right after its label.
        const wxWindowList& children = dialog_->GetChildren();
        EXPECT_EQ(children.IndexOf(picker), 2 * int(row) + 1);
        int sameId = 0;
        for (const wxWindow* child : children) {
            sameId += child->GetId() == picker->GetId();
        }
        EXPECT_EQ(sameId, 1);
    }
    EXPECT_EQ(dialog_->GetChildren().GetCount(), 2 * std::size(kPickerNames));

    const ImagePickerCase cases[] = {
        {"ComboLineType", kLineTypeValues, lineTypeLabel, 32},
        {"ComboEndStyle", kEndStyleValues, endStyleLabel, 5},
        {"ComboJoinStyle", kJoinStyleValues, joinStyleLabel, 5},
        {"ComboFillStyle", kFillStyleValues, fillStyleLabel, 10},
        {"ComboLineWeight", kLineWeightValues, noLabel, 28},
    };
    for (const ImagePickerCase& picker : cases) {
        SCOPED_TRACE(picker.name);
        auto* combo = findControl<wxg::ImageCombo>(dialog_.get(), picker.name);
        ASSERT_TRUE(combo);
        ASSERT_EQ(combo->GetCount(), picker.count);
        EXPECT_EQ(combo->setValue(picker.values.ownSetting), 0);
        EXPECT_EQ(combo->getValue(), picker.values.ownSetting);
        for (int value = picker.values.first; value <= picker.values.last; ++value) {
            const int item = value - picker.values.first + 1;
            EXPECT_EQ(combo->setValue(value), item);
            EXPECT_EQ(combo->GetString(item), picker.label(value));
        }
    }
    auto* lineWeights = findControl<wxg::ImageCombo>(dialog_.get(), "ComboLineWeight");
    EXPECT_EQ(lineWeights->GetString(0), "Use object lineweight");
    EXPECT_EQ(lineWeights->imageSize(), wxSize(80, 14));
    EXPECT_EQ(findControl<wxg::ImageCombo>(dialog_.get(), "ComboLineType")->imageSize(),
              wxSize(80, 6));
    EXPECT_EQ(findControl<wxg::ImageCombo>(dialog_.get(), "ComboLineType")->GetString(0),
              "Use entity linetype");
}

TEST_F(PickerTest, ShowColorSelectsItemsIndexAndTrueColours) {
    wxg::ColorCombo* picker = colorPicker();
    ASSERT_TRUE(picker);
    const std::uint32_t* palette = ut::colorPaletteDark();
    const std::uint32_t red = palette[1];

    showColor(picker, red, kValuesDiffer);
    EXPECT_TRUE(picker->varies());
    EXPECT_EQ(picker->GetSelection(), 0);

    for (const int nothingToShow : {kNoValueYet, 0, 2}) {
        showColor(picker, red, nothingToShow);
        EXPECT_FALSE(picker->varies());
        EXPECT_EQ(picker->GetSelection(), 0) << nothingToShow;
    }

    showColor(picker, 0, kValueShared);
    EXPECT_EQ(picker->GetSelection(), 7);
    for (const std::uint32_t objectColor : {0x00FFFFFFu, 0xFFFFFFFFu}) {
        showColor(picker, objectColor, kValueShared);
        EXPECT_EQ(picker->GetSelection(), 0) << objectColor;
        EXPECT_TRUE(picker->color().isNone());
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
    showColor(picker, palette[repeated], kValueShared);
    EXPECT_TRUE(picker->color().isByACI());
    EXPECT_EQ(picker->color().colorIndex(), first);

    // The search reaches the end of the palette.
    int lastUnique = CPlotStyleTable::kAciCount;
    while (palette[lastUnique] == 0 || palette[lastUnique] == 0x00FFFFFF ||
           std::find(palette + 1, palette + lastUnique, palette[lastUnique]) !=
               palette + lastUnique) {
        --lastUnique;
    }
    ASSERT_GT(lastUnique, 240);
    showColor(picker, palette[lastUnique], kValueShared);
    EXPECT_TRUE(picker->color().isByACI());
    EXPECT_EQ(picker->color().colorIndex(), lastUnique);

    // Bit 31 marks a true colour even when the palette has the same red, green and blue.
    showColor(picker, 0x80000000 | red, kValueShared);
    EXPECT_TRUE(picker->color().isByColor());
    EXPECT_EQ(colourOf(red),
              wxColour(picker->color().red(), picker->color().green(), picker->color().blue()));

    const std::uint32_t unlisted = 0x00563412;
    for (int i = 1; i <= CPlotStyleTable::kAciCount; ++i) {
        ASSERT_NE(palette[i], unlisted);
    }
    showColor(picker, unlisted, kValueShared);
    EXPECT_TRUE(picker->color().isByColor());
    EXPECT_EQ(picker->color().red(), 0x12);
    EXPECT_EQ(picker->color().green(), 0x34);
    EXPECT_EQ(picker->color().blue(), 0x56);
}

TEST_F(PickerTest, ReadColorGivesTheValueForUpdateColor) {
    wxg::ColorCombo* picker = colorPicker();
    ASSERT_TRUE(picker);

    picker->SetSelection(0);
    EXPECT_EQ(readColor(picker), 0x00FFFFFFu);
    picker->SetSelection(7);
    EXPECT_EQ(readColor(picker), 0u);

    OdCmColor red;
    red.setColorIndex(1);
    picker->setColor(red.color());
    EXPECT_EQ(readColor(picker), 0x00FF0000u);

    // Shown from the style's byte order, read back in the other one.
    showColor(picker, 0x80563412, kValueShared);
    EXPECT_EQ(readColor(picker), 0x00123456u);
    showColor(picker, 0, kValueShared);
    EXPECT_EQ(readColor(picker), 0u);
    showColor(picker, 0x00FFFFFF, kValueShared);
    EXPECT_EQ(readColor(picker), 0x00FFFFFFu);
}

TEST_F(PickerTest, ColorSwatchesShowEveryIndexInTheTemplateFrame) {
    const std::unique_ptr<wxImageList> swatches = createColorSwatches(dialog_.get());
    ASSERT_EQ(swatches->GetImageCount(), CPlotStyleTable::kAciCount);
    const wxSize size = wxg::isDpiForLargeIcons() ? wxSize(32, 32) : wxSize(14, 14);
    EXPECT_EQ(swatches->GetSize(), size);

    const std::uint32_t* palette = ut::colorPaletteDark();
    const wxPoint centre(size.x / 2, size.y / 2);
    for (int image = 0; image < swatches->GetImageCount(); ++image) {
        SCOPED_TRACE(image);
        const wxBitmap bitmap = swatches->GetBitmap(image);
        EXPECT_FALSE(bitmap.GetMask());
        const wxImage swatch = bitmap.ConvertToImage();
        ASSERT_EQ(swatch.GetSize(), size);
        const wxColour expected = image == 6 ? *wxBLACK : colourOf(palette[image + 1]);
        EXPECT_EQ(pixel(swatch, centre.x, centre.y), expected);
        EXPECT_EQ(pixel(swatch, size.x / 4, size.y / 4), expected);
        EXPECT_EQ(pixel(swatch, 0, 0), *wxBLACK);
        EXPECT_EQ(pixel(swatch, size.x - 1, centre.y), *wxBLACK);
        EXPECT_EQ(pixel(swatch, centre.x, size.y - 1), *wxBLACK);
    }
    EXPECT_EQ(pixel(swatches->GetBitmap(0).ConvertToImage(), centre.x, centre.y), *wxRED);
}
