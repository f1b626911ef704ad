// Reading and writing a colour-dependent table of 255 styles, each beside zlib's own share of the
// work on the same bytes: the read beside the bare inflate of the file's body, the write (atomic,
// to a RAM-backed folder, so that flushing costs next to nothing) beside the bare deflate of the
// table text at the writer's level. A summary of the ratios follows the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>
#include <zlib.h>

#include <kesutils/plot_style_table.h>

#include "plot_style_codec.h"
#include "table_container.h"
#include "table_text.h"

namespace fs = std::filesystem;

namespace {

// Styles that differ in colour, lineweight, pens and description, as an office's table does.
PlotStyleTablePtr sampleTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    table->Description = u"Office standard A1 – colour plots, 2024 revision";
    table->ScaleFactor = 2.5;
    for (int index = 0; index < static_cast<int>(table->size()); ++index) {
        CPlotStyle& style = *table->style(index);
        style.updateColor((index * 0x3A7F1D) & 0xFFFFFF);
        const std::string description = "Pen " + std::to_string(index % 32 + 1) + ": layer group " +
                                        std::to_string(index) + ", walls and cuts";
        style.setDesc(std::u16string(description.begin(), description.end()));
        style.LineWeight = index % 28;
        style.PhysPenNum = index % 33;
        style.VirtPenNum = index;
        style.Screening = 100 - index % 101;
        style.LineType = index % 32;
        style.LinePatSize = 0.25 * (index % 40 + 1);
    }
    return table;
}

std::string fileBytes() {
    std::string bytes;
    writePlotStyleTableToMemory(*sampleTable(), bytes);
    return bytes;
}

// tmpfs where the system has one, so that the write measures the save's own work.
fs::path ramFolder() {
    const fs::path shared = "/dev/shm";
    return fs::is_directory(shared) ? shared : fs::temp_directory_path();
}

std::string benchmarkPath(const fs::path& folder, const char* name) {
    return (folder / ("pstyle-bench-" + std::to_string(getpid()) + name)).string();
}

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void readTable(benchmark::State& state) {
    const std::string path = benchmarkPath(ramFolder(), "-read.ctb");
    std::string error;
    writePlotStyleTableFile(*sampleTable(), path, error);
    const std::u16string widePath = fs::path(path).u16string();
    for (auto _ : state) {
        PlotStyleTablePtr table(CPlotStyleTable::read(widePath.c_str()));
        benchmark::DoNotOptimize(table.get());
    }
    const std::size_t before = heapInUse();
    PlotStyleTablePtr held(CPlotStyleTable::read(widePath.c_str()));
    state.counters["heap_bytes"] = double(heapInUse() - before);
    std::remove(path.c_str());
}
BENCHMARK(readTable)->Unit(benchmark::kMicrosecond);

void inflateBody(benchmark::State& state) {
    const std::string bytes = fileBytes();
    const std::string body = bytes.substr(kCanonicalBodyOffset);
    std::string text(formatTableText(*sampleTable()).size(), '\0');
    for (auto _ : state) {
        uLongf size = text.size();
        const int status = uncompress(reinterpret_cast<Bytef*>(text.data()), &size,
                                      reinterpret_cast<const Bytef*>(body.data()),
                                      static_cast<uLong>(body.size()));
        benchmark::DoNotOptimize(status);
    }
}
BENCHMARK(inflateBody)->Unit(benchmark::kMicrosecond);

void writeTable(benchmark::State& state) {
    const PlotStyleTablePtr table = sampleTable();
    const std::string path = benchmarkPath(ramFolder(), "-write.ctb");
    const std::u16string widePath = fs::path(path).u16string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(table->write(widePath.c_str()));
    }
    std::remove(path.c_str());
}
BENCHMARK(writeTable)->Unit(benchmark::kMicrosecond);

// With the writer's settings, which keep zlib's memory small enough to be reused between calls.
void deflateText(benchmark::State& state) {
    const std::string text = formatTableText(*sampleTable());
    std::string body(compressBound(static_cast<uLong>(text.size())), '\0');
    for (auto _ : state) {
        z_stream stream{};
        deflateInit2(&stream, kTableCompressionLevel, Z_DEFLATED, kTableWindowBits,
                     kTableMemoryLevel, Z_DEFAULT_STRATEGY);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        stream.avail_in = static_cast<uInt>(text.size());
        stream.next_out = reinterpret_cast<Bytef*>(body.data());
        stream.avail_out = static_cast<uInt>(body.size());
        benchmark::DoNotOptimize(deflate(&stream, Z_FINISH));
        deflateEnd(&stream);
    }
}
BENCHMARK(deflateText)->Unit(benchmark::kMicrosecond);

// The same save to the temporary folder, whose flush usually reaches a disk.
void writeTableToDisk(benchmark::State& state) {
    const PlotStyleTablePtr table = sampleTable();
    const std::string path = benchmarkPath(fs::temp_directory_path(), "-write.ctb");
    const std::u16string widePath = fs::path(path).u16string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(table->write(widePath.c_str()));
    }
    std::remove(path.c_str());
}
BENCHMARK(writeTableToDisk)->Unit(benchmark::kMicrosecond);

// Prints the run as usual and keeps each benchmark's median CPU time (of its repetitions, or of
// its single run) and counters for the summary. CPU time, because the machines that run this are
// often shared; on the RAM-backed folder the save waits for no device.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians_[name] = run.GetAdjustedCPUTime();
            } else if (run.run_type == Run::RT_Iteration) {
                times_[name].push_back(run.GetAdjustedCPUTime());
            } else {
                continue;
            }
            for (const auto& [counter, value] : run.counters) {
                counters_[counter] = value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printSummary() {
        std::printf("\n%-34s %10s %10s %7s %6s\n", "Table of 255 styles, CPU time", "table", "zlib",
                    "ratio", "goal");
        printRatio("read / inflate of the body", "readTable", "inflateBody", 2.5);
        printRatio("write to RAM / deflate of the text", "writeTable", "deflateText", 2.0);
        if (counters_.count("heap_bytes")) {
            std::printf("Heap held by a loaded table: %.0f bytes\n",
                        double(counters_["heap_bytes"]));
        }
    }

private:
    double median(const std::string& name) {
        if (medians_.count(name)) {
            return medians_[name];
        }
        std::vector<double>& times = times_[name];
        if (times.empty()) {
            return 0;
        }
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        return times[times.size() / 2];
    }

    void printRatio(const char* what, const std::string& table, const std::string& zlib,
                    double goal) {
        const double tableTime = median(table);
        const double zlibTime = median(zlib);
        if (tableTime > 0 && zlibTime > 0) {
            std::printf("%-34s %7.1f us %7.1f us %6.2fx %5.1fx\n", what, tableTime, zlibTime,
                        tableTime / zlibTime, goal);
        }
    }

    std::map<std::string, double> medians_;
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, benchmark::Counter> counters_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::AddCustomContext("RAM-backed folder", ramFolder().string());
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
