// SHA-256 of macro files: what the store of approved files knows a file by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mavorin {

// SHA-256 (FIPS 180-4), fed in pieces.
class Sha256 {
  public:
    Sha256();
    void update(std::string_view bytes);
    // 64 lower-case hex digits; the object is spent afterwards.
    std::string hex_digest();

  private:
    uint32_t h_[8];
    unsigned char buf_[64];
    size_t used_ = 0;
    uint64_t length_ = 0;
};

std::string sha256_hex(std::string_view bytes);

}  // namespace mavorin
