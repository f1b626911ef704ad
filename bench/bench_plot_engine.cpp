// The plot engine on a drawing of 100,000 lines and 10,000 texts on eight layers: reading it
// and turning it, with a colour-dependent or a named table, into paper primitives, beside
// reading the same file with dxflib alone (callbacks that do nothing), which no plot can avoid.
// Reports both times, their ratio, the heap that the drawing and its plot hold and the
// process's peak resident size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>
#include <malloc.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <kesutils/plot_style_table.h>

#include "plot_dxf_reader.h"
#include "plot_engine.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLines = 100000;
constexpr int kTexts = 10000;
constexpr int kLayers = 8;

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

// Writes the drawing as a CAD program of 2000 does: handles, owners and subclass markers on
// every entity, layers with plot style names, a dashed linetype.
std::string writeDrawing() {
    const std::string path =
        (fs::temp_directory_path() / ("pstyle-bench-" + std::to_string(getpid()) + ".dxf"))
            .string();
    std::ofstream out(path);
    out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$LTSCALE\n40\n2.0\n0\nENDSEC\n";
    out << "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLTYPE\n70\n1\n0\nLTYPE\n5\n14\n100\n"
           "AcDbSymbolTableRecord\n100\nAcDbLinetypeTableRecord\n2\nDASHED\n70\n0\n3\n__ __\n"
           "72\n65\n73\n2\n40\n0.75\n49\n0.5\n74\n0\n49\n-0.25\n74\n0\n0\nENDTAB\n";
    out << "0\nTABLE\n2\nLAYER\n70\n" << kLayers << "\n";
    for (int layer = 0; layer < kLayers; ++layer) {
        out << "0\nLAYER\n5\n"
            << std::hex << 0x20 + layer << std::dec
            << "\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n2\nLAYER" << layer
            << "\n70\n0\n62\n"
            << layer + 1 << "\n6\n"
            << (layer == 3 ? "DASHED" : "CONTINUOUS") << "\n370\n"
            << 13 + 5 * layer << "\n";
    }
    out << "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    unsigned seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) % unsigned(range * 100)) / 100.0;
    };
    int handle = 0x100;
    for (int i = 0; i < kLines; ++i) {
        const double x = next(1000), y = next(700);
        out << "0\nLINE\n5\n"
            << std::hex << handle++ << std::dec << "\n330\n1F\n100\nAcDbEntity\n8\nLAYER"
            << i % kLayers << "\n";
        if (i % 5 == 0) {
            out << "62\n" << 1 + i % 255 << "\n";
        }
        out << "100\nAcDbLine\n10\n"
            << x << "\n20\n"
            << y << "\n30\n0.0\n11\n"
            << x + next(20) << "\n21\n"
            << y + next(20) << "\n31\n0.0\n";
    }
    for (int i = 0; i < kTexts; ++i) {
        out << "0\nTEXT\n5\n"
            << std::hex << handle++ << std::dec << "\n330\n1F\n100\nAcDbEntity\n8\nLAYER"
            << i % kLayers << "\n100\nAcDbText\n10\n"
            << next(1000) << "\n20\n"
            << next(700) << "\n30\n0.0\n40\n2.5\n1\nRoom " << i << " %%d\n50\n"
            << next(360) << "\n100\nAcDbText\n";
    }
    out << "0\nENDSEC\n0\nEOF\n";
    return path;
}

PlotStyleTablePtr colorTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    for (int row = 0; row < int(table->size()); ++row) {
        CPlotStyle& style = *table->style(row);
        style.LineWeight = row % 28;
        style.Screening = 40 + row % 61;
        style.LineType = row % 4 == 0 ? 31 : row % 31;
    }
    return table;
}

PlotStyleTablePtr namedTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    table->addStyle(u"Heavy", 0, nullptr);
    table->style(1)->LineWeight = 20;
    return table;
}

// The drawing is written once and removed when the program ends.
const std::string& drawingPath() {
    static const struct Drawing {
        std::string path = writeDrawing();
        ~Drawing() { std::remove(path.c_str()); }
    } drawing;
    return drawing.path;
}

void plotBesideLibraryRead(benchmark::State& state, const CPlotStyleTable& table) {
    const std::string& path = drawingPath();
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
    plotBesideLibraryRead(state, *colorTable());
}
BENCHMARK(plotWithColorTable)->Unit(benchmark::kMillisecond);

void plotWithNamedTable(benchmark::State& state) {
    plotBesideLibraryRead(state, *namedTable());
}
BENCHMARK(plotWithNamedTable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
