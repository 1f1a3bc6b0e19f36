// The remembered last picture: identity by device, inode, size and modification time.
#include "platform/posix/picture_files.hpp"

#include <sys/stat.h>

#include <string_view>

#include "platform/image_files.hpp"

namespace mavorin {

bool PictureFiles::stamp_of(const std::string& path, Stamp& out) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    out = {st.st_dev, st.st_ino, st.st_size,
           static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    return true;
}

bool PictureFiles::still_written(const std::string& path) const {
    Stamp now;
    return known_ && path == path_ && stamp_of(path, now) && now == stamp_;
}

bool PictureFiles::save_bmp(const Bitmap& image, const std::string& path) {
    std::vector<uint8_t> bytes = encode_bmp(image);
    if (bytes == bytes_ && still_written(path)) return true;
    known_ = false;
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!save_file(path, view, Durability::plain).ok()) return false;
    // Saving replaces the file by a new one, so its identity is new too.
    known_ = stamp_of(path, stamp_);
    path_ = path;
    bytes_ = std::move(bytes);
    return true;
}

bool PictureFiles::read_first_field(const std::string& path, std::string& field) {
    if (!still_written(path)) return read_first_field_of_file(path, field);
    field =
        first_field(std::string_view(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()));
    return true;
}

}  // namespace mavorin
