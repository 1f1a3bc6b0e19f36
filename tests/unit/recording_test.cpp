// Recorded input turned into commands: the notation of typed keys, waits, clicks and drags.
#include "record/recording.hpp"

#include <gtest/gtest.h>

#include "engine/input_actions.hpp"
#include "platform/sendkeys.hpp"

namespace mavorin {
namespace {

using Records = std::vector<std::string>;

RecordedInput key(int64_t ms, std::string text, unsigned mods = 0, std::string plain = "") {
    RecordedInput e;
    e.ms = ms;
    e.kind = InputKind::key_press;
    e.plain = plain.empty() ? text : plain;
    e.text = std::move(text);
    e.shift = mods & 1, e.ctrl = mods & 2, e.alt = mods & 4, e.altgr = mods & 8;
    e.off_keymap = mods & 16;
    return e;
}
RecordedInput named(int64_t ms, std::string name, unsigned mods = 0) {
    RecordedInput e = key(ms, "", mods);
    e.name = std::move(name);
    return e;
}
RecordedInput button(int64_t ms, InputKind kind, int x, int y,
                     PointerButton b = PointerButton::left) {
    RecordedInput e;
    e.ms = ms, e.kind = kind, e.x = x, e.y = y, e.button = b;
    return e;
}
constexpr InputKind P = InputKind::button_press, R = InputKind::button_release,
                    M = InputKind::motion;
const std::string kAt = "code:|002|xpos:|10|ypos:|20|", kLeft = "code:|003|mouseclick:|left|";

TEST(Recording, TypedKeysReplayAsTyped) {
    const std::vector<RecordedInput> typed = {
        key(0, "H", 1),       key(1, "i"),     key(2, "{"),      key(3, "}"),
        key(4, "+"),          key(5, "^"),     key(6, "%"),      key(7, "~"),
        key(8, "("),          key(9, ")"),     key(10, "ä"),     key(11, "ß"),
        key(12, "€"),         key(13, "|"),    key(14, "☃"),     named(15, "ENTER"),
        named(16, "TAB", 1),  named(17, "BS"), named(18, "ESC"), named(19, "UP"),
        named(20, "F5"),      key(21, "c", 2), key(22, "x", 4),  key(23, "q", 8),
        key(24, "€", 8, "e"), key(25, "", 1)};
    const Recording r = convert_recording(typed, {});
    const std::string text =
        "Hi{{}{}}+^%~()äß€{ENTER}{SHIFT}{TAB}{BS}{ESC}{UP}{F5}{CTRL}c{ALT}x"
        "{ALTGR}q€";
    ASSERT_EQ(r.records, Records{"code:|004|text:|" + text + "|"});
    EXPECT_EQ(r.left_out, "|☃");
    // What the replay presses, through the same translation a run uses.
    using K = KeyTap;
    const std::vector<KeyTap> want = {K{0, 'H'},
                                      K{0, 'i'},
                                      K{0, '{'},
                                      K{0, '}'},
                                      K{0, '+'},
                                      K{0, '^'},
                                      K{0, '%'},
                                      K{0, '~'},
                                      K{0, '('},
                                      K{0, ')'},
                                      K{0, U'ä'},
                                      K{0, U'ß'},
                                      K{0, U'€'},
                                      K{0, 0, NamedKey::Enter},
                                      K{kModShift, 0, NamedKey::Tab},
                                      K{0, 0, NamedKey::Backspace},
                                      K{0, 0, NamedKey::Escape},
                                      K{0, 0, NamedKey::Up},
                                      K{0, 0, NamedKey::F5},
                                      K{kModCtrl, 'c'},
                                      K{kModAlt, 'x'},
                                      K{kModCtrl | kModAlt, 'q'},
                                      K{0, U'€'}};
    EXPECT_EQ(parse_sendkeys(keystroke_text(text, "")), want);
}

TEST(Recording, GapsBecomeNetWaits) {
    const auto click = [](int64_t ms, PointerButton b = PointerButton::left) {
        return std::vector<RecordedInput>{button(ms, P, 10, 20, b), button(ms + 5, R, 10, 20, b)};
    };
    auto cat = [](std::vector<RecordedInput> a, const std::vector<RecordedInput>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    RecordOptions jitter, none, moves;
    jitter.jitter_pct = 10;
    none.waits = false;
    moves.moves_ms = 100;
    const std::string right = "code:|003|mouseclick:|right|";
    const struct {
        std::vector<RecordedInput> in;
        RecordOptions o;
        Records want;
    } cases[] = {
        // A click's gap is net of the wait's own step and the next move.
        {cat(click(0), click(1000, PointerButton::right)),
         {},
         {kAt, kLeft, "code:|001|wait:|960|", kAt, right}},
        {cat(click(0), click(1000)),
         jitter,
         {kAt, kLeft, "code:|001|wait:|860|maxwait:|1060|", kAt, kLeft}},
        {cat(click(0), click(1000)), none, {kAt, kLeft, kAt, kLeft}},
        // A double click keeps its real gap; a gap the replay's own steps cover gets no wait.
        {cat(click(0), click(150)), {}, {kAt, kLeft, "code:|001|wait:|110|", kAt, kLeft}},
        {cat(click(0), click(50)), {}, {kAt, kLeft, kAt, kLeft}},
        // Longer than the longest wait: split, each further wait paying for its own step.
        {cat(click(0), click(130000)),
         {},
         {kAt, kLeft, "code:|001|wait:|60000|", "code:|001|wait:|60000|", "code:|001|wait:|9930|",
          kAt, kLeft}},
        // Keys a second apart split the text; the wait counts from the last key.
        {{key(0, "a"), key(900, "b"), key(2100, "c")},
         {},
         {"code:|004|text:|ab|", "code:|001|wait:|1170|", "code:|004|text:|c|"}},
        // Auto-repeat that typed characters is kept; a held Shift adds nothing.
        {{key(0, "", 1), key(30, "", 1), key(60, "a"), key(90, "a")}, {}, {"code:|004|text:|aa|"}},
        // A drag is a click where the button went down.
        {{button(0, P, 10, 20), button(400, M, 80, 90), button(500, R, 80, 90)}, {}, {kAt, kLeft}},
        {{button(0, M, 10, 20), button(30, M, 15, 20), button(100, M, 30, 40),
          button(100, M, 30, 40)},
         moves,
         {kAt, "code:|001|wait:|70|", "code:|002|xpos:|30|ypos:|40|"}},
        {{button(0, M, 10, 20), key(50, "a")}, {}, {"code:|004|text:|a|"}},
        // A character off the keyboard map makes the replay map a key first: the wait is less.
        {{key(0, "ä", 16), button(500, P, 10, 20)},
         {},
         {"code:|004|text:|ä|", "code:|001|wait:|440|", kAt, kLeft}},
    };
    for (const auto& c : cases) EXPECT_EQ(convert_recording(c.in, c.o).records, c.want);
    const Recording drag = convert_recording(cases[8].in, {});
    EXPECT_EQ(drag.drags, 1);
    EXPECT_NE(recording_summary(drag).find("1 drags"), std::string::npos);
    RecordOptions f12;
    f12.stop = "F12";
    EXPECT_EQ(recorded_settings(f12), "code:|000|wait:|10|loop:|0|start:|no|stop:|F12|");
    EXPECT_EQ(abort_key_vk("F12"), 0x7B);
    EXPECT_EQ(abort_key_vk("F13"), 0);
}

}  // namespace
}  // namespace mavorin
