// What the program's commands share: exit statuses, one-line reports, command-line texts,
// reading tables and writing files, and the parsing of common arguments.
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
// Says that a command that opens windows found no display; returns kExitFailure.
int noDisplayError();

// Command-line texts are UTF-8; the bytes of a file name in a text, which need not be, come back
// as they were (psl_file_names.h).
std::string toUtf8(const wxString& text);
wxString fromUtf8(const std::string& text);

// Why path cannot be opened for reading, or empty when it can.
std::string unreadableCause(const std::string& path);
// Why folder cannot be listed, or empty when it can.
std::string unlistableFolderCause(const std::string& folder);

// Reads the table at path, or prints why it cannot and returns null: the system's reason, the
// reason the table library gives, or where it gives none that the file is no valid table.
PlotStyleTablePtr readTable(const std::string& path);
// Why a table of the given kind may not be saved under target, with the extension it needs.
std::string wrongKindCause(const wxFileName& target, bool colorDependent);
// "Failed to save file: PATH" and, when there is one, the system's reason that the table's write
// left in errno.
std::string saveFailureCause(const wxString& path, int reason);
// Writes an output file other than a table through writeOutputFile (psl_output_files.h). Returns
// why it failed, or an empty string.
std::string writeOutput(const std::string& path, const std::string& bytes);

// Before anything is printed: a reader that closes the pipe ends the program without a word, as
// it ends other tools, and a write that fails is remembered with its cause.
void setUpStandardOutput();
// status, or kExitFailure after one line when what the command printed could not all be written
// to standard output (a full disk, /dev/full).
int withStandardOutputWritten(int status);

// "FILE [OPTION FILE2]": the arguments of a command that takes one file and an option naming a
// second one. Returns false after reporting bad usage.
struct FileArguments {
    std::string file;
    std::string optionFile;
};
bool parseFileArguments(const std::string& command, const std::vector<std::string>& args,
                        const std::vector<std::string>& optionNames, FileArguments& parsed);

// Prints help and returns true when args ask for it (--help or -h).
bool asksForHelp(const std::vector<std::string>& args, const char* help);
