#include <davaz/wxg_combo.h>

#include "color_chooser_dialog.h"
#include "plot_color.h"

namespace wxg {

const std::uint32_t ColorCombo::FOR_PLOT_COLOR = 0x1;
const std::uint32_t ColorCombo::INCLUDING_BYENTITY = 0x2;
const std::uint32_t ColorCombo::INCLUDING_TRUECOLOR = 0x4;

namespace {
const wxSize kSwatchSize(14, 14);

OdCmColor indexColor(int index) {
    OdCmColor color;
    color.setColorIndex(index);
    return color;
}

// A plotted "Black" is true black: index 7 is white on the dark palette.
OdCmColor plotBlack() {
    OdCmColor black;
    black.setRGB(0, 0, 0);
    return black;
}
} // namespace

wxIMPLEMENT_CLASS(ColorCombo, OwnerDrawComboBase);

wxBEGIN_EVENT_TABLE(ColorCombo, OwnerDrawComboBase)
    EVT_COMBOBOX(wxID_ANY, ColorCombo::onPick)
wxEND_EVENT_TABLE()

// Plot colours have no database and no block, so those two arguments change nothing here.
ColorCombo::ColorCombo(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                       bool readOnly, unsigned int initialColor, const OdDbObjectId&, int options,
                       bool, long style)
    : OwnerDrawComboBase(parent, id, pos, size, readOnly), options_(options) {
    SetWindowStyleFlag(GetWindowStyleFlag() | style);
    reserveImageArea(kSwatchSize);
    if (options_ & INCLUDING_BYENTITY) {
        addFixedItem(_("Use object color"), OdCmColor());
    }
    addFixedItem(_("Red"), indexColor(1));
    addFixedItem(_("Yellow"), indexColor(2));
    addFixedItem(_("Green"), indexColor(3));
    addFixedItem(_("Cyan"), indexColor(4));
    addFixedItem(_("Blue"), indexColor(5));
    addFixedItem(_("Magenta"), indexColor(6));
    if (forPlot()) {
        addFixedItem(_("Black"), plotBlack());
    } else {
        addFixedItem(_("White"), indexColor(7));
    }
    Append(_("Select..."));
    setColor(initialColor);
    Bind(wxEVT_KEY_DOWN, &ColorCombo::onKey, this);
    Bind(wxEVT_CHAR, &ColorCombo::onKey, this);
}

void ColorCombo::onDrawListItem(wxDC& dc, const wxRect& rect, int item, int flags) const {
    const wxColour colour = swatchColour(itemColor(item), forPlot());
    if (colour.IsOk()) {
        drawSwatch(dc, imageRect(rect), colour);
    }
    OwnerDrawComboBase::onDrawListItem(dc, rect, item, flags);
}

void ColorCombo::setColor(unsigned int color) {
    const OdCmColor shown = plotted(OdCmColor::fromColor(color));
    int item = wxNOT_FOUND;
    for (size_t i = 0; i < itemColors_.size(); ++i) {
        if (itemColors_[i] == shown) {
            item = static_cast<int>(i);
            break;
        }
    }
    if (item == wxNOT_FOUND && !shown.isNone()) {
        item = showCustom(shown);
    }
    Select(item);
}

const OdCmColor& ColorCombo::color() const {
    return color_;
}

void ColorCombo::Select(int item) {
    OwnerDrawComboBase::Select(item);
    color_ = itemColor(item);
}

void ColorCombo::HidePopup(bool generateEvent) {
    // The list sends the pick made in it after it has closed.
    choosingInList_ = true;
    OwnerDrawComboBase::HidePopup(generateEvent);
}

void ColorCombo::onKey(wxKeyEvent& event) {
    if (!IsPopupShown()) {
        choosingInList_ = false;
    }
    event.Skip();
}

OdCmColor ColorCombo::itemColor(int item) const {
    return item >= 0 && item < static_cast<int>(itemColors_.size()) ? itemColors_[item]
                                                                    : OdCmColor();
}

void ColorCombo::addFixedItem(const wxString& label, const OdCmColor& color) {
    Append(label);
    itemColors_.push_back(color);
    fixedCount_ = itemColors_.size();
}

OdCmColor ColorCombo::plotted(const OdCmColor& color) const {
    if (!color.isByACI() && !color.isByColor()) {
        return OdCmColor();
    }
    if (forPlot() && color.colorIndex() == 7) {
        return plotBlack();
    }
    return color;
}

int ColorCombo::showCustom(const OdCmColor& color) {
    const int item = static_cast<int>(fixedCount_);
    if (itemColors_.size() > fixedCount_) {
        SetString(item, colorLabel(color));
        itemColors_[fixedCount_] = color;
    } else {
        Insert(colorLabel(color), item);
        itemColors_.push_back(color);
    }
    return item;
}

void ColorCombo::chooseColor() {
    ColorChooserDialog dialog(wxGetTopLevelParent(this), color_, forPlot(),
                              options_ & INCLUDING_TRUECOLOR);
    if (dialog.ShowModal() != wxID_OK) {
        setColor(color_.color());
        return;
    }
    setColor(dialog.chosenColor().color());
    wxCommandEvent picked(wxEVT_COMBOBOX, GetId());
    picked.SetEventObject(this);
    picked.SetInt(GetSelection());
    picked.SetString(GetString(GetSelection()));
    GetEventHandler()->ProcessEvent(picked);
}

void ColorCombo::onPick(wxCommandEvent& event) {
    const int item = GetSelection();
    const bool chosenInList = choosingInList_;
    choosingInList_ = false;
    if (item == selectItem()) {
        if (chosenInList) {
            // The list is still closing; the chooser opens once it is gone, and only a colour
            // chosen there is passed on as a pick.
            CallAfter(&ColorCombo::chooseColor);
        } else {
            // The arrow keys step over "Select...": it is no colour.
            setColor(color_.color());
        }
        return;
    }
    color_ = itemColor(item);
    setVaries(false);
    event.Skip();
}

} // namespace wxg
