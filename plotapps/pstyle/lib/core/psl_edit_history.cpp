#include "psl_edit_history.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

namespace {

// Bit for bit, so that a value that is not a number still equals itself.
bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameStyle(const CPlotStyle& a, const CPlotStyle& b) {
    using Text = std::u16string_view;
    return Text(a.name()) == b.name() && Text(a.locName()) == b.locName() &&
           Text(a.desc()) == b.desc() && a.Color == b.Color && a.ModeColor == b.ModeColor &&
           a.ColorPolicy == b.ColorPolicy && a.PhysPenNum == b.PhysPenNum &&
           a.VirtPenNum == b.VirtPenNum && a.Screening == b.Screening &&
           sameBits(a.LinePatSize, b.LinePatSize) && a.LineType == b.LineType &&
           a.Adaptive == b.Adaptive && a.LineWeight == b.LineWeight && a.FillStyle == b.FillStyle &&
           a.EndStyle == b.EndStyle && a.JoinStyle == b.JoinStyle && a.extraKeys() == b.extraKeys();
}

} // namespace

void EditHistory::reset(const CPlotStyleTable& table, bool saved) {
    clear();
    steps_.push_back(contentOf(table));
    if (saved) {
        saved_ = 0;
    }
}

void EditHistory::clear() {
    steps_.clear();
    current_ = 0;
    saved_.reset();
}

EditHistory::TableContent EditHistory::contentOf(const CPlotStyleTable& table) const {
    TableContent content;
    content.description = table.Description;
    content.scaleFactor = table.ScaleFactor;
    content.applyFactor = table.ApplyFactor;
    content.lineWeightUnits = table.CustomLineWeightUnits;
    std::copy(std::begin(table.LineWeights), std::end(table.LineWeights),
              content.lineWeights.begin());

    // A style that the edit left alone is shared with the current step; behind an added or
    // deleted style it stands shifted by the change in count.
    const std::vector<std::shared_ptr<const CPlotStyle>> none;
    const auto& previous = steps_.empty() ? none : steps_[current_].styles;
    const long shift = long(previous.size()) - long(table.size());
    content.styles.reserve(table.size());
    for (long row = 0; row < long(table.size()); ++row) {
        const CPlotStyle& style = *table.style(int(row));
        std::shared_ptr<const CPlotStyle> kept;
        for (const long candidate : {row, row + shift}) {
            if (candidate >= 0 && candidate < long(previous.size()) &&
                sameStyle(*previous[candidate], style)) {
                kept = previous[candidate];
                break;
            }
        }
        content.styles.push_back(kept ? std::move(kept)
                                      : std::make_shared<const CPlotStyle>(style));
    }
    return content;
}

bool EditHistory::sameContent(const TableContent& a, const TableContent& b) {
    if (a.description != b.description || !sameBits(a.scaleFactor, b.scaleFactor) ||
        a.applyFactor != b.applyFactor || a.lineWeightUnits != b.lineWeightUnits ||
        std::memcmp(a.lineWeights.data(), b.lineWeights.data(), sizeof a.lineWeights) != 0 ||
        a.styles.size() != b.styles.size()) {
        return false;
    }
    for (std::size_t row = 0; row < a.styles.size(); ++row) {
        if (a.styles[row] != b.styles[row] && !sameStyle(*a.styles[row], *b.styles[row])) {
            return false;
        }
    }
    return true;
}

bool EditHistory::record(const CPlotStyleTable& table, bool joinCurrent) {
    if (steps_.empty()) {
        return false;
    }
    TableContent content = contentOf(table);
    if (sameContent(content, steps_[current_])) {
        return false;
    }
    steps_.erase(steps_.begin() + std::ptrdiff_t(current_) + 1, steps_.end());
    if (saved_ && *saved_ > current_) {
        saved_.reset();
    }
    if (joinCurrent && current_ > 0 && saved_ != current_) {
        // An edit taken back within the same step leaves no step behind.
        if (sameContent(content, steps_[current_ - 1])) {
            steps_.pop_back();
            --current_;
        } else {
            steps_[current_] = std::move(content);
        }
        return true;
    }
    steps_.push_back(std::move(content));
    ++current_;
    if (steps_.size() > kMaxSteps + 1) {
        steps_.pop_front();
        --current_;
        if (saved_) {
            saved_ = *saved_ == 0 ? std::nullopt : std::optional(*saved_ - 1);
        }
    }
    return true;
}

bool EditHistory::undo(CPlotStyleTable& table) {
    if (current_ == 0 || steps_.empty()) {
        return false;
    }
    --current_;
    restore(steps_[current_], table);
    return true;
}

bool EditHistory::redo(CPlotStyleTable& table) {
    if (current_ + 1 >= steps_.size()) {
        return false;
    }
    ++current_;
    restore(steps_[current_], table);
    return true;
}

void EditHistory::restore(const TableContent& content, CPlotStyleTable& table) {
    table.Description = content.description;
    table.ScaleFactor = content.scaleFactor;
    table.ApplyFactor = content.applyFactor;
    table.CustomLineWeightUnits = content.lineWeightUnits;
    std::copy(content.lineWeights.begin(), content.lineWeights.end(), table.LineWeights);

    // Only named tables without an ACI table change their number of styles; their styles are
    // found by position alone, so rows are added and taken away at the end.
    const std::size_t count = content.styles.size();
    for (std::size_t size = table.size(); size > count; --size) {
        table.deleteStyle(int(size) - 1);
    }
    for (std::size_t size = table.size(); size < count; ++size) {
        table.addStyle(content.styles[size]->name(), int(size) - 1, nullptr);
    }
    for (std::size_t row = 0; row < std::min(count, table.size()); ++row) {
        CPlotStyle& style = *table.style(int(row));
        if (!sameStyle(style, *content.styles[row])) {
            style = *content.styles[row];
        }
    }
}

void EditHistory::markSaved() {
    saved_ = current_;
}

bool EditHistory::isAtSavedStep() const {
    return saved_ == current_;
}
