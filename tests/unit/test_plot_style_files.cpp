// Listing the table files of the configured plot style folder by the plug-in's export (pstyle
// list prints the same listing; its suite checks it).
#include <algorithm>
#include <fstream>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <wx/filefn.h>
#include <wx/filename.h>

#include <kesutils/ut_services.h>

#include "pstyle_lib.h"
#include "unit_test_support.h"

namespace {

class PlotStyleFolder : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        root_ = wxString::FromUTF8(dir_);
        ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", root_);
    }

    wxString touch(const wxString& relative) const {
        const wxFileName file(root_ + "/" + relative);
        wxFileName::Mkdir(file.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        std::ofstream(file.GetFullPath().fn_str()) << "x";
        return file.GetFullPath();
    }

    wxString root_;
};

} // namespace

TEST_F(PlotStyleFolder, ListsTablesByExtensionInAnyCaseAndSubfoldersRelativeToTheFolder) {
    for (const char* name : {"A.CTB", "b.Stb", "notes.txt", "a.ctb.bak", "ctb", ".stb",
                             "site/plan.stb", "site/archive/old.ctb", "site/readme.txt"}) {
        touch(name);
    }
    // A link back up must neither loop nor list a table twice; a linked folder is listed.
    ASSERT_EQ(symlink(root_.fn_str(), (root_ + "/site/loop").fn_str()), 0);
    const wxString outside = root_ + "-linked";
    ASSERT_TRUE(wxMkdir(outside));
    std::ofstream((outside + "/linked.ctb").fn_str()) << "x";
    ASSERT_EQ(symlink(outside.fn_str(), (root_ + "/site/link").fn_str()), 0);

    wxArrayString files;
    files.Add("kept first");
    // ".stb" is a hidden file without extension, not a table.
    EXPECT_EQ(getPlotStyleFiles(files), 6u) << "old entries count too";
    ASSERT_EQ(files[0], "kept first");
    std::vector<wxString> listed(files.begin() + 1, files.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<wxString>{"A.CTB", "b.Stb", "site/archive/old.ctb",
                                             "site/link/linked.ctb", "site/plan.stb"}));
    wxFileName::Rmdir(outside, wxPATH_RMDIR_RECURSIVE);
}

TEST_F(PlotStyleFolder, MissingFolderListsNothing) {
    wxArrayString files;
    for (const wxString& folder : {root_ + "/missing", touch("plain-file.ctb"), wxString()}) {
        ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", folder);
        EXPECT_EQ(getPlotStyleFiles(files), 0u) << folder;
    }
    EXPECT_TRUE(files.empty());
}
