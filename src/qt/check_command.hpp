// `mavorin --check`, and what the window says when the desktop lacks an essential. Needs no Qt:
// it runs before the application object exists.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/desktop_check.hpp"

namespace mavorin::qt {

// What the desktop the window would use offers here; no display at all gives exit code 3.
// Without `ask_system` no other program is started to ask the system.
DesktopCheck check_this_desktop(bool ask_system = true);

// The report: the backend and display first, then one line per ability, then the verdict.
void print_check(const DesktopCheck& check, std::ostream& out);

// Runs the check when `args` (the program's arguments) ask for it; nullopt when they don't.
std::optional<int> check_command(const std::vector<std::string>& args, std::ostream& out);

// The German box text naming the missing essentials and why; "" when nothing essential is
// missing.
std::string missing_essentials_box(const DesktopCheck& check);
// The same in one English line for stderr; "" when nothing is missing.
std::string missing_essentials_line(const DesktopCheck& check);

}  // namespace mavorin::qt
