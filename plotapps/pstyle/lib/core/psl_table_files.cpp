#include "psl_table_files.h"

#include <wx/filefn.h>
#include <wx/tokenzr.h>
#include <wx/translation.h>

wxString tableFileExtension(bool colorDependent) {
    return colorDependent ? "ctb" : "stb";
}

bool hasColorDependentExtension(const wxFileName& file) {
    return fitsTableKind(file, true);
}

namespace {

// Listing a folder asks this for every file in it.
bool isPlotStyleTableExtension(const wxString& extension) {
    static const wxString colorDependent = tableFileExtension(true);
    static const wxString named = tableFileExtension(false);
    return extension.IsSameAs(colorDependent, false) || extension.IsSameAs(named, false);
}

} // namespace

bool isPlotStyleTableFile(const wxFileName& file) {
    return isPlotStyleTableExtension(file.GetExt());
}

bool isPlotStyleTableName(const wxString& fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot != wxString::npos && dot > 0 && isPlotStyleTableExtension(fileName.substr(dot + 1));
}

bool fitsTableKind(const wxFileName& file, bool colorDependent) {
    return file.GetExt().Lower() == tableFileExtension(colorDependent);
}

wxString tableKindExtensionHint(bool colorDependent) {
    return colorDependent ? _("A color-dependent table is saved with the extension .ctb.")
                          : _("A named table is saved with the extension .stb.");
}

bool completeTableFileName(wxFileName& file, const wxString& expectedExtension,
                           wxString& wrongExtension) {
    if (!file.HasExt()) {
        file.SetExt(expectedExtension);
        return true;
    }
    const wxString extension = file.GetExt().Lower();
    if (extension != expectedExtension) {
        wrongExtension = extension;
        return false;
    }
    return true;
}

bool staysInFolder(const wxString& name) {
    const wxArrayString steps =
        wxStringTokenize(name, wxFileName::GetPathSeparators(), wxTOKEN_RET_EMPTY_ALL);
    if (steps.empty() || steps.Last().Strip(wxString::both).empty() || steps.Last() == ".") {
        return false;
    }
    return steps.Index("..") == wxNOT_FOUND;
}

bool isPlainFileName(const wxString& name) {
    return staysInFolder(name) &&
           name.find_first_of(wxFileName::GetPathSeparators()) == wxString::npos;
}

wxFileName fileInFolder(const wxString& folder, const wxString& name) {
    if (folder.empty() || wxIsAbsolutePath(name)) {
        return wxFileName(name);
    }
    // wxFileName(folder, name) takes name for a bare file name and asserts on a separator.
    return wxFileName(wxFileName::DirName(folder).GetPathWithSep() + name);
}
