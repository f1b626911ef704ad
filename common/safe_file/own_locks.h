// The file locks this process holds, so that its own writes to a locked file go ahead, and the
// waiting for a lock that another program holds.
#pragma once

#include <chrono>

#include <sys/stat.h>
#include <sys/types.h>

#include "descriptor.h"
#include "resolve_target.h"

namespace safefile {

struct LockedFile {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    Descriptor descriptor; // holds the lock while the file exists
};

enum class OwnLock {
    none,
    held,
    changed, // held for target's path, which another program has replaced since
};
OwnLock ownLockOf(const ResolvedTarget& target);

// After a rename under this process's lock the new file, locked as descriptor, carries it on.
void moveOwnLock(const ResolvedTarget& target, Descriptor descriptor, const struct stat& status);

// Waits for the exclusive lock of the file open as descriptor until deadline; false with errno
// (EWOULDBLOCK when another program held it all along). Where the file system locks only files
// open for writing (NFS), descriptor is opened again for writing; where it has no locks at all,
// the file goes unlocked.
bool waitForLock(Descriptor& descriptor, std::chrono::steady_clock::time_point deadline);

// Whether the entry target names is still the file with status.
bool stillNames(const ResolvedTarget& target, const struct stat& status);

// "10 s", "250 ms": how long a lock was waited for.
std::string describePatience(std::chrono::milliseconds patience);

} // namespace safefile
