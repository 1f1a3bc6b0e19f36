// Trust in a macro's commands: the user's store of approved file hashes, and whether the commands
// in memory may launch programs without a question.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/sha256/sha256.hpp"

namespace mavorin {

class frm_mavorin;

// The approved hashes, one a line in a small text file of the user's data folder.
class TrustStore {
  public:
    explicit TrustStore(std::string folder) : folder_(std::move(folder)) {}
    bool contains(const std::string& hash) const;
    // Adds the hash (once); false when the store could not be written.
    bool approve(const std::string& hash);
    std::string path() const;

  private:
    std::vector<std::string> read() const;
    std::string folder_;
};

// A command that starts a program (006) or carries out a PC command (007).
struct LaunchCommand {
    int slot = 0;
    int code = 0;
    std::string value;  // what the command will act on
};

// Commands `from`..`to` of the macro that launch something, in order.
std::vector<LaunchCommand> launches_in(const frm_mavorin& w, int from, int to);

// Whether the commands in memory are the user's own or approved. A macro built in the window
// is; one loaded from a file is when the file's hash is in the store.
class Trust {
  public:
    explicit Trust(frm_mavorin& w) : w(w) {}
    bool trusted() const { return trusted_; }
    // A file with this hash has replaced the macro, which launches `launches` (what launches_in
    // gives for commands 1 to the count; the loader has them from its own parse). Without
    // launches the hash is not needed and may be empty.
    void loaded(const std::string& file_hash, const std::vector<LaunchCommand>& launches);
    // Speichern wrote `bytes`, or failed to (`written` false), of a macro that launches
    // `launches` (as for loaded).
    void saved(bool written, std::string_view bytes, const std::vector<LaunchCommand>& launches);
    void made_new();
    // The copy buffer takes the trust of the macro it was copied from, and gives it on.
    void copied() { copy_untrusted_ = !trusted_; }
    void pasted() {
        if (copy_untrusted_) trusted_ = false;
    }
    // The user approved every launch of the macro. The file is remembered only while the
    // macro still launches exactly what the file does.
    void approve();

  private:
    std::vector<std::string> launch_records() const;
    frm_mavorin& w;
    bool trusted_ = true;
    bool copy_untrusted_ = false;
    std::string file_hash_;
    std::vector<std::string> file_launches_;
};

}  // namespace mavorin
