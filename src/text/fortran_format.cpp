// Fixed-field number formatting and reading with formatted Fortran I/O rules.
#include "text/fortran_format.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vorn_string_utilities {

namespace {

std::string right_justify(const std::string& s, int w) {
    if (w <= 0) return s;
    if (static_cast<int>(s.size()) > w) return std::string(static_cast<std::size_t>(w), '*');
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// NaN and infinities as gfortran writes them, or asterisks when too narrow.
std::string special_value(double value, int w) {
    std::string s;
    if (std::isnan(value)) {
        s = "NaN";
    } else {
        bool neg = std::signbit(value);
        int room = w - (neg ? 1 : 0);
        s = room >= 8 ? "Infinity" : "Inf";
        if (neg) s = "-" + s;
    }
    return right_justify(s, w);
}

// Drop the optional leading zero of "0.xxx" when the field is one short.
std::string fit_leading_zero(bool negative, std::string digits, int w) {
    std::string s = (negative ? "-" : "") + digits;
    if (static_cast<int>(s.size()) > w && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        s = (negative ? "-" : "") + digits.substr(1);
    }
    return right_justify(s, w);
}

// Blanks inside a numeric input field are ignored.
std::string without_blanks(std::string_view field) {
    std::string s;
    s.reserve(field.size());
    for (char c : field) {
        if (c != ' ' && c != '\t') s.push_back(c);
    }
    return s;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Fast exact path of Fw.d for values that are 32-bit reals, as every report
// value of the system is: a float has at most 24 significant bits, so
// |v|·10^d with d <= 12 is exact in double (5^12 < 2^28), and rounding that
// product to an integer in the default rounding mode is round-half-even from
// the exact binary value, as printf does.  Returns false when the value is
// not a float or too large for the path.
bool fixed_digits_of_float(double magnitude, int d, std::string& digits) {
    static constexpr double powers[13] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6,
                                          1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
    if (d > 12 || static_cast<double>(static_cast<float>(magnitude)) != magnitude) return false;
    const double scaled = magnitude * powers[d];
    if (!(scaled < 4.0e15)) return false;
    auto n = static_cast<unsigned long long>(std::nearbyint(scaled));
    char buf[32];
    int len = 0;
    do {
        buf[len++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0 || len <= d);  // at least one digit before the point
    digits.clear();
    for (int k = len - 1; k >= 0; --k) {
        digits.push_back(buf[k]);
        if (k == d && d > 0) digits.push_back('.');
    }
    return true;
}

template <typename Real>
bool read_real_field(std::string_view field, int d, Real& value) {
    const std::string s = without_blanks(field);
    if (s.empty()) {
        value = 0;
        return true;
    }
    std::size_t i = 0;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    std::string digits;
    long long point_shift = 0;  // decimal digits after the point
    bool has_point = false;
    bool any_digit = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (is_digit(c)) {
            any_digit = true;
            if (has_point) ++point_shift;
            if (!(digits.empty() && c == '0')) digits.push_back(c);  // leading zeros carry no digit
        } else if (c == '.' && !has_point) {
            has_point = true;
        } else {
            break;
        }
    }
    if (!any_digit) return false;
    long long exponent = 0;
    if (i < s.size()) {
        char c = s[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q') ++i;
        else if (c != '+' && c != '-') return false;
        bool exp_negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            exp_negative = s[i] == '-';
            ++i;
        }
        if (i >= s.size()) return false;
        for (; i < s.size(); ++i) {
            if (!is_digit(s[i])) return false;
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
        }
        if (exp_negative) exponent = -exponent;
    }
    if (!has_point) point_shift = d;
    if (digits.empty()) {
        value = negative ? -Real(0) : Real(0);
        return true;
    }
    // Short fields (the usual "1234.56") convert exactly: a mantissa below
    // 2^24 and a power of ten up to 10^10 are both exact 32-bit reals, so
    // one IEEE division or multiplication rounds correctly.
    if constexpr (sizeof(Real) == sizeof(float)) {
        static constexpr float powers[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                             1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
        const long long scale = exponent - point_shift;
        if (digits.size() <= 7 && scale >= -10 && scale <= 10) {
            float mantissa = 0.0f;
            for (char c : digits) mantissa = mantissa * 10.0f + static_cast<float>(c - '0');
            float r = scale < 0 ? mantissa / powers[-scale] : mantissa * powers[scale];
            value = negative ? -r : r;
            return true;
        }
    }
    // Correctly rounded conversion of digits * 10^(exponent - point_shift).
    std::string text = (negative ? "-" : "") + digits + "e" + std::to_string(exponent - point_shift);
    errno = 0;
    char* end = nullptr;
    Real r;
    if constexpr (sizeof(Real) == sizeof(float)) r = std::strtof(text.c_str(), &end);
    else r = std::strtod(text.c_str(), &end);
    if (end == nullptr || *end != '\0') return false;
    if (std::isinf(r)) return false;
    value = r;
    return true;
}

}  // namespace

std::string format_i(long long value, int w) { return right_justify(std::to_string(value), w); }

std::string format_f(double value, int w, int d) {
    if (!std::isfinite(value)) return special_value(value, w);
    if (d < 0) d = 0;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e300) return std::string(static_cast<std::size_t>(w > 0 ? w : 1), '*');
    std::string digits;
    if (!fixed_digits_of_float(magnitude, d, digits)) {
        int n = std::snprintf(nullptr, 0, "%.*f", d, magnitude);
        digits.assign(static_cast<std::size_t>(n), '\0');
        std::snprintf(digits.data(), digits.size() + 1, "%.*f", d, magnitude);
    }
    if (d == 0) digits += ".";
    return fit_leading_zero(negative, digits, w);
}

std::string format_e(double value, int w, int d) {
    if (!std::isfinite(value)) return special_value(value, w);
    if (d < 1) d = 1;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    std::string mantissa(static_cast<std::size_t>(d), '0');
    int exponent = 0;
    if (magnitude != 0.0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*e", d - 1, magnitude);
        // buf: "d.ddde+xx"
        std::string b(buf);
        std::size_t epos = b.find('e');
        std::string m;
        for (std::size_t k = 0; k < epos; ++k) {
            if (b[k] != '.') m.push_back(b[k]);
        }
        mantissa = m;
        exponent = std::atoi(b.c_str() + epos + 1) + 1;
    }
    std::string exp_text;
    int ae = exponent < 0 ? -exponent : exponent;
    char sign = exponent < 0 ? '-' : '+';
    char buf[16];
    if (ae <= 99) std::snprintf(buf, sizeof buf, "E%c%02d", sign, ae);
    else std::snprintf(buf, sizeof buf, "%c%03d", sign, ae);
    exp_text = buf;
    return fit_leading_zero(negative, "0." + mantissa + exp_text, w);
}

bool read_i_field(std::string_view field, std::int32_t& value) {
    const std::string s = without_blanks(field);
    if (s.empty()) {
        value = 0;
        return true;
    }
    std::size_t i = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i >= s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (!is_digit(s[i])) return false;
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

bool read_f_field(std::string_view field, int d, float& value) { return read_real_field(field, d, value); }
bool read_f_field(std::string_view field, int d, double& value) { return read_real_field(field, d, value); }

}  // namespace vorn_string_utilities
