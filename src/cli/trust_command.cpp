// --trust: approve a macro file from the command line, as the window's "Ausführen" does.
#include <ostream>

#include "cli/cli.hpp"
#include "cli/headless.hpp"
#include "document/macro_text.hpp"
#include "document/trust.hpp"

namespace mavorin::cli {

int trust_command(const std::string& file, const std::string& data_folder, std::ostream& err) {
    const std::string path = absolute_path(file);
    MacroText text;
    if (read_macro_file(path, text) != ReadResult::ok) {
        std::string why;
        if (is_macro_file(path, why)) why = "cannot be read";
        err << "mavorin: " << file << ": " << why << "\n";
        return 2;
    }
    TrustStore store(data_folder);
    if (!store.approve(text.sha256())) {
        err << "mavorin: cannot write the list of approved macros"
            << (store.path().empty() ? std::string(" (no user data folder)") : " " + store.path())
            << "\n";
        return 1;
    }
    return 0;
}

}  // namespace mavorin::cli
