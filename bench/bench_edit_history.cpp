// The editor's undo history on a colour-dependent table of 255 styles: taking a step after an
// edit of one style and after an edit of every style, with the memory a step keeps, and an undo
// with its redo. Needs no display.
#include <benchmark/benchmark.h>

#include <string>

#include <malloc.h>

#include <kesutils/plot_style_table.h>

#include "psl_edit_history.h"

namespace {

// Styles that differ from each other, as an office's table's do.
PlotStyleTablePtr sampleTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    for (int index = 0; index < int(table->size()); ++index) {
        CPlotStyle& style = *table->style(index);
        style.updateColor((index * 0x3A7F1D) & 0xFFFFFF);
        const std::string description =
            "Pen " + std::to_string(index % 32 + 1) + ", layer group " + std::to_string(index);
        style.setDesc(std::u16string(description.begin(), description.end()));
        style.LineWeight = index % 28;
        style.PhysPenNum = index % 33;
    }
    return table;
}

// An edit of styles first to last: each gets another screening.
void editStyles(CPlotStyleTable& table, int first, int last, int round) {
    for (int index = first; index <= last; ++index) {
        table.style(index)->Screening = (table.style(index)->Screening + round) % 101;
    }
}

// Records steps that edit styles first to last and reports the time per step and, from the heap
// in use before and after a full history, the bytes a step keeps.
void recordSteps(benchmark::State& state, int first, int last) {
    const PlotStyleTablePtr table = sampleTable();
    {
        EditHistory history;
        history.reset(*table, true);
        const size_t before = mallinfo2().uordblks;
        for (size_t step = 1; step <= EditHistory::kMaxSteps; ++step) {
            editStyles(*table, first, last, 1);
            history.record(*table);
        }
        state.counters["bytes_per_step"] =
            double(mallinfo2().uordblks - before) / double(EditHistory::kMaxSteps);
    }
    EditHistory history;
    history.reset(*table, true);
    // The edit itself, a few stores, is timed with its step.
    for (auto _ : state) {
        editStyles(*table, first, last, 1);
        if (!history.record(*table)) {
            state.SkipWithError("the edit made no step");
        }
    }
}

void recordOneStyleEdit(benchmark::State& state) {
    recordSteps(state, 7, 7);
}
BENCHMARK(recordOneStyleEdit)->Unit(benchmark::kMicrosecond);

void recordEveryStyleEdit(benchmark::State& state) {
    recordSteps(state, 0, 254);
}
BENCHMARK(recordEveryStyleEdit)->Unit(benchmark::kMicrosecond);

void undoAndRedoEveryStyleEdit(benchmark::State& state) {
    const PlotStyleTablePtr table = sampleTable();
    EditHistory history;
    history.reset(*table, true);
    editStyles(*table, 0, 254, 1);
    history.record(*table);
    for (auto _ : state) {
        if (!history.undo(*table) || !history.redo(*table)) {
            state.SkipWithError("nothing to undo or redo");
        }
    }
}
BENCHMARK(undoAndRedoEveryStyleEdit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
