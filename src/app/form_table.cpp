// The form's one description: rectangles in twips, tab order along the layout.
#include "app/form_table.hpp"

#include <algorithm>
#include <type_traits>

#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

using W = frm_mavorin;

template <class T>
constexpr ControlKind kind_of() {
    if constexpr (std::is_same_v<T, form::Label>)
        return ControlKind::Label;
    else if constexpr (std::is_same_v<T, form::TextBox>)
        return ControlKind::Text;
    else if constexpr (std::is_same_v<T, form::Button>)
        return ControlKind::Button;
    else if constexpr (std::is_same_v<T, form::CheckBox>)
        return ControlKind::Check;
    else if constexpr (std::is_same_v<T, form::ComboBox>)
        return ControlKind::Combo;
    else if constexpr (std::is_same_v<T, form::ScrollBar>)
        return ControlKind::Scroll;
    else if constexpr (std::is_same_v<T, form::ListBox>)
        return ControlKind::List;
    else if constexpr (std::is_same_v<T, form::Image>)
        return ControlKind::Picture;
    else {
        static_assert(std::is_same_v<T, form::Form>, "a control kind without a widget");
        return ControlKind::Frame;
    }
}

template <class M>
struct member_of;
template <class T>
struct member_of<T W::*> {
    using type = T;
};

template <auto M>
form::Control& member(W& m) {
    return m.*M;
}
template <auto G>
form::OptionGroup* group_of(W& m) {
    return &(m.*G);
}
template <auto G, int I>
form::Control& button_of(W& m) {
    return (m.*G)[I];
}

constexpr void style(FormRow& r, FontRole f) {
    r.font = f;
}
constexpr void style(FormRow& r, Picture p) {
    r.picture = p;
}
constexpr void style(FormRow& r, Align a) {
    r.align = a;
}

// Style tags for what a screen reader hears.
template <auto L>
struct By {};  // the label that names the field
template <auto U>
struct Unit {};  // the unit label after the field
template <auto D>
struct About {};  // the control whose text describes this one
struct Say {
    const char* words;
};
template <auto L>
constexpr void style(FormRow& r, By<L>) {
    r.label = &member<L>;
}
template <auto U>
constexpr void style(FormRow& r, Unit<U>) {
    r.unit = &member<U>;
}
template <auto D>
constexpr void style(FormRow& r, About<D>) {
    r.described_by = &member<D>;
}
constexpr void style(FormRow& r, Say s) {
    r.spoken = s.words;
}

// The kind follows from the member's type, so a row cannot claim the wrong widget.
template <auto M, class... Style>
constexpr FormRow row(FormRect twips, Style... s) {
    FormRow r{kind_of<typename member_of<decltype(M)>::type>(), &member<M>, twips};
    (style(r, s), ...);
    return r;
}
template <auto G, int I>
constexpr FormRow option(FormRect twips) {
    FormRow r{ControlKind::Option, &button_of<G, I>, twips};
    r.group = &group_of<G>;
    r.index = I;
    return r;
}

constexpr FormRow kForm[] = {
    // Title area.
    row<&W::img_mavorin>({150, 90, 720, 720}, Picture::Logo),
    row<&W::lbl_title>({990, 90, 3000, 450}, FontRole::Title),
    row<&W::lbl_titleversion>({1020, 540, 4500, 240}),
    row<&W::frame_vantrel>({5880, 60, 2970, 750}),
    row<&W::img_vantrellogo>({5970, 165, 540, 540}, Picture::Emblem, Say{"Zur Projektseite"}),
    row<&W::lbl_Programm>({6600, 120, 2190, 240}),
    row<&W::img_Orvik_Logo>({8520, 120, 240, 240}, Picture::Badge),
    row<&W::lbl_Version>({6600, 360, 2190, 210}),
    row<&W::lbl_maker1>({6600, 570, 2190, 210}),
    row<&W::lbl_maker2>({0, 0, 0, 0}),
    row<&W::lbl_maker3>({0, 0, 0, 0}),
    row<&W::lbl_maker4>({0, 0, 0, 0}),
    row<&W::Image1>({150, 870, 8700, 30}, Picture::Bar),
    // Command choice and prompt.
    row<&W::lbl_befehl>({150, 1050, 1500, 300}),
    row<&W::com_code>({1650, 1005, 4500, 390}, By<&W::lbl_befehl>{}, About<&W::lbl_info>{}),
    row<&W::com_code0>({1650, 1005, 4500, 390}, By<&W::lbl_befehl>{}, About<&W::lbl_info>{}),
    row<&W::lbl_info>({150, 1470, 8700, 510}, FontRole::Prompt),
    row<&W::img_box>({150, 2040, 8700, 2220}, Picture::Box),
    // Panel 000: two columns, taken row by row.
    row<&W::lbl_0_wait>({330, 2190, 3390, 300}),
    row<&W::txt_0_wait>({3750, 2160, 1050, 360}, By<&W::lbl_0_wait>{}, Unit<&W::lbl_0_ms>{}),
    row<&W::lbl_0_ms>({4890, 2190, 450, 300}),
    row<&W::lbl_0_startcode>({5850, 2190, 2700, 300}),
    row<&W::lbl_0_loop>({330, 2610, 3390, 300}),
    row<&W::txt_0_loop>({3750, 2580, 1050, 360}, By<&W::lbl_0_loop>{}, Unit<&W::lbl_0_mal>{}),
    row<&W::lbl_0_mal>({4890, 2610, 450, 300}),
    row<&W::com_0_startcode>({5850, 2490, 1650, 390}, By<&W::lbl_0_startcode>{}),
    row<&W::lbl_0_transparenz>({330, 3030, 3390, 300}),
    row<&W::chk_0_transparenz>({3750, 3030, 300, 300}, By<&W::lbl_0_transparenz>{}),
    row<&W::lbl_0_abbruchcode>({5850, 3030, 2700, 300}),
    row<&W::lbl_0_vordergrund>({330, 3420, 3390, 300}),
    row<&W::chk_0_vordergrund>({3750, 3420, 300, 300}, By<&W::lbl_0_vordergrund>{}),
    row<&W::com_0_abbruchcode>({5850, 3330, 1650, 390}, By<&W::lbl_0_abbruchcode>{}),
    row<&W::lbl_0_listbox>({330, 3810, 3390, 300}),
    row<&W::chk_0_listbox>({3750, 3810, 300, 300}, By<&W::lbl_0_listbox>{}),
    // Panel 001.
    row<&W::lbl_1_random>({330, 2190, 4500, 300}),
    row<&W::txt_1_random1>({330, 2550, 1500, 360}, Say{"Zufallszeit von"}, Unit<&W::lbl_1_ms>{}),
    row<&W::txt_1_random2>({1980, 2550, 1500, 360}, Say{"Zufallszeit bis"}, Unit<&W::lbl_1_ms>{}),
    row<&W::lbl_1_ms>({3600, 2580, 450, 300}),
    // Panels 002 and 010.
    row<&W::lbl_2_X>({330, 2190, 1440, 300}),
    row<&W::txt_2_x>({1800, 2160, 1350, 360}, By<&W::lbl_2_X>{}),
    row<&W::txt_10_x>({1800, 2160, 1350, 360}, By<&W::lbl_2_X>{}),
    row<&W::lbl_2_Xpixel>({3330, 2190, 3000, 300}),
    row<&W::lbl_2_Y>({330, 2610, 1440, 300}),
    row<&W::txt_2_y>({1800, 2580, 1350, 360}, By<&W::lbl_2_Y>{}),
    row<&W::txt_10_y>({1800, 2580, 1350, 360}, By<&W::lbl_2_Y>{}),
    row<&W::lbl_2_Ypixel>({3330, 2610, 3000, 300}),
    row<&W::lbl_10_abbruch>({330, 3150, 8100, 300}),
    row<&W::txt_10_abbruch>(
        {0, 0, 0, 0},
        Say{"Abbruchbedingung nach Sekunden (0 = nie)"}),  // placed in the caption's gap
    // Panel 003.
    option<&W::opt_3_click, 0>({330, 2190, 4500, 330}),
    option<&W::opt_3_click, 1>({330, 2550, 4500, 330}),
    option<&W::opt_3_click, 2>({330, 2910, 4500, 330}),
    // Panel 004.
    row<&W::lbl_4_eingabebefehl>({330, 2190, 2040, 300}),
    row<&W::com_4_eingabebefehl>({2400, 2145, 3900, 390}, By<&W::lbl_4_eingabebefehl>{}),
    row<&W::lbl_4_eingabetext>({330, 2700, 6000, 300}),
    row<&W::txt_4_eingabetext>({330, 3030, 8340, 360}, By<&W::lbl_4_eingabetext>{}),
    // Panel 005.
    row<&W::lbl_5_start>({330, 2190, 3390, 300}),
    row<&W::txt_5_start>({3750, 2160, 1650, 360}, By<&W::lbl_5_start>{}),
    row<&W::lbl_5_hochzählen>({330, 2610, 3390, 300}),
    row<&W::txt_5_hochzählen>({3750, 2580, 1650, 360}, By<&W::lbl_5_hochzählen>{}),
    // Panel 006.
    row<&W::lbl_6_pfad>({330, 2190, 4500, 300}),
    row<&W::txt_6_pfad>({330, 2520, 8340, 360}, By<&W::lbl_6_pfad>{}),
    row<&W::cmd_6_pfad>({330, 3000, 2850, 420}),
    // Panel 007: two columns, taken row by row.
    option<&W::opt_7_pc, 0>({330, 2160, 3900, 330}),
    option<&W::opt_7_pc, 4>({4500, 2160, 4050, 330}),
    option<&W::opt_7_pc, 1>({330, 2520, 3900, 330}),
    option<&W::opt_7_pc, 5>({4500, 2520, 4050, 330}),
    option<&W::opt_7_pc, 2>({330, 2880, 3900, 330}),
    option<&W::opt_7_pc, 6>({4500, 2880, 4050, 330}),
    option<&W::opt_7_pc, 3>({330, 3240, 3900, 330}),
    // Panel 008.
    row<&W::lbl_8_laufwerk>({330, 2190, 3900, 300}),
    row<&W::com_8_laufwerk>({4350, 2145, 2400, 390}, By<&W::lbl_8_laufwerk>{}),
    row<&W::lbl_8_move>({330, 2670, 3900, 300}),
    row<&W::com_8_move>({4350, 2625, 2400, 390}, By<&W::lbl_8_move>{}),
    // Panel 009.
    row<&W::lbl_9_pfad>({330, 2190, 4500, 300}),
    row<&W::txt_9_pfad>({330, 2520, 8340, 360}, By<&W::lbl_9_pfad>{}),
    row<&W::cmd_9_pfad>({330, 3000, 2850, 420}),
    // Navigation.
    row<&W::lbl_anz_befehle>({150, 4410, 1650, 300}),
    row<&W::img_befehl_left>({1800, 4410, 330, 330}, Picture::ArrowLeft, Say{"Anzahl verringern"}),
    row<&W::txt_befehle>({2190, 4395, 960, 360}, By<&W::lbl_anz_befehle>{}),
    row<&W::img_befehl_right>({3210, 4410, 330, 330}, Picture::ArrowRight, Say{"Anzahl erhöhen"}),
    row<&W::hsc_befehle>({3840, 4380, 3390, 270}, Say{"Aktueller Befehl"}),
    row<&W::lbl_hscaktuell>({3840, 4650, 1500, 240}),
    row<&W::lbl_hscmax>({5730, 4650, 1500, 240}, Align::Right),
    row<&W::cmd_start>({7380, 4350, 1470, 480}),
    row<&W::Image2>({150, 4920, 8700, 30}, Picture::Bar),
    // The list and the buttons beside it.
    row<&W::lst_code>({150, 4980, 7080, 2010}, FontRole::Mono, Say{"Befehlsliste"}),
    row<&W::cmd_neu>({7380, 4980, 1470, 420}),
    row<&W::cmd_load>({7380, 5490, 1050, 420}),
    row<&W::cmd_load2>({8460, 5490, 390, 420}, Say{"Laden aus Datei…"}),
    row<&W::cmd_save>({7380, 6000, 1050, 420}),
    row<&W::cmd_save2>({8460, 6000, 390, 420}, Say{"Speichern unter…"}),
};

template <auto M>
form::MenuItem* item(W& m) {
    return &(m.*M);
}

constexpr MenuRow kMenu[] = {{&item<&W::mnunewcommand>, "Ctrl+N"},
                             {nullptr, nullptr},
                             {&item<&W::mnucut>, "Ctrl+X"},
                             {&item<&W::mnucopy>, "Ctrl+C"},
                             {&item<&W::mnupaste>, "Ctrl+V"},
                             {&item<&W::mnudelete>, "Del"},
                             {nullptr, nullptr},
                             {&item<&W::mnuall>, "Ctrl+A"},
                             {&item<&W::mnudisplay>, "Ctrl+D"},
                             {nullptr, nullptr},
                             {&item<&W::mnurecord>, ""}};

}  // namespace

bool FormRow::takes_focus() const {
    return kind != ControlKind::Label && kind != ControlKind::Picture && kind != ControlKind::Frame;
}

bool FormRow::decorative() const {
    return kind == ControlKind::Frame || (kind == ControlKind::Picture && !spoken);
}

namespace {

std::string caption_of(form::Control& c) {
    if (auto* l = dynamic_cast<form::Label*>(&c)) return l->caption();
    if (auto* b = dynamic_cast<form::Button*>(&c)) return b->caption();
    if (auto* o = dynamic_cast<form::OptionGroup::Button*>(&c)) return o->caption();
    return {};
}

// Runs of blanks (the gap a field sits in) are read as one; a trailing colon is not read.
std::string tidy(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += ch;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == ':')) out.pop_back();
    return out;
}

}  // namespace

std::string spoken_name(const FormRow& row, frm_mavorin& m) {
    if (row.decorative()) return {};
    std::string name = row.spoken  ? std::string(row.spoken)
                       : row.label ? caption_of(row.label(m))
                                   : caption_of(row.control(m));
    name = tidy(name);
    if (row.unit) name += " (" + tidy(caption_of(row.unit(m))) + ")";
    return name;
}

std::string spoken_description(const FormRow& row, frm_mavorin& m) {
    return row.described_by ? tidy(caption_of(row.described_by(m))) : std::string();
}

std::string tooltip(const FormRow& row, frm_mavorin& m) {
    if (!row.takes_focus() && (row.kind != ControlKind::Picture || !row.spoken)) return {};
    std::string tip = spoken_name(row, m);
    if (tip == tidy(caption_of(row.control(m)))) tip.clear();
    const std::string about = spoken_description(row, m);
    if (!about.empty()) tip += (tip.empty() ? "" : "\n") + about;
    return tip;
}

std::span<const FormRow> form_table() {
    return kForm;
}

std::span<const MenuRow> popup_menu_table() {
    return kMenu;
}

const CaptionGap& caption_gap() {
    static const CaptionGap gap{&member<&W::lbl_10_abbruch>, &member<&W::txt_10_abbruch>,
                                "Abbruchbedingung nach: ", 36};
    return gap;
}

FormRect caption_gap_field(FormRect label_px, int lead_px, int gap_px) {
    return {label_px.x + lead_px, label_px.y - 2, std::max(40, gap_px), 24};
}

int form_client_height(frm_mavorin& m, double dpi_y, int frame_px) {
    const double twips_per_pixel = 1440.0 / std::max(1.0, dpi_y);
    const int outer = static_cast<int>(m.form.height_twips() / twips_per_pixel + 0.5);
    int list_top = 0;
    for (const FormRow& r : kForm)
        if (&r.control(m) == &m.lst_code) list_top = to_pixels(r.twips).y;
    // The model's height, not the widget's: the list may be shown after the form.
    return std::max({200, outer - frame_px, list_top + m.lst_code.height() + 10});
}

}  // namespace mavorin
