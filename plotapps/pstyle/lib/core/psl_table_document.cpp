// The document's life: loading and saving, the table's own settings, its lineweights, undo and
// redo.
#include "psl_table_document.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <iterator>

#include <wx/intl.h>

#include "psl_file_names.h"
#include "psl_style_values.h"
#include "psl_table_convert.h"
#include "psl_table_files.h"
#include "psl_text.h"

namespace {

safefile::FileIdentity identityOf(const wxFileName& file) {
    return safefile::identityOf(fileNameToBytes(file.GetFullPath()));
}

// A row of the lineweight table while it is sorted: where it stood, and its value.
struct LineWeightData {
    int index;
    double value;
};

} // namespace

double roundTo4Decimals(double value) {
    const double shifted = (value < 0.0 ? value - 0.00005 : value + 0.00005) * 10000.0;
    // Adding 0.0 turns a negative zero into zero, which would otherwise print as "-0.0000".
    return std::trunc(shifted) / 10000.0 + 0.0;
}

TableDocument::TableDocument(const wxFileName& file) : fileName_(file) {}

EditResult TableDocument::checkDescription(const wxString& text) {
    if (text.find_first_of("\r\n") != wxString::npos) {
        return EditResult::refusal(_("A description cannot hold a line break."));
    }
    if (text.utf8_str().length() > CPlotStyleTable::kMaxDescriptionBytes) {
        return EditResult::refusal(
            wxString::Format(_("A description can be at most %d bytes long in UTF-8."),
                             int(CPlotStyleTable::kMaxDescriptionBytes)));
    }
    return EditResult{};
}

TableDocument::LoadOutcome TableDocument::load(const wxString& sourceFile) {
    table_.reset();
    const wxFileName& file = fileName_;
    wxString pathToRead;
    if (!sourceFile.empty() && wxFileName::FileExists(sourceFile)) {
        pathToRead = sourceFile;
    } else if (file.FileExists()) {
        pathToRead = file.GetFullPath();
    }
    std::u16string reason;
    if (pathToRead.empty()) {
        table_.reset(CPlotStyleTable::create(hasColorDependentExtension(file), nullptr));
    } else {
        table_.reset(CPlotStyleTable::read(toHostText(pathToRead).c_str(), reason));
    }
    readFailure_ = table_ ? wxString() : toWxString(reason);
    // A copy shows another file's content: until it is saved, the target does not hold it.
    const bool copiedFromSource =
        !pathToRead.empty() && pathToRead == sourceFile && !file.SameAs(wxFileName(sourceFile));
    modified_ = !file.FileExists() || copiedFromSource;
    fileIdentity_ = identityOf(file);
    typingRows_.clear();
    if (table_) {
        history_.reset(*table_, !modified_);
    } else {
        history_.clear();
    }
    if (pathToRead.empty()) {
        return table_ ? LoadOutcome::Created : LoadOutcome::CreateFailed;
    }
    return table_ ? LoadOutcome::Read : LoadOutcome::ReadFailed;
}

bool TableDocument::fileChangedElsewhere() const {
    return identityOf(fileName_) != fileIdentity_;
}

bool TableDocument::isBaseStyle(int row) const {
    return row == 0 && table_ && !table_->ColorDependent;
}

bool TableDocument::canAddOrDeleteStyles() const {
    return table_ && !table_->ColorDependent && !table_->AciTableAvailable;
}

bool TableDocument::canRenameStyle(int row) const {
    return table_ && !table_->ColorDependent && !isBaseStyle(row);
}

SaveResult TableDocument::save() {
    return saveAs(fileName_);
}

wxString TableDocument::saveRefusal() const {
    if (!table_) {
        return _("No table is open.");
    }
    const wxString wrongKind = tableKindRefusal(fileName_, table_->ColorDependent);
    if (!wrongKind.empty()) {
        return wrongKind;
    }
    std::u16string reason;
    return table_->canWrite(toHostText(fileName_.GetFullPath()).c_str(), reason)
               ? wxString()
               : toWxString(reason);
}

SaveResult TableDocument::saveAs(const wxFileName& file) {
    if (!table_) {
        return {false, 0, _("No table is open.")};
    }
    // Saved under the other kind's extension, the table would open as the wrong kind or not at
    // all.
    const wxString wrongKind = tableKindRefusal(file, table_->ColorDependent);
    if (!wrongKind.empty()) {
        return {false, EINVAL, wrongKind};
    }
    errno = 0;
    if (!table_->write(toHostText(file.GetFullPath()).c_str())) {
        return {false, errno, wxString()};
    }
    fileName_ = file;
    modified_ = false;
    history_.markSaved();
    fileIdentity_ = identityOf(fileName_);
    return {true, 0, wxString()};
}

EditResult TableDocument::checkTable() const {
    return table_ ? EditResult{} : EditResult::refusal(_("No table is open."));
}

EditResult TableDocument::noteChange(bool joinStep) {
    modified_ = true;
    if (!joinStep) {
        typingRows_.clear();
    }
    return history_.record(*table_, joinStep) ? EditResult{EditResult::Outcome::Changed, {}}
                                              : EditResult{};
}

EditResult TableDocument::setTableDescription(const wxString& text) {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    if (const EditResult refused = checkDescription(text); refused.refused()) {
        return refused;
    }
    const std::u16string description = toHostText(text);
    if (description == table_->Description) {
        return EditResult{};
    }
    table_->Description = description;
    return noteChange();
}

EditResult TableDocument::setApplyFactor(bool apply) {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    if (apply == table_->ApplyFactor) {
        return EditResult{};
    }
    table_->ApplyFactor = apply;
    return noteChange();
}

EditResult TableDocument::setScaleFactor(double factor) {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    // The factor a table holds stays, whatever another program wrote.
    if (std::memcmp(&factor, &table_->ScaleFactor, sizeof factor) == 0) {
        return EditResult{};
    }
    if (!std::isfinite(factor) || factor <= 0.0) {
        return EditResult::refusal(_("The scale factor must be a number greater than 0."));
    }
    table_->ScaleFactor = factor;
    return noteChange();
}

EditResult TableDocument::setLineWeight(int row, double millimetres, LineWeightOrder* order) {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    if (row < 0 || row >= CPlotStyleTable::kLineWeightCount) {
        return EditResult::refusal(wxString::Format(_("There is no row %d."), row));
    }
    const double rounded = roundTo4Decimals(millimetres);
    if (!(rounded >= 0.0 && rounded <= kMaxLineWeight)) {
        return EditResult::refusal(
            wxString::Format(_("Custom lineweights must be greater than or equal to 0 "
                               "and less than or equal to %.0lf mm (%.4lf\")."),
                             kMaxLineWeight, kMaxLineWeight / kMillimetresPerInch));
    }
    table_->LineWeights[row] = rounded;
    return sortLineWeights(order);
}

EditResult TableDocument::sortLineWeights(LineWeightOrder* order) {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    // A sorted insertion: rows of equal value keep their order.
    std::vector<LineWeightData> sorted;
    sorted.reserve(CPlotStyleTable::kLineWeightCount);
    for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
        const LineWeightData data{row, table_->LineWeights[row]};
        const auto place = std::upper_bound(
            sorted.begin(), sorted.end(), data,
            [](const LineWeightData& a, const LineWeightData& b) { return a.value < b.value; });
        sorted.insert(place, data);
    }

    LineWeightOrder newRow{};
    for (int position = 0; position < CPlotStyleTable::kLineWeightCount; ++position) {
        table_->LineWeights[position] = sorted[position].value;
        newRow[sorted[position].index] = position;
    }
    // Every style keeps plotting with the weight it had: its index follows its row. An index
    // past the table names no weight and becomes the object's lineweight.
    for (int row = 0; row < int(table_->size()); ++row) {
        std::int32_t& weight = table_->style(row)->LineWeight;
        if (weight > CPlotStyleTable::kLineWeightCount) {
            weight = 0;
        } else if (weight >= 1) {
            weight = newRow[weight - 1] + 1;
        }
    }
    if (order) {
        *order = newRow;
    }
    return noteChange();
}

EditResult TableDocument::setLineWeightUnits(bool inches) {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    table_->CustomLineWeightUnits = inches ? 1 : 0;
    return noteChange();
}

EditResult TableDocument::convertToNamed() {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    if (!table_->ColorDependent) {
        return EditResult::refusal(
            _("Only a color-dependent table can be converted to a named table."));
    }
    PlotStyleTablePtr named = convertToNamedTable(*table_);
    if (!named) {
        return EditResult::refusal(_("Failed to create plotstyle table file."));
    }
    table_ = std::move(named);
    modified_ = true;
    typingRows_.clear();
    history_.reset(*table_, false);
    return {EditResult::Outcome::Changed, {}};
}

bool TableDocument::undo() {
    if (!table_ || !history_.undo(*table_)) {
        return false;
    }
    modified_ = !history_.isAtSavedStep();
    typingRows_.clear();
    return true;
}

bool TableDocument::redo() {
    if (!table_ || !history_.redo(*table_)) {
        return false;
    }
    modified_ = !history_.isAtSavedStep();
    typingRows_.clear();
    return true;
}
