#include "resolve_target.h"

#include <deque>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "fail.h"

namespace safefile {

namespace {

// As many links as the kernel follows in one lookup.
constexpr int kMaxLinks = 40;

struct Component {
    std::string name;
    std::string link; // the link whose text it comes from, as shown; empty for the path's own
};

std::string parentOf(const std::string& folder) {
    const std::size_t slash = folder.rfind('/');
    const std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (folder == "/" || (!folder.empty() && last == "..")) {
        return joinedPath(folder, folder == "/" ? "" : "..");
    }
    if (slash == std::string::npos) {
        return folder.empty() ? ".." : "";
    }
    return slash == 0 ? "/" : folder.substr(0, slash);
}

// Puts the components of text before those still pending.
void prependComponents(const std::string& text, const std::string& link,
                       std::deque<Component>& pending) {
    std::vector<Component> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('/', start);
        end = end == std::string::npos ? text.size() : end;
        if (end > start) {
            parts.push_back({text.substr(start, end - start), link});
        }
        start = end + 1;
    }
    pending.insert(pending.begin(), parts.begin(), parts.end());
}

// The kernel's protected-symlinks rule, applied whether or not the system enforces it: in a
// sticky folder that everyone may write, follow only the follower's links and the owner's.
bool mayFollow(const struct stat& link, const struct stat& folder) {
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || link.st_uid == geteuid() || link.st_uid == folder.st_uid;
}

bool onProcFileSystem(int folder) {
    struct statfs fileSystem {};
    return fstatfs(folder, &fileSystem) == 0 && fileSystem.f_type == PROC_SUPER_MAGIC;
}

bool readLinkText(int link, std::string& text) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlinkat(link, "", buffer.data(), buffer.size());
        if (length < 0) {
            return false;
        }
        if (std::size_t(length) < buffer.size()) {
            text.assign(buffer.data(), std::size_t(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

Descriptor openRoot() {
    return Descriptor(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
}

} // namespace

std::string joinedPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}

std::string ResolvedTarget::path() const {
    return joinedPath(folderPath, name);
}

std::string ResolvedTarget::shownFolder() const {
    return folderPath.empty() ? "." : folderPath;
}

bool resolveTarget(const std::string& path, ResolvedTarget& target, Failure& failure) {
    if (path.empty()) {
        return fail(failure, Problem::systemCall, path, "open a file without a name", ENOENT);
    }
    Descriptor folder = path[0] == '/' ? openRoot() : Descriptor(::open(".", O_PATH | O_CLOEXEC));
    std::string shown = path[0] == '/' ? "/" : "";
    std::deque<Component> pending;
    prependComponents(path, std::string(), pending);
    if (pending.empty() || path.back() == '/') {
        return fail(failure, Problem::notAFile, path, "", EISDIR);
    }
    int links = 0;
    while (!pending.empty()) {
        if (!folder) {
            return failCall(failure, "open the folder " + (shown.empty() ? "." : shown));
        }
        const Component part = std::move(pending.front());
        pending.pop_front();
        const bool last = pending.empty();
        const std::string here = joinedPath(shown, part.name);
        if (part.name == "." || part.name == "..") {
            if (last) {
                return fail(failure, Problem::notAFile, here, "", EISDIR);
            }
            if (part.name == "..") {
                folder = Descriptor(openat(folder.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
                shown = parentOf(shown);
            }
            continue;
        }
        Descriptor entry(openat(folder.get(), part.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!entry && errno == ENOENT && !part.link.empty()) {
            return fail(failure, Problem::danglingLink, part.link, "", ENOENT);
        }
        if (!entry && errno == ENOENT && last) {
            target.kind = TargetKind::newFile;
            target.name = part.name;
            break;
        }
        struct stat status {};
        if (!entry || fstat(entry.get(), &status) != 0) {
            return failCall(failure, "open " + here);
        }
        // The links of /proc/self/fd name open descriptors, not paths: go through them.
        if (S_ISLNK(status.st_mode) && onProcFileSystem(folder.get())) {
            entry = Descriptor(openat(folder.get(), part.name.c_str(), O_PATH | O_CLOEXEC));
            if (!entry || fstat(entry.get(), &status) != 0) {
                return failCall(failure, "open " + here);
            }
            if (!S_ISDIR(status.st_mode) && last) {
                target.kind = TargetKind::stream;
                target.name = part.name;
                target.status = status;
                target.reached = std::move(entry);
                break;
            }
        }
        if (S_ISLNK(status.st_mode)) {
            struct stat folderStatus {};
            if (fstat(folder.get(), &folderStatus) != 0) {
                return failCall(failure, "open the folder of " + here);
            }
            if (!mayFollow(status, folderStatus)) {
                return fail(failure, Problem::unsafeLink, here, "", EACCES);
            }
            std::string text;
            if (++links > kMaxLinks) {
                return fail(failure, Problem::systemCall, here, "follow the links of " + path,
                            ELOOP);
            }
            if (!readLinkText(entry.get(), text)) {
                return failCall(failure, "read the link " + here);
            }
            if (text.empty()) {
                return fail(failure, Problem::danglingLink, here, "", ENOENT);
            }
            if (text[0] == '/') {
                folder = openRoot();
                shown = "/";
            }
            prependComponents(text, here, pending);
            if (last && (pending.empty() || text.back() == '/')) {
                return fail(failure, Problem::notAFile, here, "", EISDIR);
            }
            continue;
        }
        if (S_ISDIR(status.st_mode)) {
            if (last) {
                return fail(failure, Problem::notAFile, here, "", EISDIR);
            }
            folder = std::move(entry);
            shown = here;
            continue;
        }
        if (!last) {
            return fail(failure, Problem::systemCall, here, "open " + path, ENOTDIR);
        }
        if (S_ISREG(status.st_mode)) {
            target.kind = TargetKind::regularFile;
        } else if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode)) {
            target.kind = TargetKind::stream;
        } else {
            return fail(failure, Problem::notAFile, here, "", EINVAL);
        }
        target.name = part.name;
        target.status = status;
    }
    target.folderPath = shown;
    // Reading the folder lets a save clean up its leftovers and flush the rename to disk.
    Descriptor readable(openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    target.folder = readable ? std::move(readable) : std::move(folder);
    if (fstat(target.folder.get(), &target.folderStatus) != 0) {
        return failCall(failure, "open the folder " + target.shownFolder());
    }
    return true;
}

} // namespace safefile
