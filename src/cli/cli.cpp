// Command-line dispatch, help and version.
#include "cli/cli.hpp"

#include <charconv>
#include <clocale>
#include <filesystem>
#include <ostream>
#include <vector>

#include "record/record_command.hpp"

namespace mavorin::cli {

// The man page is generated from this text (packaging/manpage.cmake): a line at column 0 ending
// in ":" is a section, "  -x ..." an option with its description after two blanks, lines
// indented by four blanks are shown as written, other lines are running text.
std::string help_text() {
    return R"(Usage: mavorin [-v] [FILE.mvn]
       mavorin --list FILE
       mavorin --dry-run FILE [--until MS]
       mavorin --trust FILE
       mavorin --check
       mavorin --start | --abort
       mavorin --record FILE [--stop KEY] [--jitter PCT] [--moves MS]
       mavorin --help | --version

Mavorin builds macros in one window and plays them back on the desktop: random
waits, pointer moves, clicks, typed text with special keys, a counter on the
clipboard, program launches, PC commands, CD doors, screenshots and waiting for
pixels to change.

The window:
  Without arguments the window opens with a new macro and looks for the file
  "mavorin.mvn" in the current folder; the start mode in its first line says
  whether it is loaded, loaded and started, or left for the button "Laden".
  A macro file named on the command line, or opened from the file manager, is
  loaded and started at once.

  Every edit is written into the macro at once. "Speichern" writes the macro
  file, "Laden" reads it again, the buttons ">" beside them choose another
  file, a macro file dropped on the command list is loaded, and "Neu" starts
  a new macro. The title shows the file and a "*" while edits are unsaved;
  then Neu, Laden, another file, a drop and closing the window first ask
  "Speichern", "Verwerfen" or "Abbrechen". "Speichern unter" adds ".mvn"
  to a name without an extension.

  A macro from a file that you have not approved asks before its first run
  that starts programs or carries out PC commands, listing each of them in
  full. "Ausfuehren" runs it and approves the file; "Abbrechen" runs nothing.
  A changed file asks again. A macro you build or save yourself never asks.

  A run carries out every command with the pause of the settings after each,
  and repeats the whole macro as often as the settings say. The start key
  (default: none) starts a run and the abort key (default: ESC) stops it,
  also while another window has the focus. Closing the window frees mouse and
  keyboard if a macro blocked them. Where the desktop has a tray, an icon
  shows the running pass and offers "Abbrechen". A desktop that lacks what
  macros need (such as an X server without XTEST) is named in a box at start;
  without a way to reach mouse and keyboard the window edits macros but runs
  none.

  "mavorin --start" and "mavorin --abort" act in the running window as the
  start and abort keys do, also when the settings name no start key: bind
  them to keys of the desktop (on Wayland the program cannot see the keys
  itself) or call them from scripts. They reach the first window of the user
  over the socket mavorin.sock in $XDG_RUNTIME_DIR (else in /tmp/mavorin-UID);
  other users are refused. Not on Windows.

  Desktop operations that fail (a program that cannot be started, a power
  command, the CD door, a screenshot that cannot be taken or written) leave a
  line with the time and the reason in $XDG_STATE_HOME/mavorin/mavorin.log
  (default ~/.local/state/mavorin/mavorin.log); past 256 kB it becomes
  mavorin.log.1 and a new file starts.

Options:
  -v                 with the window: also print failed desktop operations on
                     stderr
  --list FILE        print the commands of FILE as the command list shows
                     them, one per line, all of them (the window shows 999)
  --dry-run FILE     play FILE on a virtual clock without touching the desktop
                     or writing any file (screenshots stay in memory) and
                     print each desktop operation as "MS OPERATION ARGS",
                     then "MS end" or "MS stopped"; progress goes to stderr
  --until MS         stop a dry run after MS milliseconds of virtual time
                     (default 3600000, one hour)
  --trust FILE       approve FILE as it is now, so that the window runs it
                     without asking; approvals are kept in the user's data
                     folder ($XDG_DATA_HOME/mavorin, else
                     ~/.local/share/mavorin; %APPDATA%\Mavorin on Windows)
  --check            print what this desktop lets macros do: the backend and
                     display, then per ability (pointer, clicks, keys, hot
                     keys, clipboard, screen capture, input block, ...)
                     whether it works here and why
  --start            start the macro in the running window, as the start key
  --abort            stop the run in the running window, as the abort key
  --record FILE      record clicks and typed keys on the desktop until the stop
                     key is tapped, and write them to FILE as a macro that runs
                     without asking; prints a summary line (X11 only)
  --stop KEY         the stop key of --record and the abort key of the
                     recorded macro: ESC (default) or F1 to F12
  --jitter PCT       record each wait as a random range of PCT percent around
                     the gap
  --no-waits         record no waits at all
  --moves MS         also record the pointer's path: its position every MS
                     milliseconds while it moves
  -h, --help         show this text
  -V, --version      show the version

Macro files:
  A macro file ends in ".mvn" and is text in Windows-1252 with CR LF line
  ends. Its first line is ".mvn", a blank, four option digits and a banner;
  the program writes ".mvn 0000". Digit 1 is the start mode of "mavorin.mvn"
  (1 load, 2 load and start, else neither), digit 2 the window options
  (1 transparent, 2 always on top, 3 both, 4 to 7 the same with the command
  list hidden) and digit 4 the colour scheme (1 to 3). The settings record
  and one command record per line follow; a line that does not begin with
  "code" ends the macro. For example:

    .mvn 0000 Mavorin
    code:|000|wait:|500|loop:|1|start:|F9|stop:|ESC|
    code:|002|xpos:|100|ypos:|200|
    code:|004|text:|{SHIFT}hallo{ENTER}|

  The settings record holds the pause after each command in milliseconds,
  the number of repetitions after the first pass and the two hot keys ("no",
  "ESC", "F1" to "F12"). The commands:

    001 wait:|MS|maxwait:|MS|      wait a random time between the two
    002 xpos:|X|ypos:|Y|           move the pointer
    003 mouseclick:|left|          click left, middle or right
    004 text:|TEXT|                type TEXT; keys in braces: {ENTER},
                                   {TAB}, {SHIFT}, {CTRL}, {ALT}, {F1}...
    005 start:|N|step:|N|          count up and put the number on the
                                   clipboard, shown by {CODE5} in texts
    006 pfad:|PROGRAM|             start a program
    007 pc:|WORD|                  lockpc, reboot, shutdown, screenoff,
                                   end, input-disable, input-enable
    008 drive:|DEVICE|move:|M|     CD door; M is open or close
    009 pfad:|FILE|                save a screenshot as a bitmap, or as
                                   JPEG: "NAME.jpg <80%>" (quality 80)
    010 xpos:|X|ypos:|Y|break:|N|  wait until the pixels at X,Y change;
                                   stop after N times 20 polls (0: never)

Examples:
  Example macros are installed in /usr/share/doc/mavorin/examples. Try one
  without touching the desktop first:

    mavorin --dry-run /usr/share/doc/mavorin/examples/pointer-tour.mvn

Recording:
  With --record a click becomes a move to the press position and a click; keys
  typed less than a second apart become one typed text, in the notation of
  the commands above ("{ENTER}", "{CTRL}c", "{{}"); the gaps become waits, net
  of the pause of 10 ms that the recorded macro keeps after each command. A
  drag is kept as a click where the button went down. "|" and characters that
  Windows-1252 cannot hold are left out and named in the summary. In the
  window the list's popup menu entry "Aufnahme einfuegen" records until the
  abort key and inserts the commands after the current line.

Exit status:
  0 on success; 1 when --start or --abort finds no running window or is
  refused; 2 for a misused option or a file that is not a macro file.
  With --check: 0 when pointer, keys, hot keys and screen capture work, 1
  when one of them does not, 3 when no display can be opened.
)";
}

namespace {

constexpr int64_t kDefaultUntilMs = 3600000;

bool is_option(const std::string& a) {
    return a.size() > 1 && a[0] == '-';
}

int misuse(std::ostream& err, const std::string& message) {
    err << "mavorin: " << message << " (see mavorin --help)\n";
    return 2;
}

bool is_mode(const std::string& a) {
    return a == "--list" || a == "--dry-run" || a == "--trust" || a == "--record" ||
           a == "--check" || a == "--help" || a == "-h" || a == "--version" || a == "-V";
}

std::string canonical_mode(const std::string& a) {
    if (a == "-h") return "--help";
    if (a == "-V") return "--version";
    return a;
}

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// --dry-run FILE [--until MS], the two in either order; MS also as --until=MS.
std::optional<int> dry_run_args(const std::vector<std::string>& rest, std::ostream& out,
                                std::ostream& err) {
    std::optional<std::string> file;
    std::optional<std::string> until_text;
    for (size_t i = 0; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (a == "--until" || a.rfind("--until=", 0) == 0) {
            if (until_text) return misuse(err, "--until is given twice");
            if (a == "--until") {
                if (i + 1 >= rest.size())
                    return misuse(err, "--until needs a number of milliseconds");
                until_text = rest[++i];
            } else {
                until_text = a.substr(8);
            }
        } else if (is_option(a)) {
            return misuse(err, "--dry-run does not know the option " + a);
        } else if (file) {
            return misuse(err, "--dry-run plays one file, not both " + *file + " and " + a);
        } else {
            file = a;
        }
    }
    if (!file) return misuse(err, "--dry-run needs a macro file: mavorin --dry-run FILE");
    int64_t until = kDefaultUntilMs;
    if (until_text) {
        const std::string& v = *until_text;
        auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), until);
        if (v.empty() || ec != std::errc() || p != v.data() + v.size() || until < 0)
            return misuse(err, "--until takes a whole number of milliseconds, not \"" + v + "\"");
    }
    return dry_run_command(*file, until, out, err);
}

}  // namespace

bool take_verbose(std::vector<std::string>& args) {
    const auto n = std::erase(args, std::string("-v"));
    return n > 0;
}

std::optional<int> run(int argc, char** argv, std::ostream& out, std::ostream& err,
                       const std::string& data_folder) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return std::nullopt;

    std::string mode;
    for (const auto& a : args) {
        if (!is_mode(a)) continue;
        const std::string m = canonical_mode(a);
        if (m == "--help") {
            out << help_text();
            return 0;
        }
        if (!mode.empty() && mode != m)
            return misuse(err, mode + " and " + m + " cannot be combined");
        mode = m;
    }
    if (mode.empty()) {
        // Sent by the window's side, which needs no display for it.
        for (const auto& a : args)
            if (a == "--start" || a == "--abort") {
                if (args.size() > 1) return misuse(err, a + " takes no other arguments");
                return std::nullopt;
            }
        // The window: at most one macro file and -v.
        take_verbose(args);  // the window's start reads it again
        for (const auto& a : args) {
            if (a == "--until" || a.rfind("--until=", 0) == 0)
                return misuse(err, "--until belongs to --dry-run");
            if (is_option(a)) return misuse(err, "unknown option " + a);
        }
        if (args.empty()) return std::nullopt;
        if (args.size() > 1)
            return misuse(err,
                          "the window opens one macro file, not " + std::to_string(args.size()));
        // Not an error: the window starts as it would from the desktop, but say why the file
        // will not be played.
        const std::string& f = args[0];
        std::error_code ec;
        if (!ends_with(f, ".mvn"))
            err << "mavorin: " << f
                << ": the name does not end in \".mvn\"; the window opens without it\n";
        else if (!std::filesystem::is_regular_file(f, ec))
            err << "mavorin: " << f << ": no such file; the window opens with a new macro\n";
        return std::nullopt;
    }

    std::vector<std::string> rest;
    bool mode_seen = false;
    for (const auto& a : args) {
        if (!mode_seen && canonical_mode(a) == mode) {
            mode_seen = true;
            continue;
        }
        rest.push_back(a);
    }
    if (mode == "--check") {
        if (!rest.empty()) return misuse(err, "--check takes no arguments");
        return std::nullopt;  // the window's build asks its desktop
    }
    if (mode == "--record") {
        // The window's build records; here the options are only checked.
        std::string error;
        if (!parse_record_args(args, error)) return misuse(err, error);
        return std::nullopt;
    }
    if (mode == "--version") {
        if (!rest.empty()) return misuse(err, "--version takes no arguments");
        out << "mavorin " << MAVORIN_VERSION << "\n";
        return 0;
    }
    if (mode == "--list" || mode == "--trust") {
        for (const auto& a : rest)
            if (a == "--until" || a.rfind("--until=", 0) == 0)
                return misuse(err, "--until belongs to --dry-run, not " + mode);
            else if (is_option(a))
                return misuse(err, mode + " does not know the option " + a);
        if (rest.empty())
            return misuse(err, mode + " needs a macro file: mavorin " + mode + " FILE");
        if (rest.size() > 1)
            return misuse(err, mode + " takes one file, not " + std::to_string(rest.size()));
        if (mode == "--trust") return trust_command(rest[0], data_folder, err);
        // Numbers in the decimal separator of the user's locale, as the window shows them.
        std::setlocale(LC_NUMERIC, "");
        return list_command(rest[0], out, err);
    }
    std::setlocale(LC_NUMERIC, "");
    return dry_run_args(rest, out, err);
}

}  // namespace mavorin::cli
