// Builds without a window toolkit can only run the command-line options.
#include <iostream>

#include "cli/cli.hpp"

int mavorin::run_window(int, char**) {
    std::cerr << "mavorin: this build has no window; see --help\n";
    return 2;
}
