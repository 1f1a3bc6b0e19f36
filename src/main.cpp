// Entry point: command-line options first, otherwise the window.
#include <iostream>

#include "cli/cli.hpp"
#include "platform/desktop_platform.hpp"

int main(int argc, char** argv) {
    if (auto rc =
            mavorin::cli::run(argc, argv, std::cout, std::cerr, mavorin::system_user_data_folder()))
        return *rc;
    return mavorin::run_window(argc, argv);
}
