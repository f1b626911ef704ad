// pstyle plot as a whole process, start-up, reading, plotting, drawing and writing included: a
// drawing of 100,000 lines and 10,000 texts on an A3 page, beside a program that only reads the
// same drawing with dxflib (bench_read_dxf), in turn, so that both meet the same load. CPU time
// of each child, user and system, and the plot's peak resident size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include <kesutils/plot_style_table.h>

#include "child_process.h"
#include "large_drawing.h"
#include "psl_text.h"

namespace {

// The plot benchmarks' table, as a file.
struct TableFile {
    TableFile() {
        path = (std::filesystem::temp_directory_path() /
                ("pstyle-bench-" + std::to_string(getpid()) + ".ctb"))
                   .string();
        const PlotStyleTablePtr table = largedrawing::plotTable();
        table->write(toHostText(wxString::FromUTF8(path)).c_str());
    }
    ~TableFile() { std::remove(path.c_str()); }
    std::string path;
};

void plotBesideReading(benchmark::State& state, const std::string& extension) {
    const std::string& drawing = largedrawing::drawingPath();
    const TableFile table;
    const std::string output = table.path + "." + extension;
    double plotTime = 0;
    double readTime = 0;
    double peak = 0;
    for (auto _ : state) {
        const ChildRun plot =
            runChild({PSTYLE_PROGRAM, "plot", drawing, table.path, "-o", output, "--page", "a3"});
        const ChildRun read = runChild({DXF_READ_BASELINE, drawing});
        if (plot.status != 0 || read.status != 0) {
            state.SkipWithError("a child failed");
            break;
        }
        plotTime += plot.milliseconds;
        readTime += read.milliseconds;
        peak = std::max(peak, plot.peakMegabytes);
    }
    std::remove(output.c_str());
    const double iterations = double(state.iterations());
    state.counters["plot_ms"] = plotTime / iterations;
    state.counters["dxflib_ms"] = readTime / iterations;
    state.counters["ratio"] = plotTime / readTime;
    state.counters["peak_rss_MB"] = peak;
}

// The goal: at most 3 times the reading, within 300 MB.
void plotPngBesideReading(benchmark::State& state) {
    plotBesideReading(state, "png");
}
BENCHMARK(plotPngBesideReading)->Unit(benchmark::kMillisecond)->Iterations(3);

void plotPdfBesideReading(benchmark::State& state) {
    plotBesideReading(state, "pdf");
}
BENCHMARK(plotPdfBesideReading)->Unit(benchmark::kMillisecond)->Iterations(3);

void plotSvgBesideReading(benchmark::State& state) {
    plotBesideReading(state, "svg");
}
BENCHMARK(plotSvgBesideReading)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
