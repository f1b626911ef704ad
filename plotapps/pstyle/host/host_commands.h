// The commands of the pstyle program, each run with the arguments that follow its name. The
// program's command table (pstyle_main.cpp) says which of them need the plot style folder and
// which open windows.
#pragma once

#include <string>
#include <vector>

#include "command_support.h"

// Commands without a window: they run on the core and need no display.
int runList(const std::vector<std::string>& args);
int runExport(const std::vector<std::string>& args);
int runCopy(const std::vector<std::string>& args);
int runDiff(const std::vector<std::string>& args);
int runSet(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runSheet(const std::vector<std::string>& args);
int runPlot(const std::vector<std::string>& args);
int runCheck(const std::vector<std::string>& args);

// Commands with a window: they check their arguments, then look for a display, and only then
// load the program's GUI module to show the plug-in's dialogs. runSelection is the program run
// without a command.
int runSelection(const std::vector<std::string>& args);
int runEdit(const std::vector<std::string>& args);
int runNew(const std::vector<std::string>& args);
int runSnapshot(const std::vector<std::string>& args);
