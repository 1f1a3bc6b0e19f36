// Windows-1252 at the file boundary: every byte maps to one code point and back.
#pragma once

#include <string>
#include <string_view>

namespace mavorin {

// Plain ASCII reads the same in both encodings. No early exit, so the loop vectorizes.
inline bool is_ascii(std::string_view s) {
    unsigned char any = 0;
    for (char c : s) any |= static_cast<unsigned char>(c);
    return (any & 0x80) == 0;
}

// Each byte becomes one character; the five undefined bytes map to U+0081, U+008D, ...
std::string cp1252_to_utf8(std::string_view bytes);
// Characters outside the code page become "?"; invalid UTF-8 bytes too.
std::string utf8_to_cp1252(std::string_view text);

}  // namespace mavorin
