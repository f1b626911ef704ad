#include "psl_translations.h"

#include <wx/filename.h>
#include <wx/translation.h>

wxArrayString catalogueFolders(const wxString& binaryFolder,
                               const wxString& installedLocaleFolder) {
    wxArrayString folders;
    for (const wxString& subfolder : {wxString("locale"), installedLocaleFolder}) {
        wxFileName folder = wxFileName::DirName(binaryFolder + wxFILE_SEP_PATH + subfolder);
        folder.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
        folders.Add(folder.GetPath());
    }
    return folders;
}

bool addMessageCatalogue(const wxArrayString& folders) {
    wxTranslations* translations = wxTranslations::Get();
    if (!translations) {
        return false;
    }
    if (translations->IsLoaded(kMessageDomain)) {
        return true;
    }
    for (const wxString& folder : folders) {
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder);
    }
    // Whether the messages' own language would do is not asked: only a loaded catalogue counts,
    // and naming that language makes wxWidgets build its table of every language first, which
    // costs a command without a window more than the rest of its start.
    return translations->AddCatalog(kMessageDomain, wxLANGUAGE_UNKNOWN) &&
           translations->IsLoaded(kMessageDomain);
}
