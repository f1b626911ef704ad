// The library's exported functions that open the editor directly and list the table files.
#include "pstyle_lib.h"

#include <climits>
#include <cstdlib>
#include <set>

#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/filename.h>

#include <kesutils/ut_services.h>

#include "psl_dlg_plot_style_editor.h"
#include "psl_resources.h"
#include "psl_table_files.h"

namespace {

// Collects the table files below the plot style folder, by their paths relative to it, so
// that a name from a subfolder (site/plan.ctb) opens when joined to the folder again.
class PlotStyleTraverser : public wxDirTraverser {
public:
    PlotStyleTraverser(wxArrayString& files, const wxString& root)
        : files_(files), root_(root), visited_{realPath(root)} {}

    wxDirTraverseResult OnFile(const wxString& path) override {
        wxFileName file(path);
        if (isPlotStyleTableFile(file)) {
            file.MakeRelativeTo(root_);
            files_.Add(file.GetFullPath());
        }
        return wxDIR_CONTINUE;
    }

    // A folder reached twice through links would be listed twice, or forever.
    wxDirTraverseResult OnDir(const wxString& path) override {
        return visited_.insert(realPath(path)).second ? wxDIR_CONTINUE : wxDIR_IGNORE;
    }

private:
    static wxString realPath(const wxString& path) {
        char resolved[PATH_MAX];
        return realpath(path.fn_str(), resolved) ? wxString(resolved, *wxConvFileName) : path;
    }

    wxArrayString& files_;
    wxString root_;
    std::set<wxString> visited_;
};

} // namespace

bool editPlotStyleTable(const wxString& fileName, wxWindow* parent) {
    return editPlotStyleTable(fileName, wxString(), parent);
}

bool editPlotStyleTable(const wxString& fileName, const wxString& sourceFileName,
                        wxWindow* parent) {
    ensureResources();
    DlgPlotStyleEditor editor(fileName, sourceFileName, parent);
    return editor.ShowModal() == wxID_OK;
}

std::size_t getPlotStyleFiles(wxArrayString& files) {
    const wxString folder = ut::getString(ut::ECfgGroup::PlotSettings, "PlotStylePath");
    if (!wxDirExists(folder)) {
        return 0;
    }
    PlotStyleTraverser traverser(files, folder);
    wxDir dir(folder);
    dir.Traverse(traverser, wxString(), wxDIR_FILES | wxDIR_DIRS | wxDIR_HIDDEN);
    return files.size();
}
