// The launch question: every program launch and PC command of an untrusted run, shown so that
// nothing can hide in it.
#include "engine/launch_gate.hpp"

#include "app/commands.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

bool is_blank_at(const std::string& s, size_t i, size_t& width) {
    if (s[i] == ' ') {
        width = 1;
        return true;
    }
    // A no-break space looks like a blank.
    if (static_cast<unsigned char>(s[i]) == 0xC2 && i + 1 < s.size() &&
        static_cast<unsigned char>(s[i + 1]) == 0xA0) {
        width = 2;
        return true;
    }
    return false;
}

// Runs of blanks as "␣" each (a single blank stays), control characters as their pictures, so
// that a command cannot push a second one out of sight.
std::string visible_text(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t width = 0;
        if (is_blank_at(s, i, width)) {
            size_t j = i, count = 0;
            while (j < s.size() && is_blank_at(s, j, width)) {
                j += width;
                ++count;
            }
            if (count == 1) {
                out.append(s, i, j - i);
            } else {
                for (size_t k = 0; k < count; ++k) out += "\u2423";
            }
            i = j;
        } else if (c < 0x20 || c == 0x7F) {
            // U+2400 + c; DEL has its picture at U+2421.
            const unsigned pic = c == 0x7F ? 0x21 : c;
            out += {'\xE2', '\x90', static_cast<char>(0x80 + pic)};
            ++i;
        } else if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) < 0xA0) {
            out += "\uFFFD";  // C1 controls have no pictures
            i += 2;
        } else {
            out.push_back(s[i]);
            ++i;
        }
    }
    return out;
}

}  // namespace

bool LaunchGate::may_run(int single_slot) {
    if (w.headless || w.trust.trusted()) return true;
    const bool single = single_slot >= 0;
    const std::vector<LaunchCommand> listed =
        single ? launches_in(w, single_slot, single_slot) : launches_in(w, 1, w.befehl_anzahl);
    if (listed.empty()) return true;
    Question q;
    q.text = single ? "Dieser Befehl stammt aus einer Datei, der Sie noch nicht vertraut "
                      "haben. Führen Sie ihn nur aus, wenn Sie wissen, was er tut:"
                    : "Dieses Makro stammt aus einer Datei, der Sie noch nicht vertraut "
                      "haben, und startet Programme oder führt PC-Befehle aus. Führen Sie "
                      "es nur aus, wenn Sie wissen, was diese Befehle tun:";
    for (const LaunchCommand& l : listed) {
        if (!q.details.empty()) q.details += "\n";
        q.details += "Befehl " + std::to_string(l.slot) + ": " + code_text(l.code) + " " +
                     visible_text(l.value);
    }
    q.buttons = {"&Ausführen", "Abbrechen"};
    q.default_button = 1;
    q.cancel_button = 1;
    if (w.ask(q) != 0) return false;
    if (listed.size() == launches_in(w, 1, w.befehl_anzahl).size()) w.trust.approve();
    return true;
}

}  // namespace mavorin
