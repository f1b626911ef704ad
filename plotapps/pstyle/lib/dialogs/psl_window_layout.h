// Whether a window on the screen shows what its layout planned, for the code that pictures or
// measures it: the window manager and GTK each take their own time.
#pragma once

#include <gtk/gtk.h>

#include <wx/window.h>

namespace windowLayout {

// Every control of window that is on the screen has the size that the layout gave it.
inline bool controlsPlaced(const wxWindow* window) {
    for (const wxWindow* child : window->GetChildren()) {
        GtkWidget* widget = child->GetHandle();
        if (!gtk_widget_get_mapped(widget)) {
            continue;
        }
        GtkAllocation allocation;
        gtk_widget_get_allocation(widget, &allocation);
        if (wxSize(allocation.width, allocation.height) != child->GetSize() ||
            !controlsPlaced(child)) {
            return false;
        }
    }
    return true;
}

} // namespace windowLayout

// The top-level window is on the screen with the size last asked for, at least its least size
// (the window manager may first answer an earlier request), and its controls are placed.
inline bool isLaidOut(const wxWindow* window) {
    GtkWidget* widget = window->GetHandle();
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    const wxSize client = window->GetClientSize();
    const wxSize least = window->GetMinClientSize();
    return gtk_widget_get_mapped(widget) && wxSize(allocation.width, allocation.height) == client &&
           client.x >= least.x && client.y >= least.y && windowLayout::controlsPlaced(window);
}
