#include "table_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
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
    std::string_view trimmed; // content without trailing blanks
    std::size_t number;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimRight(std::string_view text) {
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The block helpers take lines without trailing blanks.
bool opensBlock(std::string_view trimmed) {
    return !trimmed.empty() && trimmed.back() == '{' && trimmed.find('=') == std::string_view::npos;
}

bool closesBlock(std::string_view trimmed) {
    return trimmed == "}";
}

std::string_view blockName(std::string_view trimmed) {
    return trimRight(trimmed.substr(0, trimmed.size() - 1));
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    text = trimRight(text);
    // Short numbers, as tables hold them, cannot overflow: no need for the general parser.
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (!digits.empty() && digits.size() <= 18) {
        std::int64_t value = 0;
        for (const char digit : digits) {
            if (digit < '0' || digit > '9') {
                return std::nullopt;
            }
            value = value * 10 + (digit - '0');
        }
        return negative ? -value : value;
    }
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
    text = trimRight(text);
    std::string withPoint;
    if (text.find(',') != std::string_view::npos) {
        withPoint = text;
        std::replace(withPoint.begin(), withPoint.end(), ',', '.');
        text = withPoint;
    }
    double value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size() || text.empty()) {
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

// The keys of a style, in the order the writer puts them. A reader looks for each key after
// the one it found last, so that files in this order need one comparison per line.
enum class StyleValue {
    Name,
    LocalizedName,
    Description,
    Color,
    ModeColor,
    Integer,
    Real,
    Boolean
};

struct StyleKey {
    std::string_view key;
    StyleValue value;
    std::int32_t CPlotStyle::*integer = nullptr;
};

const StyleKey kStyleKeys[] = {
    {"name", StyleValue::Name},
    {"localized_name", StyleValue::LocalizedName},
    {"description", StyleValue::Description},
    {"color", StyleValue::Color},
    {"mode_color", StyleValue::ModeColor},
    {"color_policy", StyleValue::Integer, &CPlotStyle::ColorPolicy},
    {"physical_pen_number", StyleValue::Integer, &CPlotStyle::PhysPenNum},
    {"virtual_pen_number", StyleValue::Integer, &CPlotStyle::VirtPenNum},
    {"screen", StyleValue::Integer, &CPlotStyle::Screening},
    {"linepattern_size", StyleValue::Real},
    {"linetype", StyleValue::Integer, &CPlotStyle::LineType},
    {"adaptive_linetype", StyleValue::Boolean},
    {"lineweight", StyleValue::Integer, &CPlotStyle::LineWeight},
    {"fill_style", StyleValue::Integer, &CPlotStyle::FillStyle},
    {"end_style", StyleValue::Integer, &CPlotStyle::EndStyle},
    {"join_style", StyleValue::Integer, &CPlotStyle::JoinStyle},
};
constexpr std::size_t kStyleKeyCount = std::size(kStyleKeys);

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
    const StyleKey* findStyleKey(std::string_view key);
    bool parseLineWeights();
    bool expectBlockEnd(const char* block);
    PlotStyleTablePtr buildTable();

    // Lines are taken one at a time: a hostile text of millions of lines costs no memory.
    std::string_view rest_;
    Line line_{{}, {}, 0};
    bool atEnd_ = false;
    bool headerColorDependent_;
    std::string error_;

    std::u16string description_;
    bool aciTableAvailable_ = false;
    double scaleFactor_ = 1.0;
    bool applyFactor_ = false;
    std::int32_t lineWeightUnits_ = 0;
    std::optional<double> lineWeights_[CPlotStyleTable::kLineWeightCount];
    // Raw values: only a named table needs them, to find its styles by name.
    std::optional<std::string_view> aciNames_[CPlotStyleTable::kAciCount];
    bool sawAciTable_ = false;
    std::vector<StyleEntry> styles_;
    std::size_t nextStyleKey_ = 0;
    PlotStyleExtraKeys extraKeys_;
    PlotStyleExtraKeys extraLineWeightRows_;
    std::size_t unknownKeyCount_ = 0;
};

// Moves to the next line that is not blank.
void TableTextParser::advance() {
    while (!rest_.empty()) {
        const char* begin = rest_.data();
        const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', rest_.size()));
        const char* end = newline ? newline : begin + rest_.size();
        rest_.remove_prefix(std::size_t(end - begin) + (newline ? 1 : 0));
        ++line_.number;
        if (end > begin && end[-1] == '\r') {
            --end;
        }
        while (begin < end && isBlank(*begin)) {
            ++begin;
        }
        const char* last = end;
        while (last > begin && isBlank(last[-1])) {
            --last;
        }
        if (last > begin) {
            line_.content = std::string_view(begin, std::size_t(end - begin));
            line_.trimmed = std::string_view(begin, std::size_t(last - begin));
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
    const std::string key = std::string(blockName(current().trimmed)) + kBlockSuffix;
    std::string body;
    int depth = 1;
    for (advance(); !atEnd(); advance()) {
        const std::string_view line = current().trimmed;
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
    for (advance(); !atEnd() && !closesBlock(current().trimmed); advance()) {
        std::string_view key, value;
        if (!splitKey(current().content, key, value)) {
            return false;
        }
        const auto index = parseInt32(key);
        if (!index || *index < 0 || *index >= CPlotStyleTable::kAciCount) {
            return fail("colour index entry " + std::string(key) + " is out of range");
        }
        aciNames_[*index] = value;
    }
    return expectBlockEnd("aci_table");
}

bool TableTextParser::parseLineWeights() {
    for (advance(); !atEnd() && !closesBlock(current().trimmed); advance()) {
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
    if (headerColorDependent_) {
        styles_.reserve(CPlotStyleTable::kAciCount);
    }
    for (advance(); !atEnd() && !closesBlock(current().trimmed);) {
        if (!opensBlock(current().trimmed) || !parseInt32(blockName(current().trimmed))) {
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
    for (advance(); !atEnd() && !closesBlock(current().trimmed);) {
        if (opensBlock(current().trimmed)) {
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

const StyleKey* TableTextParser::findStyleKey(std::string_view key) {
    for (std::size_t tried = 0; tried < kStyleKeyCount; ++tried) {
        const std::size_t index = (nextStyleKey_ + tried) % kStyleKeyCount;
        if (kStyleKeys[index].key == key) {
            nextStyleKey_ = (index + 1) % kStyleKeyCount;
            return &kStyleKeys[index];
        }
    }
    return nullptr;
}

bool TableTextParser::parseStyleKey(StyleEntry& entry, std::string_view key,
                                    std::string_view value) {
    const StyleKey* known = findStyleKey(key);
    if (!known) {
        return keepUnknown(entry.style->extraKeys(), key, value);
    }
    CPlotStyle& style = *entry.style;
    switch (known->value) {
    case StyleValue::Name:
        style.setName(parseText(value));
        entry.hasName = true;
        return true;
    case StyleValue::LocalizedName:
        style.setLocName(parseText(value));
        entry.hasLocalizedName = true;
        return true;
    case StyleValue::Description:
        style.setDesc(parseText(value));
        return true;
    case StyleValue::Color:
        return store(key, value, parseColorWord, style.Color);
    case StyleValue::ModeColor:
        entry.hasModeColor = true;
        return store(key, value, parseColorWord, style.ModeColor);
    case StyleValue::Integer:
        return store(key, value, parseInt32, style.*known->integer);
    case StyleValue::Real:
        return store(key, value, parseReal, style.LinePatSize);
    case StyleValue::Boolean:
        return store(key, value, parseBool, style.Adaptive);
    }
    return false;
}

PlotStyleTablePtr TableTextParser::parse(std::string& error) {
    while (!atEnd()) {
        const std::string_view line = current().trimmed;
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
            parsed = splitKey(current().content, key, value) && parseTableKey(key, value);
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
            const std::u16string name = aciNames_[index] ? parseText(*aciNames_[index]) : u"";
            for (int position = 0; aciNames_[index] && position < count; ++position) {
                if (name == table->style(position)->name()) {
                    target = table->style(position);
                    break;
                }
            }
            table->AciTable[index] = target;
        }
    }
    return table;
}

// The writer appends every value in place to one buffer: a table of 255 styles is some 4000 lines.
void appendInteger(std::string& out, std::int64_t value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void appendReal(std::string& out, double value) {
    char buffer[64];
    const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::string_view text(buffer, status == std::errc() ? std::size_t(end - buffer) : 0);
    out += text;
    if (text.find_first_of(".eEn") == std::string_view::npos) {
        out += ".0";
    }
}

void appendBool(std::string& out, bool value) {
    out += value ? "TRUE" : "FALSE";
}

// Texts cannot hold a line break in the file: it would end the value and corrupt what follows.
void replaceLineBreaks(std::string& out, std::size_t from) {
    std::replace_if(
        out.begin() + from, out.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; },
        ' ');
}

void appendText(std::string& out, std::u16string_view text) {
    out += '"';
    const std::size_t start = out.size();
    appendAsUtf8(out, text);
    replaceLineBreaks(out, start);
}

void appendUnknown(std::string& out, const PlotStyleExtraKeys& keys, std::string_view indent) {
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
            const std::size_t start = out.size();
            out += key;
            replaceLineBreaks(out, start);
            out += '=';
            const std::size_t valueStart = out.size();
            out += value;
            replaceLineBreaks(out, valueStart);
            out += '\n';
        }
    }
}

void appendStyle(std::string& out, int index, const CPlotStyle& style) {
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

void appendHead(std::string& out, const CPlotStyleTable& table) {
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

void appendTail(std::string& out, const CPlotStyleTable& table) {
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

PlotStyleTablePtr parseTableText(std::string_view text, bool headerColorDependent,
                                 std::string& error) {
    return TableTextParser(text, headerColorDependent).parse(error);
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
    return piece_;
}

std::string formatTableText(const CPlotStyleTable& table) {
    std::string text;
    TableTextPieces pieces(table);
    for (std::string_view piece = pieces.next(); !piece.empty(); piece = pieces.next()) {
        text += piece;
    }
    return text;
}
