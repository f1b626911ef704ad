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

#include <kesutils/ut_services.h>

#include "psl_file_names.h"
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
            listFolder(path + '/' + subfolder, relativePath + fileNameFromBytes(subfolder) + '/');
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
            const EntryKind kind = kindOf(folderHandle, *entry);
            if (kind == EntryKind::folder) {
                subfolders.emplace_back(name);
            } else if (kind == EntryKind::regularFile) {
                wxString fileName = fileNameFromBytes(name);
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

    enum class EntryKind { folder, regularFile, other };

    // Links are followed; a dangling one, a FIFO, a socket or a device is no table to open.
    static EntryKind kindOf(int folderHandle, const dirent& entry) {
        if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
            return entry.d_type == DT_DIR   ? EntryKind::folder
                   : entry.d_type == DT_REG ? EntryKind::regularFile
                                            : EntryKind::other;
        }
        struct stat target;
        if (fstatat(folderHandle, entry.d_name, &target, 0) != 0) {
            return EntryKind::other;
        }
        return S_ISDIR(target.st_mode)   ? EntryKind::folder
               : S_ISREG(target.st_mode) ? EntryKind::regularFile
                                         : EntryKind::other;
    }

    wxArrayString& files_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

} // namespace

wxString configuredPlotStyleFolder() {
    return ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath");
}

bool listPlotStyleFiles(const wxString& folder, wxArrayString& files) {
    const std::string path = fileNameToBytes(folder);
    struct stat status;
    if (stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return false;
    }
    PlotStyleLister(files).listFolder(path, wxString());
    return true;
}
