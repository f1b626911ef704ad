#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "extended_attributes.h"
#include "fail.h"
#include "own_locks.h"
#include "resolve_target.h"
#include "temporary_files.h"

namespace safefile {

namespace {

using Clock = std::chrono::steady_clock;

bool isSameFile(const struct stat& left, const struct stat& right) {
    return left.st_dev == right.st_dev && left.st_ino == right.st_ino;
}

// Writes bytes into a file from offset at, or into a stream when at is negative.
bool writeAll(int descriptor, std::string_view bytes, off_t at) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const char* data = bytes.data() + written;
        const std::size_t size = bytes.size() - written;
        const ssize_t result = at < 0 ? ::write(descriptor, data, size)
                                      : pwrite(descriptor, data, size, at + off_t(written));
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            errno = result == 0 ? EIO : errno;
            return false;
        }
        written += std::size_t(result);
    }
    return true;
}

// Makes to hold what from holds.
bool copyContent(int from, int to) {
    std::vector<char> buffer(65536);
    off_t offset = 0;
    for (;;) {
        const ssize_t result = pread(from, buffer.data(), buffer.size(), offset);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0) {
            return false;
        }
        if (result == 0) {
            return ftruncate(to, offset) == 0;
        }
        if (!writeAll(to, std::string_view(buffer.data(), std::size_t(result)), offset)) {
            return false;
        }
        offset += result;
    }
}

// The file that target names, as found by resolution and opened for reading.
struct Prepared {
    ResolvedTarget target;
    Descriptor existing;       // holds the lock when the write took it itself
    bool underOwnLock = false; // this process locked it before the write
};

enum class Step { ready, retry, failed };

bool mayWrite(const ResolvedTarget& target, Failure& failure) {
    // A set-user-ID program asks for the user it acts as.
    const int asEffective = geteuid() == getuid() && getegid() == getgid() ? 0 : AT_EACCESS;
    // The system lets root write anything; a file without any write bit was made read-only on
    // purpose.
    if (target.kind == TargetKind::regularFile && geteuid() == 0 &&
        (target.status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return fail(failure, Problem::readOnly, target.path(), "", EACCES);
    }
    if (target.kind != TargetKind::newFile && !target.reached &&
        faccessat(target.folder.get(), target.name.c_str(), W_OK, asEffective) != 0) {
        return fail(failure, Problem::readOnly, target.path(), "", errno);
    }
    // Both a replacement and a backup copy are made in the folder.
    if (target.kind != TargetKind::stream &&
        faccessat(target.folder.get(), ".", W_OK | X_OK, asEffective) != 0) {
        return fail(failure, Problem::readOnly, target.shownFolder(), "", errno);
    }
    return true;
}

// Resolves path and checks what it names; with a deadline, also locks it unless this process
// holds its lock already.
Step prepare(const std::string& path, const WriteOptions& options,
             const Clock::time_point* deadline, Prepared& prepared, Failure& failure) {
    ResolvedTarget& target = prepared.target;
    if (!resolveTarget(path, target, failure)) {
        return Step::failed;
    }
    const OwnLock own = ownLockOf(target);
    if (own == OwnLock::changed) {
        fail(failure, Problem::changed, target.path(), "", ESTALE);
        return Step::failed;
    }
    prepared.underOwnLock = own == OwnLock::held;
    if (!mayWrite(target, failure)) {
        return Step::failed;
    }
    if (target.kind == TargetKind::regularFile) {
        prepared.existing =
            Descriptor(openat(target.folder.get(), target.name.c_str(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat status {};
        if (!prepared.existing || fstat(prepared.existing.get(), &status) != 0) {
            failCall(failure, "read " + target.path());
            return Step::failed;
        }
        if (!isSameFile(status, target.status)) {
            return Step::retry;
        }
        if (deadline && !prepared.underOwnLock) {
            if (!waitForLock(prepared.existing, *deadline)) {
                if (errno == EWOULDBLOCK) {
                    fail(failure, Problem::locked, target.path(),
                         describePatience(options.lockPatience), EWOULDBLOCK);
                } else {
                    failCall(failure, "lock " + target.path());
                }
                return Step::failed;
            }
            // The lock came after another program replaced the file: lock the new one.
            if (!stillNames(target, status)) {
                return Step::retry;
            }
        }
    }
    if (options.checkKind) {
        const std::string reason = options.checkKind(WriteTarget{
            target.path(), target.kind, prepared.existing ? prepared.existing.get() : -1});
        if (!reason.empty()) {
            fail(failure, Problem::wrongKind, target.path(), reason, EINVAL);
            return Step::failed;
        }
    }
    return Step::ready;
}

bool writeStream(const ResolvedTarget& target, std::string_view bytes, Failure& failure) {
    // A FIFO without a reader waits for one, as a shell's redirection does.
    Descriptor out(target.reached ? ::open(reopenPath(target.reached.get()).c_str(),
                                           O_WRONLY | O_NOCTTY | O_CLOEXEC)
                                  : openat(target.folder.get(), target.name.c_str(),
                                           O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!out || fstat(out.get(), &status) != 0) {
        return failCall(failure, "open " + target.path());
    }
    if (!isSameFile(status, target.status)) {
        return fail(failure, Problem::changed, target.path(), "", ESTALE);
    }
    // A descriptor that names a regular file (/dev/stdout > file) is written from its start.
    if (S_ISREG(status.st_mode) && ftruncate(out.get(), 0) != 0) {
        return failCall(failure, "write " + target.path());
    }
    if (!writeAll(out.get(), bytes, S_ISREG(status.st_mode) ? 0 : -1) || !out.close()) {
        return failCall(failure, "write " + target.path());
    }
    return true;
}

// Removes a sibling file that failed, keeping the cause in errno.
void discard(const ResolvedTarget& target, SiblingFile& sibling) {
    const int cause = errno;
    sibling.descriptor.reset();
    unlinkat(target.folder.get(), sibling.name.c_str(), 0);
    errno = cause;
}

// A backup copy goes first, so that a crash leaves one complete copy; a failed write puts the old
// content back.
bool writeInPlace(const Prepared& prepared, std::string_view bytes, Failure& failure) {
    const ResolvedTarget& target = prepared.target;
    const std::string path = target.path();
    SiblingFile backup;
    if (!createSibling(target, kBackupSuffix, S_IRUSR | S_IWUSR, backup, failure)) {
        return false;
    }
    if (!copyContent(prepared.existing.get(), backup.descriptor.get()) ||
        fsync(backup.descriptor.get()) != 0) {
        failCall(failure, "make a backup copy of " + path);
        discard(target, backup);
        return false;
    }
    fsync(target.folder.get());
    Descriptor out(openat(target.folder.get(), target.name.c_str(),
                          O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!out || fstat(out.get(), &status) != 0) {
        failCall(failure, "open " + path);
        discard(target, backup);
        return false;
    }
    if (!isSameFile(status, target.status)) {
        fail(failure, Problem::changed, path, "", ESTALE);
        discard(target, backup);
        return false;
    }
    const off_t size = off_t(bytes.size());
    // Room first where the file system can promise it, so that a full disk stops the write
    // before it has changed a byte.
    const bool reserved = fallocate(out.get(), FALLOC_FL_KEEP_SIZE, 0, size) == 0 ||
                          errno == EOPNOTSUPP || errno == ENOSYS;
    if (reserved && writeAll(out.get(), bytes, 0) && ftruncate(out.get(), size) == 0 &&
        fsync(out.get()) == 0) {
        discard(target, backup);
        return true;
    }
    failCall(failure, "write " + path);
    if (copyContent(backup.descriptor.get(), out.get()) && fsync(out.get()) == 0) {
        discard(target, backup);
    } else {
        failure.detail +=
            " (the old content is kept in " + joinedPath(target.folderPath, backup.name) + ")";
    }
    errno = failure.error;
    return false;
}

enum class Replaced { done, notKept, failed };

// Gives the temporary file the owner, group, ACL, attributes and mode of the file it replaces;
// notKept when the system does not let this user.
Replaced keepAttributes(const Prepared& prepared, int temporary, Failure& failure) {
    const struct stat& old = prepared.target.status;
    struct stat fresh {};
    if (fstat(temporary, &fresh) != 0) {
        failCall(failure, "create a file in " + prepared.target.shownFolder());
        return Replaced::failed;
    }
    const uid_t owner = old.st_uid == fresh.st_uid ? uid_t(-1) : old.st_uid;
    const gid_t group = old.st_gid == fresh.st_gid ? gid_t(-1) : old.st_gid;
    // Owner first: a change of owner clears the set-ID bits that the mode then puts back.
    if ((owner != uid_t(-1) || group != gid_t(-1)) && fchown(temporary, owner, group) != 0) {
        if (errno == EPERM) {
            return Replaced::notKept;
        }
        failCall(failure, "give the new " + prepared.target.path() + " its owner");
        return Replaced::failed;
    }
    if (!copyExtendedAttributes(prepared.existing.get(), temporary, prepared.target.path(),
                                failure)) {
        return Replaced::failed;
    }
    // The system drops a set-group-ID bit that this user may not set.
    if (fchmod(temporary, old.st_mode & 07777) != 0 || fstat(temporary, &fresh) != 0) {
        failCall(failure, "give the new " + prepared.target.path() + " its permissions");
        return Replaced::failed;
    }
    return (fresh.st_mode & 07777) == (old.st_mode & 07777) ? Replaced::done : Replaced::notKept;
}

// Writes a temporary file, flushes it and renames it over the target, so that the target is the
// old file or the new one at every moment.
Replaced replaceByRename(Prepared& prepared, std::string_view bytes, Failure& failure) {
    const ResolvedTarget& target = prepared.target;
    const bool exists = target.kind == TargetKind::regularFile;
    SiblingFile temporary;
    const mode_t mode = exists ? S_IRUSR | S_IWUSR : 0666;
    if (!createSibling(target, kTemporarySuffix, mode, temporary, failure)) {
        return Replaced::failed;
    }
    const int file = temporary.descriptor.get();
    const Replaced kept = exists ? keepAttributes(prepared, file, failure) : Replaced::done;
    if (kept != Replaced::done) {
        discard(target, temporary);
        return kept;
    }
    struct stat status {};
    bool written = writeAll(file, bytes, 0) && fsync(file) == 0;
    if (written && prepared.underOwnLock) {
        // The lock this process holds moves on to the new file with the rename.
        written = flock(file, LOCK_EX | LOCK_NB) == 0 && fstat(file, &status) == 0;
    } else if (written) {
        written = temporary.descriptor.close();
    }
    if (!written) {
        failCall(failure, "write " + target.path());
        discard(target, temporary);
        return Replaced::failed;
    }
    if (renameat(target.folder.get(), temporary.name.c_str(), target.folder.get(),
                 target.name.c_str()) != 0) {
        failCall(failure, "replace " + target.path());
        discard(target, temporary);
        return Replaced::failed;
    }
    if (prepared.underOwnLock) {
        moveOwnLock(target, std::move(temporary.descriptor), status);
    }
    // The rename reaches the disk with the folder.
    fsync(target.folder.get());
    return Replaced::done;
}

// Renaming keeps a file whole for readers; only when it cannot keep everything the old file had
// (another owner, a group this user is not in, other hard links) is the file written in place.
bool writeFileOrStream(Prepared& prepared, std::string_view bytes, Failure& failure) {
    const ResolvedTarget& target = prepared.target;
    if (target.kind == TargetKind::stream) {
        return writeStream(target, bytes, failure);
    }
    const bool renamable =
        target.kind == TargetKind::newFile ||
        (target.status.st_nlink == 1 && (geteuid() == 0 || target.status.st_uid == geteuid()));
    const Replaced replaced =
        renamable ? replaceByRename(prepared, bytes, failure) : Replaced::notKept;
    if (replaced == Replaced::notKept) {
        return writeInPlace(prepared, bytes, failure);
    }
    return replaced == Replaced::done;
}

bool commit(Prepared& prepared, std::string_view bytes, Failure& failure) {
    const std::vector<std::string> staleBackups = prepared.target.kind == TargetKind::stream
                                                      ? std::vector<std::string>()
                                                      : removeLeftovers(prepared.target);
    if (!writeFileOrStream(prepared, bytes, failure)) {
        return false;
    }
    for (const std::string& backup : staleBackups) {
        unlinkat(prepared.target.folder.get(), backup.c_str(), 0);
    }
    return true;
}

} // namespace

bool writeFile(const std::string& path, std::string_view bytes, const WriteOptions& options,
               Failure& failure) {
    failure = Failure();
    const Clock::time_point deadline = Clock::now() + options.lockPatience;
    for (;;) {
        Prepared prepared;
        const Step step = prepare(path, options, &deadline, prepared, failure);
        if (step == Step::ready) {
            if (commit(prepared, bytes, failure)) {
                return true;
            }
            errno = failure.error;
            return false;
        }
        if (step == Step::failed) {
            errno = failure.error;
            return false;
        }
        if (Clock::now() >= deadline) {
            return fail(failure, Problem::changed, path, "", ESTALE);
        }
    }
}

bool checkWriteTarget(const std::string& path, const WriteOptions& options, Failure& failure) {
    failure = Failure();
    for (int attempt = 0; attempt < 3; ++attempt) {
        Prepared prepared;
        const Step step = prepare(path, options, nullptr, prepared, failure);
        if (step != Step::retry) {
            return step == Step::ready;
        }
    }
    return fail(failure, Problem::changed, path, "", ESTALE);
}

} // namespace safefile
