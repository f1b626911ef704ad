// The plot style plug-in, libpstyle_lib.so, loaded at run time and bound to its five entry points
// by name, as a CAD application binds it.
#pragma once

#include <cstddef>
#include <string>

#include <wx/arrstr.h>
#include <wx/string.h>

#include "program_module.h"

class wxWindow;

struct PlotStyleEntryPoints {
    bool (*editPlotStyleTable)(const wxString& fileName, wxWindow* parent) = nullptr;
    bool (*editPlotStyleTableFrom)(const wxString& fileName, const wxString& sourceFileName,
                                   wxWindow* parent) = nullptr;
    std::size_t (*getPlotStyleFiles)(wxArrayString& files) = nullptr;
    bool (*startPlotStyleEditor)(wxWindow* parent) = nullptr;
    bool (*newPlotStyleTable)(wxString& tableName, bool colorDependent, const wxString& directory,
                              wxWindow* parent) = nullptr;
};

class PlotStylePlugIn {
public:
    // Loads the plug-in from the program's library folder and finds all five entry points; a
    // plug-in that lacks one is not used at all.
    explicit PlotStylePlugIn(const char* programPath);

    bool loaded() const { return loaded_; }
    // Why the plug-in or one of its entry points could not be found.
    const std::string& error() const { return module_.error(); }
    const PlotStyleEntryPoints& entryPoints() const { return entryPoints_; }

private:
    ProgramModule module_;
    PlotStyleEntryPoints entryPoints_;
    bool loaded_ = false;
};
