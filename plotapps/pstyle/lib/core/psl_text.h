// The one place where texts of the host library (NUL-terminated 16-bit strings) and wxString
// meet. U+DC80..U+DCFF, which stand for the bytes of a file name that are not UTF-8, pass both
// ways; other lone surrogates become U+FFFD.
#pragma once

#include <string>

#include <wx/string.h>

wxString toWxString(const char16_t* text);
wxString toWxString(const std::u16string& text);
std::u16string toHostText(const wxString& text);
