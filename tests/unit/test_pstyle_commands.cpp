// The pstyle program's commands, run as a user or a git hook runs them: without a display,
// judged by exit status, output and the files left behind.
#include <map>

#include <unistd.h>

#include <wx/dir.h>

#include <kesutils/plot_style_table.h>

#include "psl_text.h"
#include "pstyle_command_test.h"

namespace {

// An export without its second line, the one that names the file.
std::string withoutFileName(const std::string& csv) {
    const std::size_t first = csv.find('\n');
    const std::size_t second = csv.find('\n', first + 1);
    return csv.substr(0, first + 1) + csv.substr(second + 1);
}

class Refusals : public PstyleCommands {
protected:
    std::string copied(const std::string& fixtureName, const std::string& name) const {
        std::ofstream(path(name), std::ios::binary) << readFile(fixture(fixtureName));
        return shellQuoted(path(name));
    }

    // Every file of the folder and its bytes.
    std::map<std::string, std::string> folderContent() const {
        std::map<std::string, std::string> content;
        wxArrayString files;
        wxDir::GetAllFiles(wxString::FromUTF8(dir_), &files);
        for (const wxString& file : files) {
            content[std::string(file.utf8_str())] = readFile(std::string(file.utf8_str()));
        }
        content.erase(path("stderr.txt"));
        return content;
    }
};

} // namespace

TEST_F(PstyleCommands, ExportPrintsEveryReadableTableOrWritesItToAFile) {
    for (const char* name :
         {"canonical.ctb", "canonical-aci-table.stb", "windows-1252.stb",
          "independent-writer-64bit-header.ctb", "independent-writer-64bit-header.stb"}) {
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

    // An existing file is replaced whole.
    const std::string out = path("table.csv");
    std::ofstream(out) << std::string(100000, 'x');
    const CommandResult run = pstyle("export " + table + " -o " + shellQuoted(out));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(readFile(out), printed);
}

TEST_F(PstyleCommands, CopyWritesTheSameTableInCanonicalForm) {
    const std::string source = shellQuoted(fixture("independent-writer-64bit-header.ctb"));
    const std::string target = path("copy.ctb");
    const CommandResult copied = pstyle("copy " + source + " " + shellQuoted(target));
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(readFile(target).substr(0, 48),
              std::string("PIAFILEVERSION_2.0,CTBVER1,compress\r\npmzlibcodec"));
    EXPECT_EQ(withoutFileName(pstyle("export " + shellQuoted(target)).out),
              withoutFileName(pstyle("export " + source).out))
        << "the copy holds the same table";
    EXPECT_EQ(pstyle("copy " + shellQuoted(fixture("canonical-aci-table.stb")) + " " +
                     shellQuoted(path("PENS.STB")))
                  .status,
              0)
        << "the extension may be in any case";
}

TEST_F(PstyleCommands, UsageListingAndWindowsThatNeedADisplay) {
    EXPECT_EQ(pstyle("--version").out.rfind("pstyle ", 0), 0u);
    EXPECT_EQ(pstyle("--help").status, 0);
    for (const char* command : {"diff", "set", "convert", "sheet"}) {
        const CommandResult help = pstyle(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: pstyle " + std::string(command) + " ", 0), 0u);
    }

    std::ofstream(path("a.ctb")) << "x";
    std::ofstream(path("notes.txt")) << "x";
    const CommandResult listed = pstyle("--plot-style-path " + shellQuoted(dir_) + " list");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "a.ctb\n");

    // These pass every check and get as far as the missing display.
    for (const std::string& accepted :
         {"--plot-style-path " + shellQuoted(dir_), "new --stb --dir " + shellQuoted(dir_),
          "edit " + shellQuoted(path("NEW.CTB")), "edit " + shellQuoted(fixture("canonical.ctb")),
          "edit " + shellQuoted(path("new.stb")) + " --source " +
              shellQuoted(fixture("canonical-aci-table.stb"))}) {
        const CommandResult run = pstyle(accepted);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "pstyle: this command needs a display (set DISPLAY, or run it under "
                           "xvfb-run)\n")
            << accepted;
    }
}

// Bad usage and bad files: exit status 2 and one line saying what is wrong, before anything is
// written.
TEST_F(Refusals, SayWhatIsWrongOnOneLineAndWriteNothing) {
    const std::string table = copied("canonical.ctb", "table.ctb");
    const std::string named = copied("canonical-aci-table.stb", "named.stb");
    const std::string other = copied("windows-1252.stb", "other.stb");
    const std::string damaged = copied("damaged-truncated.ctb", "damaged.ctb");
    ASSERT_TRUE(wxMkdir(wxString::FromUTF8(path("folder.ctb").c_str())));
    ASSERT_EQ(symlink(path("table.ctb").c_str(), path("symlink.ctb").c_str()), 0);
    ASSERT_EQ(link(path("table.ctb").c_str(), path("hardlink.ctb").c_str()), 0);
    const auto at = [this](const std::string& name) { return shellQuoted(path(name)); };
    const std::string both = named + " " + table + " ";
    const std::string notAName = " is not a valid name to save to. A ";
    const std::string sameTable = ": the output would replace the table being exported";
    const std::pair<std::string, std::string> cases[] = {
        {"frobnicate", "unknown command 'frobnicate'"},
        {"copy only-one.ctb", "copy needs a SOURCE and a TARGET"},
        {"export", "export: which table file?"},
        {"diff only-one.ctb", "diff needs two table files"},
        {"diff --bogus a.ctb b.ctb", "diff: unknown option '--bogus'"},
        {"convert a.ctb", "convert needs a colour-dependent table"},
        {"sheet " + named + " -o " + at("s.pdf"), "sheet needs -o FILE.svg or -o FILE.png"},
        {"new --ctb --stb", "new needs one of --ctb and --stb"},
        {"new --stb --dir " + at("missing"), path("missing") + ": no such folder"},
        {"--plot-style-path " + at("missing") + " list",
         path("missing") + ": No such file or directory"},
        {"export " + damaged, path("damaged.ctb") + ": Invalid file format"},
        {"export " + at("missing.ctb"), path("missing.ctb") + ": No such file or directory"},
        {"export " + table + " -o " + at("no-such-folder/t.csv"), "no-such-folder/t.csv: "},
        {"export " + table + " -o " + table, path("table.ctb") + sameTable},
        {"export " + table + " -o " + shellQuoted(dir_ + "/./table.ctb"), sameTable},
        {"export " + table + " -o " + at("symlink.ctb"), path("symlink.ctb") + sameTable},
        {"export " + table + " -o " + at("hardlink.ctb"), path("hardlink.ctb") + sameTable},
        {"copy " + table + " " + at("copy.stb"),
         "copy.stb" + notAName + "color-dependent table is saved with the extension .ctb."},
        {"copy " + table + " " + at("copy"), "copy" + notAName},
        {"copy " + table + " " + at("missing/x.ctb"),
         "Failed to save file: " + path("missing/x.ctb") + " (No such file or directory)"},
        {"edit " + at("plan.txt"),
         path("plan.txt") + ": not a plot style table file: its extension must be .ctb or .stb"},
        {"edit " + at("plan.ctb") + " --source " + named,
         "plan.ctb" + notAName + "named table is saved with the extension .stb."},
        {"edit " + at("plan.STB") + " --source " + table, "plan.STB" + notAName},
        {"edit " + at("plan.ctb") + " --source " + at("missing.ctb"),
         path("missing.ctb") + ": No such file"},
        {"edit " + at("plan.ctb") + " --source " + at("folder.ctb"),
         path("folder.ctb") + ": Is a directory"},
        {"edit " + damaged, path("damaged.ctb") + ": Invalid file format"},
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
        {"set " + both + damaged + " screening=5", path("damaged.ctb") + ": Invalid file format"},
        {"set " + both + "--bogus screening=5", "unknown option '--bogus'"},
    };
    const auto before = folderContent();
    for (const auto& [arguments, error] : cases) {
        SCOPED_TRACE(arguments);
        const CommandResult refused = pstyle(arguments);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(lineCount(refused.err), 1);
        EXPECT_EQ(refused.err.rfind("pstyle: ", 0), 0u);
        EXPECT_NE(refused.err.find(error), std::string::npos) << refused.err;
        EXPECT_TRUE(folderContent() == before) << "a file was written";
    }
}
