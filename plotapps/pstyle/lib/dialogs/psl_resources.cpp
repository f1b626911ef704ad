#include "psl_resources.h"

#include <dlfcn.h>

#include <wx/filename.h>
#include <wx/window.h>
#include <wx/xrc/xmlres.h>

#include "psl_translations.h"

namespace {

// The exports run on the host's GUI thread only, so a plain flag is enough.
bool resourcesRegistered = false;

// The folder of the binary that holds the library: the plug-in, or a program built with it.
wxString libraryFolder() {
    Dl_info info;
    if (!dladdr(reinterpret_cast<const void*>(&ensureResources), &info) || !info.dli_fname) {
        return wxString();
    }
    wxFileName binary(wxString(info.dli_fname, *wxConvFileName));
    binary.MakeAbsolute();
    return binary.GetPath();
}

} // namespace

void ensureResources() {
    if (!resourcesRegistered) {
        registerResources();
        registerDoubleResolutionImages();
        resourcesRegistered = true;
    }
    // Checked at every call: a host may set up its translations after the first dialog.
    addMessageCatalogue(catalogueFolders(libraryFolder(), PSTYLE_LOCALE_FROM_LIB));
}

wxBitmapBundle catalogueImage(const wxString& name) {
    wxXmlResource* resources = wxXmlResource::Get();
    if (!resources->GetResourceNode(name)) {
        return wxBitmapBundle();
    }
    wxVector<wxBitmap> drawings(1, resources->LoadBitmap(name));
    const wxString doubleSize = name + "@2x";
    if (resources->GetResourceNode(doubleSize)) {
        drawings.push_back(resources->LoadBitmap(doubleSize));
    }
    return wxBitmapBundle::FromBitmaps(drawings);
}

wxBitmap catalogueBitmap(const wxString& name, const wxWindow* window) {
    const wxBitmapBundle image = catalogueImage(name);
    if (!image.IsOk()) {
        return wxNullBitmap;
    }
    const double scale = window->GetContentScaleFactor();
    wxBitmap bitmap = image.GetBitmap(image.GetDefaultSize() * scale);
    bitmap.SetScaleFactor(scale);
    return bitmap;
}
