// Replacing a file without ever destroying the old one: every file the program writes goes here.
#pragma once

#include <string>
#include <string_view>

namespace mavorin {

enum class SaveError {
    none,
    no_name,
    is_folder,
    not_a_file,       // a device, a pipe, a socket: never replaced
    write_protected,  // no write bit in the old file's mode (holds for root too)
    no_permission,
    disk_full,
    too_large,
    no_folder,
    read_only_medium,
    failed
};

struct SaveResult {
    SaveError error = SaveError::none;
    // A short German reason for a message box; empty on success.
    std::string reason;
    bool ok() const { return error == SaveError::none; }
};

// Macro files survive a power cut; screenshots and the pixel watch's snapshot need not.
enum class Durability { plain, synced };

// Writes `bytes` (path in UTF-8) into a new file with an unpredictable name in the target's
// folder and renames it over the target. The new file keeps the old one's mode; a symlink is
// written through to its target and stays a symlink; a write-protected target is left alone.
// On failure the old file is untouched and no temporary file remains.
SaveResult save_file(const std::string& path, std::string_view bytes, Durability durability);

}  // namespace mavorin
