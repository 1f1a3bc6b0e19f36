// Skeleton: replaced by the real implementation.
#include "cli/cli.hpp"

int mavorin::run_window(int, char**) {
    return 2;
}  // TODO
