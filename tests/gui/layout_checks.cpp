#include "layout_checks.h"

#include <map>

#include <wx/anybutton.h>
#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

#include "psl_window_layout.h"
#include "user_input.h"

namespace {

// A frame's title names a group and leads to no control, so it is no label here.
bool hasLabel(const wxWindow* window) {
    return dynamic_cast<const wxStaticText*>(window) || dynamic_cast<const wxAnyButton*>(window) ||
           dynamic_cast<const wxCheckBox*>(window) || dynamic_cast<const wxRadioButton*>(window);
}

// Fields of one line of text, whose letters' descenders need the natural height.
bool isField(const wxWindow* window) {
    if (auto* text = dynamic_cast<const wxTextCtrl*>(window)) {
        return !text->IsMultiLine();
    }
    return dynamic_cast<const wxComboBox*>(window) || dynamic_cast<const wxChoice*>(window) ||
           dynamic_cast<const wxSpinCtrl*>(window) || dynamic_cast<const wxSpinCtrlDouble*>(window);
}

void collectMnemonics(const wxWindow* window, std::vector<Mnemonic>& mnemonics) {
    if (auto* book = dynamic_cast<const wxBookCtrlBase*>(window)) { // its other pages are hidden
        if (book->GetCurrentPage()) {
            collectMnemonics(book->GetCurrentPage(), mnemonics);
        }
        return;
    }
    for (const wxWindow* child : window->GetChildren()) {
        if (!child->IsShown()) {
            continue;
        }
        collectMnemonics(child, mnemonics);
        if (!hasLabel(child) || child->GetLabel().empty()) {
            continue;
        }
        wxString shown;
        const int index = wxControl::FindAccelIndex(child->GetLabel(), &shown);
        mnemonics.push_back({child->GetName(), child->GetLabel(),
                             index == wxNOT_FOUND ? wxString() : shown.Mid(index, 1).Lower()});
    }
}

// The natural size GTK gives the widget, the one its text needs.
wxSize naturalSize(GtkWidget* widget) {
    int minimum = 0;
    wxSize natural;
    gtk_widget_get_preferred_width(widget, &minimum, &natural.x);
    gtk_widget_get_preferred_height_for_width(widget, gtk_widget_get_allocated_width(widget),
                                              &minimum, &natural.y);
    return natural;
}

void collectSmall(const wxWindow* window, std::vector<Undersized>& small) {
    for (const wxWindow* child : window->GetChildren()) {
        if (!child->IsShown()) {
            continue;
        }
        collectSmall(child, small);
        const bool label = hasLabel(child) && !child->GetLabel().empty() &&
                           !child->HasFlag(wxST_NO_AUTORESIZE); // a message wraps at its width
        if (!label && !isField(child)) {
            continue;
        }
        GtkWidget* widget = child->GetHandle();
        const wxSize needed = naturalSize(widget);
        const wxSize has(gtk_widget_get_allocated_width(widget),
                         gtk_widget_get_allocated_height(widget));
        if ((label && has.x < needed.x) || (!label && has.y < needed.y)) {
            small.push_back({child->GetName(),
                             wxString::Format("'%s': needs %dx%d, has %dx%d", child->GetLabel(),
                                              needed.x, needed.y, has.x, has.y)});
        }
    }
}

} // namespace

std::vector<Mnemonic> shownMnemonics(const wxWindow* window) {
    std::vector<Mnemonic> mnemonics;
    collectMnemonics(window, mnemonics);
    return mnemonics;
}

wxString sharedMnemonics(const std::vector<Mnemonic>& mnemonics) {
    std::map<wxString, wxArrayString> labelsOf;
    for (const Mnemonic& mnemonic : mnemonics) {
        if (!mnemonic.letter.empty()) {
            labelsOf[mnemonic.letter].push_back(mnemonic.label);
        }
    }
    wxString shared;
    for (const auto& [letter, labels] : labelsOf) {
        if (labels.size() > 1) {
            shared += "\n  " + letter + ": " + wxJoin(labels, ',', '\0');
        }
    }
    return shared;
}

std::vector<Undersized> controlsBelowTheirNaturalSize(const wxWindow* window) {
    std::vector<Undersized> small;
    collectSmall(window, small);
    return small;
}

bool waitUntilLaidOut(const wxWindow* window) {
    return waitUntil([window] { return isLaidOut(window); });
}
