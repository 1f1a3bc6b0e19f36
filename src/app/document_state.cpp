// The title and the safety questions around the macro file's handlers.
#include "app/document_state.hpp"

#include <algorithm>

#include "app/frm_mavorin.hpp"
#include "document/codepage.hpp"
#include "document/records.hpp"

namespace mavorin {

std::string base_name(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string unencodable_characters(const std::string& text) {
    std::string found;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        len = std::min(len, text.size() - i);
        const std::string ch = text.substr(i, len);
        i += len;
        if (len == 1) continue;
        if (utf8_to_cp1252(ch) == "?" && found.find(ch) == std::string::npos) found += ch;
    }
    return found;
}

std::string DocumentState::content() const {
    std::string all;
    for (int i = 0; i <= w.befehl_anzahl && i < kSlots; ++i) all += w.befehl[i] + '\n';
    return all;
}

bool DocumentState::modified() const {
    return saved_ && content() != *saved_;
}

void DocumentState::mark_clean() {
    saved_ = content();
}

std::string DocumentState::title() const {
    std::string t = "Mavorin – " + base_name(w.dateipfad);
    if (modified()) t += " *";
    if (w.running()) {
        // The count holds the repetitions after the first pass.
        t += " – läuft, Durchlauf " + number_text(w.durchlauf + 1) + " von " +
             number_text(w.wiederholungen + 1);
    }
    return t;
}

bool DocumentState::may_discard() {
    if (w.headless || !modified()) return true;
    Question q;
    q.text = "Die Änderungen an „" + base_name(w.dateipfad) + "“ sind nicht gespeichert.";
    q.buttons = {"&Speichern", "&Verwerfen", "Abbrechen"};
    q.default_button = 0;
    q.cancel_button = 2;
    const int answer = w.ask(q);
    if (answer == 0) return save();
    return answer == 1;
}

bool DocumentState::save() {
    const bool could_load = w.cmd_load.enabled();
    w.macro_file.cmd_save_Click();
    const SaveResult& result = w.macro_file.last_save;
    if (!result.ok()) {
        // Nothing was written, so there is nothing new to load.
        w.cmd_load.set_enabled(could_load);
        w.notice("„" + w.dateipfad + "“ wurde nicht gespeichert: " + result.reason);
        return false;
    }
    if (saved_) mark_clean();
    const std::string lost = unencodable_characters(content());
    if (!lost.empty())
        w.notice("Diese Zeichen kann eine Makrodatei nicht aufnehmen; gespeichert wurde „?“: " +
                 lost);
    return true;
}

void DocumentState::save_as() {
    std::string name = w.platform.save_file_dialog(kMacroFilter, "");
    if (name.empty()) return;
    if (base_name(name).find('.') == std::string::npos) name += ".mvn";
    w.dateipfad = name;
    save();
}

template <class F>
void DocumentState::replace(F&& action) {
    if (!may_discard()) return;
    const std::string before = content();
    action();
    if (saved_ && content() != before) mark_clean();
}

void DocumentState::load() {
    replace([this] { w.macro_file.cmd_load_Click(); });
}

void DocumentState::load_as() {
    replace([this] { w.macro_file.cmd_load2_Click(); });
}

void DocumentState::drop(const std::vector<std::string>& files) {
    if (files.size() != 1) return;
    replace([&] { w.macro_file.lst_code_OLEDragDrop(files); });
}

void DocumentState::new_macro() {
    if (!may_discard()) return;
    w.startup.cmd_neu_Click();
    if (saved_) mark_clean();
}

}  // namespace mavorin
