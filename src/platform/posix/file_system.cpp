// POSIX file-system calls for replacing a file.
#include "platform/file_system.hpp"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mavorin::os {

namespace {

FileError from_errno(int e) {
    switch (e) {
        case 0:
            return FileError::none;
        case EEXIST:
            return FileError::exists;
        case EACCES:
        case EPERM:
            return FileError::access;
        case ENOSPC:
        case EDQUOT:
            return FileError::no_space;
        case EFBIG:
            return FileError::too_large;
        case ENOENT:
        case ENOTDIR:
            return FileError::no_folder;
        case EROFS:
            return FileError::read_only_medium;
        default:
            return FileError::other;
    }
}

int fd_of(FileHandle f) {
    return static_cast<int>(f.value);
}

}  // namespace

FileError create_exclusive(const std::filesystem::path& path, const std::filesystem::path& like,
                           FileHandle& out) {
    struct stat old {};
    const bool has_old = !like.empty() && stat(like.c_str(), &old) == 0;
    // Private at first when an old file's mode is to be copied; otherwise the umask decides.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        has_old ? 0600 : 0666);
    if (fd < 0) return from_errno(errno);
    if (has_old) {
        // Only root may give a file away, and only a member may pass on a group; for anyone
        // else the old owner is lost, as with any editor that replaces files.
        const bool owned =
            fchown(fd, old.st_uid, old.st_gid) == 0 || fchown(fd, -1, old.st_gid) == 0;
        (void)owned;
        if (fchmod(fd, old.st_mode & 0777) != 0) {
            const int e = errno;
            close(fd);
            unlink(path.c_str());
            return from_errno(e);
        }
    }
    out.value = fd;
    return FileError::none;
}

FileError write_all(FileHandle file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd_of(file), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return from_errno(errno);
        }
        if (n == 0) return FileError::no_space;
        done += static_cast<size_t>(n);
    }
    return FileError::none;
}

FileError sync_file(FileHandle file) {
    return fsync(fd_of(file)) == 0 ? FileError::none : from_errno(errno);
}

FileError close_file(FileHandle file) {
    return close(fd_of(file)) == 0 ? FileError::none : from_errno(errno);
}

FileError rename_over(const std::filesystem::path& from, const std::filesystem::path& to, bool) {
    return rename(from.c_str(), to.c_str()) == 0 ? FileError::none : from_errno(errno);
}

FileError sync_folder(const std::filesystem::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return from_errno(errno);
    const FileError e = fsync(fd) == 0 ? FileError::none : from_errno(errno);
    close(fd);
    return e;
}

void remove_file(const std::filesystem::path& path) {
    unlink(path.c_str());
}

}  // namespace mavorin::os
