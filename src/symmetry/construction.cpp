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
#include "symmetry/settings_row_fields.hpp"
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

// The symbol resolved: the route that builds the group and the settings row
// it matched (0 when none).
struct Resolution {
    std::string given;    // left-adjusted, cut to 20 characters, case kept
    std::string working;  // upper case; for a matched row built by its Hall symbol, that symbol
    std::string route;    // "HMS", "HAL", "ITC", "GEN" or "FIX" (or an unknown code as given)
    std::size_t row = 0;
};

// What a route hands back, as it enters the record.
struct RouteOutput {
    std::int32_t system = 0, centre = 1, lattice = 0, count = 0, generators = 0;
    std::array<RotationMatrix, max_working_operators> rotations{};
    std::array<Vector3, max_working_operators> translations{};
    FixedText<2> bravais;
    Vector3 centre_coordinates{0.0f, 0.0f, 0.0f};
    std::string_view setting_text;
    bool full_list = false;   // the operators are the whole group, stored as given
    bool row_fields = false;  // the record takes the fields of the matched row
};

std::string hall_of_row(std::size_t row) { return fixed(tables::spgr_info[row].hall_symbol.view(), symbol_length); }
std::size_t row_by_hm(const std::string& working) {
    return static_cast<std::size_t>(tables::find_spgr_row_by_hm(working.substr(0, 12)));
}
std::size_t row_by_hall(const std::string& working) {
    return static_cast<std::size_t>(tables::find_spgr_row_by_hall(working.substr(0, 16)));
}

// Resolution by the route code; a code the dispatch does not know is kept
// and refused there.
void resolve_by_route_code(std::string_view mode, Resolution& r) {
    r.route = fixed(trim_both(mode), 3);
    vorn_string_utilities::ucase(r.route);
    if (r.route == "HMS") {
        r.row = row_by_hm(r.working);
    } else if (r.route == "ITC") {
        std::int32_t number = 0;
        if (read_list_integer(std::string_view(r.working).substr(0, 12), number)) {
            r.row = static_cast<std::size_t>(tables::find_spgr_row_by_number(number));
            // The generators are looked up by the same 12 characters as the
            // row, so that record and operators name one type.
            r.working = fixed(std::string_view(r.working).substr(0, 12), symbol_length);
        } else {
            r.row = row_by_hm(r.working);
        }
    } else if (r.route == "HAL") {
        r.row = row_by_hall(r.working);
    }
}

// Resolution without a route code: a number, then a Hermann-Mauguin symbol,
// then a Hall symbol of the table, else the generator list when one is given,
// else a Hall symbol as typed.  False, with the error set, for a number that
// names no space-group type.
bool resolve_without_route_code(Resolution& r, bool has_generators, bool use_hall) {
    float value = 0.0f;
    if (lone_number(r.working, value)) {
        if (!(value >= 1.0f && value <= 230.0f)) {
            set_err_symm(" Number of Space Group out of limits");
            return false;
        }
        // The number of a space-group type is whole ("2E1", "4."): a
        // fraction names no group and is not cut to its integer part.
        const float whole = std::round(value);
        if (std::fabs(value - whole) > vorn_math_general::epss) {
            set_err_symm(" Number of Space Group not a whole number: " + std::string(trim_right(r.given)));
            return false;
        }
        r.row = static_cast<std::size_t>(tables::find_spgr_row_by_number(static_cast<std::int32_t>(whole)));
        r.working = hall_of_row(r.row);
        r.route = "HAL";
    } else if ((r.row = row_by_hm(r.working)) != 0) {
        r.route = "HMS";
        const std::string_view table_symbol = tables::spgr_info[r.row].hm_symbol.trimmed();
        if (use_hall || std::find(forced_hall_settings.begin(), forced_hall_settings.end(), table_symbol) !=
                            forced_hall_settings.end()) {
            r.route = "HAL";
            r.working = hall_of_row(r.row);
        }
    } else if ((r.row = row_by_hall(r.working)) != 0) {
        r.route = "HAL";
    } else {
        r.route = has_generators ? "GEN" : "HAL";
    }
    return true;
}

void run_hall_route(std::string_view symbol, RouteOutput& out, SpaceGroup& group) {
    get_so_from_hall(out.system, out.centre, out.lattice, out.count, out.rotations, out.translations, out.bravais,
                     out.centre_coordinates, out.generators, symbol);
    out.setting_text = "Generated from Hall symbol";
    group.generator_count = std::max(0, out.generators);
}

// A Hermann-Mauguin symbol; one with a setting suffix (":1", ":R") that
// matched a row is built from the row's Hall symbol.
void run_hm_route(Resolution& r, RouteOutput& out, SpaceGroup& group) {
    const std::size_t colon = r.given.find(':');
    if (colon != std::string::npos && r.row != 0) {
        r.working = hall_of_row(r.row);
        run_hall_route(r.working, out, group);
        return;
    }
    // With a row, the route reads the 12 characters that matched it: text
    // beyond them is no part of the symbol.
    const std::string hm_text = colon != std::string::npos ? r.given.substr(0, colon)
                                : r.row != 0               ? r.given.substr(0, 12)
                                                           : r.given;
    get_so_from_hms(out.system, out.centre, out.lattice, out.count, out.rotations, out.translations, out.bravais,
                    hm_text);
    out.setting_text = "IT (Generated from Hermann-Mauguin symbol)";
    if (r.row != 0) {
        group.generator_count = hm_generator_count(tables::spgr_info[r.row].number);
    } else {
        group.hm_symbol = r.given;
        group.generator_count = 0;
    }
}

// The tabulated generators of a number or symbol, split at ";" and closed
// by the generator route.  False, with the error set, when the table has no
// generators for the text.
bool run_tabulated_generators(Resolution& r, RouteOutput& out, SpaceGroup& group) {
    // The tabulated generators build the standard setting: for the types
    // with two origins that is origin choice 2, the row after the first.
    const std::size_t row = r.row;
    if (row != 0 && row + 1 < tables::spgr_info.size() && tables::spgr_info[row].setting_choice == "1" &&
        tables::spgr_info[row + 1].number == tables::spgr_info[row].number &&
        tables::spgr_info[row + 1].setting_choice == "2")
        ++r.row;
    std::string generator_text(130, ' ');
    tables::get_generators(r.working, generator_text);
    if (tables::err_symtab) {
        set_err_symm(" Problems in SpaceGroup: " + std::string(trim_right(r.working)) +
                     " => the HM symbol or the number is incorrect ");
        return false;
    }
    const std::string_view text = trim_right(generator_text);
    std::size_t n = 0;
    for (std::size_t start = 0;;) {
        const std::size_t semicolon = text.find(';', start);
        std::string piece = semicolon == std::string_view::npos
                                ? std::string(text.substr(start))
                                : std::string(trim_both(text.substr(start, semicolon - start)));
        if (n == max_working_operators) break;
        read_xsym(fixed(piece, symbol_length), 1, out.rotations[n], out.translations[n]);
        ++n;
        if (err_symm) break;
        if (semicolon == std::string_view::npos) break;
        start = semicolon + 1;
    }
    if (!err_symm) {
        out.count = static_cast<std::int32_t>(n);
        out.generators = out.count;
        char letter = ' ';
        get_so_from_gener(out.system, out.centre, out.lattice, out.count, out.rotations, out.translations,
                          out.bravais, out.centre_coordinates, out.generators, letter);
    }
    group.generator_count = std::max(0, out.generators);
    if (r.row != 0) {
        out.setting_text = "Generated from explicit IT generators";
    } else {
        group.hm_symbol = r.given;
    }
    return true;
}

// The user's operator texts: generators to close ("GEN") or the whole group
// ("FIX").  False, with the error set, when the list is missing, too long or
// holds a malformed text.
bool run_user_operators(bool generators, std::optional<std::span<const std::string>> gen_list,
                        std::optional<std::int32_t> num_gen, RouteOutput& out, SpaceGroup& group) {
    out.row_fields = false;
    if (!gen_list.has_value() || !num_gen.has_value()) {
        set_err_symm(generators ? " Generators should be provided in GEN calling Set_SpaceGroup"
                                : " Generators should be provided if FIX option is Used");
        return false;
    }
    if (*num_gen < 0 || static_cast<std::size_t>(*num_gen) > gen_list->size() ||
        static_cast<std::size_t>(*num_gen) > max_working_operators) {
        set_err_symm(" The number of operators exceeds the list given or 48");
        return false;
    }
    out.setting_text = "Non-Conventional (user-given operators)";
    if (!read_operator_texts(*gen_list, static_cast<std::size_t>(*num_gen), out.rotations, out.translations))
        return false;
    out.count = *num_gen;
    char letter = ' ';
    if (generators) {
        out.generators = out.count;
        get_so_from_gener(out.system, out.centre, out.lattice, out.count, out.rotations, out.translations,
                          out.bravais, out.centre_coordinates, out.generators, letter);
        group.generator_count = std::max(0, out.generators);
    } else {
        out.full_list = true;
        get_so_from_fix(out.system, out.centre, out.lattice, out.count, out.rotations, out.translations, out.bravais,
                        out.centre_coordinates, letter);
        group.generator_count = std::max(0, *num_gen - 1);
    }
    return true;
}

// Runs the route of the resolution.  False, with the error set, when the
// route could not start (its input is missing or unknown); a route that
// starts and fails leaves its error for the caller.
bool run_route(Resolution& r, std::optional<std::span<const std::string>> gen_list,
               std::optional<std::int32_t> num_gen, RouteOutput& out, SpaceGroup& group) {
    out.row_fields = r.row != 0;
    if (r.route == "HMS") {
        run_hm_route(r, out, group);
    } else if (r.route == "HAL") {
        run_hall_route(r.working, out, group);
        if (r.row == 0) group.hall_symbol = r.working;
    } else if (r.route == "ITC") {
        return run_tabulated_generators(r, out, group);
    } else if (r.route == "GEN" || r.route == "FIX") {
        return run_user_operators(r.route == "GEN", gen_list, num_gen, out, group);
    } else {
        set_err_symm(" Problems in SpaceGroup");
        return false;
    }
    return true;
}

// The route's results into the record.  A route that failed before it knew
// the crystal system or the lattice leaves those texts at their initial
// values.  The lattice state is the one the route left.
void take_route_output(const RouteOutput& out, SpaceGroup& group) {
    if (out.system >= 1 && out.system <= 7)
        group.crystal_system = tables::sys_cry[static_cast<std::size_t>(out.system)];
    group.lattice_letter = std::string(1, lat_ch);
    group.lattice_symbol = out.bravais;
    group.centring_count = nlat;
    group.centring_vectors = ltr;
    if (out.lattice >= 1 && out.lattice <= 8)
        group.bravais_lattice = tables::latt[static_cast<std::size_t>(out.lattice)];
    if (out.centre >= 0 && out.centre <= 2)
        group.centrosymmetry_text = centrosymmetry_texts[static_cast<std::size_t>(out.centre)];
    group.centre_code = out.centre;
    group.centre_coordinates = out.centre_coordinates;
    group.reduced_count = out.count;
    group.setting_type = out.setting_text.empty() ? std::string_view("?") : out.setting_text;
}

// The fields of the matched settings row.  The text look-ups clear the
// error pair; a route error must survive them.
void take_row_fields(std::size_t row, SpaceGroup& group) {
    const SavedError route_error = save_error();
    const tables::SpaceGroupInfo& info = tables::spgr_info[row];
    settings_row_fields::take_row(info, group);
    group.hall_symbol = info.hall_symbol.view();
    restore_error(route_error);
}

// The reduced set of m operators, then (unless the route gave the whole
// group) its inversion images and centring copies.  Returns the error of a
// group larger than the record, with the flag clear when the group fits; a
// larger group is never silently truncated.
SavedError store_operators(const RouteOutput& out, std::size_t m, SpaceGroup& group) {
    for (std::size_t k = 0; k < m; ++k) {
        group.operators[k].rot = out.rotations[k];
        group.operators[k].tr = out.translations[k];
    }
    std::size_t stored = m;
    SavedError completion_error{false, {}};
    if (!out.full_list &&
        !route_detail::expand_reduced_set(out.rotations, out.translations, m, group.centre_code,
                                          group.centre_coordinates, group.centring_count, group.centring_vectors,
                                          group.operators, stored)) {
        set_err_symm(" Dimension of Table exceeded: more than 192 operators");
        completion_error = save_error();
    }
    group.multiplicity = static_cast<std::int32_t>(stored);
    return completion_error;
}

// Operators that form no group leave the record without operators, the
// hexagonal flag as it was before, and a message by route.
void refuse_non_group(const Resolution& r, bool previous_hexa, SpaceGroup& group) {
    hexa = previous_hexa;
    group.hexagonal = false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(group.multiplicity); ++i)
        group.operators[i] = SymmetryOperator{};
    group.multiplicity = 0;
    if (r.route == "HMS")
        set_err_symm(" Wrong space-group symbol: " + r.given);
    else if (r.route == "HAL")
        set_err_symm(" The operators of the Hall symbol do not form a space group: " +
                     std::string(trim_right(r.given)));
    else
        set_err_symm(" The generators do not form a space group");
}

void name_operators(SpaceGroup& group) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(group.multiplicity); ++i)
        group.operator_symbols[i] = get_symsymbi(group.operators[i].rot, group.operators[i].tr);
}

// A centre off the origin names the inversion operator, the first image of
// the reduced set.
void name_inversion_centre(SpaceGroup& group, std::size_t m) {
    std::string text = std::string(group.centrosymmetry_text.trimmed()) + "  Gen(-1):" +
                       std::string(group.operator_symbols[m].trimmed());
    group.centrosymmetry_text = text;
}

// Special Wyckoff positions.  A symbol without its own Wyckoff row (a full
// monoclinic symbol, a cubic symbol without the bar) takes the row of the
// setting with the same Hall symbol.  The stored symbol then keeps its first
// character and is lower case after it.
void fill_wyckoff_orbits(SpaceGroup& group) {
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

    std::string symbol = group.hm_symbol.str();
    std::string tail = vorn_string_utilities::l_case(std::string_view(symbol).substr(1));
    group.hm_symbol = symbol.substr(0, 1) + tail;
}

}  // namespace

void set_spacegroup(std::string_view spg_symbol, SpaceGroup& group, std::optional<std::span<const std::string>> gen_list,
                    std::optional<std::int32_t> num_gen, std::optional<std::string_view> mode, bool use_hall) {
    // Working values, taken before the reset (the symbol and the code may be
    // fields of the record itself).  The symbol is left-adjusted before it is
    // cut to 20 characters, so that a CIF value with leading blanks keeps its
    // tail.
    Resolution r;
    r.given = fixed(trim_both(spg_symbol), symbol_length);
    r.working = vorn_string_utilities::u_case(r.given);
    const std::optional<std::string> mode_text =
        mode.has_value() ? std::optional<std::string>(std::string(*mode)) : std::nullopt;

    // Reset the record and refill the tables.
    init_err_symm();
    reset_spacegroup(group);
    tables::set_spgr_info();
    tables::set_wyckoff_info();

    // Symbol to route and row; the route's operators and the row's fields.
    if (mode_text.has_value()) {
        resolve_by_route_code(*mode_text, r);
    } else if (!resolve_without_route_code(r, gen_list.has_value(), use_hall)) {
        return;
    }
    RouteOutput out;
    if (!run_route(r, gen_list, num_gen, out, group)) return;
    take_route_output(out, group);
    const bool tabulated = out.row_fields && r.row != 0;
    if (tabulated) take_row_fields(r.row, group);
    if (err_symm) return;  // a failed route ends the construction here

    // Hexagonal axes, then the whole group.
    const bool previous_hexa = hexa;
    const auto m = static_cast<std::size_t>(std::clamp(out.count, 0, static_cast<std::int32_t>(max_working_operators)));
    group.hexagonal = is_hexa(out.count, std::span<const RotationMatrix>(out.rotations).first(m));
    hexa = group.hexagonal;
    const SavedError completion_error = store_operators(out, m, group);

    // A symbol or a generator list outside the tables can name a lattice
    // that its rotations do not keep ("B 6") or generators whose products
    // leave the set: such operators form no group and are refused.  The
    // tabulated settings form groups by construction and are not tested.
    if (!out.full_list && !tabulated && !completion_error.flag && !forms_group(group)) {
        refuse_non_group(r, previous_hexa, group);
        return;
    }

    // Operator texts, the Laue class and point group of a group without a
    // table row, the inversion centre's text and the Wyckoff orbits.
    name_operators(group);
    if (!tabulated) {
        get_laue_pg(group, group.laue_class, group.point_group);
        if (completion_error.flag) restore_error(completion_error);
    }
    if (group.centre_code == 0 && m > 0) name_inversion_centre(group, m);
    if (!group.hm_symbol.blank()) fill_wyckoff_orbits(group);
}

}  // namespace vorn_crystallographic_symmetry
