// The editing history of one table, for undo and redo: each step is the table's content as an
// edit left it. A step shares the styles it did not change with the step before, so it costs
// little more than the styles it changed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kesutils/plot_style_table.h>

class EditHistory {
public:
    // Undo steps kept; older ones are forgotten.
    static constexpr std::size_t kMaxSteps = 100;

    // Forgets every step: table's content is where the history starts. saved tells whether the
    // table's file holds that content.
    void reset(const CPlotStyleTable& table, bool saved);
    void clear();

    // Takes the table's content as a new step, dropping the steps that could be redone; false
    // when it equals the current step. With joinCurrent the content replaces the current step
    // instead, unless that step is the saved one or the first.
    bool record(const CPlotStyleTable& table, bool joinCurrent = false);

    // Puts the content of the step before or after the current one into table; false when
    // there is none.
    bool undo(CPlotStyleTable& table);
    bool redo(CPlotStyleTable& table);

    // The table's file now holds the current step.
    void markSaved();
    bool isAtSavedStep() const;

private:
    struct TableContent {
        std::u16string description;
        double scaleFactor = 1.0;
        bool applyFactor = false;
        std::int32_t lineWeightUnits = 0;
        std::array<double, CPlotStyleTable::kLineWeightCount> lineWeights{};
        std::vector<std::shared_ptr<const CPlotStyle>> styles;
    };

    TableContent contentOf(const CPlotStyleTable& table) const;
    static bool sameContent(const TableContent& a, const TableContent& b);
    static void restore(const TableContent& content, CPlotStyleTable& table);

    std::deque<TableContent> steps_;
    std::size_t current_ = 0;
    std::optional<std::size_t> saved_;
};
