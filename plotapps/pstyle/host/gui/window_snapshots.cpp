// Pictures of the dialogs, caught as the plug-in shows them: an event filter sees each dialog's
// init-dialog event, so the plug-in exports nothing for this beyond its entry points.
#include "window_snapshots.h"

#include <cstdio>
#include <functional>
#include <iterator>

#include <gtk/gtk.h>

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/eventfilter.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>
#include <wx/time.h>
#include <wx/utils.h>
#include <wx/weakref.h>
#include <wx/xrc/xmlres.h>

#include "command_support.h"
#include "plot_style_plugin.h"
#include "psl_window_layout.h"

namespace {

// The selection dialog, the new table dialog and the editor's three pages.
constexpr int kPictureCount = 5;

// Lets the toolkit run until done() holds, for at most 10 s.
void runUntil(const std::function<bool()>& done) {
    const wxLongLong start = wxGetLocalTimeMillis();
    while (!done() && wxGetLocalTimeMillis() - start < 10000) {
        wxEventLoopBase::GetActive()->YieldFor(wxEVT_CATEGORY_ALL);
        wxMilliSleep(5);
    }
}

void notePainted(bool* painted) {
    *painted = true;
}

// Lets the window manager and the toolkit lay out what was just shown or changed, then paint it
// whole once.
void letWindowsSettle(wxWindow* window) {
    runUntil([window] { return isLaidOut(window); });
    bool painted = false;
    GdkFrameClock* clock = gtk_widget_get_frame_clock(window->GetHandle());
    const gulong handler =
        g_signal_connect_swapped(clock, "after-paint", G_CALLBACK(notePainted), &painted);
    window->Refresh();
    gtk_widget_queue_draw(window->GetHandle());
    runUntil([&painted] { return painted; });
    g_signal_handler_disconnect(clock, handler);
}

// Copies what the window shows on the display; the list controls are drawn by the toolkit
// itself and appear only there, not when the widgets are asked to draw themselves.
bool saveWindowPicture(wxWindow* window, const wxString& path) {
    GtkWidget* widget = window->GetHandle();
    GdkPixbuf* picture = gdk_pixbuf_get_from_window(gtk_widget_get_window(widget), 0, 0,
                                                    gtk_widget_get_allocated_width(widget),
                                                    gtk_widget_get_allocated_height(widget));
    if (!picture) {
        return false;
    }
    const bool saved = gdk_pixbuf_save(picture, path.fn_str(), "png", nullptr, nullptr);
    g_object_unref(picture);
    return saved;
}

class WindowPictures {
public:
    WindowPictures(const wxString& folder, const wxString& sampleName)
        : folder_(folder), sampleName_(sampleName) {}

    int written() const { return written_; }

    // Pictures the dialog filled in as a user would have started to, then cancels it.
    void pictureDialog(wxDialog& dialog) {
        const wxString name = dialog.GetName();
        if (name == "DlgSelectTable") {
            XRCCTRL(dialog, "ComboSourceFile", wxComboBox)->SetValue(sampleName_);
            save(&dialog, "select-table.png");
        } else if (name == "DlgNewTable") {
            XRCCTRL(dialog, "TextTableName", wxTextCtrl)->SetValue("Office A3");
            save(&dialog, "new-table.png");
        } else if (name == "DlgPlotStyleEditor") {
            pictureEditorPages(dialog);
        } else {
            return;
        }
        dialog.EndModal(wxID_CANCEL);
    }

private:
    // Every page of the editor, with a few styles selected so that the Form View shows what a
    // multi-selection looks like.
    void pictureEditorPages(wxDialog& editor) {
        auto* styles = XRCCTRL(editor, "ListStyles", wxListCtrl);
        for (long row : {0L, 2L, 4L}) {
            if (row < styles->GetItemCount()) {
                styles->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
            }
        }
        auto* pages = XRCCTRL(editor, "NoteBook", wxNotebook);
        const char* const names[] = {"editor-general.png", "editor-form-view.png",
                                     "editor-lineweights.png"};
        for (size_t page = 0; page < pages->GetPageCount() && page < std::size(names); ++page) {
            pages->SetSelection(page);
            save(&editor, names[page]);
        }
    }

    // Writes what window shows to the folder and prints the picture's path.
    void save(wxWindow* window, const char* name) {
        letWindowsSettle(window);
        const wxString path = wxFileName(folder_, name).GetFullPath();
        if (saveWindowPicture(window, path)) {
            std::printf("%s\n", path.utf8_str().data());
            ++written_;
        }
    }

    wxString folder_;
    wxString sampleName_;
    int written_ = 0;
};

// Catches each dialog as it is about to be shown, and pictures it once its modal loop runs.
class DialogCatcher : public wxEventFilter {
public:
    explicit DialogCatcher(WindowPictures& pictures) : pictures_(pictures) {
        wxEvtHandler::AddFilter(this);
    }
    ~DialogCatcher() override { wxEvtHandler::RemoveFilter(this); }

    int FilterEvent(wxEvent& event) override {
        if (event.GetEventType() == wxEVT_INIT_DIALOG) {
            if (auto* dialog = dynamic_cast<wxDialog*>(event.GetEventObject())) {
                const wxWeakRef<wxDialog> shown(dialog);
                wxTheApp->CallAfter([this, shown] {
                    if (shown) {
                        pictures_.pictureDialog(*shown);
                    }
                });
            }
        }
        return Event_Skip;
    }

private:
    WindowPictures& pictures_;
};

} // namespace

int takeWindowSnapshots(const PlotStyleEntryPoints& plugIn, const wxString& sampleTable,
                        const wxString& folder) {
    const wxString pictureFolder =
        wxFileName::DirName(folder).GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    if (!wxFileName::Mkdir(pictureFolder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL)) {
        return fileError(toUtf8(folder), "cannot create the folder");
    }
    WindowPictures pictures(pictureFolder, wxFileName(sampleTable).GetFullName());
    {
        DialogCatcher catcher(pictures);
        plugIn.startPlotStyleEditor(nullptr);
        wxString cancelledName;
        plugIn.newPlotStyleTable(cancelledName, true, wxFileName(sampleTable).GetPath(), nullptr);
        plugIn.editPlotStyleTable(sampleTable, nullptr);
    }
    return pictures.written() == kPictureCount
               ? kExitSuccess
               : fileError(toUtf8(folder), "not every picture could be written");
}
