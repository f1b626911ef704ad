// The program's plot module, libpstyle_plotter.so: `pstyle plot` whole, from its arguments to
// the file it writes. It is the one part of the program that links the DXF reader, dxflib, which
// is under the GNU GPL version 2, so that only this command loads it and nothing that a host
// embeds ever links it.
#pragma once

#include <string>
#include <vector>

inline constexpr char kPlotModuleFile[] = "libpstyle_plotter.so";

// The module's one export: runs `pstyle plot` with the arguments that follow the command's name
// and returns the program's exit status. programPath is the path the program was started by,
// for finding the drawing module.
using RunPlotCommand = int(const std::vector<std::string>& args, const char* programPath);
inline constexpr char kRunPlotCommandSymbol[] = "pstyleRunPlotCommand";
