// `mavorin --check`: the report of what the desktop lets the program do.
#include "qt/check_command.hpp"

#include <algorithm>
#include <cstdlib>

#include "platform/linux/backend_choice.hpp"
#include "platform/linux/instance_control.hpp"
#include "platform/wayland/wayland_platform.hpp"
#include "platform/x11/x11_platform.hpp"

namespace mavorin::qt {

namespace {

const AbilityLine* line_of(const DesktopCheck& check, Ability a) {
    const auto it = std::find_if(check.lines.begin(), check.lines.end(),
                                 [a](const AbilityLine& l) { return l.ability == a; });
    return it == check.lines.end() ? nullptr : &*it;
}

// The reason without its verdict: "does not work: the X server ..." -> "the X server ...".
std::string reason(const DesktopCheck& check, Ability a) {
    const AbilityLine* l = line_of(check, a);
    if (!l) return "not checked";
    const std::string prefix = "does not work: ";
    return l->why.rfind(prefix, 0) == 0 ? l->why.substr(prefix.size()) : l->why;
}

std::string german_word(Ability a) {
    switch (a) {
        case Ability::pointer:
            return "Mauszeiger bewegen";
        case Ability::keys:
            return "Tasten drücken";
        case Ability::hot_keys:
            return "Start- und Abbruchtaste";
        case Ability::screen_capture:
            return "Bildschirm lesen";
        default:
            return ability_word(a);
    }
}

// The reasons a backend gives most often, in the window's language; others stay as they are.
std::string german_reason(const std::string& why) {
    static const std::pair<const char*, const char*> known[] = {
        {"the X server has no XTEST extension", "dem X-Server fehlt die Erweiterung XTEST"},
        {"the X server refuses to read the screen (XGetImage)",
         "der X-Server lässt den Bildschirm nicht lesen (XGetImage)"},
    };
    for (const auto& [english, german] : known)
        if (why == english) return german;
    return why;
}

}  // namespace

DesktopCheck check_this_desktop(bool ask_system) {
    const desktop::BackendChoice choice = desktop::choose_this_backend();
    const char* x = std::getenv("DISPLAY");
    const char* wl = std::getenv("WAYLAND_DISPLAY");
    DesktopCheck check;
    if (choice.backend == desktop::Backend::wayland)
        check = wayland::check_desktop();
    else if (choice.backend == desktop::Backend::x11 || (x && *x))
        check = x11::check_desktop(ask_system);
    else if (wl && *wl)
        check = wayland::check_desktop();
    else
        check.session = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    if (!choice.warning.empty()) check.notes.insert(check.notes.begin(), choice.warning);
    if (check.backend == "wayland") {
        // Wayland shows no client the keys of others: the compositor's key bindings call
        // `mavorin --start` / `--abort`, which reach the window over its socket.
        for (auto& line : check.lines) {
            if (line.ability != Ability::hot_keys) continue;
            std::string why;
            const auto folder = instance::socket_folder(why);
            line.works = folder.has_value();
            line.why = folder ? "instance control: bind mavorin --start and --abort in the "
                                "compositor (socket " +
                                    instance::socket_path(*folder) + ")"
                              : "instance control cannot listen: " + why;
        }
    }
    return check;
}

void print_check(const DesktopCheck& check, std::ostream& out) {
    if (!check.display_opened) {
        out << "cannot open the display (" << check.session << ")\n";
        return;
    }
    out << "backend " << check.backend << " on " << check.session << "\n";
    for (const auto& note : check.notes) out << "note: " << note << "\n";
    for (const auto& l : check.lines) {
        std::string word = ability_word(l.ability) + ":";
        word.resize(std::max<size_t>(word.size() + 1, 32), ' ');
        out << "  " << word << l.why << "\n";
    }
    const auto missing = check.missing_essentials();
    if (missing.empty()) {
        out << "macros can run here\n";
        return;
    }
    out << "macros cannot run here: missing";
    for (size_t i = 0; i < missing.size(); ++i) out << (i ? ", " : " ") << ability_word(missing[i]);
    out << "\n";
}

std::optional<int> check_command(const std::vector<std::string>& args, std::ostream& out) {
    if (std::find(args.begin(), args.end(), "--check") == args.end()) return std::nullopt;
    const DesktopCheck check = check_this_desktop();
    print_check(check, out);
    return check.exit_code();
}

std::string missing_essentials_box(const DesktopCheck& check) {
    const auto missing = check.missing_essentials();
    if (missing.empty()) return "";
    // One line per reason: XTEST alone takes both the pointer and the keys.
    std::vector<std::pair<std::string, std::string>> lines;  // reason, what it takes
    for (Ability a : missing) {
        const std::string why = german_reason(reason(check, a));
        auto it =
            std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == why; });
        if (it == lines.end())
            lines.push_back({why, german_word(a)});
        else
            it->second += ", " + german_word(a);
    }
    std::string text = "Auf diesem Desktop fehlt, was Makros brauchen:\n";
    for (const auto& [why, what] : lines) text += "\n• " + what + ": " + why;
    return text + "\n\nMakros laufen hier nicht richtig. Einzelheiten zeigt „mavorin --check“.";
}

std::string missing_essentials_line(const DesktopCheck& check) {
    const auto missing = check.missing_essentials();
    if (missing.empty()) return "";
    std::string text = "mavorin: missing on this desktop:";
    for (size_t i = 0; i < missing.size(); ++i)
        text +=
            (i ? "; " : " ") + ability_word(missing[i]) + " (" + reason(check, missing[i]) + ")";
    return text + "; see mavorin --check";
}

}  // namespace mavorin::qt
