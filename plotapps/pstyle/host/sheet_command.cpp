// pstyle sheet: a legend sheet of a table, written as SVG or drawn as PNG or PDF by the drawing
// module, which only this command loads.
#include <cerrno>
#include <cstdio>

#include <wx/filename.h>

#include "host_commands.h"
#include "program_module.h"
#include "psl_file_names.h"
#include "psl_legend_draw.h"
#include "psl_legend_sheet.h"

namespace {

const char* const kSheetHelp =
    "Usage: pstyle sheet TABLE -o FILE.svg|FILE.png|FILE.pdf [--page a4|a3|letter] [--portrait]\n"
    "\n"
    "Draws a legend sheet of the table for printing: one row per style with the colour it\n"
    "applies to, the colour it plots, a sample line at its lineweight (to scale) with its\n"
    "screening and linetype, and its pens, lineweight, end, join and fill styles.\n"
    "The SVG is 297 mm wide and as long as the table needs; the PNG is the same sheet at 5\n"
    "pixels to the millimetre, at most 32,767 pixels high (928 styles). The PDF has numbered\n"
    "pages of a paper size, each with the table's heading and only whole rows. A sheet shows\n"
    "at most 1,000 styles.\n"
    "\n"
    "  --page a4|a3|letter   the PDF's paper size (default: a4)\n"
    "  --portrait            upright PDF pages (default: landscape)\n"
    "\n"
    "Characters that no font of the system has are drawn as boxes, with a warning.\n"
    "Exit status: 0 success, 2 bad usage or a file error (FILE is then left as it was).\n";

const char* const kPaperNames = "a4, a3 or letter";

struct SheetArguments {
    std::string table;
    std::string output;
    std::string paper;
    bool portrait = false;
};

bool parseSheetArguments(const std::vector<std::string>& args, SheetArguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--output" || arg == "--page";
        if (takesValue && i + 1 == args.size()) {
            usageError("sheet: " + arg +
                       (arg == "--page" ? " needs a paper size (" + std::string(kPaperNames) + ")"
                                        : " needs a file name"));
            return false;
        }
        if (arg == "--page") {
            parsed.paper = args[++i];
        } else if (takesValue) {
            parsed.output = args[++i];
        } else if (arg == "--portrait") {
            parsed.portrait = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            usageError("sheet: unknown option '" + arg + "'");
            return false;
        } else if (parsed.table.empty()) {
            parsed.table = arg;
        } else {
            usageError("sheet: unexpected argument '" + arg + "'");
            return false;
        }
    }
    if (parsed.table.empty()) {
        usageError("sheet: which table file?");
        return false;
    }
    return true;
}

int writeOrReport(const std::string& path, const std::string& bytes) {
    const std::string failure = writeOutput(path, bytes);
    return failure.empty() ? kExitSuccess : fileError(path, failure);
}

// The sheet drawn by the drawing module, or kExitFailure after saying why it could not be.
int drawSheet(const std::vector<LegendSheet>& pages, PstyleDrawFormat format,
              const std::string& output) {
    // The C library keeps argv[0], which the loader needs only where /proc is missing.
    ProgramModule module(PSTYLE_DRAW_MODULE, program_invocation_name);
    PstyleDrawEntry* const entry = module.find<PstyleDrawEntry>(PSTYLE_DRAW_ENTRY);
    const PstyleDrawInterface* draw = entry ? entry(PSTYLE_DRAW_VERSION) : nullptr;
    if (!draw) {
        return fileError(output, "cannot draw: " + (module.error().empty()
                                                        ? std::string("the drawing module is "
                                                                      "of another version")
                                                        : module.error()));
    }
    const DrawnSheet drawn = drawLegendSheet(*draw, pages, format);
    if (drawn.status == PSTYLE_DRAW_TOO_LARGE) {
        return fileError(output, "the sheet is too long for a PNG image; write it as SVG");
    }
    if (drawn.status != PSTYLE_DRAW_OK) {
        return fileError(output, "the sheet could not be drawn: " + drawn.error);
    }
    if (drawn.missingGlyphs > 0) {
        std::fprintf(stderr, "pstyle: %s: %zu %s no font on this system and %s as boxes\n",
                     output.c_str(), drawn.missingGlyphs,
                     drawn.missingGlyphs == 1 ? "character has" : "characters have",
                     drawn.missingGlyphs == 1 ? "shows" : "show");
    }
    return writeOrReport(output, drawn.bytes);
}

} // namespace

int runSheet(const std::vector<std::string>& args) {
    if (asksForHelp(args, kSheetHelp)) {
        return kExitSuccess;
    }
    SheetArguments parsed;
    if (!parseSheetArguments(args, parsed)) {
        return kExitFailure;
    }
    const wxString extension = wxFileName(fileNameFromBytes(parsed.output)).GetExt().Lower();
    if (parsed.output.empty() || (extension != "svg" && extension != "png" && extension != "pdf")) {
        return usageError("sheet needs -o FILE.svg, FILE.png or FILE.pdf");
    }
    if ((!parsed.paper.empty() || parsed.portrait) && extension != "pdf") {
        return usageError("sheet: --page and --portrait are for PDF only");
    }
    const std::optional<PaperSize> paper = paperSize(
        parsed.paper.empty() ? wxString("a4") : fromUtf8(parsed.paper).Lower(), parsed.portrait);
    if (!paper) {
        return usageError("sheet: unknown paper size '" + parsed.paper + "' (" + kPaperNames + ")");
    }
    const PlotStyleTablePtr table = readTable(parsed.table);
    if (!table) {
        return kExitFailure;
    }
    if (table->size() > std::size_t(kMaxSheetStyles)) {
        return fileError(parsed.table, "the table holds " + std::to_string(table->size()) +
                                           " styles; a legend sheet shows at most " +
                                           std::to_string(kMaxSheetStyles));
    }
    const wxString fileName = wxFileName(fileNameFromBytes(parsed.table)).GetFullName();
    if (extension == "svg") {
        return writeOrReport(parsed.output, legendSheetSvg(layOutLegendSheet(*table, fileName)));
    }
    if (extension == "png") {
        return drawSheet({layOutLegendSheet(*table, fileName)}, PSTYLE_DRAW_PNG, parsed.output);
    }
    return drawSheet(layOutLegendPages(*table, fileName, *paper), PSTYLE_DRAW_PDF, parsed.output);
}
