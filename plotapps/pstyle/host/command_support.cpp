// What the program's commands share: one-line reports, command-line texts, reading tables and
// writing files, and the parsing of common arguments.
#include "command_support.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/translation.h>
#include <wx/wfstream.h>

#include "psl_table_files.h"
#include "psl_text.h"

std::string toUtf8(const wxString& text) {
    return std::string(text.utf8_str());
}

wxString fromUtf8(const std::string& text) {
    return wxString::FromUTF8(text.c_str());
}

std::string saveFailureCause(const wxString& path, int reason) {
    return toUtf8(saveFailureMessage(path, reason));
}

std::string unreadableCause(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return std::strerror(errno);
    }
    std::fclose(file);
    return wxFileName::DirExists(fromUtf8(path)) ? std::strerror(EISDIR) : std::string();
}

std::string unlistableFolderCause(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return std::strerror(errno);
    }
    closedir(dir);
    return std::string();
}

PlotStyleTablePtr readTable(const std::string& path) {
    const std::string cause = unreadableCause(path);
    if (!cause.empty()) {
        fileError(path, cause);
        return nullptr;
    }
    std::u16string reason;
    PlotStyleTablePtr table(CPlotStyleTable::read(toHostText(fromUtf8(path)).c_str(), reason));
    if (!table) {
        fileError(path,
                  reason.empty()
                      ? toUtf8(_("Invalid file format - failed to open plotstyle table file."))
                      : toUtf8(toWxString(reason)));
    }
    return table;
}

std::string wrongKindCause(const wxFileName& target, bool colorDependent) {
    return toUtf8(wxString::Format(_("%ls is not a valid name to save to."), target.GetFullName()) +
                  " " + tableKindExtensionHint(colorDependent));
}

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

int noDisplayError() {
    std::fprintf(stderr, "pstyle: this command needs a display (set DISPLAY, or run it under "
                         "xvfb-run)\n");
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

bool asksForHelp(const std::vector<std::string>& args, const char* help) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(help, stdout);
            return true;
        }
    }
    return false;
}
