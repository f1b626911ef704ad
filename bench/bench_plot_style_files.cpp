// Listing the table files of a plot style folder of 10,000 tables in 100 subfolders, with
// other files between them and a link loop. Needs no display.
#include <benchmark/benchmark.h>

#include <wx/arrstr.h>
#include <wx/init.h>

#include "plot_style_folder.h"
#include "pstyle_lib.h"

namespace {

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
