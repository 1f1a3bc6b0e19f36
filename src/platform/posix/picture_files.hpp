// Bitmap files written and read back by the pixel watch, without the disk where it can.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin {

// A watch writes the same small picture and reads it back a hundred times a second. The last
// file written is remembered with its identity; while the file on disk is still that one,
// writing the same bytes again and reading them back need no disk.
class PictureFiles {
  public:
    bool save_bmp(const Bitmap& image, const std::string& path);
    bool read_first_field(const std::string& path, std::string& field);

  private:
    struct Stamp {
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = -1;
        int64_t mtime_ns = 0;
        bool operator==(const Stamp&) const = default;
    };
    static bool stamp_of(const std::string& path, Stamp& out);
    bool still_written(const std::string& path) const;

    std::string path_;
    std::vector<uint8_t> bytes_;
    Stamp stamp_;
    bool known_ = false;
};

}  // namespace mavorin
