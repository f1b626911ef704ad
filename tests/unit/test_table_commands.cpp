// The commands for people who keep many tables: diff, set, convert and sheet, run without a
// display on tables from independent writers and on the sample tables.
#include <wx/image.h>
#include <wx/xml/xml.h>

#include <kesutils/plot_style_table.h>

#include "psl_csv_export.h"
#include "psl_table_diff.h"
#include "psl_text.h"
#include "pstyle_command_test.h"

namespace {

const char* const kFixtures[] = {"canonical.ctb", "canonical-aci-table.stb", "windows-1252.stb",
                                 "independent-writer-64bit-header.ctb",
                                 "independent-writer-64bit-header.stb"};

std::string sample(const std::string& name) {
    return std::string(PSTYLE_SAMPLE_DIR) + "/" + name;
}

PlotStyleTablePtr readTable(const std::string& path) {
    return PlotStyleTablePtr(CPlotStyleTable::read(toHostText(wxString::FromUTF8(path)).c_str()));
}

class TableCommands : public PstyleCommands {
protected:
    // A copy of a fixture or sample table in the test's folder.
    std::string copied(const std::string& source, const std::string& name) const {
        std::ofstream(path(name), std::ios::binary) << readFile(source);
        return path(name);
    }
};

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

TEST_F(TableCommands, SetThenDiffShowsExactlyTheEdit) {
    struct Case {
        std::string source;
        std::string arguments;
        std::string changes;
    };
    const Case cases[] = {
        {sample("default.ctb"), "--styles 1-2,250 lineweight=0.35 physical-pen=7 color=#102030",
         "Color 1: color object \u2192 #102030\n"
         "Color 1: physical-pen automatic \u2192 7\n"
         "Color 1: lineweight object \u2192 0.3500 mm\n"
         "Color 2: color object \u2192 #102030\n"
         "Color 2: physical-pen automatic \u2192 7\n"
         "Color 2: lineweight object \u2192 0.3500 mm\n"
         "Color 250: color object \u2192 #102030\n"
         "Color 250: physical-pen automatic \u2192 7\n"
         "Color 250: lineweight object \u2192 0.3500 mm\n"},
        {fixture("canonical.ctb"), "--styles 8,1 dither=off grayscale=off color=5",
         "Color 1: color 1 \u2192 5\n"
         "Color 1: dither on \u2192 off\n"
         "Color 8: color #102030 \u2192 5\n"
         "Color 8: dither on \u2192 off\n"
         "Color 8: grayscale on \u2192 off\n"},
        {sample("named.stb"), "'linetype=iso dash' screening=40",
         "\"Thin\": screening 100 \u2192 40\n\"Thin\": linetype Use entity linetype \u2192 ISO "
         "Dash\n"
         "\"Medium\": screening 100 \u2192 40\n\"Medium\": linetype Use entity linetype \u2192 ISO "
         "Dash\n"
         "\"Heavy\": screening 100 \u2192 40\n\"Heavy\": linetype Use entity linetype \u2192 ISO "
         "Dash\n"
         "\"Hidden\": screening 100 \u2192 40\n\"Hidden\": linetype Dashed \u2192 ISO Dash\n"
         "\"Background\": linetype Use entity linetype \u2192 ISO Dash\n"},
        {fixture("independent-writer-64bit-header.stb"),
         "--styles w\xC3\xA4nde color=object virtual-pen=12 end-style=2 adaptive=off",
         "\"W\xC3\xA4nde\": virtual-pen automatic \u2192 12\n"
         "\"W\xC3\xA4nde\": adaptive on \u2192 off\n"
         "\"W\xC3\xA4nde\": end-style Use entity end style \u2192 Round\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.arguments);
        const std::string name = "edited" + test.source.substr(test.source.size() - 4);
        const std::string table = copied(test.source, name);
        const CommandResult dryRun =
            pstyle("set " + shellQuoted(table) + " --dry-run " + test.arguments);
        EXPECT_EQ(dryRun.status, 0) << dryRun.err;
        std::string expected;
        for (std::size_t start = 0; start < test.changes.size();) {
            const std::size_t end = test.changes.find('\n', start) + 1;
            expected += table + ": " + test.changes.substr(start, end - start);
            start = end;
        }
        EXPECT_EQ(dryRun.out, expected);
        EXPECT_EQ(readFile(table), readFile(test.source)) << "a dry run writes nothing";

        const CommandResult set = pstyle("set " + shellQuoted(table) + " " + test.arguments);
        EXPECT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(set.out, "");
        const CommandResult diff =
            pstyle("diff " + shellQuoted(test.source) + " " + shellQuoted(table));
        EXPECT_EQ(diff.status, 1);
        EXPECT_EQ(diff.out, test.changes);
    }
}

// Scripts read and write the same in every language; people are told the changes in theirs.
TEST_F(TableCommands, ScriptsWorkAlikeInEveryLanguage) {
    const std::string table = copied(sample("default.ctb"), "default.ctb");
    const CommandResult set =
        pstyle("--lang de set " + shellQuoted(table) + " --styles 2 'linetype=ISO dash'");
    EXPECT_EQ(set.status, 0) << set.err;
    const std::string tables = shellQuoted(sample("default.ctb")) + " " + shellQuoted(table);
    EXPECT_EQ(pstyle("--lang de diff " + tables).out,
              "Farbe 2: linetype Objektlinientyp verwenden \u2192 ISO-Strichlinie\n");
    EXPECT_EQ(pstyle("--lang de diff --csv " + tables).out,
              "style,property,old,new\nColor 2,linetype,31,17\n");
    EXPECT_NE(pstyle("--lang de export " + shellQuoted(table)).out.find(",ScaleFactor,1.000000\n"),
              std::string::npos)
        << "numbers keep their decimal point";
    // The language follows the environment; the C locale means English whatever LANGUAGE says.
    EXPECT_EQ(pstyle("diff " + tables, "LANGUAGE=de LC_ALL=de_DE.UTF-8 ").out.rfind("Farbe 2", 0),
              0u);
    EXPECT_EQ(pstyle("diff " + tables, "LANGUAGE=de LC_ALL=C.UTF-8 ").out.rfind("Color 2", 0), 0u);
}

TEST_F(TableCommands, SetNamesTheFilesAlreadyReplacedWhenAWriteFails) {
    const std::string small = copied(sample("named.stb"), "small.stb");
    const std::string large = copied(sample("default.ctb"), "large.ctb");
    const std::string later = copied(sample("monochrome.ctb"), "later.ctb");
    // A file size limit of 1 KiB lets the small named table through and stops the next one.
    const CommandResult failed = pstyle("set " + shellQuoted(small) + " " + shellQuoted(large) +
                                            " " + shellQuoted(later) + " screening=50",
                                        "trap '' XFSZ; ulimit -f 2; ");
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.err, "pstyle: " + large + ": Failed to save file: " + large +
                              " (File too large); already replaced: " + small +
                              "; not written: " + later + "\n");
    EXPECT_NE(readFile(small), readFile(sample("named.stb")));
    EXPECT_EQ(readFile(large), readFile(sample("default.ctb")));
    EXPECT_EQ(readFile(later), readFile(sample("monochrome.ctb")));
}

TEST_F(TableCommands, ConvertMakesANamedTableWithOneStylePerColourAndItsAciTable) {
    const std::string source = fixture("independent-writer-64bit-header.ctb");
    const std::string target = path("office.stb");
    const CommandResult run = pstyle("convert " + shellQuoted(source) + " " + shellQuoted(target));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(target).substr(0, 48),
              std::string("PIAFILEVERSION_2.0,STBVER1,compress\r\npmzlibcodec"));

    const PlotStyleTablePtr colors = readTable(source);
    const PlotStyleTablePtr named = readTable(target);
    ASSERT_TRUE(named);
    EXPECT_FALSE(named->ColorDependent);
    EXPECT_TRUE(named->AciTableAvailable);
    ASSERT_EQ(named->size(), 256u);
    EXPECT_EQ(toWxString(named->style(0)->locName()), "Normal");
    EXPECT_EQ(named->Description, colors->Description);
    EXPECT_EQ(named->ScaleFactor, 2.5);
    EXPECT_TRUE(named->ApplyFactor);
    // Every colour's style keeps its name, description and every value, and the ACI table
    // sends each colour to it.
    const wxArrayString colorLines = csvExportLines(*colors, "t");
    const wxArrayString namedLines = csvExportLines(*named, "t");
    const int colorStyles = colorLines.Index("STYLES,,") + 2;
    const int namedStyles = namedLines.Index("STYLES,,") + 2;
    for (int index = 0; index < CPlotStyleTable::kAciCount; ++index) {
        EXPECT_EQ(named->AciTable[index], named->style(index + 1));
        EXPECT_EQ(namedLines[namedStyles + 1 + index], colorLines[colorStyles + index]);
    }
    EXPECT_EQ(namedLines[namedStyles + 2],
              ",Color_2,Color_2,\"Kabel, Leitungen\",C20A141E,C20A141E,1,0,"
              "0,100,0.5,31,1,0,73,4,5");
    EXPECT_EQ(std::vector<double>(named->LineWeights, named->LineWeights + 27),
              std::vector<double>(colors->LineWeights, colors->LineWeights + 27));
}

TEST_F(TableCommands, SheetIsValidSvgWithAGroupPerStyleAndAPngOfTheDocumentedSize) {
    wxImage::AddHandler(new wxPNGHandler);
    // Texts are escaped for XML.
    const PlotStyleTablePtr marked(CPlotStyleTable::create(false, nullptr));
    marked->Description = u"Walls & <doors>";
    ASSERT_TRUE(marked->write(toHostText(wxString::FromUTF8(path("marked.stb"))).c_str()));
    struct Case {
        std::string table;
        int rows;
        const char* firstStyle;
        const char* lineWeight; // of the first style
    };
    const Case tables[] = {
        {fixture("canonical-aci-table.stb"), 4, "Normal (2-4, 6-255)", "object"},
        {path("marked.stb"), 1, "Normal", "object"},
        {fixture("canonical.ctb"), 255, "Color 1", "0.0098\""},
    };
    for (const auto& [table, rows, firstStyle, lineWeight] : tables) {
        SCOPED_TRACE(table);
        ASSERT_EQ(
            pstyle("sheet " + shellQuoted(table) + " -o " + shellQuoted(path("s.svg"))).status, 0);
        wxXmlDocument svg;
        ASSERT_TRUE(svg.Load(wxString::FromUTF8(path("s.svg"))));
        EXPECT_EQ(svg.GetRoot()->GetName(), "svg");
        std::vector<wxXmlNode*> styleGroups;
        for (wxXmlNode* node = svg.GetRoot()->GetChildren(); node; node = node->GetNext()) {
            if (node->GetName() == "g" && node->GetAttribute("class") == "style") {
                styleGroups.push_back(node);
            }
        }
        ASSERT_EQ(int(styleGroups.size()), rows);
        wxArrayString texts;
        for (wxXmlNode* part = styleGroups[0]->GetChildren(); part; part = part->GetNext()) {
            if (part->GetName() == "text") {
                texts.Add(part->GetNodeContent());
            }
        }
        EXPECT_NE(texts.Index(firstStyle), wxNOT_FOUND) << wxJoin(texts, '|');
        EXPECT_NE(texts.Index(lineWeight), wxNOT_FOUND) << wxJoin(texts, '|');

        ASSERT_EQ(
            pstyle("sheet " + shellQuoted(table) + " -o " + shellQuoted(path("s.png"))).status, 0);
        const wxImage png(wxString::FromUTF8(path("s.png")), wxBITMAP_TYPE_PNG);
        EXPECT_EQ(png.GetWidth(), 1485);
        EXPECT_EQ(png.GetHeight(), 255 + 35 * rows);
    }
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
