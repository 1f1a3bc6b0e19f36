// Recorded input as commands: one pass builds the actions, a second puts the waits between them.
#include "record/recording.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "document/codepage.hpp"
#include "document/records.hpp"
#include "editor/fields.hpp"

namespace mavorin {

namespace {

constexpr int kMaxWaitMs = 60000;

// Something the replay does at one moment: `effective` is the command that does it.
struct Action {
    int64_t start = 0, end = 0;
    std::vector<std::string> records;
    size_t effective = 0;
    int settle = 0;  // what the replay spends before and after its keys
};

long long round10(double ms) {
    return static_cast<long long>(std::llround(ms / 10.0)) * 10;
}

const char* button_word(PointerButton b) {
    switch (b) {
        case PointerButton::middle:
            return "middle";
        case PointerButton::right:
            return "right";
        default:
            return "left";
    }
}

std::string move_record(int x, int y) {
    return "code:|002|xpos:|" + std::to_string(x) + "|ypos:|" + std::to_string(y) + "|";
}

// One character as the notation stores it; empty (and kept in `left_out`) when it cannot be.
std::string character(const std::string& c, std::string& left_out) {
    if (c == "{") return "{{}";
    if (c == "}") return "{}}";
    if (c == "|" || (c != "?" && utf8_to_cp1252(c) == "?")) {
        left_out += c;
        return {};
    }
    return c;
}

std::string key_token(const RecordedInput& e, std::string& left_out) {
    std::string prefix;
    if (!e.name.empty()) {
        if (e.shift) prefix += "{SHIFT}";
        if (e.ctrl) prefix += "{CTRL}";
        if (e.alt) prefix += "{ALT}";
        if (e.altgr) prefix += "{ALTGR}";
        return prefix + "{" + e.name + "}";
    }
    std::string c = e.text;
    // AltGr that gave the key another character typed that character; otherwise it is a chord.
    if (e.altgr && !(e.text != e.plain && !e.text.empty())) {
        prefix += "{ALTGR}";
        c = e.plain;
    }
    if (e.ctrl) prefix = "{CTRL}" + prefix;
    if (e.alt) prefix = "{ALT}" + prefix;
    const std::string token = character(c, left_out);
    return token.empty() ? token : prefix + token;
}

std::string wait_record(long long lo, long long hi) {
    if (lo == hi) return "code:|001|wait:|" + number_text(double(lo)) + "|";
    return "code:|001|wait:|" + number_text(double(lo)) + "|maxwait:|" + number_text(double(hi)) +
           "|";
}

std::vector<Action> actions_of(const std::vector<RecordedInput>& input, const RecordOptions& o,
                               Recording& r) {
    std::vector<Action> out;
    Action text;
    std::string typed;
    auto flush = [&] {
        if (!typed.empty()) {
            text.records = {"code:|004|text:|" + typed + "|"};
            out.push_back(text);
            ++r.texts;
        }
        typed.clear();
        text = Action{};
    };
    bool typing = false;
    std::map<PointerButton, RecordedInput> held;
    bool moved = false;
    int64_t last_move = 0;
    int last_x = -1, last_y = -1;
    for (const RecordedInput& e : input) {
        switch (e.kind) {
            case InputKind::button_press: {
                flush();
                typing = false;
                held[e.button] = e;
                Action a{e.ms,
                         e.ms,
                         {move_record(e.x, e.y),
                          std::string("code:|003|mouseclick:|") + button_word(e.button) + "|"},
                         1};
                out.push_back(a);
                ++r.clicks;
                last_x = e.x, last_y = e.y;
                break;
            }
            case InputKind::button_release: {
                auto it = held.find(e.button);
                if (it == held.end()) break;
                if (std::abs(e.x - it->second.x) >= kDragPixels ||
                    std::abs(e.y - it->second.y) >= kDragPixels)
                    ++r.drags;
                held.erase(it);
                break;
            }
            case InputKind::motion: {
                if (o.moves_ms <= 0 || (e.x == last_x && e.y == last_y)) break;
                if (moved && e.ms - last_move < o.moves_ms) break;
                flush();
                typing = false;
                out.push_back(Action{e.ms, e.ms, {move_record(e.x, e.y)}, 0});
                ++r.moves;
                moved = true;
                last_move = e.ms;
                last_x = e.x, last_y = e.y;
                break;
            }
            case InputKind::key_press: {
                if (e.text.empty() && e.name.empty()) break;  // a modifier on its own
                if (typing && e.ms - text.end >= kTextGapMs) flush();
                const std::string token = key_token(e, r.left_out);
                if (token.empty()) break;
                if (typed.empty()) text.start = e.ms;
                typed += token;
                if (e.off_keymap) text.settle = kRemapSettleMs;
                text.end = e.ms;
                typing = true;
                break;
            }
            case InputKind::key_release:
                break;
        }
    }
    flush();
    return out;
}

}  // namespace

Recording convert_recording(const std::vector<RecordedInput>& input, const RecordOptions& o) {
    Recording r;
    const std::vector<Action> actions = actions_of(input, o, r);
    double carry = 0;  // what rounding took from the last wait, given to the next
    for (size_t i = 0; i < actions.size(); ++i) {
        const Action& a = actions[i];
        if (i > 0 && o.waits) {
            const Action& before = actions[i - 1];
            // The replay reaches this action's command through the rest of the one before.
            const size_t between = before.records.size() - before.effective - 1 + a.effective + 1;
            double need = double(a.start - before.end) - double(between * kCommandCostMs) -
                          kCommandCostMs - before.settle - a.settle + carry;
            carry = 0;
            while (need >= 10) {
                const long long total = round10(need);
                const long long chunk = std::min<long long>(total, kMaxWaitMs);
                long long lo = chunk, hi = chunk;
                if (o.jitter_pct >= 0) {
                    lo = round10(chunk * (100.0 - o.jitter_pct) / 100.0);
                    hi = std::min<long long>(round10(chunk * (100.0 + o.jitter_pct) / 100.0),
                                             kMaxWaitMs);
                }
                r.records.push_back(wait_record(lo, hi));
                ++r.waits;
                if (chunk == total) {
                    carry = need - double(total);
                    break;
                }
                // A further wait command costs its own step.
                need -= double(chunk + kCommandCostMs);
            }
        }
        r.records.insert(r.records.end(), a.records.begin(), a.records.end());
    }
    return r;
}

std::string recorded_settings(const RecordOptions& o) {
    return "code:|000|wait:|" + std::to_string(kRecordedPauseMs) + "|loop:|0|start:|no|stop:|" +
           o.stop + "|";
}

std::string recording_summary(const Recording& r) {
    std::string s = "recorded " + std::to_string(r.records.size()) +
                    " commands: " + std::to_string(r.clicks) + " clicks, " +
                    std::to_string(r.texts) + " texts, " + std::to_string(r.waits) + " waits, " +
                    std::to_string(r.moves) + " moves";
    if (!r.left_out.empty()) s += "; left out, a record cannot hold them: " + r.left_out;
    if (r.drags > 0)
        s += "; " + std::to_string(r.drags) + " drags kept as clicks at the press position";
    return s;
}

int abort_key_vk(const std::string& name) {
    const HotKey* keys = abort_hotkeys();
    for (int i = 0; i < kHotKeyCount; ++i)
        if (name == keys[i].entry) return static_cast<int>(wert_aus_text(keys[i].code));
    return 0;
}

}  // namespace mavorin
