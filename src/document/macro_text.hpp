// Reading a macro file front to back once: its lines, where the records stop, and exactly the
// bytes read, which a file that launches is trusted by.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/sha256/sha256.hpp"

namespace mavorin {

// Most records a file gives: the settings record and 32000 commands.
inline constexpr size_t kMaxRecords = 32001;
// Every byte a reader took, for the hash of a file that launches. Realistic macros are kept
// as they are and hashed only when asked; past a few megabytes the bytes are hashed as they
// come, so that a huge file costs neither memory nor copying.
class ReadBytes {
  public:
    void append(std::string_view bytes);
    void reserve(size_t n) { kept_.reserve(std::min(n, kKeep)); }
    // SHA-256 of everything appended, in lower-case hex.
    std::string sha256() const;

  private:
    static constexpr size_t kKeep = size_t{4} << 20;
    Sha256 hashed_;
    std::string kept_;
};

// Lines split at CR LF (a lone CR or LF also ends a line), as raw bytes. Stops inside a line once
// `budget` bytes are read, so a file without line breaks is never read whole.
class LineReader {
  public:
    // `consumed`, when given, receives every byte read, line ends included.
    LineReader(std::istream& in, size_t budget, ReadBytes* consumed = nullptr);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    // The next line without its end, keeping at most `keep` bytes of it. False at the end of the
    // input, or when the budget ran out inside the line (then cut() is true).
    bool next(std::string& line, size_t keep = SIZE_MAX) {
        line.clear();
        return append_next(line, keep);
    }
    // The same, appended to `out` (keeping counts the appended bytes only).
    bool append_next(std::string& out, size_t keep = SIZE_MAX);
    // Up to `n` bytes of the next line, not counted as read.
    std::string peek(size_t n);
    bool cut() const { return cut_; }
    // Hands what was read so far to `consumed`.
    void flush_consumed();

  private:
    bool fill();
    std::istream& in_;
    size_t budget_;
    ReadBytes* consumed_;
    char buf_[65536];
    size_t pos_ = 0, len_ = 0, kept_ = 0;
    bool eof_ = false, cut_ = false;
};

// What the loader takes from a macro file.
struct MacroText {
    std::string header;  // line 1 (UTF-8), its first few kilobytes
    // Settings record and commands (UTF-8), back to back in one buffer.
    std::string record_bytes;
    std::vector<size_t> record_ends;  // where each record ends in record_bytes
    size_t record_count() const { return record_ends.size(); }
    std::string_view record(size_t i) const {
        const size_t begin = i == 0 ? 0 : record_ends[i - 1];
        return std::string_view(record_bytes).substr(begin, record_ends[i] - begin);
    }
    std::optional<std::string> stop_line;  // the line that ended the records
    bool beyond_limit = false;  // a record line follows the last one taken: more than 32000
    bool too_big = false;       // the byte budget ran out inside a line
    // Every byte read for all of the above, line ends included.
    ReadBytes read_bytes;
    // What the store of trusted files knows the file by. Only a macro that launches needs it.
    std::string sha256() const { return read_bytes.sha256(); }
};

enum class ReadResult { unreadable, not_a_macro, ok };

// `size_hint`: the input's size in bytes if known, to size the record list once.
ReadResult read_macro(std::istream& in, MacroText& text, size_t size_hint = 0);
// The `sha256()` read_macro would give for these bytes, without keeping the records; empty when
// they are not a macro.
std::string macro_digest(std::string_view bytes);
ReadResult read_macro_file(const std::string& path, MacroText& text);

// Line 1 of a file (UTF-8); false if the file is not a regular file or is empty.
bool read_first_line(const std::string& path, std::string& line);

}  // namespace mavorin
