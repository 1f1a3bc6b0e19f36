// The few file-system calls that replacing a file needs; one implementation per platform.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace mavorin::os {

enum class FileError {
    none,
    exists,            // the name is taken (by anything, a symlink too)
    access,            // no permission
    no_space,          // the medium or the quota is full
    too_large,         // the file would pass a size limit
    no_folder,         // a folder of the path does not exist
    read_only_medium,  // the file system is mounted read-only
    other
};

// A file opened by create_exclusive.
struct FileHandle {
    intptr_t value = -1;
};

// Creates `path` for writing, never through a symlink: fails with `exists` when anything has
// that name. When `like` names a file, the new one takes its mode (and, where allowed, its owner)
// before a byte is written, so a private file's contents are never readable by others.
FileError create_exclusive(const std::filesystem::path& path, const std::filesystem::path& like,
                           FileHandle& out);
FileError write_all(FileHandle file, std::string_view bytes);
FileError sync_file(FileHandle file);
// Closes in any case; reports a failure of the last deferred write.
FileError close_file(FileHandle file);
// Moves `from` over `to` in one step (both in one folder). `durable`: the move itself reaches
// the disk before this returns, where the platform can only promise that here.
FileError rename_over(const std::filesystem::path& from, const std::filesystem::path& to,
                      bool durable);
// Makes the renames in `folder` durable (no-op where rename_over already did).
FileError sync_folder(const std::filesystem::path& folder);
void remove_file(const std::filesystem::path& path);

}  // namespace mavorin::os
