// The XDG base-directory rule for the user's data folder.
#include <cstdlib>
#include <string>

#include "platform/desktop_platform.hpp"

namespace mavorin {

std::string xdg_user_data_folder() {
    // A relative XDG_DATA_HOME is invalid and ignored, as the rule says.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::string(data) + "/mavorin";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/mavorin";
    return {};
}

}  // namespace mavorin
