// Pointer, buttons and typed text reach a real window on a real X server.
#include "x11_test_support.hpp"
// After gtest: Xlib defines None and Bool.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <thread>

namespace mavorin::x11test {
namespace {

std::vector<KeySym> keyboard_mapping() {
    Display* dpy = XOpenDisplay(nullptr);
    int min_kc = 0, max_kc = 0, per = 0;
    XDisplayKeycodes(dpy, &min_kc, &max_kc);
    KeySym* map = XGetKeyboardMapping(dpy, min_kc, max_kc - min_kc + 1, &per);
    std::vector<KeySym> out(map, map + (max_kc - min_kc + 1) * per);
    XFree(map);
    XCloseDisplay(dpy);
    return out;
}

std::vector<int> keys_down() {
    Display* dpy = XOpenDisplay(nullptr);
    char keys[32] = {};
    XQueryKeymap(dpy, keys);
    XCloseDisplay(dpy);
    std::vector<int> down;
    for (int code = 0; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8))) down.push_back(code);
    return down;
}

unsigned buttons_held() {
    Display* dpy = XOpenDisplay(nullptr);
    Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rx, &ry, &wx, &wy, &mask);
    XCloseDisplay(dpy);
    return mask & (Button1Mask | Button2Mask | Button3Mask);
}

TEST(X11Pointer, MovesAreSeenByXdotoolAndReadBack) {
    REQUIRE_DISPLAY();
    auto dev = make_devices();
    TargetWindow target(0, 0, 1, 1);
    ASSERT_TRUE(dev);
    dev->set_cursor_pos(123, 456);
    EXPECT_TRUE(wait_until([] { return xdotool_pointer() == "123 456"; }, 2));
    EXPECT_EQ(dev->get_cursor_pos(), (Point{123, 456}));

    shell("xdotool mousemove 300 401");
    EXPECT_EQ(dev->get_cursor_pos(), (Point{300, 401}));

    // Far outside the screen the pointer stops at the edge.
    const Point corner{DisplayWidth(target.display(), 0) - 1,
                       DisplayHeight(target.display(), 0) - 1};
    dev->set_cursor_pos(-50, 100000);
    EXPECT_EQ(dev->get_cursor_pos(), (Point{0, corner.y}));
    dev->set_cursor_pos(70000, -70000);
    EXPECT_EQ(dev->get_cursor_pos(), (Point{corner.x, 0}));
}

TEST(X11Pointer, ButtonFlagsBecomeLeftRightAndMiddleButtons) {
    REQUIRE_DISPLAY();
    auto dev = make_devices();
    TargetWindow target(400, 300, 200, 150);
    dev->set_cursor_pos(450, 350);
    const std::string log = target.log_while([&] {
        for (int flag : {2, 4, 8, 16, 32, 64, 0, 128}) dev->mouse_event(flag);
    });
    EXPECT_EQ(log, "P1 R1 P3 R3 P2 R2 ");
    EXPECT_EQ(buttons_held(), 0u);
}

TEST(X11Pointer, ButtonsLeftDownAreReleasedWhenTheBackendGoes) {
    REQUIRE_DISPLAY();
    {
        auto dev = make_devices();
        dev->set_cursor_pos(10, 10);
        dev->mouse_event(2 | 8);
        EXPECT_TRUE(wait_until([] { return buttons_held() == (Button1Mask | Button3Mask); }, 2));
    }
    EXPECT_EQ(buttons_held(), 0u);
}

class X11Typing : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display_available()) GTEST_SKIP() << "no X server";
        dev = make_devices();
        ASSERT_TRUE(dev);
        mapping_before = keyboard_mapping();
    }
    void TearDown() override {
        if (!dev) return;
        // Whatever was typed, nothing stays pressed and the keymap is as it was.
        EXPECT_TRUE(wait_until([] { return keys_down().empty(); }, 1));
        EXPECT_TRUE(keyboard_mapping() == mapping_before) << "temporary key mappings left behind";
    }
    std::string type(const std::string& notation) {
        return target.log_while([&] { dev->send_keys(notation); });
    }
    TargetWindow target{700, 100, 300, 200};
    std::unique_ptr<DeviceServices> dev;
    std::vector<KeySym> mapping_before;
};

TEST_F(X11Typing, PlainTextAndPunctuation) {
    EXPECT_EQ(type("Hello, World! 1=2 [x]_\"'`;:/?<>|\\@#$&*-."),
              "Hello, World! 1=2 [x]_\"'`;:/?<>|\\@#$&*-.");
}

TEST_F(X11Typing, EscapedSpecialCharactersTypeThemselves) {
    EXPECT_EQ(type("a{+}b{^}c{%}d{~}e{(}f{)}g{{}h{}}"), "a+b^c%d~e(f)g{h}");
}

TEST_F(X11Typing, CharactersMissingFromTheKeymapArriveInOrder) {
    EXPECT_EQ(type("äöüß ÄÖÜ €x"), "äöüß ÄÖÜ €x");
    // A second text right after the first: the mappings of the first are gone by then.
    EXPECT_EQ(type("Öl kostet 5€, Äpfel 3€"), "Öl kostet 5€, Äpfel 3€");
}

TEST_F(X11Typing, NamedKeysWithRepeatCountsAndTilde) {
    EXPECT_EQ(type("{ENTER}{tab}{F5}{F12}{BS}{LEFT 3}{Esc}~{DEL}{HOME}{PGDN}"),
              "<Return><Tab><F5><F12><BackSpace><Left><Left><Left><Escape><Return><Delete>"
              "<Home><Next>");
}

TEST_F(X11Typing, ModifiersHoldForTheNextKeyOrTheGroup) {
    EXPECT_EQ(type("+a"), "A");
    EXPECT_EQ(type("^c%f^%q"), "^c%f^%q");
    EXPECT_EQ(type("+(ab)c"), "ABc");
    EXPECT_EQ(type("+1"), "!");
    EXPECT_EQ(type("^(ä)"), "^ä");
}

TEST_F(X11Typing, MalformedTextTypesNothing) {
    EXPECT_EQ(type("ab{NOPE}cd"), "");
    EXPECT_EQ(type("(ab"), "");
    EXPECT_EQ(type("ab}"), "");
    EXPECT_EQ(type("ok"), "ok");
}

TEST_F(X11Typing, LongTextArrivesComplete) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "Zeile " + std::to_string(i) + " äöü;";
    EXPECT_EQ(type(text), text);
}

// A German keyboard, switched to while the backend is already running.
class X11TypingGerman : public X11Typing {
  protected:
    void SetUp() override {
        if (!display_available()) GTEST_SKIP() << "no X server";
        layout = shell("setxkbmap -query | awk '/layout:/ {print $2}'");
        dev = make_devices();
        ASSERT_TRUE(dev);
        ASSERT_EQ(shell("setxkbmap de && setxkbmap -query | awk '/layout:/ {print $2}'"), "de");
        mapping_before = keyboard_mapping();
    }
    void TearDown() override {
        X11Typing::TearDown();
        shell("setxkbmap " + (layout.empty() ? std::string("us") : layout));
    }
    std::string layout;
};

TEST_F(X11TypingGerman, AltGrCharactersAndUmlautsComeFromTheLayout) {
    EXPECT_EQ(type("@€{{}{}}[]\\|{~}µ äöüß ÄÖÜ zy"), "@€{}[]\\|~µ äöüß ÄÖÜ zy");
}

TEST_F(X11TypingGerman, CtrlAltActsAsAltGrWhereTheKeyHasAnAltGrSymbol) {
    EXPECT_EQ(type("^%q^%e^%7^%0"), "@€{}");  // "{ALTGR}q" after the engine's translation
    // Keys where AltGr changes nothing keep the shortcut itself.
    EXPECT_EQ(type("^%{HOME}^%{ENTER}^%{TAB}"), "^%<Home>^%<Return>^%<Tab>");
    EXPECT_EQ(type("^c+a"), "^cA");
}

}  // namespace
}  // namespace mavorin::x11test
