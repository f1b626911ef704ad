// Colours of the colour index palette as the pickers show them.
#pragma once

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/string.h>

#include <teigha/od_cm_color.h>

namespace wxg {

// Index 7 is white on a dark screen but black on paper, so a plot colour shows it black.
wxColour indexColour(int index, bool forPlot);

// Invalid for a colour that is none.
wxColour swatchColour(const OdCmColor& color, bool forPlot);

// "Color 42" for an index colour, "12,34,56" for a true colour.
wxString colorLabel(const OdCmColor& color);

void drawSwatch(wxDC& dc, const wxRect& rect, const wxColour& colour);

} // namespace wxg
