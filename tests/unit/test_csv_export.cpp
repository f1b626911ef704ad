// The comma-separated export of a table, line by line.
#include <gtest/gtest.h>

#include <wx/filename.h>

#include <kesutils/plot_style_table.h>

#include "psl_csv_export.h"
#include "psl_text.h"

namespace {

PlotStyleTablePtr readFixture(const char* name) {
    const wxString path = wxFileName(PSTYLE_TEST_DATA_DIR, name).GetFullPath();
    return PlotStyleTablePtr(CPlotStyleTable::read(toHostText(path).c_str()));
}

int indexOf(const wxArrayString& lines, const wxString& line) {
    return lines.Index(line, true, false);
}

} // namespace

TEST(CsvExport, ColorDependentTableHasHeaderAciTableStylesAndLineWeights) {
    const PlotStyleTablePtr table = readFixture("canonical.ctb");
    ASSERT_TRUE(table);
    const wxArrayString lines = csvExportLines(*table, "canonical.ctb");
    // 8 header lines, ACI section (head, 255, end), styles (head, titles, 255, end), lineweights
    // (head, 27 rows, no closing line).
    ASSERT_EQ(lines.size(), 8u + 257u + 258u + 28u);
    const std::pair<int, const char*> expected[] = {
        {0, "PLOTSTYLE_TABLE,,"},
        {1, ",FileName,canonical.ctb"},
        {2, ",Description,Canonical colour-dependent table"},
        {3, ",ScaleFactor,1.000000"},
        {4, ",ApplyFactor,0"},
        {5, ",AciTableAvailable,1"},
        {6, ",CustomLineWeightUnits,1"},
        {8, "ACI_TABLE,,"},
        {263, ",254,Color_255"},
        {265, "STYLES,,"},
        {266, ",Name,LocalizedName,Description,Color,ModeColor,ColorPolicy,PhysPenNum,"
              "VirtPenNum,Screening,LinePatSize,LineType,Adaptive,LineWeight,FillStyle,EndStyle,"
              "JoinStyle"},
        // Colour words are written raw, as eight upper-case hex digits.
        {268, ",Color_2,Color_2,,C3DDC16E,C2CCC58F,1,0,0,100,0.5,31,1,0,73,4,5"},
        {523, "LINE_WEIGHTS,,"},
        // Millimetres, whatever unit the table is shown in.
        {532, ",8,0.250000"},
        {550, ",26,2.110000"},
    };
    for (const auto& [line, text] : expected) {
        EXPECT_EQ(lines[line], text);
    }
}

TEST(CsvExport, NamedTablesListTheirAciTableOnlyWhenTheyHaveOne) {
    PlotStyleTablePtr table(CPlotStyleTable::create(false, nullptr));
    table->ScaleFactor = 2.5;
    table->style(0)->LinePatSize = 12.7;
    table->style(0)->Color = 255;
    const wxArrayString lines = csvExportLines(*table, "plan.stb");
    EXPECT_EQ(lines[3], ",ScaleFactor,2.500000");
    EXPECT_EQ(lines[8], "STYLES,,");
    EXPECT_EQ(lines[10], ",Normal,Normal,,000000FF,C3FFFFFF,1,0,0,100,12.7,31,1,0,73,4,5");
    EXPECT_EQ(lines.size(), 12u + 28u);

    const PlotStyleTablePtr mapped = readFixture("canonical-aci-table.stb");
    ASSERT_TRUE(mapped);
    mapped->style(3)->LinePatSize = 1234567.0;
    const wxArrayString mappedLines = csvExportLines(*mapped, "x.stb");
    ASSERT_EQ(indexOf(mappedLines, "ACI_TABLE,,"), 8);
    EXPECT_EQ(mappedLines[9], ",0,Heavy");
    EXPECT_EQ(mappedLines[10], ",1,Normal");
    EXPECT_EQ(mappedLines[13], ",4,Hidden");
    EXPECT_EQ(mappedLines[264], ",,");
    EXPECT_NE(mappedLines[270].Find(",1.23457e+06,"), wxNOT_FOUND) << mappedLines[270];
}

TEST(CsvExport, QuotesExactlyTheTextsThatWouldShiftColumns) {
    const struct {
        std::u16string text;
        wxString field;
    } cases[] = {
        {u"Plain; with: marks 'and' tabs\t", "Plain; with: marks 'and' tabs\t"},
        {u"Site, phase 2", "\"Site, phase 2\""},
        {u"12\" pen", "\"12\"\" pen\""},
        {u"line\nfeed", "\"line\nfeed\""},
        {u"carriage\rreturn", "\"carriage\rreturn\""},
    };
    for (const auto& [text, field] : cases) {
        SCOPED_TRACE(field);
        const PlotStyleTablePtr table = readFixture("canonical-aci-table.stb");
        ASSERT_TRUE(table);
        CPlotStyle* heavy = table->AciTable[0];
        heavy->setName(text);
        heavy->setLocName(text);
        heavy->setDesc(text);
        table->Description = text;
        const wxArrayString lines = csvExportLines(*table, toWxString(text));

        EXPECT_EQ(lines[1], ",FileName," + field);
        EXPECT_EQ(lines[2], ",Description," + field);
        EXPECT_EQ(lines[9], ",0," + field);
        int row = 0;
        while (table->style(row) != heavy) {
            ++row;
        }
        EXPECT_TRUE(lines[267 + row].StartsWith("," + field + "," + field + "," + field + ","))
            << lines[267 + row];
    }
}
