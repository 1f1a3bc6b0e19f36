// The ".mvn" macro file: save, load, the two dialogs, drop, and the two header readers.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/file_save.hpp"

namespace mavorin {

class frm_mavorin;

inline constexpr const char* kMacroFilter = ".mvn|*.mvn";

enum class LoadResult { unreadable, not_a_macro, no_records, loaded };

class MacroFile {
  public:
    explicit MacroFile(frm_mavorin& w) : w(w) {}
    void cmd_save_Click();
    void cmd_save2_Click();
    void cmd_load_Click();
    void cmd_load2_Click();
    void lst_code_OLEDragDrop(const std::vector<std::string>& files);
    void beginn_lesedatei();
    // True when the file was loaded (and then started).
    bool parameter_lesedatei();

    // Reads line 1 of `dateipfad` into `kopfzeile`; false if the file cannot be read.
    bool read_header();
    // What cmd_load_Click does, and what became of it.
    LoadResult load();

    // What the last Speichern reported (success, or an error with a German reason).
    SaveResult last_save;

  private:
    // One user action (a dialog, a drop) may read a file twice; it says a thing once.
    struct Action {
        explicit Action(MacroFile& f);
        ~Action();
        MacroFile& f;
    };
    void tell(const std::string& text);
    frm_mavorin& w;
    int depth_ = 0;
    std::vector<std::string> told_;
};

// A macro file as Speichern writes it: the header line, then the records (settings first).
std::string macro_file_bytes(std::span<const std::string> records);

// The option digit at character `position` (1-based) of the header line as the file holds it
// (Windows-1252, one byte a character), read with wert_aus_text; 0 when it is missing.
double header_digit(const std::string& kopfzeile, size_t position);

}  // namespace mavorin
