#include "psl_spin_field.h"

#include <algorithm>

#include <gtk/gtk.h>

#include "psl_value_text.h"

wxIMPLEMENT_DYNAMIC_CLASS(SpinField, wxSpinCtrl);

void SpinField::setUp(bool zeroIsAutomatic) {
    zeroIsAutomatic_ = zeroIsAutomatic;
    // GTK's spin button drops every character that cannot be part of a number, and sizes itself
    // for the digits of its range; the field shows words too.
    gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(GetHandle()), FALSE);
    const int textWidth =
        std::max(GetTextExtent(_("Automatic")).x, GetTextExtent(_("Varies")).x) + GetCharWidth();
    SetMinSize(wxSize(GetSizeFromTextSize(textWidth).x, -1));
}

void SpinField::showValue(std::optional<int> value, int first, int last) {
    varies_ = !value;
    const int shown = value.value_or(first);
    SetRange(std::min(first, shown), std::max(last, shown));
    // GTK shows the value through GTKOutput even when it does not change.
    SetValue(shown);
}

std::optional<long> SpinField::typedValue() const {
    const wxString text = GetTextValue().Strip(wxString::both);
    if (zeroIsAutomatic_ && text == _("Automatic")) {
        return 0;
    }
    return parseInteger(text);
}

SpinField::GTKInputResult SpinField::GTKInput(double* value) const {
    if (const std::optional<long> typed = typedValue()) {
        varies_ = false;
        *value = std::clamp(double(*typed), double(GetMin()), double(GetMax()));
    } else {
        *value = gtk_spin_button_get_value(GTK_SPIN_BUTTON(GetHandle()));
    }
    return GTKInput_Converted;
}

bool SpinField::GTKOutput(wxString* text) const {
    if (varies_) {
        *text = _("Varies");
        return true;
    }
    if (zeroIsAutomatic_ && gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(GetHandle())) == 0) {
        *text = _("Automatic");
        return true;
    }
    return false;
}
