#include "atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(other.descriptor_) {
        other.descriptor_ = -1;
    }

    int get() const { return descriptor_; }
    bool close() {
        const int descriptor = descriptor_;
        descriptor_ = -1;
        return descriptor < 0 || ::close(descriptor) == 0;
    }

private:
    int descriptor_;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Saving through a symbolic link replaces the file it points to, not the link.
std::string resolveLink(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

bool writeAll(int descriptor, std::string_view bytes, std::size_t failAfterBytes,
              std::string& error) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        std::size_t chunk = bytes.size() - written;
        if (written + chunk > failAfterBytes) {
            if (written >= failAfterBytes) {
                errno = EIO;
                error = systemError("could not write the temporary file");
                return false;
            }
            chunk = failAfterBytes - written;
        }
        const ssize_t result = ::write(descriptor, bytes.data() + written, chunk);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            error = systemError("could not write the temporary file");
            return false;
        }
        written += std::size_t(result);
    }
    return true;
}

// A new hidden file next to path, created with the usual permissions (0666 less the umask).
FileDescriptor createTemporaryFile(const std::string& path, std::string& temporaryPath,
                                   std::string& error) {
    const std::size_t slash = path.rfind('/');
    const std::string prefix = path.substr(0, slash + 1) + '.' + path.substr(slash + 1) + ".tmp" +
                               std::to_string(getpid()) + '-';
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = prefix + std::to_string(++serial);
        FileDescriptor file(
            ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.get() >= 0 || errno != EEXIST) {
            if (file.get() < 0) {
                error = systemError("could not create a temporary file in " + folderOf(path));
            }
            return file;
        }
    }
    error = "could not find a free name for a temporary file in " + folderOf(path);
    return FileDescriptor(-1);
}

bool isMemberOf(gid_t group) {
    if (group == getegid()) {
        return true;
    }
    std::vector<gid_t> groups(std::size_t(std::max(getgroups(0, nullptr), 0)));
    groups.resize(std::size_t(std::max(getgroups(int(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// The permission bits decide for every user, root included: a table made read-only was made
// so on purpose, and the rename that replaces it would not ask.
bool permitsWriting(const struct stat& target) {
    if (target.st_uid == geteuid()) {
        return target.st_mode & S_IWUSR;
    }
    if (isMemberOf(target.st_gid)) {
        return target.st_mode & S_IWGRP;
    }
    return target.st_mode & S_IWOTH;
}

bool isNotPermitted(int cause) {
    return cause == EPERM || cause == EINVAL;
}

// A replaced file keeps its owner and group where the system lets us: whoever may not give a
// file away may still keep its group when they belong to it.
bool keepOwnerAndGroup(int descriptor, const struct stat& target) {
    if (fchown(descriptor, target.st_uid, target.st_gid) == 0) {
        return true;
    }
    if (isNotPermitted(errno) && fchown(descriptor, uid_t(-1), target.st_gid) == 0) {
        return true;
    }
    return isNotPermitted(errno);
}

} // namespace

bool readWholeFile(const std::string& path, std::size_t maxSize, std::string& bytes,
                   std::string& error) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        error = systemError("could not open the file");
        return false;
    }
    struct stat status {};
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        error = "it is not a regular file";
        return false;
    }
    bytes.clear();
    char chunk[65536];
    for (;;) {
        const ssize_t result = ::read(file.get(), chunk, sizeof chunk);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0) {
            error = systemError("could not read the file");
            return false;
        }
        if (result == 0) {
            return true;
        }
        if (bytes.size() + std::size_t(result) > maxSize) {
            error = "the file is too large for a plot style table";
            return false;
        }
        bytes.append(chunk, std::size_t(result));
    }
}

bool writeFileAtomically(const std::string& requestedPath, std::string_view bytes,
                         std::string& error, std::size_t failAfterBytes) {
    const std::string path = resolveLink(requestedPath);
    struct stat target {};
    const bool targetExists = stat(path.c_str(), &target) == 0;
    if (targetExists && !S_ISREG(target.st_mode)) {
        errno = S_ISDIR(target.st_mode) ? EISDIR : EINVAL;
        error = "the target exists and is not a regular file";
        return false;
    }
    if (targetExists && !permitsWriting(target)) {
        errno = EACCES;
        error = "the file is read-only";
        return false;
    }

    std::string temporaryPath;
    FileDescriptor file = createTemporaryFile(path, temporaryPath, error);
    if (file.get() < 0) {
        return false;
    }
    bool written = true;
    // Owner first: changing it may clear the set-id bits that the permissions then restore.
    if (targetExists && !keepOwnerAndGroup(file.get(), target)) {
        error = systemError("could not give the temporary file the owner of the file");
        written = false;
    }
    // A replaced file keeps its permissions; a new one gets the usual ones from the umask.
    if (written && targetExists && fchmod(file.get(), target.st_mode & 07777) != 0) {
        error = systemError("could not set the permissions of the temporary file");
        written = false;
    }
    written = written && writeAll(file.get(), bytes, failAfterBytes, error);
    if (written && (fsync(file.get()) != 0 || !file.close())) {
        error = systemError("could not flush the temporary file to disk");
        written = false;
    }
    if (written && std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        error = systemError("could not replace the file");
        written = false;
    }
    if (!written) {
        // The caller reports the cause from errno; cleaning up must not replace it.
        const int cause = errno;
        file.close();
        ::unlink(temporaryPath.c_str());
        errno = cause;
        return false;
    }
    // The rename itself reaches the disk only when the folder is flushed too.
    FileDescriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        fsync(folder.get());
    }
    return true;
}
