// Fuzzes the keystroke notation parser and the text replacements in front of it.
#include <cstdint>
#include <string>

#include "engine/input_actions.hpp"
#include "platform/sendkeys.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    (void)mavorin::parse_sendkeys(text);
    // Whatever the user stored, the replaced text never carries a stray modifier: a stored text
    // without braces always parses.
    if (text.find_first_of("{}") == std::string::npos) {
        if (!mavorin::parse_sendkeys(mavorin::keystroke_text(text, "7")).has_value())
            __builtin_trap();
    }
    return 0;
}
