// Commands that work on table files without starting the GUI toolkit, so that they run on
// servers and in git hooks.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/translation.h>
#include <wx/wfstream.h>

#include <kesutils/plot_style_table.h>
#include <kesutils/ut_services.h>

#include "host_commands.h"
#include "program_files.h"
#include "psl_csv_export.h"
#include "psl_table_files.h"
#include "psl_text.h"
#include "pstyle_lib.h"

std::string toUtf8(const wxString& text) {
    return std::string(text.utf8_str());
}

wxString fromUtf8(const std::string& text) {
    return wxString::FromUTF8(text.c_str());
}

std::string saveFailureCause(const wxString& path, int reason) {
    wxString cause = wxString::Format(_("Failed to save file: %ls"), path);
    if (reason != 0) {
        cause += " (" + wxSysErrorMsgStr(reason) + ")";
    }
    return toUtf8(cause);
}

namespace {

// Why path cannot be opened for reading, or empty when it can.
std::string unreadableCause(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return std::strerror(errno);
    }
    std::fclose(file);
    return wxFileName::DirExists(fromUtf8(path)) ? std::strerror(EISDIR) : std::string();
}

// Why folder cannot be listed, or empty when it can.
std::string unlistableFolderCause(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return std::strerror(errno);
    }
    closedir(dir);
    return std::string();
}

} // namespace

PlotStyleTablePtr readTable(const std::string& path) {
    const std::string cause = unreadableCause(path);
    if (!cause.empty()) {
        fileError(path, cause);
        return nullptr;
    }
    PlotStyleTablePtr table(CPlotStyleTable::read(toHostText(fromUtf8(path)).c_str()));
    if (!table) {
        fileError(path, toUtf8(_("Invalid file format - failed to open plotstyle table file.")));
    }
    return table;
}

std::string wrongKindCause(const wxFileName& target, bool colorDependent) {
    return toUtf8(wxString::Format(_("%ls is not a valid name to save to."), target.GetFullName()) +
                  " " + tableKindExtensionHint(colorDependent));
}

namespace {

// True when both paths name one file, through links too.
bool isSameFile(const std::string& first, const std::string& second) {
    struct stat firstStatus, secondStatus;
    return stat(first.c_str(), &firstStatus) == 0 && stat(second.c_str(), &secondStatus) == 0 &&
           firstStatus.st_dev == secondStatus.st_dev && firstStatus.st_ino == secondStatus.st_ino;
}

std::string csvText(const CPlotStyleTable& table, const std::string& path) {
    const wxArrayString lines = csvExportLines(table, wxFileName(fromUtf8(path)).GetFullName());
    std::string text;
    for (const wxString& line : lines) {
        text += toUtf8(line);
        text += '\n';
    }
    return text;
}

} // namespace

std::string writeFileSafely(const std::string& path, const std::string& text) {
    wxLogNull toolkitMessages; // the one-line report below says it all
    errno = 0;
    wxTempFFileOutputStream out(fromUtf8(path));
    if (out.IsOk() && out.WriteAll(text.data(), text.size()) && out.Commit()) {
        return std::string();
    }
    return errno ? std::strerror(errno) : "cannot be written";
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "pstyle: %s (see pstyle --help)\n", message.c_str());
    return kExitFailure;
}

int fileError(const std::string& file, const std::string& cause) {
    std::fprintf(stderr, "pstyle: %s: %s\n", file.c_str(), cause.c_str());
    return kExitFailure;
}

bool parseFileArguments(const std::string& command, const std::vector<std::string>& args,
                        const std::vector<std::string>& optionNames, FileArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool isOption =
            std::find(optionNames.begin(), optionNames.end(), args[i]) != optionNames.end();
        if (isOption) {
            if (i + 1 == args.size()) {
                usageError(command + ": " + args[i] + " needs a file name");
                return false;
            }
            parsed.optionFile = args[++i];
        } else if (parsed.file.empty()) {
            parsed.file = args[i];
        } else {
            usageError(command + ": unexpected argument '" + args[i] + "'");
            return false;
        }
    }
    if (parsed.file.empty()) {
        usageError(command + ": which table file?");
        return false;
    }
    return true;
}

int runExport(const std::vector<std::string>& args) {
    FileArguments parsed;
    if (!parseFileArguments("export", args, {"-o", "--output"}, parsed)) {
        return kExitFailure;
    }
    const std::string& input = parsed.file;
    const std::string& output = parsed.optionFile;

    const PlotStyleTablePtr table = readTable(input);
    if (!table) {
        return kExitFailure;
    }
    if (!output.empty() && isSameFile(input, output)) {
        return fileError(output,
                         "the output would replace the table being exported; choose another file");
    }
    const std::string text = csvText(*table, input);
    if (output.empty()) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
            std::fflush(stdout) != 0) {
            return fileError("standard output", std::strerror(errno));
        }
        return kExitSuccess;
    }
    const std::string failure = writeFileSafely(output, text);
    if (!failure.empty()) {
        return fileError(output, failure);
    }
    return kExitSuccess;
}

bool checkEditArguments(const std::vector<std::string>& args, FileArguments& parsed) {
    if (!parseFileArguments("edit", args, {"--source"}, parsed)) {
        return false;
    }
    const std::string& target = parsed.file;
    const std::string& source = parsed.optionFile;
    const wxFileName targetName(fromUtf8(target));
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

int runCopy(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return usageError("copy needs a SOURCE and a TARGET");
    }
    const std::string& source = args[0];
    const std::string& target = args[1];

    const PlotStyleTablePtr table = readTable(source);
    if (!table) {
        return kExitFailure;
    }
    // A table may be saved only under the extension of its kind; anything else would make the
    // file open as the wrong kind, or not as a table at all.
    const wxFileName targetName(fromUtf8(target));
    if (!fitsTableKind(targetName, table->ColorDependent)) {
        return fileError(target, wrongKindCause(targetName, table->ColorDependent));
    }
    if (!table->write(toHostText(targetName.GetFullPath()).c_str())) {
        return fileError(target, saveFailureCause(targetName.GetFullPath(), errno));
    }
    return kExitSuccess;
}

void configurePlotStylePath(const std::string& folder, const char* programPath) {
    const wxString path = folder.empty() ? samplePlotStyleFolder(programPath) : fromUtf8(folder);
    ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", path);
}

int runList(const std::vector<std::string>& args) {
    if (!args.empty()) {
        return usageError("list takes no arguments");
    }
    const std::string folder = toUtf8(ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath"));
    const std::string cause = unlistableFolderCause(folder);
    if (!cause.empty()) {
        return fileError(folder, cause);
    }
    wxArrayString files;
    getPlotStyleFiles(files);
    for (const wxString& file : files) {
        std::printf("%s\n", file.utf8_str().data());
    }
    return kExitSuccess;
}
