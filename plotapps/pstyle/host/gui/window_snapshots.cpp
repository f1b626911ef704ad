// Commands that show the library's dialogs. The host sets up the GUI toolkit as the library
// expects: image handlers and every standard layout handler installed before the first dialog.
#include <cstdio>
#include <functional>

#include <gtk/gtk.h>

#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <kesutils/ut_services.h>

#include "host_commands.h"
#include "pstyle_lib.h"

namespace {

const char* const kSampleTable = "default.ctb";
// The selection dialog, the new table dialog and the editor's three pages.
constexpr int kPictureCount = 5;

class HostApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        return true;
    }
};

// The GUI toolkit, running for as long as the session lives; it does not start without a
// display, where GTK would abort the program.
class GuiSession {
public:
    GuiSession(int argc, char** argv) {
        // The display stays open: GTK takes it as its default. Closing it could make an X
        // server without other clients reset just as the toolkit connects.
        if (!gdk_display_open(nullptr)) {
            return;
        }
        wxApp::SetInstance(new HostApp);
        entered_ = wxEntryStart(argc, argv);
        started_ = entered_ && wxTheApp->CallOnInit();
    }
    ~GuiSession() {
        if (started_) {
            wxTheApp->OnExit();
        }
        // Cleaning up after a failed start aborts inside GTK.
        if (entered_) {
            wxEntryCleanup();
        }
    }
    bool started() const { return started_; }

private:
    bool entered_ = false;
    bool started_ = false;
};

int noDisplay() {
    std::fprintf(stderr, "pstyle: this command needs a display (set DISPLAY, or run it under "
                         "xvfb-run)\n");
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
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) {
            return dialog;
        }
    }
    return nullptr;
}

// Writes what window shows to folder/name and prints the picture's path.
void savePicture(wxWindow* window, const wxString& folder, const char* name, int& written) {
    letWindowsSettle(window);
    const wxString path = wxFileName(folder, name).GetFullPath();
    if (saveWindowPicture(window, path)) {
        std::printf("%s\n", path.utf8_str().data());
        ++written;
    }
}

// Pictures the dialog that is open once fillIn has filled it in, then cancels it.
void pictureDialog(const wxString& folder, const char* name, int& written,
                   const std::function<void(wxDialog&)>& fillIn) {
    wxDialog* dialog = activeDialog();
    if (!dialog) {
        return;
    }
    fillIn(*dialog);
    savePicture(dialog, folder, name, written);
    dialog->EndModal(wxID_CANCEL);
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
        savePicture(editor, folder, names[page], written);
    }
    editor->EndModal(wxID_CANCEL);
}

} // namespace

int runSelection(int argc, char** argv) {
    const wxString folder = ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath");
    if (!wxFileName::DirExists(folder)) {
        return fileError(std::string(folder.utf8_str()), "no such folder");
    }
    GuiSession session(argc, argv);
    if (!session.started()) {
        return noDisplay();
    }
    return startPlotStyleEditor(nullptr) ? kExitSuccess : kExitCancelled;
}

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
    const wxString path = wxFileName(fromUtf8(file)).GetAbsolutePath();
    const wxString sourcePath =
        source.empty() ? wxString() : wxFileName(fromUtf8(source)).GetAbsolutePath();
    return editPlotStyleTable(path, sourcePath, nullptr) ? kExitSuccess : kExitCancelled;
}

int runNew(const std::vector<std::string>& args, int argc, char** argv) {
    int kinds = 0;
    bool colorDependent = false;
    std::string folder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--ctb" || args[i] == "--stb") {
            colorDependent = args[i] == "--ctb";
            ++kinds;
        } else if (args[i] == "--dir" && i + 1 < args.size()) {
            folder = args[++i];
        } else if (args[i] == "--dir") {
            return usageError("new: --dir needs a folder");
        } else {
            return usageError("new: unexpected argument '" + args[i] + "'");
        }
    }
    if (kinds != 1) {
        return usageError("new needs one of --ctb and --stb");
    }
    wxString directory = folder.empty()
                             ? ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath")
                             : fromUtf8(folder);
    if (!wxFileName::DirExists(directory)) {
        return fileError(std::string(directory.utf8_str()), "no such folder");
    }
    directory = wxFileName::DirName(directory).GetAbsolutePath();
    GuiSession session(argc, argv);
    if (!session.started()) {
        return noDisplay();
    }
    wxString tableName;
    const bool created = newPlotStyleTable(tableName, colorDependent, directory, nullptr);
    if (!tableName.empty()) {
        std::printf("%s\n", tableName.utf8_str().data());
    }
    return created ? kExitSuccess : kExitCancelled;
}

int runSnapshot(const std::vector<std::string>& args, int argc, char** argv) {
    if (args.size() != 1) {
        return usageError("snapshot needs a folder for the pictures");
    }
    GuiSession session(argc, argv);
    if (!session.started()) {
        return noDisplay();
    }
    // The pictures always show the tables that ship with the program.
    configurePlotStylePath(std::string(), argv[0]);
    const wxString samples = ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath");
    const wxString sample = wxFileName(samples, kSampleTable).GetFullPath();
    if (!wxFileName::FileExists(sample)) {
        return fileError(std::string(sample.utf8_str()), "the sample table is missing");
    }
    const wxString folder =
        wxFileName::DirName(fromUtf8(args[0])).GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    if (!wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL)) {
        return fileError(args[0], "cannot create the folder");
    }
    int written = 0;
    wxTheApp->CallAfter([&folder, &written] {
        pictureDialog(folder, "select-table.png", written, [](wxDialog& dialog) {
            XRCCTRL(dialog, "ComboSourceFile", wxComboBox)->SetValue(kSampleTable);
        });
    });
    startPlotStyleEditor(nullptr);
    wxTheApp->CallAfter([&folder, &written] {
        pictureDialog(folder, "new-table.png", written, [](wxDialog& dialog) {
            XRCCTRL(dialog, "TextTableName", wxTextCtrl)->SetValue("Office A3");
        });
    });
    wxString cancelledName;
    newPlotStyleTable(cancelledName, true, samples, nullptr);
    wxTheApp->CallAfter([&folder, &written] { pictureEditorPages(folder, written); });
    editPlotStyleTable(sample, nullptr);
    return written == kPictureCount ? kExitSuccess
                                    : fileError(args[0], "not every picture could be written");
}
