#include "paper_svg.h"

#include <cmath>
#include <cstdio>
#include <variant>

namespace {

// Millimetres to the thousandth, without trailing zeros, with a decimal point in every locale.
void appendNumber(std::string& out, double value) {
    char text[32];
    const long thousandths = std::lround(value * 1000);
    const long whole = std::labs(thousandths) / 1000;
    long fraction = std::labs(thousandths) % 1000;
    int length = std::snprintf(text, sizeof text, "%s%ld", thousandths < 0 ? "-" : "", whole);
    if (fraction > 0) {
        int digits = 3;
        for (; fraction % 10 == 0; fraction /= 10) {
            --digits;
        }
        length += std::snprintf(text + length, sizeof text - std::size_t(length), ".%0*ld", digits,
                                fraction);
    }
    out.append(text, std::size_t(length));
}

void appendColor(std::string& out, std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", unsigned(rgb & 0xFFFFFF));
    out += text;
}

void appendEscaped(std::string& out, const std::string& text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // XML 1.0 takes no other control characters.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
                out += c;
            }
        }
    }
}

const char* capName(LineEnd end) {
    switch (end) {
    case LineEnd::Square:
        return "square";
    case LineEnd::Round:
        return "round";
    default:
        return "butt";
    }
}

const char* joinName(LineJoin join) {
    switch (join) {
    case LineJoin::Bevel:
        return "bevel";
    case LineJoin::Round:
        return "round";
    default:
        return "miter";
    }
}

void appendPathData(std::string& out, const PaperPath& path) {
    out += " d=\"";
    std::size_t nextStart = 0;
    for (std::size_t i = 0; i < path.points.size(); ++i) {
        if (i == 0) {
            out += 'M';
        } else if (nextStart < path.subpathStarts.size() && i == path.subpathStarts[nextStart]) {
            ++nextStart;
            out += path.closed ? " Z M" : " M";
        } else {
            out += " L";
        }
        appendNumber(out, path.points[i].x);
        out += ' ';
        appendNumber(out, path.points[i].y);
    }
    out += path.closed ? " Z\"" : "\"";
}

void appendPath(std::string& out, const PaperPath& path) {
    out += "<path";
    appendPathData(out, path);
    if (path.filled) {
        out += " fill=\"";
        appendColor(out, path.color);
        out += "\" fill-rule=\"evenodd\"/>\n";
        return;
    }
    const double width = drawnWidth(path, kThinnestLine);
    out += " fill=\"none\" stroke=\"";
    appendColor(out, path.color);
    out += "\" stroke-width=\"";
    appendNumber(out, width);
    out += "\" stroke-linecap=\"";
    out += capName(path.end);
    out += "\" stroke-linejoin=\"";
    out += joinName(path.join);
    out += '"';
    if (!path.dashes.empty()) {
        out += " stroke-dasharray=\"";
        for (std::size_t i = 0; i < path.dashes.size(); ++i) {
            if (i > 0) {
                out += ' ';
            }
            appendNumber(out, path.dashes[i]);
        }
        out += "\" stroke-dashoffset=\"";
        appendNumber(out, path.dashOffset);
        out += '"';
    }
    out += "/>\n";
    for (const PaperPath& end : diamondEnds(path, width)) {
        appendPath(out, end);
    }
}

// Lines one under another, placed as the drawing module places them.
void appendText(std::string& out, const PaperText& text) {
    std::size_t lines = 1;
    for (const char c : text.content) {
        lines += c == '\n';
    }
    const double lastBaseline = double(lines - 1) * text.lineSpacing;
    const double size = text.height / kPlotFontCapital;
    double baseline = 0;
    switch (text.baseline) {
    case TextBaseline::Baseline:
        break;
    case TextBaseline::Top:
        baseline = text.height;
        break;
    case TextBaseline::Middle:
        baseline = (text.height - lastBaseline) / 2;
        break;
    case TextBaseline::Bottom:
        baseline = -lastBaseline - kPlotFontDescent * size;
        break;
    }
    out += "<text transform=\"translate(";
    appendNumber(out, text.position.x);
    out += ' ';
    appendNumber(out, text.position.y);
    out += ") rotate(";
    appendNumber(out, -text.rotation);
    out += ") scale(";
    appendNumber(out, text.widthFactor);
    out += text.mirrored ? " -1)\"" : " 1)\"";
    out += " font-family=\"";
    out += kPlotFontFamily;
    out += "\" font-size=\"";
    appendNumber(out, size);
    out += "\" fill=\"";
    appendColor(out, text.color);
    out += "\" text-anchor=\"";
    out += text.align == TextAlign::Left     ? "start"
           : text.align == TextAlign::Center ? "middle"
                                             : "end";
    out += "\">";
    std::size_t start = 0;
    for (; start <= text.content.size(); baseline += text.lineSpacing) {
        std::size_t end = text.content.find('\n', start);
        end = end == std::string::npos ? text.content.size() : end;
        out += "<tspan x=\"0\" y=\"";
        appendNumber(out, baseline);
        out += "\">";
        appendEscaped(out, text.content.substr(start, end - start));
        out += "</tspan>";
        start = end + 1;
    }
    out += "</text>\n";
}

} // namespace

std::string paperPageSvg(const PaperPage& page) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    appendNumber(out, page.width);
    out += "mm\" height=\"";
    appendNumber(out, page.height);
    out += "mm\" viewBox=\"0 0 ";
    appendNumber(out, page.width);
    out += ' ';
    appendNumber(out, page.height);
    out += "\">\n<title>";
    appendEscaped(out, page.title);
    out += "</title>\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (const PaperPlot& plot : page.plots) {
        out += "<g class=\"plot\">\n";
        for (const PaperItem& item : plot.items) {
            if (const auto* path = std::get_if<PaperPath>(&item)) {
                appendPath(out, *path);
            } else {
                appendText(out, std::get<PaperText>(item));
            }
        }
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}
