#include "psl_table_files.h"

#include <wx/filefn.h>
#include <wx/log.h>
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

wxString tableKindRefusal(const wxFileName& file, bool colorDependent) {
    if (fitsTableKind(file, colorDependent)) {
        return wxString();
    }
    return wxString::Format(_("%ls is not a valid name to save to."), file.GetFullName()) + " " +
           tableKindExtensionHint(colorDependent);
}

wxString saveFailureMessage(const wxString& path, int error) {
    wxString message = wxString::Format(_("Failed to save file: %ls"), path);
    if (error != 0) {
        message += " (" + wxSysErrorMsgStr(error) + ")";
    }
    return message;
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

wxFileName fileInFolder(const wxString& folder, const wxString& name) {
    if (folder.empty() || wxIsAbsolutePath(name)) {
        return wxFileName(name);
    }
    // wxFileName(folder, name) takes name for a bare file name and asserts on a separator.
    return wxFileName(wxFileName::DirName(folder).GetPathWithSep() + name);
}

namespace {

// The part of a typed name after its last folder separator: the file's own name.
wxString fileNamePart(const wxString& name) {
    const std::size_t separator = name.find_last_of(wxFileName::GetPathSeparators());
    return separator == wxString::npos ? name : name.substr(separator + 1);
}

// Blanks at either end do not show in a list of names; a leading dot hides the file.
bool isFileNamePart(const wxString& part) {
    return !part.empty() && part[0] != '.' && !wxIsspace(part[0]) && !wxIsspace(part.Last());
}

bool leavesFolder(const wxString& name) {
    const wxArrayString steps =
        wxStringTokenize(name, wxFileName::GetPathSeparators(), wxTOKEN_RET_EMPTY_ALL);
    return steps.Index("..") != wxNOT_FOUND;
}

bool isAllowedTableName(const wxString& name, NewTableReach reach) {
    if (!isFileNamePart(fileNamePart(name))) {
        return false;
    }
    if (reach == NewTableReach::folder) {
        return name.find_first_of(wxFileName::GetPathSeparators()) == wxString::npos;
    }
    return wxIsAbsolutePath(name) || !leavesFolder(name);
}

} // namespace

NewTableFile checkNewTableName(const wxString& name, const wxString& folder,
                               const wxString& extension, NewTableReach reach) {
    NewTableFile result;
    if (!isAllowedTableName(name, reach)) {
        result.refusal = wxString::Format(_("'%ls' is not a valid table name."), name);
        return result;
    }
    result.file = fileInFolder(folder, name);
    wxString wrongExtension;
    if (!completeTableFileName(result.file, extension, wrongExtension)) {
        result.refusal = wxString::Format(
            _("Extension '%ls' is not valid for this type of plot style table."), wrongExtension);
        return result;
    }
    // The folder given is the caller's to check; one the name leads into is the user's.
    const bool leadsIntoFolder =
        name.find_first_of(wxFileName::GetPathSeparators()) != wxString::npos;
    if (leadsIntoFolder && !result.file.DirExists()) {
        result.refusal = wxString::Format(_("Folder '%ls' does not exist."), result.file.GetPath());
        return result;
    }
    if (result.file.FileExists()) {
        result.refusal = wxString::Format(_("File '%ls' exists already."), name);
    }
    return result;
}
