#include "table_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "text_encoding.h"

namespace {

constexpr std::size_t kMaxIntegerLength = 20;

void appendInteger(TextBuffer& out, std::int64_t value) {
    char* at = out.extend(kMaxIntegerLength);
    out.shrink(
        std::size_t(at + kMaxIntegerLength - std::to_chars(at, at + kMaxIntegerLength, value).ptr));
}

void appendReal(TextBuffer& out, double value) {
    char buffer[64];
    const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::string_view text(buffer, status == std::errc() ? std::size_t(end - buffer) : 0);
    out += text;
    if (text.find_first_of(".eEn") == std::string_view::npos) {
        out += ".0";
    }
}

void appendBool(TextBuffer& out, bool value) {
    out += value ? std::string_view("TRUE") : std::string_view("FALSE");
}

// Texts cannot hold a line break in the file: it would end the value and corrupt what follows.
bool breaksLine(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

void appendSingleLine(TextBuffer& out, std::string_view text) {
    std::replace_copy_if(text.begin(), text.end(), out.extend(text.size()), breaksLine, ' ');
}

void appendText(TextBuffer& out, std::u16string_view text) {
    out += '"';
    const std::size_t room = text.size() * kMaxUtf8PerUtf16;
    char* at = out.extend(room);
    char* end = encodeUtf8(text, at);
    std::replace_if(at, end, breaksLine, ' ');
    out.shrink(std::size_t(at + room - end));
}

void appendUnknown(TextBuffer& out, const PlotStyleExtraKeys& keys, std::string_view indent) {
    for (const auto& [key, value] : keys) {
        out += indent;
        if (!key.empty() && key.back() == kBlockSuffix) {
            out += key;
            out += '\n';
            if (!value.empty()) {
                out += value;
                out += '\n';
            }
            out += indent;
            out += "}\n";
        } else {
            appendSingleLine(out, key);
            out += '=';
            appendSingleLine(out, value);
            out += '\n';
        }
    }
}

void appendStyle(TextBuffer& out, int index, const CPlotStyle& style) {
    out += ' ';
    appendInteger(out, index);
    out += "{\n";
    for (const StyleKey& key : kStyleKeys) {
        out += "  ";
        out += key.key;
        out += '=';
        switch (key.value) {
        case StyleValue::Name:
            appendText(out, style.name());
            break;
        case StyleValue::LocalizedName:
            appendText(out, style.locName());
            break;
        case StyleValue::Description:
            appendText(out, style.desc());
            break;
        case StyleValue::Color:
            appendInteger(out, static_cast<std::int32_t>(style.Color));
            break;
        case StyleValue::ModeColor:
            appendInteger(out, static_cast<std::int32_t>(style.ModeColor));
            break;
        case StyleValue::Integer:
            appendInteger(out, style.*key.integer);
            break;
        case StyleValue::Real:
            appendReal(out, style.LinePatSize);
            break;
        case StyleValue::Boolean:
            appendBool(out, style.Adaptive);
            break;
        }
        out += '\n';
    }
    appendUnknown(out, style.extraKeys(), "  ");
    out += " }\n";
}

void appendHead(TextBuffer& out, const CPlotStyleTable& table) {
    out += "description=";
    appendText(out, table.Description);
    out += "\naci_table_available=";
    appendBool(out, table.AciTableAvailable);
    out += "\nscale_factor=";
    appendReal(out, table.ScaleFactor);
    out += "\napply_factor=";
    appendBool(out, table.ApplyFactor);
    out += "\ncustom_lineweight_display_units=";
    appendInteger(out, table.CustomLineWeightUnits);
    out += '\n';
    if (table.AciTableAvailable) {
        out += "aci_table{\n";
        for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
            const CPlotStyle* target =
                table.AciTable[index] ? table.AciTable[index] : table.style(0);
            out += ' ';
            appendInteger(out, index);
            out += '=';
            appendText(out, target->name());
            out += '\n';
        }
        out += "}\n";
    }
    out += "plot_style{\n";
}

void appendTail(TextBuffer& out, const CPlotStyleTable& table) {
    out += "}\ncustom_lineweight_table{\n";
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        out += ' ';
        appendInteger(out, row);
        out += '=';
        appendReal(out, table.LineWeights[row]);
        out += '\n';
    }
    appendUnknown(out, table.extraLineWeightRows(), " ");
    out += "}\n";
    appendUnknown(out, table.extraKeys(), "");
    out += '\0';
}

} // namespace

std::string tableBeyondLimits(const CPlotStyleTable& table) {
    const auto tooLong = [](std::u16string_view text, std::size_t limit) {
        return utf8Length(text) > limit;
    };
    const std::string bytes = " bytes";
    if (tooLong(table.Description, CPlotStyleTable::kMaxDescriptionBytes)) {
        return "the description is longer than " +
               std::to_string(CPlotStyleTable::kMaxDescriptionBytes) + bytes;
    }
    if (!table.ColorDependent && table.size() > CPlotStyleTable::kMaxNamedStyles) {
        return "more than " + std::to_string(CPlotStyleTable::kMaxNamedStyles) + " plot styles";
    }
    for (int row = 0; row < static_cast<int>(table.size()); ++row) {
        const CPlotStyle& style = *table.style(row);
        const std::string which = "plot style " + std::to_string(row);
        if (tooLong(style.name(), CPlotStyleTable::kMaxNameBytes) ||
            tooLong(style.locName(), CPlotStyleTable::kMaxNameBytes)) {
            return "the name of " + which + " is longer than " +
                   std::to_string(CPlotStyleTable::kMaxNameBytes) + bytes;
        }
        if (tooLong(style.desc(), CPlotStyleTable::kMaxDescriptionBytes)) {
            return "the description of " + which + " is longer than " +
                   std::to_string(CPlotStyleTable::kMaxDescriptionBytes) + bytes;
        }
    }
    return std::string();
}

std::string_view TableTextPieces::next() {
    piece_.clear();
    while (piece_.empty() && part_ != Part::Done) {
        switch (part_) {
        case Part::Head:
            appendHead(piece_, table_);
            part_ = Part::Styles;
            break;
        case Part::Styles: {
            const int count = static_cast<int>(table_.size());
            const int end = std::min(nextStyle_ + kStylesPerPiece, count);
            for (; nextStyle_ < end; ++nextStyle_) {
                appendStyle(piece_, nextStyle_, *table_.style(nextStyle_));
            }
            if (nextStyle_ == count) {
                part_ = Part::Tail;
            }
            break;
        }
        case Part::Tail:
            appendTail(piece_, table_);
            part_ = Part::Done;
            break;
        case Part::Done:
            break;
        }
    }
    return piece_.view();
}

std::string formatTableText(const CPlotStyleTable& table) {
    std::string text;
    text.reserve(8192 + table.size() * 512);
    TableTextPieces pieces(table);
    for (std::string_view piece = pieces.next(); !piece.empty(); piece = pieces.next()) {
        text += piece;
    }
    return text;
}
