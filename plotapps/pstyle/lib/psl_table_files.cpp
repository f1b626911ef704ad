#include "psl_table_files.h"

wxString tableFileExtension(bool colorDependent) {
    return colorDependent ? "ctb" : "stb";
}

bool hasColorDependentExtension(const wxFileName& file) {
    return fitsTableKind(file, true);
}

bool isPlotStyleTableFile(const wxFileName& file) {
    const wxString extension = file.GetExt().Lower();
    return extension == tableFileExtension(true) || extension == tableFileExtension(false);
}

bool fitsTableKind(const wxFileName& file, bool colorDependent) {
    return file.GetExt().Lower() == tableFileExtension(colorDependent);
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
