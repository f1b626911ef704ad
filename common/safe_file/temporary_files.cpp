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
    std::string_view host;
    pid_t process = 0;
};

// ".NAME~HOST~PID~N.tmp", exactly.
bool parseTemporaryName(std::string_view entry, Leftover& leftover) {
    const std::string_view suffix = kTemporarySuffix;
    if (entry.size() <= suffix.size() + 1 || entry[0] != '.' ||
        entry.substr(entry.size() - suffix.size()) != suffix) {
        return false;
    }
    std::string_view rest = entry.substr(1, entry.size() - 1 - suffix.size());
    const std::string_view serial = takeLastField(rest);
    const std::string_view process = takeLastField(rest);
    leftover.host = takeLastField(rest);
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

} // namespace

bool createSibling(const ResolvedTarget& target, const char* suffix, mode_t mode,
                   SiblingFile& sibling, Failure& failure) {
    static std::atomic<unsigned> serial{0};
    const std::string tail = '~' + hostName() + '~' + std::to_string(getpid()) + '~';
    // Room for the dot, the tail, ten digits and the suffix within the system's name length.
    const std::size_t room =
        kMaxNameLength - 1 - tail.size() - 10 - std::string_view(suffix).size();
    const std::string prefix = '.' + target.name.substr(0, room) + tail;
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

void removeLeftovers(int folder) {
    const int cause = errno;
    Descriptor listing(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::unique_ptr<DIR, int (*)(DIR*)> entries(listing ? fdopendir(listing.get()) : nullptr,
                                                &closedir);
    if (!entries) {
        errno = cause;
        return;
    }
    listing.release();
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(entries.get())) {
        Leftover leftover;
        struct stat status {};
        if (entry->d_name[0] != '.' || !parseTemporaryName(entry->d_name, leftover) ||
            fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode)) {
            continue;
        }
        const bool abandoned = now - status.st_mtime > kAbandonedAfterSeconds;
        if (abandoned || (leftover.host == hostName() && isDead(leftover.process))) {
            unlinkat(folder, entry->d_name, 0);
        }
    }
    errno = cause;
}

} // namespace safefile
