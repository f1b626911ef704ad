#include "psl_table_diff.h"

#include <functional>
#include <string_view>
#include <unordered_map>

#include <wx/intl.h>

#include <kesutils/plot_style_table.h>

#include "psl_catalogues.h"
#include "psl_csv_export.h"
#include "psl_style_values.h"
#include "psl_text.h"

namespace {

using Subject = TableDifference::Subject;

const char* const kAbsent = "absent";
const char* const kPresent = "present";

// A property's value as it takes effect, which is what is compared and what scripts read, and
// how people read it. That text is made only for a value that differs: most values of two
// tables are equal, and their labels are looked up in the translations.
struct PropertyValue {
    const char* key;
    wxString value;
    // Makes the text from the value; empty when people read the value itself.
    std::function<wxString(const wxString& value)> describe;

    wxString text() const { return describe ? describe(value) : value; }
};

wxString quoted(const wxString& text) {
    return "\"" + text + "\"";
}

PropertyValue textValue(const char* key, const wxString& text) {
    return {key, text, quoted};
}

PropertyValue plainValue(const char* key, const wxString& value) {
    return {key, value, nullptr};
}

PropertyValue catalogueValue(const char* key, int value, wxString (*label)(int)) {
    return {key, integerText(value), [label, value](const wxString&) { return label(value); }};
}

// Millimetres to four decimals, as the editor keeps them; shown in the table's units.
PropertyValue lineWeightValue(const char* key, double millimetres, bool inches) {
    return {key, decimalText(millimetres, 4),
            [millimetres, inches](const wxString&) { return lineWeightText(millimetres, inches); }};
}

std::vector<PropertyValue> tableValues(const CPlotStyleTable& table) {
    return {
        textValue("description", toWxString(table.Description)),
        plainValue("scale-factor", decimalText(table.ScaleFactor, 6)),
        plainValue("apply-factor", onOffText(table.ApplyFactor)),
        plainValue("units", usesInches(table) ? "inches" : "millimetres"),
        plainValue("aci-table", onOffText(table.AciTableAvailable)),
    };
}

std::vector<PropertyValue> styleValues(const CPlotStyleTable& table, const CPlotStyle& style,
                                       bool inches) {
    const double lineWeight = styleLineWeight(table, style);
    const bool objectLineWeight = usesObjectLineWeight(style);
    return {
        textValue("description", toWxString(style.desc())),
        plainValue("color", colorText(style.color2rgb())),
        plainValue("dither", onOffText(style.ColorPolicy & 1)),
        plainValue("grayscale", onOffText(style.ColorPolicy & 2)),
        plainValue("physical-pen", penText(style.PhysPenNum)),
        plainValue("virtual-pen", penText(style.VirtPenNum)),
        plainValue("screening", integerText(style.Screening)),
        catalogueValue("linetype", style.LineType, lineTypeLabel),
        plainValue("adaptive", onOffText(style.Adaptive)),
        objectLineWeight ? plainValue("lineweight", "object")
                         : lineWeightValue("lineweight", lineWeight, inches),
        catalogueValue("end-style", style.EndStyle, endStyleLabel),
        catalogueValue("join-style", style.JoinStyle, joinStyleLabel),
        catalogueValue("fill-style", style.FillStyle, fillStyleLabel),
        plainValue("line-pattern-size", decimalText(style.LinePatSize, 6)),
    };
}

// The rows of a table's styles, to match the styles of another table: by colour index, or by
// name in a named table, found in constant time so that tables of thousands of styles compare
// in linear time.
class StyleRows {
public:
    explicit StyleRows(const CPlotStyleTable& table) : count_(int(table.size())) {
        if (!table.ColorDependent) {
            for (int row = 0; row < count_; ++row) {
                byName_.emplace(table.style(row)->locName(), row);
            }
        }
    }

    // The row that holds the style at row of table: the same colour index, or the first style
    // of the same name; -1 when there is none.
    int matching(const CPlotStyleTable& table, int row) const {
        if (table.ColorDependent) {
            return row < count_ ? row : -1;
        }
        const auto found = byName_.find(table.style(row)->locName());
        return found == byName_.end() ? -1 : found->second;
    }

private:
    int count_;
    std::unordered_map<std::u16string_view, int> byName_;
};

class DifferenceList {
public:
    explicit DifferenceList(bool inches) : inches_(inches) {}

    void compareValues(Subject subject, const wxString& name,
                       const std::vector<PropertyValue>& before,
                       const std::vector<PropertyValue>& after) {
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i].value != after[i].value) {
                add(subject, name, before[i].key, before[i], after[i]);
            }
        }
    }

    void comparePresence(Subject subject, const wxString& name, const char* property, bool before,
                         bool after) {
        const auto noText = [](const wxString&) { return wxString(); };
        const PropertyValue absent{property, kAbsent, noText};
        const PropertyValue present{property, kPresent, noText};
        add(subject, name, property, before ? present : absent, after ? present : absent);
    }

    void compareLineWeights(const CPlotStyleTable& before, const CPlotStyleTable& after) {
        for (int row = 0; row < CPlotStyleTable::kLineWeightCount; ++row) {
            const PropertyValue old = lineWeightRow(before, row);
            const PropertyValue current = lineWeightRow(after, row);
            if (old.value != current.value) {
                add(Subject::Table, wxString(), wxString::Format("lineweight row %d", row), old,
                    current);
            }
        }
    }

    // Which style each colour index plots with, where both tables say it.
    void compareAciTables(const CPlotStyleTable& before, const CPlotStyleTable& after) {
        if (!before.AciTableAvailable || !after.AciTableAvailable) {
            return;
        }
        for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
            const PropertyValue old = aciStyle(before, index);
            const PropertyValue current = aciStyle(after, index);
            if (old.value != current.value) {
                add(Subject::ColorIndex, integerText(index + 1), "style", old, current);
            }
        }
    }

    void compareStyles(const CPlotStyleTable& before, const CPlotStyleTable& after) {
        const Subject subject = after.ColorDependent ? Subject::ColorIndex : Subject::NamedStyle;
        const StyleRows beforeRows(before);
        const StyleRows afterRows(after);
        for (int row = 0; row < int(after.size()); ++row) {
            const int match = beforeRows.matching(after, row);
            const wxString name = styleName(after, row);
            if (match < 0) {
                comparePresence(subject, name, "style", false, true);
            } else {
                compareValues(subject, name, styleValues(before, *before.style(match), inches_),
                              styleValues(after, *after.style(row), inches_));
            }
        }
        for (int row = 0; row < int(before.size()); ++row) {
            if (afterRows.matching(before, row) < 0) {
                comparePresence(subject, styleName(before, row), "style", true, false);
            }
        }
    }

    std::vector<TableDifference> take() { return std::move(differences_); }

private:
    void add(Subject subject, const wxString& name, const wxString& property,
             const PropertyValue& before, const PropertyValue& after) {
        differences_.push_back(
            {subject, name, property, before.text(), after.text(), before.value, after.value});
    }

    PropertyValue lineWeightRow(const CPlotStyleTable& table, int row) const {
        return lineWeightValue("", table.LineWeights[row], inches_);
    }

    static PropertyValue aciStyle(const CPlotStyleTable& table, int index) {
        const CPlotStyle* style = table.AciTable[index];
        return textValue("style", style ? toWxString(style->locName()) : wxString());
    }

    static wxString styleName(const CPlotStyleTable& table, int row) {
        return table.ColorDependent ? integerText(row + 1)
                                    : toWxString(table.style(row)->locName());
    }

    bool inches_;
    std::vector<TableDifference> differences_;
};

// Translated for people; untranslated for the CSV lines that programs read.
wxString subjectText(const TableDifference& difference, bool translated = true) {
    switch (difference.subject) {
    case Subject::Table:
        return _("Table");
    case Subject::ColorIndex:
        return wxString::Format("%ls %ls", translated ? _("Color") : wxString("Color"),
                                difference.name);
    case Subject::NamedStyle:
        break;
    }
    return quoted(difference.name);
}

} // namespace

std::vector<TableDifference> compareTables(const CPlotStyleTable* before,
                                           const CPlotStyleTable* after) {
    if (!before && !after) {
        return {};
    }
    DifferenceList differences(usesInches(after ? *after : *before));
    if (!before || !after) {
        differences.comparePresence(Subject::Table, wxString(), "table", before, after);
        return differences.take();
    }
    differences.compareValues(Subject::Table, wxString(), tableValues(*before),
                              tableValues(*after));
    differences.compareLineWeights(*before, *after);
    differences.compareAciTables(*before, *after);
    differences.compareStyles(*before, *after);
    return differences.take();
}

wxArrayString differenceLines(const std::vector<TableDifference>& differences) {
    wxArrayString lines;
    for (const TableDifference& difference : differences) {
        const wxString subject = subjectText(difference);
        if (difference.oldValue == kAbsent) {
            lines.Add(subject + ": " + _("added"));
        } else if (difference.newValue == kAbsent) {
            lines.Add(subject + ": " + _("removed"));
        } else {
            lines.Add(subject + ": " + difference.property + " " + difference.oldText +
                      wxString::FromUTF8(" \xE2\x86\x92 ") + difference.newText);
        }
    }
    return lines;
}

wxArrayString differenceCsvLines(const std::vector<TableDifference>& differences) {
    wxArrayString lines;
    lines.Add("style,property,old,new");
    for (const TableDifference& difference : differences) {
        const wxString style =
            difference.subject == Subject::Table ? wxString() : subjectText(difference, false);
        lines.Add(csvField(difference.subject == Subject::NamedStyle ? difference.name : style) +
                  "," + csvField(difference.property) + "," + csvField(difference.oldValue) + "," +
                  csvField(difference.newValue));
    }
    return lines;
}
