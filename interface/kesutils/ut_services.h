// Services of the host's utility library: configuration, dialog layouts and the colour palette.
// The library comes in two parts: kesutils (configuration, palette, tables) needs wxBase alone;
// loadDialog lives in kesutils_gui, which the dialogs link and which needs the GUI libraries.
#pragma once

#include <cstdint>

#include <wx/string.h>

class wxDialog;
class wxWindow;

namespace ut {

// Groups of the host's configuration.
enum class ECfgGroup : int {
    PlotSettings = 6,
};

// The configured value of key in group, or an empty string when it is not set.
wxString getString(ECfgGroup group, const wxString& key);
// Sets a configuration value; the host fills the store before it calls the plot style library.
void setString(ECfgGroup group, const wxString& key, const wxString& value);

// Creates dialog's window from the layout named name, as a child of parent.
bool loadDialog(wxDialog* dialog, wxWindow* parent, const wxString& name);

// The 256-entry dark colour index palette, red in bits 0 to 7, green 8 to 15, blue 16 to 23.
const std::uint32_t* colorPaletteDark();

} // namespace ut
