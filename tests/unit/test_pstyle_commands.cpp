// The pstyle program's commands, run as a user or a git hook runs them: without a display,
// judged by exit status, output and the files left behind in a folder of its own; diff, set and
// convert on tables from independent writers and on the sample tables; and the comma-separated
// export line by line.
#include <algorithm>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <wx/filefn.h>
#include <wx/filename.h>

#include <kesutils/plot_style_table.h>

#include "command_test.h"
#include "largest_tables.h"
#include "plot_style_codec.h"
#include "psl_csv_export.h"
#include "psl_text.h"

TEST_F(PstyleCommands, ExportPrintsEveryReadableTableOrWritesItToAFile) {
    for (const char* name : {"canonical.ctb", "independent-writer-64bit-header.stb"}) {
        const CommandResult run = pstyle("export " + shellQuoted(fixture(name)));
        EXPECT_EQ(run.status, 0) << run.err;
        // UTF-8 without byte-order mark, lines ended by a line feed.
        EXPECT_EQ(run.out.rfind("PLOTSTYLE_TABLE,,\n,FileName," + std::string(name) + "\n", 0), 0u);
        EXPECT_EQ(run.out.find('\r'), std::string::npos) << name;
    }
    const std::string table = shellQuoted(fixture("windows-1252.stb"));
    const std::string printed = pstyle("export " + table).out;
    EXPECT_NE(printed.find(",Description,Ma\xC3\x9F"
                           "e f\xC3\xBCr Pl\xC3\xA4ne\n"),
              std::string::npos)
        << "texts of an older encoding come out as UTF-8";

    // An existing file is replaced whole (the safe file suite sees its mode kept); a stream is
    // written as it is.
    const std::string out = path("table.csv");
    std::ofstream(out) << std::string(100000, 'x');
    const CommandResult run = pstyle("export " + table + " -o " + shellQuoted(out));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(readFile(out), printed);
    EXPECT_EQ(pstyle("export " + table + " -o /dev/stdout").out, printed);
}

TEST_F(PstyleCommands, UsageListingAndWindowsThatNeedADisplay) {
    EXPECT_EQ(pstyle("--version").out.rfind("pstyle ", 0), 0u);
    const CommandResult help = pstyle("set --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: pstyle set ", 0), 0u);

    std::ofstream(path("a.ctb")) << "x";
    std::ofstream(path("notes.txt")) << "x";
    // Both options before the command, in either order.
    for (const std::string& options : {"--plot-style-path " + shellQuoted(dir_) + " --lang de",
                                       "--lang de --plot-style-path " + shellQuoted(dir_)}) {
        const CommandResult listed = pstyle(options + " list");
        EXPECT_EQ(listed.status, 0) << options << ": " << listed.err;
        EXPECT_EQ(listed.out, "a.ctb\n") << options;
    }

    // These pass every check and get as far as the missing display; new finds the sample folder.
    for (const std::string& accepted :
         {"new --stb --dir " + shellQuoted(dir_), std::string("new --ctb"),
          "edit " + shellQuoted(path("NEW.CTB")),
          "edit " + shellQuoted(path("new.stb")) + " --source " +
              shellQuoted(fixture("canonical-aci-table.stb"))}) {
        const CommandResult run = pstyle(accepted);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "pstyle: this command needs a display (set DISPLAY, or run it under "
                           "xvfb-run)\n")
            << accepted;
    }
}

// The commands without a window run on the core: none loads the GUI toolkit, X11, a GUI library
// of wxWidgets or a module it does not need, and without a display a window command does not even
// load the program's GUI module.
TEST_F(PstyleCommands, CommandsWithoutAWindowLoadNoGuiLibrary) {
    const std::string table = shellQuoted(copied(sample("default.ctb"), "table.ctb"));
    const auto at = [this](const std::string& name) { return shellQuoted(path(name)); };
    const std::string commands[] = {
        "--plot-style-path " + shellQuoted(dir_) + " list",
        "export " + table,
        "copy " + table + " " + at("copy.ctb"),
        "diff " + table + " " + shellQuoted(sample("monochrome.ctb")),
        "set " + table + " screening=50",
        "convert " + table + " " + at("named.stb"),
        "check " + shellQuoted(dir_),
        "plot " + shellQuoted(fixture("drawings/pens.dxf")) + " " + table + " -o " + at("plot.svg"),
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const CommandResult run = pstyle(command, "LD_DEBUG=files ");
        EXPECT_LE(run.status, 1) << "the command did its work";
        ASSERT_NE(run.err.find("libkesutils.so"), std::string::npos) << "the loader's log";
        for (const char* gui : {"libgtk-", "libgdk-", "libX11", "libxcb", "libwx_gtk"}) {
            EXPECT_EQ(run.err.find(gui), std::string::npos) << gui;
        }
        // Only plot reads drawings; only images are drawn with the drawing module.
        EXPECT_EQ(run.err.find("libdxflib") != std::string::npos, command.rfind("plot", 0) == 0);
        EXPECT_EQ(run.err.find("libpstyle_draw.so"), std::string::npos);
    }
    const CommandResult refused = pstyle("edit " + at("plan.ctb"), "LD_DEBUG=files ");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("libkesutils.so"), std::string::npos);
    EXPECT_EQ(refused.err.find("libpstyle_gui"), std::string::npos);
}

// Bad usage and bad files: exit status 2 and one line saying what is wrong, before anything is
// written.
TEST_F(PstyleCommands, SayWhatIsWrongOnOneLineAndWriteNothing) {
    const std::string table = shellQuoted(copied(fixture("canonical.ctb"), "table.ctb"));
    const std::string named = shellQuoted(copied(fixture("canonical-aci-table.stb"), "named.stb"));
    const std::string other = shellQuoted(copied(fixture("windows-1252.stb"), "other.stb"));
    const std::string damaged =
        shellQuoted(copied(fixture("damaged-truncated.ctb"), "damaged.ctb"));
    const std::string broken = shellQuoted(copied(fixture("no-value-line-3.stb"), "broken.stb"));
    ASSERT_TRUE(wxMkdir(wxString::FromUTF8(path("folder.ctb").c_str())));
    ASSERT_EQ(symlink(path("table.ctb").c_str(), path("symlink.ctb").c_str()), 0);
    const std::string readOnly = shellQuoted(copied(fixture("canonical.ctb"), "read-only.ctb"));
    chmod(path("read-only.ctb").c_str(), 0444);
    // A named table that another program stored under a colour-dependent name.
    const std::string namedAsCtb =
        shellQuoted(copied(fixture("canonical-aci-table.stb"), "named.ctb"));
    copied(fixture("absurd-values.stb"), "absurd.stb");
    std::string error;
    ASSERT_TRUE(writePlotStyleTableFile(*largestTable(false, 1001, 8), path("many.stb"), error));
    // More styles than rows fit a PNG image.
    ASSERT_TRUE(writePlotStyleTableFile(*largestTable(false, 929, 8), path("long.stb"), error));
    ASSERT_EQ(mkfifo(path("pipe.dxf").c_str(), 0600), 0);
    std::ofstream(path("notes.txt")) << "kept";
    ASSERT_EQ(symlink("notes.txt", path("notes.csv").c_str()), 0);
    ASSERT_EQ(symlink("notes.txt", path("notes.png").c_str()), 0);
    ASSERT_EQ(symlink("missing.svg", path("dangling.svg").c_str()), 0);
    std::ofstream(path("read-only.csv")) << "kept";
    chmod(path("read-only.csv").c_str(), 0444);
    const auto at = [this](const std::string& name) { return shellQuoted(path(name)); };
    const std::string both = named + " " + table + " ";
    const std::string notAName = " is not a valid name to save to. A ";
    const std::string sameTable = ": the output would replace the table being exported";
    const std::string drawing = shellQuoted(fixture("drawings/named.dxf")) + " ";
    const std::string png = " -o " + at("out.png");
    const std::pair<std::string, std::string> cases[] = {
        {"frobnicate", "unknown command 'frobnicate'"},
        {"copy only-one.ctb", "copy needs a SOURCE and a TARGET"},
        {"export", "export: which table file?"},
        {"diff only-one.ctb", "diff needs two table files"},
        {"diff --bogus a.ctb b.ctb", "diff: unknown option '--bogus'"},
        {"convert a.ctb", "convert needs a colour-dependent table"},
        {"sheet " + named + " -o " + at("s.txt"), "sheet needs -o FILE.svg, FILE.png or FILE.pdf"},
        {"sheet " + named + " -o " + at("s.png") + " --portrait",
         "sheet: --page and --portrait are for PDF only"},
        {"sheet " + named + " -o " + at("s.pdf") + " --page b5",
         "sheet: unknown paper size 'b5' (a4, a3 or letter)"},
        {"new --ctb --stb", "new needs one of --ctb and --stb"},
        {"new --stb --dir " + at("missing"), path("missing") + ": no such folder"},
        {"new --stb --dir " + table, path("table.ctb") + ": not a folder"},
        {"export " + table + " -o " + at("read-only.csv"), path("read-only.csv") + " is read-only"},
        {"export " + table + " -o " + at("notes.csv"),
         path("notes.txt") + " does not have the extension .csv"},
        {"plot " + drawing + table + " -o " + at("notes.png"),
         path("notes.txt") + " does not have the extension .png"},
        {"sheet " + table + " -o " + at("dangling.svg"),
         " is a link to a file that does not exist"},
        {"export " + table + " -o " + at("folder.ctb"), path("folder.ctb") + " is a folder"},
        {"--plot-style-path " + at("missing") + " list",
         path("missing") + ": No such file or directory"},
        {"export " + damaged, path("damaged.ctb") + ": the compressed table text is damaged"},
        {"export " + broken, path("broken.stb") + ": line 3: "},
        {"export " + at("missing.ctb"), path("missing.ctb") + ": No such file or directory"},
        {"export " + table + " -o " + at("no-such-folder/t.csv"), "no-such-folder/t.csv: "},
        {"export " + table + " -o " + table, path("table.ctb") + sameTable},
        {"export " + table + " -o " + at("symlink.ctb"), path("symlink.ctb") + sameTable},
        {"copy " + table + " " + at("copy.stb"),
         "copy.stb" + notAName + "color-dependent table is saved with the extension .ctb."},
        {"copy " + table + " " + at("copy"), "copy" + notAName},
        {"copy " + table + " " + at("missing/x.ctb"),
         "Failed to save file: " + path("missing/x.ctb") + " (No such file or directory)"},
        {"edit " + at("plan.txt"),
         path("plan.txt") + ": not a plot style table file: its extension must be .ctb or .stb"},
        {"edit " + at("plan.ctb") + " --source " + named,
         "plan.ctb" + notAName + "named table is saved with the extension .stb."},
        {"edit " + at("plan.ctb") + " --source " + at("missing.ctb"),
         path("missing.ctb") + ": No such file"},
        {"edit " + at("plan.ctb") + " --source " + at("folder.ctb"),
         path("folder.ctb") + ": Is a directory"},
        {"edit " + broken, path("broken.stb") + ": line 3: "},
        {"edit " + at("folder.ctb") + " --source " + table,
         path("folder.ctb") + ": Is a directory"},
        {"edit " + at("missing/plan.ctb"), path("missing/plan.ctb") + ": folder "},
        {"diff " + table + " " + named,
         "cannot compare a named table with the colour-dependent table"},
        {"convert " + named + " " + at("x.stb"), "is a named table"},
        {"convert " + table + " " + at("x.ctb"),
         "x.ctb" + notAName + "named table is saved with the extension .stb."},
        {"set", "set needs at least one table file and one KEY=VALUE"},
        {"set " + both + "colr=5", "unknown key 'colr'"},
        {"set " + both + "color=255", "white cannot be told apart"},
        {"set " + both + "color=#FFFFFF", "white cannot be told apart"},
        {"set " + both + "screening=101", "bad value '101' for screening"},
        {"set " + both + "join-style=4", "bad value '4' for join-style"},
        {"set " + both + "dither=yes", "bad value 'yes' for dither: on or off"},
        {"set " + both + "screening=5 screening=6", "screening is given twice"},
        {"set " + both + "lineweight=0.33", "0.33 mm is not one of the table's lineweights"},
        {"set " + named + " " + other + " --styles heavy screening=5",
         path("other.stb") + ": the table has no style named 'heavy'"},
        {"set " + named + " --styles Normal screening=5", "'Normal' is the table's base style"},
        {"set " + table + " --styles 0-3 screening=5", "'0-3' is not a color number"},
        {"set " + both + damaged + " screening=5", path("damaged.ctb") + ": the compressed"},
        {"set " + both + "--bogus screening=5", "unknown option '--bogus'"},
        {"set " + named + " --styles '' screening=5", "set: --styles is given an empty list"},
        {"set " + named + " --styles '\xFF' screening=5",
         "the list of --styles is not valid UTF-8"},
        {"set " + at("absurd.stb") + " lineweight=1e308",
         "1e+308 mm is not one of the table's lineweights"},
        {"set " + table + " " + readOnly + " screening=5", path("read-only.ctb") + " is read-only"},
        {"set " + table + " " + namedAsCtb + " screening=5",
         "named.ctb" + notAName + "named table is saved with the extension .stb."},
        {"sheet " + at("many.stb") + " -o " + at("s.svg"),
         "the table holds 1001 styles; a legend sheet shows at most 1000"},
        {"sheet " + at("long.stb") + png,
         path("out.png") + ": the sheet is too long for a PNG image; write it as SVG"},
        {"check", "check needs the table files or folders to check"},
        {"check " + table + " " + at("gone"), "check: " + path("gone") + ": No such"},
        {"check --against", "check: --against needs a table file"},
        {"check --strict " + table, "check: unknown option '--strict'"},
        {"check --against " + named + " " + table,
         "check: " + path("table.ctb") + " is of another kind than the reference"},
        {"check --against " + damaged + " " + table, path("damaged.ctb") + ": the compressed"},
        {"plot", "plot: needs a drawing and a table"},
        {"plot " + drawing + table, "plot: needs -o FILE.pdf, FILE.svg or FILE.png"},
        {"plot " + drawing + table + " -o plan.jpg",
         "plot: needs -o FILE.pdf, FILE.svg or FILE.png"},
        {"plot " + drawing + table + png + " --page b5", "plot: unknown paper size 'b5'"},
        {"plot " + drawing + table + png + " --dpi 5", "plot: --dpi '5' is not a whole number"},
        {"plot " + drawing + table + png + " --dpi 2x", "plot: --dpi '2x' is not a whole number"},
        {"plot " + drawing + table + " -o x.svg --dpi 100", "plot: --dpi is for PNG only"},
        {"plot " + drawing + table + png + " --page a0 --dpi 600",
         "plot: --dpi 600 makes a0 paper 28087 pixels long"},
        {"plot " + drawing + table + png + " --frame", "plot: unknown option '--frame'"},
        {"plot " + drawing + table + png + " --compare", "plot: --compare needs a table file"},
        {"plot " + drawing + named + png + " --layer-style WALLS", "'WALLS' is not LAYER=NAME"},
        {"plot " + drawing + table + png + " --layer-style WALLS=Heavy", "is for named tables"},
        {"plot " + drawing + named + png + " --layer-style ROOF=Heavy",
         "named.dxf has no layer ROOF"},
        {"plot " + drawing + named + png + " --layer-style WALLS=Wide",
         "named.stb has no style Wide"},
        {"plot " + at("none.dxf") + " " + table + png, "none.dxf: No such file or directory"},
        {"plot " + at("pipe.dxf") + " " + table + png, "pipe.dxf: not a regular file"},
        {"plot " + table + " " + table + png, "table.ctb: not an ASCII DXF drawing"},
        {"plot " + drawing + damaged + png, "damaged.ctb: the compressed table text is damaged"},
        {"plot " + drawing + table + png + " --compare " + drawing, "named.dxf: "},
    };
    const auto before = folderContent();
    for (const auto& [arguments, error] : cases) {
        SCOPED_TRACE(arguments);
        const CommandResult refused = pstyle(arguments);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1);
        EXPECT_EQ(refused.err.rfind("pstyle: ", 0), 0u);
        EXPECT_NE(refused.err.find(error), std::string::npos) << refused.err;
        EXPECT_TRUE(folderContent() == before) << "a file was written";
    }
}

// What a command prints is checked once for every command: a failed standard output is an
// error, a reader that closed the pipe is none. Pipes as inputs are read to their end.
TEST_F(PstyleCommands, StandardOutputAndPipes) {
    const std::string table = shellQuoted(copied(sample("default.ctb"), "default.ctb"));
    const std::string monochrome = shellQuoted(sample("monochrome.ctb"));
    for (const std::string& command :
         {"--plot-style-path " + shellQuoted(dir_) + " list", "export " + table,
          "diff " + table + " " + monochrome, "set " + table + " --dry-run screening=5",
          std::string("--help")}) {
        SCOPED_TRACE(command);
        const CommandResult full = pstyle(command + " >/dev/full");
        EXPECT_EQ(full.status, 2);
        EXPECT_EQ(full.err, "pstyle: standard output: No space left on device\n");
    }
    for (int index = 0; index < 3000; ++index) {
        std::ofstream(path("a table of the listing, number " + std::to_string(index) + ".ctb"));
    }
    // Even when the shell ignores the signal of a closed pipe.
    const std::string errors = path("stderr.txt");
    const CommandResult closed =
        runShell("trap '' PIPE; " + shellQuoted(PSTYLE_PROGRAM) + " --plot-style-path " +
                 shellQuoted(dir_) + " list 2>" + shellQuoted(errors) + " | head -1");
    EXPECT_EQ(closed.out, "a table of the listing, number 0.ctb\n");
    EXPECT_EQ(readFile(errors), "");

    EXPECT_EQ(
        runShell("cat " + table + " | " + shellQuoted(PSTYLE_PROGRAM) + " diff /dev/stdin " + table)
            .status,
        0);
    ASSERT_EQ(mkfifo(path("unwritten.ctb").c_str(), 0600), 0);
    EXPECT_EQ(pstyle("export " + shellQuoted(path("unwritten.ctb")), "timeout 10 ").status, 2);
}

// File names are bytes: one that is not UTF-8 is written, changed and read, and listed so that
// the listed name opens. The listing holds regular files only, sorted as people read in every
// language, and quotes the names that a line cannot show as they are.
TEST_F(PstyleCommands, ListSortsAndQuotesNamesThatOpenAsListed) {
    const std::string bad = path("b\xFF.ctb");
    const std::string source = shellQuoted(sample("default.ctb"));
    ASSERT_EQ(pstyle("copy " + source + " " + shellQuoted(bad)).status, 0);
    EXPECT_EQ(pstyle("set " + shellQuoted(bad) + " --styles 1 screening=50").status, 0);
    EXPECT_EQ(pstyle("diff " + source + " " + shellQuoted(bad)).out,
              "Color 1: screening 100 \u2192 50\n");
    EXPECT_NE(pstyle("export " + shellQuoted(bad)).out.find(",FileName,b\xFF.ctb\n"),
              std::string::npos);

    for (const char* name : {"plan10.ctb", "Plan2.ctb", "plan2.ctb", "line\nbreak.ctb", "Zebra.ctb",
                             "\xC3\xA4rger.ctb", "site-b.ctb", "q\"uote.ctb"}) {
        std::ofstream(path(name)) << "x";
    }
    ASSERT_TRUE(wxMkdir(wxString::FromUTF8(path("site"))) &&
                wxMkdir(wxString::FromUTF8(path("f.ctb"))));
    std::ofstream(path("site/a.STB")) << "x";
    ASSERT_EQ(mkfifo(path("fifo.ctb").c_str(), 0600), 0);
    ASSERT_EQ(symlink("gone", path("gone.ctb").c_str()), 0);
    ASSERT_EQ(symlink("Zebra.ctb", path("alias.ctb").c_str()), 0);
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        const CommandResult listed = pstyle("--plot-style-path " + shellQuoted(dir_) + " list",
                                            std::string("LC_ALL=") + locale + " ");
        EXPECT_EQ(listed.out,
                  "alias.ctb\n\"b\\377.ctb\"\n\"line\\nbreak.ctb\"\nPlan2.ctb\nplan2.ctb\n"
                  "plan10.ctb\n\"q\\\"uote.ctb\"\nsite/a.STB\nsite-b.ctb\nZebra.ctb\n"
                  "\xC3\xA4rger.ctb\n")
            << locale;
    }
}

TEST_F(PstyleCommands, DiffOfATableWithItselfOrWithItsRewriteIsEmpty) {
    for (const std::string& table :
         {fixture("canonical.ctb"), fixture("canonical-aci-table.stb"), fixture("windows-1252.stb"),
          fixture("independent-writer-64bit-header.ctb"),
          fixture("independent-writer-64bit-header.stb"), sample("default.ctb"),
          sample("monochrome.ctb"), sample("named.stb")}) {
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

TEST_F(PstyleCommands, DiffListsSettingsThenStylesInTheNewerTablesUnits) {
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

TEST_F(PstyleCommands, SetThenDiffShowsExactlyTheEdit) {
    struct Case {
        std::string source;
        std::string arguments;
        std::string changes;
    };
    const Case cases[] = {
        {sample("default.ctb"), "--styles 1-2,250 lineweight=0.35 color=#102030",
         "Color 1: color object \u2192 #102030\n"
         "Color 1: lineweight object \u2192 0.3500 mm\n"
         "Color 2: color object \u2192 #102030\n"
         "Color 2: lineweight object \u2192 0.3500 mm\n"
         "Color 250: color object \u2192 #102030\n"
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
        {sample("named.stb"), "--styles normal,Heavy screening=40",
         "\"Heavy\": screening 100 \u2192 40\n"},
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
        EXPECT_EQ(dryRun.out, prefixed(table + ": ", test.changes));
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
TEST_F(PstyleCommands, ScriptsWorkAlikeInEveryLanguage) {
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

// Values that only another program writes are kept, printed in a few characters and drawn
// within their row.
TEST_F(PstyleCommands, AbsurdValuesPassThroughShortAndDrawnWithinTheirRows) {
    const std::string absurd = shellQuoted(copied(fixture("absurd-values.stb"), "absurd.stb"));
    const std::string exported = pstyle("export " + absurd).out;
    for (const char* line : {",ScaleFactor,nan\n", ",1,-1.000000\n", ",2,1e+308\n", ",3,nan\n",
                             ",S1,S1,,C3FFFFFF,C3FFFFFF,1,-7,0,-5,"}) {
        EXPECT_NE(exported.find(line), std::string::npos) << line;
    }
    EXPECT_NE(
        pstyle("diff " + absurd + " " + shellQuoted(sample("named.stb")))
            .out.find("Table: scale-factor nan \u2192 1\nTable: lineweight row 1 -1.0000 mm "
                      "\u2192 0.0500 mm\nTable: lineweight row 2 1e+308 mm \u2192 0.0900 mm\n"),
        std::string::npos);
    ASSERT_EQ(pstyle("copy " + absurd + " " + shellQuoted(path("copy.stb"))).status, 0);
    EXPECT_EQ(pstyle("diff " + absurd + " " + shellQuoted(path("copy.stb"))).status, 0);

    ASSERT_EQ(pstyle("sheet " + absurd + " -o " + shellQuoted(path("sheet.svg"))).status, 0);
    const std::string svg = readFile(path("sheet.svg"));
    std::vector<std::string> widths;
    for (std::size_t at = svg.find("<path "); at != std::string::npos;
         at = svg.find("<path ", at + 1)) {
        const std::size_t width = svg.find("stroke-width=\"", at) + 14;
        widths.push_back(svg.substr(width, svg.find('"', width) - width));
    }
    // The object's lineweight, then -1 mm and nan draw nothing, 1e308 its row's height.
    EXPECT_EQ(widths, (std::vector<std::string>{"0.25", "0", "7", "0"}));
    EXPECT_NE(svg.find(">-1.0000 mm</text>"), std::string::npos) << "not the object's";
}

// Every table command on the largest tables that the reader takes runs in 256 MB of address
// space, libraries included.
TEST_F(PstyleCommands, TableCommandsOnTheLargestAcceptedTablesFitIn256MB) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers reserve terabytes of address space for their own use";
#endif
    ASSERT_TRUE(writeLargestTable(LargestTable::ManyStyles, path("many.stb")));
    ASSERT_TRUE(writeLargestTable(LargestTable::LongNames, path("long.stb")));
    ASSERT_TRUE(writeLargestTable(LargestTable::ColorDependent, path("colors.ctb")));
    for (const std::string command :
         {"export many.stb", "copy many.stb copy.stb", "set many.stb screening=40",
          "diff copy.stb many.stb", "set long.stb screening=40", "diff long.stb copy.stb",
          "sheet long.stb -o s.png", "sheet long.stb -o s.pdf", "sheet long.stb -o s.svg",
          "export colors.ctb", "convert colors.ctb named.stb"}) {
        SCOPED_TRACE(command);
        const CommandResult run =
            pstyle(command, "cd " + shellQuoted(dir_) + " && ulimit -v 262144 && ");
        EXPECT_EQ(run.status, command.rfind("diff", 0) == 0 ? 1 : 0);
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(PstyleCommands, SetNamesTheFilesAlreadyReplacedWhenAWriteFails) {
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

// The table document's suite sees the names, the scale factor and the lineweights kept.
TEST_F(PstyleCommands, ConvertMakesANamedTableWithOneStylePerColourAndItsAciTable) {
    const std::string source = fixture("independent-writer-64bit-header.ctb");
    const std::string target = path("office.stb");
    const CommandResult run = pstyle("convert " + shellQuoted(source) + " " + shellQuoted(target));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(target).substr(0, 48),
              std::string("PIAFILEVERSION_2.0,STBVER1,compress\r\npmzlibcodec"));

    std::string error;
    const PlotStyleTablePtr colors = readPlotStyleTableFile(source, error);
    const PlotStyleTablePtr named = readPlotStyleTableFile(target, error);
    ASSERT_TRUE(named) << error;
    EXPECT_FALSE(named->ColorDependent);
    EXPECT_TRUE(named->AciTableAvailable);
    ASSERT_EQ(named->size(), 256u);
    EXPECT_EQ(named->Description, colors->Description);
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
}

TEST(CsvExport, ColorDependentTableHasHeaderAciTableStylesAndLineWeights) {
    std::string error;
    const PlotStyleTablePtr table = readPlotStyleTableFile(fixture("canonical.ctb"), error);
    ASSERT_TRUE(table) << error;
    const wxArrayString lines = csvExportLines(*table, "canonical.ctb");
    // 8 header lines, ACI section (head, 255, end), styles (head, titles, 255, end), lineweights
    // (head, 27 rows, no closing line).
    ASSERT_EQ(lines.size(), 8u + 257u + 258u + 28u);
    const std::pair<int, const char*> expected[] = {
        {1, ",FileName,canonical.ctb"},
        {6, ",CustomLineWeightUnits,1"},
        {263, ",254,Color_255"},
        {266, ",Name,LocalizedName,Description,Color,ModeColor,ColorPolicy,PhysPenNum,"
              "VirtPenNum,Screening,LinePatSize,LineType,Adaptive,LineWeight,FillStyle,EndStyle,"
              "JoinStyle"},
        // Colour words are written raw, as eight upper-case hex digits.
        {268, ",Color_2,Color_2,,C3DDC16E,C2CCC58F,1,0,0,100,0.5,31,1,0,73,4,5"},
        // Millimetres, whatever unit the table is shown in.
        {532, ",8,0.250000"},
    };
    for (const auto& [line, text] : expected) {
        EXPECT_EQ(lines[line], text);
    }
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
        std::string error;
        const PlotStyleTablePtr table =
            readPlotStyleTableFile(fixture("canonical-aci-table.stb"), error);
        ASSERT_TRUE(table) << error;
        CPlotStyle* heavy = table->AciTable[0]; // row 2 of the styles
        heavy->setName(text);
        heavy->setLocName(text);
        heavy->setDesc(text);
        table->Description = text;
        const wxArrayString lines = csvExportLines(*table, toWxString(text));

        EXPECT_EQ(lines[1], ",FileName," + field);
        EXPECT_EQ(lines[2], ",Description," + field);
        EXPECT_EQ(lines[9], ",0," + field);
        EXPECT_TRUE(lines[269].StartsWith("," + field + "," + field + "," + field + ","))
            << lines[269];
    }
}
