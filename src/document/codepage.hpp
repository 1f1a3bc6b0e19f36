// Windows-1252 at the file boundary: every byte maps to one code point and back.
#pragma once

#include <string>
#include <string_view>

namespace mavorin {

// Each byte becomes one character; the five undefined bytes map to U+0081, U+008D, ...
std::string cp1252_to_utf8(std::string_view bytes);
// Characters outside the code page become "?"; invalid UTF-8 bytes too.
std::string utf8_to_cp1252(std::string_view text);

}  // namespace mavorin
