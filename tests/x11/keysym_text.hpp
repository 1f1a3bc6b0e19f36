// Keysyms as UTF-8 text without an input method or locale: Latin-1, the Unicode range and the
// euro sign; "" for keys that are not characters.
#pragma once

#include <X11/X.h>

#include <string>

inline std::string keysym_text(KeySym sym) {
    unsigned long cp = 0;
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF) || sym == 0x20AC)
        cp = sym;
    else if ((sym & 0xFF000000) == 0x01000000)
        cp = sym & 0x00FFFFFF;
    std::string out;
    if (cp == 0) return out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}
