// The SHA-256 compression over whole 64-byte blocks; the machine's own instructions where the
// processor has them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mavorin {

void sha256_blocks_portable(uint32_t h[8], const unsigned char* p, size_t blocks);
void sha256_blocks(uint32_t h[8], const unsigned char* p, size_t blocks);

}  // namespace mavorin
