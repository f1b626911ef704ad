// The commands of the pstyle program.
#pragma once

#include <string>
#include <vector>

#include <kesutils/plot_style_table.h>

class wxFileName;
class wxString;

enum ExitStatus { kExitSuccess = 0, kExitCancelled = 1, kExitFailure = 2 };

// Prints "pstyle: message" and a hint to --help; returns kExitFailure.
int usageError(const std::string& message);
// Prints "pstyle: file: cause"; returns kExitFailure.
int fileError(const std::string& file, const std::string& cause);

// Command-line texts are UTF-8.
std::string toUtf8(const wxString& text);
wxString fromUtf8(const std::string& text);

// Reads the table at path, or prints why it cannot and returns null.
PlotStyleTablePtr readTable(const std::string& path);
// Why a table of the given kind may not be saved under target, with the extension it needs.
std::string wrongKindCause(const wxFileName& target, bool colorDependent);
// "Failed to save file: PATH" and, when there is one, the system's reason that the table's write
// left in errno.
std::string saveFailureCause(const wxString& path, int reason);
// Replaces the file at path by text through a temporary file, so that a failed write leaves
// an existing file as it was. Returns why it failed, or an empty string.
std::string writeFileSafely(const std::string& path, const std::string& text);

// "FILE [OPTION FILE2]": the arguments of a command that takes one file and an option naming a
// second one. Returns false after reporting bad usage.
struct FileArguments {
    std::string file;
    std::string optionFile;
};
bool parseFileArguments(const std::string& command, const std::vector<std::string>& args,
                        const std::vector<std::string>& optionNames, FileArguments& parsed);

// Stores the plot style folder in the host configuration: folder, or when it is empty the
// sample folder that ships with the program.
void configurePlotStylePath(const std::string& folder, const char* programPath);

// Parses the arguments of `edit` and applies the kind rules before any window opens: the target
// must be a table file name; an existing target must read as a table, a new one needs an
// existing folder; a source must read as a table of the kind the target's extension names.
// Returns false after a one-line report.
bool checkEditArguments(const std::vector<std::string>& args, FileArguments& parsed);

int runExport(const std::vector<std::string>& args);
int runCopy(const std::vector<std::string>& args);
int runList(const std::vector<std::string>& args);
// Prints help and returns true when args ask for it (--help or -h).
bool asksForHelp(const std::vector<std::string>& args, const char* help);
int runDiff(const std::vector<std::string>& args);
int runSet(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runSheet(const std::vector<std::string>& args);

// Commands that start the GUI toolkit; argc and argv go to the toolkit.
int runSelection(int argc, char** argv);
int runEdit(const std::vector<std::string>& args, int argc, char** argv);
int runNew(const std::vector<std::string>& args, int argc, char** argv);
int runSnapshot(const std::vector<std::string>& args, int argc, char** argv);
