// pstyle plot as a whole process, start-up, reading, plotting, drawing and writing included: a
// drawing of 100,000 lines and 10,000 texts on an A3 page, beside a program that only reads the
// same drawing with dxflib (bench_read_dxf), in turn, so that both meet the same load. CPU time
// of each child, user and system, and the plot's peak resident size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <kesutils/plot_style_table.h>

#include "large_drawing.h"
#include "psl_text.h"

namespace {

struct ChildRun {
    double milliseconds;
    double peakMegabytes;
    int status;
};

// Runs the program with its output and errors thrown away.
ChildRun runChild(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (started != 0 || wait4(child, &status, 0, &usage) != child) {
        return {0, 0, -1};
    }
    const auto milliseconds = [](const timeval& time) {
        return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3;
    };
    return {milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime),
            double(usage.ru_maxrss) / 1e3, WEXITSTATUS(status)};
}

// Every style plots differently: lineweights, screening and linetypes of their own, a quarter
// with the drawing's linetypes.
struct TableFile {
    TableFile() {
        path = (std::filesystem::temp_directory_path() /
                ("pstyle-bench-" + std::to_string(getpid()) + ".ctb"))
                   .string();
        PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
        for (int row = 0; row < int(table->size()); ++row) {
            CPlotStyle& style = *table->style(row);
            style.LineWeight = row % 28;
            style.Screening = 40 + row % 61;
            style.LineType = row % 4 == 0 ? 31 : row % 31;
        }
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
