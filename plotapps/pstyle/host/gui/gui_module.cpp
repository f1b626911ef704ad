// The program's GUI module: it starts the toolkit as the plug-in expects it (image handlers and
// every standard layout handler installed before the first dialog), loads the plug-in and runs
// the window command the program hands it.
#include "gui_module.h"

#include <cstdio>

#include <gtk/gtk.h>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/xrc/xmlres.h>

#include "command_support.h"
#include "plot_style_plugin.h"
#include "psl_file_names.h"
#include "psl_focus_return.h"
#include "window_snapshots.h"

namespace {

// The plug-in's reports in message boxes under the editor's name, as the program's own ("Pstyle
// Error" would name the program); several at once in one box, a line each.
class EditorLog : public wxLogGui {
private:
    void DoShowSingleLogMessage(const wxString& message, const wxString&, int style) override {
        const FocusReturn focusReturn;
        wxMessageBox(message, _("Plot Style Table Editor"), style);
    }
    void DoShowMultipleLogMessages(const wxArrayString& messages, const wxArrayInt&,
                                   const wxArrayLong&, const wxString& title, int style) override {
        DoShowSingleLogMessage(wxJoin(messages, '\n', '\0'), title, style);
    }
};

class HostApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        wxXmlResource::Get()->InitAllHandlers();
        delete wxLog::SetActiveTarget(new EditorLog);
        return true;
    }
};

// The GUI toolkit, running for as long as the session lives; it does not start without a
// display, where GTK would abort the program.
class GuiSession {
public:
    explicit GuiSession(const char* programPath) : argv_{const_cast<char*>(programPath), nullptr} {
        // The display stays open: GTK takes it as its default. Closing it could make an X
        // server without other clients reset just as the toolkit connects.
        if (!gdk_display_open(nullptr)) {
            return;
        }
        wxApp::SetInstance(new HostApp);
        entered_ = wxEntryStart(argc_, argv_);
        // The toolkit chose its own conversion for file names; the program's takes every name.
        wxConvFileName = &fileNameConversion();
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
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    bool started() const { return started_; }

private:
    int argc_ = 1;
    char* argv_[2];
    bool entered_ = false;
    bool started_ = false;
};

int dialogResult(bool accepted) {
    return accepted ? kExitSuccess : kExitCancelled;
}

int runRequest(const WindowRequest& request, const PlotStyleEntryPoints& plugIn) {
    switch (request.command) {
    case WindowRequest::Command::Selection:
        return dialogResult(plugIn.startPlotStyleEditor(nullptr));
    case WindowRequest::Command::Edit:
        return dialogResult(
            plugIn.editPlotStyleTableFrom(request.file, request.sourceFile, nullptr));
    case WindowRequest::Command::New: {
        wxString tableName;
        const bool created =
            plugIn.newPlotStyleTable(tableName, request.colorDependent, request.folder, nullptr);
        if (!tableName.empty()) {
            std::printf("%s\n", tableName.utf8_str().data());
        }
        return dialogResult(created);
    }
    case WindowRequest::Command::Snapshot:
        return takeWindowSnapshots(plugIn, request.file, request.folder);
    }
    return kExitFailure;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
pstyleRunWindowRequest(const WindowRequest& request) {
    // The plug-in outlives the toolkit: shutting the toolkit down releases what the plug-in
    // registered with it.
    const PlotStylePlugIn plugIn(request.programPath);
    GuiSession session(request.programPath);
    if (!session.started()) {
        return noDisplayError();
    }
    if (!plugIn.loaded()) {
        return fileError("the plot style plug-in", plugIn.error());
    }
    return runRequest(request, plugIn.entryPoints());
}
