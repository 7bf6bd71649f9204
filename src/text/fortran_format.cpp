// Fixed-field number formatting and reading with formatted Fortran I/O rules.
#include "text/fortran_format.hpp"

#include <bit>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace vorn_string_utilities {

namespace {

// Appends text right-justified in w columns; a text longer than the field
// gives w asterisks, and w <= 0 appends the text as it stands.
void append_right_justified(std::string& out, std::string_view text, int w) {
    if (w <= 0) {
        out.append(text);
        return;
    }
    const auto width = static_cast<std::size_t>(w);
    if (text.size() > width) {
        out.append(width, '*');
        return;
    }
    out.append(width - text.size(), ' ');
    out.append(text);
}

// Appends a number given as its sign and its unsigned digits ("0.125",
// "12.", "0.1234E+04") in w columns.  The optional leading zero of "0.xxx" is
// dropped when the signed text is longer than the field.
void append_number(std::string& out, bool negative, std::string_view digits, int w) {
    std::size_t length = digits.size() + (negative ? 1 : 0);
    if (static_cast<long long>(length) > w && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.remove_prefix(1);
        --length;
    }
    if (w > 0) {
        const auto width = static_cast<std::size_t>(w);
        if (length > width) {
            out.append(width, '*');
            return;
        }
        out.append(width - length, ' ');
    }
    if (negative) out.push_back('-');
    out.append(digits);
}

// NaN and infinities as gfortran writes them, or asterisks when too narrow.
void append_special_value(std::string& out, double value, int w) {
    if (std::isnan(value)) {
        append_right_justified(out, "NaN", w);
        return;
    }
    // The long word when the field has room for it after the sign.
    const bool negative = std::signbit(value);
    const bool long_word = w - (negative ? 1 : 0) >= 8;
    const std::string_view text = long_word ? "-Infinity" : "-Inf";
    append_right_justified(out, negative ? text : text.substr(1), w);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Blanks inside a numeric input field are ignored.
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The first position at or after i that holds no blank (field.size() if none).
std::size_t next_nonblank(std::string_view field, std::size_t i) {
    while (i < field.size() && is_blank(field[i])) ++i;
    return i;
}

// The nearest integer to x, ties to even, for 0 <= x < 2^52: after adding
// 2^52 no bits below the units are left, so the addition itself rounds (to
// nearest, ties to even, the default mode), and subtracting 2^52 is exact.
// Much cheaper than the library's nearbyint, which saves and restores the
// floating-point environment.
double round_half_even(double x) {
    constexpr double two_to_52 = 4503599627370496.0;
    return (x + two_to_52) - two_to_52;
}

// Appends w blanks to out and returns where they begin, for a field that is
// then written in place: only stores into the new room, never a copy through
// a scratch buffer (whose small stores and wide reloads stall the processor).
char* append_blank_field(std::string& out, std::size_t w) {
    static constexpr std::string_view blanks = "                                                                ";
    const std::size_t at = out.size();
    if (w <= blanks.size()) out.append(blanks.data(), w);  // a plain copy: cheaper than a fill
    else out.append(w, ' ');
    return out.data() + at;
}

// Writes the last `count` decimal digits of v leftwards, two at a time,
// ending just before `end` (leading zeros included); v keeps the digits not
// written.  Returns the first character written.
template <class Unsigned>
char* digits_leftwards(char* end, Unsigned& v, int count) {
    static constexpr char two_digits[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    for (; count >= 2; count -= 2, v /= 100) {
        end -= 2;
        std::memcpy(end, two_digits + 2 * static_cast<std::size_t>(v % 100), 2);
    }
    if (count == 1) {
        *--end = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    return end;
}

// Writes the text of a fixed-point number v·10^-d leftwards, ending just
// before `end`: d decimals, the point before them when d > 0, and
// integer_digits digits before it (leading zeros included); returns the
// first character written.  32-bit steps while the value allows.
template <class Unsigned>
char* fixed_leftwards_as(char* end, Unsigned v, int d, int integer_digits) {
    end = digits_leftwards(end, v, d);
    if (d > 0) *--end = '.';
    return digits_leftwards(end, v, integer_digits);
}

// The number of decimal digits of v (1 for 0): the bit length gives it to
// within one, a power of ten settles it.
int digit_count(unsigned long long v) {
    static constexpr unsigned long long powers[20] = {
        1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL, 100000000ULL,
        1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
        100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
        1000000000000000000ULL, 10000000000000000000ULL};
    const int estimate = (64 - std::countl_zero(v | 1)) * 1233 >> 12;  // floor(log10(2^bits))
    return estimate + (v >= powers[estimate] || v == 0 ? 1 : 0);
}

char* fixed_leftwards(char* end, unsigned long long v, int d, int integer_digits) {
    if (v <= 0xFFFFFFFFULL) return fixed_leftwards_as(end, static_cast<std::uint32_t>(v), d, integer_digits);
    return fixed_leftwards_as(end, v, d, integer_digits);
}

// Fast exact path of Fw.d for values that are 32-bit reals, as every report
// value of the system is: a float has at most 24 significant bits, so
// |v|·10^d with d <= 12 is exact in double (5^12 < 2^28), and rounding that
// product to an integer to nearest, ties to even, is round-half-even from the
// exact binary value, as printf does.  The length of the text is known from
// the digit count, so the field is written in place: the same text
// append_number makes of the digits, the leading zero of "0.xxx" (or "0.")
// dropped when the field is one column short, asterisks when it does not
// fit.  Returns false (out untouched) when the value is not a float, too
// large for the path, or the field has no positive width.
bool append_f_of_float(std::string& out, bool negative, double magnitude, int w, int d) {
    static constexpr double powers[13] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6,
                                          1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
    if (d > 12 || w <= 0 || static_cast<double>(static_cast<float>(magnitude)) != magnitude) return false;
    const double scaled = magnitude * powers[d];
    if (!(scaled < 4.0e15)) return false;
    const auto units = static_cast<unsigned long long>(round_half_even(scaled));  // in units of 10^-d
    // "integer.decimals" (d = 0: "integer."), the integer part at least "0".
    const int all_digits = digit_count(units);
    int integer_digits = all_digits > d ? all_digits - d : 1;
    int length = integer_digits + 1 + d + (negative ? 1 : 0);
    if (length > w && (units == 0 || all_digits <= d)) {  // integer part 0
        integer_digits = 0;  // the optional leading zero
        --length;
    }
    const auto width = static_cast<std::size_t>(w);
    if (length > w) {
        out.append(width, '*');
        return true;
    }
    char* p = append_blank_field(out, width) + width;
    if (d == 0) *--p = '.';
    p = fixed_leftwards(p, units, d, integer_digits);
    if (negative) *--p = '-';
    return true;
}

// One real input field read in a single pass, blanks skipped: the sign, the
// significant digits (from the first non-zero digit on), the decimals after
// an explicit point and the exponent.
struct RealField {
    bool blank = false;                 // nothing but blanks: reads as zero
    bool negative = false;
    bool has_point = false;
    std::size_t first_significant = 0;  // position in the field of the first significant digit
    std::size_t significant_count = 0;
    std::uint32_t leading_value = 0;    // value of the significant digits while there are at most 9
    long long point_shift = 0;          // digits after the point
    long long exponent = 0;
};

// False on a field that is not a number.
bool scan_real_field(std::string_view field, RealField& f) {
    const std::size_t n = field.size();
    std::size_t i = next_nonblank(field, 0);
    if (i == n) {
        f.blank = true;
        return true;
    }
    if (field[i] == '+' || field[i] == '-') {
        f.negative = field[i] == '-';
        i = next_nonblank(field, i + 1);
    }
    bool any_digit = false;
    for (; i < n; i = next_nonblank(field, i + 1)) {
        const char c = field[i];
        if (is_digit(c)) {
            any_digit = true;
            if (f.has_point) ++f.point_shift;
            if (f.significant_count == 0 && c == '0') continue;  // leading zeros carry no digit
            if (f.significant_count == 0) f.first_significant = i;
            if (++f.significant_count <= 9) f.leading_value = f.leading_value * 10 + static_cast<std::uint32_t>(c - '0');
        } else if (c == '.' && !f.has_point) {
            f.has_point = true;
        } else {
            break;
        }
    }
    if (!any_digit) return false;
    if (i < n) {
        const char c = field[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q') i = next_nonblank(field, i + 1);
        else if (c != '+' && c != '-') return false;
        bool exp_negative = false;
        if (i < n && (field[i] == '+' || field[i] == '-')) {
            exp_negative = field[i] == '-';
            i = next_nonblank(field, i + 1);
        }
        if (i >= n) return false;
        for (; i < n; i = next_nonblank(field, i + 1)) {
            if (!is_digit(field[i])) return false;
            if (f.exponent < 100000) f.exponent = f.exponent * 10 + (field[i] - '0');
        }
        if (exp_negative) f.exponent = -f.exponent;
    }
    return true;
}

// The usual real field in one pass: blanks, an optional sign, then only
// digits and at most one point up to the end of the field, with a mantissa
// below 2^24 and at most ten decimals.  The mantissa and the power of ten are
// then both exact 32-bit reals, so one IEEE division or multiplication gives
// the correctly rounded value, the same as the general path computes.
// Returns false (value untouched) for any other field.
bool read_plain_float_field(std::string_view field, int d, float& value) {
    static constexpr float powers[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const std::size_t n = field.size();
    std::size_t i = 0;
    // Leading blanks eight at a time, then one by one.
    constexpr std::uint64_t eight_blanks = 0x2020202020202020ULL;
    for (std::uint64_t chunk = 0; i + 8 <= n; i += 8) {
        std::memcpy(&chunk, field.data() + i, 8);
        if (chunk != eight_blanks) break;
    }
    while (i < n && field[i] == ' ') ++i;
    if (i == n) return false;
    const bool negative = field[i] == '-';
    if (negative || field[i] == '+') ++i;
    std::uint32_t mantissa = 0;
    bool any_digit = false, has_point = false;
    long long decimals = 0;
    for (; i < n; ++i) {
        const char c = field[i];
        if (is_digit(c)) {
            if (mantissa >= (1u << 24)) return false;
            mantissa = mantissa * 10 + static_cast<std::uint32_t>(c - '0');
            any_digit = true;
            if (has_point) ++decimals;
        } else if (c == '.' && !has_point) {
            has_point = true;
        } else {
            return false;
        }
    }
    if (!any_digit || mantissa >= (1u << 24)) return false;
    const long long scale = has_point ? -decimals : -static_cast<long long>(d);
    if (scale < -10 || scale > 10) return false;
    const auto m = static_cast<float>(mantissa);
    const float r = scale < 0 ? m / powers[-scale] : m * powers[scale];
    value = negative ? -r : r;
    return true;
}

template <typename Real>
bool read_real_field(std::string_view field, int d, Real& value) {
    if constexpr (sizeof(Real) == sizeof(float)) {
        if (read_plain_float_field(field, d, value)) return true;
    }
    RealField f;
    if (!scan_real_field(field, f)) return false;
    if (f.blank) {
        value = 0;
        return true;
    }
    if (f.significant_count == 0) {
        value = f.negative ? -Real(0) : Real(0);
        return true;
    }
    const long long scale = f.exponent - (f.has_point ? f.point_shift : d);
    // The usual fields ("1498.20") convert exactly: a mantissa below 2^24 and
    // a power of ten up to 10^10 are both exact 32-bit reals, so one IEEE
    // division or multiplication gives the correctly rounded value.
    if constexpr (sizeof(Real) == sizeof(float)) {
        static constexpr float powers[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                             1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
        if (f.significant_count <= 9 && f.leading_value < (1u << 24) && scale >= -10 && scale <= 10) {
            const auto mantissa = static_cast<float>(f.leading_value);
            const float r = scale < 0 ? mantissa / powers[-scale] : mantissa * powers[scale];
            value = f.negative ? -r : r;
            return true;
        }
    }
    // Correctly rounded conversion of digits * 10^scale by the C library.
    std::string text = f.negative ? "-" : "";
    for (std::size_t i = f.first_significant, taken = 0; taken < f.significant_count; ++i) {
        if (is_digit(field[i])) {
            text.push_back(field[i]);
            ++taken;
        }
    }
    text += 'e';
    text += std::to_string(scale);
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

void append_i(std::string& out, long long value, int w) {
    const bool negative = value < 0;
    // The magnitude in unsigned arithmetic, which also holds -LLONG_MIN.
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    const int digits = digit_count(magnitude);
    const int length = digits + (negative ? 1 : 0);
    if (w <= 0) {
        char text[24];
        const char* const end = std::to_chars(text, text + sizeof text, value).ptr;
        out.append(text, static_cast<std::size_t>(end - text));
        return;
    }
    const auto width = static_cast<std::size_t>(w);
    if (length > w) {
        out.append(width, '*');
        return;
    }
    char* p = fixed_leftwards(append_blank_field(out, width) + width, magnitude, 0, digits);
    if (negative) *--p = '-';
}

std::string format_i(long long value, int w) {
    std::string out;
    append_i(out, value, w);
    return out;
}

void append_f(std::string& out, double value, int w, int d) {
    if (!std::isfinite(value)) {
        append_special_value(out, value, w);
        return;
    }
    if (d < 0) d = 0;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e300) {
        out.append(static_cast<std::size_t>(w > 0 ? w : 1), '*');
        return;
    }
    if (append_f_of_float(out, negative, magnitude, w, d)) return;
    // Values that are not 32-bit reals, or fields of no width: the exact
    // expansion of the C library.
    const int n = std::snprintf(nullptr, 0, "%.*f", d, magnitude);
    std::string long_text(static_cast<std::size_t>(n), '\0');
    std::snprintf(long_text.data(), long_text.size() + 1, "%.*f", d, magnitude);
    if (d == 0) long_text += '.';
    append_number(out, negative, long_text, w);
}

std::string format_f(double value, int w, int d) {
    std::string out;
    append_f(out, value, w, d);
    return out;
}

std::string format_e(double value, int w, int d) {
    std::string out;
    if (!std::isfinite(value)) {
        append_special_value(out, value, w);
        return out;
    }
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
    append_number(out, negative, "0." + mantissa + exp_text, w);
    return out;
}

bool read_i_field(std::string_view field, std::int32_t& value) {
    const std::size_t n = field.size();
    // The usual field first: leading blanks, an optional sign and at most
    // nine digits up to the end of the field.
    {
        std::size_t i = 0;
        while (i < n && field[i] == ' ') ++i;
        const bool negative = i < n && field[i] == '-';
        if (i < n && (negative || field[i] == '+')) ++i;
        const std::size_t digits_first = i;
        std::int32_t v = 0;
        while (i < n && i - digits_first < 9 && is_digit(field[i])) v = v * 10 + (field[i++] - '0');
        if (i == n && i > digits_first) {
            value = negative ? -v : v;
            return true;
        }
    }
    std::size_t i = next_nonblank(field, 0);
    if (i == n) {
        value = 0;
        return true;
    }
    bool negative = false;
    if (field[i] == '+' || field[i] == '-') {
        negative = field[i] == '-';
        i = next_nonblank(field, i + 1);
    }
    if (i >= n) return false;
    long long v = 0;
    for (; i < n; i = next_nonblank(field, i + 1)) {
        if (!is_digit(field[i])) return false;
        v = v * 10 + (field[i] - '0');
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
