// x86-64: the SHA extensions hash a macro file several times faster than plain code, which
// matters because every load hashes the whole file.
#include <cpuid.h>
#include <immintrin.h>

#include "document/sha256/blocks.hpp"

namespace mavorin {

namespace {

bool has_sha_instructions() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    const bool ssse3_sse41 = (c & (1u << 9)) && (c & (1u << 19));
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return ssse3_sse41 && (b & (1u << 29));
}

__attribute__((target("sha,sse4.1,ssse3"))) void blocks_sha(uint32_t h[8], const unsigned char* p,
                                                            size_t blocks) {
    const __m128i swap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    // The instructions keep the state as ABEF and CDGH.
    __m128i tmp = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h)), 0xB1);
    __m128i cdgh =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(tmp, cdgh, 8);
    cdgh = _mm_blend_epi16(cdgh, tmp, 0xF0);
    for (; blocks > 0; --blocks, p += 64) {
        const __m128i abef_in = abef, cdgh_in = cdgh;
        __m128i m[4];
        for (int g = 0; g < 16; ++g) {
            __m128i w;
            if (g < 4) {
                w = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * g)),
                                     swap);
            } else {
                w = _mm_sha256msg1_epu32(m[g & 3], m[(g + 1) & 3]);
                w = _mm_add_epi32(w, _mm_alignr_epi8(m[(g + 3) & 3], m[(g + 2) & 3], 4));
                w = _mm_sha256msg2_epu32(w, m[(g + 3) & 3]);
            }
            m[g & 3] = w;
            __m128i k =
                _mm_add_epi32(w, _mm_load_si128(reinterpret_cast<const __m128i*>(kRound + 4 * g)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k, 0x0E));
        }
        abef = _mm_add_epi32(abef, abef_in);
        cdgh = _mm_add_epi32(cdgh, cdgh_in);
    }
    tmp = _mm_shuffle_epi32(abef, 0x1B);
    cdgh = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(h), _mm_blend_epi16(tmp, cdgh, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(h + 4), _mm_alignr_epi8(cdgh, tmp, 8));
}

}  // namespace

void sha256_blocks(uint32_t h[8], const unsigned char* p, size_t blocks) {
    static const bool sha = has_sha_instructions();
    if (sha)
        blocks_sha(h, p, blocks);
    else
        sha256_blocks_portable(h, p, blocks);
}

}  // namespace mavorin
