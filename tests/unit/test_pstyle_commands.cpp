// The headless commands of the pstyle program, run as a user or a git hook runs them: without
// a display, judged by exit status, output and the files left behind.
#include <unistd.h>

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

} // namespace

TEST_F(PstyleCommands, ExportPrintsEveryReadableTableAndRefusesDamagedOnes) {
    for (const char* name :
         {"canonical.ctb", "canonical-aci-table.stb", "windows-1252.stb",
          "independent-writer-64bit-header.ctb", "independent-writer-64bit-header.stb"}) {
        const CommandResult run = pstyle("export " + shellQuoted(fixture(name)));
        EXPECT_EQ(run.status, 0) << run.err;
        // UTF-8 without byte-order mark, lines ended by a line feed.
        EXPECT_EQ(run.out.rfind("PLOTSTYLE_TABLE,,\n,FileName," + std::string(name) + "\n", 0), 0u);
        EXPECT_EQ(run.out.find('\r'), std::string::npos) << name;
    }
    EXPECT_NE(pstyle("export " + shellQuoted(fixture("windows-1252.stb")))
                  .out.find(",Description,Ma\xC3\x9F"
                            "e f\xC3\xBCr Pl\xC3\xA4ne\n"),
              std::string::npos)
        << "texts of an older encoding come out as UTF-8";

    for (const std::string& file :
         {fixture("damaged-truncated.ctb"), fixture("not-a-table.ctb"), path("missing.ctb")}) {
        const CommandResult run = pstyle("export " + shellQuoted(file));
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(run.err.rfind("pstyle: " + file + ": ", 0), 0u) << run.err;
        EXPECT_EQ(lineCount(run.err), 1);
    }
}

TEST_F(PstyleCommands, ExportWritesToAFileAndReplacesItWhole) {
    const std::string out = path("table.csv");
    std::ofstream(out) << std::string(100000, 'x');
    const CommandResult run =
        pstyle("export " + shellQuoted(fixture("canonical.ctb")) + " -o " + shellQuoted(out));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(readFile(out), pstyle("export " + shellQuoted(fixture("canonical.ctb"))).out);

    const CommandResult unwritable = pstyle("export " + shellQuoted(fixture("canonical.ctb")) +
                                            " -o " + shellQuoted(path("no-such-folder/table.csv")));
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_EQ(lineCount(unwritable.err), 1);

    // The table itself, under any of its names, is never an output.
    const std::string table = path("table.ctb");
    std::ofstream(table, std::ios::binary) << readFile(fixture("canonical.ctb"));
    ASSERT_EQ(symlink(table.c_str(), path("symlink.ctb").c_str()), 0);
    ASSERT_EQ(link(table.c_str(), path("hardlink.ctb").c_str()), 0);
    for (const std::string& output :
         {table, dir_ + "/./table.ctb", path("symlink.ctb"), path("hardlink.ctb")}) {
        SCOPED_TRACE(output);
        const CommandResult refused =
            pstyle("export " + shellQuoted(table) + " -o " + shellQuoted(output));
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(lineCount(refused.err), 1);
        EXPECT_NE(refused.err.find(output), std::string::npos) << refused.err;
        EXPECT_EQ(readFile(table), readFile(fixture("canonical.ctb")));
    }
}

TEST_F(PstyleCommands, EditRefusesWhatCannotBecomeATableBeforeAnyWindowOpens) {
    ASSERT_TRUE(wxMkdir(wxString::FromUTF8(path("folder.ctb").c_str())));
    const struct {
        std::string target, source, named, cause;
    } refusals[] = {
        {path("plan.txt"), "", path("plan.txt"), "extension must be .ctb or .stb"},
        {path("plan.ctb"), fixture("canonical-aci-table.stb"), path("plan.ctb"),
         "plan.ctb is not a valid name to save to. A named table is saved with the extension "
         ".stb."},
        {path("plan.STB"), fixture("canonical.ctb"), path("plan.STB"), "extension .ctb."},
        {path("plan.ctb"), path("missing.ctb"), path("missing.ctb"), "No such file"},
        {path("plan.ctb"), path("folder.ctb"), path("folder.ctb"), "Is a directory"},
        {fixture("damaged-truncated.ctb"), "", fixture("damaged-truncated.ctb"),
         "Invalid file format"},
        {path("folder.ctb"), fixture("canonical.ctb"), path("folder.ctb"), "Is a directory"},
        {path("missing/plan.ctb"), "", path("missing/plan.ctb"), "No such file"},
    };
    for (const auto& [target, source, named, cause] : refusals) {
        SCOPED_TRACE(target + " " + source);
        const CommandResult run =
            pstyle("edit " + shellQuoted(target) +
                   (source.empty() ? "" : " --source " + shellQuoted(source)));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(lineCount(run.err), 1);
        EXPECT_EQ(run.err.find("pstyle: " + named + ": "), 0u) << run.err;
        EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
        EXPECT_FALSE(wxFileExists(wxString::FromUTF8(path("plan.ctb").c_str())));
    }
    // These pass the checks and get as far as the missing display.
    for (const std::string& accepted :
         {shellQuoted(path("NEW.CTB")), shellQuoted(fixture("canonical.ctb")),
          shellQuoted(path("new.stb")) + " --source " +
              shellQuoted(fixture("canonical-aci-table.stb"))}) {
        SCOPED_TRACE(accepted);
        const CommandResult run = pstyle("edit " + accepted);
        EXPECT_NE(run.err.find("display"), std::string::npos) << run.err;
    }
}

TEST_F(PstyleCommands, CopyWritesACanonicalTableOnlyUnderTheRightExtension) {
    const std::string target = path("copy.ctb");
    const CommandResult copied =
        pstyle("copy " + shellQuoted(fixture("independent-writer-64bit-header.ctb")) + " " +
               shellQuoted(target));
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(readFile(target).substr(0, 48),
              std::string("PIAFILEVERSION_2.0,CTBVER1,compress\r\npmzlibcodec"));
    const PlotStyleTablePtr table(
        CPlotStyleTable::read(toHostText(wxString::FromUTF8(target.c_str())).c_str()));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->ScaleFactor, 2.5);
    EXPECT_EQ(
        withoutFileName(pstyle("export " + shellQuoted(target)).out),
        withoutFileName(
            pstyle("export " + shellQuoted(fixture("independent-writer-64bit-header.ctb"))).out))
        << "the copy holds the same table";

    // A colour-dependent table under a named table's extension would open as the wrong kind.
    for (const char* wrong : {"copy.stb", "copy.csv", "copy"}) {
        SCOPED_TRACE(wrong);
        const CommandResult refused = pstyle("copy " + shellQuoted(fixture("canonical.ctb")) + " " +
                                             shellQuoted(path(wrong)));
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.err.find("is not a valid name to save to."), std::string::npos);
        EXPECT_FALSE(wxFileExists(wxString::FromUTF8(path(wrong).c_str())));
    }
    EXPECT_EQ(pstyle("copy " + shellQuoted(fixture("canonical-aci-table.stb")) + " " +
                     shellQuoted(path("PENS.STB")))
                  .status,
              0)
        << "the extension may be in any case";
}

TEST_F(PstyleCommands, UsageAndListing) {
    EXPECT_EQ(pstyle("--version").out.rfind("pstyle ", 0), 0u);
    EXPECT_EQ(pstyle("--help").status, 0);
    const CommandResult unknown = pstyle("frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command"), std::string::npos);
    EXPECT_EQ(pstyle("copy only-one.ctb").status, 2);
    EXPECT_EQ(pstyle("export").status, 2);

    std::ofstream(path("a.ctb")) << "x";
    std::ofstream(path("notes.txt")) << "x";
    const CommandResult listed = pstyle("--plot-style-path " + shellQuoted(dir_) + " list");
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, "a.ctb\n");
    const CommandResult missing =
        pstyle("--plot-style-path " + shellQuoted(path("missing")) + " list");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "pstyle: " + path("missing") + ": No such file or directory\n");
    EXPECT_EQ(missing.out, "");
}

TEST_F(PstyleCommands, WindowCommandsSayThatTheyNeedADisplay) {
    const std::string folder = shellQuoted(dir_);
    for (const std::string& command :
         {"--plot-style-path " + folder, "edit " + shellQuoted(path("a.ctb")),
          "new --stb --dir " + folder, "snapshot " + shellQuoted(path("pictures"))}) {
        SCOPED_TRACE(command);
        const CommandResult run = pstyle(command);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(lineCount(run.err), 1);
        EXPECT_NE(run.err.find("needs a display"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(wxFileName::DirExists(wxString::FromUTF8(path("pictures").c_str())));
}
