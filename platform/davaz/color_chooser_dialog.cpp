#include "color_chooser_dialog.h"

#include <wx/button.h>
#include <wx/colordlg.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "palette_grid.h"
#include "plot_color.h"

namespace wxg {

wxIMPLEMENT_CLASS(ColorChooserDialog, wxDialog);

wxBEGIN_EVENT_TABLE(ColorChooserDialog, wxDialog)
    EVT_BUTTON(XRCID("BtnTrueColor"), ColorChooserDialog::onTrueColor)
    EVT_UPDATE_UI(wxID_OK, ColorChooserDialog::onUpdateOk)
wxEND_EVENT_TABLE()

ColorChooserDialog::ColorChooserDialog(wxWindow* parent, const OdCmColor& initial, bool forPlot,
                                       bool allowTrueColor)
    : wxDialog(parent, wxID_ANY, _("Select Color")), forPlot_(forPlot) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, _("Index color:")), 0, wxLEFT | wxTOP | wxRIGHT, 10);
    palette_ = new PaletteGrid(this, forPlot, [this](int index) { chooseIndex(index); });
    top->Add(palette_, 0, wxALL, 10);

    auto* choiceRow = new wxBoxSizer(wxHORIZONTAL);
    preview_ = new wxWindow(this, wxID_ANY, wxDefaultPosition, wxSize(32, 20), wxBORDER_SIMPLE,
                            "ChoicePreview");
    choiceRow->Add(preview_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    choiceLabel_ = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                    0, "ChoiceLabel");
    choiceRow->Add(choiceLabel_, 1, wxALIGN_CENTER_VERTICAL);
    if (allowTrueColor) {
        choiceRow->Add(new wxButton(this, XRCID("BtnTrueColor"), _("True Color..."),
                                    wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator,
                                    "BtnTrueColor"),
                       0, wxLEFT, 8);
    }
    top->Add(choiceRow, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(CreateSeparatedButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);

    if (initial.isByACI()) {
        chooseIndex(initial.colorIndex());
    } else if (initial.isByColor()) {
        chooseTrueColor(wxColour(initial.red(), initial.green(), initial.blue()));
    } else {
        showChoice();
    }
}

bool ColorChooserDialog::chooseIndex(int index) {
    if (index < 1 || index > 255) {
        wxLogError(_("%d is no colour index; choose one from 1 to 255."), index);
        return false;
    }
    chosen_.setColorIndex(index);
    showChoice();
    return true;
}

void ColorChooserDialog::chooseTrueColor(const wxColour& colour) {
    chosen_.setRGB(colour.Red(), colour.Green(), colour.Blue());
    showChoice();
}

void ColorChooserDialog::showChoice() {
    palette_->setPickedIndex(chosen_.colorIndex());
    const wxColour colour = swatchColour(chosen_, forPlot_);
    preview_->SetBackgroundColour(colour.IsOk() ? colour : GetBackgroundColour());
    preview_->Refresh();
    choiceLabel_->SetLabel(colorLabel(chosen_));
}

void ColorChooserDialog::onTrueColor(wxCommandEvent&) {
    wxColourData data;
    data.SetChooseFull(true);
    const wxColour current = swatchColour(chosen_, forPlot_);
    if (current.IsOk()) {
        data.SetColour(current);
    }
    wxColourDialog dialog(this, &data);
    if (dialog.ShowModal() == wxID_OK) {
        chooseTrueColor(dialog.GetColourData().GetColour());
    }
}

void ColorChooserDialog::onUpdateOk(wxUpdateUIEvent& event) {
    event.Enable(!chosen_.isNone());
}

} // namespace wxg
