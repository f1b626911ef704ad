#include "psl_csv_export.h"

#include <charconv>

#include <kesutils/plot_style_table.h>

#include "psl_file_names.h"
#include "psl_output_files.h"
#include "psl_text.h"
#include "psl_value_text.h"

namespace {

// One line of the export, built field by field. wxString::Format reads its whole format again for
// each argument, so that the sixteen of a style row made the export cost more than reading the
// table. Numbers keep their decimal point whatever the locale, as comma-separated fields must.
class CsvLine {
public:
    explicit CsvLine(const char* start) : line_(start) {}

    CsvLine& text(const wxString& text) {
        line_ += ',';
        line_ += csvField(text);
        return *this;
    }
    CsvLine& number(int value) {
        char digits[16];
        return field(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }
    // Eight hexadecimal digits, upper case.
    CsvLine& hex(std::uint32_t value) {
        const char* const hexDigits = "0123456789ABCDEF";
        char digits[8];
        for (int digit = 7; digit >= 0; --digit, value >>= 4) {
            digits[digit] = hexDigits[value & 0xF];
        }
        return field(digits, digits + sizeof digits);
    }
    // As printf writes it in the C locale: "%.*g".
    CsvLine& general(double value, int precision) {
        char digits[32];
        const auto written = std::to_chars(digits, digits + sizeof digits, value,
                                           std::chars_format::general, precision);
        return field(digits, written.ptr);
    }
    // As fixedNumberText writes it.
    CsvLine& fixed(double value, int decimals) {
        const std::string digits = fixedNumberText(value, decimals).ToStdString();
        return field(digits.data(), digits.data() + digits.size());
    }

    const wxString& line() const { return line_; }

private:
    CsvLine& field(const char* begin, const char* end) {
        line_ += ',';
        for (; begin != end; ++begin) {
            line_ += wxUniChar(*begin);
        }
        return *this;
    }

    wxString line_;
};

} // namespace

wxString csvField(const wxString& text) {
    // A wide text, which the search takes without converting it first.
    if (text.find_first_of(L",\"\r\n") == wxString::npos) {
        return text;
    }
    wxString quoted = text;
    quoted.Replace("\"", "\"\"");
    return "\"" + quoted + "\"";
}

// Section names and keys are part of the format and are not translated; numbers keep their
// decimal point whatever the host's locale, which would otherwise split a field in two.
wxArrayString csvExportLines(const CPlotStyleTable& table, const wxString& fileName) {
    wxArrayString lines;
    lines.reserve(300 + table.size());

    lines.Add("PLOTSTYLE_TABLE,,");
    lines.Add(CsvLine(",FileName").text(fileName).line());
    lines.Add(CsvLine(",Description").text(toWxString(table.Description)).line());
    lines.Add(CsvLine(",ScaleFactor").fixed(table.ScaleFactor, 6).line());
    lines.Add(CsvLine(",ApplyFactor").number(table.ApplyFactor).line());
    lines.Add(CsvLine(",AciTableAvailable").number(table.AciTableAvailable).line());
    lines.Add(CsvLine(",CustomLineWeightUnits").number(table.CustomLineWeightUnits).line());
    lines.Add(",,");

    if (table.AciTableAvailable) {
        lines.Add("ACI_TABLE,,");
        for (int i = 0; i < CPlotStyleTable::kAciCount; ++i) {
            const CPlotStyle* style = table.AciTable[i];
            lines.Add(
                CsvLine("").number(i).text(style ? toWxString(style->name()) : wxString()).line());
        }
        lines.Add(",,");
    }

    lines.Add("STYLES,,");
    lines.Add(",Name,LocalizedName,Description,Color,ModeColor,ColorPolicy,PhysPenNum,VirtPenNum,"
              "Screening,LinePatSize,LineType,Adaptive,LineWeight,FillStyle,EndStyle,JoinStyle");
    const int count = int(table.size());
    for (int i = 0; i < count; ++i) {
        const CPlotStyle& style = *table.style(i);
        lines.Add(CsvLine("")
                      .text(toWxString(style.name()))
                      .text(toWxString(style.locName()))
                      .text(toWxString(style.desc()))
                      .hex(style.Color)
                      .hex(style.ModeColor)
                      .number(style.ColorPolicy)
                      .number(style.PhysPenNum)
                      .number(style.VirtPenNum)
                      .number(style.Screening)
                      .general(style.LinePatSize, 6)
                      .number(style.LineType)
                      .number(style.Adaptive)
                      .number(style.LineWeight)
                      .number(style.FillStyle)
                      .number(style.EndStyle)
                      .number(style.JoinStyle)
                      .line());
    }
    lines.Add(",,");

    lines.Add("LINE_WEIGHTS,,");
    for (int r = 0; r < CPlotStyleTable::kLineWeightCount; ++r) {
        lines.Add(CsvLine("").number(r).fixed(table.LineWeights[r], 6).line());
    }
    return lines;
}

std::string csvExportText(const CPlotStyleTable& table, const wxString& fileName) {
    std::string text;
    for (const wxString& line : csvExportLines(table, fileName)) {
        text += fileNameToBytes(line); // a file name that is not UTF-8 keeps its bytes
        text += '\n';
    }
    return text;
}

bool writeCsvExport(const CPlotStyleTable& table, const wxString& fileName, const wxString& path,
                    wxString& reason) {
    return writeOutputFile(path, csvExportText(table, fileName), reason);
}
