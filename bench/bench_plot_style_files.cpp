// Listing the table files of a plot style folder of 10,000 tables in 100 subfolders, with
// other files between them and a link loop. Needs no display.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <dirent.h>

#include <wx/arrstr.h>
#include <wx/init.h>

#include "plot_style_folder.h"
#include "pstyle_lib.h"

namespace {

// Reads the entries of a folder and of the real folders below it, and nothing else.
std::size_t countEntries(const std::string& path) {
    DIR* folder = opendir(path.c_str());
    if (!folder) {
        return 0;
    }
    std::size_t count = 0;
    std::vector<std::string> subfolders;
    while (const dirent* entry = readdir(folder)) {
        ++count;
        if (entry->d_type == DT_DIR && entry->d_name[0] != '.') {
            subfolders.push_back(path + '/' + entry->d_name);
        }
    }
    closedir(folder);
    for (const std::string& subfolder : subfolders) {
        count += countEntries(subfolder);
    }
    return count;
}

// The floor: reading the same folders' entries, without looking at their names.
void readFolderEntries(benchmark::State& state) {
    wxInitializer initializer;
    const PlotStyleFolder folder(int(state.range(0)));
    const std::string path(folder.path().fn_str());
    for (auto _ : state) {
        benchmark::DoNotOptimize(countEntries(path));
    }
}
BENCHMARK(readFolderEntries)->Arg(10000)->Unit(benchmark::kMillisecond);

void listPlotStyleFiles(benchmark::State& state) {
    wxInitializer initializer;
    const PlotStyleFolder folder(int(state.range(0)));
    std::size_t listed = 0;
    for (auto _ : state) {
        wxArrayString files;
        listed = getPlotStyleFiles(files);
    }
    if (listed != std::size_t(state.range(0))) {
        state.SkipWithError("the listing misses tables or lists some twice");
    }
}
BENCHMARK(listPlotStyleFiles)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
