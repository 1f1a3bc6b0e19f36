// Editor panels: one set of controls per command code, all in one area, one shown at a time.
#include "editor/panels.hpp"

#include <algorithm>

#include "app/commands.hpp"
#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"

namespace mavorin {

const std::vector<std::string>& code_names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const CommandRow& row : command_rows().subspan(1)) v.emplace_back(row.caption);
        return v;
    }();
    return names;
}

std::vector<form::Control*> Panels::panel_controls(int code) {
    const CommandRow* row = command_row(code);
    return row ? row->panel(w) : std::vector<form::Control*>{};
}

std::vector<form::Control*> Panels::hide_order() {
    frm_mavorin& f = w;
    // Every row's controls once: a control shared by two panels goes with the first.
    std::vector<form::Control*> v;
    for (const CommandRow& row : command_rows())
        for (form::Control* c : row.panel(f))
            if (std::find(v.begin(), v.end(), c) == v.end()) v.push_back(c);
    // The settings panel hides "mal" after its check boxes.
    const auto mal = std::find(v.begin(), v.end(), &f.lbl_0_mal);
    const auto after = std::find(v.begin(), v.end(), &f.chk_0_listbox);
    if (mal < after) std::rotate(mal, mal + 1, after + 1);
    return v;
}

void Panels::wire_plain_fields() {
    frm_mavorin& f = w;
    for (const CommandRow& row : command_rows()) {
        const int code = static_cast<int>(&row - command_rows().data());
        auto write_back = [&f, code] {
            if (f.laden || f.running()) return;
            f.code_aktuell = code;
            f.records.schreibebefehl();
            f.records.befehl_aktuellencode();
        };
        // A combo the program itself selects holds its write-back off.
        auto combo_write_back = [&f, write_back] {
            if (!f.combo_sperre) write_back();
        };
        for (form::Control* c : row.panel(f)) {
            if (auto* box = dynamic_cast<TextBox*>(c); box && !box->on_change)
                box->on_change = write_back;
            else if (auto* combo = dynamic_cast<ComboBox*>(c); combo && !combo->on_click)
                combo->on_click = combo_write_back;
        }
    }
}

void Panels::codesichtbar() {
    frm_mavorin& f = w;
    const CommandRow* row = command_row(f.code_aktuell);
    const int i = f.befehl_aktuell;
    const bool shows = row && i >= 0 && i < kSlots;
    // The panel that stays is not hidden first: a run shows the same one on every step, and the
    // view should hear only of what really changes.
    const std::vector<form::Control*> panel = shows ? row->panel(f) : std::vector<form::Control*>{};
    for (form::Control* c : hide_order())
        if (std::find(panel.begin(), panel.end(), c) == panel.end()) c->set_visible(false);
    f.Timer_XYPos.set_enabled(false);
    f.Timer_combobox.set_enabled(true);
    if (!shows) return;
    const int code = static_cast<int>(f.code_aktuell);
    f.lbl_info.set_caption(row->prompt);
    row->fill(f, i, wert_aus_text(f.befehl_code[i]) == code);
    if (row->follows_cursor) f.Timer_XYPos.set_enabled(true);
    for (form::Control* c : panel) c->set_visible(true);
    if (code == kCdDriveCode) f.command_list.befehlsliste();
}

void Panels::Timer_combobox_Timer() {
    frm_mavorin& f = w;
    // Cleared, not restored: the tick also frees the handlers from a flag an earlier operation
    // left set.
    LoadingScope loading(f, LoadingScope::OnExit::clear);
    const CommandRow* row = command_row(f.code_aktuell);
    // The settings record has its own combo, which never changes.
    if (row && f.code_aktuell != kSettingsCode) {
        f.com_code.set_text(row->caption);
        if (f.code_aktuell == kTypingCode) f.com_4_eingabebefehl.set_list_index(0);
    }
    f.combo_sperre = false;
    f.Timer_combobox.set_enabled(false);
}

}  // namespace mavorin
