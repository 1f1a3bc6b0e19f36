// Text at the Win32 boundary: UTF-8 inside the program, UTF-16 for the wide API.
#pragma once

#include <string>
#include <string_view>

namespace mavorin::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// "desc|pattern|desc|pattern" as the common dialogs want it: NUL-separated, double-NUL ended.
std::wstring dialog_filter(std::string_view filter);

// What follows the program name in a raw command line (quoted or not), without the blanks
// that separate it from the name; the rest is kept exactly as given.
std::wstring command_tail(std::wstring_view command_line);

// A command tail without the window's own "-v" (first or last, as a word of its own).
std::wstring without_verbose_flag(std::wstring tail);

// The system's message for an error code (GetLastError), for the failure log.
std::string error_text(unsigned long code);
std::string last_error_text();

// A folder without trailing backslashes ("C:\" becomes "C:", so that "C:" + "\x" is a path).
std::wstring without_trailing_backslash(std::wstring folder);

}  // namespace mavorin::win32
