// The names a new table may get, in the table selection and the new table dialog alike.
#include <fstream>

#include <gtest/gtest.h>

#include <wx/filefn.h>
#include <wx/filename.h>

#include "psl_table_files.h"
#include "unit_test_support.h"

namespace {

class NewTableNameTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        folder_ = wxString::FromUTF8(dir_);
        ASSERT_TRUE(wxMkdir(in("site")));
        std::ofstream(in("Plan.ctb").fn_str()) << "x";
        std::ofstream(in("notes").fn_str()) << "x";
    }
    wxString in(const wxString& name) const { return folder_ + "/" + name; }

    wxString folder_;
};

struct Case {
    NewTableReach reach;
    wxString extension;
    wxString name;
    wxString file;    // the file accepted
    wxString refusal; // or the refusal
};

} // namespace

// An absolute name is taken as typed, wherever it leads, and checked as a relative one is.
TEST_F(NewTableNameTest, GivesTheFileOrSaysWhyTheNameIsRefused) {
    const auto below = NewTableReach::subfolders;
    const auto here = NewTableReach::folder;
    const wxString elsewhere = folder_ + "-elsewhere";
    ASSERT_TRUE(wxMkdir(elsewhere));
    const wxString badName = "' is not a valid table name.";
    const wxString extension = "' is not valid for this type of plot style table.";
    const Case cases[] = {
        {below, "ctb", "plan", in("plan.ctb"), ""},
        {here, "stb", "Upper.STB", in("Upper.STB"), ""},
        {below, "ctb", "site/Plan", in("site/Plan.ctb"), ""},
        {below, "ctb", elsewhere + "/plan", elsewhere + "/plan.ctb", ""},
        {below, "stb", in("site/../x"), in("site/../x.stb"), ""},
        {below, "ctb", "Plan", "", "File 'Plan' exists already."},
        {here, "ctb", "Plan.ctb", "", "File 'Plan.ctb' exists already."},
        {below, "ctb", in("Plan"), "", "File '" + in("Plan") + "' exists already."},
        {below, "ctb", "Plan.stb", "", "Extension 'stb" + extension},
        {here, "stb", "Plan.", "", "Extension '" + extension},
        // Hidden files, names with blanks at an end and names that are no file's.
        {below, "ctb", ".ctb", "", "'.ctb" + badName},
        {here, "ctb", ".hidden", "", "'.hidden" + badName},
        {below, "ctb", "plan ", "", "'plan " + badName},
        {here, "stb", " plan", "", "' plan" + badName},
        {here, "stb", "  ", "", "'  " + badName},
        {below, "ctb", "site/", "", "'site/" + badName},
        {below, "ctb", elsewhere + "/", "", "'" + elsewhere + "/" + badName},
        {below, "ctb", elsewhere + "/   ", "", "'" + elsewhere + "/   " + badName},
        {below, "ctb", elsewhere + "/.ctb", "", "'" + elsewhere + "/.ctb" + badName},
        // A relative name stays below the folder; the new table dialog's stays in it.
        {below, "ctb", "../escape", "", "'../escape" + badName},
        {below, "ctb", "site/../../x", "", "'site/../../x" + badName},
        {here, "ctb", "site/plan", "", "'site/plan" + badName},
        {here, "ctb", elsewhere + "/plan", "", "'" + elsewhere + "/plan" + badName},
        // A folder the name leads into must exist; "~" is a folder's name like any other.
        {below, "ctb", "newsite/plan", "", "Folder '" + in("newsite") + "' does not exist."},
        {below, "ctb", "~/x", "", "Folder '" + in("~") + "' does not exist."},
        {below, "ctb", "notes/x", "", "Folder '" + in("notes") + "' does not exist."},
        {below, "ctb", elsewhere + "/new/x", "", "Folder '" + elsewhere + "/new' does not exist."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "[" << c.name << "]");
        const NewTableFile checked = checkNewTableName(c.name, folder_, c.extension, c.reach);
        EXPECT_EQ(checked.refusal, c.refusal);
        if (c.refusal.empty()) {
            EXPECT_EQ(checked.file.GetFullPath(), c.file);
        }
    }
    wxFileName::Rmdir(elsewhere, wxPATH_RMDIR_RECURSIVE);
}
