// Space-group construction: set_spacegroup resolves a number or a symbol
// through the settings table, runs one of the routes (Hall symbol,
// Hermann-Mauguin symbol, tabulated generators, user generators, full list),
// completes the group by the inversion and the centring translations, writes
// the operator texts and fills the special Wyckoff positions.
#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "maths/math_gen.hpp"
#include "symmetry/route_operators.hpp"
#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

namespace tables = vorn_symmetry_tables;
using vorn_string_utilities::fixed;
using vorn_string_utilities::trim_both;
using vorn_string_utilities::trim_right;

constexpr std::size_t symbol_length = 20;

// Centrosymmetry texts by centre_code + 1.
constexpr std::array<std::string_view, 3> centrosymmetry_texts = {"Centric (-1 not at origin)", "Acentric",
                                                                  "Centric (-1 at origin)"};

// Settings built from their Hall symbol even when the Hermann-Mauguin route
// could read them: the Hermann-Mauguin rules give another origin or cell.
constexpr std::array<std::string_view, 7> forced_hall_settings = {
    "P N M 21", "P 21 N M", "P M 21 N", "B A M B", "C 4 2 21", "C -4 B 2", "F -4 D 2"};

// Generators of the types of each number range as the Hermann-Mauguin route
// counts them.
std::int32_t hm_generator_count(std::int32_t number) {
    if (number <= 2) return 0;
    if (number <= 15) return 1;
    if (number <= 74) return 2;
    if (number <= 88) return 1;
    if (number <= 142) return 2;
    if (number <= 148) return 1;
    if (number <= 167) return 2;
    if (number <= 176) return 1;
    if (number <= 194) return 2;
    return 3;
}

// List-directed read of one integer: leading blanks skipped, the item ends at
// a blank, a comma, a slash or the end.  False when the item is no integer.
bool read_list_integer(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t e = i;
    while (e < text.size() && text[e] != ' ' && text[e] != ',' && text[e] != '/') ++e;
    std::string_view item = text.substr(i, e - i);
    if (item.empty()) return false;
    std::size_t d = (item[0] == '+' || item[0] == '-') ? 1 : 0;
    if (d == item.size()) return false;
    long long v = 0;
    for (std::size_t k = d; k < item.size(); ++k) {
        if (item[k] < '0' || item[k] > '9') return false;
        v = v * 10 + (item[k] - '0');
        if (v > 2147483648LL) return false;
    }
    if (item[0] == '-') v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

// The text is a lone number (the free-format number reader finds exactly
// one), with the value that reader reads: "2E1" is 20, "1.2.3" is 1.23.
bool lone_number(std::string_view text, float& value) {
    std::array<float, symbol_length> reals{};
    std::array<std::int32_t, symbol_length> integers{};
    std::int32_t n = 0;
    vorn_string_utilities::getnum(text, reals, integers, n);
    if (vorn_string_utilities::err_string || n != 1) return false;
    value = reals[0];
    return true;
}

// Error pair kept aside across procedures that clear it.
struct SavedError {
    bool flag;
    std::string message;
};
SavedError save_error() { return {err_symm, err_symm_mess}; }
void restore_error(const SavedError& e) {
    err_symm = e.flag;
    err_symm_mess = e.message;
}

// Reads num_gen operator texts into the working arrays; false (the reader's
// message standing) on the first malformed text.
bool read_operator_texts(std::span<const std::string> texts, std::size_t n, std::span<RotationMatrix> rotations,
                         std::span<Vector3> translations) {
    for (std::size_t k = 0; k < n; ++k) {
        read_xsym(texts[k], 1, rotations[k], translations[k]);
        if (err_symm) return false;
    }
    return true;
}

// Two operators are one up to a lattice translation of whole cell edges.
bool same_modulo_cell(const SymmetryOperator& a, const SymmetryOperator& b) {
    if (a.rot != b.rot) return false;
    for (int c = 0; c < 3; ++c) {
        const float d = a.tr[c] - b.tr[c];
        if (std::fabs(d - std::nearbyint(d)) > 0.0002f) return false;
    }
    return true;
}

// The stored operators are distinct and closed under products (modulo whole
// cell edges).  Operators are grouped by rotation so that each product is
// compared only with the operators of its rotation.
bool forms_group(const SpaceGroup& g) {
    const auto n = static_cast<std::size_t>(g.multiplicity);
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = i;
    auto rotation_less = [&g](std::size_t a, std::size_t b) { return g.operators[a].rot < g.operators[b].rot; };
    std::sort(order.begin(), order.end(), rotation_less);
    auto holds = [&](const SymmetryOperator& op, std::size_t skip) {
        auto range = std::equal_range(order.begin(), order.end(), n, [&](std::size_t a, std::size_t b) {
            const RotationMatrix& ra = a == n ? op.rot : g.operators[a].rot;
            const RotationMatrix& rb = b == n ? op.rot : g.operators[b].rot;
            return ra < rb;
        });
        for (auto it = range.first; it != range.second; ++it)
            if (*it != skip && same_modulo_cell(op, g.operators[*it])) return true;
        return false;
    };
    for (std::size_t i = 0; i < n; ++i)
        if (holds(g.operators[i], i)) return false;  // stored twice
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            if (!holds(product_symop(g.operators[i], g.operators[j]), n)) return false;
    return true;
}

// First row of the Wyckoff table whose key equals the symbol (12 characters).
std::size_t wyckoff_row(std::string_view symbol) {
    const FixedText<12> key(symbol);
    for (std::size_t r = 1; r < tables::wyckoff_info.size(); ++r)
        if (tables::same_key(tables::wyckoff_info[r].hm_symbol, key)) return r;
    return 0;
}

// The Wyckoff rows of the tabulated symbols, found once.  set_spacegroup
// refills the settings and Wyckoff tables before every construction, so
// during a construction they hold exactly the rows these look-ups were made
// on.  by_symbol: the first Wyckoff row of each 12-character key.  by_hall:
// for a Hall symbol, the Wyckoff row of the first settings row with that Hall
// symbol whose Hermann-Mauguin symbol has one (the alias of a full
// monoclinic symbol or of a cubic symbol without the bar).
struct WyckoffRows {
    std::unordered_map<std::string, std::size_t> by_symbol;
    std::unordered_map<std::string, std::size_t> by_hall;
};

const WyckoffRows& tabulated_wyckoff_rows() {
    static const WyckoffRows rows = [] {
        WyckoffRows found;
        for (std::size_t r = 1; r < tables::wyckoff_info.size(); ++r)
            found.by_symbol.emplace(tables::wyckoff_info[r].hm_symbol.str(), r);
        for (std::size_t r = 1; r < tables::spgr_info.size(); ++r) {
            const std::size_t w = wyckoff_row(tables::spgr_info[r].hm_symbol.view());
            if (w != 0) found.by_hall.emplace(tables::spgr_info[r].hall_symbol.str(), w);
        }
        return found;
    }();
    return rows;
}

// Wyckoff row of the group's symbol, else of its alias; 0 when neither has one.
std::size_t wyckoff_row_of(const SpaceGroup& group) {
    const WyckoffRows& rows = tabulated_wyckoff_rows();
    const auto by_symbol = rows.by_symbol.find(std::string(group.hm_symbol.view().substr(0, 12)));
    if (by_symbol != rows.by_symbol.end()) return by_symbol->second;
    if (group.number <= 0) return 0;
    const auto by_hall = rows.by_hall.find(group.hall_symbol.str());
    return by_hall != rows.by_hall.end() ? by_hall->second : 0;
}

}  // namespace

void set_spacegroup(std::string_view spg_symbol, SpaceGroup& group, std::optional<std::span<const std::string>> gen_list,
                    std::optional<std::int32_t> num_gen, std::optional<std::string_view> mode, bool use_hall) {
    // Working values, taken before the reset (the symbol may be a field of
    // the record itself).  The symbol is left-adjusted before it is cut to 20
    // characters, so that a CIF value with leading blanks keeps its tail.
    const std::string given = fixed(trim_both(spg_symbol), symbol_length);  // case kept
    std::string working = vorn_string_utilities::u_case(given);
    const std::optional<std::string> mode_text =
        mode.has_value() ? std::optional<std::string>(std::string(*mode)) : std::nullopt;

    // Reset the record and refill the tables.
    init_err_symm();
    reset_spacegroup(group);
    tables::set_spgr_info();
    tables::set_wyckoff_info();
    std::string route;
    std::size_t row = 0;
    auto hall_of_row = [](std::size_t r) { return fixed(tables::spgr_info[r].hall_symbol.view(), symbol_length); };
    auto hm_lookup = [&]() { return static_cast<std::size_t>(tables::find_spgr_row_by_hm(working.substr(0, 12))); };
    auto hall_lookup = [&]() { return static_cast<std::size_t>(tables::find_spgr_row_by_hall(working.substr(0, 16))); };

    if (mode_text.has_value()) {
        // Resolution by the route code.
        std::string code = fixed(trim_both(*mode_text), 3);
        vorn_string_utilities::ucase(code);
        route = code;
        if (route == "HMS") {
            row = hm_lookup();
        } else if (route == "ITC") {
            std::int32_t number = 0;
            if (read_list_integer(std::string_view(working).substr(0, 12), number)) {
                row = static_cast<std::size_t>(tables::find_spgr_row_by_number(number));
                // The generators are looked up by the same 12 characters as
                // the row, so that record and operators name one type.
                working = fixed(std::string_view(working).substr(0, 12), symbol_length);
            } else {
                row = hm_lookup();
            }
        } else if (route == "HAL") {
            row = hall_lookup();
        }
    } else {
        // Resolution without a route code: a number, then a Hermann-Mauguin
        // symbol, then a Hall symbol of the table, else a Hall symbol as typed.
        float value = 0.0f;
        if (lone_number(working, value)) {
            if (value < 1.0f || value > 230.0f) {
                set_err_symm(" Number of Space Group out of limits");
                return;
            }
            // The number of a space-group type is whole ("2E1", "4."): a
            // fraction names no group and is not cut to its integer part.
            const float whole = std::round(value);
            if (std::fabs(value - whole) > vorn_math_general::epss) {
                set_err_symm(" Number of Space Group not a whole number: " + std::string(trim_right(given)));
                return;
            }
            const auto number = static_cast<std::int32_t>(whole);
            row = static_cast<std::size_t>(tables::find_spgr_row_by_number(number));
            working = hall_of_row(row);
            route = "HAL";
        } else if ((row = hm_lookup()) != 0) {
            route = "HMS";
            if (use_hall) {
                route = "HAL";
                working = hall_of_row(row);
            } else {
                const std::string_view table_symbol = tables::spgr_info[row].hm_symbol.trimmed();
                if (std::find(forced_hall_settings.begin(), forced_hall_settings.end(), table_symbol) !=
                    forced_hall_settings.end()) {
                    route = "HAL";
                    working = hall_of_row(row);
                }
            }
        } else if ((row = hall_lookup()) != 0) {
            route = "HAL";
        } else {
            route = gen_list.has_value() ? "GEN" : "HAL";
        }
    }

    // Route dispatch.
    std::int32_t system = 0, centre = 1, lattice = 0, count = 0, route_generators = 0;
    std::array<RotationMatrix, max_working_operators> rotations{};
    std::array<Vector3, max_working_operators> translations{};
    FixedText<2> bravais;
    Vector3 centre_coordinates{0.0f, 0.0f, 0.0f};
    std::string_view setting_text;
    bool full_list = false;
    bool row_fields = row != 0;

    auto run_hall = [&](std::string_view symbol) {
        get_so_from_hall(system, centre, lattice, count, rotations, translations, bravais, centre_coordinates,
                         route_generators, symbol);
        setting_text = "Generated from Hall symbol";
        group.generator_count = std::max(0, route_generators);
    };

    if (route == "HMS") {
        const std::size_t colon = given.find(':');
        if (colon != std::string::npos && row != 0) {
            working = hall_of_row(row);
            run_hall(working);
        } else {
            // With a row, the route reads the 12 characters that matched it:
            // text beyond them is no part of the symbol.
            const std::string hm_text = colon != std::string::npos ? given.substr(0, colon)
                                        : row != 0                 ? given.substr(0, 12)
                                                                   : given;
            get_so_from_hms(system, centre, lattice, count, rotations, translations, bravais, hm_text);
            setting_text = "IT (Generated from Hermann-Mauguin symbol)";
            if (row != 0) {
                group.generator_count = hm_generator_count(tables::spgr_info[row].number);
            } else {
                group.hm_symbol = given;
                group.generator_count = 0;
            }
        }
    } else if (route == "HAL") {
        run_hall(working);
        if (row == 0) group.hall_symbol = working;
    } else if (route == "ITC") {
        // The tabulated generators build the standard setting: for the types
        // with two origins that is origin choice 2, the row after the first.
        if (row != 0 && row + 1 < tables::spgr_info.size() && tables::spgr_info[row].setting_choice == "1" &&
            tables::spgr_info[row + 1].number == tables::spgr_info[row].number &&
            tables::spgr_info[row + 1].setting_choice == "2")
            ++row;
        std::string generator_text(130, ' ');
        tables::get_generators(working, generator_text);
        if (tables::err_symtab) {
            set_err_symm(" Problems in SpaceGroup: " + std::string(trim_right(working)) +
                         " => the HM symbol or the number is incorrect ");
            return;
        }
        const std::string_view text = trim_right(generator_text);
        std::size_t n = 0;
        for (std::size_t start = 0;;) {
            const std::size_t semicolon = text.find(';', start);
            std::string piece = semicolon == std::string_view::npos
                                    ? std::string(text.substr(start))
                                    : std::string(trim_both(text.substr(start, semicolon - start)));
            if (n == max_working_operators) break;
            read_xsym(fixed(piece, symbol_length), 1, rotations[n], translations[n]);
            ++n;
            if (err_symm) break;
            if (semicolon == std::string_view::npos) break;
            start = semicolon + 1;
        }
        if (!err_symm) {
            count = static_cast<std::int32_t>(n);
            route_generators = count;
            char letter = ' ';
            get_so_from_gener(system, centre, lattice, count, rotations, translations, bravais, centre_coordinates,
                              route_generators, letter);
        }
        group.generator_count = std::max(0, route_generators);
        if (row != 0) {
            setting_text = "Generated from explicit IT generators";
        } else {
            group.hm_symbol = given;
        }
    } else if (route == "GEN" || route == "FIX") {
        const bool gen = route == "GEN";
        row_fields = false;
        if (!gen_list.has_value() || !num_gen.has_value()) {
            set_err_symm(gen ? " Generators should be provided in GEN calling Set_SpaceGroup"
                             : " Generators should be provided if FIX option is Used");
            return;
        }
        if (*num_gen < 0 || static_cast<std::size_t>(*num_gen) > gen_list->size() ||
            static_cast<std::size_t>(*num_gen) > max_working_operators) {
            set_err_symm(" The number of operators exceeds the list given or 48");
            return;
        }
        const auto n = static_cast<std::size_t>(*num_gen);
        setting_text = "Non-Conventional (user-given operators)";
        if (!read_operator_texts(*gen_list, n, rotations, translations)) return;
        count = *num_gen;
        char letter = ' ';
        if (gen) {
            route_generators = count;
            get_so_from_gener(system, centre, lattice, count, rotations, translations, bravais, centre_coordinates,
                              route_generators, letter);
            group.generator_count = std::max(0, route_generators);
        } else {
            full_list = true;
            get_so_from_fix(system, centre, lattice, count, rotations, translations, bravais, centre_coordinates,
                            letter);
            group.generator_count = std::max(0, *num_gen - 1);
        }
    } else {
        set_err_symm(" Problems in SpaceGroup");
        return;
    }

    // The route's results.  A route that failed before it knew the crystal
    // system or the lattice leaves those texts at their initial values.
    if (system >= 1 && system <= 7) group.crystal_system = tables::sys_cry[static_cast<std::size_t>(system)];
    group.lattice_letter = std::string(1, lat_ch);
    group.lattice_symbol = bravais;
    group.centring_count = nlat;
    group.centring_vectors = ltr;
    if (lattice >= 1 && lattice <= 8) group.bravais_lattice = tables::latt[static_cast<std::size_t>(lattice)];
    if (centre >= 0 && centre <= 2) group.centrosymmetry_text = centrosymmetry_texts[static_cast<std::size_t>(centre)];
    group.centre_code = centre;
    group.centre_coordinates = centre_coordinates;
    group.reduced_count = count;
    group.setting_type = setting_text.empty() ? std::string_view("?") : setting_text;

    // The matched row.  The text look-ups clear the error pair; a route
    // error must survive them.
    if (row_fields && row != 0) {
        const SavedError route_error = save_error();
        const tables::SpaceGroupInfo& info = tables::spgr_info[row];
        group.number = info.number;
        group.hm_symbol = info.hm_symbol.view();
        group.hall_symbol = info.hall_symbol.view();
        get_laue_str(info.laue_index, group.laue_class);
        get_pointgroup_str(info.pg_index, group.point_group);
        group.setting_choice = info.setting_choice.view();
        for (std::size_t axis = 0; axis < 3; ++axis) {
            group.asymmetric_unit[axis][0] = static_cast<float>(info.asu[axis]) / 24.0f;
            group.asymmetric_unit[axis][1] = static_cast<float>(info.asu[axis + 3]) / 24.0f;
        }
        restore_error(route_error);
    }

    // A failed route ends the construction here.
    if (err_symm) return;

    // Hexagonal axes.
    const bool previous_hexa = hexa;
    const std::size_t m = static_cast<std::size_t>(std::clamp(count, 0, static_cast<std::int32_t>(max_working_operators)));
    group.hexagonal = is_hexa(count, std::span<const RotationMatrix>(rotations).first(m));
    hexa = group.hexagonal;

    // The reduced set.
    for (std::size_t k = 0; k < m; ++k) {
        group.operators[k].rot = rotations[k];
        group.operators[k].tr = translations[k];
    }

    // Inversion images and centring copies (a full list is stored as given).
    // A group larger than the record is an error, never a silent truncation.
    std::size_t stored = m;
    SavedError completion_error{false, {}};
    if (!full_list &&
        !route_detail::expand_reduced_set(rotations, translations, m, group.centre_code, group.centre_coordinates,
                                          group.centring_count, group.centring_vectors, group.operators, stored)) {
        set_err_symm(" Dimension of Table exceeded: more than 192 operators");
        completion_error = save_error();
    }
    group.multiplicity = static_cast<std::int32_t>(stored);

    // A symbol or a generator list outside the tables can name a lattice
    // that its rotations do not keep ("B 6") or generators whose products
    // leave the set: such operators form no group and are refused.  The
    // tabulated settings form groups by construction and are not tested.
    const bool tabulated = row_fields && row != 0;
    if (!full_list && !tabulated && !completion_error.flag && !forms_group(group)) {
        hexa = previous_hexa;
        group.hexagonal = false;
        for (std::size_t i = 0; i < stored; ++i) group.operators[i] = SymmetryOperator{};
        group.multiplicity = 0;
        if (route == "HMS")
            set_err_symm(" Wrong space-group symbol: " + given);
        else if (route == "HAL")
            set_err_symm(" The operators of the Hall symbol do not form a space group: " +
                         std::string(trim_right(given)));
        else
            set_err_symm(" The generators do not form a space group");
        return;
    }

    // Operator texts.
    for (std::size_t i = 0; i < stored; ++i)
        group.operator_symbols[i] = get_symsymbi(group.operators[i].rot, group.operators[i].tr);

    // Laue class and point group of a group without a table row.
    if (!row_fields || row == 0) {
        get_laue_pg(group, group.laue_class, group.point_group);
        if (completion_error.flag) restore_error(completion_error);
    }

    // A centre off the origin names the inversion operator.
    if (group.centre_code == 0 && m > 0) {
        std::string text = std::string(group.centrosymmetry_text.trimmed()) + "  Gen(-1):" +
                           std::string(group.operator_symbols[m].trimmed());
        group.centrosymmetry_text = text;
    }

    // Special Wyckoff positions.  A symbol without its own Wyckoff
    // row (a full monoclinic symbol, a cubic symbol without the bar) takes
    // the row of the setting with the same Hall symbol.
    if (!group.hm_symbol.blank()) {
        const SavedError before_wyckoff = save_error();
        const std::size_t w = wyckoff_row_of(group);
        if (w != 0) {
            const tables::WyckoffInfo& info = tables::wyckoff_info[w];
            group.wyckoff.orbit_count = info.orbit_count;
            for (std::int32_t k = 1; k <= info.orbit_count && k <= 26; ++k) {
                WyckoffOrbit& orbit = group.wyckoff.orbits[static_cast<std::size_t>(k - 1)];
                wyckoff_orbit(group, info.orbit_rep[static_cast<std::size_t>(k)].view(), orbit.position_count,
                              orbit.positions);
                orbit.multiplicity = group.centring_count * orbit.position_count;
            }
        }
        restore_error(before_wyckoff);

        // The stored symbol keeps its first character and is lower case after it.
        std::string symbol = group.hm_symbol.str();
        std::string tail = vorn_string_utilities::l_case(std::string_view(symbol).substr(1));
        group.hm_symbol = symbol.substr(0, 1) + tail;
    }
}

}  // namespace vorn_crystallographic_symmetry
