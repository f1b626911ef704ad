// pstyle: the host program. It owns the configuration, loads the plot style library and offers
// its functions as commands, plus headless commands for working with table files in bulk.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host_commands.h"
#include "program_files.h"

namespace {

const char* const kUsage =
    "Usage: pstyle [--plot-style-path DIR] [--lang LANGUAGE] [COMMAND [ARGS]]\n"
    "\n"
    "Without a command, pstyle asks which table of the plot style folder to open, or how to\n"
    "create a new one (from scratch or from an existing table), then edits it.\n"
    "\n"
    "Commands that open a window:\n"
    "  edit FILE [--source FILE]  edit a table file; a new table when FILE does not exist\n"
    "                             (its kind from the extension: .ctb or .stb); with --source,\n"
    "                             start from that table's content and save to FILE\n"
    "  new --ctb|--stb [--dir DIR]\n"
    "                             create a colour-dependent (.ctb) or named (.stb) table in DIR\n"
    "                             (default: the plot style folder) under a name you type;\n"
    "                             prints the new file's name when it is to be used\n"
    "  snapshot DIR               write PNG pictures of the dialogs and the editor's pages,\n"
    "                             on the sample tables\n"
    "\n"
    "Commands without a display:\n"
    "  list                       the table files of the plot style folder, one a line\n"
    "  export FILE [-o OUT]       write the table as comma-separated lines (UTF-8) to\n"
    "                             standard output or OUT; usable as a git textconv driver\n"
    "  copy SOURCE TARGET         read a table and write it under TARGET in canonical form;\n"
    "                             TARGET's extension must fit the table's kind\n"
    "  diff A B [--csv]           how table B differs from A; exit status 1 when they differ\n"
    "  set FILE... [--styles LIST] [--dry-run] KEY=VALUE...\n"
    "                             change styles of many tables at once\n"
    "  convert IN.ctb OUT.stb     a named table made from a colour-dependent one\n"
    "  sheet TABLE -o FILE.svg|FILE.png|FILE.pdf [--page a4|a3|letter] [--portrait]\n"
    "                             a legend sheet of the table for printing; a PDF on pages\n"
    "                             of a paper size\n"
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
    "Exit status: 0 success, 1 cancelled by the user, 2 bad usage, a file error or no display.\n";

} // namespace

int main(int argc, char** argv) {
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
    const std::string command = args.empty() ? std::string() : args.front();
    if (!args.empty()) {
        args.erase(args.begin());
    }

    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return kExitSuccess;
    }
    if (command == "--version") {
        std::printf("pstyle %s\n", PSTYLE_VERSION);
        return kExitSuccess;
    }
    if (command == "export") {
        return runExport(args);
    }
    if (command == "copy") {
        return runCopy(args);
    }
    if (command == "diff") {
        return runDiff(args);
    }
    if (command == "set") {
        return runSet(args);
    }
    if (command == "convert") {
        return runConvert(args);
    }
    if (command == "sheet") {
        return runSheet(args);
    }

    configurePlotStylePath(plotStylePath, argv[0]);
    if (command.empty()) {
        return runSelection(argc, argv);
    }
    if (command == "list") {
        return runList(args);
    }
    if (command == "edit") {
        return runEdit(args, argc, argv);
    }
    if (command == "new") {
        return runNew(args, argc, argv);
    }
    if (command == "snapshot") {
        return runSnapshot(args, argc, argv);
    }
    return usageError("unknown command '" + command + "'");
}
