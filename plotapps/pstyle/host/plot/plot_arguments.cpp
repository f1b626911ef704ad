#include "plot_arguments.h"

#include <cmath>
#include <cstdlib>

#include <wx/filename.h>

#include "command_support.h"

const char* const kPlotHelp =
    "Usage: pstyle plot DRAWING.dxf TABLE -o OUT.pdf|OUT.svg|OUT.png [--page SIZE] [--portrait]\n"
    "                   [--dpi N] [--layer-style LAYER=NAME]... [--compare TABLE2]\n"
    "\n"
    "Draws the model space of an ASCII DXF drawing as it plots with the plot style table\n"
    "TABLE (.ctb or .stb), fitted to a page: every line, area and text in the colour,\n"
    "screening, lineweight, linetype, ends and joins that its style gives it. Layouts are not\n"
    "drawn; what the plot leaves out is counted in one line on standard error.\n"
    "\n"
    "  --page a4|a3|a2|a1|a0|letter   the paper (default: a4)\n"
    "  --portrait                     upright paper (default: landscape)\n"
    "  --dpi N                        a PNG's pixels per inch, 10 to 2400 (default: 150), at\n"
    "                                 most 16384 pixels on a side\n"
    "  --layer-style LAYER=NAME       named tables: what is on LAYER plots with the style\n"
    "                                 NAME, whatever the drawing says (repeatable)\n"
    "  --compare TABLE2               the drawing with TABLE and with TABLE2 side by side,\n"
    "                                 each labelled with its table's file\n"
    "\n"
    "Exit status: 0 success, 2 bad usage, a drawing or table that cannot be read, or a file\n"
    "error (OUT is then left as it was).\n";

namespace {

const char* const kPaperNames = "a4, a3, a2, a1, a0 or letter";
constexpr int kFewestDots = 10;
constexpr int kMostDots = 2400;
constexpr double kMillimetresPerInch = 25.4;

// What an option that takes a value wants, or null for other arguments.
const std::string* valueOf(const std::string& option) {
    static const std::pair<const char*, std::string> options[] = {
        {"-o", "a file name"},
        {"--output", "a file name"},
        {"--page", "a paper size (" + std::string(kPaperNames) + ")"},
        {"--dpi", "a number of pixels per inch"},
        {"--layer-style", "LAYER=NAME"},
        {"--compare", "a table file"},
    };
    for (const auto& [name, value] : options) {
        if (option == name) {
            return &value;
        }
    }
    return nullptr;
}

bool refuse(const std::string& message) {
    usageError("plot: " + message);
    return false;
}

bool parseDots(const std::string& text, int& dots) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < kFewestDots || value > kMostDots) {
        return false;
    }
    dots = int(value);
    return true;
}

bool parseLayerStyle(const std::string& text, LayerStyleOverrides& overrides) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size()) {
        return false;
    }
    overrides.emplace_back(text.substr(0, equals), text.substr(equals + 1));
    return true;
}

bool formatOf(const std::string& output, PlotFormat& format) {
    const wxString extension = wxFileName(fromUtf8(output)).GetExt().Lower();
    format = extension == "png"   ? PlotFormat::Png
             : extension == "svg" ? PlotFormat::Svg
                                  : PlotFormat::Pdf;
    return extension == "pdf" || extension == "png" || extension == "svg";
}

// The values of the options that take one, after the option's name.
bool takeValue(const std::string& option, const std::string& value, PlotArguments& parsed,
               std::string& paper, bool& dotsGiven) {
    if (option == "-o" || option == "--output") {
        parsed.output = value;
    } else if (option == "--page") {
        paper = value;
    } else if (option == "--dpi") {
        dotsGiven = true;
        if (!parseDots(value, parsed.dotsPerInch)) {
            return refuse("--dpi '" + value + "' is not a whole number from " +
                          std::to_string(kFewestDots) + " to " + std::to_string(kMostDots));
        }
    } else if (option == "--layer-style") {
        if (!parseLayerStyle(value, parsed.layerStyles)) {
            return refuse("--layer-style '" + value + "' is not LAYER=NAME");
        }
    } else {
        parsed.compareTable = value;
    }
    return true;
}

// A PNG of the page at the resolution asked for fits the pixel cap.
bool fitsPixelCap(const PlotArguments& parsed, const std::string& paper) {
    const PaperArea page = pageArea(parsed.page, parsed.portrait);
    const double longest = std::max(page.width, page.height);
    const long pixels = std::lround(longest / kMillimetresPerInch * parsed.dotsPerInch);
    if (pixels <= kMaxPlotPixels) {
        return true;
    }
    const int most = int(kMaxPlotPixels * kMillimetresPerInch / longest);
    return refuse("--dpi " + std::to_string(parsed.dotsPerInch) + " makes " + paper + " paper " +
                  std::to_string(pixels) + " pixels long, more than a PNG's " +
                  std::to_string(kMaxPlotPixels) + "; at most " + std::to_string(most) +
                  " dpi on this paper");
}

} // namespace

bool parsePlotArguments(const std::vector<std::string>& args, PlotArguments& parsed) {
    std::vector<std::string> files;
    std::string paper;
    bool dotsGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const std::string* value = valueOf(arg)) {
            if (i + 1 == args.size()) {
                return refuse(arg + " needs " + *value);
            }
            if (!takeValue(arg, args[++i], parsed, paper, dotsGiven)) {
                return false;
            }
        } else if (arg == "--portrait") {
            parsed.portrait = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return refuse("unknown option '" + arg + "'");
        } else if (files.size() < 2) {
            files.push_back(arg);
        } else {
            return refuse("unexpected argument '" + arg + "'");
        }
    }
    if (files.size() < 2) {
        return refuse("needs a drawing and a table: plot DRAWING.dxf TABLE -o OUT");
    }
    parsed.drawing = files[0];
    parsed.table = files[1];
    if (parsed.output.empty() || !formatOf(parsed.output, parsed.format)) {
        return refuse("needs -o FILE.pdf, FILE.svg or FILE.png");
    }
    if (paper.empty()) {
        paper = "a4";
    }
    if (!pageSizeFromName(toUtf8(fromUtf8(paper).Lower()), parsed.page)) {
        return refuse("unknown paper size '" + paper + "' (" + kPaperNames + ")");
    }
    if (dotsGiven && parsed.format != PlotFormat::Png) {
        return refuse("--dpi is for PNG only");
    }
    return parsed.format != PlotFormat::Png || fitsPixelCap(parsed, paper);
}
