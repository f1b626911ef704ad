// What tells one state of a file from another without reading it: whether it exists, which
// file it is (device and inode) and its size and modification time. A table's document takes it
// when it loads the file and after each of its own saves, so that a change by another program
// can be noticed.
#pragma once

#include <cstdint>

#include <wx/filename.h>

struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    // The identity of the file that file names now, through symbolic links; a file that cannot
    // be examined counts as missing.
    static FileIdentity of(const wxFileName& file);

    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};
