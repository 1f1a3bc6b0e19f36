// Platform-independent file helpers shared by every backend: BMP encoding and the field read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_platform.hpp"
#include "platform/file_save.hpp"

namespace mavorin {

// A path from UTF-8 text (on Windows the C++ library would not read a narrow string as UTF-8).
std::filesystem::path utf8_path(const std::string& utf8);
// A 24-bit bottom-up Windows bitmap file of the image.
std::vector<uint8_t> encode_bmp(const Bitmap& image);
// The image as a bitmap file at `path` (UTF-8), replaced safely; pictures need no sync.
SaveResult save_bmp_file(const Bitmap& image, const std::string& path);
// The text from the first byte up to the first comma, CR or LF.
std::string first_field(std::string_view bytes);
// The first field of a file; false if the file is unreadable.
bool read_first_field_of_file(const std::string& path, std::string& field);

}  // namespace mavorin
