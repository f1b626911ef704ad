// The plot module's one export: `pstyle plot` from its arguments to the file it writes. The
// drawing is read with dxflib and plotted by the plot engine; an SVG is written here, a PNG or PDF
// drawn by the drawing module.
#include "plot_module.h"

#include <cstdio>
#include <memory>

#include <malloc.h>
#include <sys/stat.h>

#include <wx/filename.h>

#include "command_support.h"
#include "paper_painter.h"
#include "paper_svg.h"
#include "plot_arguments.h"
#include "plot_dxf_reader.h"
#include "program_module.h"
#include "psl_style_names.h"

namespace {

// The labels of a comparison: capital letters this high, in a band this deep at the top of
// each half of the page.
constexpr double kLabelHeight = 3.5;
constexpr double kLabelBand = 16;
constexpr double kMillimetresPerInch = 25.4;
constexpr int kHeapInHand = 16 << 20;

struct PlotTable {
    std::string path;
    PlotStyleTablePtr table;
};

std::string fileNameOf(const std::string& path) {
    return toUtf8(wxFileName(fromUtf8(path)).GetFullName());
}

// Only a regular file: opening a named pipe that nobody writes would wait for ever.
std::unique_ptr<DxfDrawing> readDrawing(const std::string& path) {
    struct stat status;
    std::string cause;
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) {
        cause = "not a regular file";
    } else {
        cause = unreadableCause(path);
    }
    wxString error;
    std::unique_ptr<DxfDrawing> drawing;
    if (cause.empty() && !(drawing = readDxfDrawing(path, error))) {
        cause = toUtf8(error);
    }
    if (!cause.empty()) {
        fileError(path, cause);
    }
    return drawing;
}

bool readTables(const PlotArguments& arguments, std::vector<PlotTable>& tables) {
    for (const std::string& path : {arguments.table, arguments.compareTable}) {
        if (path.empty()) {
            continue;
        }
        PlotStyleTablePtr table = readTable(path);
        if (!table) {
            return false;
        }
        tables.push_back({path, std::move(table)});
    }
    return true;
}

// Overrides name a layer of the drawing and a style that every named table holds; a
// colour-dependent table has no use for them.
bool checkLayerStyles(const PlotArguments& arguments, const DxfDrawing& drawing,
                      const std::vector<PlotTable>& tables) {
    if (arguments.layerStyles.empty()) {
        return true;
    }
    bool named = false;
    for (const PlotTable& table : tables) {
        named = named || !table.table->ColorDependent;
    }
    if (!named) {
        usageError("plot: --layer-style is for named tables; " + arguments.table +
                   " is colour-dependent");
        return false;
    }
    for (const auto& [layer, style] : arguments.layerStyles) {
        const std::string given = "--layer-style '" + layer + "=" + style + "': ";
        if (drawing.findLayer(layer) < 0) {
            usageError("plot: " + given + arguments.drawing + " has no layer " + layer);
            return false;
        }
        for (const PlotTable& table : tables) {
            if (!table.table->ColorDependent &&
                findStyleByName(*table.table, fromUtf8(style)) < 0) {
                usageError("plot: " + given + table.path + " has no style " + style);
                return false;
            }
        }
    }
    return true;
}

// One plot on the whole page, or the plots of a comparison side by side, each labelled with
// its table.
PaperPage plotPage(const PlotArguments& arguments, const DxfDrawing& drawing,
                   const std::vector<PlotTable>& tables) {
    const PaperArea whole = pageArea(arguments.page, arguments.portrait);
    PaperPage page{whole.width, whole.height, fileNameOf(arguments.drawing), {}};
    PlotOptions options;
    options.page = arguments.page;
    options.portrait = arguments.portrait;
    options.layerStyles = arguments.layerStyles;
    const bool comparing = tables.size() > 1;
    const double width = whole.width / double(tables.size());
    for (std::size_t i = 0; i < tables.size(); ++i) {
        page.title += (i == 0 ? " with " : " and ") + fileNameOf(tables[i].path);
        if (comparing) {
            options.area =
                PaperArea{double(i) * width, kLabelBand, width, whole.height - kLabelBand};
        }
        PaperPlot plot = plotDrawing(drawing, *tables[i].table, options);
        if (comparing) {
            const PaperPoint at{double(i) * width + options.margin, options.margin};
            plot.items.insert(plot.items.begin(),
                              PaperText{at, kLabelHeight, 0, 1, false, TextAlign::Left,
                                        TextBaseline::Top, kLabelHeight, 0x000000, tables[i].path});
        }
        page.plots.push_back(std::move(plot));
    }
    return page;
}

// The PNG or PDF of the page, or false after saying why it could not be drawn.
bool drawPage(const PlotArguments& arguments, const PaperPage& page, const char* programPath,
              std::string& bytes) {
    ProgramModule module(PSTYLE_DRAW_MODULE, programPath);
    PstyleDrawEntry* const entry = module.find<PstyleDrawEntry>(PSTYLE_DRAW_ENTRY);
    const PstyleDrawInterface* draw = entry ? entry(PSTYLE_DRAW_VERSION) : nullptr;
    if (!draw) {
        fileError(arguments.output,
                  "cannot draw: " + (module.error().empty()
                                         ? std::string("the drawing module is of another version")
                                         : module.error()));
        return false;
    }
    const bool png = arguments.format == PlotFormat::Png;
    DrawnPage drawn = drawPaperPage(*draw, page, png ? PSTYLE_DRAW_PNG : PSTYLE_DRAW_PDF,
                                    arguments.dotsPerInch / kMillimetresPerInch, kMaxPlotPixels);
    if (drawn.status != PSTYLE_DRAW_OK) {
        fileError(arguments.output, "the plot could not be drawn: " + drawn.error);
        return false;
    }
    if (drawn.missingGlyphs > 0) {
        const bool one = drawn.missingGlyphs == 1;
        std::fprintf(stderr,
                     "pstyle: %s: %zu %s of the drawing's texts %s no font on this system and "
                     "%s as boxes\n",
                     arguments.output.c_str(), drawn.missingGlyphs,
                     one ? "character" : "characters", one ? "has" : "have",
                     one ? "shows" : "show");
    }
    bytes = std::move(drawn.bytes);
    return true;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
pstyleRunPlotCommand(const std::vector<std::string>& args, const char* programPath) {
    if (asksForHelp(args, kPlotHelp)) {
        return kExitSuccess;
    }
    // A plot takes and frees memory in large steps: the heap keeps some in hand rather than
    // give it back to the system and fault it in again at the next step (a PDF's writer did so
    // two hundred thousand times).
    mallopt(M_TOP_PAD, kHeapInHand);
    PlotArguments arguments;
    std::vector<PlotTable> tables;
    if (!parsePlotArguments(args, arguments) || !readTables(arguments, tables)) {
        return kExitFailure;
    }
    std::unique_ptr<DxfDrawing> drawing = readDrawing(arguments.drawing);
    if (!drawing || !checkLayerStyles(arguments, *drawing, tables)) {
        return kExitFailure;
    }
    const PaperPage page = plotPage(arguments, *drawing, tables);
    // Drawing the page takes its memory back.
    drawing.reset();
    const wxString skipped = skippedSummary(page.plots.front());
    if (!skipped.empty()) {
        std::fprintf(stderr, "pstyle: %s: %s\n", arguments.drawing.c_str(),
                     toUtf8(skipped).c_str());
    }
    std::string bytes;
    if (arguments.format == PlotFormat::Svg) {
        bytes = paperPageSvg(page);
    } else if (!drawPage(arguments, page, programPath, bytes)) {
        return kExitFailure;
    }
    // Through the safe writer, as every output: a link leads only to a file of the same kind.
    const std::string failure = writeOutput(arguments.output, bytes);
    return failure.empty() ? kExitSuccess : fileError(arguments.output, failure);
}
