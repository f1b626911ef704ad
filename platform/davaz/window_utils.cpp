#include <davaz/wxg_combo.h>

#include <wx/display.h>
#include <wx/sizer.h>

namespace wxg {

bool replaceWnd(wxWindow* old, wxWindow* replacement) {
    if (!old || !replacement || old == replacement) {
        return false;
    }
    wxSizer* sizer = old->GetContainingSizer();
    if (!sizer || !sizer->Replace(old, replacement)) {
        return false;
    }
    // The sizer no longer holds old; deleting it must not detach the replacement.
    old->SetContainingSizer(nullptr);
    return true;
}

bool isDpiForLargeIcons() {
    const wxDisplay display;
    return display.GetPPI().y / display.GetScaleFactor() >= 144;
}

} // namespace wxg
