// Command records: number reading and writing, building a record from the panel, parsing it back.
#include "document/records.hpp"

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/commands.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

// Characters that never interrupt a number.
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

double wert_aus_text(std::string_view text) {
    // Most values are a few plain digits: exact as an integer, no need for strtod.
    if (!text.empty() && text.size() <= 15) {
        const bool minus = text[0] == '-';
        size_t k = text[0] == '-' || text[0] == '+' ? 1 : 0;
        if (k < text.size()) {
            long long v = 0;
            for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k)
                v = v * 10 + (text[k] - '0');
            if (k == text.size()) return minus ? -static_cast<double>(v) : static_cast<double>(v);
        }
    }
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!is_blank(c)) s.push_back(c);
    size_t i = 0;
    if (s.size() >= 2 && s[0] == '&' &&
        (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        double v = 0;
        for (i = 2; i < s.size() && digit_value(s[i]) < base; ++i) v = v * base + digit_value(s[i]);
        // Hundreds of digits overflow; like an overflowing exponent, that reads as no number.
        return std::isinf(v) ? 0 : v;
    }
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) num.push_back(s[i++]);
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            num.push_back(s[i]);
            digits = true;
        } else if (s[i] == '.' && !point) {
            num.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
        bool exp_digits = false;
        for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j) {
            exp.push_back(s[j]);
            exp_digits = true;
        }
        if (exp_digits) num += exp;
    }
    // strtod honours LC_NUMERIC, so the point becomes the locale's separator first.
    const char* dp = std::localeconv()->decimal_point;
    if (dp && std::strcmp(dp, ".") != 0) {
        size_t p = num.find('.');
        if (p != std::string::npos) num.replace(p, 1, dp);
    }
    double result = std::strtod(num.c_str(), nullptr);
    if (std::isinf(result) || std::isnan(result)) return 0;
    return result;
}

std::string number_text(double value) {
    if (std::isnan(value) || std::isinf(value)) return "0";
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", value);
        std::string s = buf;
        if (s == "-0") s = "0";
        return s;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s = buf;
    // Drop trailing zeros of the fraction (before any exponent).
    size_t e = s.find('E');
    std::string mant = s.substr(0, e), exp = e == std::string::npos ? "" : s.substr(e);
    const char* dp = std::localeconv()->decimal_point;
    std::string sep = dp ? dp : ".";
    size_t p = mant.find(sep);
    if (p != std::string::npos) {
        while (!mant.empty() && mant.back() == '0') mant.pop_back();
        if (mant.size() >= sep.size() &&
            mant.compare(mant.size() - sep.size(), sep.size(), sep) == 0)
            mant.erase(mant.size() - sep.size());
    }
    if (!exp.empty()) {
        // "E-05" -> "E-05" keeps its form; "E+20" -> "E+20".
        return mant + exp;
    }
    return mant;
}

long long round_half_even(double value) {
    if (std::isnan(value)) return 0;
    if (value > 9e18) return static_cast<long long>(9e18);
    if (value < -9e18) return static_cast<long long>(-9e18);
    return static_cast<long long>(std::nearbyint(value));  // default rounding: halves to even
}

size_t find_bars(std::string_view record, size_t* at, size_t n) {
    // Eight bytes at a time: every loaded record passes through here, some twice.
    constexpr uint64_t lows = 0x7f7f7f7f7f7f7f7fu, bars = 0x7c7c7c7c7c7c7c7cu;
    const char* d = record.data();
    size_t found = 0, p = 0;
    if (n == 0) return 0;
    for (; record.size() - p >= 8; p += 8) {
        uint64_t x;
        std::memcpy(&x, d + p, 8);
        x ^= bars;
        // The high bit of each byte that was a bar, and of no other.
        uint64_t hits = ~(((x & lows) + lows) | x | lows);
        while (hits != 0) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(hits)
                                                                       : std::countl_zero(hits);
            at[found++] = p + static_cast<size_t>(bit) / 8;
            if (found == n) return found;
            if constexpr (std::endian::native == std::endian::little)
                hits &= hits - 1;
            else
                hits &= ~(uint64_t{1} << (63 - bit));
        }
    }
    for (; p < record.size(); ++p)
        if (d[p] == '|') {
            at[found++] = p;
            if (found == n) break;
        }
    return found;
}

std::string without_bars(std::string text) {
    return replace_all(std::move(text), "|", "");
}

std::string replace_all(std::string text, std::string_view find, std::string_view with) {
    if (find.empty()) return text;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (true) {
        size_t hit = text.find(find, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out.append(with);
        pos = hit + find.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

void Records::schreibebefehl() {
    if (w.running()) return;
    const int i = w.befehl_aktuell;
    // A code without a row writes nothing; the list is refreshed all the same.
    if (const CommandRow* row = command_row(w.code_aktuell); row && i >= 0 && i < kSlots)
        w.befehl[i] = "code:|" + code_text(static_cast<int>(w.code_aktuell)) + "|" + row->record(w);
    w.command_list.befehlsliste();
}

void Records::befehl_aktuellencode() {
    const int i = w.befehl_aktuell;
    if (i < 0 || i >= kSlots) return;
    const std::string& r = w.befehl[i];
    if (r.empty()) return;
    std::vector<std::string>* slots[] = {&w.befehl_code, &w.befehl_wert1, &w.befehl_wert2,
                                         &w.befehl_wert3, &w.befehl_wert4};
    // Pairs of bars enclose the values: the first pair the code, the next four the values.
    size_t bar[10];
    const size_t bars = find_bars(r, bar, 10);
    for (size_t k = 1; k < bars; k += 2)
        (*slots[k / 2])[i].assign(r.data() + bar[k - 1] + 1, bar[k] - bar[k - 1] - 1);
    w.code_aktuell = wert_aus_text(w.befehl_code[i]);
    if (w.code_aktuell > w.code_anzahl) w.befehl[i] = kDefaultRecord;
}

}  // namespace mavorin
