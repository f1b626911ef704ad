#include "extended_attributes.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include <sys/xattr.h>

#include "fail.h"

namespace safefile {

namespace {

constexpr char kAccessAcl[] = "system.posix_acl_access";

// The attributes that stay with a file's content; security and trusted ones belong to the
// system's policy, which gives the new file its own.
bool isKept(std::string_view name) {
    return name == kAccessAcl || name.substr(0, 5) == "user.";
}

// Calls read(buffer, size) with a buffer that grows until the value fits; false when it fails.
template <class Read> bool readGrowing(std::vector<char>& buffer, Read read) {
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0) {
            return false;
        }
        buffer.resize(std::size_t(size));
        if (size == 0) {
            return true;
        }
        const ssize_t filled = read(buffer.data(), buffer.size());
        if (filled >= 0) {
            buffer.resize(std::size_t(filled));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
}

bool unsupported(int cause) {
    return cause == ENOTSUP || cause == ENOSYS;
}

} // namespace

bool copyExtendedAttributes(int from, int to, const std::string& shownPath, Failure& failure) {
    std::vector<char> names;
    if (!readGrowing(
            names, [from](char* list, std::size_t size) { return flistxattr(from, list, size); })) {
        return unsupported(errno) || failCall(failure, "list the attributes of " + shownPath);
    }
    bool hasAcl = false;
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        if (!isKept(name)) {
            continue;
        }
        hasAcl = hasAcl || std::string_view(name) == kAccessAcl;
        if (!readGrowing(value,
                         [from, name](char* data, std::size_t size) {
                             return fgetxattr(from, name, data, size);
                         }) ||
            fsetxattr(to, name, value.data(), value.size(), 0) != 0) {
            return failCall(failure,
                            "copy the attribute " + std::string(name) + " of " + shownPath);
        }
    }
    if (!hasAcl && fremovexattr(to, kAccessAcl) != 0 && errno != ENODATA && !unsupported(errno)) {
        return failCall(failure, "keep " + shownPath + " without an ACL");
    }
    return true;
}

} // namespace safefile
