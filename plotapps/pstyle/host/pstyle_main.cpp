// pstyle: the host program. It owns the configuration, loads the plot style library and offers
// its functions as commands, plus headless commands for working with table files in bulk.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <wx/strconv.h>

#include "host_commands.h"
#include "program_files.h"
#include "psl_file_names.h"

namespace {

// One row per command, as git's command table has it. The plot style folder is put in the
// configuration before a command that needs it runs. A command that needs a display is listed
// among those that open a window; it checks its arguments before it looks for the display, so
// that looking is its own business.
struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>& args);
    bool needsPlotStyleFolder;
    bool needsDisplay;
    const char* synopsis;
    const char* summary; // lines separated by '\n'
};

const Command kCommands[] = {
    {"edit", runEdit, true, true, "edit FILE [--source FILE]",
     "edit a table file; a new table when FILE does not exist\n"
     "(its kind from the extension: .ctb or .stb); with --source,\n"
     "start from that table's content and save to FILE"},
    {"new", runNew, true, true, "new --ctb|--stb [--dir DIR]",
     "create a colour-dependent (.ctb) or named (.stb) table in DIR\n"
     "(default: the plot style folder) under a name you type;\n"
     "prints the new file's name when it is to be used"},
    {"snapshot", runSnapshot, false, true, "snapshot DIR",
     "write PNG pictures of the dialogs and the editor's pages,\n"
     "on the sample tables"},
    {"list", runList, true, false, "list", "the table files of the plot style folder, one a line"},
    {"export", runExport, false, false, "export FILE [-o OUT]",
     "write the table as comma-separated lines (UTF-8) to\n"
     "standard output or OUT; usable as a git textconv driver"},
    {"copy", runCopy, false, false, "copy SOURCE TARGET",
     "read a table and write it under TARGET in canonical form;\n"
     "TARGET's extension must fit the table's kind"},
    {"diff", runDiff, false, false, "diff A B [--csv]",
     "how table B differs from A; exit status 1 when they differ"},
    {"set", runSet, false, false, "set FILE... [--styles LIST] [--dry-run] KEY=VALUE...",
     "change styles of many tables at once"},
    {"convert", runConvert, false, false, "convert IN.ctb OUT.stb",
     "a named table made from a colour-dependent one"},
    {"sheet", runSheet, false, false,
     "sheet TABLE -o FILE.svg|FILE.png|FILE.pdf [--page a4|a3|letter] [--portrait]",
     "a legend sheet of the table for printing; a PDF on pages\n"
     "of a paper size"},
    {"plot", runPlot, false, false, "plot DRAWING.dxf TABLE -o OUT.pdf|OUT.svg|OUT.png [OPTION]...",
     "a DXF drawing as it plots with the table, fitted to a\n"
     "page; with --compare, beside its plot with TABLE2"},
    {"check", runCheck, false, false, "check [--against TABLE] [--csv] PATH...",
     "one line per finding in the tables of the files and\n"
     "folders given; exit status 1 when there are findings"},
};

// The program without a command: the table selection dialog on the plot style folder.
const Command kSelection = {"", runSelection, true, true, "", ""};

const Command* findCommand(const std::string& name) {
    for (const Command& command : kCommands) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

// "  SYNOPSIS   SUMMARY" with the summary's lines aligned; a long synopsis gets a line of its own.
void printCommands(bool needsDisplay) {
    constexpr int kSynopsisWidth = 26;
    for (const Command& command : kCommands) {
        if (command.needsDisplay != needsDisplay) {
            continue;
        }
        const bool ownLine = std::strlen(command.synopsis) > kSynopsisWidth;
        std::printf("  %-*s", kSynopsisWidth, command.synopsis);
        const char* line = command.summary;
        for (bool first = true; *line; first = false) {
            const char* end = std::strchr(line, '\n');
            const int length = end ? int(end - line) : int(std::strlen(line));
            std::printf("%s%*s%.*s", first && !ownLine ? "" : "\n", first && !ownLine ? 1 : 29, "",
                        length, line);
            line = end ? end + 1 : line + length;
        }
        std::printf("\n");
    }
}

void printUsage() {
    std::fputs("Usage: pstyle [--plot-style-path DIR] [--lang LANGUAGE] [COMMAND [ARGS]]\n"
               "\n"
               "Without a command, pstyle asks which table of the plot style folder to open, or "
               "how to\n"
               "create a new one (from scratch or from an existing table), then edits it.\n"
               "\n"
               "Commands that open a window:\n",
               stdout);
    printCommands(true);
    std::fputs("\nCommands without a display:\n", stdout);
    printCommands(false);
    std::fputs(
        "  (COMMAND --help tells more about each of these)\n"
        "\n"
        "Options:\n"
        "  --plot-style-path DIR      the plot style folder (default: $PSTYLE_PLOT_STYLE_PATH,\n"
        "                             else the sample folder that ships with pstyle)\n"
        "  --lang LANGUAGE            the language of the messages, for example de (default:\n"
        "                             $LANGUAGE, $LC_ALL, $LC_MESSAGES, $LANG; numbers always\n"
        "                             keep their decimal point)\n"
        "  --help                     show this text\n"
        "  --version                  show the program's version\n"
        "\n"
        "Commands that open a window need a display (DISPLAY, or run them under xvfb-run).\n"
        "Exit status: 0 success, 1 cancelled by the user, 2 bad usage, a file error or no "
        "display.\n",
        stdout);
}

int runProgram(int argc, char** argv) {
    setProgramPath(argv[0]);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string plotStylePath;
    if (const char* fromEnvironment = std::getenv("PSTYLE_PLOT_STYLE_PATH")) {
        plotStylePath = fromEnvironment;
    }
    std::string language;
    while (!args.empty() && (args.front() == "--plot-style-path" || args.front() == "--lang")) {
        const bool isPath = args.front() == "--plot-style-path";
        if (args.size() < 2) {
            return usageError(args.front() + (isPath ? " needs a folder" : " needs a language"));
        }
        (isPath ? plotStylePath : language) = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (!chooseLanguage(language, argv[0])) {
        return kExitFailure;
    }
    const std::string name = args.empty() ? std::string() : args.front();
    if (!args.empty()) {
        args.erase(args.begin());
    }

    if (name == "--help" || name == "-h") {
        printUsage();
        return kExitSuccess;
    }
    if (name == "--version") {
        std::printf("pstyle %s\n", PSTYLE_VERSION);
        return kExitSuccess;
    }
    const Command* command = name.empty() ? &kSelection : findCommand(name);
    if (!command) {
        return usageError("unknown command '" + name + "'");
    }
    if (command->needsPlotStyleFolder) {
        configurePlotStylePath(plotStylePath, argv[0]);
    }
    return command->run(args);
}

} // namespace

int main(int argc, char** argv) {
    // Names that are not UTF-8 open through wxWidgets' file functions too.
    wxConvFileName = &fileNameConversion();
    setUpStandardOutput();
    return withStandardOutputWritten(runProgram(argc, argv));
}
