#include "psl_pickers.h"

#include <davaz/wxg_combo.h>
#include <kesutils/plot_style_table.h>
#include <teigha/od_cm_color.h>
#include <wx/imaglist.h>
#include <wx/xrc/xmlres.h>

#include "psl_catalogues.h"
#include "psl_resources.h"
#include "psl_style_values.h"

namespace {

constexpr int kObjectColorItem = 0;

template <class Picker> Picker* takePlace(wxWindow* placeholder, Picker* picker) {
    // As wide as its widest item, not as the placeholder: long labels show whole.
    picker->SetMinSize(wxDefaultSize);
    wxg::replaceWnd(placeholder, picker);
    picker->MoveAfterInTabOrder(placeholder);
    delete placeholder;
    return picker;
}

wxWindow* placeholder(wxWindow* dialog, const char* name) {
    return dialog->FindWindow(XRCID(name));
}

void appendCatalogue(wxg::ImageCombo* picker, const CatalogueValues& values, wxString (*label)(int),
                     wxString (*bitmap)(int)) {
    picker->append(label(values.ownSetting), values.ownSetting, wxString());
    for (int value = values.first; value <= values.last; ++value) {
        picker->append(label(value), value, bitmap(value));
    }
}

// The catalogue's swatch template at size on window's screen, in the screen's pixels, or an
// invalid image when the resources lack it.
wxImage colorBoxTemplate(const wxWindow* window, const wxSize& size) {
    const wxBitmap box = catalogueBitmap("BmpStyleColorBox", window);
    if (!box.IsOk()) {
        return wxImage();
    }
    wxImage pixels = box.ConvertToImage();
    const wxSize wanted = size * window->GetContentScaleFactor();
    if (pixels.GetSize() != wanted) {
        pixels.Rescale(wanted.x, wanted.y, wxIMAGE_QUALITY_NORMAL);
    }
    return pixels;
}

} // namespace

wxg::ColorCombo* createColorCombo(wxWindow* placeholder) {
    const std::uint32_t options = wxg::ColorCombo::FOR_PLOT_COLOR |
                                  wxg::ColorCombo::INCLUDING_BYENTITY |
                                  wxg::ColorCombo::INCLUDING_TRUECOLOR;
    return takePlace(placeholder,
                     new wxg::ColorCombo(placeholder->GetParent(), placeholder->GetId(),
                                         placeholder->GetPosition(), placeholder->GetClientSize(),
                                         true, 0, OdDbObjectId::kNull, int(options), false, 0));
}

wxg::ImageCombo* createImageCombo(wxWindow* placeholder) {
    return takePlace(placeholder,
                     new wxg::ImageCombo(placeholder->GetParent(), placeholder->GetId(),
                                         placeholder->GetPosition(), placeholder->GetClientSize(),
                                         true));
}

void setUpStylePickers(wxWindow* dialog) {
    createColorCombo(placeholder(dialog, "ComboColor"));

    wxg::ImageCombo* lineTypes = createImageCombo(placeholder(dialog, "ComboLineType"));
    lineTypes->setImageSize(wxSize(80, 6));
    appendCatalogue(lineTypes, kLineTypeValues, lineTypeLabel, lineTypeBitmap);

    appendCatalogue(createImageCombo(placeholder(dialog, "ComboEndStyle")), kEndStyleValues,
                    endStyleLabel, endStyleBitmap);
    appendCatalogue(createImageCombo(placeholder(dialog, "ComboJoinStyle")), kJoinStyleValues,
                    joinStyleLabel, joinStyleBitmap);
    appendCatalogue(createImageCombo(placeholder(dialog, "ComboFillStyle")), kFillStyleValues,
                    fillStyleLabel, fillStyleBitmap);
}

void setUpLineWeightPicker(wxWindow* dialog) {
    wxg::ImageCombo* lineWeights = createImageCombo(placeholder(dialog, "ComboLineWeight"));
    lineWeights->setImageSize(wxSize(80, 14));
    lineWeights->append(lineWeightOwnSettingLabel(), kLineWeightValues.ownSetting, wxString());
    for (int value = kLineWeightValues.first; value <= kLineWeightValues.last; ++value) {
        lineWeights->append(wxString(), value, wxString());
    }
}

void showPickerValue(wxg::ImageCombo* picker, const CatalogueValues& values, wxString (*label)(int),
                     int value) {
    // The own-setting item and the catalogue's values; an item beyond them stood for another
    // value outside the catalogue.
    const unsigned int catalogueItems = unsigned(values.last - values.first + 2);
    while (picker->GetCount() > catalogueItems) {
        picker->Delete(picker->GetCount() - 1);
    }
    if (picker->setValue(value) == wxNOT_FOUND && value != kNoValueYet && value != kValuesDiffer) {
        picker->append(label(value), value, wxString());
        picker->setValue(value);
    }
}

void showColor(wxg::ColorCombo* picker, std::uint32_t value, int state) {
    picker->setVaries(state == kValuesDiffer);
    if (state != kValueShared || isObjectColor(std::int32_t(value))) {
        picker->SetSelection(kObjectColorItem);
        return;
    }
    // A colour that an index plots is shown as that index: black as the item "Black".
    OdCmColor color;
    if (const int index = colorIndexOf(value)) {
        color.setColorIndex(index);
    } else {
        color.setRGB(value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF);
    }
    picker->setColor(color.color());
}

std::uint32_t readColor(const wxg::ColorCombo* picker) {
    const OdCmColor color = picker->color();
    if (color.isNone()) {
        return std::uint32_t(kObjectColor);
    }
    return std::uint32_t(color.red()) << 16 | std::uint32_t(color.green()) << 8 | color.blue();
}

std::unique_ptr<wxImageList> createColorSwatches(const wxWindow* window) {
    const wxSize size = wxg::isDpiForLargeIcons() ? wxSize(32, 32) : wxSize(14, 14);
    const wxImage box = colorBoxTemplate(window, size);
    auto swatches =
        std::make_unique<wxImageList>(size.x, size.y, false, CPlotStyleTable::kAciCount);
    if (!box.IsOk()) {
        return swatches; // without the catalogue image the style list shows no swatches
    }
    for (int index = 1; index <= CPlotStyleTable::kAciCount; ++index) {
        // Swatches show how a colour plots: 7 black, not the dark palette's white.
        const std::uint32_t rgb = indexColorRgb(index);
        wxImage swatch = box.Copy();
        swatch.Replace(0, 255, 0, rgb & 0xFF, rgb >> 8 & 0xFF, rgb >> 16 & 0xFF);
        swatches->Add(wxBitmap(swatch, wxBITMAP_SCREEN_DEPTH, window->GetContentScaleFactor()));
    }
    return swatches;
}
