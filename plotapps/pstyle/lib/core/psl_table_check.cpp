#include "psl_table_check.h"

#include <wx/intl.h>

#include "psl_csv_export.h"
#include "psl_table_diff.h"
#include "psl_text.h"

namespace {

wxString fields(const wxString& style, const wxString& property, const wxString& expected,
                const wxString& found) {
    return csvField(style) + "," + csvField(property) + "," + csvField(expected) + "," +
           csvField(found);
}

// Characters that end a line in some program: line feed, carriage return, vertical tab, form
// feed, next line and the Unicode line and paragraph separators.
bool breaksLine(wxUint32 code) {
    return (code >= 0x0A && code <= 0x0D) || code == 0x85 || code == 0x2028 || code == 0x2029;
}

bool isControl(wxUint32 code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// The first character of text that breaks a line or is another control character; 0 for none.
wxUint32 firstControl(const wxString& text) {
    for (const wxUniChar c : text) {
        if (breaksLine(c.GetValue()) || isControl(c.GetValue())) {
            return c.GetValue();
        }
    }
    return 0;
}

class ProblemList {
public:
    void checkDescription(const wxString& style, const wxString& description) {
        const wxUint32 control = firstControl(description);
        if (control == 0) {
            return;
        }
        const wxString code = wxString::Format("U+%04X", unsigned(control));
        const wxString subject = style.empty() ? _("Table") : "\"" + style + "\"";
        if (breaksLine(control)) {
            add("line-break",
                subject + ": " + wxString::Format(_("a line break (%ls) in the description"), code),
                style, code);
        } else {
            add("control-character",
                subject + ": " +
                    wxString::Format(_("a control character (%ls) in the description"), code),
                style, code);
        }
    }

    void checkName(const wxString& name) {
        if (name.find_first_of("{}") != wxString::npos) {
            findings_.push_back(
                {"braces",
                 "\"" + name + "\": " +
                     _("braces in the style name, which other programs take for the end of a "
                       "style"),
                 fields(name, "name", wxString(), name)});
        }
    }

    void checkLineWeights(const PlotStyleReadReport& report) {
        const int rows = report.lineWeightRows;
        if (rows == CPlotStyleTable::kLineWeightCount) {
            return;
        }
        wxString text = _("Table") + ": " +
                        wxString::Format(_("%d lineweights instead of %d"), rows,
                                         CPlotStyleTable::kLineWeightCount) +
                        "; ";
        text +=
            report.lineWeightRowsFilledIn > 0
                ? wxString::Format(_("%d were given default values"), report.lineWeightRowsFilledIn)
                : _("those past the 27th are not used");
        findings_.push_back({"lineweight-rows", text,
                             fields(wxString(), "lineweights",
                                    wxString::Format("%d", CPlotStyleTable::kLineWeightCount),
                                    wxString::Format("%d", rows))});
    }

    // A table in a .ctb file that did not read as colour-dependent: its header said so, but it
    // lacked the 255 styles, or its header named a named table.
    void checkStyleCount(const CPlotStyleTable& table, const PlotStyleReadReport& report,
                         bool namedColorDependent) {
        if (table.ColorDependent || !namedColorDependent) {
            return;
        }
        const int count = int(table.size());
        const wxString text =
            report.headerColorDependent
                ? wxString::Format(_("%d styles instead of the %d of a colour-dependent table; "
                                     "read as a named table"),
                                   count, CPlotStyleTable::kAciCount)
                : wxString::Format(_("a named table of %d styles, though its extension is that "
                                     "of a colour-dependent one"),
                                   count);
        findings_.push_back(
            {"style-count", _("Table") + ": " + text,
             fields(wxString(), "styles", wxString::Format("%d", CPlotStyleTable::kAciCount),
                    wxString::Format("%d", count))});
    }

    std::vector<TableFinding> take() { return std::move(findings_); }

private:
    void add(const char* kind, const wxString& text, const wxString& style, const wxString& code) {
        findings_.push_back({kind, text, fields(style, "description", wxString(), code)});
    }

    std::vector<TableFinding> findings_;
};

} // namespace

TableFinding unreadableTable(const wxString& reason) {
    return {"unreadable", wxString::Format(_("cannot be read: %ls"), reason),
            fields(wxString(), wxString(), wxString(), reason)};
}

std::vector<TableFinding> tableProblems(const CPlotStyleTable& table,
                                        const PlotStyleReadReport& report,
                                        bool namedColorDependent) {
    ProblemList problems;
    problems.checkStyleCount(table, report, namedColorDependent);
    problems.checkLineWeights(report);
    problems.checkDescription(wxString(), toWxString(table.Description));
    for (int row = 0; row < int(table.size()); ++row) {
        const CPlotStyle& style = *table.style(row);
        const wxString name = toWxString(style.locName());
        problems.checkName(name);
        if (toWxString(style.name()) != name) {
            problems.checkName(toWxString(style.name()));
        }
        problems.checkDescription(name, toWxString(style.desc()));
    }
    return problems.take();
}

std::vector<TableFinding> differencesFrom(const CPlotStyleTable& reference,
                                          const CPlotStyleTable& table) {
    const std::vector<TableDifference> differences = compareTables(&reference, &table);
    const wxArrayString lines = differenceLines(differences);
    // After the header line, in the same order.
    const wxArrayString csvLines = differenceCsvLines(differences);
    std::vector<TableFinding> findings;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        findings.push_back({"differs", lines[i], csvLines[i + 1]});
    }
    return findings;
}
