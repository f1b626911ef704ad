#include "safe_file.h"

#include <cerrno>
#include <cstring>

namespace safefile {

std::string Failure::message() const {
    const std::string cause = std::strerror(error);
    switch (problem) {
    case Problem::none:
        return std::string();
    case Problem::systemCall:
        return "could not " + detail + ": " + cause;
    case Problem::unsafeLink:
        return subject +
               " is a link made by another user in a shared folder, so it is not followed";
    case Problem::danglingLink:
        return subject + " is a link to a file that does not exist";
    case Problem::notAFile:
        return subject + (error == EISDIR ? " is a folder" : " is not a regular file");
    case Problem::wrongKind:
        return subject + " " + detail;
    case Problem::readOnly:
        return subject + (error == EACCES ? " is read-only" : " cannot be written: " + cause);
    case Problem::locked:
        return subject + " is still locked by another program after " + detail;
    case Problem::changed:
        return subject + " was changed by another program while it was locked for an edit";
    case Problem::tooLarge:
        return subject + " is larger than " + detail;
    }
    return cause;
}

} // namespace safefile
