// A large drawing for the plot benchmarks: 100,000 lines and 10,000 texts on eight layers, as a
// CAD program of 2000 writes it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <kesutils/plot_style_table.h>

namespace largedrawing {

inline constexpr int kLines = 100000;
inline constexpr int kTexts = 10000;
inline constexpr int kLayers = 8;

// Writes the drawing as a CAD program of 2000 does: handles, owners and subclass markers on
// every entity, layers with plot style names, a dashed linetype.
inline std::string writeDrawing() {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("pstyle-bench-" + std::to_string(getpid()) + ".dxf"))
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

// The drawing is written once and removed when the program ends.
inline const std::string& drawingPath() {
    static const struct Drawing {
        std::string path = writeDrawing();
        ~Drawing() { std::remove(path.c_str()); }
    } drawing;
    return drawing.path;
}

// A colour-dependent table in which every style plots differently: lineweights, screening and
// linetypes of their own, a quarter with the drawing's linetypes.
inline PlotStyleTablePtr plotTable() {
    PlotStyleTablePtr table(CPlotStyleTable::create(true, nullptr));
    for (int row = 0; row < int(table->size()); ++row) {
        CPlotStyle& style = *table->style(row);
        style.LineWeight = row % 28;
        style.Screening = 40 + row % 61;
        style.LineType = row % 4 == 0 ? 31 : row % 31;
    }
    return table;
}

} // namespace largedrawing
