// Texts of positions and of changes of cell: the coordinate text of a point
// or of a line of points, the description of a change of setting, the
// compact transformation symbol and the translation symbol.
#include <algorithm>
#include <cmath>
#include <string>

#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;

namespace {

// A coefficient counts as zero, or as a unit, within this tolerance.
constexpr float coefficient_tolerance = 0.0002f;

// The fraction text of a value in a field of `width`, without its blanks at
// either end: "+1/2", "0", "-3", "***/**".
std::string fraction_text(float value, std::size_t width = 10) {
    std::string text(width, ' ');
    su::get_fraction_2dig(value, text);
    return std::string(su::trim_both(text));
}

// The fraction text as a component of a vector: its leading blank kept
// (" 0"), its trailing blanks dropped.
std::string component_text(float value) {
    std::string text(6, ' ');
    su::get_fraction_2dig(value, text);
    return std::string(su::trim_right(text));
}

std::string without_leading_plus(std::string text) {
    if (!text.empty() && text.front() == '+') text.erase(0, 1);
    return text;
}

std::string packed(std::string_view text) { return std::string(su::trim_right(su::pack_string(text))); }

void store(std::string& field, std::string_view text) { field = su::fixed(text, field.size()); }

// The letters of an operator text renamed: x, y, z become `to`.
void rename_letters(std::string& text, const char (&to)[4]) {
    for (char& c : text) {
        if (c == 'x') c = to[0];
        else if (c == 'y') c = to[1];
        else if (c == 'z') c = to[2];
    }
}

// The components' texts, each followed by ",": " 0,+1/2,-1/4,".
std::string component_list(const Vector3& v) {
    std::string list;
    for (float c : v) list += component_text(c) + ",";
    return list;
}

// The new basis vectors in the letters a, b, c, one expression per row
// ("a-b,a+b,c", "10a,-12b,c"): a coefficient of +-1 is its sign alone, any
// other the whole signed integer, a row's first term has no "+", and a row
// of zeros is "0" so that the text still reads back.
std::string basis_text(const RotationMatrix& basis_matrix) {
    static constexpr char letters[3] = {'a', 'b', 'c'};
    std::string text;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) text += ',';
        const std::size_t start = text.size();
        for (std::size_t j = 0; j < 3; ++j) {
            const std::int32_t c = basis_matrix[i][j];
            if (c == 0) continue;
            if (c > 0 && text.size() > start) text += '+';
            if (c == -1) text += '-';
            else if (c != 1) text += std::to_string(c);
            text += letters[j];
        }
        if (text.size() == start) text += '0';
    }
    return text;
}

}  // namespace

void get_string_resolv(const Vector3& point, const Vector3& line_direction,
                       const std::array<std::int32_t, 3>& letter_index, std::string& coord_text) {
    // A parameter step of one half anywhere is doubled on every coordinate,
    // so that the line reads with whole coefficients ("x,2x,0" for (1/2,1,0)).
    // The test looks for the characters "1/2", as in +1/20 or +11/2 too.
    Vector3 d = line_direction;
    for (float c : line_direction) {
        if (fraction_text(c).find("1/2") != std::string::npos) {
            for (float& e : d) e = 2.0f * e;
            break;
        }
    }
    static constexpr char letters[3] = {'x', 'y', 'z'};
    std::string text;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::fabs(d[i]) <= coefficient_tolerance) {
            text += without_leading_plus(fraction_text(point[i]));
        } else {
            std::string coefficient = fraction_text(d[i]);
            if (std::fabs(std::fabs(d[i]) - 1.0f) > coefficient_tolerance) {
                coefficient = without_leading_plus(coefficient);
            } else if (coefficient.starts_with("+1")) {
                coefficient.clear();
            } else if (coefficient.starts_with("-1")) {
                coefficient = "-";
            }
            text += coefficient;
            const std::int32_t letter = letter_index[i];
            text += (letter >= 1 && letter <= 3) ? letters[letter - 1] : ' ';
            // The constant after a letter is written unless exactly zero.
            if (std::fabs(point[i]) > 0.0f) text += fraction_text(point[i]);
        }
        if (i < 2) text += ", ";
    }
    // Cut at the field's end first, then the blanks go.
    store(coord_text, packed(su::fixed(text, coord_text.size())));
}

void get_setting_info(const RealMatrix& basis_matrix, const Vector3& origin, std::string& setting_text,
                      std::optional<std::string_view> form) {
    // In the International Tables reading (a',b',c') = (a,b,c).P the new
    // basis vectors are the columns of the matrix.
    const bool by_columns = form.has_value() && form->size() >= 2 &&
                            (form->substr(0, 2) == "it" || form->substr(0, 2) == "IT");
    RealMatrix m = basis_matrix;
    if (by_columns)
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) m[i][j] = basis_matrix[j][i];

    // The three expressions labelled at their commas; built in full and cut
    // at the field's width only at the end.
    std::string text = get_symsymbr(m, Vector3{});
    if (const std::size_t first = text.find(','); first != std::string::npos)
        text = text.substr(0, first + 1) + " b'=" + text.substr(first + 1);
    text = "a'=" + text;
    if (const std::size_t last = text.rfind(','); last != std::string::npos)
        text = text.substr(0, last + 1) + " c'=" + text.substr(last + 1);
    rename_letters(text, "abc");

    std::string origin_text(22, ' ');
    su::frac_trans_2dig(origin, origin_text);
    text = std::string(su::trim_right(text)) + "  -> Origin: " + std::string(su::trim_right(origin_text));
    store(setting_text, text);
}

void get_trasfm_symbol(const RotationMatrix& basis_matrix, const Vector3& origin, std::string& symbol_text) {
    // The basis text is built whole; only the caller's field cuts it.
    const std::string basis = basis_text(basis_matrix);
    std::string list = component_list(origin);
    list.back() = ';';
    std::replace(list.begin(), list.end(), '+', ' ');
    store(symbol_text, "(" + packed(list) + " " + basis + ")");
}

void get_transl_symbol(const Vector3& translation, std::string& symbol_text) {
    // Blanks kept: each zero or positive component begins with a blank.
    std::string list = component_list(translation);
    list.pop_back();
    std::replace(list.begin(), list.end(), '+', ' ');
    store(symbol_text, "(" + list + ")");
}

}  // namespace vorn_crystallographic_symmetry
