// Filling in a Failure on the way out of a function that returns false.
#pragma once

#include <cerrno>
#include <string>

#include "safe_file.h"

namespace safefile {

inline bool fail(Failure& failure, Problem problem, std::string subject, std::string detail,
                 int error) {
    failure = Failure{problem, std::move(subject), std::move(detail), error};
    errno = error;
    return false;
}

// A system call failed: detail says what could not be done, errno why.
inline bool failCall(Failure& failure, std::string detail) {
    return fail(failure, Problem::systemCall, std::string(), std::move(detail), errno);
}

} // namespace safefile
