// Win32 file-system calls for replacing a file (built into the core of the Windows program).
#include "platform/file_system.hpp"

#include <windows.h>

namespace mavorin::os {

namespace {

FileError from_last_error() {
    switch (GetLastError()) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return FileError::exists;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileError::access;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileError::no_space;
        case ERROR_FILE_TOO_LARGE:
            return FileError::too_large;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return FileError::no_folder;
        case ERROR_WRITE_PROTECT:
            return FileError::read_only_medium;
        default:
            return FileError::other;
    }
}

HANDLE handle_of(FileHandle f) {
    return reinterpret_cast<HANDLE>(f.value);
}

}  // namespace

FileError create_exclusive(const std::filesystem::path& path, const std::filesystem::path&,
                           FileHandle& out) {
    // CREATE_NEW refuses any existing name; the reparse-point flag keeps it off a link's target.
    // The old file's only mode is the read-only attribute, and such a file is never replaced.
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (f == INVALID_HANDLE_VALUE) return from_last_error();
    out.value = reinterpret_cast<intptr_t>(f);
    return FileError::none;
}

FileError write_all(FileHandle file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD chunk = static_cast<DWORD>(left < (1u << 20) ? left : (1u << 20));
        DWORD wrote = 0;
        if (!WriteFile(handle_of(file), bytes.data() + done, chunk, &wrote, nullptr))
            return from_last_error();
        if (wrote == 0) return FileError::no_space;
        done += wrote;
    }
    return FileError::none;
}

FileError sync_file(FileHandle file) {
    return FlushFileBuffers(handle_of(file)) ? FileError::none : from_last_error();
}

FileError close_file(FileHandle file) {
    return CloseHandle(handle_of(file)) ? FileError::none : from_last_error();
}

FileError rename_over(const std::filesystem::path& from, const std::filesystem::path& to,
                      bool durable) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
    return MoveFileExW(from.c_str(), to.c_str(), flags) ? FileError::none : from_last_error();
}

FileError sync_folder(const std::filesystem::path&) {
    // MOVEFILE_WRITE_THROUGH has made the rename durable.
    return FileError::none;
}

void remove_file(const std::filesystem::path& path) {
    DeleteFileW(path.c_str());
}

}  // namespace mavorin::os
