// Files written besides tables, such as the comma-separated export and the legend sheet: through
// the same safe writer as tables, so that links, permissions, owners and failures are met alike.
#pragma once

#include <string>

#include <wx/string.h>

// Puts bytes in the file at path, or leaves it as it was and nothing beside it, keeping its mode,
// owner and group. The file that path reaches through links must have path's extension; FIFOs
// and character devices (/dev/stdout) are written directly. False with why not in reason: one
// line naming the file, in the user's language.
bool writeOutputFile(const wxString& path, const std::string& bytes, wxString& reason);
