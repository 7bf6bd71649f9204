// The text report of a space-group record (symbols, counts, centring,
// operators with their geometric symbols) and the table of its special
// Wyckoff positions.
#include <algorithm>
#include <array>
#include <string>

#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;

namespace {

constexpr std::size_t half_width = 50;
constexpr std::int32_t page_lines = 24;
constexpr std::int32_t page_entries = 2 * page_lines;
constexpr std::int32_t max_listed_orbits = 26;
constexpr std::int32_t max_listed_positions = 48;

// Writes text from column `column` (1-based) on, over what the line holds
// there, blank-filling a gap: a tab to an absolute column, forwards or back.
void put_at(std::string& line, std::size_t column, std::string_view text) {
    if (line.size() < column - 1 + text.size()) line.resize(column - 1 + text.size(), ' ');
    line.replace(column - 1, text.size(), text);
}

// Working page of two entries to a line: entry j goes to line ceil(j/2),
// left half when j is odd, right half when even, cut to its 50 columns.
struct TwoColumnPage {
    std::array<std::string, page_lines> lines;
    std::int32_t entries = 0;

    TwoColumnPage() { lines.fill(std::string(2 * half_width, ' ')); }
    void add(std::string_view entry) {
        const auto line = static_cast<std::size_t>(entries / 2);
        const std::size_t column = entries % 2 == 0 ? 1 : half_width + 1;
        lines[line].replace(column - 1, half_width, su::fixed(entry, half_width));
        ++entries;
    }
    // The line count grows after each right-half entry: an even number of
    // entries leaves a last blank line, written all the same.
    std::int32_t used_lines() const { return std::min(entries / 2 + 1, page_lines); }
};

std::int32_t clamp_count(std::int32_t count, std::int32_t capacity) { return std::clamp(count, 0, capacity); }

std::string labelled(std::string_view label, std::string_view text) {
    return std::string(label) + std::string(su::trim_right(text));
}
std::string labelled(std::string_view label, std::int32_t value) {
    return std::string(label) + su::format_i(value, 3);
}

void write_header_block(const SpaceGroup& g, std::int32_t unit) {
    su::write_line(unit, "");
    su::write_line(unit, "");
    su::write_line(unit, "        Information on Space Group: ");
    su::write_line(unit, "        --------------------------- ");
    su::write_line(unit, "");
    su::write_line(unit, labelled(" =>  Number of Space group: ", g.number));
    su::write_line(unit, labelled(" => Hermann-Mauguin Symbol: ", g.hm_symbol.view()));
    su::write_line(unit, labelled(" =>            Hall Symbol: ", g.hall_symbol.view()));
    su::write_line(unit, labelled(" =>   Table Setting Choice: ", g.setting_choice.view()));
    su::write_line(unit, labelled(" =>           Setting Type: ", g.setting_type.view()));
    su::write_line(unit, labelled(" =>         Crystal System: ", g.crystal_system.view()));
    su::write_line(unit, labelled(" =>             Laue Class: ", g.laue_class.view()));
    su::write_line(unit, labelled(" =>            Point Group: ", g.point_group.view()));
    su::write_line(unit, labelled(" =>        Bravais Lattice: ", g.lattice_letter.view()));
    su::write_line(unit, labelled(" =>         Lattice Symbol: ", g.lattice_symbol.view()));
    su::write_line(unit, labelled(" => Reduced Number of S.O.: ", g.reduced_count));
    su::write_line(unit, labelled(" =>   General multiplicity: ", g.multiplicity));
    su::write_line(unit, labelled(" =>         Centrosymmetry: ", g.centrosymmetry_text.view()));
    su::write_line(unit, labelled(" => Generators (exc. -1&L): ", g.generator_count));
    constexpr std::array<std::string_view, 3> separators = {" <= x <= ", " <= y <= ", " <= z <= "};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::string_view label = axis == 0 ? " =>        Asymmetric unit: " : "                            ";
        su::write_line(unit, std::string(label) + su::format_f(g.asymmetric_unit[axis][0], 6, 3) +
                                 std::string(separators[axis]) + su::format_f(g.asymmetric_unit[axis][1], 6, 3));
    }
}

// Centring translations other than the null one, two to a line.  A "Z"
// lattice counts the null translation in its heading, the others do not.
void write_centring_block(const SpaceGroup& g, std::int32_t unit, bool non_conventional) {
    if (non_conventional) {
        su::write_line(unit, labelled(" => Non-conventional Centring vectors:", g.centring_count));
    } else {
        su::write_line(unit, " => Centring vectors:" + su::format_i(static_cast<long long>(g.centring_count) - 1, 3));
    }
    TwoColumnPage page;
    const std::int32_t listed = clamp_count(g.centring_count, static_cast<std::int32_t>(max_centrings)) - 1;
    for (std::int32_t j = 1; j <= listed; ++j) {
        std::string fraction(40, ' ');
        su::frac_trans_1dig(at1(g.centring_vectors, j + 1), fraction);
        page.add(" => Latt(" + su::format_i(j, 2) + "): " + std::string(su::trim_right(fraction)));
    }
    for (std::int32_t l = 0; l < page.used_lines(); ++l) su::write_line(unit, page.lines[l]);
}

}  // namespace

void write_spacegroup(const SpaceGroup& group, std::optional<std::int32_t> iunit, bool full) {
    const std::int32_t unit = iunit.value_or(su::standard_output_unit);
    write_header_block(group, unit);
    if (group.centre_code == 0) {
        std::string centre(2 * half_width, ' ');
        su::frac_trans_1dig(group.centre_coordinates, centre);
        su::write_line(unit, labelled(" =>              Centre at: ", centre));
    }
    const bool non_conventional = group.lattice_letter[0] == 'Z';
    if (non_conventional || full) write_centring_block(group, unit, non_conventional);

    if (!full) {
        su::write_line(unit, " => List of S.O. without inversion and lattice centring translations");
        TwoColumnPage page;
        for (std::int32_t i = 1; i <= clamp_count(group.reduced_count, page_entries); ++i)
            page.add(" => SYMM(" + su::format_i(i, 2) + "): " + std::string(at1(group.operator_symbols, i).trimmed()));
        for (std::int32_t l = 0; l < page.used_lines(); ++l) su::write_line(unit, su::trim_right(page.lines[l]));
        return;
    }

    su::write_line(unit, "");
    su::write_line(unit, " => List of all Symmetry Operators and Symmetry Symbols");
    su::write_line(unit, "");
    for (std::int32_t i = 1; i <= clamp_count(group.multiplicity, static_cast<std::int32_t>(max_operators)); ++i) {
        const FixedText<40>& text = at1(group.operator_symbols, i);
        std::string symbol(2 * half_width, ' ');
        symmetry_symbol_xyz(text.view(), symbol);
        // "Symbol: " always starts in column 50, over a longer operator text.
        std::string line = " => SYMM(" + su::format_i(i, 3) + "): " + std::string(text.trimmed());
        put_at(line, 50, "Symbol: " + std::string(su::trim_right(symbol)));
        su::write_line(unit, line);
    }
    write_wyckoff(group.wyckoff, group.hm_symbol.view(), unit, false);
}

void write_wyckoff(const WyckoffSet& wyckoff, std::string_view spg_symbol, std::optional<std::int32_t> iunit,
                   bool ordered) {
    if (wyckoff.orbit_count == 0) return;
    const std::int32_t unit = iunit.value_or(su::standard_output_unit);
    constexpr std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz";

    // Letter k goes to orbit order(k): the stored order, or by increasing
    // number of positions.
    const std::int32_t n = clamp_count(wyckoff.orbit_count, max_listed_orbits);
    std::array<std::int32_t, max_listed_orbits> key{}, order{};
    for (std::int32_t k = 1; k <= n; ++k) {
        at1(key, k) = at1(wyckoff.orbits, k).position_count;
        at1(order, k) = k;
    }
    if (ordered && n > 0) vorn_math_general::sort_i(key, n, order);

    su::write_line(unit, "");
    su::write_line(unit, " => Special Wyckoff Positions for " + std::string(su::trim_right(spg_symbol)));
    su::write_line(unit, " ");
    su::write_line(unit, "    Multp     Site        Representative Coordinates (centring translations excluded)");
    for (std::int32_t k = n; k >= 1; --k) {
        const WyckoffOrbit& orbit = at1(wyckoff.orbits, at1(order, k));
        std::string multiplicity = su::format_i(orbit.multiplicity, 3);
        std::string letter = su::fixed(alphabet.substr(static_cast<std::size_t>(k - 1), 1), 12);
        // Three texts to a line at columns 30, 50 and 70: the first two show
        // their first 20 characters, the third all 40.
        const std::int32_t positions = clamp_count(orbit.position_count, max_listed_positions);
        for (std::int32_t r = 1; 3 * r - 2 <= positions; ++r) {
            std::string line = "    " + multiplicity;
            put_at(line, 15, letter);
            put_at(line, 30, at1(orbit.positions, 3 * r - 2).view());
            put_at(line, 50, at1(orbit.positions, 3 * r - 1).view());
            put_at(line, 70, at1(orbit.positions, 3 * r).view());
            su::write_line(unit, line);
            multiplicity.assign(3, ' ');
            letter.assign(12, ' ');
        }
        su::write_line(unit, " ");
    }
}

}  // namespace vorn_crystallographic_symmetry
