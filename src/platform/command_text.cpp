// The command text of a program launch: which file starts, with which arguments.
#include "platform/command_text.hpp"

#include <optional>

namespace mavorin {

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

std::string in_folder(const std::string& folder, const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::optional<std::string> find_program(const std::string& name, const CommandLookup& l) {
    if (name.empty() || !l.is_executable) return std::nullopt;
    if (name.find('/') == std::string::npos) {
        for (const auto& folder : l.path_folders) {
            if (folder.empty()) continue;  // an empty entry would mean "here": that comes last
            const std::string p = in_folder(folder, name);
            if (l.is_executable(p)) return p;
        }
    }
    const std::string p = in_folder(l.current_folder, name);
    if (l.is_executable(p)) return p;
    return std::nullopt;
}

std::optional<std::string> find_document(const std::string& name, const CommandLookup& l) {
    if (name.empty() || !l.is_file) return std::nullopt;
    const std::string p = in_folder(l.current_folder, name);
    if (l.is_file(p)) return p;
    return std::nullopt;
}

}  // namespace

std::vector<std::string> split_arguments(std::string_view t) {
    std::vector<std::string> words;
    size_t i = 0;
    const size_t n = t.size();
    for (;;) {
        while (i < n && blank(t[i])) ++i;
        if (i >= n) break;
        std::string w;
        bool quoted = false;
        while (i < n && (quoted || !blank(t[i]))) {
            if (t[i] == '\\') {
                size_t k = 0;
                while (i < n && t[i] == '\\') ++k, ++i;
                if (i < n && t[i] == '"') {
                    w.append(k / 2, '\\');
                    if (k % 2) w += '"', ++i;
                } else {
                    w.append(k, '\\');
                }
            } else if (t[i] == '"') {
                if (quoted && i + 1 < n && t[i + 1] == '"') {
                    w += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                w += t[i++];
            }
        }
        words.push_back(std::move(w));
    }
    return words;
}

Launch split_command_text(std::string_view text, const CommandLookup& lookup) {
    size_t b = 0, e = text.size();
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    const std::string_view t = text.substr(b, e - b);
    if (t.empty()) return {};

    if (t[0] == '"') {
        // The program's own name ends at the next quote; no escapes inside it.
        const size_t close = t.find('"', 1);
        const std::string name(t.substr(1, close == std::string_view::npos ? t.npos : close - 1));
        const std::string_view rest = close == std::string_view::npos ? "" : t.substr(close + 1);
        if (auto p = find_program(name, lookup))
            return {Launch::Kind::program, *p, split_arguments(rest)};
        if (auto d = find_document(name, lookup)) return {Launch::Kind::document, *d, {}};
        return {};
    }

    // Prefixes end where a run of blanks begins; the whole text is the last one.
    std::vector<size_t> ends;
    for (size_t i = 1; i < t.size(); ++i)
        if (blank(t[i]) && !blank(t[i - 1])) ends.push_back(i);
    ends.push_back(t.size());
    for (size_t end : ends)
        if (auto p = find_program(std::string(t.substr(0, end)), lookup))
            return {Launch::Kind::program, *p, split_arguments(t.substr(end))};
    for (size_t end : ends)
        if (auto d = find_document(std::string(t.substr(0, end)), lookup))
            return {Launch::Kind::document, *d, {}};
    return {};
}

}  // namespace mavorin
