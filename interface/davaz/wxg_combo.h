// Pickers of the GUI library: owner-drawn combo boxes showing images or colours.
#pragma once

#include <cstdint>
#include <vector>

#include <wx/odcombo.h>

#include <teigha/od_cm_color.h>
#include <teigha/od_db_object_id.h>

namespace wxg {

// Base of the pickers. With setVaries(true) the closed control shows "Varies" instead of an item,
// for a multi-selection whose values differ.
class OwnerDrawComboBase : public wxOwnerDrawnComboBox {
public:
    OwnerDrawComboBase(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                       bool readOnly);
    // Closes a shown list first: the toolkit measures the list's items while it hides it, which
    // needs the whole picker.
    ~OwnerDrawComboBase() override;

    void ShowPopup() override;
    void HidePopup(bool generateEvent = false) override;
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    wxCoord OnMeasureItem(size_t item) const override;
    // Wide enough for the image area and the label, so that the list shows every label whole.
    wxCoord OnMeasureItemWidth(size_t item) const override;

    virtual void jumpTo(int item);
    virtual void onDrawListItem(wxDC& dc, const wxRect& rect, int item, int flags) const;
    virtual int getTextStartPosition() const;
    virtual int getTextLeftMargin() const;
    virtual bool isValidSelection(int item) const;
    virtual int getSelectionValue() const;
    virtual wxArrayString getLabels() const;

    void setVaries(bool varies);
    bool varies() const { return varies_; }

    void Select(int item) override;

protected:
    void OnResize() override;

    // Width and height kept free before every label, for an image or a swatch.
    void reserveImageArea(const wxSize& size);
    // Where an item drawn in itemRect puts its image or swatch.
    wxRect imageRect(const wxRect& itemRect) const;

private:
    bool varies_ = false;
    wxSize imageArea_;
};

// Items with a label, an integer value and a bitmap from the image catalogue.
class ImageCombo : public OwnerDrawComboBase {
public:
    ImageCombo(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size, bool readOnly);

    void setImageSize(const wxSize& size);
    const wxSize& imageSize() const { return imageSize_; }

    // Adds an item; an empty bitmap name gives an item without image. Returns its position.
    // Bitmaps come from the XRC resources; where they also hold bitmapName followed by "@2x",
    // that drawing at twice the size serves screens that scale by 2.
    int append(const wxString& label, int value, const wxString& bitmapName);
    // Selects the first item carrying value and returns its position; a value no item carries
    // clears the selection and returns wxNOT_FOUND.
    int setValue(int value);
    // The value of the selected item, or -1 without a selection.
    int getValue() const;
    void setItemLabel(int item, const wxString& label);
    void setItemImage(int item, const wxString& bitmapName);

    void onDrawListItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    // An item without image needs no room for one.
    wxCoord OnMeasureItemWidth(size_t item) const override;

protected:
    // Items go through the standard item-container calls too; their values and images follow.
    void DoClear() override;
    void DoDeleteOneItem(unsigned int item) override;

private:
    struct Item {
        int value;
        wxString bitmapName;
        wxBitmap bitmap;
    };

    bool hasItem(int item) const;
    void onPick(wxCommandEvent& event);

    std::vector<Item> items_;
    wxSize imageSize_;

    wxDECLARE_CLASS(ImageCombo);
    wxDECLARE_EVENT_TABLE();
};

// Plot colour picker: "Use object color", seven basic index colours, "Select..." for any index
// or true colour; a colour chosen there is shown as the current item.
class ColorCombo : public OwnerDrawComboBase {
public:
    static const std::uint32_t FOR_PLOT_COLOR;
    static const std::uint32_t INCLUDING_BYENTITY;
    static const std::uint32_t INCLUDING_TRUECOLOR;

    ColorCombo(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size, bool readOnly,
               unsigned int initialColor, const OdDbObjectId& database, int options, bool byBlock,
               long style);

    void onDrawListItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    virtual void setColor(unsigned int color);

    const OdCmColor& color() const;

    void Select(int item) override;
    void HidePopup(bool generateEvent = false) override;

private:
    bool forPlot() const { return options_ & FOR_PLOT_COLOR; }
    int selectItem() const { return static_cast<int>(GetCount()) - 1; }
    OdCmColor itemColor(int item) const; // none for "Select..." and beyond
    void addFixedItem(const wxString& label, const OdCmColor& color);
    OdCmColor plotted(const OdCmColor& color) const;
    int showCustom(const OdCmColor& color);
    void chooseColor();
    void onPick(wxCommandEvent& event);
    void onKey(wxKeyEvent& event);

    std::uint32_t options_;
    OdCmColor color_;
    // One per item before "Select..."; the fixed items come first, then at most one custom item.
    std::vector<OdCmColor> itemColors_;
    size_t fixedCount_ = 0;
    // Set when the list closes, cleared by a key on the closed control: tells a choice made in the
    // list from a step of the arrow keys through the closed control.
    bool choosingInList_ = false;

    wxDECLARE_CLASS(ColorCombo);
    wxDECLARE_EVENT_TABLE();
};

// Puts replacement in the place of old in old's sizer. The caller may then delete old.
bool replaceWnd(wxWindow* old, wxWindow* replacement);

// True when the toolkit's pixels are so small that icons should be 32 of them wide: a screen of
// 144 dots per inch or more that the toolkit does not scale. A screen that it scales by 2
// (GDK_SCALE=2) has pixels of the usual size, each made of four of the screen's.
bool isDpiForLargeIcons();

} // namespace wxg
