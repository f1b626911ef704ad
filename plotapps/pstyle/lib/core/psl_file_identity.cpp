#include "psl_file_identity.h"

#include <sys/stat.h>

FileIdentity FileIdentity::of(const wxFileName& file) {
    struct stat status;
    FileIdentity identity;
    if (stat(file.GetFullPath().fn_str(), &status) != 0) {
        return identity;
    }
    identity.exists = true;
    identity.device = status.st_dev;
    identity.inode = status.st_ino;
    identity.size = status.st_size;
    identity.modifiedSeconds = status.st_mtim.tv_sec;
    identity.modifiedNanoseconds = status.st_mtim.tv_nsec;
    return identity;
}

bool FileIdentity::operator==(const FileIdentity& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modifiedSeconds == other.modifiedSeconds &&
           modifiedNanoseconds == other.modifiedNanoseconds;
}
