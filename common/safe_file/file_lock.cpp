#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "fail.h"
#include "own_locks.h"

namespace safefile {

namespace {

using Clock = std::chrono::steady_clock;

// A folder entry: where a lock was taken.
struct Location {
    dev_t folderDevice;
    ino_t folderInode;
    std::string name;

    bool operator<(const Location& other) const {
        return std::tie(folderDevice, folderInode, name) <
               std::tie(other.folderDevice, other.folderInode, other.name);
    }
};

Location locationOf(const ResolvedTarget& target) {
    return {target.folderStatus.st_dev, target.folderStatus.st_ino, target.name};
}

bool isSameFile(const LockedFile& locked, const struct stat& status) {
    return locked.exists && locked.device == status.st_dev && locked.inode == status.st_ino;
}

// The locks of this process by where they were taken; a lock goes when its last FileLock does.
class OwnLocks {
public:
    void add(const Location& location, const std::shared_ptr<LockedFile>& locked) {
        std::lock_guard<std::mutex> guard(mutex_);
        prune();
        locks_[location] = locked;
    }

    OwnLock find(const ResolvedTarget& target) {
        std::lock_guard<std::mutex> guard(mutex_);
        prune();
        const bool exists = target.kind == TargetKind::regularFile;
        const auto taken = locks_.find(locationOf(target));
        if (taken != locks_.end()) {
            const std::shared_ptr<LockedFile> locked = taken->second.lock();
            if (locked) {
                const bool same = exists ? isSameFile(*locked, target.status) : !locked->exists;
                return same ? OwnLock::held : OwnLock::changed;
            }
        }
        // The same file may have been locked under another name.
        for (const auto& [location, weak] : locks_) {
            const std::shared_ptr<LockedFile> locked = weak.lock();
            if (exists && locked && isSameFile(*locked, target.status)) {
                return OwnLock::held;
            }
        }
        return OwnLock::none;
    }

    void move(const ResolvedTarget& target, Descriptor descriptor, const struct stat& status) {
        std::lock_guard<std::mutex> guard(mutex_);
        const auto taken = locks_.find(locationOf(target));
        const std::shared_ptr<LockedFile> locked =
            taken == locks_.end() ? nullptr : taken->second.lock();
        if (locked) {
            locked->exists = true;
            locked->device = status.st_dev;
            locked->inode = status.st_ino;
            locked->descriptor = std::move(descriptor);
        }
    }

private:
    void prune() {
        for (auto lock = locks_.begin(); lock != locks_.end();) {
            lock = lock->second.expired() ? locks_.erase(lock) : std::next(lock);
        }
    }

    std::mutex mutex_;
    std::map<Location, std::weak_ptr<LockedFile>> locks_;
};

OwnLocks& ownLocks() {
    static OwnLocks locks;
    return locks;
}

// A path to lock, resolved and, when it names a regular file, opened.
struct Candidate {
    ResolvedTarget target;
    std::shared_ptr<LockedFile> locked;
};

enum class Attempt { locked, retry, failed };

Attempt lockAll(const std::vector<std::string>& paths, std::chrono::milliseconds patience,
                Clock::time_point deadline, std::vector<Candidate>& candidates, Failure& failure) {
    candidates.clear();
    std::map<std::pair<dev_t, ino_t>, std::shared_ptr<LockedFile>> files;
    for (const std::string& path : paths) {
        Candidate candidate;
        if (!resolveTarget(path, candidate.target, failure)) {
            return Attempt::failed;
        }
        const ResolvedTarget& target = candidate.target;
        candidate.locked = std::make_shared<LockedFile>();
        if (target.kind == TargetKind::regularFile) {
            std::shared_ptr<LockedFile>& file = files[{target.status.st_dev, target.status.st_ino}];
            if (!file) {
                file = candidate.locked;
                file->exists = true;
                file->device = target.status.st_dev;
                file->inode = target.status.st_ino;
                file->descriptor =
                    Descriptor(openat(target.folder.get(), target.name.c_str(),
                                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
                if (!file->descriptor) {
                    failCall(failure, "open " + target.path());
                    return Attempt::failed;
                }
            }
            candidate.locked = file;
        }
        candidates.push_back(std::move(candidate));
    }
    // The map holds the files in the order of device and inode: the order everybody locks in.
    for (const auto& identityAndFile : files) {
        const std::shared_ptr<LockedFile>& file = identityAndFile.second;
        if (!waitForLock(file->descriptor, deadline)) {
            const auto named = std::find_if(candidates.begin(), candidates.end(),
                                            [&](const Candidate& c) { return c.locked == file; });
            const std::string path = named->target.path();
            if (errno == EWOULDBLOCK) {
                fail(failure, Problem::locked, path, describePatience(patience), EWOULDBLOCK);
            } else {
                failCall(failure, "lock " + path);
            }
            return Attempt::failed;
        }
    }
    for (const Candidate& candidate : candidates) {
        const bool missing = candidate.target.kind == TargetKind::newFile;
        struct stat status {};
        const bool found = fstatat(candidate.target.folder.get(), candidate.target.name.c_str(),
                                   &status, AT_SYMLINK_NOFOLLOW) == 0;
        const bool same = missing ? !found && errno == ENOENT
                                  : candidate.target.kind != TargetKind::regularFile ||
                                        (found && isSameFile(*candidate.locked, status));
        if (!same) {
            return Attempt::retry;
        }
    }
    return Attempt::locked;
}

} // namespace

bool lockFiles(const std::vector<std::string>& paths, std::chrono::milliseconds patience,
               std::vector<FileLock>& locks, Failure& failure) {
    locks.clear();
    const Clock::time_point deadline = Clock::now() + patience;
    std::vector<Candidate> candidates;
    for (;;) {
        const Attempt attempt = lockAll(paths, patience, deadline, candidates, failure);
        if (attempt == Attempt::failed) {
            return false;
        }
        if (attempt == Attempt::locked) {
            break;
        }
        // Another program replaced a file while we waited for its lock: lock the new one.
        if (Clock::now() >= deadline) {
            return fail(failure, Problem::locked, paths.front(), describePatience(patience),
                        EWOULDBLOCK);
        }
    }
    for (std::size_t index = 0; index < paths.size(); ++index) {
        const Candidate& candidate = candidates[index];
        if (candidate.target.kind != TargetKind::stream) {
            ownLocks().add(locationOf(candidate.target), candidate.locked);
        }
        locks.emplace_back(candidate.locked);
    }
    return true;
}

OwnLock ownLockOf(const ResolvedTarget& target) {
    return ownLocks().find(target);
}

void moveOwnLock(const ResolvedTarget& target, Descriptor descriptor, const struct stat& status) {
    ownLocks().move(target, std::move(descriptor), status);
}

bool waitForLock(Descriptor& descriptor, Clock::time_point deadline) {
    std::chrono::milliseconds pause(1);
    for (;;) {
        if (flock(descriptor.get(), LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) {
            return true;
        }
        if (errno == EBADF && (fcntl(descriptor.get(), F_GETFL) & O_ACCMODE) == O_RDONLY) {
            Descriptor writable(
                ::open(reopenPath(descriptor.get()).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
            if (!writable) {
                return false;
            }
            descriptor = std::move(writable);
            continue;
        }
        const Clock::time_point now = Clock::now();
        if (errno != EWOULDBLOCK || now >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

bool stillNames(const ResolvedTarget& target, const struct stat& status) {
    struct stat now {};
    return fstatat(target.folder.get(), target.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           now.st_dev == status.st_dev && now.st_ino == status.st_ino;
}

std::string describePatience(std::chrono::milliseconds patience) {
    const long long milliseconds = patience.count();
    return milliseconds % 1000 == 0 ? std::to_string(milliseconds / 1000) + " s"
                                    : std::to_string(milliseconds) + " ms";
}

} // namespace safefile
