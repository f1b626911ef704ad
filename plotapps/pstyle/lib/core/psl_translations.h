// The message catalogue of the library and the pstyle program: the domain "pstyle", compiled to
// <language>/LC_MESSAGES/pstyle.mo.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

inline constexpr char kMessageDomain[] = "pstyle";

// The folders that may hold the catalogue of a binary in binaryFolder: binaryFolder/locale,
// where the build tree keeps it next to the binaries, and binaryFolder/installedLocaleFolder,
// the install prefix's locale folder as seen from an installed binary.
wxArrayString catalogueFolders(const wxString& binaryFolder, const wxString& installedLocaleFolder);

// Adds the catalogue to the running translations (wxTranslations::Get()) unless they hold it
// already, looking for it in folders as well as where their loader looks. Without translations,
// which are the host's to set up, messages stay English. True when the translations hold the
// catalogue now.
bool addMessageCatalogue(const wxArrayString& folders);
