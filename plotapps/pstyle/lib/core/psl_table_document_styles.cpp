// The document's styles: their properties and descriptions, adding, deleting and renaming.
#include "psl_table_document.h"

#include <algorithm>
#include <iterator>

#include <wx/intl.h>

#include "psl_style_names.h"
#include "psl_text.h"

EditResult TableDocument::checkRows(const std::vector<int>& rows) const {
    if (const EditResult refused = checkTable(); refused.refused()) {
        return refused;
    }
    for (const int row : rows) {
        if (row < 0 || row >= int(table_->size())) {
            return EditResult::refusal(wxString::Format(_("There is no row %d."), row));
        }
    }
    return EditResult{};
}

EditResult TableDocument::setStyleProperty(const std::vector<int>& rows, StyleProperty property,
                                           std::int32_t value) {
    if (const EditResult refused = checkRows(rows); refused.refused()) {
        return refused;
    }
    std::vector<int> styles;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(styles),
                 [this](int row) { return !isBaseStyle(row); });
    // A value from outside the range that another program stored may be given again to the
    // styles that hold it, as when a user picks the value shown.
    const bool held = std::all_of(styles.begin(), styles.end(), [&](int row) {
        return styleValue(*table_->style(row), property) == value;
    });
    if (!isStyleValueInRange(property, value) && !held) {
        return EditResult::refusal(
            wxString::Format(_("The value %d is not allowed here; allowed are %ls."), value,
                             styleValueRangeText(property)));
    }
    bool changed = false;
    for (const int row : styles) {
        changed = setStyleValue(*table_->style(row), property, value) || changed;
    }
    return changed ? noteChange() : EditResult{};
}

EditResult TableDocument::setStyleDescription(const std::vector<int>& rows, const wxString& text) {
    if (const EditResult refused = checkRows(rows); refused.refused()) {
        return refused;
    }
    if (const EditResult refused = checkDescription(text); refused.refused()) {
        return refused;
    }
    const std::u16string description = toHostText(text);
    const bool goesOnTyping = !typingRows_.empty() && rows == typingRows_;
    bool changed = false;
    for (const int row : rows) {
        CPlotStyle& style = *table_->style(row);
        if (!isBaseStyle(row) && description != style.desc()) {
            style.setDesc(description);
            changed = true;
        }
    }
    const EditResult result = changed ? noteChange(goesOnTyping) : EditResult{};
    typingRows_ = rows;
    return result;
}

void TableDocument::endTyping() {
    typingRows_.clear();
}

EditResult TableDocument::checkNewStyleName(const wxString& name) const {
    if (name.empty()) {
        return EditResult::refusal(_("A style name cannot be empty."));
    }
    if (!isAllowedStyleName(name)) {
        return EditResult::refusal(
            wxString::Format(_("A style name cannot contain any of the following characters: %ls"),
                             forbiddenStyleNameCharacters()));
    }
    if (name.utf8_str().length() > CPlotStyleTable::kMaxNameBytes) {
        return EditResult::refusal(
            wxString::Format(_("A style name can be at most %d bytes long in UTF-8."),
                             int(CPlotStyleTable::kMaxNameBytes)));
    }
    if (findStyleByName(*table_, name) >= 0) {
        return EditResult::refusal(wxString::Format(
            _("A style named '%ls' already exists. Please enter a unique style name."), name));
    }
    return EditResult{};
}

EditResult TableDocument::addStyle(const wxString& name, int after, bool copyProperties) {
    if (const EditResult refused = checkRows({after}); refused.refused()) {
        return refused;
    }
    if (!canAddOrDeleteStyles()) {
        return EditResult::refusal(_("Styles cannot be added to or deleted from this table."));
    }
    if (table_->size() >= CPlotStyleTable::kMaxNamedStyles) {
        return EditResult::refusal(wxString::Format(_("A named table holds at most %d styles."),
                                                    int(CPlotStyleTable::kMaxNamedStyles)));
    }
    const wxString stored = trimStyleName(name);
    if (const EditResult refused = checkNewStyleName(stored); refused.refused()) {
        return refused;
    }
    if (!table_->addStyle(toHostText(stored).c_str(), after,
                          copyProperties ? table_->style(after) : nullptr)) {
        return EditResult::refusal(_("The style could not be added."));
    }
    return noteChange();
}

EditResult TableDocument::deleteStyles(const std::vector<int>& rows) {
    if (const EditResult refused = checkRows(rows); refused.refused()) {
        return refused;
    }
    if (!canAddOrDeleteStyles()) {
        return EditResult::refusal(_("Styles cannot be added to or deleted from this table."));
    }
    std::vector<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    // From the highest row down, so that the lower row numbers stay valid.
    bool deleted = false;
    for (auto row = sorted.rbegin(); row != sorted.rend() && !isBaseStyle(*row); ++row) {
        table_->deleteStyle(*row);
        deleted = true;
    }
    return deleted ? noteChange() : EditResult{};
}

EditResult TableDocument::renameStyle(int row, const wxString& name) {
    if (const EditResult refused = checkRows({row}); refused.refused()) {
        return refused;
    }
    if (!canRenameStyle(row)) {
        return EditResult::refusal(_("This style cannot be renamed."));
    }
    const wxString stored = trimStyleName(name);
    if (!stored.empty() && stored == toWxString(table_->style(row)->locName())) {
        return EditResult{};
    }
    // The style's own name counts: a change of letter case alone is refused.
    if (const EditResult refused = checkNewStyleName(stored); refused.refused()) {
        return refused;
    }
    table_->renameStyle(row, toHostText(stored).c_str());
    return noteChange();
}
