#include "user_input.h"

#include <map>

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/arrstr.h>
#include <wx/dialog.h>
#include <wx/time.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>

#include "gui_test_support.h"

namespace {

Display* xDisplay() {
    return GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
}

void fakeKey(KeySym key, bool down) {
    const KeyCode code = XKeysymToKeycode(xDisplay(), key);
    if (code == 0) {
        ADD_FAILURE() << "no key gives " << XKeysymToString(key);
        return;
    }
    XTestFakeKeyEvent(xDisplay(), code, down, CurrentTime);
}

void pressWith(const std::vector<KeySym>& modifiers, KeySym key) {
    for (KeySym modifier : modifiers) {
        fakeKey(modifier, true);
    }
    fakeKey(key, true);
    fakeKey(key, false);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) {
        fakeKey(*modifier, false);
    }
    XFlush(xDisplay());
}

GtkTreeView* findTreeView(GtkWidget* widget) {
    if (GTK_IS_TREE_VIEW(widget)) {
        return GTK_TREE_VIEW(widget);
    }
    GtkTreeView* found = nullptr;
    if (GTK_IS_CONTAINER(widget)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList* child = children; child && !found; child = child->next) {
            found = findTreeView(GTK_WIDGET(child->data));
        }
        g_list_free(children);
    }
    return found;
}

// A window property that holds one value of type, as the window manager sets it.
unsigned char* windowProperty(Window window, const char* name, Atom type, unsigned long& count) {
    Atom actualType = None;
    int format = 0;
    unsigned long remaining = 0;
    unsigned char* value = nullptr;
    XGetWindowProperty(xDisplay(), window, XInternAtom(xDisplay(), name, False), 0, 1024, False,
                       type, &actualType, &format, &count, &remaining, &value);
    return value;
}

GtkWindow* gtkTopLevel(const wxWindow* window) {
    return GTK_WINDOW(wxGetTopLevelParent(const_cast<wxWindow*>(window))->GetHandle());
}

// The toolkit's top-level windows that are on the screen: dialogs, menus, popups.
std::vector<GtkWidget*> shownGtkWindows() {
    std::vector<GtkWidget*> shown;
    GList* windows = gtk_window_list_toplevels();
    for (GList* window = windows; window; window = window->next) {
        if (gtk_widget_get_mapped(GTK_WIDGET(window->data))) {
            shown.push_back(GTK_WIDGET(window->data));
        }
    }
    g_list_free(windows);
    return shown;
}

} // namespace

void pressKeys(const char* keys) {
    const std::map<wxString, KeySym> modifierKeys = {
        {"ctrl", XK_Control_L}, {"shift", XK_Shift_L}, {"alt", XK_Alt_L}};
    for (const wxString& chord : wxSplit(keys, ' ', '\0')) {
        const wxArrayString parts = wxSplit(chord, '+', '\0');
        std::vector<KeySym> modifiers;
        for (std::size_t part = 0; part + 1 < parts.size(); ++part) {
            ASSERT_TRUE(modifierKeys.count(parts[part])) << chord;
            modifiers.push_back(modifierKeys.at(parts[part]));
        }
        const KeySym key = XStringToKeysym(parts.Last().utf8_str());
        ASSERT_NE(key, KeySym(NoSymbol)) << chord;
        pressWith(modifiers, key);
    }
}

void typeText(const wxString& text) {
    for (const wxUniChar character : text) {
        const KeySym key = character.GetValue() < 0x100 ? KeySym(character.GetValue())
                                                        : 0x01000000 + character.GetValue();
        // A character that the key does not give unshifted needs Shift.
        const KeyCode code = XKeysymToKeycode(xDisplay(), key);
        const bool shifted = code != 0 && XkbKeycodeToKeysym(xDisplay(), code, 0, 0) != key;
        pressWith(shifted ? std::vector<KeySym>{XK_Shift_L} : std::vector<KeySym>{}, key);
    }
}

void clickAt(const wxPoint& point) {
    XTestFakeMotionEvent(xDisplay(), -1, point.x, point.y, CurrentTime);
    XTestFakeButtonEvent(xDisplay(), 1, True, CurrentTime);
    // Held for a moment, as a finger does: the server lets the release and all that follows it
    // wait. GTK's spin buttons lose the keys after a press released at the same instant.
    XTestFakeButtonEvent(xDisplay(), 1, False, 30);
    XFlush(xDisplay());
}

wxString activeWindowTitle() {
    unsigned long count = 0;
    unsigned char* active =
        windowProperty(DefaultRootWindow(xDisplay()), "_NET_ACTIVE_WINDOW", XA_WINDOW, count);
    wxString title;
    const Window window = active && count == 1 ? *reinterpret_cast<Window*>(active) : None;
    if (window != None) {
        // The window may go before its title is read.
        gdk_x11_display_error_trap_push(gdk_display_get_default());
        unsigned char* name = windowProperty(window, "_NET_WM_NAME",
                                             XInternAtom(xDisplay(), "UTF8_STRING", False), count);
        gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
        title = name ? wxString::FromUTF8(reinterpret_cast<char*>(name), count) : wxString();
        XFree(name);
    }
    XFree(active);
    return title;
}

bool waitUntil(const std::function<bool()>& done) {
    const wxLongLong start = wxGetLocalTimeMillis();
    while (!done()) {
        if (wxGetLocalTimeMillis() - start > 10000) {
            return false;
        }
        wxTheApp->Yield();
        wxMilliSleep(20);
    }
    return true;
}

// The completion lists its matches in a tree view that filters the completion's names.
GtkWidget* shownCompletionPopup(GtkWidget* entry) {
    GtkEntryCompletion* completion = gtk_entry_get_completion(GTK_ENTRY(entry));
    if (!completion) {
        return nullptr;
    }
    for (GtkWidget* window : shownGtkWindows()) {
        GtkTreeView* list = findTreeView(window);
        GtkTreeModel* shown = list ? gtk_tree_view_get_model(list) : nullptr;
        if (GTK_IS_TREE_MODEL_FILTER(shown) &&
            gtk_tree_model_filter_get_model(GTK_TREE_MODEL_FILTER(shown)) ==
                gtk_entry_completion_get_model(completion)) {
            return window;
        }
    }
    return nullptr;
}

GtkWidget* shownGtkDialog() {
    for (GtkWidget* window : shownGtkWindows()) {
        if (GTK_IS_DIALOG(window)) {
            return window;
        }
    }
    return nullptr;
}

GtkWidget* activeGtkDialog() {
    GtkWidget* dialog = shownGtkDialog();
    return dialog && gtk_window_is_active(GTK_WINDOW(dialog)) ? dialog : nullptr;
}

bool receivesKeys(const wxWindow* window) {
    return gtk_window_is_active(gtkTopLevel(window));
}

GtkWidget* gtkFocus(const wxWindow* window) {
    return receivesKeys(window) ? gtk_window_get_focus(gtkTopLevel(window)) : nullptr;
}

UserSteps& UserSteps::then(const char* what, std::function<bool()> ready,
                           std::function<void()> act) {
    steps_.push_back({what, std::move(ready), std::move(act)});
    return *this;
}

void UserSteps::start() {
    waitingSince_ = wxGetLocalTimeMillis();
    Start(20);
}

void UserSteps::Notify() {
    if (failed_) {
        giveUp();
        return;
    }
    if (finished()) {
        Stop();
        return;
    }
    const Step& step = steps_[next_];
    if (step.ready()) {
        ++next_;
        waitingSince_ = wxGetLocalTimeMillis();
        step.act();
    } else if (wxGetLocalTimeMillis() - waitingSince_ > 10000) {
        wxString shown;
        for (GtkWidget* window : shownGtkWindows()) {
            const gchar* title = gtk_window_get_title(GTK_WINDOW(window));
            shown += wxString::Format(" %s '%s'", G_OBJECT_TYPE_NAME(window), title ? title : "");
        }
        ADD_FAILURE() << "waited in vain: " << step.what << "; on the screen:" << shown;
        failed_ = true;
        giveUp();
    }
}

// One window a tick, the innermost first, until none is left.
void UserSteps::giveUp() {
    if (GtkWidget* dialog = shownGtkDialog()) {
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
    } else if (wxDialog* modal = activeModalDialog()) {
        modal->EndModal(wxID_CANCEL);
    } else {
        Stop();
    }
}
