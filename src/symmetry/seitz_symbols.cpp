// Seitz symbols of operators: {R|t} with R in xyz form, (label|t) with the
// point-operation label of the magnetic-group tables and the time-reversal
// prime, and the text of a magnetic (Shubnikov) operator with the action on
// the moment.
#include <algorithm>
#include <cmath>

#include "maths/math_3D.hpp"
#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;
namespace tab = vorn_symmetry_tables;

namespace {

// The translations a Seitz symbol in xyz form can show, as 32-bit reals, with
// their three-character texts; a component that is none of them is left out.
struct SeitzFraction {
    float value;
    const char* text;
};
constexpr std::array<SeitzFraction, 16> seitz_fractions = {{
    {0.0f, " 0 "}, {1.0f / 2.0f, "1/2"}, {1.0f / 3.0f, "1/3"}, {2.0f / 3.0f, "2/3"},
    {1.0f / 4.0f, "1/4"}, {3.0f / 4.0f, "3/4"}, {1.0f / 6.0f, "1/6"}, {5.0f / 6.0f, "5/6"},
    {1.0f / 8.0f, "1/8"}, {3.0f / 8.0f, "3/8"}, {5.0f / 8.0f, "5/8"}, {7.0f / 8.0f, "7/8"},
    {1.0f, "1  "}, {2.0f, "2  "}, {3.0f, "3  "}, {4.0f, "4  "},
}};

// Strict match of a magnitude against the short fractions.
constexpr float seitz_match = 0.0002f;

// The model operation point_op_index names in the family that hexa chooses.
bool in_family(std::int32_t point_op_index) {
    const std::int32_t rows = hexa ? tab::num_d6h_operations : tab::num_oh_operations;
    return point_op_index >= 1 && point_op_index <= rows;
}

// The non-blank characters of a text, in their order.
std::string packed(std::string_view text) { return std::string(su::trim_right(su::pack_string(text))); }

// The text cut or padded to the width of the caller's field.
void store(std::string& field, std::string_view text) { field = su::fixed(text, field.size()); }

// A zero row of a matrix may leave an empty component in an operator text;
// each such place receives "0", the three cases in this order.
std::string fill_empty_components(std::string text) {
    if (!text.empty() && text.front() == ',') text.insert(0, "0");
    if (!text.empty() && text.back() == ',') text.push_back('0');
    if (const std::size_t pair = text.find(",,"); pair != std::string::npos) text.insert(pair + 1, "0");
    return text;
}

}  // namespace

void get_seitz(std::int32_t point_op_index, const Vector3& translation, std::string& symbol_text) {
    if (!in_family(point_op_index)) {
        store(symbol_text, "");
        return;
    }
    const auto row = static_cast<std::size_t>(point_op_index);
    // Inside the parentheses, inner blanks kept: 8 characters of a cubic row,
    // 12 of a hexagonal one.
    std::string text = "{";
    text += hexa ? std::string(tab::x_d6h[row].view().substr(1, 12)) : std::string(tab::x_oh[row].view().substr(1, 8));
    text += '|';
    for (float t : translation) {
        const float a = std::fabs(t);
        const auto match = std::find_if(seitz_fractions.begin(), seitz_fractions.end(),
                                        [&](const SeitzFraction& f) { return std::fabs(f.value - a) < seitz_match; });
        if (match == seitz_fractions.end()) continue;
        text += t < 0.0f ? '-' : ' ';
        text += match->text;
    }
    text += '}';
    store(symbol_text, text);
}

void get_seitz_symbol(std::int32_t point_op_index, std::int32_t time_inversion, const Vector3& translation,
                      std::string& symbol_text) {
    if (!in_family(point_op_index)) {
        store(symbol_text, "");
        return;
    }
    const auto row = static_cast<std::size_t>(point_op_index);
    const std::string_view label =
        hexa ? tab::litvin_point_op_hex_label[row].trimmed() : tab::litvin_point_op_label[row].trimmed();

    // The three fraction texts joined by commas, the signs "+" dropped.
    std::string components;
    for (float t : translation) {
        std::string fraction(6, ' ');
        su::get_fraction_2dig(t, fraction);
        components += su::trim_right(fraction);
        components += ',';
    }
    components.pop_back();
    std::replace(components.begin(), components.end(), '+', ' ');

    // Cut to the field first, then packed; the prime needs a free position.
    const std::string whole = "(" + std::string(label) + " | " + components + ")";
    std::string symbol = packed(su::fixed(whole, symbol_text.size()));
    if (time_inversion == -1 && symbol.size() < symbol_text.size()) symbol += '\'';
    store(symbol_text, symbol);
}

void get_shubnikov_operator_symbol(const RotationMatrix& rotation, const RotationMatrix& moment_matrix,
                                   const Vector3& translation, std::string& symbol_text, bool moment_form) {
    // Both texts are built whole: an operator text can be longer than any
    // fixed working field, and only the caller's field cuts the result.
    const std::string operator_text = packed(fill_empty_components(get_symsymbi(rotation, translation)));
    std::string moment_text = get_symsymbi(moment_matrix, Vector3{});
    for (char& c : moment_text) {
        if (c == 'x') c = 'u';
        else if (c == 'y') c = 'v';
        else if (c == 'z') c = 'w';
    }
    moment_text = packed(fill_empty_components(moment_text));

    if (!moment_form) {
        store(symbol_text, "(" + operator_text + ";" + moment_text + ")");
        return;
    }
    // Without time reversal the moment, an axial vector, turns with det(R).R.
    const std::int32_t det = vorn_math_3d::determ_a_i(rotation);
    bool axial = true;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) axial = axial && moment_matrix[i][j] == det * rotation[i][j];

    std::string moment_letters;
    for (char c : moment_text) {
        if (c == 'u') moment_letters += "mx";
        else if (c == 'v') moment_letters += "my";
        else if (c == 'w') moment_letters += "mz";
        else moment_letters += c;
    }
    store(symbol_text, operator_text + " " + moment_letters + " " + (axial ? "+1" : "-1"));
}

}  // namespace vorn_crystallographic_symmetry
