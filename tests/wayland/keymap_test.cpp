// The virtual keyboard's own keymap, compiled by xkbcommon as the compositor and clients do.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>

#include "platform/sendkeys.hpp"
#include "platform/wayland/wayland_keymap.hpp"

namespace mavorin::wayland {
namespace {

// Every tap of a text types what it should, Shift chords give capitals, and a text with more
// different characters than there are keys fills the keymap without losing one.
TEST(WaylandKeymap, EveryCharacterTypesItselfWhateverTheLayout) {
    auto ctx = std::unique_ptr<xkb_context, decltype(&xkb_context_unref)>(
        xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref);
    const auto taps = parse_sendkeys("aÄ€@ß{~}|\\µ²{}}z+b{ENTER}");
    ASSERT_TRUE(taps);
    const std::u32string want = U"aÄ€@ß~|\\µ²}zB\r";
    Keymap map;
    for (const KeyTap& t : *taps) ASSERT_TRUE(map.add(tap_keysym(t)));
    auto keymap = std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)>(
        xkb_keymap_new_from_string(ctx.get(), map.text().c_str(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                   XKB_KEYMAP_COMPILE_NO_FLAGS),
        xkb_keymap_unref);
    ASSERT_TRUE(keymap) << map.text();
    for (size_t i = 0; i < taps->size(); ++i) {
        const KeyTap& t = (*taps)[i];
        const KeyPlace p = map.place(tap_keysym(t));
        auto state = std::unique_ptr<xkb_state, decltype(&xkb_state_unref)>(
            xkb_state_new(keymap.get()), xkb_state_unref);
        const bool shift = p.shift || (t.mods & kModShift);
        xkb_state_update_mask(state.get(), shift ? kShiftMask : 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(xkb_state_key_get_utf32(state.get(), p.key + 8), want[i]) << "tap " << i;
    }
    // Modifier keys carry the masks the keyboard sends.
    auto state = std::unique_ptr<xkb_state, decltype(&xkb_state_unref)>(xkb_state_new(keymap.get()),
                                                                        xkb_state_unref);
    xkb_state_update_key(state.get(), kControlKey + 8, XKB_KEY_DOWN);
    xkb_state_update_key(state.get(), kAltKey + 8, XKB_KEY_DOWN);
    EXPECT_EQ(xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_DEPRESSED),
              kControlMask | kMod1Mask);

    Keymap full;
    size_t fitted = 0;
    while (full.add(0x1002200 + static_cast<uint32_t>(fitted))) ++fitted;
    EXPECT_EQ(fitted, 244u);
    EXPECT_TRUE(full.has(0x1002200 + 243) && !full.has(0x1002200 + 244));
}

}  // namespace
}  // namespace mavorin::wayland
