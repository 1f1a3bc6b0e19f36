// Pointer, buttons, typed text and the hot-key poll against a real X server.
#include "x11_test_support.hpp"
// After gtest: Xlib defines None and Bool.
#include <thread>

namespace mavorin::x11test {
namespace {

bool no_key_down() {
    return shell("xinput query-state 'Virtual core XTEST keyboard' | grep -c =down") == "0";
}

using X11Pointer = X11Test;

TEST_F(X11Pointer, ButtonsBecomeButtonEventsAndNoneStaysDown) {
    using enum PointerButton;
    TargetWindow target(400, 300, 200, 150);
    dev->set_cursor_pos(450, 350);
    const std::string log = target.log_while([&] {
        for (PointerButton b : {left, right, middle}) {
            dev->mouse_button(b, true);
            dev->mouse_button(b, false);
        }
    });
    EXPECT_EQ(log, "P1 R1 P3 R3 P2 R2 ");
    EXPECT_EQ(buttons_down(), "");
    // Buttons left down are released when the backend goes.
    dev->mouse_button(left, true);
    dev->mouse_button(right, true);
    EXPECT_TRUE(wait_until([] { return buttons_down() == "1 3 "; }, 2));
    dev.reset();
    EXPECT_EQ(buttons_down(), "");
}

struct Typed {
    const char* notation;
    const char* seen;
};

class X11Typing : public X11Test {
  protected:
    // Types each notation and checks what arrived, that nothing stays pressed and that the
    // temporary key mappings are gone before the next text.
    void type_all(std::initializer_list<Typed> table) {
        const std::string keymap = shell("xmodmap -pk");
        for (const auto& [notation, seen] : table) {
            SCOPED_TRACE(notation);
            EXPECT_EQ(target.log_while([&] { dev->send_keys(notation, {}); }), seen);
            EXPECT_TRUE(wait_until(no_key_down, 1));
            EXPECT_TRUE(shell("xmodmap -pk") == keymap) << "temporary key mappings left behind";
        }
    }
    TargetWindow target{700, 100, 300, 200};
};

// Plain punctuation and characters missing from the keymap: the e2e long-text run.
TEST_F(X11Typing, TheBraceNotationArrivesAsTyped) {
    type_all({
        {"a{+}b{^}c{%}d{~}e{(}f{)}g{{}h{}}", "a+b^c%d~e(f)g{h}"},
        {"{ENTER}{tab}{F5}{F12}{BS}{LEFT 3}{Esc}~{DEL}{HOME}{PGDN}",
         "<Return><Tab><F5><F12><BackSpace><Left><Left><Left><Escape><Return><Delete><Home><Next>"},
        {"+a^c%f^%q+(ab)c+1^(ä)", "A^c%f^%qABc!^ä"},  // modifiers for a key or a group
        {"ab{NOPE}cd(ab}", ""},                       // malformed text types nothing
    });
}

// A German keyboard, switched to while the backend is already running.
TEST_F(X11Typing, AltGrAndUmlautsComeFromAGermanLayout) {
    const std::string layout = shell("setxkbmap -query | awk '/layout:/ {print $2}'");
    ASSERT_EQ(shell("setxkbmap de && setxkbmap -query | awk '/layout:/ {print $2}'"), "de");
    type_all({
        {"@€{{}{}}[]\\|{~}µ äöüß ÄÖÜ zy", "@€{}[]\\|~µ äöüß ÄÖÜ zy"},
        {"^%q^%e^%7^%0", "@€{}"},  // Ctrl+Alt acts as AltGr where the key has an AltGr symbol
        {"^%{HOME}^%{ENTER}^%{TAB}", "^%<Home>^%<Return>^%<Tab>"},
        {"^c+a", "^cA"},
    });
    shell("setxkbmap " + (layout.empty() ? std::string("us") : layout));
}

constexpr int kEnter = 13, kEscape = 27, kF5 = 116, kF6 = 117, kF12 = 123, kF13 = 124;
constexpr KeyState kUp{}, kHeld{true, false}, kTap{true, true};

class X11KeyPoll : public X11Test {
  protected:
    void SetUp() override {
        X11Test::SetUp();
        // Presses from earlier tests are not ours to see.
        for (int vk : {kEnter, kEscape, kF5, kF6, kF12}) dev->key_state(vk);
    }
    void TearDown() override { shell("xdotool keyup F6 2>/dev/null"); }
    // Polls like the 10 ms hot-key timer until the key reads `want` (at most two seconds).
    KeyState poll_until(int vk, KeyState want) {
        KeyState got;
        wait_until([&] { return (got = dev->key_state(vk)) == want; }, 2);
        return got;
    }
};

TEST_F(X11KeyPoll, EachKeyReportsATapOnceEvenAfterItsRelease) {
    shell("xdotool key F5 Escape Return");  // pressed and released before the next poll
    EXPECT_EQ(dev->key_state(kF12), kUp);
    EXPECT_EQ(poll_until(kEscape, kTap), kTap);
    EXPECT_EQ(dev->key_state(kF5), kTap);
    EXPECT_EQ(dev->key_state(kEnter), kTap);
    for (int vk : {kEscape, kF5, kEnter}) EXPECT_EQ(dev->key_state(vk), kUp) << vk;
    // Keys the program types never count; another client's tap of the same key does.
    dev->send_keys("{F5}{ESC}{F5}", {});
    shell("xdotool key F5");
    EXPECT_EQ(poll_until(kF5, kTap), kTap);
    EXPECT_EQ(dev->key_state(kF5), kUp);
    EXPECT_EQ(dev->key_state(kEscape), kUp);
    // Keys the keyboard lacks and unknown codes never read pressed.
    shell("xdotool keydown F6");
    for (int vk : {kF13, 0, 1, 255, 99999, -5}) EXPECT_EQ(dev->key_state(vk), kUp) << vk;
}

TEST_F(X11KeyPoll, AHeldKeyReadsPressedOnceThenDown) {
    shell("xdotool keydown F6");
    EXPECT_EQ(poll_until(kF6, kTap), kTap);
    // Held for longer than the poll trusts its own bookkeeping without asking the server.
    for (int i = 0; i < 15; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(dev->key_state(kF6), kHeld) << "poll " << i;
    }
    shell("xdotool keyup F6");
    EXPECT_EQ(poll_until(kF6, kUp), kUp);
    EXPECT_EQ(dev->key_state(kF6), kUp);
    shell("xdotool key F6");  // pressed again: a new press
    EXPECT_EQ(poll_until(kF6, kTap), kTap);
}

}  // namespace
}  // namespace mavorin::x11test
