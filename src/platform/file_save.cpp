// Write to a fresh temporary file beside the target, then rename it over the target.
#include "platform/file_save.hpp"

#include <cstdio>
#include <filesystem>
#include <random>

#include "platform/file_system.hpp"
#include "platform/image_files.hpp"
#include "platform/log.hpp"

namespace mavorin {

namespace {

namespace fs = std::filesystem;

SaveResult failure(SaveError e) {
    switch (e) {
        case SaveError::none:
            return {};
        case SaveError::no_name:
            return {e, "Kein Dateiname"};
        case SaveError::is_folder:
            return {e, "Ziel ist ein Ordner"};
        case SaveError::not_a_file:
            return {e, "Ziel ist keine Datei"};
        case SaveError::write_protected:
            return {e, "Datei ist schreibgeschützt"};
        case SaveError::no_permission:
            return {e, "Keine Schreibrechte"};
        case SaveError::disk_full:
            return {e, "Datenträger voll"};
        case SaveError::too_large:
            return {e, "Datei zu groß"};
        case SaveError::no_folder:
            return {e, "Ordner existiert nicht"};
        case SaveError::read_only_medium:
            return {e, "Datenträger ist schreibgeschützt"};
        case SaveError::failed:
            break;
    }
    return {SaveError::failed, "Speichern fehlgeschlagen"};
}

SaveResult failure(os::FileError e) {
    switch (e) {
        case os::FileError::none:
            return {};
        case os::FileError::access:
            return failure(SaveError::no_permission);
        case os::FileError::no_space:
            return failure(SaveError::disk_full);
        case os::FileError::too_large:
            return failure(SaveError::too_large);
        case os::FileError::no_folder:
            return failure(SaveError::no_folder);
        case os::FileError::read_only_medium:
            return failure(SaveError::read_only_medium);
        case os::FileError::exists:
        case os::FileError::other:
            break;
    }
    return failure(SaveError::failed);
}

// The file a path finally names: symlinks are followed (a dangling one names its target).
bool follow_links(fs::path& target) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return true;
        const fs::path link = fs::read_symlink(target, ec);
        if (ec) return false;
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return false;
}

std::string random_name() {
    std::random_device rd;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%08x%08x", static_cast<unsigned>(rd()),
                  static_cast<unsigned>(rd()));
    return std::string(".mavorin-") + hex + ".tmp";
}

SaveResult replace_file(const std::string& path, std::string_view bytes, Durability durability) {
    if (path.empty()) return failure(SaveError::no_name);
    fs::path target = utf8_path(path);
    if (!follow_links(target)) return failure(SaveError::failed);
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    const bool exists = fs::exists(old);
    if (exists) {
        if (fs::is_directory(old)) return failure(SaveError::is_folder);
        if (!fs::is_regular_file(old)) return failure(SaveError::not_a_file);
        constexpr auto writable =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((old.permissions() & writable) == fs::perms::none)
            return failure(SaveError::write_protected);
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    fs::path tmp;
    os::FileHandle file;
    os::FileError e = os::FileError::exists;
    for (int attempt = 0; attempt < 100 && e == os::FileError::exists; ++attempt) {
        tmp = folder / random_name();
        e = os::create_exclusive(tmp, exists ? target : fs::path(), file);
    }
    if (e != os::FileError::none) return failure(e);

    const bool synced = durability == Durability::synced;
    e = os::write_all(file, bytes);
    if (e == os::FileError::none && synced) e = os::sync_file(file);
    const os::FileError closed = os::close_file(file);
    if (e == os::FileError::none) e = closed;
    if (e == os::FileError::none) e = os::rename_over(tmp, target, synced);
    if (e != os::FileError::none) {
        os::remove_file(tmp);
        return failure(e);
    }
    // The new contents are in place; a folder that cannot be synced does not undo that.
    if (synced) os::sync_folder(folder);
    return {};
}

}  // namespace

SaveResult save_file(const std::string& path, std::string_view bytes, Durability durability) {
    SaveResult r = replace_file(path, bytes, durability);
    if (!r.ok()) log_failure("write " + path, r.reason);
    return r;
}

}  // namespace mavorin
