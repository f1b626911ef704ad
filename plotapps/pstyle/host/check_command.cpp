// pstyle check: one line per finding for every table in the files and folders given, for an
// office's standards repository to run as a git hook or a CI step. Paths are taken and printed
// as the file system's bytes, so that every name can be found again, whatever its encoding.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/filename.h>
#include <wx/intl.h>

#include "host_commands.h"
#include "psl_csv_export.h"
#include "psl_table_check.h"
#include "psl_table_files.h"
#include "psl_text.h"

namespace {

constexpr int kExitFound = 1;

const char* const kCheckHelp =
    "Usage: pstyle check [--against TABLE] [--csv] PATH...\n"
    "\n"
    "Checks every table file given and every .ctb and .stb file in the folders given and their\n"
    "subfolders, and prints one line per finding:\n"
    "  - a file that does not read as a table, with the reason, and a folder that cannot be\n"
    "    read;\n"
    "  - braces in style names, line breaks and control characters in descriptions, which\n"
    "    other programs misread;\n"
    "  - a lineweight table without 27 rows, a colour-dependent table without 255 styles;\n"
    "  - with --against, every difference from TABLE in the form of pstyle diff.\n"
    "\n"
    "  --against TABLE   the reference, a table of the kind of those checked; tables of the\n"
    "                    other kind found in folders are not compared with it\n"
    "  --csv             comma-separated lines file,finding,style,property,expected,found\n"
    "\n"
    "Exit status: 0 nothing found, 1 findings, 2 bad usage (a path that does not exist, a\n"
    "table given of the other kind than the reference) or a reference that cannot be read.\n";

struct CheckArguments {
    std::vector<std::string> paths;
    std::string against;
    bool csv = false;
};

bool parseCheckArguments(const std::vector<std::string>& args, CheckArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--against" && i + 1 < args.size()) {
            parsed.against = args[++i];
        } else if (args[i] == "--against") {
            usageError("check: --against needs a table file");
            return false;
        } else if (args[i] == "--csv") {
            parsed.csv = true;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            usageError("check: unknown option '" + args[i] + "'");
            return false;
        } else {
            parsed.paths.push_back(args[i]);
        }
    }
    if (parsed.paths.empty()) {
        usageError("check needs the table files or folders to check");
        return false;
    }
    for (const std::string& path : parsed.paths) {
        struct stat status;
        if (stat(path.c_str(), &status) != 0) {
            usageError("check: " + path + ": " + std::strerror(errno));
            return false;
        }
    }
    return true;
}

// What check reads: a table file, or a folder that could not be read and why.
struct CheckedPath {
    std::string path;
    std::string folderCause;
    bool given; // named on the command line
};

// Walks folders as `pstyle list` does: links followed, every folder once, a folder's subfolders
// before its own tables; here each in the order of their names' bytes, so that reports of one
// folder compare line by line.
class TableWalker {
public:
    explicit TableWalker(std::vector<CheckedPath>& found) : found_(found) {}

    void walk(const std::string& folder) {
        const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat status;
        DIR* entries = nullptr;
        if (handle < 0 || fstat(handle, &status) != 0 || !(entries = fdopendir(handle))) {
            found_.push_back({folder, std::strerror(errno), false});
            if (handle >= 0) {
                close(handle);
            }
            return;
        }
        if (!visited_.emplace(status.st_dev, status.st_ino).second) {
            closedir(entries);
            return;
        }
        std::vector<std::string> subfolders;
        std::vector<std::string> tables;
        while (const dirent* entry = readdir(entries)) {
            const std::string name = entry->d_name;
            struct stat target;
            if (name == "." || name == "..") {
                continue;
            }
            if (fstatat(handle, entry->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode)) {
                subfolders.push_back(name);
            } else if (isPlotStyleTableName(wxString::From8BitData(name.c_str()))) {
                tables.push_back(name);
            }
        }
        closedir(entries);
        std::sort(subfolders.begin(), subfolders.end());
        std::sort(tables.begin(), tables.end());
        const std::string prefix = folder.back() == '/' ? folder : folder + '/';
        for (const std::string& subfolder : subfolders) {
            walk(prefix + subfolder);
        }
        for (const std::string& table : tables) {
            found_.push_back({prefix + table, std::string(), false});
        }
    }

private:
    std::vector<CheckedPath>& found_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

// A table read through the host library, which takes paths as text: a name that is no UTF-8 is
// read through the descriptor of the open file instead.
PlotStyleTablePtr readChecked(const std::string& path, std::u16string& reason,
                              PlotStyleReadReport& report) {
    const wxString name = fromUtf8(path);
    if (!name.empty() || path.empty()) {
        return PlotStyleTablePtr(CPlotStyleTable::read(toHostText(name).c_str(), reason, report));
    }
    const int handle = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (handle < 0) {
        reason = toHostText(wxString(std::strerror(errno)));
        return nullptr;
    }
    const wxString opened = wxString::Format("/proc/self/fd/%d", handle);
    PlotStyleTablePtr table(CPlotStyleTable::read(toHostText(opened).c_str(), reason, report));
    close(handle);
    return table;
}

wxString readReason(const std::u16string& reason) {
    return reason.empty() ? _("Invalid file format - failed to open plotstyle table file.")
                          : toWxString(reason);
}

class Checker {
public:
    Checker(const CheckArguments& arguments, const CPlotStyleTable* reference)
        : arguments_(arguments), reference_(reference) {}

    // False after reporting a table given of the other kind than the reference.
    bool check(const CheckedPath& checked) {
        if (!checked.folderCause.empty()) {
            add(checked.path, unreadableTable(fromUtf8(checked.folderCause)));
            return true;
        }
        std::u16string reason;
        PlotStyleReadReport report;
        const PlotStyleTablePtr table = readChecked(checked.path, reason, report);
        if (!table) {
            add(checked.path, unreadableTable(readReason(reason)));
            return true;
        }
        const bool namedColorDependent =
            fitsTableKind(wxFileName(wxString::From8BitData(checked.path.c_str())), true);
        for (const TableFinding& finding : tableProblems(*table, report, namedColorDependent)) {
            add(checked.path, finding);
        }
        if (!reference_) {
            return true;
        }
        if (table->ColorDependent != reference_->ColorDependent) {
            if (checked.given) {
                usageError("check: " + checked.path + " is of another kind than the reference " +
                           arguments_.against);
                return false;
            }
            return true;
        }
        for (const TableFinding& finding : differencesFrom(*reference_, *table)) {
            add(checked.path, finding);
        }
        return true;
    }

    const std::vector<std::string>& lines() const { return lines_; }
    bool found() const { return found_; }

private:
    void add(const std::string& path, const TableFinding& finding) {
        found_ = true;
        if (arguments_.csv) {
            lines_.push_back(csvField(wxString::From8BitData(path.c_str())).To8BitData().data() +
                             std::string(",") + finding.kind + "," + toUtf8(finding.fields));
        } else {
            lines_.push_back(path + ": " + toUtf8(finding.text));
        }
    }

    const CheckArguments& arguments_;
    const CPlotStyleTable* reference_;
    std::vector<std::string> lines_;
    bool found_ = false;
};

} // namespace

int runCheck(const std::vector<std::string>& args) {
    if (asksForHelp(args, kCheckHelp)) {
        return kExitSuccess;
    }
    CheckArguments arguments;
    if (!parseCheckArguments(args, arguments)) {
        return kExitFailure;
    }
    PlotStyleTablePtr reference;
    if (!arguments.against.empty() && !(reference = readTable(arguments.against))) {
        return kExitFailure;
    }
    std::vector<CheckedPath> checked;
    TableWalker walker(checked);
    for (const std::string& path : arguments.paths) {
        struct stat status;
        if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            walker.walk(path);
        } else {
            checked.push_back({path, std::string(), true});
        }
    }
    Checker checker(arguments, reference.get());
    for (const CheckedPath& path : checked) {
        if (!checker.check(path)) {
            return kExitFailure;
        }
    }
    std::string text = arguments.csv ? std::string(kFindingCsvHeader) + '\n' : std::string();
    for (const std::string& line : checker.lines()) {
        text += line;
        text += '\n';
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        return fileError("standard output", std::strerror(errno));
    }
    return checker.found() ? kExitFound : kExitSuccess;
}
