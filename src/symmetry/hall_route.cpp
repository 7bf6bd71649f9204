// Hall-symbol route: the reduced operator list of a space group from its
// explicit-origin Hall symbol ("-P 2ac 2n", "P 61 2 (0 0 -1)", "P 2 2 -1n").
//
// The symbol names a lattice, up to four generating matrices (order, axis,
// translation) and optionally an inversion centre off the origin and a change
// of origin.  The generators are closed into the group modulo the centring
// translations, with translations held in twelfths.
#include <string>

#include "symmetry/hall_matrices.hpp"
#include "symmetry/route_operators.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

using namespace route_detail;

constexpr std::string_view red = "PABCIRF";              // lattice letters, index 1..7
constexpr std::string_view rotacion = "12346";            // rotation orders 1, 2, 3, 4, 6
constexpr std::string_view ejes_rotacion = "XYZ'\"*";     // axes x, y, z, ', ", *
constexpr std::string_view traslacion = "ABCNUVWD";       // translation letters
constexpr std::array<std::array<std::int32_t, 3>, 8> tras_val = {
    {{6, 0, 0}, {0, 6, 0}, {0, 0, 6}, {6, 6, 6}, {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {3, 3, 3}}};
constexpr std::size_t max_hall_length = 16;
constexpr std::size_t max_rotation_parts = 4;

// The identity; the other matrices of the Hall convention are shared with
// the derivation of a Hall symbol from operators.
constexpr RotationMatrix identity_matrix = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
using namespace hall_matrices;

// Axis codes of ejes_rotacion.
enum : int { axis_none = 0, axis_x = 1, axis_y = 2, axis_z = 3, axis_prime = 4, axis_dprime = 5, axis_star = 6 };

// Matrix of a rotation of order index n (1..5 for orders 1, 2, 3, 4, 6) along
// axis a; the face-diagonal twofolds depend on the axis of the first part.
// False for a combination the convention does not define.
bool hall_matrix(std::size_t n, int a, int first_axis, RotationMatrix& m) {
    switch (n) {
        case 1:
            if (a < axis_x || a > axis_z) return false;
            m = identity_matrix;
            return true;
        case 2:
            switch (a) {
                case axis_x: m = x_2; return true;
                case axis_y: m = y_2; return true;
                case axis_z: m = z_2; return true;
                case axis_prime:
                    if (first_axis == axis_x) m = x_2p;
                    else if (first_axis == axis_y) m = y_2p;
                    else if (first_axis == axis_z || first_axis == axis_star) m = z_2p;
                    else return false;
                    return true;
                case axis_dprime:
                    if (first_axis == axis_x) m = x_2pp;
                    else if (first_axis == axis_y) m = y_2pp;
                    else if (first_axis == axis_z) m = z_2pp;
                    else return false;
                    return true;
                default: return false;
            }
        case 3:
            switch (a) {
                case axis_x: m = x_3; return true;
                case axis_y: m = y_3; return true;
                case axis_z: m = z_3; return true;
                case axis_star: m = xyz_3; return true;
                default: return false;
            }
        case 4:
        case 5: {
            const bool four = n == 4;
            switch (a) {
                case axis_x: m = four ? x_4 : x_6; return true;
                case axis_y: m = four ? y_4 : y_6; return true;
                case axis_z: m = four ? z_4 : z_6; return true;
                default: return false;
            }
        }
        default: return false;
    }
}

// A malformed Hall symbol: the flag is set with a blank message.
void hall_syntax_error() { set_err_symm(""); }

// Translation letter of the Hall convention, or -1.
int translation_letter(char c) {
    const std::size_t k = traslacion.find(c);
    return c != ' ' && k != std::string_view::npos ? static_cast<int>(k) : -1;
}

// Outcome of reading a change of origin.
enum class ShiftReading { read, malformed, out_of_range };

// Change of origin "(0 0 -1)" in twelfths: the text after "(" up to ")" or
// to the end.  A blank is skipped, "-" makes the next digit negative, a digit
// 1..5 gives the next component, "0" leaves it 0.  A digit 6..9 is a shift of
// half a cell edge or more, which the convention does not write (read as 0 it
// would move the origin elsewhere).  Malformed: any other character, a fourth
// component, a dangling "-" or anything after ")".
ShiftReading read_origin_shift(std::string_view text, std::array<std::int32_t, 3>& s) {
    s = {0, 0, 0};
    std::size_t component = 0;
    std::int32_t sign = 1;
    bool pending_sign = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ')') break;
        if (c == ' ') continue;
        if (c == '-') {
            if (pending_sign) return ShiftReading::malformed;
            sign = -1;
            pending_sign = true;
            continue;
        }
        if (c >= '6' && c <= '9') return ShiftReading::out_of_range;
        if (c < '0' || c > '5') return ShiftReading::malformed;
        if (component >= 3) return ShiftReading::malformed;
        s[component++] = sign * (c - '0');
        sign = 1;
        pending_sign = false;
    }
    if (pending_sign) return ShiftReading::malformed;
    for (++i; i < text.size(); ++i)
        if (text[i] != ' ') return ShiftReading::malformed;
    return ShiftReading::read;
}

// A Hall symbol as its parts are read.  body and the positions refer to text.
struct HallSymbol {
    std::string text;                                  // left-adjusted, upper case
    std::string_view body;                             // the symbol without its change of origin
    std::array<std::int32_t, 3> shift{0, 0, 0};        // change of origin, twelfths
    bool has_shift = false;
    std::size_t lattice_pos = 0;                       // 1 after a leading "-"
    std::size_t rotations_end = 0;                     // end of the rotation parts in body
    bool centric = false;
    std::array<std::int32_t, 3> inversion_t{0, 0, 0};  // translation of the inversion, twelfths
    char letter = ' ';
    std::array<Seitz, max_rotation_parts> generators;
    std::array<std::size_t, max_rotation_parts> order_index{};
    std::size_t n_parts = 0;
};

// Working symbol: left-adjusted, upper case; more than 16 significant
// characters is no Hall symbol (a longer text would otherwise be cut into
// another group).  The closing ")" of a change of origin is not needed, so
// "P 2 2 -1n (1 0 0)" keeps its meaning in the 16 characters of a record.
bool read_working_symbol(std::string_view given, HallSymbol& h) {
    h.text = std::string(given);
    const std::size_t significant = !h.text.empty() && h.text.back() == ')' ? h.text.size() - 1 : h.text.size();
    if (significant > max_hall_length) {
        set_err_symm(" Hall symbol longer than 16 characters: " + std::string(given));
        return false;
    }
    vorn_string_utilities::ucase(h.text);
    return true;
}

// Change of origin: the last part, "(" after one blank.
bool split_origin_shift(std::string_view given, HallSymbol& h) {
    const std::string& s = h.text;
    std::size_t body_end = s.size();
    if (const std::size_t paren = s.find('('); paren != std::string::npos) {
        const ShiftReading reading = paren < 2 || s[paren - 1] != ' ' || s[paren - 2] == ' '
                                         ? ShiftReading::malformed
                                         : read_origin_shift(std::string_view(s).substr(paren + 1), h.shift);
        if (reading == ShiftReading::out_of_range) {
            set_err_symm(" Origin shift out of range in Hall symbol: " + std::string(given));
            return false;
        }
        if (reading == ShiftReading::malformed) {
            hall_syntax_error();
            return false;
        }
        h.has_shift = true;
        body_end = paren - 1;
    }
    h.body = std::string_view(s).substr(0, body_end);
    h.rotations_end = h.body.size();
    return true;
}

// Centrosymmetry: a leading "-" (inversion at the origin), or a "-1" part
// with translation letters (inversion through the point t/2).  A "-1" part
// whose translations sum to a lattice vector is an inversion at the origin
// too, and is read like a leading "-" so that the inversion does not enter
// the reduced list.
bool read_centrosymmetry(HallSymbol& h) {
    const std::string_view body = h.body;
    if (!body.empty() && body[0] == '-') {
        h.centric = true;
        h.lattice_pos = 1;
        return true;
    }
    const std::size_t q = body.rfind("-1");
    if (q == std::string_view::npos) return true;
    std::size_t part_end = body.find(' ', q);
    if (part_end == std::string_view::npos) part_end = body.size();
    if (q < 2 || body[q - 1] != ' ' || part_end != body.size()) {
        hall_syntax_error();  // "-1" inside a part, or parts after it
        return false;
    }
    std::array<std::int32_t, 3> sum{0, 0, 0};
    for (std::size_t i = q + 2; i < part_end; ++i) {
        const int k = translation_letter(body[i]);
        if (k < 0) {
            hall_syntax_error();
            return false;
        }
        for (int c = 0; c < 3; ++c) sum[c] += tras_val[k][c];
    }
    for (auto& c : sum) c = twelfths_in_cell(c);
    h.centric = true;
    h.inversion_t = sum;
    // The part leaves the rotation list; "P -1" alone stays a part (the
    // inversion, which is never entered as a generator).
    const bool first_part = q == 2;
    if (sum != std::array<std::int32_t, 3>{0, 0, 0} || !first_part) h.rotations_end = q - 1;
    return true;
}

// Lattice letter, then exactly one blank before the rotation parts.
bool read_lattice_letter(HallSymbol& h, std::int32_t& lattice_index) {
    h.letter = h.lattice_pos < h.body.size() ? h.body[h.lattice_pos] : ' ';
    const std::size_t letter_index = red.find(h.letter);
    if (h.letter == ' ' || letter_index == std::string_view::npos) {
        set_err_symm(" IBRAVL is Equal Zero");
        return false;
    }
    lattice_index = static_cast<std::int32_t>(letter_index) + 1;
    if (h.lattice_pos + 1 < h.body.size() && h.body[h.lattice_pos + 1] != ' ') {
        hall_syntax_error();
        return false;
    }
    return true;
}

// One rotation part body[p, e): [-]order[axis, translation letters, screw
// digit]...  The axis defaults by the part's place and the orders before it;
// the face-diagonal twofolds follow the axis of the first part.
bool read_rotation_part(HallSymbol& h, std::size_t p, std::size_t e, int& first_axis) {
    const std::string_view body = h.body;
    std::int32_t sign = 1;
    std::size_t d = p;
    if (body[p] == '-') {
        sign = -1;
        d = p + 1;
    }
    const std::size_t n = d < e ? rotacion.find(body[d]) + 1 : 0;
    if (n == 0) {
        hall_syntax_error();  // no order digit (a lone or trailing "-")
        return false;
    }
    const std::int32_t order = n == 5 ? 6 : static_cast<std::int32_t>(n);
    int a = h.n_parts == 0 ? axis_z : axis_none;
    auto default_axis = [&]() {
        if (h.n_parts == 1) return (n == 2 && (h.order_index[0] == 3 || h.order_index[0] == 5)) ? axis_prime : axis_x;
        if (h.n_parts == 2) return n == 3 ? axis_star : axis_x;
        return axis_x;
    };
    std::array<std::int32_t, 3> t{0, 0, 0};
    for (std::size_t i = d + 1; i < e; ++i) {
        const char c = body[i];
        if (const std::size_t k = ejes_rotacion.find(c); k != std::string_view::npos) {
            a = static_cast<int>(k) + 1;
            continue;
        }
        if (a == axis_none) a = default_axis();
        if (const int k = translation_letter(c); k >= 0) {
            for (int j = 0; j < 3; ++j) t[j] += tras_val[k][j];
        } else if (c >= '1' && c <= '5') {
            // Screw component along the axis: d/order of the cell edge.
            if (order < 3 || a < axis_x || a > axis_z) {
                hall_syntax_error();
                return false;
            }
            const std::int32_t digit = c - '0';
            t = {0, 0, 0};
            t[static_cast<std::size_t>(a - 1)] = order == 6 ? 2 * digit : 12 * digit / order;
        } else {
            hall_syntax_error();
            return false;
        }
    }
    if (a == axis_none) a = default_axis();
    if (n == 1 && t != std::array<std::int32_t, 3>{0, 0, 0}) {
        hall_syntax_error();  // a translation without rotation is no generator
        return false;
    }
    if (h.n_parts == 0) first_axis = a;
    RotationMatrix m;
    if (!hall_matrix(n, a, first_axis, m)) {
        hall_syntax_error();
        return false;
    }
    if (sign < 0) {
        // An inversion written as a rotation part is only meaningful alone ("P -1").
        if (n == 1 && (p != h.lattice_pos + 2 || e != h.rotations_end)) {
            hall_syntax_error();
            return false;
        }
        for (auto& row : m)
            for (auto& v : row) v = -v;
    }
    h.order_index[h.n_parts] = n;
    h.generators[h.n_parts] = seitz_from(m, t);
    ++h.n_parts;
    return true;
}

// The rotation parts, separated by single blanks, at most four.
bool read_rotation_parts(HallSymbol& h) {
    int first_axis = axis_none;
    for (std::size_t p = h.lattice_pos + 2; p < h.rotations_end;) {
        if (h.n_parts == max_rotation_parts || h.body[p] == ' ') {
            hall_syntax_error();  // a fifth part, or two blanks
            return false;
        }
        std::size_t e = h.body.find(' ', p);
        if (e == std::string_view::npos || e > h.rotations_end) e = h.rotations_end;
        if (!read_rotation_part(h, p, e, first_axis)) return false;
        p = e + 1;
    }
    return true;
}

// Change of origin applied to the whole group: G -> S.G.S^-1, translation
// t + (I - R) s; the inversion moves to 2s.
void apply_origin_shift(HallSymbol& h) {
    if (!h.has_shift) return;
    for (std::size_t g = 0; g < h.n_parts; ++g)
        for (int i = 0; i < 3; ++i) {
            std::int32_t moved = h.shift[i];
            for (int j = 0; j < 3; ++j) moved -= h.generators[g].m[i][j] * h.shift[j];
            h.generators[g].m[i][3] += moved;
        }
    if (h.centric)
        for (int i = 0; i < 3; ++i) h.inversion_t[i] = twelfths_in_cell(h.inversion_t[i] + 2 * h.shift[i]);
}

// The centre of symmetry: at the origin when the inversion has no
// translation, else at half of it.
void place_inversion_centre(const HallSymbol& h, std::int32_t& centre_code, Vector3& centre_coordinates) {
    if (!h.centric) return;
    if (h.inversion_t == std::array<std::int32_t, 3>{0, 0, 0}) {
        centre_code = 2;
    } else {
        centre_code = 0;
        for (int i = 0; i < 3; ++i) centre_coordinates[i] = static_cast<float>(h.inversion_t[i]) / 12.0f * 0.5f;
    }
}

// Operator table: the identity, then the generators as written, closed into
// the group modulo the centring.  A part of order 1 (the identity, or the
// inversion of "P -1") is no generator, and a matrix already listed is not
// entered again: the reduced list holds each operator once.  Returns the
// overflow message, empty on success.
std::string_view close_hall_generators(HallSymbol& h, OperatorTable& table) {
    table.append(seitz_identity());
    for (std::size_t g = 0; g < h.n_parts; ++g) {
        for (int i = 0; i < 3; ++i) h.generators[g].m[i][3] = twelfths_in_cell(h.generators[g].m[i][3]);
        if (h.order_index[g] == 1) continue;
        if (!table.holds_centring_image(h.letter, h.generators[g])) table.append(h.generators[g]);
    }
    return close_operator_table(table, table.size - 1, h.letter, false);
}

}  // namespace

void get_so_from_hall(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                      std::int32_t& count, std::span<RotationMatrix> rotations, std::span<Vector3> translations,
                      FixedText<2>& bravais_symbol, Vector3& centre_coordinates, std::int32_t& generator_count,
                      std::string_view hall_text) {
    crystal_system_number = 0;
    centre_code = 1;
    lattice_index = 0;
    count = 0;
    for (auto& r : rotations) r = RotationMatrix{};
    for (auto& t : translations) t = Vector3{};
    centre_coordinates = {0.0f, 0.0f, 0.0f};
    bravais_symbol = "  ";
    generator_count = 1;
    init_err_symm();
    if (rotations.size() < max_route_operators || translations.size() < max_route_operators) {
        set_err_symm(" Dimension of Table exceeded (I)");
        return;
    }

    // The symbol's parts in order: change of origin, centre of symmetry,
    // lattice, rotation parts.
    const std::string_view given = vorn_string_utilities::trim_both(hall_text);
    HallSymbol h;
    if (!read_working_symbol(given, h) || !split_origin_shift(given, h) || !read_centrosymmetry(h) ||
        !read_lattice_letter(h, lattice_index) || !read_rotation_parts(h))
        return;
    generator_count = static_cast<std::int32_t>(h.n_parts);

    apply_origin_shift(h);
    place_inversion_centre(h, centre_code, centre_coordinates);
    OperatorTable table;
    if (const std::string_view overflow = close_hall_generators(h, table); !overflow.empty()) {
        set_err_symm(overflow);
        return;
    }
    hand_back_operators(table, table.size, h.letter, count, rotations, translations, crystal_system_number,
                        bravais_symbol);
    latsym(std::string_view(&h.letter, 1));
}

}  // namespace vorn_crystallographic_symmetry
