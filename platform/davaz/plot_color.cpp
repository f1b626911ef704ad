#include "plot_color.h"

#include <wx/intl.h>

namespace wxg {

wxColour indexColour(int index, bool forPlot) {
    if (index < 1 || index > 255) {
        return wxColour();
    }
    if (forPlot && index == 7) {
        return *wxBLACK;
    }
    const std::uint32_t entry = odcmDarkPalette()[index];
    return wxColour(entry & 0xFF, entry >> 8 & 0xFF, entry >> 16 & 0xFF);
}

wxColour swatchColour(const OdCmColor& color, bool forPlot) {
    if (color.isByACI()) {
        return indexColour(color.colorIndex(), forPlot);
    }
    if (color.isByColor()) {
        return wxColour(color.red(), color.green(), color.blue());
    }
    return wxColour();
}

wxString colorLabel(const OdCmColor& color) {
    if (color.isByACI()) {
        return wxString::Format(_("Color %d"), color.colorIndex());
    }
    if (color.isByColor()) {
        return wxString::Format("%d,%d,%d", color.red(), color.green(), color.blue());
    }
    return wxString();
}

void drawSwatch(wxDC& dc, const wxRect& rect, const wxColour& colour) {
    // The frame is filled, not stroked: a pen's corners come out blurred on a screen with
    // several pixels to the toolkit's one.
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxGREY_PEN->GetColour()));
    dc.DrawRectangle(rect);
    dc.SetBrush(wxBrush(colour));
    dc.DrawRectangle(wxRect(rect).Deflate(1));
}

} // namespace wxg
