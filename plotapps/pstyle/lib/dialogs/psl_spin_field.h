// The number fields of the Form View.
#pragma once

#include <optional>

#include <wx/spinctrl.h>

// A whole number, "Automatic" for 0 where 0 means that, or "Varies" while the selected styles
// differ. Text that is no number is refused where GTK takes it in: the value stays and the field
// shows again what it showed. While it says "Varies", its arrows change nothing until a number is
// typed. The layout names it as the class of its spin controls.
class SpinField : public wxSpinCtrl {
public:
    // Called once, after the layout made the field: whether 0 reads "Automatic".
    void setUp(bool zeroIsAutomatic);
    // Shows value, or "Varies" without one. The arrows go from first to last, and further where
    // the value lies outside.
    void showValue(std::optional<int> value, int first, int last);
    // The number in the field, 0 for "Automatic"; none for "Varies" or text that is no number.
    std::optional<long> typedValue() const;

    GTKInputResult GTKInput(double* value) const override;
    bool GTKOutput(wxString* text) const override;

private:
    bool zeroIsAutomatic_ = false;
    // Until a number is typed; GTK reads the field while the field itself stays unchanged.
    mutable bool varies_ = false;

    wxDECLARE_DYNAMIC_CLASS(SpinField);
};
