// A small program over the safe file library and the table codec, for the reliability script:
// one save, table saves to be killed, and a check that a table file reads.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <kesutils/plot_style_table.h>
#include <safe_file.h>

#include "plot_style_codec.h"

namespace {

int failed(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 2;
}

int save(const std::string& path, const std::string& text) {
    safefile::Failure failure;
    return safefile::writeFile(path, text, {}, failure) ? 0 : failed(failure.message());
}

// Saves a table of 255 styles times times (without end when times is 0), its description
// naming the save.
int tables(const std::string& path, long times) {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    for (long saved = 1; times == 0 || saved <= times; ++saved) {
        const std::string text = "save " + std::to_string(saved);
        table->Description.assign(text.begin(), text.end());
        std::string error;
        if (!writePlotStyleTableFile(*table, path, error)) {
            return failed(path + ": " + error);
        }
    }
    return 0;
}

int check(const std::string& path) {
    std::string error;
    const PlotStyleTablePtr table = readPlotStyleTableFile(path, error);
    if (!table) {
        return failed(path + ": " + error);
    }
    const std::u16string& description = table->Description;
    std::printf("%s\n", std::string(description.begin(), description.end()).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string command = args.empty() ? "" : args[0];
    if (command == "save" && args.size() == 3) {
        return save(args[1], args[2]);
    }
    if (command == "tables" && (args.size() == 2 || args.size() == 3)) {
        return tables(args[1], args.size() == 3 ? std::atol(args[2].c_str()) : 0);
    }
    if (command == "check" && args.size() == 2) {
        return check(args[1]);
    }
    std::fprintf(stderr, "usage: safe_file_driver save FILE TEXT "
                         "| tables FILE [TIMES] | check FILE\n");
    return 64;
}
