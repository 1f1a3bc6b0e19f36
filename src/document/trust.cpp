// Trust: the store of approved hashes, and the trust state of the macro in memory.
#include "document/trust.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/commands.hpp"
#include "app/frm_mavorin.hpp"
#include "document/macro_text.hpp"
#include "document/records.hpp"
#include "platform/file_save.hpp"
#include "platform/image_files.hpp"

namespace mavorin {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

constexpr const char* kStoreName = "trusted-macros.txt";
// A store is a few kilobytes; a larger file is not ours to read whole.
constexpr std::uintmax_t kStoreMaxBytes = 4u << 20;

bool is_hash(const std::string& s) {
    return s.size() == 64 && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace

std::string TrustStore::path() const {
    return folder_.empty() ? std::string() : folder_ + "/" + kStoreName;
}

std::vector<std::string> TrustStore::read() const {
    std::vector<std::string> hashes;
    if (folder_.empty()) return hashes;
    const std::filesystem::path file = utf8_path(path());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) ||
        std::filesystem::file_size(file, ec) > kStoreMaxBytes)
        return hashes;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (is_hash(line)) hashes.push_back(line);
    }
    return hashes;
}

bool TrustStore::contains(const std::string& hash) const {
    const auto hashes = read();
    return is_hash(hash) && std::find(hashes.begin(), hashes.end(), hash) != hashes.end();
}

bool TrustStore::approve(const std::string& hash) {
    if (folder_.empty() || !is_hash(hash)) return false;
    auto hashes = read();
    if (std::find(hashes.begin(), hashes.end(), hash) != hashes.end()) return true;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = utf8_path(folder_);
    if (!fs::is_directory(folder, ec)) {
        if (!fs::create_directories(folder, ec)) return false;
        // The folder is the user's own business.
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    hashes.push_back(hash);
    std::string bytes;
    for (const auto& h : hashes) bytes += h + "\n";
    return save_file(path(), bytes, Durability::synced).ok();
}

std::vector<LaunchCommand> launches_in(const frm_mavorin& w, int from, int to) {
    std::vector<LaunchCommand> out;
    for (int i = std::max(from, 0); i <= to && i < kSlots; ++i) {
        const std::string& r = w.befehl[i];
        // An empty slot runs as the default record.
        if (r.empty()) continue;
        // Most records carry their code as three digits right after "code:|"; those that
        // cannot launch are passed over without a full look.
        if (r.size() > 9 && r.starts_with("code:|") && r[9] == '|' && is_digit(r[6]) &&
            is_digit(r[7]) && is_digit(r[8])) {
            const CommandRow* row =
                command_row((r[6] - '0') * 100 + (r[7] - '0') * 10 + r[8] - '0');
            if (!row || !row->launches) continue;
        }
        // The code and the first value by position, as the parser finds them. A missing one is
        // what the slot held before, and so for the run; only then is the slot looked at.
        size_t bar[4];
        const size_t bars = find_bars(r, bar, 4);
        const auto field = [&](size_t k, const std::string& kept) {
            return bars > k ? std::string_view(r).substr(bar[k - 1] + 1, bar[k] - bar[k - 1] - 1)
                            : std::string_view(kept);
        };
        const double c = wert_aus_text(field(1, w.befehl_code[i]));
        const CommandRow* row = command_row(c);
        if (row && row->launches)
            out.push_back({i, static_cast<int>(c), std::string(field(3, w.befehl_wert1[i]))});
    }
    return out;
}

namespace {

std::vector<std::string> launch_texts(const std::vector<LaunchCommand>& launches) {
    std::vector<std::string> out;
    for (const LaunchCommand& l : launches) out.push_back(std::to_string(l.code) + "|" + l.value);
    return out;
}

}  // namespace

std::vector<std::string> Trust::launch_records() const {
    return launch_texts(launches_in(w, 1, w.befehl_anzahl));
}

void Trust::loaded(const std::string& file_hash, const std::vector<LaunchCommand>& launches) {
    file_hash_ = file_hash;
    // Trust only guards launches: a file that launches nothing needs no entry in the store.
    trusted_ = launches.empty() || TrustStore(w.platform.user_data_folder()).contains(file_hash);
    file_launches_ = launch_texts(launches);
}

void Trust::saved(bool written, std::string_view bytes,
                  const std::vector<LaunchCommand>& launches) {
    trusted_ = true;
    file_launches_ = launch_texts(launches);
    // The file is trusted as the loader will read it. A file that launches nothing loads
    // trusted anyway: hashing it would only fill the store. (Hashing on a second thread
    // while the disk syncs gained nothing measurable on two cores.)
    file_hash_ = written && !file_launches_.empty() ? macro_digest(bytes) : std::string();
    if (!file_hash_.empty()) TrustStore(w.platform.user_data_folder()).approve(file_hash_);
}

void Trust::made_new() {
    trusted_ = true;
    file_hash_.clear();
    file_launches_.clear();
}

void Trust::approve() {
    trusted_ = true;
    if (!file_hash_.empty() && launch_records() == file_launches_)
        TrustStore(w.platform.user_data_folder()).approve(file_hash_);
}

}  // namespace mavorin
