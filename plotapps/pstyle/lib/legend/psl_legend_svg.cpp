// The legend sheet as SVG, written as text so that it needs no display.
#include "psl_legend_sheet.h"

#include "psl_style_values.h"

namespace {

std::string number(double value) {
    return std::string(decimalText(value, 3).utf8_str());
}

std::string color(std::uint32_t rgb) {
    return std::string(wxString::Format("#%06X", rgb & 0xFFFFFF).utf8_str());
}

// Text as XML character data or attribute value; characters XML cannot hold are dropped.
std::string escaped(const wxString& text) {
    std::string result;
    for (const wxUniChar character : text) {
        const wxUniChar::value_type code = character.GetValue();
        if ((code < 0x20 && code != '\t') || code == 0xFFFE || code == 0xFFFF) {
            continue;
        }
        switch (code) {
        case '&':
            result += "&amp;";
            break;
        case '<':
            result += "&lt;";
            break;
        case '>':
            result += "&gt;";
            break;
        case '"':
            result += "&quot;";
            break;
        default:
            result += wxString(character).utf8_str();
        }
    }
    return result;
}

void writeBox(std::string& out, const SheetBox& box) {
    out += "<rect x=\"" + number(box.x) + "\" y=\"" + number(box.y) + "\" width=\"" +
           number(box.width) + "\" height=\"" + number(box.height) + "\" fill=\"" +
           (box.hollow ? std::string("none") : color(box.fill)) + "\"";
    if (box.framed) {
        out += " stroke=\"" + color(kSheetFrameColor) + "\" stroke-width=\"" +
               number(kSheetFrameWidth) + "\"";
    }
    out += "/>\n";
}

void writeLine(std::string& out, const SheetLine& line) {
    std::string path;
    for (const auto& [from, to] : line.dashes) {
        path += "M" + number(from) + " " + number(line.y) + "H" + number(to);
    }
    out += "<path d=\"" + path + "\" fill=\"none\" stroke=\"" + color(line.color) +
           "\" stroke-width=\"" + number(line.width) + "\"/>\n";
}

void writeText(std::string& out, const SheetText& text) {
    out += "<text x=\"" + number(text.x) + "\" y=\"" + number(text.baseline) + "\" font-size=\"" +
           number(text.size) + "\"";
    if (text.bold) {
        out += " font-weight=\"bold\"";
    }
    if (text.endsAtX) {
        out += " text-anchor=\"end\"";
    }
    out += " fill=\"" + color(text.color) + "\">" + escaped(text.text) + "</text>\n";
}

} // namespace

std::string legendSheetSvg(const LegendSheet& sheet) {
    const std::string width = number(sheet.width);
    const std::string height = number(sheet.height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                      width + "mm\" height=\"" + height + "mm\" viewBox=\"0 0 " + width + " " +
                      height + "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\">\n";
    out += "<title>" + escaped(sheet.title) + "</title>\n";
    out += "<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"#FFFFFF\"/>\n";
    for (const SheetGroup& group : sheet.groups) {
        out += "<g class=\"" + std::string(group.kind) + "\">\n";
        for (const SheetBox& box : group.boxes) {
            writeBox(out, box);
        }
        for (const SheetLine& line : group.lines) {
            writeLine(out, line);
        }
        for (const SheetText& text : group.texts) {
            writeText(out, text);
        }
        out += "</g>\n";
    }
    out += "</svg>\n";
    return out;
}
