// The library's five exported functions: the entry points a host binds to.
#include "pstyle_lib.h"

#include <kesutils/ut_services.h>

#include "psl_dlg_new_table.h"
#include "psl_dlg_plot_style_editor.h"
#include "psl_dlg_select_table.h"
#include "psl_plot_style_files.h"
#include "psl_resources.h"

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
    return listPlotStyleFiles(configuredPlotStyleFolder(), files) ? files.size() : 0;
}

bool startPlotStyleEditor(wxWindow* parent) {
    ensureResources();
    DlgSelectTable dialog;
    ut::loadDialog(&dialog, parent, "DlgSelectTable");
    return dialog.ShowModal() == wxID_OK;
}

bool newPlotStyleTable(wxString& tableName, bool colorDependent, const wxString& directory,
                       wxWindow* parent) {
    ensureResources();
    tableName.clear();
    DlgNewTable dialog(colorDependent, directory);
    ut::loadDialog(&dialog, parent, "DlgNewTable");
    const bool accepted = dialog.ShowModal() == wxID_OK;
    if (accepted && dialog.usesTableInDrawing()) {
        tableName = dialog.newTableFileName().GetFullName();
    }
    return accepted;
}
