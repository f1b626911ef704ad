#include "psl_plot_style_files.h"

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <wx/filefn.h>

#include <kesutils/ut_services.h>

#include "psl_table_files.h"

namespace {

// Collects the table files below the plot style folder, by their paths relative to it, so
// that a name from a subfolder (site/plan.ctb) opens when joined to the folder again. Each
// folder is read once; the entry types spare a stat call for everything but links. A folder's
// subfolders come before its own files, each in the order the file system gives them.
class PlotStyleLister {
public:
    explicit PlotStyleLister(wxArrayString& files) : files_(files) {}

    void listFolder(const std::string& path, const wxString& relativePath) {
        std::vector<std::string> subfolders;
        std::vector<wxString> tables;
        if (!readFolder(path, subfolders, tables)) {
            return;
        }
        for (const std::string& subfolder : subfolders) {
            const wxString name(subfolder.c_str(), *wxConvFileName);
            if (!name.empty()) {
                listFolder(path + '/' + subfolder, relativePath + name + '/');
            }
        }
        for (const wxString& table : tables) {
            files_.Add(relativePath + table);
        }
    }

private:
    // False for a folder that cannot be read or was read before: a folder reached twice through
    // links would be listed twice, or forever.
    bool readFolder(const std::string& path, std::vector<std::string>& subfolders,
                    std::vector<wxString>& tables) {
        const int folderHandle = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderHandle < 0) {
            return false;
        }
        struct stat folder;
        DIR* entries = nullptr;
        if (fstat(folderHandle, &folder) != 0 ||
            !visited_.emplace(folder.st_dev, folder.st_ino).second ||
            !(entries = fdopendir(folderHandle))) {
            close(folderHandle);
            return false;
        }
        while (const dirent* entry = readdir(entries)) {
            const char* name = entry->d_name;
            if (isSelfOrParent(name)) {
                continue;
            }
            if (isFolder(folderHandle, *entry)) {
                subfolders.emplace_back(name);
            } else {
                wxString fileName(name, *wxConvFileName);
                if (isPlotStyleTableName(fileName)) {
                    tables.push_back(std::move(fileName));
                }
            }
        }
        closedir(entries);
        return true;
    }

    static bool isSelfOrParent(const char* name) {
        return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
    }

    // Links are followed: one to a folder is a folder, a broken one a file.
    static bool isFolder(int folderHandle, const dirent& entry) {
        if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
            return entry.d_type == DT_DIR;
        }
        struct stat target;
        return fstatat(folderHandle, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
    }

    wxArrayString& files_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

} // namespace

wxString configuredPlotStyleFolder() {
    return ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath");
}

bool listPlotStyleFiles(const wxString& folder, wxArrayString& files) {
    if (!wxDirExists(folder)) {
        return false;
    }
    PlotStyleLister(files).listFolder(std::string(folder.fn_str()), wxString());
    return true;
}
