#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "descriptor.h"
#include "fail.h"

namespace safefile {

bool readFile(const std::string& path, std::size_t maxSize, std::string& bytes, Failure& failure) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file || fstat(file.get(), &status) != 0) {
        return failCall(failure, "read " + path);
    }
    if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode) && !S_ISCHR(status.st_mode)) {
        return fail(failure, Problem::notAFile, path, "",
                    S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    }
    const auto tooLarge = [&] {
        return fail(failure, Problem::tooLarge, path, std::to_string(maxSize) + " bytes", EFBIG);
    };
    if (S_ISREG(status.st_mode) && std::size_t(status.st_size) > maxSize) {
        return tooLarge();
    }
    // A pipe with a writer is read to its end like a file; a FIFO without one reads as empty.
    const int flags = fcntl(file.get(), F_GETFL);
    if (flags < 0 || fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return failCall(failure, "read " + path);
    }
    // One byte more than the limit shows that the file holds more.
    const std::size_t capacity = std::max(maxSize, maxSize + 1);
    const std::size_t expected = S_ISREG(status.st_mode) ? std::size_t(status.st_size) + 1 : 65536;
    bytes.resize(std::min(expected, capacity));
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxSize) {
                return tooLarge();
            }
            bytes.resize(std::min(bytes.size() * 2, capacity));
        }
        const ssize_t result = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result < 0) {
            return failCall(failure, "read " + path);
        }
        if (result == 0) {
            bytes.resize(filled);
            return true;
        }
        filled += std::size_t(result);
    }
}

} // namespace safefile
