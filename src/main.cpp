// Entry point: command-line options first, otherwise the window.
#include <iostream>

#include "cli/cli.hpp"

int main(int argc, char** argv) {
    if (auto rc = mavorin::cli::run(argc, argv, std::cout, std::cerr)) return *rc;
    return mavorin::run_window(argc, argv);
}
