// The dialog behind a colour picker's "Select...": any index colour or true colour.
#pragma once

#include <wx/dialog.h>

#include <teigha/od_cm_color.h>

class wxStaticText;

namespace wxg {

class PaletteGrid;

class ColorChooserDialog : public wxDialog {
public:
    ColorChooserDialog(wxWindow* parent, const OdCmColor& initial, bool forPlot,
                       bool allowTrueColor);

    // An index outside 1 to 255 is refused and keeps the choice.
    bool chooseIndex(int index);
    void chooseTrueColor(const wxColour& colour);
    // None until the user has chosen.
    const OdCmColor& chosenColor() const { return chosen_; }

private:
    void showChoice();
    void onTrueColor(wxCommandEvent& event);
    void onUpdateOk(wxUpdateUIEvent& event);

    bool forPlot_;
    OdCmColor chosen_;
    PaletteGrid* palette_;
    wxWindow* preview_;
    wxStaticText* choiceLabel_;

    wxDECLARE_CLASS(ColorChooserDialog);
    wxDECLARE_EVENT_TABLE();
};

} // namespace wxg
