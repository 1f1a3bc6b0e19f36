// Platform-independent file helpers shared by every backend: BMP encoding, safe writes, field read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin {

// A path from UTF-8 text (on Windows the C++ library would not read a narrow string as UTF-8).
std::filesystem::path utf8_path(const std::string& utf8);
// A 24-bit bottom-up Windows bitmap file of the image.
std::vector<uint8_t> encode_bmp(const Bitmap& image);
// Writes through a temporary file beside `path` and renames it over `path`, so a failed write
// never destroys the old file. Returns false on any failure.
bool write_file_replacing(const std::string& path, const std::string& bytes);
// The text from the first byte up to the first comma, CR or LF; false if the file is unreadable.
bool read_first_field_of_file(const std::string& path, std::string& field);

}  // namespace mavorin
