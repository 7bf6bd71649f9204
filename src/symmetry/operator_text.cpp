// Operator texts: the Jones-faithful writers ("x,y+1/2,-z") and the readers
// of operator triplets, magnetic operators and symmetry-translation codes.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "maths/math_3D.hpp"
#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;

namespace {

// Translations and unit coefficients are written only beyond this magnitude.
constexpr float write_tolerance = 0.0002f;

constexpr char coordinate_letters[3] = {'x', 'y', 'z'};

// Fraction texts already written, keyed by the bits of the value, the
// tolerance epss in force (it decides which fraction i/j matches) and the
// field width.  The operators of a group and the positions of a Wyckoff orbit
// carry the same few translations (twelfths and their sums) over and over, so
// the search through the numerator/denominator pairs runs once per value.
// Direct-mapped: a new value takes the slot of an older one, so the memory
// stays fixed whatever the input.  Module state like the error pair: the
// writers are not for concurrent use.
struct RememberedFraction {
    std::uint32_t value_bits = 0;
    std::uint32_t tolerance_bits = 0;
    std::uint8_t width = 0;  // 0 while the slot is empty
    std::uint8_t length = 0;
    std::array<char, 14> text{};
};
std::array<RememberedFraction, 1024> remembered_fractions;

// Appends the fraction text of a value ("+1/2", "-1", "***/**"), without
// blanks around it.
void append_fraction_text(std::string& text, float value, std::size_t width) {
    const auto value_bits = std::bit_cast<std::uint32_t>(value);
    const auto tolerance_bits = std::bit_cast<std::uint32_t>(vorn_math_general::epss);
    // Multiplicative hashing: the top bits of the product depend on every bit of the key.
    const std::uint32_t key = value_bits + static_cast<std::uint32_t>(width) * 0x9E3779B9u;
    RememberedFraction& slot = remembered_fractions[(key * 2654435761u) >> 22];
    if (slot.width == width && slot.value_bits == value_bits && slot.tolerance_bits == tolerance_bits) {
        text.append(slot.text.data(), slot.length);
        return;
    }
    std::string field(width, ' ');
    su::get_fraction_2dig(value, field);
    const std::string_view trimmed = su::trim_both(field);
    if (width <= 255 && trimmed.size() <= slot.text.size()) {
        slot.value_bits = value_bits;
        slot.tolerance_bits = tolerance_bits;
        slot.width = static_cast<std::uint8_t>(width);
        slot.length = static_cast<std::uint8_t>(trimmed.size());
        std::copy(trimmed.begin(), trimmed.end(), slot.text.begin());
    }
    text += trimmed;
}

// Appends the coefficient text of an integer matrix element, before its letter.
void append_integer_coefficient(std::string& text, std::int32_t c) {
    if (c == 1) text += '+';
    else if (c == -1) text += '-';
    else if (c >= 2) text += {'+', c >= 10 ? '*' : static_cast<char>('0' + c)};
    else if (c <= -10) text += "**";
    else text += {'-', static_cast<char>('0' - c)};
}

// Drops the leading "+" of the text from position start on.
void drop_leading_plus(std::string& text, std::size_t start) {
    if (text.size() > start && text[start] == '+') text.erase(start, 1);
}

}  // namespace

std::string get_symsymbi(const RotationMatrix& rotation, const Vector3& translation) {
    std::string text;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) text += ',';
        const std::size_t field = text.size();
        for (int j = 0; j < 3; ++j) {
            const std::int32_t c = rotation[i][j];
            if (c == 0) continue;
            append_integer_coefficient(text, c);
            text += coordinate_letters[j];
        }
        if (std::fabs(translation[i]) > write_tolerance) append_fraction_text(text, translation[i], 6);
        // A plus sign in front of the component is not written: "x", "2x", "1/2".
        drop_leading_plus(text, field);
        // A row with neither coordinate nor translation (a projection such as
        // "x,0,z") is written "0": an empty field would not read back.
        if (text.size() == field) text += '0';
    }
    std::erase(text, ' ');
    return text;
}

std::string get_symsymbr(const RealMatrix& matrix, const Vector3& translation) {
    std::string text;
    for (int i = 0; i < 3; ++i) {
        bool has_term = false;
        float coefficient_sum = 0.0f;
        for (int j = 0; j < 3; ++j) {
            const float m = matrix[i][j];
            coefficient_sum += std::fabs(m);
            if (m == 0.0f) continue;
            // The term is the fraction text of the coefficient, shaped in
            // place at the end of the text.
            const std::size_t start = text.size();
            append_fraction_text(text, m, 20);
            const std::string_view term = std::string_view(text).substr(start);
            const bool plus_one = term == "+1";
            const bool minus_one = term == "-1";
            const bool leading_plus = !term.empty() && term[0] == '+';
            const std::size_t term_size = term.size();
            const bool unit = std::fabs(std::fabs(m) - 1.0f) <= write_tolerance;
            if (unit && (plus_one || minus_one)) {
                // A unit coefficient keeps its sign only: "-x", "+y"; none on the first term.
                text.resize(plus_one && !has_term ? start : start + 1);
            } else if (unit && has_term && term_size >= 2) {
                text.erase(start + 1, 1);
            } else if (!has_term && leading_plus) {
                text.erase(start, 1);
            }
            const std::size_t slash = text.find('/', start);
            if (slash == std::string::npos) {
                text += coordinate_letters[j];
            } else if (slash > start && text[slash - 1] == '1') {
                text[slash - 1] = coordinate_letters[j];  // "x/2" rather than "1x/2"
            } else {
                text.insert(slash, 1, coordinate_letters[j]);
            }
            has_term = true;
        }
        if (std::fabs(translation[i]) > write_tolerance || !has_term) {
            const std::size_t start = text.size();
            append_fraction_text(text, translation[i], 20);
            // A constant alone in its component has no sign in front: "1/4".
            if (coefficient_sum <= 0.0006f) drop_leading_plus(text, start);
        }
        if (i < 2) text += ',';
    }
    std::erase(text, ' ');
    return text;
}

// ---- Readers ----

namespace {

bool is_coordinate_letter(char c) {
    return c == 'x' || c == 'X' || c == 'y' || c == 'Y' || c == 'z' || c == 'Z';
}

int column_of(char c) {
    switch (c) {
        case 'x': case 'X': return 0;
        case 'y': case 'Y': return 1;
        default: return 2;
    }
}

// Determinant of the integer matrix.
std::int32_t determinant(const RotationMatrix& m) { return vorn_math_3d::determ_a_i(m); }

// First list-directed item of a text (up to a blank, comma or slash).
std::string_view first_item(std::string_view text) {
    const std::string_view s = su::trim_both(text);
    const std::size_t end = s.find_first_of(" ,/");
    return s.substr(0, end);
}

}  // namespace

void read_xsym(std::string_view op_text, std::int32_t start_pos, RotationMatrix& rotation,
               Vector3& translation, bool check_det) {
    init_err_symm();
    rotation = RotationMatrix{};
    translation = Vector3{};
    const std::size_t length = su::len_trim(op_text);
    std::size_t pos = start_pos < 1 ? 0 : static_cast<std::size_t>(start_pos) - 1;
    for (int k = 0; k < 3; ++k) {
        float sign = 1.0f;
        std::int32_t multiplier = 1;
        float value = 0.0f;
        float translation_sign = 1.0f;
        bool after_slash = false;
        bool after_point = false;
        std::int32_t decimals = 0;
        std::int64_t denominator = 0;
        bool denominator_read = false;
        bool seen = false;
        for (; pos < length; ++pos) {
            const char c = op_text[pos];
            if (c == ' ') continue;
            if (c == ',' || c == '*') {
                ++pos;
                break;
            }
            seen = true;
            if (is_coordinate_letter(c)) {
                rotation[k][column_of(c)] = static_cast<std::int32_t>(sign) * multiplier;
                sign = 1.0f;
                multiplier = 1;
            } else if (c == '+') {
                sign = 1.0f;
            } else if (c == '-') {
                sign = -1.0f;
            } else if (c == '/') {
                after_slash = true;
            } else if (c == '.') {
                after_point = true;
            } else if (c >= '0' && c <= '9') {
                const std::int32_t digit = c - '0';
                if (pos + 1 < length && is_coordinate_letter(op_text[pos + 1])) {
                    multiplier = digit;
                    continue;
                }
                translation_sign = sign;
                if (after_slash) {
                    // The whole denominator is read: "1/12" is one twelfth.
                    if (denominator < 1000000) denominator = 10 * denominator + digit;
                    denominator_read = true;
                } else if (after_point) {
                    ++decimals;
                    value += static_cast<float>(digit) / std::pow(10.0f, static_cast<float>(decimals));
                } else {
                    value = 10.0f * value + static_cast<float>(digit);
                }
            } else {
                set_err_symm(std::string(" Invalid character... ") + c + " in operator string");
                return;
            }
        }
        if (denominator_read) {
            if (denominator == 0) {
                set_err_symm(" Zero denominator in operator string: " + std::string(su::trim_both(op_text)));
                return;
            }
            value /= static_cast<float>(denominator);
        }
        if (!seen) {
            set_err_symm(" Blank operator field");
            return;
        }
        // Digits beyond the range of a 32-bit real give an infinite
        // translation, which no operator has.
        if (!std::isfinite(value)) {
            set_err_symm(" The above operator is wrong: " + std::string(su::trim_right(op_text)));
            return;
        }
        translation[k] = translation_sign * value;
    }
    if (check_det && determinant(rotation) == 0) {
        set_err_symm(" The above operator is wrong: " + std::string(su::trim_right(op_text)));
    }
}

void read_xsym(std::string_view op_text, std::int32_t start_pos, RotationMatrix& rotation, bool check_det) {
    Vector3 ignored{};
    read_xsym(op_text, start_pos, rotation, ignored, check_det);
}

void read_msymm(std::string_view text, RotationMatrix& matrix, float& phase, bool check_det) {
    init_err_symm();
    const std::size_t last_comma = text.rfind(',');
    const std::string_view phase_text = last_comma == std::string_view::npos ? text : text.substr(last_comma + 1);
    if (!su::read_f_field(first_item(phase_text), 0, phase) || first_item(phase_text).empty()) phase = 0.0f;
    matrix = RotationMatrix{};

    // The scan runs on a lower-cased, left-adjusted copy, after an "msym" or
    // "dsym" keyword, up to the character before the last comma.
    const std::string copy = su::l_case(su::trim_both(text));
    std::size_t pos = (copy.rfind("msym", 0) == 0 || copy.rfind("dsym", 0) == 0) ? 5 : 0;
    const std::size_t copy_comma = copy.rfind(',');
    const std::size_t end = copy_comma == std::string::npos ? copy.size() : copy_comma;
    for (int k = 0; k < 3; ++k) {
        float sign = 1.0f;
        bool seen = false;
        for (; pos < end; ++pos) {
            const char c = copy[pos];
            if (c == ' ') continue;
            if (c == ',' || c == '*') {
                ++pos;
                break;
            }
            seen = true;
            if (c == 'u' || c == 'v' || c == 'w') {
                matrix[k][c - 'u'] = static_cast<std::int32_t>(sign);
                sign = 1.0f;
            } else if (c == '+') {
                sign = 1.0f;
            } else if (c == '-') {
                sign = -1.0f;
            } else {
                set_err_symm(std::string(" Invalid character... ") + c + " in Sym. Op.");
                return;
            }
        }
        if (!seen) {
            set_err_symm(" Blank operator field " + std::string(su::trim_right(text)));
            return;
        }
    }
    if (check_det && determinant(matrix) == 0)
        set_err_symm(" The above operator is wrong " + std::string(su::trim_right(text)));
}

namespace {

// A malformed number in a symmetry-translation code is an input error that
// ends the run, as any failed conversion of the run-time input does.
[[noreturn]] void stop_on_bad_code(std::string_view code) {
    std::cerr << "Error: bad integer in the symmetry-translation code \"" << su::trim_right(code) << "\"\n";
    std::exit(2);
}

std::int32_t read_code_integer(std::string_view item, std::string_view code) {
    std::int32_t value = 0;
    const std::string_view token = first_item(item);
    if (token.empty() || !su::read_i_field(token, value)) stop_on_bad_code(code);
    return value;
}

}  // namespace

void read_symtrans_code(std::string_view code, std::int32_t& op_number, Vector3& translation) {
    op_number = 1;
    translation = Vector3{};
    if (su::len_trim(code) == 0) return;
    const std::string text = su::fixed(su::trim_both(code), 8);
    const std::size_t length = su::len_trim(text);
    const std::size_t underscore = text.find('_');             // 0-based; npos when absent
    const std::size_t point = text.find('.');
    const std::size_t number_start = underscore == std::string::npos ? 0 : underscore + 1;
    const std::size_t number_end = point == std::string::npos ? length : point;
    if (number_end < number_start) stop_on_bad_code(code);
    op_number = read_code_integer(std::string_view(text).substr(number_start, number_end - number_start), code);
    if (point == std::string::npos) return;
    const std::int32_t t = read_code_integer(std::string_view(text).substr(point + 1, length - point - 1), code);
    translation = {static_cast<float>(t / 100 - 5), static_cast<float>((t % 100) / 10 - 5),
                   static_cast<float>(t % 10 - 5)};
}

void get_crystal_system_r_st(std::int32_t n, std::span<const std::string> op_texts, std::int32_t& sys_num,
                             char& sys_letter) {
    const std::size_t count = n < 0 ? 0 : std::min(static_cast<std::size_t>(n), op_texts.size());
    std::vector<RotationMatrix> rotations(count);
    for (std::size_t i = 0; i < count; ++i) read_xsym(op_texts[i], 1, rotations[i], true);
    get_crystal_system_r_op(static_cast<std::int32_t>(count), rotations, sys_num, sys_letter);
}

}  // namespace vorn_crystallographic_symmetry
