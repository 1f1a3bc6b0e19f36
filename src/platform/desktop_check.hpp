// What this desktop lets the program do, as `mavorin --check` prints it and the window warns.
#pragma once

#include <string>
#include <vector>

namespace mavorin {

enum class Ability {
    pointer,
    clicks,
    keys,
    foreign_characters,  // characters outside the user's keymap
    hot_keys,            // global start and abort keys (instance control on Wayland)
    clipboard,
    screen_capture,
    input_block,
    lock_and_power,
    monitor_off,
    cd_door,
    opacity_on_top,
};

struct AbilityLine {
    Ability ability;
    bool works = false;
    std::string why;  // backend, extension or session type: why it works or not
};

struct DesktopCheck {
    std::string backend;             // "x11", "wayland", "win32"; "" when none could be opened
    std::string session;             // what was reached, e.g. "X11 display :0"
    bool display_opened = false;     // false: exit 3
    std::vector<std::string> notes;  // lines printed before the abilities (warnings)
    std::vector<AbilityLine> lines;

    // The essentials a macro cannot do without: pointer, keys, hot keys, screen capture.
    std::vector<Ability> missing_essentials() const;
    // 0 when every essential works, 1 when one does not, 3 when no display could be opened.
    int exit_code() const;
};

// The English word of an ability as --check prints it ("pointer", "screen capture", ...).
std::string ability_word(Ability ability);

}  // namespace mavorin
