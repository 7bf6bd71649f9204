// Value-and-uncertainty texts such as "0.012(5)": the standard uncertainty in
// units of the last digit shown, as refined parameters (the Flack parameter
// among them) are reported; and the reader of such texts.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "text/string_util.hpp"
#include "text/text_internal.hpp"

namespace vorn_string_utilities {

namespace {

// Shortest text of a 32-bit real: a blank, the sign, then the shortest digit
// string that reads back to the same value, laid out in fixed form for
// decimal exponents -6..6 ("0.0123", "12.5", "100.") and otherwise as
// "1.5E-7".  Its length sizes the value's field.
std::string shortest_text(float value) {
    if (std::isnan(value)) return " NaN";
    const std::string sign = std::signbit(value) ? " -" : " ";
    if (std::isinf(value)) return sign + "Infinity";
    if (value == 0.0f) return sign + "0.";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    const std::string text(buffer, result.ptr);  // "d.ddde+XX" or "de+XX"
    const std::size_t e_pos = text.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e_pos; ++i) {
        if (text[i] != '.') digits.push_back(text[i]);
    }
    const int exponent = std::stoi(text.substr(e_pos + 1));
    if (exponent >= -6 && exponent <= -1) {
        return sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    if (exponent >= 0 && exponent <= 6) {
        const auto before_point = static_cast<std::size_t>(exponent + 1);
        if (digits.size() > before_point) {
            return sign + digits.substr(0, before_point) + "." + digits.substr(before_point);
        }
        return sign + digits + std::string(before_point - digits.size(), '0') + ".";
    }
    return sign + digits.substr(0, 1) + "." + digits.substr(1) + "E" + (exponent < 0 ? "-" : "+") +
           std::to_string(std::abs(exponent));
}

// Decimal digits of a non-negative real rounded to the nearest integer,
// halves away from zero; beyond the 32-bit range the digits of the rounded
// value itself.
std::string rounded_digits(float value) {
    if (fits_int32(value)) return std::to_string(nint(value));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::round(static_cast<double>(value)));
    return buffer;
}

// The text of the value alone, left-adjusted after one blank unless it
// starts with "-".
void value_only_text(float value, std::string& string) {
    const std::string work =
        std::fabs(value) > 999999.0f ? shortest_text(value) : format_f(value, 14, 5);
    std::string text(trim_both(work));
    if (text.empty() || text[0] != '-') text.insert(0, " ");
    string = fixed(text, string.size());
}

}  // namespace

void setnum_std(float value, float uncertainty, std::string& string) {
    const std::size_t width = string.size();
    // Without a finite uncertainty only the value can be written; a negative
    // one counts by its magnitude.
    const float sigma = std::fabs(uncertainty);
    if (!std::isfinite(sigma) || sigma < 1.0e-7f) {
        value_only_text(value, string);
        return;
    }

    // Decimals d: the uncertainty is scaled by 10 until it reaches 2.0; the
    // products are formed in double and rounded to 32 bits once.
    int decimals = 0;
    double scaled = sigma;
    while (scaled < 2.0) {
        scaled *= 10.0;
        ++decimals;
    }
    const std::string uncertainty_digits = rounded_digits(static_cast<float>(scaled));

    const auto field_width = static_cast<int>(shortest_text(value).size());
    const std::string field = format_f(value, field_width, decimals);
    string = fixed(trim_right(field), width);

    // No trailing point when the value has no decimals.
    std::size_t length = len_trim(string);
    if (length > 0 && string[length - 1] == '.') string[length - 1] = ' ';
    length = len_trim(string);
    if (length < width) string[length] = '(';
    length = len_trim(string);
    const auto room = static_cast<std::int64_t>(width) - static_cast<std::int64_t>(length) - 1;
    const std::string tail = static_cast<std::int64_t>(uncertainty_digits.size()) <= room
                                 ? uncertainty_digits + ")"
                                 : std::string("*)");
    string = fixed(string.substr(0, length) + tail, width);

    std::string packed(trim_right(pack_string(string)));
    if (packed.empty() || packed[0] != '-') packed.insert(0, " ");
    string = fixed(packed, width);
}

void getnum_std(std::string_view line, std::span<float> values, std::span<float> uncertainties,
                std::int32_t& number_count) {
    std::fill(values.begin(), values.end(), 0.0f);
    std::fill(uncertainties.begin(), uncertainties.end(), 0.0f);
    number_count = 0;
    init_err_string();
    if (len_trim(line) == 0) {
        set_err_string("Blank line");
        return;
    }
    const std::size_t capacity = std::min(values.size(), uncertainties.size());

    std::string copy(line);
    std::string word(copy.size(), ' ');
    // One number of a word part, read by getnum.
    float real_value[1] = {0.0f};
    std::int32_t integer_value[1] = {0};
    std::int32_t count = 0;
    for (;;) {
        std::int32_t word_length = 0;
        cutst(copy, nullptr, &word, &word_length);
        if (word_length == 0) return;
        const std::string item = word.substr(0, static_cast<std::size_t>(word_length));
        const std::size_t open = item.find('(');
        const std::size_t close = item.find(')');
        const std::size_t p = open == std::string::npos ? 0 : open + 1;  // positions from 1, 0 when absent
        const std::size_t q = close == std::string::npos ? 0 : close + 1;
        if (p > q || (p == 0 && q > 0) || (q == 0 && p > 0)) {
            set_err_string("Wrong format using Standard values");
            return;
        }
        const std::string value_part = p == 0 ? item : item.substr(0, p - 1);
        getnum(value_part, real_value, integer_value, count);
        if (count != 1 || err_string) {
            set_err_string("Bad format");
            return;
        }
        if (static_cast<std::size_t>(number_count) >= capacity) {
            set_err_string("Dimension of value arrays exceeded");
            return;
        }
        ++number_count;
        const auto slot = static_cast<std::size_t>(number_count) - 1;
        values[slot] = real_value[0];
        if (p == 0) continue;

        getnum(item.substr(p, q - p - 1), real_value, integer_value, count);
        if (count != 1 || err_string) {
            set_err_string("Bad format");
            return;
        }
        // The digits in parentheses count in units of the value's last decimal.
        const std::size_t point = value_part.find('.');
        uncertainties[slot] = point == std::string::npos
                                  ? real_value[0]
                                  : real_value[0] / power_of_ten(static_cast<std::int32_t>(p - (point + 1) - 1));
    }
}

}  // namespace vorn_string_utilities
