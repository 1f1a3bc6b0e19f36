// Processors without SHA instructions of their own.
#include "document/sha256/blocks.hpp"

namespace mavorin {

void sha256_blocks(uint32_t h[8], const unsigned char* p, size_t blocks) {
    sha256_blocks_portable(h, p, blocks);
}

}  // namespace mavorin
