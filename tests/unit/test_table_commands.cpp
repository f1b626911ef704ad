// The commands for people who keep many tables, run without a display on tables from
// independent writers and on the sample tables.
#include <kesutils/plot_style_table.h>

#include "psl_table_diff.h"
#include "pstyle_command_test.h"

namespace {

const char* const kFixtures[] = {"canonical.ctb", "canonical-aci-table.stb", "windows-1252.stb",
                                 "independent-writer-64bit-header.ctb",
                                 "independent-writer-64bit-header.stb"};

std::string sample(const std::string& name) {
    return std::string(PSTYLE_SAMPLE_DIR) + "/" + name;
}

using TableCommands = PstyleCommands;

} // namespace

TEST_F(TableCommands, DiffOfATableWithItselfOrWithItsRewriteIsEmpty) {
    std::vector<std::string> tables;
    for (const char* name : kFixtures) {
        tables.push_back(fixture(name));
    }
    for (const char* name : {"default.ctb", "monochrome.ctb", "named.stb"}) {
        tables.push_back(sample(name));
    }
    for (const std::string& table : tables) {
        SCOPED_TRACE(table);
        const CommandResult self = pstyle("diff " + shellQuoted(table) + " " + shellQuoted(table));
        EXPECT_EQ(self.status, 0) << self.err;
        EXPECT_EQ(self.out, "");
        // Written again in canonical form: other colour words, no 8-byte header, 27 rows.
        const std::string rewrite = path("rewrite." + table.substr(table.size() - 3));
        ASSERT_EQ(pstyle("copy " + shellQuoted(table) + " " + shellQuoted(rewrite)).status, 0);
        const CommandResult csv =
            pstyle("diff --csv " + shellQuoted(table) + " " + shellQuoted(rewrite));
        EXPECT_EQ(csv.status, 0);
        EXPECT_EQ(csv.out, "style,property,old,new\n");
    }
}

TEST_F(TableCommands, DiffListsSettingsThenStylesInTheNewerTablesUnits) {
    const CommandResult named = pstyle("diff " + shellQuoted(fixture("canonical-aci-table.stb")) +
                                       " " + shellQuoted(sample("named.stb")));
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(named.out,
              "Table: description \"Converted from a pen configuration\" \u2192 \"Styles "
              "for plans and sections\"\n"
              "Table: aci-table on \u2192 off\n"
              "Table: lineweight row 3 0.1300 mm \u2192 0.1000 mm\n"
              "Table: lineweight row 4 0.1000 mm \u2192 0.1300 mm\n"
              "\"Thin\": added\n"
              "\"Medium\": added\n"
              "\"Heavy\": color object \u2192 7\n"
              "\"Heavy\": linetype Solid \u2192 Use entity linetype\n"
              "\"Heavy\": lineweight 2.1100 mm \u2192 0.7000 mm\n"
              "\"Heavy\": end-style Square \u2192 Use entity end style\n"
              "\"Heavy\": join-style Miter \u2192 Use entity join style\n"
              "\"Heavy\": fill-style Solid \u2192 Use entity fill style\n"
              "\"Hidden\": color object \u2192 7\n"
              "\"Hidden\": lineweight object \u2192 0.2500 mm\n"
              "\"Hidden\": line-pattern-size 12.7 \u2192 0.5\n"
              "\"Background\": added\n"
              "\"Style 1\": removed\n");
    const CommandResult csv =
        pstyle("diff --csv " + shellQuoted(fixture("canonical-aci-table.stb")) + " " +
               shellQuoted(sample("named.stb")));
    EXPECT_NE(csv.out.find("\nHeavy,lineweight,2.11,0.7\nHeavy,end-style,1,4\n"), std::string::npos)
        << csv.out;
    EXPECT_NE(csv.out.find("\nStyle 1,style,present,absent\n"), std::string::npos);

    // canonical.ctb shows its lineweights in inches.
    const CommandResult inches = pstyle("diff " + shellQuoted(sample("default.ctb")) + " " +
                                        shellQuoted(fixture("canonical.ctb")));
    EXPECT_NE(inches.out.find("Table: units millimetres \u2192 inches\n"), std::string::npos);
    EXPECT_NE(inches.out.find("Color 1: lineweight object \u2192 0.0098\"\n"), std::string::npos);
    EXPECT_NE(inches.out.find("Color 2: color object \u2192 #CCC58F\n"), std::string::npos)
        << "the true colour carried in mode_color";
    EXPECT_EQ(inches.out.find("Color 7:"), std::string::npos) << "-1 is the object's colour too";

    // git difftool hands over /dev/null for a table that was added or deleted.
    const CommandResult added = pstyle("diff /dev/null " + shellQuoted(sample("named.stb")));
    EXPECT_EQ(added.status, 1);
    EXPECT_EQ(added.out, "Table: added\n");
    EXPECT_EQ(pstyle("diff --csv " + shellQuoted(fixture("canonical.ctb")) + " /dev/null").out,
              "style,property,old,new\n,table,present,absent\n");
}

TEST_F(TableCommands, EveryCommandExplainsItselfAndRefusesBadUsage) {
    for (const char* command : {"diff"}) {
        const CommandResult help = pstyle(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: pstyle " + std::string(command) + " ", 0), 0u);
    }
    for (const char* usage : {"diff only-one.ctb", "diff --bogus a.ctb b.ctb"}) {
        SCOPED_TRACE(usage);
        const CommandResult refused = pstyle(usage);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(lineCount(refused.err), 1);
    }
    const CommandResult kinds = pstyle("diff " + shellQuoted(fixture("canonical.ctb")) + " " +
                                       shellQuoted(sample("named.stb")));
    EXPECT_EQ(kinds.status, 2);
    EXPECT_NE(kinds.err.find("cannot compare a named table with the colour-dependent table"),
              std::string::npos);
}

TEST(TableComparison, ComparesLineweightsByTheirMillimetres) {
    const PlotStyleTablePtr before(CPlotStyleTable::create(true, nullptr));
    const PlotStyleTablePtr after(CPlotStyleTable::create(true, nullptr));
    // Rows 3 and 4 swapped, as a sort leaves them: colour 1 keeps plotting at 0.13 mm. Colour 3
    // has the other word for the object's colour.
    std::swap(after->LineWeights[3], after->LineWeights[4]);
    before->style(0)->LineWeight = 5;
    after->style(0)->LineWeight = 4;
    after->style(1)->LineWeight = 5;
    after->style(2)->Color = 0xFFFFFFFF;
    const wxArrayString lines = differenceLines(compareTables(before.get(), after.get()));
    EXPECT_EQ(std::string(wxJoin(lines, '\n').utf8_str()),
              "Table: lineweight row 3 0.1000 mm \u2192 0.1300 mm\n"
              "Table: lineweight row 4 0.1300 mm \u2192 0.1000 mm\n"
              "Color 2: lineweight object \u2192 0.1000 mm");
}
