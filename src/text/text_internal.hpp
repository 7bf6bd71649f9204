// Helpers shared by the sources of the text module (not part of its public
// interface).
#pragma once

#include <cstdint>
#include <string_view>

#include "text/string_util.hpp"

namespace vorn_string_utilities {

// Raises the module's error flag with its message, kept as written (leading
// and trailing blanks included) and cut to 150 characters.
inline void set_err_string(std::string_view message) {
    err_string = true;
    err_string_mess = std::string(message.substr(0, message.size() < 150 ? message.size() : 150));
}

// 10 to an integer power in single precision, by repeated squaring and, for a
// negative power, one reciprocal at the end: the way a 32-bit real raised to
// a variable integer power is evaluated by the compiled number readers whose
// digit sums these texts must reproduce.
inline float power_of_ten(std::int32_t power) {
    std::uint32_t n = power < 0 ? 0u - static_cast<std::uint32_t>(power) : static_cast<std::uint32_t>(power);
    float x = 10.0f;
    float y = (n % 2 != 0) ? x : 1.0f;
    while ((n >>= 1) != 0) {
        x = x * x;
        if (n % 2 != 0) y = y * x;
    }
    return power < 0 ? 1.0f / y : y;
}

// Moves the leading blanks of a fixed-width text to its end.
inline void left_adjust(std::string& s) {
    std::size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    if (b == 0) return;
    s.erase(0, b);
    s.append(b, ' ');
}

}  // namespace vorn_string_utilities
