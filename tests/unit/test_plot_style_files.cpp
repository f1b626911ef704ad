// Listing the table files of the configured plot style folder, by the plug-in's export and by
// pstyle list.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <wx/filefn.h>
#include <wx/filename.h>

#include <kesutils/ut_services.h>

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
        usePlotStylePath(folder);
        EXPECT_EQ(getPlotStyleFiles(files), 0u) << folder;
    }
    EXPECT_TRUE(files.empty());
}

TEST_F(PlotStyleFolder, PstyleListPrintsWhatThePlugInLists) {
    for (const char* name :
         {"b.ctb", "A.stb", "site/plan.ctb", "site/old/x.STB", "z/empty.txt", "Größe.ctb"}) {
        touch(wxString::FromUTF8(name));
    }
    wxArrayString files;
    ASSERT_EQ(getPlotStyleFiles(files), 5u);
    // The program sorts what the plug-in offers in the file system's order.
    files.Sort();
    EXPECT_EQ(std::vector<wxString>(files.begin(), files.end()),
              (std::vector<wxString>{"A.stb", wxString::FromUTF8("Größe.ctb"), "b.ctb",
                                     "site/old/x.STB", "site/plan.ctb"}));

    const std::string command =
        "'" PSTYLE_PROGRAM "' --plot-style-path '" + std::string(root_.utf8_str()) + "' list";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::string printed;
    char buffer[4096];
    for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        printed.append(buffer, read);
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(printed, "A.stb\nb.ctb\nGröße.ctb\nsite/old/x.STB\nsite/plan.ctb\n");
}
