// pstyle export and diff as whole processes, start-up included, as a git text converter or diff
// driver runs them once for each revision: each beside a small program that only reads the same
// table files and prints their text (bench_read_table_text), in turn, so that both meet the same
// load. Then every table command on the largest tables the reader takes, and set with a list of
// 9,999 style names. CPU time of the child process, user and system; a summary follows the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <kesutils/plot_style_table.h>

#include "child_process.h"
#include "largest_tables.h"
#include "plot_style_codec.h"
#include "sample_table.h"

namespace fs = std::filesystem;

namespace {

// The table, and the same with one style changed, as the two sides of a diff.
struct TableFiles {
    TableFiles() {
        const fs::path folder = fs::temp_directory_path();
        const std::string prefix = "pstyle-bench-" + std::to_string(getpid());
        before = (folder / (prefix + "-before.ctb")).string();
        after = (folder / (prefix + "-after.ctb")).string();
        PlotStyleTablePtr table = sampleTable();
        std::string error;
        writePlotStyleTableFile(*table, before, error);
        table->style(3)->Screening = 50;
        writePlotStyleTableFile(*table, after, error);
    }
    ~TableFiles() {
        std::remove(before.c_str());
        std::remove(after.c_str());
    }
    std::string before;
    std::string after;
};

void sideBySide(benchmark::State& state, const std::vector<std::string>& command,
                const std::vector<std::string>& baseline) {
    double commandTime = 0;
    double baselineTime = 0;
    for (auto _ : state) {
        commandTime += runChild(command).milliseconds;
        baselineTime += runChild(baseline).milliseconds;
    }
    const double iterations = double(state.iterations());
    state.counters["pstyle_ms"] = commandTime / iterations;
    state.counters["baseline_ms"] = baselineTime / iterations;
    state.counters["ratio"] = commandTime / baselineTime;
}

void exportBesideReading(benchmark::State& state) {
    const TableFiles tables;
    sideBySide(state, {PSTYLE_PROGRAM, "export", tables.before},
               {TABLE_TEXT_BASELINE, tables.before});
}
BENCHMARK(exportBesideReading)->Unit(benchmark::kMillisecond)->Iterations(40);

void diffBesideReading(benchmark::State& state) {
    const TableFiles tables;
    sideBySide(state, {PSTYLE_PROGRAM, "diff", tables.before, tables.after},
               {TABLE_TEXT_BASELINE, tables.before, tables.after});
}
BENCHMARK(diffBesideReading)->Unit(benchmark::kMillisecond)->Iterations(40);

// The largest tables of each kind, written once for all the benchmarks below.
class LargestTables {
public:
    LargestTables()
        : folder_(fs::temp_directory_path() / ("pstyle-largest-" + std::to_string(getpid()))) {
        fs::create_directories(folder_);
        writeLargestTable(LargestTable::ManyStyles, path("many.stb"));
        writeLargestTable(LargestTable::LongNames, path("long-names.stb"));
        writeLargestTable(LargestTable::ColorDependent, path("colors.ctb"));
        // Every style changed, as the other side of a diff.
        const PlotStyleTablePtr edited = largestTable(false, 10000, kManyStylesNameBytes);
        for (int row = 0; row < int(edited->size()); ++row) {
            edited->style(row)->Screening = 50;
        }
        std::string error;
        writePlotStyleTableFile(*edited, path("edited.stb"), error);
        std::string list;
        for (int row = 1; row < 10000; ++row) {
            list += (list.empty() ? "" : ",") + largestTableStyleName(row, kManyStylesNameBytes);
        }
        styleNames = list;
    }
    ~LargestTables() { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::string styleNames; // every style of many.stb but Normal

private:
    fs::path folder_;
};

const LargestTables& largestTables() {
    static const LargestTables tables;
    return tables;
}

// A command on the largest tables; set alternates its value so that every run writes.
void largestTableCommand(benchmark::State& state, std::vector<std::string> words) {
    const LargestTables& tables = largestTables();
    for (std::string& word : words) {
        if (word.find('.') != std::string::npos && word.find('=') == std::string::npos) {
            word = tables.path(word);
        } else if (word == "NAMES") {
            word = tables.styleNames;
        }
    }
    words.insert(words.begin(), PSTYLE_PROGRAM);
    double total = 0;
    for (auto _ : state) {
        std::string& last = words.back();
        if (last.rfind("screening=", 0) == 0) {
            last = last == "screening=40" ? "screening=60" : "screening=40";
        }
        const ChildRun run = runChild(words);
        total += run.milliseconds;
        if (run.status != 0 && !(run.status == 1 && words[1] == "diff")) {
            state.SkipWithError("the command failed");
            return;
        }
    }
    state.counters["cpu_ms"] = total / double(state.iterations());
}

const struct {
    const char* name;
    std::vector<std::string> words;
} kLargestTableCommands[] = {
    {"export_10000_styles", {"export", "many.stb"}},
    {"copy_10000_styles", {"copy", "many.stb", "copy.stb"}},
    {"diff_10000_styles_all_changed", {"diff", "many.stb", "edited.stb"}},
    {"set_10000_styles", {"set", "many.stb", "screening=40"}},
    {"set_9999_names_of_10000_styles", {"set", "many.stb", "--styles", "NAMES", "screening=40"}},
    {"export_928_long_names", {"export", "long-names.stb"}},
    {"set_928_long_names", {"set", "long-names.stb", "screening=40"}},
    {"sheet_svg_928_long_names", {"sheet", "long-names.stb", "-o", "sheet.svg"}},
    {"sheet_png_928_long_names", {"sheet", "long-names.stb", "-o", "sheet.png"}},
    {"sheet_pdf_928_long_names", {"sheet", "long-names.stb", "-o", "sheet.pdf"}},
    {"convert_255_long_texts", {"convert", "colors.ctb", "converted.stb"}},
    {"diff_255_long_texts", {"diff", "colors.ctb", "colors.ctb"}},
};

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
        std::printf("\n%-40s %9s %9s %7s %6s\n", "Whole process, 255 styles, CPU time", "pstyle",
                    "baseline", "ratio", "goal");
        printRatio("export / reading the table", "exportBesideReading", 1.5);
        printRatio("diff / reading both tables", "diffBesideReading", 2.0);
        std::printf("\n%-40s %9s %9s\n", "Largest accepted tables, CPU time", "pstyle", "goal");
        for (const auto& command : kLargestTableCommands) {
            const auto found = counters_.find(command.name);
            if (found != counters_.end() && found->second.count("cpu_ms")) {
                std::printf("%-40s %6.0f ms %6d ms\n", command.name,
                            double(found->second.at("cpu_ms")), 1000);
            }
        }
    }

private:
    void printRatio(const char* what, const std::string& name, double goal) {
        const auto found = counters_.find(name);
        if (found == counters_.end() || !found->second.count("ratio")) {
            return;
        }
        const benchmark::UserCounters& counters = found->second;
        std::printf("%-40s %6.1f ms %6.1f ms %6.2fx %5.1fx\n", what,
                    double(counters.at("pstyle_ms")), double(counters.at("baseline_ms")),
                    double(counters.at("ratio")), goal);
    }

    std::map<std::string, benchmark::UserCounters> counters_;
};

} // namespace

int main(int argc, char** argv) {
    for (const auto& command : kLargestTableCommands) {
        benchmark::RegisterBenchmark(command.name, largestTableCommand, command.words)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
