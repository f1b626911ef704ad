// The program's drawing module, libpstyle_sheet.so: `sheet` runs in it, so that only that command
// loads the libraries that draw images.
#pragma once

#include <string>
#include <vector>

inline constexpr char kSheetModuleFile[] = "libpstyle_sheet.so";

// Runs `pstyle sheet` with its arguments and returns the program's exit status.
using RunSheetCommand = int(const std::vector<std::string>& args);
inline constexpr char kRunSheetCommandSymbol[] = "pstyleRunSheetCommand";
