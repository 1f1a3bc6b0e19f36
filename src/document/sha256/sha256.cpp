// SHA-256 (FIPS 180-4): the plain block code, and the byte stream cut into blocks.
#include "document/sha256/sha256.hpp"

#include <algorithm>
#include <cstring>

#include "document/sha256/blocks.hpp"

namespace mavorin {

namespace {

uint32_t rotr(uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

}  // namespace

Sha256::Sha256()
    : h_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void sha256_blocks_portable(uint32_t* state, const unsigned char* p, size_t blocks) {
    for (; blocks > 0; --blocks, p += 64) {
        uint32_t m[64];
        for (int i = 0; i < 16; ++i)
            m[i] = uint32_t(p[4 * i]) << 24 | uint32_t(p[4 * i + 1]) << 16 |
                   uint32_t(p[4 * i + 2]) << 8 | uint32_t(p[4 * i + 3]);
        for (int i = 16; i < 64; ++i) {
            const uint32_t s0 = rotr(m[i - 15], 7) ^ rotr(m[i - 15], 18) ^ (m[i - 15] >> 3);
            const uint32_t s1 = rotr(m[i - 2], 17) ^ rotr(m[i - 2], 19) ^ (m[i - 2] >> 10);
            m[i] = m[i - 16] + s0 + m[i - 7] + s1;
        }
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5],
                 g = state[6], h = state[7];
        for (int i = 0; i < 64; ++i) {
            const uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) +
                                ((e & f) ^ (~e & g)) + kRound[i] + m[i];
            const uint32_t t2 =
                (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

void Sha256::update(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    length_ += n;
    if (used_ > 0) {
        const size_t take = std::min(n, 64 - used_);
        std::memcpy(buf_ + used_, p, take);
        used_ += take;
        p += take;
        n -= take;
        if (used_ < 64) return;
        sha256_blocks(h_, buf_, 1);
        used_ = 0;
    }
    sha256_blocks(h_, p, n / 64);
    p += n / 64 * 64;
    n %= 64;
    std::memcpy(buf_, p, n);
    used_ = n;
}

std::string Sha256::hex_digest() {
    const uint64_t bits = length_ * 8;
    unsigned char pad[72] = {0x80};
    const size_t pad_len = (used_ < 56 ? 56 : 120) - used_;
    for (int i = 0; i < 8; ++i) pad[pad_len + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    update(std::string_view(reinterpret_cast<const char*>(pad), pad_len + 8));
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (uint32_t v : h_)
        for (int shift = 28; shift >= 0; shift -= 4) out.push_back(hex[(v >> shift) & 15]);
    return out;
}

std::string sha256_hex(std::string_view bytes) {
    Sha256 s;
    s.update(bytes);
    return s.hex_digest();
}

}  // namespace mavorin
