// The macro file reader: one pass, bounded memory, and the bytes it read.
#include "document/macro_text.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <streambuf>
#include <system_error>

#include "document/codepage.hpp"
#include "platform/image_files.hpp"

namespace mavorin {

namespace {

// Far above any real macro (32000 commands of a few hundred bytes), far below what would
// exhaust memory once converted to UTF-8.
constexpr size_t kLoadBudget = size_t{64} << 20;
// The header readers look at the first characters only.
constexpr size_t kHeaderBudget = size_t{1} << 20;
constexpr size_t kHeaderKeep = 4096;

bool is_regular(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(utf8_path(path), ec);
}

// The first CR or LF, eight bytes at a time: this loop sees every byte of a loaded file.
const char* find_line_end(const char* p, const char* end) {
    constexpr uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    for (; end - p >= 8; p += 8) {
        uint64_t x;
        std::memcpy(&x, p, 8);
        const uint64_t cr = x ^ (ones * '\r'), lf = x ^ (ones * '\n');
        // Nonzero when some byte of the word is zero (exact as to whether, not which).
        if (((cr - ones) & ~cr & highs) | ((lf - ones) & ~lf & highs)) break;
    }
    while (p < end && *p != '\r' && *p != '\n') ++p;
    return p;
}

}  // namespace

void ReadBytes::append(std::string_view bytes) {
    kept_.append(bytes);
    if (kept_.size() < kKeep) return;
    hashed_.update(kept_);
    kept_.clear();
}

std::string ReadBytes::sha256() const {
    Sha256 all = hashed_;
    all.update(kept_);
    return all.hex_digest();
}

LineReader::LineReader(std::istream& in, size_t budget, ReadBytes* consumed)
    : in_(in), budget_(budget), consumed_(consumed) {}

void LineReader::flush_consumed() {
    if (consumed_ && pos_ > kept_) consumed_->append(std::string_view(buf_ + kept_, pos_ - kept_));
    kept_ = pos_;
}

bool LineReader::fill() {
    if (pos_ < len_) return true;
    flush_consumed();
    if (eof_) return false;
    in_.read(buf_, sizeof buf_);
    len_ = static_cast<size_t>(std::max<std::streamsize>(in_.gcount(), 0));
    pos_ = kept_ = 0;
    if (len_ == 0) eof_ = true;
    return len_ > 0;
}

bool LineReader::append_next(std::string& line, size_t keep) {
    if (cut_ || !fill()) return false;
    const size_t base = line.size();
    while (fill()) {
        if (budget_ == 0) {
            cut_ = true;
            return false;
        }
        const size_t n = std::min(len_ - pos_, budget_);
        const char* start = buf_ + pos_;
        const char* end = find_line_end(start, start + n);
        const size_t take = static_cast<size_t>(end - start);
        const size_t kept = line.size() - base;
        if (kept < keep) line.append(start, std::min(take, keep - kept));
        pos_ += take;
        budget_ -= take;
        if (end == start + n) continue;  // no line end yet
        const char c = *end;
        ++pos_;
        if (budget_ > 0) --budget_;
        if (c == '\r' && fill() && buf_[pos_] == '\n') {
            ++pos_;
            if (budget_ > 0) --budget_;
        }
        return true;
    }
    return true;  // the last line has no line end
}

std::string LineReader::peek(size_t n) {
    if (len_ - pos_ < n && !eof_) {
        flush_consumed();
        std::memmove(buf_, buf_ + pos_, len_ - pos_);
        len_ -= pos_;
        pos_ = kept_ = 0;
        in_.read(buf_ + len_, static_cast<std::streamsize>(sizeof buf_ - len_));
        const std::streamsize got = in_.gcount();
        if (got <= 0) eof_ = true;
        len_ += static_cast<size_t>(std::max<std::streamsize>(got, 0));
    }
    const char* start = buf_ + pos_;
    const char* stop = start + std::min(n, len_ - pos_);
    return std::string(start,
                       std::find_if(start, stop, [](char c) { return c == '\r' || c == '\n'; }));
}

ReadResult read_macro(std::istream& in, MacroText& text, size_t size_hint) {
    text = MacroText();
    // Sized once from the file: growing by doubling would move everything several times.
    text.record_ends.reserve(std::min(kMaxRecords, size_hint / 16));
    text.record_bytes.reserve(std::min(size_hint, size_t{16} << 20));
    text.read_bytes.reserve(size_hint);
    LineReader reader(in, kLoadBudget, &text.read_bytes);
    std::string line;
    if (!reader.next(line, kHeaderKeep)) return ReadResult::unreadable;
    text.header = cp1252_to_utf8(line);
    if (line.compare(0, 4, ".mvn") != 0) return ReadResult::not_a_macro;
    std::string& bytes = text.record_bytes;
    while (text.record_ends.size() < kMaxRecords) {
        const size_t begin = bytes.size();
        if (!reader.append_next(bytes)) {
            bytes.resize(begin);
            text.too_big = reader.cut();
            break;
        }
        const std::string_view line = std::string_view(bytes).substr(begin);
        if (line.substr(0, 4) != "code") {
            text.stop_line = cp1252_to_utf8(line);
            bytes.resize(begin);
            break;
        }
        text.record_ends.push_back(bytes.size());
    }
    // Plain ASCII is already UTF-8: one check of all records is cheaper than one per line.
    if (!is_ascii(bytes)) {
        std::string utf8;
        size_t begin = 0;
        for (size_t& end : text.record_ends) {
            utf8 += cp1252_to_utf8(std::string_view(bytes).substr(begin, end - begin));
            begin = end;
            end = utf8.size();
        }
        bytes = std::move(utf8);
    }
    // Only the start of the next line is looked at: the rest of the file is not read.
    if (text.record_ends.size() == kMaxRecords) text.beyond_limit = reader.peek(4) == "code";
    reader.flush_consumed();
    return ReadResult::ok;
}

std::string macro_digest(std::string_view bytes) {
    // Within the budget the reader never cuts: find where it would stop and hash up to there.
    if (bytes.size() <= kLoadBudget) {
        const char* const first = bytes.data();
        const char* const last = first + bytes.size();
        const char* p = first;
        // Consumes one line with its end, as LineReader does; false at the end of the input.
        const auto line_starts_with = [&](std::string_view prefix) {
            if (p == last) return false;
            const char* end = find_line_end(p, last);
            const bool match =
                std::string_view(p, static_cast<size_t>(end - p)).starts_with(prefix);
            p = end;
            if (p != last && *p++ == '\r' && p != last && *p == '\n') ++p;
            return match;
        };
        if (!line_starts_with(".mvn")) return std::string();
        size_t n = 0;
        while (n < kMaxRecords && line_starts_with("code")) ++n;
        return sha256_hex(std::string_view(first, static_cast<size_t>(p - first)));
    }
    // Reads straight from the bytes: no copy into a string stream.
    struct ViewBuf : std::streambuf {
        explicit ViewBuf(std::string_view v) {
            char* p = const_cast<char*>(v.data());
            setg(p, p, p + v.size());
        }
    } buf(bytes);
    std::istream in(&buf);
    ReadBytes read;
    LineReader reader(in, kLoadBudget, &read);
    std::string line;
    if (!reader.next(line, 4) || line != ".mvn") return std::string();
    // The line that ends the records is read as well, as the loader does.
    for (size_t n = 0; n < kMaxRecords; ++n)
        if (!reader.next(line, 4) || line != "code") break;
    reader.flush_consumed();
    return read.sha256();
}

ReadResult read_macro_file(const std::string& path, MacroText& text) {
    text = MacroText();
    if (!is_regular(path)) return ReadResult::unreadable;
    std::ifstream in(utf8_path(path), std::ios::binary);
    if (!in) return ReadResult::unreadable;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(utf8_path(path), ec);
    return read_macro(in, text,
                      ec ? 0 : static_cast<size_t>(std::min<std::uintmax_t>(size, SIZE_MAX)));
}

bool read_first_line(const std::string& path, std::string& line) {
    if (!is_regular(path)) return false;
    std::ifstream in(utf8_path(path), std::ios::binary);
    if (!in) return false;
    LineReader reader(in, kHeaderBudget);
    std::string bytes;
    // A first line longer than the budget still counts: its start is all anyone reads.
    if (!reader.next(bytes, kHeaderKeep) && bytes.empty()) return false;
    line = cp1252_to_utf8(bytes);
    return true;
}

}  // namespace mavorin
