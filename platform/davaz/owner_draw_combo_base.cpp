#include <davaz/wxg_combo.h>

#include <algorithm>

#include <wx/dc.h>

namespace wxg {

namespace {
constexpr int kTextLeftMargin = 3;
constexpr int kImageLabelGap = 4;
constexpr int kItemPadding = 2;

// The list of a picker. A key held with Alt, Ctrl or Meta is meant for the window around the
// picker (a label's Alt+letter, a shortcut), never for the type-ahead that picks an item.
class PickerList : public wxVListBoxComboPopup {
public:
    void OnComboKeyEvent(wxKeyEvent& event) override {
        if (isForTheWindow(event)) {
            event.Skip();
        } else {
            wxVListBoxComboPopup::OnComboKeyEvent(event);
        }
    }
    void OnComboCharEvent(wxKeyEvent& event) override {
        if (isForTheWindow(event)) {
            event.Skip();
        } else {
            wxVListBoxComboPopup::OnComboCharEvent(event);
        }
    }

private:
    static bool isForTheWindow(const wxKeyEvent& event) {
        return (event.GetModifiers() & (wxMOD_ALT | wxMOD_CONTROL | wxMOD_META)) != 0;
    }
};
} // namespace

OwnerDrawComboBase::OwnerDrawComboBase(wxWindow* parent, int id, const wxPoint& pos,
                                       const wxSize& size, bool readOnly)
    : wxOwnerDrawnComboBox(parent, id, wxEmptyString, pos, size, 0, nullptr,
                           readOnly ? wxCB_READONLY : 0) {
    SetPopupControl(new PickerList);
}

OwnerDrawComboBase::~OwnerDrawComboBase() {
    if (IsPopupShown()) {
        HidePopup();
    }
}

void OwnerDrawComboBase::ShowPopup() {
    wxOwnerDrawnComboBox::ShowPopup();
    if (isValidSelection(GetSelection())) {
        jumpTo(GetSelection());
    }
}

void OwnerDrawComboBase::HidePopup(bool generateEvent) {
    wxOwnerDrawnComboBox::HidePopup(generateEvent);
    // The closed control shows the pick or "Varies" right away, not at the next paint.
    Refresh();
}

void OwnerDrawComboBase::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const {
    if ((flags & wxODCB_PAINTING_CONTROL) && varies_) {
        const wxString text = _("Varies");
        dc.DrawText(text, rect.x + getTextStartPosition(),
                    rect.y + (rect.height - dc.GetTextExtent(text).y) / 2);
        return;
    }
    if (isValidSelection(item)) {
        onDrawListItem(dc, rect, item, flags);
    }
}

wxCoord OwnerDrawComboBase::OnMeasureItem(size_t) const {
    return std::max(GetCharHeight(), imageArea_.y) + 2 * kItemPadding;
}

wxCoord OwnerDrawComboBase::OnMeasureItemWidth(size_t item) const {
    return getTextStartPosition() + GetTextExtent(GetString(item)).x + 2 * kItemPadding;
}

void OwnerDrawComboBase::jumpTo(int item) {
    if (!isValidSelection(item)) {
        return;
    }
    SetSelection(item);
    if (IsPopupShown()) {
        GetVListBoxComboPopup()->ScrollToRow(item);
    }
}

void OwnerDrawComboBase::onDrawListItem(wxDC& dc, const wxRect& rect, int item, int) const {
    const wxString label = GetString(item);
    dc.DrawText(label, rect.x + getTextStartPosition(),
                rect.y + (rect.height - dc.GetTextExtent(label).y) / 2);
}

int OwnerDrawComboBase::getTextStartPosition() const {
    return getTextLeftMargin() + (imageArea_.x > 0 ? imageArea_.x + kImageLabelGap : 0);
}

int OwnerDrawComboBase::getTextLeftMargin() const {
    return kTextLeftMargin;
}

bool OwnerDrawComboBase::isValidSelection(int item) const {
    return item >= 0 && item < static_cast<int>(GetCount());
}

int OwnerDrawComboBase::getSelectionValue() const {
    const int selection = GetSelection();
    return isValidSelection(selection) ? selection : wxNOT_FOUND;
}

void OwnerDrawComboBase::Select(int item) {
    wxOwnerDrawnComboBox::Select(item);
    // Selecting replaces the closed control's text, which must keep saying "Varies".
    if (varies_) {
        SetText(_("Varies"));
    }
}

wxArrayString OwnerDrawComboBase::getLabels() const {
    return GetStrings();
}

void OwnerDrawComboBase::setVaries(bool varies) {
    varies_ = varies;
    // Without a selection the control paints its text, so that text must say it too.
    const int selection = getSelectionValue();
    if (varies) {
        SetText(_("Varies"));
    } else {
        SetText(selection == wxNOT_FOUND ? wxString() : GetString(selection));
    }
}

void OwnerDrawComboBase::OnResize() {
    wxOwnerDrawnComboBox::OnResize();
    // Images and labels are centred vertically; a partial repaint would leave them misplaced.
    Refresh();
}

void OwnerDrawComboBase::reserveImageArea(const wxSize& size) {
    imageArea_ = size;
    Refresh();
}

wxRect OwnerDrawComboBase::imageRect(const wxRect& itemRect) const {
    return wxRect(itemRect.x + getTextLeftMargin(),
                  itemRect.y + (itemRect.height - imageArea_.y) / 2, imageArea_.x, imageArea_.y);
}

} // namespace wxg
