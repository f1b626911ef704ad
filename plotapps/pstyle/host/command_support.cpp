// What the program's commands share: one-line reports, command-line texts, reading tables and
// writing files, and the parsing of common arguments.
#include "command_support.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/translation.h>

#include "psl_file_names.h"
#include "psl_output_files.h"
#include "psl_table_files.h"
#include "psl_text.h"

std::string toUtf8(const wxString& text) {
    return fileNameToBytes(text);
}

wxString fromUtf8(const std::string& text) {
    return wxString::FromUTF8(text.c_str());
}

std::string saveFailureCause(const wxString& path, int reason) {
    return toUtf8(saveFailureMessage(path, reason));
}

std::string unreadableCause(const std::string& path) {
    // Opening a FIFO without O_NONBLOCK waits for a writer that may never come.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) {
        return std::strerror(errno);
    }
    struct stat status {};
    const bool folder = fstat(file, &status) == 0 && S_ISDIR(status.st_mode);
    close(file);
    return folder ? std::strerror(EISDIR) : std::string();
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
    PlotStyleTablePtr table(
        CPlotStyleTable::read(toHostText(fileNameFromBytes(path)).c_str(), reason));
    if (!table) {
        fileError(path,
                  reason.empty()
                      ? toUtf8(_("Invalid file format - failed to open plotstyle table file."))
                      : toUtf8(toWxString(reason)));
    }
    return table;
}

std::string wrongKindCause(const wxFileName& target, bool colorDependent) {
    return toUtf8(tableKindRefusal(target, colorDependent));
}

std::string writeOutput(const std::string& path, const std::string& bytes) {
    wxString reason;
    return writeOutputFile(fileNameFromBytes(path), bytes, reason) ? std::string() : toUtf8(reason);
}

namespace {

// Why a write to standard output failed: the C library keeps only that one did.
int standardOutputError = 0;

ssize_t writeStandardOutput(void*, const char* bytes, size_t size) {
    for (;;) {
        const ssize_t written = write(STDOUT_FILENO, bytes, size);
        if (written >= 0 || errno != EINTR) {
            standardOutputError = written < 0 ? errno : standardOutputError;
            return written;
        }
    }
}

} // namespace

void setUpStandardOutput() {
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &pipeSignal, nullptr);
    const cookie_io_functions_t functions{nullptr, writeStandardOutput, nullptr, nullptr};
    if (std::FILE* watched = fopencookie(nullptr, "w", functions)) {
        setvbuf(watched, nullptr, isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF, BUFSIZ);
        stdout = watched;
    }
}

int withStandardOutputWritten(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) {
        return status;
    }
    fileError("standard output",
              standardOutputError ? std::strerror(standardOutputError) : "could not be written");
    return kExitFailure;
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
