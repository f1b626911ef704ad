// The one place where texts of the host library (NUL-terminated 16-bit strings) and wxString
// meet.
#pragma once

#include <string>

#include <wx/string.h>

wxString toWxString(const char16_t* text);
wxString toWxString(const std::u16string& text);
std::u16string toHostText(const wxString& text);
