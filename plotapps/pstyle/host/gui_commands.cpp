// Commands that show the library's dialogs. The host sets up the GUI toolkit as the library
// expects: image handlers and every standard layout handler installed before the first dialog.
#include <cstdio>

#include <gtk/gtk.h>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <kesutils/ut_services.h>

#include "host_commands.h"
#include "pstyle_lib.h"

namespace {

class HostApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        return true;
    }
};

// The GUI toolkit, running for as long as the session lives.
class GuiSession {
public:
    GuiSession(int argc, char** argv) {
        wxApp::SetInstance(new HostApp);
        started_ = wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
    }
    ~GuiSession() {
        if (started_) {
            wxTheApp->OnExit();
        }
        wxEntryCleanup();
    }
    bool started() const { return started_; }

private:
    bool started_ = false;
};

int noDisplay() {
    std::fprintf(stderr, "pstyle: cannot start the GUI toolkit: no X display (set DISPLAY, or "
                         "run under xvfb-run)\n");
    return kExitFailure;
}

// Lets the toolkit map and paint what was just shown or changed.
void letWindowsSettle(wxWindow* window) {
    window->Refresh();
    window->Update();
    for (int round = 0; round < 20; ++round) {
        wxEventLoopBase::GetActive()->YieldFor(wxEVT_CATEGORY_ALL);
        wxMilliSleep(15);
    }
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

wxDialog* activeDialog() {
    for (wxWindow* window : wxTopLevelWindows) {
        if (auto* dialog = wxDynamicCast(window, wxDialog); dialog && dialog->IsModal()) {
            return dialog;
        }
    }
    return nullptr;
}

// Pictures every page of the editor that is open, with a few styles selected so that the Form
// View shows what a multi-selection looks like, then closes it without saving.
void pictureEditorPages(const wxString& folder, int& written) {
    wxDialog* editor = activeDialog();
    if (!editor) {
        return;
    }
    auto* styles = XRCCTRL(*editor, "ListStyles", wxListCtrl);
    for (long row : {0L, 2L, 4L}) {
        if (row < styles->GetItemCount()) {
            styles->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        }
    }
    auto* pages = XRCCTRL(*editor, "NoteBook", wxNotebook);
    const char* const names[] = {"editor-general.png", "editor-form-view.png",
                                 "editor-lineweights.png"};
    for (size_t page = 0; page < pages->GetPageCount() && page < std::size(names); ++page) {
        pages->SetSelection(page);
        letWindowsSettle(editor);
        const wxString path = wxFileName(folder, names[page]).GetFullPath();
        if (saveWindowPicture(editor, path)) {
            std::printf("%s\n", path.utf8_str().data());
            ++written;
        }
    }
    editor->EndModal(wxID_CANCEL);
}

} // namespace

int runEdit(const std::vector<std::string>& args, int argc, char** argv) {
    FileArguments parsed;
    if (!checkEditArguments(args, parsed)) {
        return kExitFailure;
    }
    const std::string& file = parsed.file;
    const std::string& source = parsed.optionFile;
    GuiSession session(argc, argv);
    if (!session.started()) {
        return noDisplay();
    }
    const wxString path = wxFileName(wxString::FromUTF8(file.c_str())).GetAbsolutePath();
    const wxString sourcePath =
        source.empty() ? wxString()
                       : wxFileName(wxString::FromUTF8(source.c_str())).GetAbsolutePath();
    return editPlotStyleTable(path, sourcePath, nullptr) ? kExitSuccess : kExitCancelled;
}

int runSnapshot(const std::vector<std::string>& args, int argc, char** argv) {
    if (args.size() != 1) {
        return usageError("snapshot needs a folder for the pictures");
    }
    const wxString folder = wxFileName::DirName(wxString::FromUTF8(args[0].c_str()))
                                .GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    if (!wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL)) {
        return fileError(args[0], "cannot create the folder");
    }
    GuiSession session(argc, argv);
    if (!session.started()) {
        return noDisplay();
    }
    const wxString sample =
        wxFileName(ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath"), "default.ctb")
            .GetFullPath();
    if (!wxFileName::FileExists(sample)) {
        return fileError(std::string(sample.utf8_str()), "the sample table is missing");
    }
    int written = 0;
    wxTheApp->CallAfter([&folder, &written] { pictureEditorPages(folder, written); });
    editPlotStyleTable(sample, nullptr);
    return written > 0 ? kExitSuccess : fileError(args[0], "no picture could be written");
}
