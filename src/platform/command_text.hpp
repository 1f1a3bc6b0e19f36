// Splits a program launch's command text the way a Windows command line is split, never by a shell.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mavorin {

// What the splitter may ask of the file system; paths use "/" and absolute ones begin with it.
struct CommandLookup {
    std::vector<std::string> path_folders;  // PATH, in order
    std::string current_folder;
    std::function<bool(const std::string&)> is_executable;  // an executable regular file
    std::function<bool(const std::string&)> is_file;        // an existing regular file
};

struct Launch {
    enum class Kind { nothing, program, document };
    Kind kind = Kind::nothing;
    std::string file;                    // the program or the document, as found
    std::vector<std::string> arguments;  // the program's arguments after its own name
    bool operator==(const Launch&) const = default;
};

// Words as a Windows program reads its command line: blanks separate, double quotes group,
// 2n backslashes before a quote give n and the quote groups, 2n+1 give n and a literal quote,
// "" inside quotes is a literal quote.
std::vector<std::string> split_arguments(std::string_view text);

// A quoted first word is the program; an unquoted text tries its prefixes at each blank until one
// names an executable file; a bare name is looked up in PATH, then in the current folder. An
// existing file that is not executable is a document for the default handler.
Launch split_command_text(std::string_view text, const CommandLookup& lookup);

}  // namespace mavorin
