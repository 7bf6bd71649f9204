// Hermann-Mauguin symbol syntax: the character classes of a symbol and the
// check of the direction fields ("21/C", "-4", "M") before any operator is
// built from them.
#include <string>

#include "symmetry/symmetry.hpp"
#include "text/fixed_text.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

using vorn_string_utilities::fixed_equal;

// The characters a direction field may hold: rotation orders and screw
// subscripts, mirror and glide letters, the lattice letter P of a few full
// symbols, the slash, the bar and the blank of an empty cell.
constexpr std::string_view allowed_cell_characters = "123456ABCDMNP/- ";

bool equals_one_of(std::string_view c, std::string_view characters) {
    for (char k : characters)
        if (fixed_equal(c, std::string_view(&k, 1))) return true;
    return false;
}

std::string single(char c) { return std::string(1, c); }

constexpr char carriage_return = '\r';

}  // namespace

bool is_axis(std::string_view c) { return equals_one_of(c, "123456"); }
bool is_plane(std::string_view c) { return equals_one_of(c, "ABCDMN"); }
bool is_xyz(std::string_view c) { return equals_one_of(c, "xXyYzZ"); }
bool is_digit(std::string_view c) { return std::string_view("0123456789").find(c) != std::string_view::npos; }

void check_symbol_hm(const SymbolGrid& grid) {
    init_err_symm();
    auto cell = [&grid](int d, int p) { return grid[static_cast<std::size_t>(d - 1)][static_cast<std::size_t>(p - 1)]; };

    // Characters.
    for (int d = 1; d <= 3; ++d)
        for (int p = 1; p <= 4; ++p) {
            const char c = cell(d, p);
            if (allowed_cell_characters.find(c) == std::string_view::npos) {
                set_err_symm(" The symbol: " + single(c) + " is not allowed");
                return;
            }
            if (p == 1 && c == '5') {
                set_err_symm(" The fivefold axis is not allowed");
                return;
            }
        }

    // Order within a direction.
    for (int d = 1; d <= 3; ++d)
        for (int p = 1; p <= 3; ++p) {
            const char c = cell(d, p);
            if (c == ' ') continue;
            for (int q = p + 1; q <= 4; ++q)
                if (cell(d, q) == c) {
                    set_err_symm(" The symbol: " + single(c) + " has been repeated within the same symmetry direction");
                    return;
                }
            const char next = cell(d, p + 1);
            if (is_axis(c) && is_plane(next)) {
                set_err_symm(std::string(" A rotation axis cannot be immediately followed by a plane") + carriage_return +
                             " within the same symmetry direction");
                return;
            }
            if (is_plane(c) && is_axis(next)) {
                set_err_symm(std::string(" A mirror plane cannot be immediately followed by a rotation axis") +
                             carriage_return + " within the same symmetry direction");
                return;
            }
        }

    // At most one plane per direction.
    for (int d = 1; d <= 3; ++d) {
        int planes = 0;
        for (int p = 1; p <= 4; ++p)
            if (is_plane(cell(d, p))) ++planes;
        if (planes > 1) {
            set_err_symm(" There is more than one plane within the same symmetry direction");
            return;
        }
    }

    // Screw axes: the subscript must be below the order (21, 31, 32, 41 .. 65).
    for (int d = 1; d <= 3; ++d) {
        int axes = 0;
        for (int p = 1; p <= 4; ++p)
            if (is_axis(cell(d, p))) ++axes;
        if (axes >= 2) {
            const unsigned char order = static_cast<unsigned char>(cell(d, 1));
            const unsigned char subscript = static_cast<unsigned char>(cell(d, 2));
            if (order < subscript) {
                set_err_symm(" Screw axis: " + single(cell(d, 1)) + " " + single(cell(d, 2)) + " not allowed");
                return;
            }
        }
    }
}

}  // namespace vorn_crystallographic_symmetry
