#include "psl_table_edit.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <optional>

#include <wx/intl.h>
#include <wx/tokenzr.h>

#include <kesutils/plot_style_table.h>

#include "psl_catalogues.h"
#include "psl_style_names.h"
#include "psl_style_values.h"
#include "psl_table_document.h"
#include "psl_text.h"
#include "psl_value_text.h"

namespace {

enum class ValueKind { Color, OnOff, Number, Pen, LineWeight, Catalogue };

struct EditKey {
    const char* name;
    StyleProperty property;
    ValueKind kind;
    wxString (*label)(int); // Catalogue only: as the editor shows it
    // Catalogue only: untranslated, so that a script gives the same value in every language.
    wxString (*englishLabel)(int) = nullptr;
};

const EditKey kEditKeys[] = {
    {"color", StyleProperty::Color, ValueKind::Color, nullptr},
    {"screening", StyleProperty::Screening, ValueKind::Number, nullptr},
    {"physical-pen", StyleProperty::PhysicalPen, ValueKind::Pen, nullptr},
    {"virtual-pen", StyleProperty::VirtualPen, ValueKind::Pen, nullptr},
    {"lineweight", StyleProperty::LineWeight, ValueKind::LineWeight, nullptr},
    {"linetype", StyleProperty::LineType, ValueKind::Catalogue, lineTypeLabel,
     lineTypeEnglishLabel},
    {"end-style", StyleProperty::EndStyle, ValueKind::Catalogue, endStyleLabel,
     endStyleEnglishLabel},
    {"join-style", StyleProperty::JoinStyle, ValueKind::Catalogue, joinStyleLabel,
     joinStyleEnglishLabel},
    {"fill-style", StyleProperty::FillStyle, ValueKind::Catalogue, fillStyleLabel,
     fillStyleEnglishLabel},
    {"dither", StyleProperty::Dither, ValueKind::OnOff, nullptr},
    {"grayscale", StyleProperty::Grayscale, ValueKind::OnOff, nullptr},
    {"adaptive", StyleProperty::Adaptive, ValueKind::OnOff, nullptr},
};

wxString keyNames() {
    wxString names;
    for (const EditKey& key : kEditKeys) {
        names += (names.empty() ? "" : ", ") + wxString(key.name);
    }
    return names;
}

bool parseIntegerIn(const wxString& text, int minimum, int maximum, int& value) {
    const std::optional<long> number = parseInteger(text);
    if (!number || *number < minimum || *number > maximum) {
        return false;
    }
    value = int(*number);
    return true;
}

// A number of the property's range, its own setting included.
bool parsePropertyValue(StyleProperty property, const wxString& text, int& value) {
    const std::optional<long> number = parseInteger(text);
    if (!number || *number != std::int32_t(*number) ||
        !isStyleValueInRange(property, std::int32_t(*number))) {
        return false;
    }
    value = int(*number);
    return true;
}

bool isHexColor(const wxString& text) {
    return text.length() == 7 && text[0] == '#' &&
           std::all_of(text.begin() + 1, text.end(), [](wxUniChar c) { return wxIsxdigit(c); });
}

// White cannot be stored: the colour word for it is the one that means the object's colour.
bool parseColor(const wxString& text, std::int32_t& color, wxString& error) {
    int index = 0;
    unsigned long rgb = 0;
    if (text == "object") {
        color = kObjectColor;
        return true;
    }
    if (parseIntegerIn(text, 1, CPlotStyleTable::kAciCount, index)) {
        color = std::int32_t(swapRedAndBlue(indexColorRgb(index)));
    } else if (isHexColor(text) && text.Mid(1).ToULong(&rgb, 16)) {
        color = std::int32_t(rgb);
    } else {
        error = _("a color number from 1 to 255, #RRGGBB or object");
        return false;
    }
    if (color == kObjectColor) {
        error = _("white cannot be told apart from the object's color in a plot style table");
        return false;
    }
    return true;
}

bool parseCatalogue(const EditKey& key, const wxString& text, int& value) {
    if (parsePropertyValue(key.property, text, value)) {
        return true;
    }
    const StyleValueRange values = styleValueRange(key.property);
    for (int candidate = values.first; candidate <= values.last + 1; ++candidate) {
        const int catalogueValue = candidate > values.last ? values.ownSetting : candidate;
        if (key.label(catalogueValue).CmpNoCase(text) == 0 ||
            key.englishLabel(catalogueValue).CmpNoCase(text) == 0) {
            value = catalogueValue;
            return true;
        }
    }
    return false;
}

wxString catalogueChoices(const EditKey& key) {
    const StyleValueRange values = styleValueRange(key.property);
    return wxString::Format(_("a label such as \"%ls\", or a number from %d to %d, or %d"),
                            key.label(values.first), values.first, values.last, values.ownSetting);
}

bool parseValue(const EditKey& key, const wxString& text, StyleEdit& edit, wxString& error) {
    int number = 0;
    const int maximum = styleValueRange(key.property).last;
    switch (key.kind) {
    case ValueKind::Color:
        return parseColor(text, edit.value, error);
    case ValueKind::OnOff:
        if (text != "on" && text != "off") {
            error = _("on or off");
            return false;
        }
        edit.value = text == "on";
        return true;
    case ValueKind::Pen:
        if (text == "automatic") {
            edit.value = 0;
            return true;
        }
        if (!parsePropertyValue(key.property, text, number)) {
            error = wxString::Format(_("a number from 0 to %d, or automatic"), maximum);
            return false;
        }
        edit.value = number;
        return true;
    case ValueKind::Number:
        if (!parsePropertyValue(key.property, text, number)) {
            error = wxString::Format(_("a number from 0 to %d"), maximum);
            return false;
        }
        edit.value = number;
        return true;
    case ValueKind::LineWeight: {
        edit.value = 0;
        if (text == "object") {
            return true;
        }
        const std::optional<double> millimetres = parseDecimal(text);
        if (!millimetres || *millimetres < 0) {
            error = _("millimetres, one of the table's lineweights, or object");
            return false;
        }
        edit.lineWeightMillimetres = *millimetres;
        return true;
    }
    case ValueKind::Catalogue:
        if (!parseCatalogue(key, text, number)) {
            error = catalogueChoices(key);
            return false;
        }
        edit.value = number;
        return true;
    }
    return false;
}

bool addColorRange(const wxString& item, std::vector<int>& rows, wxString& error) {
    const wxString first = item.BeforeFirst('-');
    const wxString last = item.Contains("-") ? item.AfterFirst('-') : first;
    int from = 0;
    int to = 0;
    if (!parseIntegerIn(first.Strip(wxString::both), 1, CPlotStyleTable::kAciCount, from) ||
        !parseIntegerIn(last.Strip(wxString::both), from, CPlotStyleTable::kAciCount, to)) {
        error = wxString::Format(
            _("'%ls' is not a color number from 1 to 255 nor a range such as 1-7"), item);
        return false;
    }
    for (int index = from; index <= to; ++index) {
        rows.push_back(index - 1);
    }
    return true;
}

bool addNamedStyle(const StyleNameIndex& names, const wxString& name, std::vector<int>& rows,
                   wxString& error) {
    const int row = names.find(name);
    if (row < 0) {
        error = wxString::Format(_("the table has no style named '%ls'"), name);
        return false;
    }
    rows.push_back(row);
    return true;
}

} // namespace

bool parseStyleEdit(const wxString& assignment, StyleEdit& edit, wxString& error) {
    const wxString name = assignment.BeforeFirst('=');
    const wxString text = assignment.AfterFirst('=');
    const auto key = std::find_if(std::begin(kEditKeys), std::end(kEditKeys),
                                  [&](const EditKey& candidate) { return name == candidate.name; });
    if (key == std::end(kEditKeys)) {
        error = wxString::Format(_("unknown key '%ls' (keys: %ls)"), name, keyNames());
        return false;
    }
    edit = StyleEdit{key->property, 0};
    wxString expected;
    if (!parseValue(*key, text, edit, expected)) {
        error = wxString::Format(_("bad value '%ls' for %ls: %ls"), text, name, expected);
        return false;
    }
    return true;
}

bool selectStyles(const CPlotStyleTable& table, const std::optional<wxString>& list,
                  std::vector<int>& rows, wxString& error) {
    rows.clear();
    if (!list) {
        rows.resize(table.size());
        std::iota(rows.begin(), rows.end(), 0);
        return true;
    }
    if (list->empty()) {
        error = _("the list of styles is empty");
        return false;
    }
    const std::optional<StyleNameIndex> names =
        table.ColorDependent ? std::nullopt : std::optional<StyleNameIndex>(table);
    wxStringTokenizer items(*list, ",", wxTOKEN_RET_EMPTY_ALL);
    while (items.HasMoreTokens()) {
        const wxString item = items.GetNextToken().Strip(wxString::both);
        const bool added =
            names ? addNamedStyle(*names, item, rows, error) : addColorRange(item, rows, error);
        if (!added) {
            return false;
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (names && rows == std::vector<int>{0}) {
        error = wxString::Format(_("'%ls' is the table's base style and keeps its properties"),
                                 toWxString(table.style(0)->locName()));
        return false;
    }
    return true;
}

bool applyStyleEdits(TableDocument& document, const std::vector<int>& rows,
                     const std::vector<StyleEdit>& edits, wxString& error) {
    const CPlotStyleTable& table = *document.table();
    std::vector<StyleEdit> resolved = edits;
    for (StyleEdit& edit : resolved) {
        if (edit.property == StyleProperty::LineWeight && edit.lineWeightMillimetres >= 0) {
            edit.value = lineWeightIndexOf(table, edit.lineWeightMillimetres);
            if (edit.value == 0) {
                error = wxString::Format(_("%ls mm is not one of the table's lineweights"),
                                         decimalText(edit.lineWeightMillimetres, 4));
                return false;
            }
        }
    }
    int steps = 0;
    for (const StyleEdit& edit : resolved) {
        const EditResult result = document.setStyleProperty(rows, edit.property, edit.value);
        if (result.refused()) {
            error = result.reason;
            // All or nothing: the edits made so far are taken back.
            for (; steps > 0; --steps) {
                document.undo();
            }
            return false;
        }
        steps += result.changed();
    }
    return true;
}
