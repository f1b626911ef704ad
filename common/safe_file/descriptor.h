// An owned file descriptor, closed when it goes out of scope.
#pragma once

#include <string>

namespace safefile {

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : descriptor_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }
    int release();
    // Closes without touching errno: for clean-up on a path that reports an earlier cause.
    void reset();
    // Closes and tells whether the system reported no error (a late write error shows here).
    bool close();

private:
    int descriptor_ = -1;
};

// The path that reopens descriptor through the process's own descriptor folder.
std::string reopenPath(int descriptor);

} // namespace safefile
