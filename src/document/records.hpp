// Command records: the lenient number reading, number text, building and parsing a record.
#pragma once

#include <string>
#include <string_view>

namespace mavorin {

class frm_mavorin;

// Leading number of a text: blanks skipped, "&H"/"&O" prefixes, "." decimal point, E/D exponent;
// no number gives 0.
double wert_aus_text(std::string_view text);
// Whole numbers as plain digits; other values with up to 15 significant digits and the locale's
// decimal separator (LC_NUMERIC).
std::string number_text(double value);
// Rounds to the nearest whole number, halves to the even neighbour.
long long round_half_even(double value);
// Where the first `n` bars of a record are; returns how many there are (at most n).
size_t find_bars(std::string_view record, size_t* at, size_t n);
// Every "|" removed.
std::string without_bars(std::string text);
// Every occurrence of `find` replaced, left to right without overlap.
std::string replace_all(std::string text, std::string_view find, std::string_view with);

class Records {
  public:
    explicit Records(frm_mavorin& w) : w(w) {}
    // Builds the record of `code_aktuell` from the editor fields into slot `befehl_aktuell`.
    void schreibebefehl();
    // Parses slot `befehl_aktuell` into the value arrays and sets `code_aktuell`.
    void befehl_aktuellencode();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
