// Reading and writing a colour-dependent table of 255 styles, in memory and through a file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <kesutils/plot_style_table.h>

#include "plot_style_codec.h"

namespace {

// A table whose styles differ from each other, as a real table's do.
PlotStyleTablePtr sampleTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    table->Description = u"Benchmark table";
    for (int index = 0; index < static_cast<int>(table->size()); ++index) {
        CPlotStyle& style = *table->style(index);
        style.updateColor(index * 0x010305);
        style.LineWeight = index % 28;
        style.Screening = index % 101;
        style.LinePatSize = 0.25 * index;
    }
    return table;
}

std::string sampleBytes() {
    std::string bytes;
    writePlotStyleTableToMemory(*sampleTable(), bytes);
    return bytes;
}

std::string benchmarkPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("pstyle-bench-") + std::to_string(getpid()) + name))
        .string();
}

void readFromMemory(benchmark::State& state) {
    const std::string bytes = sampleBytes();
    std::string error;
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPlotStyleTableFromMemory(
            reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), error));
    }
}
BENCHMARK(readFromMemory)->Unit(benchmark::kMicrosecond);

void writeToMemory(benchmark::State& state) {
    const PlotStyleTablePtr table = sampleTable();
    for (auto _ : state) {
        std::string bytes;
        benchmark::DoNotOptimize(writePlotStyleTableToMemory(*table, bytes));
    }
}
BENCHMARK(writeToMemory)->Unit(benchmark::kMicrosecond);

void readFromFile(benchmark::State& state) {
    const std::string path = benchmarkPath("-read.ctb");
    std::string error;
    writePlotStyleTableFile(*sampleTable(), path, error);
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPlotStyleTableFile(path, error));
    }
    std::remove(path.c_str());
}
BENCHMARK(readFromFile)->Unit(benchmark::kMicrosecond);

// Includes flushing the file to disk, which every save does.
void writeToFile(benchmark::State& state) {
    const PlotStyleTablePtr table = sampleTable();
    const std::string path = benchmarkPath("-write.ctb");
    std::string error;
    for (auto _ : state) {
        benchmark::DoNotOptimize(writePlotStyleTableFile(*table, path, error));
    }
    std::remove(path.c_str());
}
BENCHMARK(writeToFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
