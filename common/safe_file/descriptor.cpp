#include "descriptor.h"

#include <cerrno>

#include <unistd.h>

namespace safefile {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        reset();
        descriptor_ = other.release();
    }
    return *this;
}

int Descriptor::release() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return descriptor;
}

void Descriptor::reset() {
    const int cause = errno;
    close();
    errno = cause;
}

bool Descriptor::close() {
    const int descriptor = release();
    return descriptor < 0 || ::close(descriptor) == 0;
}

std::string reopenPath(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}

} // namespace safefile
