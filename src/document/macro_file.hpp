// The ".mvn" macro file: save, load, the two dialogs, drop, and the two header readers.
#pragma once

#include <string>
#include <vector>

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
    void parameter_lesedatei();

    // Reads line 1 of `dateipfad` into `kopfzeile`; false if the file cannot be read.
    bool read_header();

  private:
    frm_mavorin& w;
};

// The lines of a file split at CR LF (a lone LF also ends a line); false if unreadable.
bool read_lines(const std::string& path, std::vector<std::string>& lines, size_t max_lines);

}  // namespace mavorin
