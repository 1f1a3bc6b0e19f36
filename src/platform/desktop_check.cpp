#include "platform/desktop_check.hpp"

#include <algorithm>

namespace mavorin {

std::vector<Ability> DesktopCheck::missing_essentials() const {
    std::vector<Ability> missing;
    for (Ability a :
         {Ability::pointer, Ability::keys, Ability::hot_keys, Ability::screen_capture}) {
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [a](const AbilityLine& l) { return l.ability == a; });
        if (line == lines.end() || !line->works) missing.push_back(a);
    }
    return missing;
}

int DesktopCheck::exit_code() const {
    if (!display_opened) return 3;
    return missing_essentials().empty() ? 0 : 1;
}

std::string ability_word(Ability ability) {
    switch (ability) {
        case Ability::pointer:
            return "pointer";
        case Ability::clicks:
            return "clicks";
        case Ability::keys:
            return "keys";
        case Ability::foreign_characters:
            return "characters outside the keymap";
        case Ability::hot_keys:
            return "hot keys";
        case Ability::clipboard:
            return "clipboard";
        case Ability::screen_capture:
            return "screen capture";
        case Ability::input_block:
            return "input block";
        case Ability::lock_and_power:
            return "lock and power";
        case Ability::monitor_off:
            return "monitor off";
        case Ability::cd_door:
            return "CD door";
        case Ability::opacity_on_top:
            return "opacity and on-top";
    }
    return "?";
}

}  // namespace mavorin
