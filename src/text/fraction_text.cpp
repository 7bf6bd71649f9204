// Fraction texts of reals and translation vectors ("+1/2", "-3/4",
// "(0,1/2,-1/4)"), as operator texts and lattice translations are written:
// the first fraction i/j, smallest numerator first, within the tolerance
// epss of the magnitude.
#include <cmath>
#include <string>

#include "maths/math_gen.hpp"
#include "text/string_util.hpp"

namespace vorn_string_utilities {

namespace {

// The two families differ in the reach of their fractions and the width of
// their integer fields.
struct FractionFamily {
    int largest_numerator;
    int largest_denominator;
    const char* no_fraction;
    bool two_digit_integers;
};

constexpr FractionFamily two_digits{24, 24, "***/**", true};
constexpr FractionFamily one_digit{9, 9, "**/*", false};

std::string fraction_text(float value, const FractionFamily& family) {
    using vorn_math_general::negligibler;
    using vorn_math_general::zbelongn;
    if (zbelongn(value)) {
        // A value beyond the 32-bit range counts as integral; its integer is
        // then wider than any field.
        const double rounded = static_cast<double>(value);
        if (!fits_int32(rounded)) return value > 0.0f ? (family.two_digit_integers ? "+**" : "+*")
                                                       : (family.two_digit_integers ? "***" : "**");
        const std::int32_t n = nint(rounded);
        // The field width follows the rounded integer, so 9.999999 is "+10".
        if (value > 0.0f) return "+" + format_i(n, family.two_digit_integers && n >= 10 ? 2 : 1);
        return format_i(n, family.two_digit_integers && n <= -10 ? 3 : 2);
    }
    const double magnitude = std::fabs(static_cast<double>(value));
    for (int i = 1; i <= family.largest_numerator; ++i) {
        for (int j = 2; j <= family.largest_denominator; ++j) {
            const auto difference = static_cast<float>(static_cast<double>(i) / j - magnitude);
            if (negligibler(difference)) {
                return std::string(value > 0.0f ? "+" : "-") + std::to_string(i) + "/" + std::to_string(j);
            }
        }
    }
    return family.no_fraction;
}

// The component texts of a translation, each with its first "+" blanked.
std::string component_text(float value, const FractionFamily& family, std::size_t width) {
    std::string text = fixed(fraction_text(value, family), width);
    const std::size_t plus = text.find('+');
    if (plus != std::string::npos) text[plus] = ' ';
    return text;
}

}  // namespace

void get_fraction_2dig(float value, std::string& fraction) {
    fraction = fixed(fraction_text(value, two_digits), fraction.size());
}

void get_fraction_1dig(float value, std::string& fraction) {
    fraction = fixed(fraction_text(value, one_digit), fraction.size());
}

void frac_trans_2dig(const std::array<float, 3>& vector, std::string& string) {
    std::string work = "(      ,      ,      )";
    for (std::size_t k = 0; k < 3; ++k) work.replace(1 + 7 * k, 6, component_text(vector[k], two_digits, 6));
    string = fixed(pack_string(work), string.size());
}

void frac_trans_1dig(const std::array<float, 3>& vector, std::string& string) {
    std::string work = fixed("(    ,    ,    )", string.size() > 16 ? string.size() : 16);
    for (std::size_t k = 0; k < 3; ++k) work.replace(1 + 5 * k, 4, component_text(vector[k], one_digit, 4));
    string = fixed(work, string.size());
}

}  // namespace vorn_string_utilities
