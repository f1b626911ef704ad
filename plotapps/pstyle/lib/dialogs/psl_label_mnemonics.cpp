#include "psl_label_mnemonics.h"

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/stattext.h>

#include <gtk/gtk.h>

namespace {

// Letters are compared as GTK's key values in lower case, which need no locale.
guint lowerKeyOf(wxUniChar letter) {
    return gdk_keyval_to_lower(gdk_unicode_to_keyval(letter.GetValue()));
}

guint mnemonicKeyOf(const wxControl* control) {
    wxString shown;
    const int index = wxControl::FindAccelIndex(control->GetLabel(), &shown);
    return index == wxNOT_FOUND ? GDK_KEY_VoidSymbol : lowerKeyOf(shown[index]);
}

wxControl* findMnemonic(wxWindow* window, guint key) {
    if (auto* book = dynamic_cast<wxBookCtrlBase*>(window)) {
        wxWindow* page = book->GetCurrentPage();
        return page ? findMnemonic(page, key) : nullptr;
    }
    for (wxWindow* child : window->GetChildren()) {
        if (!child->IsShown()) {
            continue;
        }
        auto* control = dynamic_cast<wxControl*>(child);
        const bool labelled = dynamic_cast<wxStaticText*>(child) || dynamic_cast<wxButton*>(child);
        if (labelled && mnemonicKeyOf(control) == key) {
            return control;
        }
        if (wxControl* found = findMnemonic(child, key)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

wxControl* controlWithMnemonic(wxWindow* window, const wxKeyEvent& event) {
    // The character names the letter as the keyboard's layout gives it (Alt+ä); an event made
    // by a program may carry the key code alone.
    const int letter =
        event.GetUnicodeKey() != WXK_NONE ? int(event.GetUnicodeKey()) : event.GetKeyCode();
    const guint key = lowerKeyOf(wxUniChar(letter));
    return findMnemonic(window, key);
}
