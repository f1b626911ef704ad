// The commands of the pstyle program.
#pragma once

#include <string>
#include <vector>

enum ExitStatus { kExitSuccess = 0, kExitCancelled = 1, kExitFailure = 2 };

// Prints "pstyle: message" and a hint to --help; returns kExitFailure.
int usageError(const std::string& message);
// Prints "pstyle: file: cause"; returns kExitFailure.
int fileError(const std::string& file, const std::string& cause);

int runExport(const std::vector<std::string>& args);
int runCopy(const std::vector<std::string>& args);
