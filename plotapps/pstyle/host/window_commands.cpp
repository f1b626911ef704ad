// Commands that open the plug-in's dialogs. Each checks its arguments first, then looks for a
// display, and only then loads the program's GUI module, which starts the toolkit: without a
// display no GUI library is ever loaded.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

#include <wx/filename.h>

#include "gui/gui_module.h"
#include "host_commands.h"
#include "program_files.h"
#include "program_module.h"
#include "psl_file_names.h"
#include "psl_plot_style_files.h"
#include "psl_table_files.h"

namespace {

const char* const kSampleTable = "default.ctb";

// The toolkit opens the display that DISPLAY (or WAYLAND_DISPLAY) names; without either there
// is none to open.
bool displayNamed() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* display = std::getenv(variable);
        if (display && *display) {
            return true;
        }
    }
    return false;
}

int showWindows(WindowRequest request) {
    if (!displayNamed()) {
        return noDisplayError();
    }
    request.programPath = programPath();
    ProgramModule gui(kGuiModuleFile, programPath());
    auto* run = gui.find<RunWindowRequest>(kRunWindowRequestSymbol);
    if (!run) {
        return fileError("the program's GUI module", gui.error());
    }
    return run(request);
}

// Why the window commands cannot put tables in folder, or empty when they can.
std::string notAFolderCause(const wxString& folder) {
    struct stat status {};
    if (stat(fileNameToBytes(folder).c_str(), &status) != 0) {
        return errno == ENOENT ? "no such folder" : std::strerror(errno);
    }
    return S_ISDIR(status.st_mode) ? std::string() : "not a folder";
}

// The arguments of `edit` and the kind rules, before any window opens: the target must be a
// table file name; an existing target must read as a table, a new one needs an existing folder;
// a source must read as a table of the kind the target's extension names. False after a
// one-line report.
bool checkEditArguments(const std::vector<std::string>& args, FileArguments& parsed) {
    if (!parseFileArguments("edit", args, {"--source"}, parsed)) {
        return false;
    }
    const std::string& target = parsed.file;
    const std::string& source = parsed.optionFile;
    const wxFileName targetName(fileNameFromBytes(target));
    if (!isPlotStyleTableFile(targetName)) {
        fileError(target, "not a plot style table file: its extension must be .ctb or .stb");
        return false;
    }
    if (wxFileName::Exists(targetName.GetFullPath())) {
        if (!readTable(target)) {
            return false;
        }
    } else {
        const std::string folder = toUtf8(targetName.GetPath());
        const std::string cause = unlistableFolderCause(folder.empty() ? "." : folder);
        if (!cause.empty()) {
            fileError(target, "folder " + folder + ": " + cause);
            return false;
        }
    }
    if (!source.empty()) {
        const PlotStyleTablePtr table = readTable(source);
        if (!table) {
            return false;
        }
        if (!fitsTableKind(targetName, table->ColorDependent)) {
            fileError(target, wrongKindCause(targetName, table->ColorDependent));
            return false;
        }
    }
    return true;
}

} // namespace

int runSelection(const std::vector<std::string>&) {
    const wxString folder = configuredPlotStyleFolder();
    if (const std::string cause = notAFolderCause(folder); !cause.empty()) {
        return fileError(toUtf8(folder), cause);
    }
    WindowRequest request;
    request.command = WindowRequest::Command::Selection;
    return showWindows(request);
}

int runEdit(const std::vector<std::string>& args) {
    FileArguments parsed;
    if (!checkEditArguments(args, parsed)) {
        return kExitFailure;
    }
    WindowRequest request;
    request.command = WindowRequest::Command::Edit;
    request.file = wxFileName(fileNameFromBytes(parsed.file)).GetAbsolutePath();
    if (!parsed.optionFile.empty()) {
        request.sourceFile = wxFileName(fileNameFromBytes(parsed.optionFile)).GetAbsolutePath();
    }
    return showWindows(request);
}

int runNew(const std::vector<std::string>& args) {
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
    const wxString directory =
        folder.empty() ? configuredPlotStyleFolder() : fileNameFromBytes(folder);
    if (const std::string cause = notAFolderCause(directory); !cause.empty()) {
        return fileError(toUtf8(directory), cause);
    }
    WindowRequest request;
    request.command = WindowRequest::Command::New;
    request.colorDependent = colorDependent;
    request.folder = wxFileName::DirName(directory).GetAbsolutePath();
    return showWindows(request);
}

int runSnapshot(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return usageError("snapshot needs a folder for the pictures");
    }
    // The pictures always show the tables that ship with the program.
    configurePlotStylePath(std::string(), programPath());
    const wxString sample = wxFileName(configuredPlotStyleFolder(), kSampleTable).GetFullPath();
    if (!wxFileName::FileExists(sample)) {
        return fileError(toUtf8(sample), "the sample table is missing");
    }
    WindowRequest request;
    request.command = WindowRequest::Command::Snapshot;
    request.file = sample;
    request.folder = fileNameFromBytes(args[0]);
    return showWindows(request);
}
