// pstyle set: the edits of the Form View, applied to many table files at once. Every file is
// locked, read, changed in memory and checked before the first one is replaced, so that a bad
// value, a damaged file or a file that may not be written leaves all of them as they were, and
// two runs on the same files lose no edit.
#include <algorithm>
#include <cstdio>
#include <optional>

#include <wx/filename.h>
#include <wx/intl.h>

#include <safe_file.h>

#include "host_commands.h"
#include "psl_file_names.h"
#include "psl_table_diff.h"
#include "psl_table_document.h"
#include "psl_table_edit.h"
#include "psl_text.h"

namespace {

const char* const kSetHelp =
    "Usage: pstyle set FILE... [--styles LIST] [--dry-run] KEY=VALUE...\n"
    "\n"
    "Changes the styles of every FILE as the editor's Form View does.\n"
    "\n"
    "  --styles LIST  colour numbers and ranges for colour-dependent tables (1-7,250), style\n"
    "                 names for named tables (Thin,Heavy); without it every style except\n"
    "                 a named table's base style Normal\n"
    "  --dry-run      print what would change, in the form of pstyle diff, and write nothing\n"
    "\n"
    "Keys and values:\n"
    "  color=N|#RRGGBB|object          a colour number 1-255, a true colour, the object's colour\n"
    "  screening=0..100\n"
    "  physical-pen=0..32|automatic    virtual-pen=0..255|automatic\n"
    "  lineweight=MM|object            millimetres, one of the table's lineweights\n"
    "  linetype=, end-style=, join-style=, fill-style=\n"
    "                                  the label shown in the editor (\"ISO Dash\") or its number\n"
    "  dither=on|off  grayscale=on|off  adaptive=on|off\n"
    "\n"
    "Each file is replaced whole through a temporary file. A bad key, value or style list,\n"
    "an unreadable file and a file that may not be written are refused before any file is\n"
    "written. Other programs' edits of the same files wait until this one is done.\n"
    "Exit status: 0 success, 2 bad usage or a file error.\n";

struct SetArguments {
    std::vector<std::string> files;
    std::optional<wxString> styles;
    bool dryRun = false;
    std::vector<StyleEdit> edits;
};

struct EditedTable {
    std::string path;
    TableDocument document;
    std::vector<TableDifference> differences;
};

// "key=value", as opposed to a file name that happens to hold an equals sign.
bool isAssignment(const std::string& arg) {
    const std::size_t equals = arg.find('=');
    return equals != std::string::npos && arg.find_first_of("/.") > equals;
}

bool addEdit(const std::string& assignment, SetArguments& parsed) {
    StyleEdit edit{};
    wxString error;
    if (!parseStyleEdit(fromUtf8(assignment), edit, error)) {
        usageError("set: " + toUtf8(error));
        return false;
    }
    const bool repeated =
        std::any_of(parsed.edits.begin(), parsed.edits.end(),
                    [&](const StyleEdit& other) { return other.property == edit.property; });
    if (repeated) {
        usageError("set: " + assignment.substr(0, assignment.find('=')) + " is given twice");
        return false;
    }
    parsed.edits.push_back(edit);
    return true;
}

// An empty list, as an unset shell variable gives, or one that is not UTF-8 never means every
// style.
bool parseStyleList(const std::string& list, SetArguments& parsed) {
    if (list.empty()) {
        usageError("set: --styles is given an empty list of styles");
        return false;
    }
    const wxString styles = wxString::FromUTF8(list.data(), list.size());
    if (styles.empty()) {
        usageError("set: the list of --styles is not valid UTF-8");
        return false;
    }
    parsed.styles = styles;
    return true;
}

bool parseSetArguments(const std::vector<std::string>& args, SetArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--dry-run") {
            parsed.dryRun = true;
        } else if (arg == "--styles") {
            if (i + 1 == args.size() || parsed.styles) {
                usageError("set: --styles needs one list of styles");
                return false;
            }
            if (!parseStyleList(args[++i], parsed)) {
                return false;
            }
        } else if (isAssignment(arg)) {
            if (!addEdit(arg, parsed)) {
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            usageError("set: unknown option '" + arg + "'");
            return false;
        } else if (std::find(parsed.files.begin(), parsed.files.end(), arg) == parsed.files.end()) {
            parsed.files.push_back(arg);
        }
    }
    if (parsed.files.empty() || parsed.edits.empty()) {
        usageError("set needs at least one table file and one KEY=VALUE");
        return false;
    }
    return true;
}

// Reads the file twice, edits the document's copy and compares it with the other.
bool editTable(const std::string& path, const SetArguments& parsed, EditedTable& edited) {
    const PlotStyleTablePtr original = readTable(path);
    if (!original) {
        return false;
    }
    edited.path = path;
    edited.document = TableDocument(wxFileName(fileNameFromBytes(path)));
    if (edited.document.load() != TableDocument::LoadOutcome::Read) {
        fileError(path, toUtf8(_("Invalid file format - failed to open plotstyle table file.")));
        return false;
    }
    std::vector<int> rows;
    wxString error;
    if (!selectStyles(*edited.document.table(), parsed.styles, rows, error) ||
        !applyStyleEdits(edited.document, rows, parsed.edits, error)) {
        fileError(path, toUtf8(error));
        return false;
    }
    edited.differences = compareTables(original.get(), edited.document.table());
    return true;
}

std::string joined(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        text += (text.empty() ? "" : ", ") + path;
    }
    return text;
}

int printChanges(const std::vector<EditedTable>& tables) {
    for (const EditedTable& edited : tables) {
        for (const wxString& line : differenceLines(edited.differences)) {
            std::printf("%s: %s\n", edited.path.c_str(), toUtf8(line).c_str());
        }
    }
    return kExitSuccess;
}

// All or none: every file that changes is checked as its save would check it.
bool mayWriteAll(const std::vector<EditedTable>& tables) {
    for (const EditedTable& edited : tables) {
        if (edited.differences.empty()) {
            continue;
        }
        const wxString refusal = edited.document.saveRefusal();
        if (!refusal.empty()) {
            fileError(edited.path, toUtf8(refusal));
            return false;
        }
    }
    return true;
}

// Files without a change are left alone; a failed write names what was replaced before it.
int writeTables(std::vector<EditedTable>& tables) {
    std::vector<std::string> replaced;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        EditedTable& edited = tables[i];
        if (edited.differences.empty()) {
            continue;
        }
        const SaveResult saved = edited.document.save();
        if (saved.saved) {
            replaced.push_back(edited.path);
            continue;
        }
        std::string cause =
            saved.reason.empty()
                ? saveFailureCause(edited.document.fileName().GetFullPath(), saved.error)
                : toUtf8(saved.reason);
        cause += "; already replaced: " + (replaced.empty() ? "none" : joined(replaced));
        std::vector<std::string> unchanged;
        for (std::size_t j = i + 1; j < tables.size(); ++j) {
            if (!tables[j].differences.empty()) {
                unchanged.push_back(tables[j].path);
            }
        }
        if (!unchanged.empty()) {
            cause += "; not written: " + joined(unchanged);
        }
        return fileError(edited.path, cause);
    }
    return kExitSuccess;
}

} // namespace

int runSet(const std::vector<std::string>& args) {
    if (asksForHelp(args, kSetHelp)) {
        return kExitSuccess;
    }
    SetArguments parsed;
    if (!parseSetArguments(args, parsed)) {
        return kExitFailure;
    }
    // Held from before the first read to after the last write, taken all at once in the one
    // order every program takes them in.
    std::vector<safefile::FileLock> locks;
    safefile::Failure failure;
    if (!parsed.dryRun &&
        !safefile::lockFiles(parsed.files, safefile::kDefaultLockPatience, locks, failure)) {
        std::fprintf(stderr, "pstyle: %s\n", failure.message().c_str());
        return kExitFailure;
    }
    std::vector<EditedTable> tables(parsed.files.size());
    for (std::size_t i = 0; i < parsed.files.size(); ++i) {
        if (!editTable(parsed.files[i], parsed, tables[i])) {
            return kExitFailure;
        }
    }
    if (!mayWriteAll(tables)) {
        return kExitFailure;
    }
    return parsed.dryRun ? printChanges(tables) : writeTables(tables);
}
