// Commands for the people who keep an office's tables: compare two tables, convert a
// colour-dependent table into a named one. None of them needs a display.
#include <cstdio>

#include <wx/filename.h>
#include <wx/intl.h>

#include "host_commands.h"
#include "psl_file_names.h"
#include "psl_table_convert.h"
#include "psl_table_diff.h"
#include "psl_table_document.h"
#include "psl_table_files.h"
#include "psl_text.h"

namespace {

constexpr int kExitDifferent = 1;

const char* const kDiffHelp =
    "Usage: pstyle diff A B [--csv]\n"
    "\n"
    "Prints how table B differs from table A: table settings first, then style by style\n"
    "(colour-dependent tables by colour, named tables by name), lineweights in B's units.\n"
    "Values are compared as they take effect, so a table written again by another program\n"
    "shows no difference. /dev/null stands for a table that does not exist, so the command\n"
    "works as a git difftool:\n"
    "  git config difftool.pstyle.cmd 'pstyle diff \"$LOCAL\" \"$REMOTE\"'\n"
    "\n"
    "  --csv    comma-separated lines style,property,old,new (lineweights in millimetres)\n"
    "\n"
    "Exit status: 0 the tables are equal, 1 they differ, 2 bad usage or a file error.\n";

const char* const kConvertHelp =
    "Usage: pstyle convert IN.ctb OUT.stb\n"
    "\n"
    "Writes a named table made from a colour-dependent one: the style Normal, then one style\n"
    "per colour (Color_1 ... Color_255) with that colour's properties, and an ACI table that\n"
    "maps every colour to its style. Description, scale factor and lineweights are kept.\n"
    "\n"
    "Exit status: 0 success, 2 bad usage or a file error (OUT is then left as it was).\n";

bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

void printLines(const wxArrayString& lines) {
    for (const wxString& line : lines) {
        std::fputs((toUtf8(line) + '\n').c_str(), stdout);
    }
}

// /dev/null stands for a table that does not exist, as version control hands it over.
bool readComparedTable(const std::string& path, PlotStyleTablePtr& table) {
    if (path == "/dev/null") {
        return true;
    }
    table = readTable(path);
    return bool(table);
}

std::string kindName(const CPlotStyleTable& table) {
    return table.ColorDependent ? "colour-dependent" : "named";
}

} // namespace

int runDiff(const std::vector<std::string>& args) {
    if (asksForHelp(args, kDiffHelp)) {
        return kExitSuccess;
    }
    bool csv = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--csv") {
            csv = true;
        } else if (isOption(arg)) {
            return usageError("diff: unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        return usageError("diff needs two table files, A and B");
    }
    PlotStyleTablePtr before;
    PlotStyleTablePtr after;
    if (!readComparedTable(files[0], before) || !readComparedTable(files[1], after)) {
        return kExitFailure;
    }
    if (before && after && before->ColorDependent != after->ColorDependent) {
        return fileError(files[1], "cannot compare a " + kindName(*after) + " table with the " +
                                       kindName(*before) + " table " + files[0]);
    }
    const std::vector<TableDifference> differences = compareTables(before.get(), after.get());
    printLines(csv ? differenceCsvLines(differences) : differenceLines(differences));
    return differences.empty() ? kExitSuccess : kExitDifferent;
}

int runConvert(const std::vector<std::string>& args) {
    if (asksForHelp(args, kConvertHelp)) {
        return kExitSuccess;
    }
    if (args.size() != 2 || isOption(args[0]) || isOption(args[1])) {
        return usageError("convert needs a colour-dependent table IN.ctb and a target OUT.stb");
    }
    const std::string& input = args[0];
    const std::string& output = args[1];
    const wxFileName outputName(fileNameFromBytes(output));
    if (!fitsTableKind(outputName, false)) {
        return fileError(output, wrongKindCause(outputName, false));
    }
    const PlotStyleTablePtr source = readTable(input);
    if (!source) {
        return kExitFailure;
    }
    if (!source->ColorDependent) {
        return fileError(input, "is a named table; convert makes named tables from "
                                "colour-dependent ones");
    }
    // The output starts as a copy of the input, as the editor starts one, and becomes named.
    TableDocument named(outputName);
    if (named.load(fileNameFromBytes(input)) != TableDocument::LoadOutcome::Read) {
        return fileError(input, toUtf8(_("Invalid file format - failed to open plotstyle table "
                                         "file.")));
    }
    const EditResult converted = named.convertToNamed();
    if (converted.refused()) {
        return fileError(output, toUtf8(converted.reason));
    }
    const SaveResult saved = named.save();
    if (!saved.saved) {
        return fileError(output, saved.reason.empty()
                                     ? saveFailureCause(outputName.GetFullPath(), saved.error)
                                     : toUtf8(saved.reason));
    }
    return kExitSuccess;
}
