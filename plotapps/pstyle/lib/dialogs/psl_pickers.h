// The Form View pickers: created in the place of the layout's placeholder combo boxes, filled
// from the value catalogues, and the exchange of style colours with the colour picker.
#pragma once

#include <cstdint>
#include <memory>

struct CatalogueValues;
class wxImageList;
class wxString;
class wxWindow;

namespace wxg {
class ColorCombo;
class ImageCombo;
} // namespace wxg

// States of a value merged from the selected styles, handed to the pickers: one value shared by
// all, no value seen yet, or values that differ. The last two also stand in place of a value.
inline constexpr int kValueShared = 1;
inline constexpr int kNoValueYet = -2;
inline constexpr int kValuesDiffer = -3;

// Each takes the placeholder's parent, id, position and size and its place in the sizer, and
// deletes the placeholder.
wxg::ColorCombo* createColorCombo(wxWindow* placeholder);
wxg::ImageCombo* createImageCombo(wxWindow* placeholder);

// Replaces ComboColor, ComboLineType, ComboEndStyle, ComboJoinStyle and ComboFillStyle of dialog
// by filled pickers, the own-setting item first in each.
void setUpStylePickers(wxWindow* dialog);
// Replaces ComboLineWeight by a picker holding "Use object lineweight" and 27 items without label
// or image for the values 1 to 27; the table's lineweights give them their labels and images.
void setUpLineWeightPicker(wxWindow* dialog);

// Selects the item carrying value, or none for the markers. A stored value outside the catalogue
// gets an item of its own, labelled by label, until another value is shown.
void showPickerValue(wxg::ImageCombo* picker, const CatalogueValues& values, wxString (*label)(int),
                     int value);

// Shows a colour as CPlotStyle::color2rgb gives it (red in the low byte). state is 1 for a
// colour shared by the selection, -3 for a selection whose colours differ; anything else shows
// the use-object-colour item.
void showColor(wxg::ColorCombo* picker, std::uint32_t value, int state);
// The picker's colour as CPlotStyle::updateColor takes it (red in the third byte), 0x00FFFFFF
// for the object's colour.
std::uint32_t readColor(const wxg::ColorCombo* picker);

// One swatch per colour index 1 to 255 (image i - 1 shows index i) for the style list of a
// colour-dependent table, with as many pixels as window's screen has for each of a swatch's.
std::unique_ptr<wxImageList> createColorSwatches(const wxWindow* window);
