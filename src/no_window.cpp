// Builds without a window toolkit can only run the command-line options.
#include <iostream>

#include "cli/cli.hpp"
#include "platform/desktop_platform.hpp"

std::string mavorin::system_user_data_folder() {
    return xdg_user_data_folder();
}

int mavorin::run_window(int, char**) {
    std::cerr << "mavorin: this build has no window; see --help\n";
    return 2;
}
