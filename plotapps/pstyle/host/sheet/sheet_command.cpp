// pstyle sheet, inside the drawing module: lays out the legend sheet of a table and writes it as
// SVG or draws it as a PNG image.
#include <string>
#include <vector>

#include <wx/filename.h>
#include <wx/mstream.h>

#include "command_support.h"
#include "psl_legend_sheet.h"
#include "sheet_module.h"

namespace {

const char* const kSheetHelp =
    "Usage: pstyle sheet TABLE -o FILE.svg|FILE.png\n"
    "\n"
    "Draws a legend sheet of the table for printing: one row per style with the colour it\n"
    "applies to, the colour it plots, a sample line at its lineweight (to scale) with its\n"
    "screening and linetype, and its pens, lineweight, end, join and fill styles.\n"
    "The SVG is sized in millimetres; the PNG has 5 pixels to the millimetre.\n"
    "\n"
    "Exit status: 0 success, 2 bad usage or a file error (FILE is then left as it was).\n";

int writeOrReport(const std::string& path, const std::string& bytes) {
    const std::string failure = writeFileSafely(path, bytes);
    return failure.empty() ? kExitSuccess : fileError(path, failure);
}

// The image as PNG, or empty when it cannot be encoded.
std::string pngBytes(wxImage& image) {
    // A handler of its own rather than a registered one, which only a toolkit shut down would
    // free.
    wxPNGHandler png;
    wxMemoryOutputStream out;
    if (!png.SaveFile(&image, out, false)) {
        return std::string();
    }
    std::string bytes(out.GetSize(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

int runSheet(const std::vector<std::string>& args) {
    if (asksForHelp(args, kSheetHelp)) {
        return kExitSuccess;
    }
    FileArguments parsed;
    if (!parseFileArguments("sheet", args, {"-o", "--output"}, parsed)) {
        return kExitFailure;
    }
    const std::string& output = parsed.optionFile;
    const wxString extension = wxFileName(fromUtf8(output)).GetExt().Lower();
    if (extension != "svg" && extension != "png") {
        return usageError("sheet needs -o FILE.svg or -o FILE.png");
    }
    const PlotStyleTablePtr table = readTable(parsed.file);
    if (!table) {
        return kExitFailure;
    }
    const LegendSheet sheet =
        layOutLegendSheet(*table, wxFileName(fromUtf8(parsed.file)).GetFullName());
    if (extension == "svg") {
        return writeOrReport(output, legendSheetSvg(sheet));
    }
    wxImage image = legendSheetImage(sheet);
    if (!image.IsOk()) {
        return fileError(output, "the sheet is too long for a PNG image; write it as SVG");
    }
    const std::string png = pngBytes(image);
    if (png.empty()) {
        return fileError(output, "the image could not be encoded as PNG");
    }
    return writeOrReport(output, png);
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
pstyleRunSheetCommand(const std::vector<std::string>& args) {
    return runSheet(args);
}
