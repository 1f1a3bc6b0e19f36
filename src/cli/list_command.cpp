// --list: the commands of a macro file exactly as the list box shows them, one per line.
#include <ostream>

#include "cli/cli.hpp"
#include "cli/headless.hpp"
#include "commandlist/command_list.hpp"

namespace mavorin::cli {

int list_command(const std::string& file, std::ostream& out, std::ostream& err) {
    const std::string path = absolute_path(file);
    std::string why;
    if (!is_macro_file(path, why)) {
        err << "mavorin: " << file << ": " << why << "\n";
        return 2;
    }
    HeadlessWindow h;
    frm_mavorin& w = *h.window;
    w.on_notice = [&](const std::string& text) {
        err << "mavorin: " << file << ": " << text << "\n";
    };
    w.startup.Form_Load();
    w.dateipfad = path;
    // What "Laden" shows; but the user should know that these lines are not the file's.
    if (w.macro_file.load() == LoadResult::no_records)
        err << "mavorin: " << file
            << ": the file holds no commands; listed is the macro that stays in the window\n";
    for (int i = 0; i <= w.befehl_anzahl && i < kSlots; ++i)
        out << list_line(i, w.befehl[i]) << "\n";
    out.flush();
    return 0;
}

}  // namespace mavorin::cli
