// Commands that read a table file or the plot style folder and print or write what they find:
// export, copy and list. They run on the core alone, so they work on servers and in git hooks.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <wx/filename.h>

#include "host_commands.h"
#include "psl_csv_export.h"
#include "psl_file_names.h"
#include "psl_plot_style_files.h"
#include "psl_table_files.h"
#include "psl_text.h"

namespace {

// True when both paths name one file, through links too.
bool isSameFile(const std::string& first, const std::string& second) {
    struct stat firstStatus, secondStatus;
    return stat(first.c_str(), &firstStatus) == 0 && stat(second.c_str(), &secondStatus) == 0 &&
           firstStatus.st_dev == secondStatus.st_dev && firstStatus.st_ino == secondStatus.st_ino;
}

} // namespace

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
    const wxString fileName = wxFileName(fileNameFromBytes(input)).GetFullName();
    if (output.empty()) {
        const std::string text = csvExportText(*table, fileName);
        std::fwrite(text.data(), 1, text.size(), stdout);
        return kExitSuccess;
    }
    wxString reason;
    if (!writeCsvExport(*table, fileName, fileNameFromBytes(output), reason)) {
        return fileError(output, toUtf8(reason));
    }
    return kExitSuccess;
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
    const wxFileName targetName(fileNameFromBytes(target));
    if (!fitsTableKind(targetName, table->ColorDependent)) {
        return fileError(target, wrongKindCause(targetName, table->ColorDependent));
    }
    if (!table->write(toHostText(targetName.GetFullPath()).c_str())) {
        return fileError(target, saveFailureCause(targetName.GetFullPath(), errno));
    }
    return kExitSuccess;
}

int runList(const std::vector<std::string>& args) {
    if (!args.empty()) {
        return usageError("list takes no arguments");
    }
    const wxString folder = configuredPlotStyleFolder();
    const std::string cause = unlistableFolderCause(toUtf8(folder));
    if (!cause.empty()) {
        return fileError(toUtf8(folder), cause);
    }
    wxArrayString files;
    listPlotStyleFiles(folder, files);
    std::vector<std::string> names;
    names.reserve(files.size());
    for (const wxString& file : files) {
        names.push_back(fileNameToBytes(file));
    }
    sortFileNamesForReading(names);
    for (const std::string& name : names) {
        std::printf("%s\n", lineQuotedFileName(name).c_str());
    }
    return kExitSuccess;
}
