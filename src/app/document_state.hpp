// What the window tells about its macro: the title, unsaved changes, and the questions and boxes
// around saving and discarding, in front of or after the file handlers.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mavorin {

class frm_mavorin;

class DocumentState {
  public:
    explicit DocumentState(frm_mavorin& w) : w(w) {}

    // "Mavorin – name.mvn", " *" when changed, and the run's pass while running.
    std::string title() const;
    // True when the macro differs from what was last loaded, saved or made new. Changes are
    // tracked from the first mark_clean (the window calls it once started); before, never.
    bool modified() const;
    // The macro as it is now counts as saved.
    void mark_clean();

    // Asks "Speichern / Verwerfen / Abbrechen" when there are unsaved changes; true when the
    // caller may go on (saved or discarded).
    bool may_discard();

    // Speichern: tells when it failed (and why), and which characters the file cannot hold.
    bool save();
    // Speichern unter: a name without an extension gets ".mvn".
    void save_as();
    void load();
    void load_as();
    void drop(const std::vector<std::string>& files);
    void new_macro();

  private:
    std::string content() const;
    // Runs a loading action and counts the macro as saved if it replaced the one shown.
    template <class F>
    void replace(F&& action);
    frm_mavorin& w;
    std::optional<std::string> saved_;
};

// The base name of a path, either separator.
std::string base_name(const std::string& path);
// The characters of UTF-8 `text` that Windows-1252 cannot hold, each once, in order.
std::string unencodable_characters(const std::string& text);

}  // namespace mavorin
