// Temporary files and backup copies beside the file they stand in for, named after it, the host
// and the process (".plan.ctb~HOST~PID~N.tmp"), so that a later save can tell a dead process's
// leftovers from those of a save still running, here or on another host sharing the folder.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

#include "descriptor.h"
#include "resolve_target.h"

namespace safefile {

struct SiblingFile {
    Descriptor descriptor; // open for reading and writing
    std::string name;      // its entry in the target's folder
};

// A new file with a name of its own beside target, with mode (less the umask).
bool createSibling(const ResolvedTarget& target, const char* suffix, mode_t mode,
                   SiblingFile& sibling, Failure& failure);

inline constexpr char kTemporarySuffix[] = ".tmp";
inline constexpr char kBackupSuffix[] = ".bak";

// Removes the temporary files that this host's dead processes left in the target's folder, and
// those of any host that are older than an hour. Returns the backup copies of the target that
// such saves left: they are the only complete copy after a crash until a save of it succeeds.
std::vector<std::string> removeLeftovers(const ResolvedTarget& target);

} // namespace safefile
