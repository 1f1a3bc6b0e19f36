// Skeleton: replaced by the real implementation.
#include "document/codepage.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
std::string cp1252_to_utf8(std::string_view b) { return std::string(b); }
std::string utf8_to_cp1252(std::string_view t) { return std::string(t); }

}  // namespace mavorin
