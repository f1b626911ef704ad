// Finding the file that a path names one component at a time, relative to opened folders, so
// that no link swapped in meanwhile can redirect what follows.
#pragma once

#include <string>

#include <sys/stat.h>

#include "descriptor.h"
#include "safe_file.h"

namespace safefile {

struct ResolvedTarget {
    Descriptor folder; // holds the target; open for reading where the user may read it
    struct stat folderStatus {};
    std::string folderPath; // after links, as a user would write it; empty for the working folder
    std::string name;       // the target's entry in folder
    TargetKind kind = TargetKind::newFile;
    struct stat status {}; // the target's, when it exists
    Descriptor reached;    // a stream reached through a descriptor link of /proc (/dev/stdout)

    std::string path() const;
    std::string shownFolder() const;
};

// folder/name, with an empty folder for the working folder.
std::string joinedPath(const std::string& folder, const std::string& name);

// Follows path's links where the protected-symlinks rule would. Refuses a link it may not follow,
// a dangling link, and a target that is a folder or neither a regular file nor a stream.
bool resolveTarget(const std::string& path, ResolvedTarget& target, Failure& failure);

} // namespace safefile
