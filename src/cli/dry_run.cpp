// Skeleton: replaced by the real implementation.
#include "cli/cli.hpp"

namespace mavorin::cli {
int dry_run_command(const std::string&, int64_t, std::ostream&, std::ostream&) { return 2; }  // TODO
}  // namespace mavorin::cli
