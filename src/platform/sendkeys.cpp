// Parser of the brace notation: modifiers, groups, named keys with repeat counts, literal braces.
#include "platform/sendkeys.hpp"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace mavorin {

namespace {

const std::map<std::string, NamedKey>& key_names() {
    static const std::map<std::string, NamedKey> names = {{"ENTER", NamedKey::Enter},
                                                          {"TAB", NamedKey::Tab},
                                                          {"BS", NamedKey::Backspace},
                                                          {"BKSP", NamedKey::Backspace},
                                                          {"BACKSPACE", NamedKey::Backspace},
                                                          {"DEL", NamedKey::Delete},
                                                          {"DELETE", NamedKey::Delete},
                                                          {"INS", NamedKey::Insert},
                                                          {"INSERT", NamedKey::Insert},
                                                          {"ESC", NamedKey::Escape},
                                                          {"UP", NamedKey::Up},
                                                          {"DOWN", NamedKey::Down},
                                                          {"LEFT", NamedKey::Left},
                                                          {"RIGHT", NamedKey::Right},
                                                          {"HOME", NamedKey::Home},
                                                          {"END", NamedKey::End},
                                                          {"PGUP", NamedKey::PageUp},
                                                          {"PGDN", NamedKey::PageDown},
                                                          {"CAPSLOCK", NamedKey::CapsLock},
                                                          {"NUMLOCK", NamedKey::NumLock},
                                                          {"SCROLLLOCK", NamedKey::ScrollLock},
                                                          {"BREAK", NamedKey::Break},
                                                          {"PRTSC", NamedKey::PrintScreen},
                                                          {"HELP", NamedKey::Help},
                                                          {"F1", NamedKey::F1},
                                                          {"F2", NamedKey::F2},
                                                          {"F3", NamedKey::F3},
                                                          {"F4", NamedKey::F4},
                                                          {"F5", NamedKey::F5},
                                                          {"F6", NamedKey::F6},
                                                          {"F7", NamedKey::F7},
                                                          {"F8", NamedKey::F8},
                                                          {"F9", NamedKey::F9},
                                                          {"F10", NamedKey::F10},
                                                          {"F11", NamedKey::F11},
                                                          {"F12", NamedKey::F12},
                                                          {"F13", NamedKey::F13},
                                                          {"F14", NamedKey::F14},
                                                          {"F15", NamedKey::F15},
                                                          {"F16", NamedKey::F16}};
    return names;
}

// Decodes one UTF-8 character at `i`; invalid bytes decode as themselves (Latin-1).
char32_t next_char(std::string_view s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int len = c < 0x80             ? 1
              : (c & 0xE0) == 0xC0 ? 2
              : (c & 0xF0) == 0xE0 ? 3
              : (c & 0xF8) == 0xF0 ? 4
                                   : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return c;
    }
    char32_t cp = len == 1 ? c : c & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return c;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    i += len;
    return cp;
}

class Parser {
  public:
    explicit Parser(std::string_view s) : s_(s) {}

    bool parse(std::vector<KeyTap>& out) { return sequence(out, 0, false) && i_ == s_.size(); }

  private:
    // Parses until the end or, inside a group, the closing parenthesis.
    bool sequence(std::vector<KeyTap>& out, unsigned held, bool in_group) {
        unsigned pending = 0;  // modifiers for the next key or group
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (c == ')') {
                if (!in_group || pending) return false;
                return true;
            }
            if (c == '+' || c == '^' || c == '%') {
                pending |= c == '+' ? kModShift : c == '^' ? kModCtrl : kModAlt;
                ++i_;
                continue;
            }
            const unsigned mods = held | pending;
            pending = 0;
            if (c == '(') {
                ++i_;
                if (!sequence(out, mods, true) || i_ >= s_.size()) return false;
                ++i_;  // ')'
                continue;
            }
            if (c == '~') {
                ++i_;
                out.push_back({mods, 0, NamedKey::Enter});
                continue;
            }
            if (c == '{') {
                if (!brace(out, mods)) return false;
                continue;
            }
            if (c == '}') return false;
            char32_t ch = next_char(s_, i_);
            out.push_back({mods, ch, NamedKey::NoKey});
        }
        return !in_group && pending == 0;
    }

    // "{NAME}", "{NAME n}", or a literal special character "{+}", "{{}", "{}}".
    bool brace(std::vector<KeyTap>& out, unsigned mods) {
        ++i_;  // '{'
        size_t start = i_;
        if (i_ >= s_.size()) return false;
        // The first character may itself be a brace: "{{}" and "{}}".
        size_t close = s_.find('}', start + 1);
        if (close == std::string_view::npos) return false;
        std::string body(s_.substr(start, close - start));
        i_ = close + 1;
        int repeat = 1;
        size_t blank = body.rfind(' ');
        if (blank != std::string::npos && blank > 0) {
            std::string count = body.substr(blank + 1);
            if (count.empty() || !std::all_of(count.begin(), count.end(), ::isdigit) ||
                count.size() > 4)
                return false;
            repeat = std::stoi(count);
            body.resize(blank);
        }
        if (body.empty()) return false;
        size_t k = 0;
        const char32_t first = next_char(body, k);
        if (k == body.size()) {  // one character stands for itself
            for (int r = 0; r < repeat; ++r) out.push_back({mods, first, NamedKey::NoKey});
            return true;
        }
        std::string upper = body;
        for (auto& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        auto it = key_names().find(upper);
        if (it == key_names().end()) return false;
        for (int r = 0; r < repeat; ++r) out.push_back({mods, 0, it->second});
        return true;
    }

    std::string_view s_;
    size_t i_ = 0;
};

}  // namespace

std::optional<std::vector<KeyTap>> parse_sendkeys(std::string_view utf8) {
    std::vector<KeyTap> out;
    Parser p(utf8);
    if (!p.parse(out)) return std::nullopt;
    return out;
}

}  // namespace mavorin
