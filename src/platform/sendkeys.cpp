// Skeleton: replaced by the real implementation.
#include "platform/sendkeys.hpp"

namespace mavorin {
std::optional<std::vector<KeyTap>> parse_sendkeys(std::string_view) {
    return std::nullopt;
}  // TODO
}  // namespace mavorin
