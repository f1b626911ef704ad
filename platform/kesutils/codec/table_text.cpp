#include "table_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "plot_style_factory.h"
#include "text_encoding.h"

namespace {

// A block that the model has no field for is kept whole under its key with this suffix.
constexpr char kBlockSuffix = '{';

struct Line {
    std::string_view content; // without the line end and the leading blanks
    std::size_t number;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimLeft(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool opensBlock(std::string_view line) {
    const std::string_view trimmed = trimRight(line);
    return !trimmed.empty() && trimmed.back() == '{' && line.find('=') == std::string_view::npos;
}

bool closesBlock(std::string_view line) {
    return trimRight(line) == "}";
}

std::string_view blockName(std::string_view line) {
    const std::string_view trimmed = trimRight(line);
    return trimRight(trimmed.substr(0, trimmed.size() - 1));
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    text = trimRight(text);
    std::int64_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> parseInt32(std::string_view text) {
    const auto value = parseInteger(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

// Colour words are written signed, but a writer may print them unsigned.
std::optional<std::uint32_t> parseColorWord(std::string_view text) {
    const auto value = parseInteger(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

// Always a decimal point; a comma is accepted from writers that followed their locale.
std::optional<double> parseReal(std::string_view text) {
    std::string number(trimRight(text));
    std::replace(number.begin(), number.end(), ',', '.');
    double value = 0;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (status != std::errc() || end != number.data() + number.size() || number.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parseBool(std::string_view text) {
    text = trimRight(text);
    if (text == "TRUE" || text == "true" || text == "1") {
        return true;
    }
    if (text == "FALSE" || text == "false" || text == "0") {
        return false;
    }
    return std::nullopt;
}

// A text value runs from after the opening quote to the end of the line, without closing quote.
std::u16string parseText(std::string_view text) {
    if (!text.empty() && text.front() == '"') {
        text.remove_prefix(1);
    }
    return utf8ToUtf16(text);
}

class TableTextParser {
public:
    TableTextParser(std::string_view text, bool headerColorDependent)
        : rest_(text), headerColorDependent_(headerColorDependent) {
        advance();
    }

    PlotStyleTablePtr parse(std::string& error);

private:
    struct StyleEntry {
        std::unique_ptr<CPlotStyle> style;
        bool hasModeColor = false;
        bool hasName = false;
        bool hasLocalizedName = false;
    };

    bool atEnd() const { return atEnd_; }
    const Line& current() const { return line_; }
    void advance();
    bool fail(const std::string& reason) {
        error_ = atEnd() ? reason : "line " + std::to_string(current().number) + ": " + reason;
        return false;
    }
    bool badValue(std::string_view key) { return fail("bad value for " + std::string(key)); }
    // Parses value into target, or refuses the file naming key.
    template <class Target, class Parse>
    bool store(std::string_view key, std::string_view value, Parse parse, Target& target) {
        const auto parsed = parse(value);
        if (!parsed) {
            return badValue(key);
        }
        target = *parsed;
        return true;
    }

    bool splitKey(std::string_view line, std::string_view& key, std::string_view& value);
    bool keepUnknown(PlotStyleExtraKeys& keys, std::string_view key, std::string_view value);
    bool keepUnknownBlock(PlotStyleExtraKeys& keys);
    bool parseTableKey(std::string_view key, std::string_view value);
    bool parseAciTable();
    bool parseStyles();
    bool parseStyle();
    bool parseStyleKey(StyleEntry& entry, std::string_view key, std::string_view value);
    bool parseLineWeights();
    bool expectBlockEnd(const char* block);
    PlotStyleTablePtr buildTable();

    // Lines are taken one at a time: a hostile text of millions of lines costs no memory.
    std::string_view rest_;
    Line line_{{}, 0};
    bool atEnd_ = false;
    bool headerColorDependent_;
    std::string error_;

    std::u16string description_;
    bool aciTableAvailable_ = false;
    double scaleFactor_ = 1.0;
    bool applyFactor_ = false;
    std::int32_t lineWeightUnits_ = 0;
    std::optional<double> lineWeights_[CPlotStyleTable::kLineWeightCount];
    std::vector<std::optional<std::u16string>> aciNames_ =
        std::vector<std::optional<std::u16string>>(CPlotStyleTable::kAciCount);
    bool sawAciTable_ = false;
    std::vector<StyleEntry> styles_;
    PlotStyleExtraKeys extraKeys_;
    PlotStyleExtraKeys extraLineWeightRows_;
    std::size_t unknownKeyCount_ = 0;
};

// Moves to the next line that is not blank.
void TableTextParser::advance() {
    while (!rest_.empty()) {
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
        ++line_.number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = trimLeft(line);
        if (!trimRight(line).empty()) {
            line_.content = line;
            return;
        }
    }
    atEnd_ = true;
}

bool TableTextParser::splitKey(std::string_view line, std::string_view& key,
                               std::string_view& value) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return fail("not a key=value line");
    }
    key = trimRight(line.substr(0, equals));
    value = line.substr(equals + 1);
    return true;
}

bool TableTextParser::keepUnknown(PlotStyleExtraKeys& keys, std::string_view key,
                                  std::string_view value) {
    if (++unknownKeyCount_ > kMaxUnknownKeys) {
        return fail("too many unknown keys");
    }
    keys.emplace_back(std::string(key), std::string(value));
    return true;
}

// Keeps an unknown block, nested blocks included, as its raw lines.
bool TableTextParser::keepUnknownBlock(PlotStyleExtraKeys& keys) {
    const std::string key = std::string(blockName(current().content)) + kBlockSuffix;
    std::string body;
    int depth = 1;
    for (advance(); !atEnd(); advance()) {
        const std::string_view line = trimRight(current().content);
        if (closesBlock(line) && --depth == 0) {
            advance();
            return keepUnknown(keys, key, body);
        }
        if (opensBlock(line)) {
            ++depth;
        }
        if (!body.empty()) {
            body += '\n';
        }
        body += line;
    }
    return fail("block " + key + " is not closed");
}

bool TableTextParser::expectBlockEnd(const char* block) {
    if (atEnd()) {
        return fail(std::string("block ") + block + " is not closed");
    }
    advance();
    return true;
}

bool TableTextParser::parseTableKey(std::string_view key, std::string_view value) {
    if (key == "description") {
        description_ = parseText(value);
    } else if (key == "aci_table_available") {
        return store(key, value, parseBool, aciTableAvailable_);
    } else if (key == "scale_factor") {
        return store(key, value, parseReal, scaleFactor_);
    } else if (key == "apply_factor") {
        return store(key, value, parseBool, applyFactor_);
    } else if (key == "custom_lineweight_display_units") {
        return store(key, value, parseInt32, lineWeightUnits_);
    } else {
        return keepUnknown(extraKeys_, key, value);
    }
    return true;
}

bool TableTextParser::parseAciTable() {
    sawAciTable_ = true;
    for (advance(); !atEnd() && !closesBlock(current().content); advance()) {
        std::string_view key, value;
        if (!splitKey(current().content, key, value)) {
            return false;
        }
        const auto index = parseInt32(key);
        if (!index || *index < 0 || *index >= CPlotStyleTable::kAciCount) {
            return fail("colour index entry " + std::string(key) + " is out of range");
        }
        aciNames_[*index] = parseText(value);
    }
    return expectBlockEnd("aci_table");
}

bool TableTextParser::parseLineWeights() {
    for (advance(); !atEnd() && !closesBlock(current().content); advance()) {
        std::string_view key, value;
        if (!splitKey(current().content, key, value)) {
            return false;
        }
        const auto row = parseInt32(key);
        const auto weight = parseReal(value);
        if (!row || *row < 0 || !weight) {
            return fail("bad lineweight row");
        }
        if (*row < CPlotStyleTable::kLineWeightCount) {
            lineWeights_[*row] = *weight;
        } else if (!keepUnknown(extraLineWeightRows_, key, value)) {
            return false;
        }
    }
    return expectBlockEnd("custom_lineweight_table");
}

bool TableTextParser::parseStyles() {
    for (advance(); !atEnd() && !closesBlock(current().content);) {
        if (!opensBlock(current().content) || !parseInt32(blockName(current().content))) {
            return fail("a plot style must start with its number and {");
        }
        const std::size_t limit =
            headerColorDependent_ ? std::size_t(CPlotStyleTable::kAciCount) : kMaxNamedStyles;
        if (styles_.size() >= limit) {
            return fail("more than " + std::to_string(limit) + " plot styles");
        }
        if (!parseStyle()) {
            return false;
        }
    }
    return expectBlockEnd("plot_style");
}

bool TableTextParser::parseStyle() {
    StyleEntry entry{std::make_unique<CPlotStyle>()};
    for (advance(); !atEnd() && !closesBlock(current().content);) {
        if (opensBlock(current().content)) {
            if (!keepUnknownBlock(entry.style->extraKeys())) {
                return false;
            }
            continue;
        }
        std::string_view key, value;
        if (!splitKey(current().content, key, value) || !parseStyleKey(entry, key, value)) {
            return false;
        }
        advance();
    }
    CPlotStyle& style = *entry.style;
    if (!entry.hasModeColor) {
        style.ModeColor = style.Color;
    }
    if (entry.hasName && !entry.hasLocalizedName) {
        style.setLocName(style.name());
    } else if (entry.hasLocalizedName && !entry.hasName) {
        style.setName(style.locName());
    }
    if (style.LineWeight < 0 || style.LineWeight > CPlotStyleTable::kLineWeightCount) {
        return fail("lineweight " + std::to_string(style.LineWeight) + " of plot style " +
                    std::to_string(styles_.size()) + " is out of range");
    }
    styles_.push_back(std::move(entry));
    return expectBlockEnd("plot style");
}

bool TableTextParser::parseStyleKey(StyleEntry& entry, std::string_view key,
                                    std::string_view value) {
    CPlotStyle& style = *entry.style;
    if (key == "name") {
        style.setName(parseText(value));
        entry.hasName = true;
        return true;
    }
    if (key == "localized_name") {
        style.setLocName(parseText(value));
        entry.hasLocalizedName = true;
        return true;
    }
    if (key == "description") {
        style.setDesc(parseText(value));
        return true;
    }
    if (key == "color" || key == "mode_color") {
        const auto word = parseColorWord(value);
        if (!word) {
            return badValue(key);
        }
        (key == "color" ? style.Color : style.ModeColor) = *word;
        entry.hasModeColor = entry.hasModeColor || key == "mode_color";
        return true;
    }
    if (key == "linepattern_size") {
        return store(key, value, parseReal, style.LinePatSize);
    }
    if (key == "adaptive_linetype") {
        return store(key, value, parseBool, style.Adaptive);
    }
    const std::pair<const char*, std::int32_t*> integers[] = {
        {"color_policy", &style.ColorPolicy},
        {"physical_pen_number", &style.PhysPenNum},
        {"virtual_pen_number", &style.VirtPenNum},
        {"screen", &style.Screening},
        {"linetype", &style.LineType},
        {"lineweight", &style.LineWeight},
        {"fill_style", &style.FillStyle},
        {"end_style", &style.EndStyle},
        {"join_style", &style.JoinStyle}};
    for (const auto& [name, field] : integers) {
        if (key == name) {
            return store(key, value, parseInt32, *field);
        }
    }
    return keepUnknown(style.extraKeys(), key, value);
}

PlotStyleTablePtr TableTextParser::parse(std::string& error) {
    while (!atEnd()) {
        const std::string_view line = current().content;
        bool parsed = true;
        if (closesBlock(line)) {
            parsed = fail("} without an open block");
        } else if (opensBlock(line)) {
            const std::string_view name = blockName(line);
            if (name == "aci_table") {
                parsed = parseAciTable();
            } else if (name == "plot_style") {
                parsed = parseStyles();
            } else if (name == "custom_lineweight_table") {
                parsed = parseLineWeights();
            } else {
                parsed = keepUnknownBlock(extraKeys_);
            }
        } else {
            std::string_view key, value;
            parsed = splitKey(line, key, value) && parseTableKey(key, value);
            advance();
        }
        if (!parsed) {
            error = error_;
            return nullptr;
        }
    }
    PlotStyleTablePtr table = buildTable();
    error = error_;
    return table;
}

PlotStyleTablePtr TableTextParser::buildTable() {
    // One widely used writer marks every file as colour-dependent; a table without colour
    // index mapping and without one style per colour index is a named table all the same.
    const bool colorDependent =
        headerColorDependent_ && !(!aciTableAvailable_ && !sawAciTable_ &&
                                   styles_.size() != std::size_t(CPlotStyleTable::kAciCount));
    if (colorDependent && styles_.size() != std::size_t(CPlotStyleTable::kAciCount)) {
        fail("a colour-dependent table must hold 255 plot styles, this one holds " +
             std::to_string(styles_.size()));
        return nullptr;
    }
    if (styles_.empty()) {
        fail("the table holds no plot style");
        return nullptr;
    }

    PlotStyleTablePtr table = PlotStyleTableFactory::makeEmpty(colorDependent);
    table->Description = description_;
    table->ScaleFactor = scaleFactor_;
    table->ApplyFactor = applyFactor_;
    table->CustomLineWeightUnits = lineWeightUnits_;
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        if (lineWeights_[row]) {
            table->LineWeights[row] = *lineWeights_[row];
        }
    }
    table->extraKeys() = std::move(extraKeys_);
    table->extraLineWeightRows() = std::move(extraLineWeightRows_);
    for (StyleEntry& entry : styles_) {
        PlotStyleTableFactory::appendStyle(*table, std::move(entry.style));
    }

    table->AciTableAvailable = colorDependent || aciTableAvailable_;
    if (colorDependent) {
        for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
            table->AciTable[index] = table->style(index);
        }
    } else if (aciTableAvailable_) {
        const int count = static_cast<int>(table->size());
        for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
            CPlotStyle* target = table->style(0);
            for (int position = 0; aciNames_[index] && position < count; ++position) {
                if (*aciNames_[index] == table->style(position)->name()) {
                    target = table->style(position);
                    break;
                }
            }
            table->AciTable[index] = target;
        }
    }
    return table;
}

// Texts cannot hold a line break in the file: it would end the value and corrupt what follows.
std::string singleLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
    return text;
}

std::string textValue(const char16_t* text) {
    return '"' + singleLine(utf16ToUtf8(text));
}

std::string realValue(double value) {
    char buffer[64];
    const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, status == std::errc() ? end : buffer);
    if (text.find_first_of(".eEn") == std::string::npos) {
        text += ".0";
    }
    return text;
}

std::string boolValue(bool value) {
    return value ? "TRUE" : "FALSE";
}

std::string colorValue(std::uint32_t word) {
    return std::to_string(static_cast<std::int32_t>(word));
}

void appendUnknown(std::string& out, const PlotStyleExtraKeys& keys, const char* indent) {
    for (const auto& [key, value] : keys) {
        if (!key.empty() && key.back() == kBlockSuffix) {
            out += indent + key + '\n';
            if (!value.empty()) {
                out += value + '\n';
            }
            out += std::string(indent) + "}\n";
        } else {
            out += indent + singleLine(key) + '=' + singleLine(value) + '\n';
        }
    }
}

void appendStyle(std::string& out, int index, const CPlotStyle& style) {
    out += ' ' + std::to_string(index) + "{\n";
    const std::pair<const char*, std::string> keys[] = {
        {"name", textValue(style.name())},
        {"localized_name", textValue(style.locName())},
        {"description", textValue(style.desc())},
        {"color", colorValue(style.Color)},
        {"mode_color", colorValue(style.ModeColor)},
        {"color_policy", std::to_string(style.ColorPolicy)},
        {"physical_pen_number", std::to_string(style.PhysPenNum)},
        {"virtual_pen_number", std::to_string(style.VirtPenNum)},
        {"screen", std::to_string(style.Screening)},
        {"linepattern_size", realValue(style.LinePatSize)},
        {"linetype", std::to_string(style.LineType)},
        {"adaptive_linetype", boolValue(style.Adaptive)},
        {"lineweight", std::to_string(style.LineWeight)},
        {"fill_style", std::to_string(style.FillStyle)},
        {"end_style", std::to_string(style.EndStyle)},
        {"join_style", std::to_string(style.JoinStyle)}};
    for (const auto& [key, value] : keys) {
        out += std::string("  ") + key + '=' + value + '\n';
    }
    appendUnknown(out, style.extraKeys(), "  ");
    out += " }\n";
}

} // namespace

PlotStyleTablePtr parseTableText(std::string_view text, bool headerColorDependent,
                                 std::string& error) {
    return TableTextParser(text, headerColorDependent).parse(error);
}

std::string formatTableText(const CPlotStyleTable& table) {
    std::string out;
    out.reserve(512 + table.size() * 400);
    out += "description=" + textValue(table.Description.c_str()) + '\n';
    out += "aci_table_available=" + boolValue(table.AciTableAvailable) + '\n';
    out += "scale_factor=" + realValue(table.ScaleFactor) + '\n';
    out += "apply_factor=" + boolValue(table.ApplyFactor) + '\n';
    out += "custom_lineweight_display_units=" + std::to_string(table.CustomLineWeightUnits) + '\n';
    if (table.AciTableAvailable) {
        out += "aci_table{\n";
        for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
            const CPlotStyle* target =
                table.AciTable[index] ? table.AciTable[index] : table.style(0);
            out += ' ' + std::to_string(index) + '=' + textValue(target->name()) + '\n';
        }
        out += "}\n";
    }
    out += "plot_style{\n";
    for (int index = 0; index < static_cast<int>(table.size()); ++index) {
        appendStyle(out, index, *table.style(index));
    }
    out += "}\ncustom_lineweight_table{\n";
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        out += ' ' + std::to_string(row) + '=' + realValue(table.LineWeights[row]) + '\n';
    }
    appendUnknown(out, table.extraLineWeightRows(), " ");
    out += "}\n";
    appendUnknown(out, table.extraKeys(), "");
    out += '\0';
    return out;
}
