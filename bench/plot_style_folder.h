// A plot style folder as offices keep it on a shared drive: tables spread over subfolders of
// 100, a few other files between them, and a link back to the top that a listing must not
// follow twice. Listing looks at names only, so the tables are empty files. Becomes the
// configured plot style folder.
#pragma once

#include <fstream>

#include <unistd.h>

#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>

#include <kesutils/ut_services.h>

class PlotStyleFolder {
public:
    static constexpr int kTablesPerSubfolder = 100;

    explicit PlotStyleFolder(int tables) : path_(wxFileName::CreateTempFileName("pstyle-bench")) {
        wxRemoveFile(path_);
        wxMkdir(path_);
        for (int index = 0; index < tables; ++index) {
            const wxString subfolder =
                wxString::Format("%s/site-%03d", path_, index / kTablesPerSubfolder);
            if (index % kTablesPerSubfolder == 0) {
                wxMkdir(subfolder);
                std::ofstream((subfolder + "/readme.txt").fn_str());
                std::ofstream((subfolder + "/plan.ctb.bak").fn_str());
            }
            std::ofstream(wxString::Format("%s/table-%05d.ctb", subfolder, index).fn_str());
        }
        if (tables > 0 && symlink(path_.fn_str(), loopPath().fn_str()) != 0) {
            wxLogError("Cannot link back to %s", path_);
        }
        ut::setString(ut::ECfgGroup::PlotSettings, "PlotStylePath", path_);
    }
    ~PlotStyleFolder() {
        unlink(loopPath().fn_str());
        wxFileName::Rmdir(path_, wxPATH_RMDIR_RECURSIVE);
    }

    const wxString& path() const { return path_; }

    PlotStyleFolder(const PlotStyleFolder&) = delete;
    PlotStyleFolder& operator=(const PlotStyleFolder&) = delete;

private:
    wxString loopPath() const { return path_ + "/site-000/loop"; }

    wxString path_;
};
