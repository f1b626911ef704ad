// A user at the keyboard of the real screen: keys pressed through the X server, which hands them
// to the window that has its focus (the window manager gave it), and steps that wait for what
// they need to show before they act, as a user looks before typing.
#pragma once

#include <functional>
#include <vector>

#include <wx/gdicmn.h>
#include <wx/string.h>
#include <wx/timer.h>

typedef struct _GtkWidget GtkWidget;
class wxWindow;

// Presses and releases keys in turn, each with its modifiers: "alt+f", "ctrl+shift+z period".
void pressKeys(const char* keys);
// Types text key by key, with Shift where a character needs it.
void typeText(const wxString& text);
// Clicks the first mouse button at a point of the screen.
void clickAt(const wxPoint& point);
// The title of the window that the window manager gave the focus, in any program.
wxString activeWindowTitle();
// Lets the toolkit run until done() holds, for at most 10 s; false when it never did.
bool waitUntil(const std::function<bool()>& done);

// The popup on the screen that lists the completions of the text entry, or null.
GtkWidget* shownCompletionPopup(GtkWidget* entry);
// The toolkit's own dialog on the screen (a message box, a file chooser), or null.
GtkWidget* shownGtkDialog();
// That dialog once the window manager gave it the keys, or null.
GtkWidget* activeGtkDialog();
// True when the keys typed go to window's top-level window: the window manager has given it the
// focus (a toolkit's own dialog in front of it has gone).
bool receivesKeys(const wxWindow* window);
// The GTK widget that has the keyboard focus in window's top-level window, or null.
GtkWidget* gtkFocus(const wxWindow* window);

// Steps that each wait until ready() holds, then act once. They run from a timer, in
// whichever modal loop runs at the time, so that they reach the dialogs an earlier step opened.
// A step that waits more than 10 s fails the test and closes the dialogs left open.
class UserSteps : public wxTimer {
public:
    UserSteps& then(const char* what, std::function<bool()> ready, std::function<void()> act);
    void start();
    bool finished() const { return next_ == steps_.size(); }

protected:
    void Notify() override;

private:
    struct Step {
        const char* what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    void giveUp();

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    wxLongLong waitingSince_;
    bool failed_ = false;
};
