// pstyle plot: the command lives in the program's plot module, which only this command loads.
#include "host_commands.h"
#include "plot/plot_module.h"
#include "program_files.h"
#include "program_module.h"

int runPlot(const std::vector<std::string>& args) {
    ProgramModule plotter(kPlotModuleFile, programPath());
    auto* run = plotter.find<RunPlotCommand>(kRunPlotCommandSymbol);
    if (!run) {
        return fileError("the program's plot module", plotter.error());
    }
    return run(args, programPath());
}
