// Skeleton: replaced by the real implementation.
#include "cli/cli.hpp"

namespace mavorin::cli {
int list_command(const std::string&, std::ostream&, std::ostream&) { return 2; }  // TODO
}  // namespace mavorin::cli
