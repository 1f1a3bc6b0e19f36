// BMP writer and the first-field read.
#include "platform/image_files.hpp"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace mavorin {

namespace {
void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}
}  // namespace

Bitmap DeviceServices::capture_region(int x, int y, int w, int h) {
    return desktop_block(capture_screen(), x, y, w, h);
}

Bitmap desktop_block(const Bitmap& screen, int x, int y, int w, int h) {
    const auto offset = [](int at, int origin) {
        return static_cast<int>(
            std::clamp<long long>(static_cast<long long>(at) - origin, INT32_MIN, INT32_MAX));
    };
    return screen.crop(offset(x, screen.left), offset(y, screen.top), w, h);
}

Bitmap Bitmap::crop(int x, int y, int w, int h) const {
    Bitmap out;
    out.left = 0;
    out.top = 0;
    out.right = w;
    out.bottom = h;
    out.width = w;
    out.height = h;
    out.bgr.assign(static_cast<size_t>(w) * h * 3, 0);
    for (int r = 0; r < h; ++r) {
        const long long sy = static_cast<long long>(y) + r;
        if (sy < 0 || sy >= height) continue;
        for (int c = 0; c < w; ++c) {
            const long long sx = static_cast<long long>(x) + c;
            if (sx < 0 || sx >= width) continue;
            const uint8_t* s = &bgr[(static_cast<size_t>(sy) * width + sx) * 3];
            uint8_t* d = &out.bgr[(static_cast<size_t>(r) * w + c) * 3];
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
    return out;
}

std::string resolve_path(const std::string& folder, const std::string& path) {
    if (path.empty()) return path;
    std::filesystem::path p = utf8_path(path);
    if (p.is_absolute() || folder.empty()) return path;
    const auto joined = (utf8_path(folder) / p).u8string();
    return std::string(joined.begin(), joined.end());
}

std::filesystem::path utf8_path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::vector<uint8_t> encode_bmp(const Bitmap& image) {
    const uint32_t row = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t data = row * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> v;
    v.reserve(54 + data);
    v.push_back('B');
    v.push_back('M');
    put32(v, 54 + data);
    put32(v, 0);
    put32(v, 54);
    put32(v, 40);
    put32(v, image.width);
    put32(v, image.height);
    put16(v, 1);
    put16(v, 24);
    put32(v, 0);
    put32(v, data);
    put32(v, 3780);  // 96 dpi
    put32(v, 3780);
    put32(v, 0);
    put32(v, 0);
    for (int r = image.height - 1; r >= 0; --r) {
        const uint8_t* s = image.bgr.data() + static_cast<size_t>(r) * image.width * 3;
        v.insert(v.end(), s, s + static_cast<size_t>(image.width) * 3);
        v.insert(v.end(), row - image.width * 3, 0);
    }
    return v;
}

SaveResult save_bmp_file(const Bitmap& image, const std::string& path) {
    const auto bytes = encode_bmp(image);
    return save_file(path,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     Durability::plain);
}

std::string first_field(std::string_view bytes) {
    return std::string(bytes.substr(0, bytes.find_first_of(",\r\n")));
}

bool read_first_field_of_file(const std::string& path, std::string& field) {
    std::ifstream in(utf8_path(path), std::ios::binary);
    if (!in) return false;
    field.clear();
    char c;
    while (in.get(c)) {
        if (c == ',' || c == '\r' || c == '\n') break;
        field.push_back(c);
    }
    return true;
}

}  // namespace mavorin
