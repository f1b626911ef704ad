#include "table_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

#include "plot_style_factory.h"
#include "text_encoding.h"

namespace {

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
    return trimmed.size() == 1 && trimmed.front() == '}';
}

std::string_view blockName(std::string_view trimmed) {
    return trimRight(trimmed.substr(0, trimmed.size() - 1));
}

// Gives its result through value: returned in an optional, it cost a stalled load on every
// one of the thousands of numbers in a table.
bool parseInteger(std::string_view text, std::int64_t& value) {
    text = trimRight(text);
    // Short numbers, as tables hold them, cannot overflow: no need for the general parser.
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (!digits.empty() && digits.size() <= 18) {
        value = 0;
        for (const char digit : digits) {
            if (digit < '0' || digit > '9') {
                return false;
            }
            value = value * 10 + (digit - '0');
        }
        value = negative ? -value : value;
        return true;
    }
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    return status == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::optional<std::int32_t> parseInt32(std::string_view text) {
    std::int64_t value = 0;
    if (!parseInteger(text, value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// Colour words are written signed, but a writer may print them unsigned.
std::optional<std::uint32_t> parseColorWord(std::string_view text) {
    std::int64_t value = 0;
    if (!parseInteger(text, value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// Plain decimals such as 0.35 or 12.7, as tables hold them, are exact as a quotient of two
// doubles below 2^53, which rounds correctly; anything else takes the general parser.
std::optional<double> parsePlainDecimal(std::string_view text) {
    constexpr double powersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    std::uint64_t digits = 0;
    int digitCount = 0;
    int fractionDigits = -1;
    for (const char c : text) {
        if (c == '.' && fractionDigits < 0) {
            fractionDigits = 0;
        } else if (c >= '0' && c <= '9' && digitCount < 15) {
            digits = digits * 10 + std::uint64_t(c - '0');
            ++digitCount;
            if (fractionDigits >= 0) {
                ++fractionDigits;
            }
        } else {
            return std::nullopt;
        }
    }
    if (digitCount == 0 || fractionDigits > 10) {
        return std::nullopt;
    }
    return double(digits) / powersOfTen[std::max(fractionDigits, 0)];
}

// Always a decimal point; a comma is accepted from writers that followed their locale.
std::optional<double> parseReal(std::string_view text) {
    text = trimRight(text);
    if (const auto plain = parsePlainDecimal(text)) {
        return plain;
    }
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
std::string_view textValue(std::string_view text) {
    if (!text.empty() && text.front() == '"') {
        text.remove_prefix(1);
    }
    return text;
}

std::u16string parseText(std::string_view text) {
    return utf8ToUtf16(textValue(text));
}

class TableTextParser {
public:
    TableTextParser(std::string_view text, bool headerColorDependent)
        : rest_(text), headerColorDependent_(headerColorDependent) {
        advance();
    }

    PlotStyleTablePtr parse(std::string& error);
    // What parse filled in of the table it built.
    void fillReport(const CPlotStyleTable& table, PlotStyleReadReport& report) const;

private:
    struct StyleEntry {
        std::unique_ptr<CPlotStyle> style;
        bool hasModeColor = false;
        // Raw values, set on the style at once when its block ends.
        std::optional<std::string_view> name = std::nullopt;
        std::optional<std::string_view> localizedName = std::nullopt;
        std::string_view description = {};
    };

    bool atEnd() const { return atEnd_; }
    const Line& current() const { return line_; }
    void advance();
    bool fail(const std::string& reason) {
        error_ = atEnd() ? reason : "line " + std::to_string(current().number) + ": " + reason;
        return false;
    }
    bool badValue(std::string_view key) { return fail("bad value for " + std::string(key)); }
    // Texts longer than a table may hold are refused, naming key.
    bool fitsLength(std::string_view key, std::string_view value, std::size_t limit) {
        return textValue(value).size() <= limit ||
               fail(std::string(key) + " is longer than " + std::to_string(limit) + " bytes");
    }
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
    bool parseStyleLine(StyleEntry& entry);
    bool parseStyleKey(StyleEntry& entry, const StyleKey& known, std::string_view value);
    const StyleKey* findStyleKey(std::string_view key);
    void setTexts(StyleEntry& entry);
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
    std::u16string names_[3]; // reused for every style's texts
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
        if (!fitsLength(key, value, CPlotStyleTable::kMaxDescriptionBytes)) {
            return false;
        }
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
        if (!fitsLength("style name", value, CPlotStyleTable::kMaxNameBytes)) {
            return false;
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
        const std::size_t limit = headerColorDependent_ ? std::size_t(CPlotStyleTable::kAciCount)
                                                        : CPlotStyleTable::kMaxNamedStyles;
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
        if (!parseStyleLine(entry)) {
            return false;
        }
    }
    CPlotStyle& style = *entry.style;
    if (!entry.hasModeColor) {
        style.ModeColor = style.Color;
    }
    setTexts(entry);
    if (style.LineWeight < 0 || style.LineWeight > CPlotStyleTable::kLineWeightCount) {
        return fail("lineweight " + std::to_string(style.LineWeight) + " of plot style " +
                    std::to_string(styles_.size()) + " is out of range");
    }
    styles_.push_back(std::move(entry));
    return expectBlockEnd("plot style");
}

// A name or a localized name alone stands for both.
void TableTextParser::setTexts(StyleEntry& entry) {
    const std::string_view texts[] = {entry.name.value_or(entry.localizedName.value_or("")),
                                      entry.localizedName.value_or(entry.name.value_or("")),
                                      entry.description};
    for (std::size_t index = 0; index < std::size(texts); ++index) {
        names_[index].clear();
        appendAsUtf16(names_[index], textValue(texts[index]));
    }
    entry.style->setTexts(names_[0], names_[1], names_[2]);
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

// Parses the current line of a style block, or the unknown block it opens, and moves past it.
bool TableTextParser::parseStyleLine(StyleEntry& entry) {
    // Most lines hold the key that follows the last one, written as "key=value".
    const StyleKey& expected = kStyleKeys[nextStyleKey_];
    const std::string_view line = current().content;
    const std::size_t length = expected.key.size();
    bool parsed = false;
    if (line.size() > length && line[length] == '=' && line.substr(0, length) == expected.key) {
        nextStyleKey_ = (nextStyleKey_ + 1) % kStyleKeyCount;
        parsed = parseStyleKey(entry, expected, line.substr(length + 1));
    } else if (opensBlock(current().trimmed)) {
        return keepUnknownBlock(entry.style->extraKeys());
    } else {
        std::string_view key, value;
        if (!splitKey(line, key, value)) {
            return false;
        }
        const StyleKey* known = findStyleKey(key);
        parsed = known ? parseStyleKey(entry, *known, value)
                       : keepUnknown(entry.style->extraKeys(), key, value);
    }
    if (parsed) {
        advance();
    }
    return parsed;
}

bool TableTextParser::parseStyleKey(StyleEntry& entry, const StyleKey& known,
                                    std::string_view value) {
    CPlotStyle& style = *entry.style;
    const std::string_view key = known.key;
    switch (known.value) {
    case StyleValue::Name:
        entry.name = value;
        return fitsLength(key, value, CPlotStyleTable::kMaxNameBytes);
    case StyleValue::LocalizedName:
        entry.localizedName = value;
        return fitsLength(key, value, CPlotStyleTable::kMaxNameBytes);
    case StyleValue::Description:
        entry.description = value;
        return fitsLength(key, value, CPlotStyleTable::kMaxDescriptionBytes);
    case StyleValue::Color:
        return store(key, value, parseColorWord, style.Color);
    case StyleValue::ModeColor:
        entry.hasModeColor = true;
        return store(key, value, parseColorWord, style.ModeColor);
    case StyleValue::Integer:
        return store(key, value, parseInt32, style.*known.integer);
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

void TableTextParser::fillReport(const CPlotStyleTable& table, PlotStyleReadReport& report) const {
    report.headerColorDependent = headerColorDependent_;
    const int given =
        int(std::count_if(std::begin(lineWeights_), std::end(lineWeights_),
                          [](const std::optional<double>& row) { return bool(row); }));
    report.lineWeightRows = given + int(table.extraLineWeightRows().size());
    report.lineWeightRowsFilledIn = CPlotStyleTable::kLineWeightCount - given;
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
        // The first style of each name, found at once even among thousands.
        std::unordered_map<std::u16string_view, CPlotStyle*> byName;
        for (int position = 0; position < static_cast<int>(table->size()); ++position) {
            byName.emplace(table->style(position)->name(), table->style(position));
        }
        for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
            const auto found =
                aciNames_[index] ? byName.find(parseText(*aciNames_[index])) : byName.end();
            table->AciTable[index] = found == byName.end() ? table->style(0) : found->second;
        }
    }
    return table;
}

} // namespace

PlotStyleTablePtr parseTableText(std::string_view text, bool headerColorDependent,
                                 std::string& error, PlotStyleReadReport* report) {
    TableTextParser parser(text, headerColorDependent);
    PlotStyleTablePtr table = parser.parse(error);
    if (table && report) {
        parser.fillReport(*table, *report);
    }
    return table;
}
