// Reading, writing and locking files that users share: links followed only where they are safe
// to follow, permissions as the system grants them, replaced files that keep their owner, group,
// mode, ACLs and attributes, nothing left behind by a failed save, and read-modify-writes that
// two programs cannot interleave. Paths are byte strings as the system takes them.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>
#include <time.h>

namespace safefile {

// What went wrong, in parts that a caller can word in its own language; message() words it in
// English.
enum class Problem {
    none,
    systemCall,   // detail: what could not be done ("create a temporary file in FOLDER")
    unsafeLink,   // subject: a link in a shared sticky folder, made by someone else
    danglingLink, // subject: a link to a file that does not exist
    notAFile,     // subject: a folder, socket or device that cannot take the output
    wrongKind,    // subject: not what the caller writes; detail: the caller's reason
    readOnly,     // subject: the system does not let this user write it
    locked,       // subject: still locked by another program; detail: how long we waited
    changed,      // subject: replaced, created or deleted by another program under our lock
    tooLarge,     // subject: holds more than the reader takes; detail: the limit
};

struct Failure {
    Problem problem = Problem::none;
    std::string subject;
    std::string detail;
    int error = 0; // the system's cause, or one that fits the problem
    // One line naming the subject: "/tmp/plan.ctb is a link made by another user in a shared
    // folder, so it is not followed".
    std::string message() const;
};

// Enough to tell whether a file was replaced, changed, created or deleted since it was seen.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
};
bool operator==(const FileIdentity& left, const FileIdentity& right);
bool operator!=(const FileIdentity& left, const FileIdentity& right);
// The file that path names now, through links; a path that names nothing reachable has none.
FileIdentity identityOf(const std::string& path);

// Reads a regular file, or a pipe, FIFO or character device until its end, through links and
// without ever waiting for a FIFO's writer. More than maxSize bytes are refused. Readers need no
// lock: writers replace a file whole, or lock it while they write in place.
bool readFile(const std::string& path, std::size_t maxSize, std::string& bytes, Failure& failure);

// An advisory lock on a file for one read-modify-write, held until the last copy goes. While
// this process holds it, its own writes to the file go ahead and everybody else's wait.
struct LockedFile;
class FileLock {
public:
    explicit FileLock(std::shared_ptr<LockedFile> locked) : locked_(std::move(locked)) {}

private:
    std::shared_ptr<LockedFile> locked_;
};

constexpr std::chrono::milliseconds kDefaultLockPatience{10000};

// Locks the files that paths name, one lock per path, in the order of their device and inode so
// that two programs locking overlapping sets cannot deadlock. A path that names no file yet is
// locked as missing: a file that appears there meanwhile is a change. Gives up, naming the file,
// when one is still locked after patience.
bool lockFiles(const std::vector<std::string>& paths, std::chrono::milliseconds patience,
               std::vector<FileLock>& locks, Failure& failure);

enum class TargetKind {
    newFile,
    regularFile,
    stream, // a FIFO or character device, or a descriptor of this process (/dev/stdout)
};

struct WriteTarget {
    std::string path; // after links
    TargetKind kind;
    int descriptor; // the existing regular file, open for reading with pread, else -1
};

// Empty when target may take the output, else why not, worded after the file's name ("is not a
// plot style table").
using KindCheck = std::function<std::string(const WriteTarget& target)>;

struct WriteOptions {
    KindCheck checkKind;
    std::chrono::milliseconds lockPatience = kDefaultLockPatience;
};

// Puts bytes in the file at path, or leaves it as it was and nothing beside it. Links are
// followed where the system's protected-symlinks rule would follow them; a link that is not
// followed, a dangling link, a target that checkKind refuses and a file the system does not let
// this user write (root: a file without any write bit) are refused. A regular file is replaced by
// a renamed temporary file when its owner, group, mode, ACL, user attributes and single link can
// all be kept, and otherwise written in place after a backup copy that goes once the write is on
// disk; either way under the file's lock. FIFOs and character devices are written directly (a
// FIFO without a reader waits for one). false with failure (and errno) on refusal or error.
bool writeFile(const std::string& path, std::string_view bytes, const WriteOptions& options,
               Failure& failure);
// The refusals of writeFile, without writing or waiting for a lock: for commands that check all
// their targets before they replace the first.
bool checkWriteTarget(const std::string& path, const WriteOptions& options, Failure& failure);

// The extension of path's last name, dot included ("" for none).
std::string extensionOf(const std::string& path);
// For a KindCheck: whether the file that target reaches through links ends in the extension that
// requested has (in any case), so that a link never turns an output into the overwriting of
// another kind of file. Streams take any output.
bool takesExtensionOf(const WriteTarget& target, const std::string& requested);

// File names are bytes, and interfaces that take them as UTF-16 texts need not lose one: each
// byte that is not part of valid UTF-8 becomes one of U+DC80..U+DCFF, as Python's surrogate
// escape has it, and turns back into that byte.
std::u16string fileNameToUtf16(std::string_view bytes);
// Other lone surrogates, which no name gives, become U+FFFD.
std::string fileNameFromUtf16(std::u16string_view text);

} // namespace safefile
