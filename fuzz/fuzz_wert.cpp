// Fuzzes the lenient number reading and number text.
#include <cmath>
#include <cstdint>
#include <string>

#include "document/records.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const double v = mavorin::wert_aus_text(text);
    if (std::isnan(v) || std::isinf(v)) __builtin_trap();
    // Number text reads back as the same number.
    const double back = mavorin::wert_aus_text(mavorin::number_text(v));
    if (v == std::floor(v) && std::fabs(v) < 1e15 && back != v) __builtin_trap();
    (void)mavorin::round_half_even(v);
    return 0;
}
