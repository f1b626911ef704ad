// File names as the system keeps them, bytes, and as the program passes, shows and orders them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <wx/string.h>

class wxMBConv;

// A name's bytes as text and back, losing none: each byte that is not part of valid UTF-8 stays
// as one of U+DC80..U+DCFF, which the host library's UTF-16 texts carry too.
wxString fileNameFromBytes(std::string_view bytes);
std::string fileNameToBytes(const wxString& name);
// The same conversion for wxWidgets' own file functions: a program that is its own host makes
// it wxConvFileName, so that every name it is given opens.
wxMBConv& fileNameConversion();

// A name on a line of its own: as it is when it is printable UTF-8 without a double quote or a
// backslash, else in double quotes with C escapes ("plan\n2.ctb", "bad\377.ctb"), as git
// quotes odd paths.
std::string lineQuotedFileName(std::string_view bytes);

// Sorts paths as people read them, the same in every locale: letters by their case folded as
// GLib folds it, runs of digits by their value (plan2 before plan10), a folder's name before
// what follows it, and names that compare equal so by their bytes.
void sortFileNamesForReading(std::vector<std::string>& paths);
