// The ".mvn" macro file: save, load, the two dialogs, drop, and the two header readers.
#pragma once

#include <string>
#include <vector>

#include "platform/file_save.hpp"

namespace mavorin {

class frm_mavorin;

inline constexpr const char* kMacroFilter = ".mvn|*.mvn";

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

    // What the last Speichern reported (success, or an error with a German reason).
    SaveResult last_save;

  private:
    // cmd_load_Click; true when the macro was replaced by the file's records.
    bool load();
    frm_mavorin& w;
};

// The lines of a file split at CR LF (a lone LF or CR also ends a line), converted from
// Windows-1252; reading stops after `max_lines` lines or `max_bytes` bytes. False if unreadable.
bool read_lines(const std::string& path, std::vector<std::string>& lines, size_t max_lines,
                size_t max_bytes = size_t{256} << 20);

}  // namespace mavorin
