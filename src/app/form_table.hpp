// The window's form described once: one row per control, from which every view builds its widgets.
#pragma once

#include <span>
#include <string>

#include "form/controls.hpp"

namespace mavorin {

class frm_mavorin;

// The widget a view makes for a control.
enum class ControlKind { Label, Text, Button, Check, Option, Combo, Scroll, List, Picture, Frame };
// Normal text; the large bold title; the bold prompt that wraps; the command list's fixed pitch.
enum class FontRole { Normal, Title, Prompt, Mono };
// What a picture control shows; Box is the sunken frame around the command panels.
enum class Picture { None, Logo, Bar, Emblem, Badge, ArrowLeft, ArrowRight, Box };
enum class Align { Left, Right };

// A rectangle in twips (x, y, width, height), relative to the form's client area.
struct FormRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const FormRect&) const = default;
};

// The form is designed at 96 dpi: 15 twips a pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr FormRect to_pixels(FormRect t) {
    return {t.x / kTwipsPerPixel, t.y / kTwipsPerPixel, t.width / kTwipsPerPixel,
            t.height / kTwipsPerPixel};
}
inline constexpr int kFormWidthTwips = 9000;

struct FormRow {
    ControlKind kind;
    // The control itself: a misspelt control cannot compile.
    form::Control& (*control)(frm_mavorin&);
    FormRect twips;
    FontRole font = FontRole::Normal;
    Picture picture = Picture::None;
    Align align = Align::Left;
    // Options only: their group and their index in it.
    form::OptionGroup* (*group)(frm_mavorin&) = nullptr;
    int index = 0;
    // What a screen reader hears: the label that names a field, the unit label after it, a
    // description that follows another control, and words for controls without a caption.
    form::Control& (*label)(frm_mavorin&) = nullptr;
    form::Control& (*unit)(frm_mavorin&) = nullptr;
    form::Control& (*described_by)(frm_mavorin&) = nullptr;
    const char* spoken = nullptr;
    // Whether the keyboard focus can rest on the control.
    bool takes_focus() const;
    // Pictures and frames that mean nothing; a screen reader does not see them.
    bool decorative() const;
};

// Every control of the form except the form itself and the popup menu, in tab order: top to
// bottom, left to right within a row; the panels that share one area follow each other.
std::span<const FormRow> form_table();

// The control's accessible name in the window's own words; empty for decorative controls.
std::string spoken_name(const FormRow& row, frm_mavorin& m);
// Extra words read after the name (the prompt for the command choice); usually empty.
std::string spoken_description(const FormRow& row, frm_mavorin& m);

// The tooltip: the spoken name where it tells more than the control's own caption, then the
// description; empty where the caption says it all or nothing can point at the control.
std::string tooltip(const FormRow& row, frm_mavorin& m);

// The list's popup menu in order; an entry without an item is a separator.
struct MenuRow {
    form::MenuItem* (*item)(frm_mavorin&);
    const char* shortcut;
};
std::span<const MenuRow> popup_menu_table();

// A field that sits in the blank gap of a label's caption: its lead text is measured with the
// label's font, the gap is that many blanks.
struct CaptionGap {
    form::Control& (*label)(frm_mavorin&);
    form::Control& (*field)(frm_mavorin&);
    const char* lead;
    int blanks;
};
const CaptionGap& caption_gap();
// The field's pixel rectangle, given the label's and the widths of the lead text and the gap.
FormRect caption_gap_field(FormRect label_px, int lead_px, int gap_px);

// The client height in pixels: the form's outer height less the window frame, but always tall
// enough to show the whole command list.
int form_client_height(frm_mavorin& m, double dpi_y, int frame_px);

}  // namespace mavorin
