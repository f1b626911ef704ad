// The plot engine on a drawing of 100,000 lines and 10,000 texts on eight layers: reading it
// and turning it, with a colour-dependent or a named table, into paper primitives, beside
// reading the same file with dxflib alone (callbacks that do nothing), which no plot can avoid.
// Reports both times, their ratio, the heap that the drawing and its plot hold and the
// process's peak resident size.
#include <benchmark/benchmark.h>

#include <string>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <malloc.h>
#include <sys/resource.h>
#include <time.h>

#include <kesutils/plot_style_table.h>

#include "large_drawing.h"
#include "plot_dxf_reader.h"
#include "plot_engine.h"

namespace {

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// CPU time of work in milliseconds: the machines that run this are often shared.
template <class Work> double cpuMilliseconds(Work&& work) {
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
}

PlotStyleTablePtr namedTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    table->addStyle(u"Heavy", 0, nullptr);
    table->style(1)->LineWeight = 20;
    return table;
}

void plotBesideLibraryRead(benchmark::State& state, const CPlotStyleTable& table) {
    const std::string& path = largedrawing::drawingPath();
    PlotOptions options;
    options.page = PageSize::A3;
    options.layerStyles = {{"LAYER2", "Heavy"}};
    double plotTime = 0;
    double libraryTime = 0;
    std::size_t items = 0;
    for (auto _ : state) {
        plotTime += cpuMilliseconds([&] {
            wxString error;
            const auto drawing = readDxfDrawing(path, error);
            const PaperPlot plot = plotDrawing(*drawing, table, options);
            items = plot.items.size();
        });
        libraryTime += cpuMilliseconds([&] {
            DL_CreationAdapter nothing;
            DL_Dxf dxf;
            benchmark::DoNotOptimize(dxf.in(path, &nothing));
        });
    }
    const double iterations = double(state.iterations());
    state.counters["plot_ms"] = plotTime / iterations;
    state.counters["dxflib_ms"] = libraryTime / iterations;
    state.counters["ratio"] = plotTime / libraryTime;
    state.counters["items"] = double(items);

    const std::size_t before = heapInUse();
    {
        wxString error;
        const auto drawing = readDxfDrawing(path, error);
        const PaperPlot plot = plotDrawing(*drawing, table, options);
        state.counters["heap_MB"] = double(heapInUse() - before) / 1e6;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1e3;
}

void plotWithColorTable(benchmark::State& state) {
    plotBesideLibraryRead(state, *largedrawing::plotTable());
}
BENCHMARK(plotWithColorTable)->Unit(benchmark::kMillisecond);

void plotWithNamedTable(benchmark::State& state) {
    plotBesideLibraryRead(state, *namedTable());
}
BENCHMARK(plotWithNamedTable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
