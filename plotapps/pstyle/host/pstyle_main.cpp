// pstyle: the host program. It owns the configuration, loads the plot style library and offers
// its functions as commands, plus headless commands for working with table files in bulk.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host_commands.h"

namespace {

const char* const kUsage =
    "Usage: pstyle [OPTIONS] COMMAND [ARGS]\n"
    "\n"
    "Commands without a display:\n"
    "  export FILE [-o OUT]   write the table as comma-separated lines (UTF-8) to standard\n"
    "                         output or OUT; usable as a git textconv driver\n"
    "  copy SOURCE TARGET     read a table and write it under TARGET in canonical form;\n"
    "                         TARGET's extension must fit the table's kind (.ctb or .stb)\n"
    "\n"
    "Options:\n"
    "  --help                 show this text\n"
    "  --version              show the program's version\n"
    "\n"
    "Exit status: 0 success, 1 cancelled by the user, 2 bad usage or a file error.\n";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return kExitFailure;
    }
    const std::string command = args.front();
    args.erase(args.begin());

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
    return usageError("unknown command '" + command + "'");
}
