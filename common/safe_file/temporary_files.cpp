#include "temporary_files.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <memory>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fail.h"

namespace safefile {

namespace {

constexpr std::time_t kAbandonedAfterSeconds = 3600;
constexpr std::size_t kMaxNameLength = 255;
constexpr std::size_t kMaxHostLength = 64;

bool isHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}

const std::string& hostName() {
    static const std::string name = [] {
        char buffer[256] = {};
        std::string host = gethostname(buffer, sizeof buffer - 1) == 0 ? buffer : "";
        for (char& c : host) {
            c = isHostCharacter(c) ? c : '_';
        }
        return host.empty() ? std::string("localhost") : host.substr(0, kMaxHostLength);
    }();
    return name;
}

bool isNumber(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Takes the last "~FIELD" off text and returns FIELD.
std::string_view takeLastField(std::string_view& text) {
    const std::size_t tilde = text.rfind('~');
    if (tilde == std::string_view::npos) {
        return std::string_view();
    }
    const std::string_view field = text.substr(tilde + 1);
    text = text.substr(0, tilde);
    return field;
}

struct Leftover {
    std::string_view name; // of the file it stood in for, as far as it fit
    std::string_view host;
    pid_t process = 0;
};

// ".NAME~HOST~PID~N" and the suffix, exactly.
bool parseSiblingName(std::string_view entry, std::string_view suffix, Leftover& leftover) {
    if (entry.size() <= suffix.size() + 1 || entry[0] != '.' ||
        entry.substr(entry.size() - suffix.size()) != suffix) {
        return false;
    }
    std::string_view rest = entry.substr(1, entry.size() - 1 - suffix.size());
    const std::string_view serial = takeLastField(rest);
    const std::string_view process = takeLastField(rest);
    leftover.host = takeLastField(rest);
    leftover.name = rest;
    if (!isNumber(serial) || !isNumber(process) || rest.empty() || leftover.host.empty()) {
        return false;
    }
    for (const char c : leftover.host) {
        if (!isHostCharacter(c)) {
            return false;
        }
    }
    leftover.process = pid_t(std::stol(std::string(process)));
    return leftover.process > 0;
}

bool isDead(pid_t process) {
    return kill(process, 0) != 0 && errno == ESRCH;
}

std::string siblingTail() {
    return '~' + hostName() + '~' + std::to_string(getpid()) + '~';
}

// The target's name as far as it fits into a sibling's name with suffix.
std::string nameInSibling(const std::string& name, std::string_view suffix) {
    // Room for the dot, the tail, ten digits and the suffix within the system's name length.
    const std::size_t room = kMaxNameLength - 1 - siblingTail().size() - 10 - suffix.size();
    return name.substr(0, room);
}

} // namespace

bool createSibling(const ResolvedTarget& target, const char* suffix, mode_t mode,
                   SiblingFile& sibling, Failure& failure) {
    static std::atomic<unsigned> serial{0};
    const std::string prefix = '.' + nameInSibling(target.name, suffix) + siblingTail();
    for (int attempt = 0; attempt < 100; ++attempt) {
        sibling.name = prefix + std::to_string(++serial) + suffix;
        sibling.descriptor =
            Descriptor(openat(target.folder.get(), sibling.name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (sibling.descriptor || errno != EEXIST) {
            break;
        }
    }
    if (!sibling.descriptor) {
        return failCall(failure, "create a file in " + target.shownFolder());
    }
    return true;
}

std::vector<std::string> removeLeftovers(const ResolvedTarget& target) {
    const int cause = errno;
    std::vector<std::string> staleBackups;
    Descriptor listing(openat(target.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::unique_ptr<DIR, int (*)(DIR*)> entries(listing ? fdopendir(listing.get()) : nullptr,
                                                &closedir);
    if (entries) {
        listing.release();
    }
    const std::string ownName = nameInSibling(target.name, kBackupSuffix);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = entries ? readdir(entries.get()) : nullptr) {
        Leftover leftover;
        const bool temporary = parseSiblingName(entry->d_name, kTemporarySuffix, leftover);
        const bool backup = !temporary &&
                            parseSiblingName(entry->d_name, kBackupSuffix, leftover) &&
                            leftover.name == ownName;
        struct stat status {};
        if ((!temporary && !backup) ||
            fstatat(target.folder.get(), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode)) {
            continue;
        }
        const bool abandoned = now - status.st_mtime > kAbandonedAfterSeconds ||
                               (leftover.host == hostName() && isDead(leftover.process));
        if (abandoned && temporary) {
            unlinkat(target.folder.get(), entry->d_name, 0);
        } else if (abandoned) {
            staleBackups.push_back(entry->d_name);
        }
    }
    errno = cause;
    return staleBackups;
}

} // namespace safefile
