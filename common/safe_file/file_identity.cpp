#include "safe_file.h"

#include <sys/stat.h>

namespace safefile {

bool operator==(const FileIdentity& left, const FileIdentity& right) {
    if (!left.exists || !right.exists) {
        return left.exists == right.exists;
    }
    return left.device == right.device && left.inode == right.inode && left.size == right.size &&
           left.modified.tv_sec == right.modified.tv_sec &&
           left.modified.tv_nsec == right.modified.tv_nsec;
}

bool operator!=(const FileIdentity& left, const FileIdentity& right) {
    return !(left == right);
}

FileIdentity identityOf(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return FileIdentity();
    }
    return FileIdentity{true, status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

} // namespace safefile
