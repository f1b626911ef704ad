// The keyboard given back after a message box or a file dialog.
#pragma once

#include <wx/toplevel.h>
#include <wx/weakref.h>
#include <wx/window.h>

// Gives the keys back to the control that has them now once the message boxes and file dialogs
// shown while this lives have gone. A window manager gives the window back its focus; without
// one, the keys would go nowhere until a click.
class FocusReturn {
public:
    FocusReturn() : control_(wxWindow::FindFocus()) {}
    ~FocusReturn() {
        if (control_) {
            wxGetTopLevelParent(control_)->Raise();
            control_->SetFocus();
        }
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    wxWeakRef<wxWindow> control_;
};
