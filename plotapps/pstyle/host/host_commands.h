// The commands of the pstyle program.
#pragma once

#include <string>
#include <vector>

enum ExitStatus { kExitSuccess = 0, kExitCancelled = 1, kExitFailure = 2 };

// Prints "pstyle: message" and a hint to --help; returns kExitFailure.
int usageError(const std::string& message);
// Prints "pstyle: file: cause"; returns kExitFailure.
int fileError(const std::string& file, const std::string& cause);

// Stores the plot style folder in the host configuration: folder, or when it is empty the
// sample folder next to the program.
void configurePlotStylePath(const std::string& folder, const char* programPath);

int runExport(const std::vector<std::string>& args);
int runCopy(const std::vector<std::string>& args);
int runList(const std::vector<std::string>& args);

// Commands that start the GUI toolkit; argc and argv go to the toolkit.
int runEdit(const std::vector<std::string>& args, int argc, char** argv);
int runSnapshot(const std::vector<std::string>& args, int argc, char** argv);
