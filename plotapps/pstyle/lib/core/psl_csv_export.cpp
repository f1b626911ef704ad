#include "psl_csv_export.h"

#include <kesutils/plot_style_table.h>

#include "psl_text.h"
#include "psl_value_text.h"

wxString csvField(const wxString& text) {
    if (text.find_first_of(",\"\r\n") == wxString::npos) {
        return text;
    }
    wxString quoted = text;
    quoted.Replace("\"", "\"\"");
    return "\"" + quoted + "\"";
}

// Section names and keys are part of the format and are not translated; numbers keep their
// decimal point whatever the host's locale, which would otherwise split a field in two.
wxArrayString csvExportLines(const CPlotStyleTable& table, const wxString& fileName) {
    wxArrayString lines;
    lines.reserve(300 + table.size());

    lines.Add("PLOTSTYLE_TABLE,,");
    lines.Add(wxString::Format(",FileName,%ls", csvField(fileName)));
    lines.Add(wxString::Format(",Description,%ls", csvField(toWxString(table.Description))));
    lines.Add(",ScaleFactor," + fixedNumberText(table.ScaleFactor, 6));
    lines.Add(wxString::Format(",ApplyFactor,%d", int(table.ApplyFactor)));
    lines.Add(wxString::Format(",AciTableAvailable,%d", int(table.AciTableAvailable)));
    lines.Add(wxString::Format(",CustomLineWeightUnits,%d", table.CustomLineWeightUnits));
    lines.Add(",,");

    if (table.AciTableAvailable) {
        lines.Add("ACI_TABLE,,");
        for (int i = 0; i < CPlotStyleTable::kAciCount; ++i) {
            const CPlotStyle* style = table.AciTable[i];
            lines.Add(wxString::Format(",%d,%ls", i,
                                       style ? csvField(toWxString(style->name())) : wxString()));
        }
        lines.Add(",,");
    }

    lines.Add("STYLES,,");
    lines.Add(",Name,LocalizedName,Description,Color,ModeColor,ColorPolicy,PhysPenNum,VirtPenNum,"
              "Screening,LinePatSize,LineType,Adaptive,LineWeight,FillStyle,EndStyle,JoinStyle");
    const int count = int(table.size());
    for (int i = 0; i < count; ++i) {
        const CPlotStyle& style = *table.style(i);
        lines.Add(wxString::Format(
            ",%ls,%ls,%ls,%.8X,%.8X,%d,%d,%d,%d,%ls,%d,%d,%d,%d,%d,%d",
            csvField(toWxString(style.name())), csvField(toWxString(style.locName())),
            csvField(toWxString(style.desc())), style.Color, style.ModeColor, style.ColorPolicy,
            style.PhysPenNum, style.VirtPenNum, style.Screening,
            generalNumberText(style.LinePatSize), style.LineType, int(style.Adaptive),
            style.LineWeight, style.FillStyle, style.EndStyle, style.JoinStyle));
    }
    lines.Add(",,");

    lines.Add("LINE_WEIGHTS,,");
    for (int r = 0; r < CPlotStyleTable::kLineWeightCount; ++r) {
        lines.Add(wxString::Format(",%d,", r) + fixedNumberText(table.LineWeights[r], 6));
    }
    return lines;
}
