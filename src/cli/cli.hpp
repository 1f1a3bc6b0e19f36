// The command line of the program: options that run without a window.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace mavorin::cli {

// Handles --help, --version, --list, --dry-run and --trust (and their misuse). nullopt: open
// the window. `data_folder` holds the user's trust store.
std::optional<int> run(int argc, char** argv, std::ostream& out, std::ostream& err,
                       const std::string& data_folder);

// Prints every command line of FILE in the list-box format; 2 if FILE is not a macro file.
int list_command(const std::string& file, std::ostream& out, std::ostream& err);
// Plays FILE on the virtual clock against a platform that changes nothing, printing each
// desktop operation as "<ms> <operation> <arguments>".
int dry_run_command(const std::string& file, int64_t until_ms, std::ostream& out,
                    std::ostream& err);

// Approves FILE as its loader reads it, in the trust store of `data_folder`; 2 if FILE is not a
// macro file.
int trust_command(const std::string& file, const std::string& data_folder, std::ostream& err);

std::string help_text();

// Removes every "-v" of the window's arguments; true if there was one.
bool take_verbose(std::vector<std::string>& args);

}  // namespace mavorin::cli

namespace mavorin {
// Opens the window (Qt on Linux, native on Windows) with the program's arguments.
int run_window(int argc, char** argv);
}  // namespace mavorin
