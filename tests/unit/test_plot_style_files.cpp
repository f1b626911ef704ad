// Listing the table files of the configured plot style folder.
#include <algorithm>
#include <fstream>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <wx/filefn.h>
#include <wx/filename.h>

#include <kesutils/ut_services.h>

#include "psl_table_files.h"
#include "pstyle_lib.h"

namespace {

class PlotStyleFolder : public testing::Test {
protected:
    void SetUp() override {
        root_ = wxFileName::CreateTempFileName("pstyle-files");
        wxRemoveFile(root_);
        ASSERT_TRUE(wxMkdir(root_));
        usePlotStylePath(root_);
    }
    void TearDown() override { wxFileName::Rmdir(root_, wxPATH_RMDIR_RECURSIVE); }

    static void usePlotStylePath(const wxString& path) {
        ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", path);
    }

    wxString touch(const wxString& relative) const {
        const wxFileName file(root_ + "/" + relative);
        wxFileName::Mkdir(file.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        std::ofstream(file.GetFullPath().fn_str()) << "x";
        return file.GetFullPath();
    }

    wxString root_;
};

std::vector<wxString> sortedNames(const wxArrayString& names, std::size_t from = 0) {
    std::vector<wxString> result(names.begin() + from, names.end());
    std::sort(result.begin(), result.end());
    return result;
}

} // namespace

TEST_F(PlotStyleFolder, ListsTableFilesByExtensionInAnyCase) {
    for (const char* name : {"A.CTB", "b.Stb", "c.ctb", "notes.txt", "a.ctb.bak", "ctb", ".stb"}) {
        touch(name);
    }
    wxArrayString files;
    files.Add("kept first");
    files.Add("kept second");

    // ".stb" is a hidden file without extension, not a table.
    EXPECT_EQ(getPlotStyleFiles(files), 5u) << "old entries count too";
    ASSERT_EQ(files.size(), 5u);
    EXPECT_EQ(files[0], "kept first");
    EXPECT_EQ(files[1], "kept second");
    EXPECT_EQ(sortedNames(files, 2), (std::vector<wxString>{"A.CTB", "b.Stb", "c.ctb"}));
}

TEST_F(PlotStyleFolder, TablesInSubfoldersAreListedRelativeToTheFolder) {
    touch("office.ctb");
    touch("site/plan.stb");
    touch("site/archive/old.ctb");
    touch("site/readme.txt");
    // A link back up must neither loop nor list a table twice.
    ASSERT_EQ(symlink(root_.fn_str(), (root_ + "/site/loop").fn_str()), 0);

    wxArrayString files;
    EXPECT_EQ(getPlotStyleFiles(files), 3u);
    EXPECT_EQ(sortedNames(files),
              (std::vector<wxString>{"office.ctb", "site/archive/old.ctb", "site/plan.stb"}));
}

TEST_F(PlotStyleFolder, MissingFolderListsNothing) {
    wxArrayString files;
    files.Add("untouched");
    usePlotStylePath(root_ + "/missing");
    EXPECT_EQ(getPlotStyleFiles(files), 0u);
    usePlotStylePath(touch("plain-file.ctb"));
    EXPECT_EQ(getPlotStyleFiles(files), 0u) << "a file is no folder";
    usePlotStylePath(wxString());
    EXPECT_EQ(getPlotStyleFiles(files), 0u);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], "untouched");
}

// A typed name gets the kind's extension when it has none, keeps its own as typed when it fits,
// and is refused with its extension lower-cased when it does not ("Plan." has an empty one).
TEST(TypedTableName, IsCompletedOrRefusedByItsExtension) {
    struct Case {
        const char* typed;
        const char* expected;
        bool accepted;
        const char* result; // the completed name, or the extension refused
    };
    const Case cases[] = {
        {"Plan", "ctb", true, "Plan.ctb"},
        {"Plan.CTB", "ctb", true, "Plan.CTB"},
        {"plan.Stb", "stb", true, "plan.Stb"},
        {"Plan.CTX", "ctb", false, "ctx"},
        {"Plan.stb", "ctb", false, "stb"},
        {"Plan.", "stb", false, ""},
        {"a.b", "ctb", false, "b"},
        {"site/plan", "stb", true, "site/plan.stb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        wxFileName file(c.typed);
        wxString wrong = "unchanged";
        EXPECT_EQ(completeTableFileName(file, c.expected, wrong), c.accepted);
        EXPECT_EQ(c.accepted ? file.GetFullPath(wxPATH_UNIX) : wrong, wxString(c.result));
    }
}
