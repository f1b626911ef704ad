// The legend sheet of a 255-style table, from the table to the bytes of the file: SVG as text,
// a PNG image at 5 pixels to the millimetre and A4 landscape PDF pages drawn by the drawing
// module, loaded once as sheet loads it. Each reports the size of what it made.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include "psl_legend_draw.h"
#include "psl_legend_sheet.h"
#include "sample_table.h"

namespace {

const PstyleDrawInterface* drawingModule() {
    static const PstyleDrawInterface* const draw = [] {
        void* module = dlopen(PSTYLE_DRAW_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        auto* entry =
            module ? reinterpret_cast<PstyleDrawEntry*>(dlsym(module, PSTYLE_DRAW_ENTRY)) : nullptr;
        return entry ? entry(PSTYLE_DRAW_VERSION) : nullptr;
    }();
    return draw;
}

void drawSheet(benchmark::State& state, PstyleDrawFormat format) {
    const PstyleDrawInterface* draw = drawingModule();
    if (!draw) {
        state.SkipWithError("the drawing module did not load");
        return;
    }
    const PlotStyleTablePtr table = sampleTable();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<LegendSheet> pages =
            format == PSTYLE_DRAW_PNG
                ? std::vector<LegendSheet>{layOutLegendSheet(*table, "office.ctb")}
                : layOutLegendPages(*table, "office.ctb", *paperSize("a4", false));
        const DrawnSheet drawn = drawLegendSheet(*draw, pages, format);
        if (drawn.status != PSTYLE_DRAW_OK) {
            state.SkipWithError(drawn.error.c_str());
            break;
        }
        bytes = drawn.bytes.size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK_CAPTURE(drawSheet, Png, PSTYLE_DRAW_PNG)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawSheet, Pdf, PSTYLE_DRAW_PDF)->Unit(benchmark::kMillisecond);

void writeSvg(benchmark::State& state) {
    const PlotStyleTablePtr table = sampleTable();
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = legendSheetSvg(layOutLegendSheet(*table, "office.ctb")).size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(writeSvg)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
