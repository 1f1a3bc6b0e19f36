// Command-line dispatch, help and version.
#include "cli/cli.hpp"

#include <charconv>
#include <ostream>
#include <vector>

namespace mavorin::cli {

std::string help_text() {
    return R"(Usage: mavorin [FILE.mvn]
       mavorin --list FILE
       mavorin --dry-run FILE [--until MS]
       mavorin --help | --version

Mavorin plays back macros on the desktop: random waits, pointer moves, clicks,
typed text with special keys, a counter on the clipboard, program launches,
PC commands, CD doors, screenshots and waiting for pixels to change.

Without options the window opens. It loads "mavorin.mvn" from the current
folder when that file exists (its first line says whether it is loaded and
started). A macro file named on the command line is loaded and started at once;
the start key (default: none) and the abort key (default: ESC) work globally.

Options:
  --list FILE        print every command of FILE in the list format, one per line
  --dry-run FILE     play FILE on a virtual clock without touching the desktop and
                     print each desktop operation as "<ms> <operation> <arguments>"
  --until MS         stop a dry run after MS milliseconds of virtual time
                     (default 3600000)
  --help             show this text
  --version          show the version

Macro files (".mvn") are text in Windows-1252 with CR LF line ends: a first line
".mvn 0000 ..." (four option digits: start mode, window options, unused, colour
scheme), then the settings record and one command record per line, for example
  code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|
  code:|002|xpos:|100|ypos:|200|
  code:|004|text:|Hallo{ENTER}|

Exit status: 0 on success, 2 for a file that is not a macro file or a misused option.
)";
}

std::optional<int> run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return std::nullopt;
    const std::string& a = args[0];
    if (a == "--help" || a == "-h") {
        out << help_text();
        return 0;
    }
    if (a == "--version" || a == "-V") {
        out << "mavorin " << MAVORIN_VERSION << "\n";
        return 0;
    }
    if (a == "--list") {
        if (args.size() != 2) {
            err << "mavorin: --list takes exactly one file (see --help)\n";
            return 2;
        }
        return list_command(args[1], out, err);
    }
    if (a == "--dry-run") {
        if (args.size() != 2 && args.size() != 4) {
            err << "mavorin: usage: mavorin --dry-run FILE [--until MS]\n";
            return 2;
        }
        int64_t until = 3600000;
        if (args.size() == 4) {
            const std::string& v = args[3];
            auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), until);
            if (args[2] != "--until" || ec != std::errc() || p != v.data() + v.size() ||
                until < 0) {
                err << "mavorin: --until takes a whole number of milliseconds (see --help)\n";
                return 2;
            }
        }
        return dry_run_command(args[1], until, out, err);
    }
    if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
        err << "mavorin: unknown option " << a << " (see --help)\n";
        return 2;
    }
    return std::nullopt;
}

}  // namespace mavorin::cli
