#include <davaz/wxg_combo.h>

#include <map>

#include <wx/bmpbndl.h>
#include <wx/dc.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

namespace wxg {

namespace {
// The end, join and fill style images are this size.
const wxSize kDefaultImageSize(13, 13);

// The image name at size, with scale pixels for each of size's. Resources that hold
// name + "@2x" have drawn it at twice the size for screens that scale by 2.
wxBitmap readImage(const wxString& name, const wxSize& size, double scale) {
    wxXmlResource* resources = wxXmlResource::Get();
    wxVector<wxBitmap> drawings(1, resources->LoadBitmap(name));
    if (!drawings[0].IsOk()) {
        return wxNullBitmap;
    }
    if (resources->GetResourceNode(name + "@2x")) {
        drawings.push_back(resources->LoadBitmap(name + "@2x"));
    }
    wxBitmap bitmap = wxBitmapBundle::FromBitmaps(drawings).GetBitmap(size * scale);
    bitmap.SetScaleFactor(scale);
    return bitmap;
}

// The image name shown at size on window's screen. The pickers of every dialog show the same
// few dozen images: each is read from the resources and scaled once per screen scale.
wxBitmap loadImage(const wxString& name, const wxSize& size, const wxWindow* window) {
    if (name.empty()) {
        return wxNullBitmap;
    }
    const double scale = window->GetContentScaleFactor();
    static std::map<wxString, wxBitmap> images;
    const wxString key = wxString::Format("%s %dx%d@%g", name, size.x, size.y, scale);
    const auto known = images.find(key);
    if (known != images.end()) {
        return known->second;
    }
    const wxBitmap bitmap = readImage(name, size, scale);
    if (bitmap.IsOk()) {
        images.emplace(key, bitmap);
    }
    return bitmap;
}
} // namespace

wxIMPLEMENT_CLASS(ImageCombo, OwnerDrawComboBase);

wxBEGIN_EVENT_TABLE(ImageCombo, OwnerDrawComboBase)
    EVT_COMBOBOX(wxID_ANY, ImageCombo::onPick)
wxEND_EVENT_TABLE()

ImageCombo::ImageCombo(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                       bool readOnly)
    : OwnerDrawComboBase(parent, id, pos, size, readOnly), imageSize_(kDefaultImageSize) {
    reserveImageArea(imageSize_);
}

void ImageCombo::setImageSize(const wxSize& size) {
    imageSize_ = size;
    for (Item& item : items_) {
        item.bitmap = loadImage(item.bitmapName, imageSize_, this);
    }
    reserveImageArea(imageSize_);
}

int ImageCombo::append(const wxString& label, int value, const wxString& bitmapName) {
    items_.push_back({value, bitmapName, loadImage(bitmapName, imageSize_, this)});
    return Append(label);
}

int ImageCombo::setValue(int value) {
    int found = wxNOT_FOUND;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].value == value) {
            found = static_cast<int>(i);
            break;
        }
    }
    SetSelection(found);
    return found;
}

int ImageCombo::getValue() const {
    const int selection = getSelectionValue();
    return hasItem(selection) ? items_[selection].value : -1;
}

void ImageCombo::setItemLabel(int item, const wxString& label) {
    if (!isValidSelection(item)) {
        wxLogError(_("The picker has no item %d to label \"%s\"."), item, label);
        return;
    }
    SetString(item, label);
}

void ImageCombo::setItemImage(int item, const wxString& bitmapName) {
    if (!hasItem(item)) {
        wxLogError(_("The picker has no item %d to show \"%s\"."), item, bitmapName);
        return;
    }
    items_[item].bitmapName = bitmapName;
    items_[item].bitmap = loadImage(bitmapName, imageSize_, this);
    Refresh();
}

void ImageCombo::onDrawListItem(wxDC& dc, const wxRect& rect, int item, int flags) const {
    if (hasItem(item) && items_[item].bitmap.IsOk()) {
        dc.DrawBitmap(items_[item].bitmap, imageRect(rect).GetPosition(), true);
        OwnerDrawComboBase::onDrawListItem(dc, rect, item, flags);
        return;
    }
    // An item without image, such as the own-setting entry, uses the whole width for its label:
    // behind an empty 80-pixel image area it would be cut off in the closed control.
    const wxString label = GetString(item);
    dc.DrawText(label, rect.x + getTextLeftMargin(),
                rect.y + (rect.height - dc.GetTextExtent(label).y) / 2);
}

wxCoord ImageCombo::OnMeasureItemWidth(size_t item) const {
    const wxCoord width = OwnerDrawComboBase::OnMeasureItemWidth(item);
    if (hasItem(int(item)) && items_[item].bitmap.IsOk()) {
        return width;
    }
    return width - (getTextStartPosition() - getTextLeftMargin());
}

void ImageCombo::DoClear() {
    OwnerDrawComboBase::DoClear();
    items_.clear();
}

void ImageCombo::DoDeleteOneItem(unsigned int item) {
    OwnerDrawComboBase::DoDeleteOneItem(item);
    if (hasItem(int(item))) {
        items_.erase(items_.begin() + item);
    }
}

bool ImageCombo::hasItem(int item) const {
    return item >= 0 && item < static_cast<int>(items_.size());
}

void ImageCombo::onPick(wxCommandEvent& event) {
    // The picked value now holds for every selected style.
    setVaries(false);
    event.Skip();
}

} // namespace wxg
