#include "plot_style_plugin.h"

namespace {

const char* const kPlugInFile = "libpstyle_lib.so";

// The entry points by the names the linker gives them: C++ names, mangled as g++ and clang do on
// Linux. unit_plugin_exports checks that the plug-in defines exactly these five functions.
const char* const kEditPlotStyleTable = "_Z18editPlotStyleTableRK8wxStringP8wxWindow";
const char* const kEditPlotStyleTableFrom = "_Z18editPlotStyleTableRK8wxStringS1_P8wxWindow";
const char* const kGetPlotStyleFiles = "_Z17getPlotStyleFilesR13wxArrayString";
const char* const kStartPlotStyleEditor = "_Z20startPlotStyleEditorP8wxWindow";
const char* const kNewPlotStyleTable = "_Z17newPlotStyleTableR8wxStringbRKS_P8wxWindow";

template <typename Function>
bool bind(ProgramModule& module, const char* symbol, Function*& entry) {
    entry = module.find<Function>(symbol);
    return entry != nullptr;
}

} // namespace

PlotStylePlugIn::PlotStylePlugIn(const char* programPath) : module_(kPlugInFile, programPath) {
    PlotStyleEntryPoints& entries = entryPoints_;
    loaded_ = module_.loaded() && bind(module_, kEditPlotStyleTable, entries.editPlotStyleTable) &&
              bind(module_, kEditPlotStyleTableFrom, entries.editPlotStyleTableFrom) &&
              bind(module_, kGetPlotStyleFiles, entries.getPlotStyleFiles) &&
              bind(module_, kStartPlotStyleEditor, entries.startPlotStyleEditor) &&
              bind(module_, kNewPlotStyleTable, entries.newPlotStyleTable);
}
