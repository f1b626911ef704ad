// Reading and writing a colour-dependent table of 255 styles, each beside zlib's own share of the
// work on the same bytes: the read beside the bare inflate of the file's body, the write (atomic,
// to a RAM-backed folder, so that flushing costs next to nothing) beside the bare deflate of the
// table text at the writer's settings. A summary of the ratios follows the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <malloc.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

#include <kesutils/plot_style_table.h>

#include "plot_style_codec.h"
#include "sample_table.h"
#include "table_container.h"
#include "table_text.h"

namespace fs = std::filesystem;

namespace {

std::string fileBytes() {
    std::string bytes;
    std::string error;
    writePlotStyleTableToMemory(*sampleTable(), bytes, error);
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

// CPU time of work in microseconds: the machines that run this are often shared.
template <class Work> double cpuMicroseconds(Work&& work) {
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) * 1e6 + double(end.tv_nsec - start.tv_nsec) / 1e3;
}

// Runs the table's work and zlib's share of it in turn, so that both meet the same load, and
// reports both with their ratio.
template <class TableWork, class ZlibWork>
void sideBySide(benchmark::State& state, TableWork tableWork, ZlibWork zlibWork) {
    double tableTime = 0;
    double zlibTime = 0;
    for (auto _ : state) {
        tableTime += cpuMicroseconds(tableWork);
        zlibTime += cpuMicroseconds(zlibWork);
    }
    const double iterations = double(state.iterations());
    state.counters["table_us"] = tableTime / iterations;
    state.counters["zlib_us"] = zlibTime / iterations;
    state.counters["ratio"] = tableTime / zlibTime;
}

void readBesideInflate(benchmark::State& state) {
    const std::string path = benchmarkPath(ramFolder(), "-read.ctb");
    std::string error;
    writePlotStyleTableFile(*sampleTable(), path, error);
    const std::u16string widePath = fs::path(path).u16string();
    const std::string body = fileBytes().substr(kCanonicalBodyOffset);
    std::string text(formatTableText(*sampleTable()).size(), '\0');
    sideBySide(
        state,
        [&] {
            PlotStyleTablePtr table(CPlotStyleTable::read(widePath.c_str()));
            benchmark::DoNotOptimize(table.get());
        },
        [&] {
            uLongf size = text.size();
            benchmark::DoNotOptimize(uncompress(reinterpret_cast<Bytef*>(text.data()), &size,
                                                reinterpret_cast<const Bytef*>(body.data()),
                                                static_cast<uLong>(body.size())));
        });
    const std::size_t before = heapInUse();
    PlotStyleTablePtr held(CPlotStyleTable::read(widePath.c_str()));
    state.counters["heap_bytes"] = double(heapInUse() - before);
    std::remove(path.c_str());
}
BENCHMARK(readBesideInflate)->Unit(benchmark::kMicrosecond);

void writeBesideDeflate(benchmark::State& state) {
    const PlotStyleTablePtr table = sampleTable();
    const std::string path = benchmarkPath(ramFolder(), "-write.ctb");
    const std::u16string widePath = fs::path(path).u16string();
    const std::string text = formatTableText(*table);
    std::string body(compressBound(static_cast<uLong>(text.size())), '\0');
    sideBySide(
        state, [&] { benchmark::DoNotOptimize(table->write(widePath.c_str())); },
        [&] {
            z_stream stream{};
            deflateInit2(&stream, kTableCompressionLevel, Z_DEFLATED, kTableWindowBits,
                         kTableMemoryLevel, Z_DEFAULT_STRATEGY);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
            stream.avail_in = static_cast<uInt>(text.size());
            stream.next_out = reinterpret_cast<Bytef*>(body.data());
            stream.avail_out = static_cast<uInt>(body.size());
            benchmark::DoNotOptimize(deflate(&stream, Z_FINISH));
            deflateEnd(&stream);
        });
    std::remove(path.c_str());
}
BENCHMARK(writeBesideDeflate)->Unit(benchmark::kMicrosecond);

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

// Prints the run as usual and keeps each benchmark's counters, from the median of its
// repetitions or from its single run, for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || run.run_type == Run::RT_Iteration) {
                counters_[run.run_name.function_name] = run.counters;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printSummary() {
        std::printf("\n%-36s %10s %10s %7s %6s\n", "Table of 255 styles, CPU time", "table", "zlib",
                    "ratio", "goal");
        printRatio("read / inflate of the body", "readBesideInflate", 2.5);
        printRatio("write to RAM / deflate of the text", "writeBesideDeflate", 2.0);
        const auto read = counters_.find("readBesideInflate");
        if (read != counters_.end() && read->second.count("heap_bytes")) {
            std::printf("Heap held by a loaded table: %.0f bytes\n",
                        double(read->second.at("heap_bytes")));
        }
    }

private:
    void printRatio(const char* what, const std::string& name, double goal) {
        const auto found = counters_.find(name);
        if (found == counters_.end() || !found->second.count("ratio")) {
            return;
        }
        const benchmark::UserCounters& counters = found->second;
        std::printf("%-36s %7.1f us %7.1f us %6.2fx %5.1fx\n", what,
                    double(counters.at("table_us")), double(counters.at("zlib_us")),
                    double(counters.at("ratio")), goal);
    }

    std::map<std::string, benchmark::UserCounters> counters_;
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
