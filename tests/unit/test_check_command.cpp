// pstyle check as an office's standards repository runs it, in a git hook or a CI step: a
// folder of tables that other programs wrote, some damaged, judged by the lines printed and the
// exit status.
#include <fstream>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "command_test.h"

using CheckCommand = PstyleCommands;

TEST_F(CheckCommand, OneLinePerFindingInEveryTableOfAFolder) {
    ASSERT_TRUE(wxMkdir(wxString::FromUTF8(path("office"))));
    ASSERT_TRUE(wxMkdir(wxString::FromUTF8(path("office/site"))));
    copied(sample("default.ctb"), "office/good.ctb");
    copied(fixture("damaged-truncated.ctb"), "office/damaged.ctb");
    copied(fixture("damaged-truncated.ctb"), "office/pl\xE4ne.ctb"); // Latin-1, not UTF-8
    std::ofstream(path("office/notes.txt")) << "not a table";
    ASSERT_EQ(mkfifo(path("office/pipe.ctb").c_str(), 0600), 0);

    // Marks in texts; colour-dependent by its header, without 255 styles or a colour index table,
    // and without lineweights; a named table of 24 lineweights.
    for (const char* name : {"marked.stb", "short.ctb", "rows.stb"}) {
        copied(fixture(std::string("check-") + name), std::string("office/site/") + name);
    }

    const CommandResult run = pstyle("check " + shellQuoted(path("office")));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              prefixed(path("office/"),
                       "site/marked.stb: Table: a line break (U+2028) in the description\n"
                       "site/marked.stb: \"Wall{s}\": braces in the style name, which other "
                       "programs take for the end of a style\n"
                       "site/marked.stb: \"Thin\": a control character (U+0009) in the "
                       "description\n"
                       "site/rows.stb: Table: 24 lineweights instead of 27; 3 were given default "
                       "values\n"
                       "site/short.ctb: Table: 2 styles instead of the 255 of a colour-dependent "
                       "table; read as a named table\n"
                       "site/short.ctb: Table: 0 lineweights instead of 27; 27 were given default "
                       "values\n"
                       "damaged.ctb: cannot be read: the compressed table text is damaged or "
                       "incomplete\n"
                       "pipe.ctb: cannot be read: it is not a plot style table file (unknown "
                       "header)\n"
                       "pl\xE4ne.ctb: cannot be read: the compressed table text is damaged or "
                       "incomplete\n"));

    // The same as comma-separated lines, for a spreadsheet.
    const std::string csv = pstyle("check --csv " + shellQuoted(path("office/site"))).out;
    EXPECT_EQ(csv, "file,finding,style,property,expected,found\n" +
                       prefixed(path("office/"),
                                "site/marked.stb,line-break,,description,,U+2028\n"
                                "site/marked.stb,braces,Wall{s},name,,Wall{s}\n"
                                "site/marked.stb,control-character,Thin,description,,U+0009\n"
                                "site/rows.stb,lineweight-rows,,lineweights,27,24\n"
                                "site/short.ctb,style-count,,styles,255,2\n"
                                "site/short.ctb,lineweight-rows,,lineweights,27,0\n"));

    // Sound tables give nothing to say; files given by name are checked whatever their name.
    const CommandResult clean = pstyle("check " + shellQuoted(path("office/good.ctb")) + " " +
                                       shellQuoted(sample("named.stb")));
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "");
    const CommandResult notATable = pstyle("check " + shellQuoted(path("office/notes.txt")));
    EXPECT_EQ(notATable.status, 1);
    EXPECT_EQ(notATable.out.rfind(path("office/notes.txt") + ": cannot be read: ", 0), 0u);
}

TEST_F(CheckCommand, AgainstAReferenceEveryDifferenceInTheFormOfDiff) {
    const std::string reference = shellQuoted(sample("default.ctb"));
    const std::string changed = copied(sample("default.ctb"), "changed.ctb");
    ASSERT_EQ(
        pstyle("set " + shellQuoted(changed) + " --styles 3-4 lineweight=0.35 screening=40").status,
        0);
    copied(sample("named.stb"), "named.stb");
    const CommandResult diff = pstyle("diff " + reference + " " + shellQuoted(changed));
    ASSERT_EQ(diff.status, 1);
    ASSERT_FALSE(diff.out.empty());

    // The named table in the folder is not compared with a colour-dependent reference.
    const CommandResult run = pstyle("check --against " + reference + " " + shellQuoted(dir_));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, prefixed(changed + ": ", diff.out));

    const std::string diffCsv = pstyle("diff --csv " + reference + " " + shellQuoted(changed)).out;
    const CommandResult csv =
        pstyle("check --csv --against " + reference + " " + shellQuoted(changed));
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(csv.out, "file,finding,style,property,expected,found\n" +
                           prefixed(changed + ",differs,", diffCsv.substr(diffCsv.find('\n') + 1)));

    EXPECT_EQ(
        pstyle("check --against " + reference + " " + shellQuoted(sample("default.ctb"))).status,
        0);
}
