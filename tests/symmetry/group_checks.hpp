// Checks shared by the symmetry tests: a record's operators in the peer's spelling, the group axioms modulo
// whole-cell translations, a one-line summary of every scalar field of a space-group record, and the
// text a writer leaves in a fixed-width field with the fractions it shows.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/settings_operators_fixture.hpp"
#include "support/tsv_fixture.hpp"

#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace group_checks {

using namespace vorn_crystallographic_symmetry;

// The stored operators with translations snapped to 1/24 and reduced into [0,1), sorted bytewise.
inline std::vector<std::string> peer_form(const SpaceGroup& g) {
    std::vector<std::string> texts;
    for (int i = 0; i < g.multiplicity; ++i) {
        Vector3 t = g.operators[static_cast<std::size_t>(i)].tr;
        for (float& c : t) c = static_cast<float>(((std::lround(c * 24.0) % 24) + 24) % 24) / 24.0f;
        texts.push_back(get_symsymbi(g.operators[static_cast<std::size_t>(i)].rot, t));
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

// The record built from a symbol by the route given, or from the operator texts "a;b;c" (routes GEN, FIX).
inline SpaceGroup& build(SpaceGroup& g, const std::string& symbol, const std::string& mode = "HAL",
                         const std::string& list = "") {
    const std::vector<std::string> texts = symmetry_test_data::split(list, ';');
    if (list.empty()) set_spacegroup(symbol, g, std::nullopt, std::nullopt, mode);
    else set_spacegroup(symbol, g, texts, static_cast<std::int32_t>(texts.size()), mode);
    return g;
}

// The record of a settings-table row built from the row's Hall symbol.
inline SpaceGroup& build_row(SpaceGroup& g, const std::string& row) {
    static const std::map<std::string, std::string> hall_of_row = [] {
        std::map<std::string, std::string> m;
        for (const auto& r : tables_test::read_tsv("settings-table.tsv")) m[r[0]] = r[3];
        return m;
    }();
    return build(g, hall_of_row.at(row));
}

// The peer form of the operators joined by ';'.
inline std::string joined(const SpaceGroup& g) {
    std::string s;
    for (const std::string& t : peer_form(g)) s += (s.empty() ? "" : ";") + t;
    return s;
}

inline bool same_modulo_lattice(const SymmetryOperator& a, const SymmetryOperator& b) {
    bool same = a.rot == b.rot;  // a NaN translation is never the same
    for (int c = 0; c < 3; ++c) same = same && std::fabs(std::remainder(double(a.tr[c]) - b.tr[c], 1.0)) <= 0.0005;
    return same;
}

// Empty when the stored operators hold no operator twice and every product (modulo whole-cell translations), so
// that they form a finite group (the identity is a power of any element); otherwise what is wrong.
inline std::string group_fault(const SpaceGroup& g) {
    const auto n = static_cast<std::size_t>(g.multiplicity);
    if (n < 1 || n > max_operators) return "multiplicity " + std::to_string(g.multiplicity);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (same_modulo_lattice(g.operators[i], g.operators[j])) return "twice " + g.operator_symbols[i].str();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) {
            const SymmetryOperator p = product_symop(g.operators[i], g.operators[j]);
            bool found = false;
            for (std::size_t k = 0; k < n && !found; ++k) found = same_modulo_lattice(p, g.operators[k]);
            if (!found) return "no product of " + g.operator_symbols[i].str() + " and " + g.operator_symbols[j].str();
        }
    return "";
}

// number|HM|Hall|system|Laue|point group|setting|setting type|hexagonal|lattice letter|lattice symbol|centrings|
// centring row|centrosymmetry|centre code (centre)|reduced|multiplicity|generators|operators with a rotation|
// first text/text after the last|Wyckoff letters|asymmetric-unit maxima
inline std::string describe(const SpaceGroup& g) {
    std::ostringstream o;
    const std::size_t m = static_cast<std::size_t>(std::clamp(g.multiplicity, 0, 191));
    const auto rotated = std::count_if(g.operators.begin(), g.operators.end(),
                                       [](const SymmetryOperator& op) { return op.rot != RotationMatrix{}; });
    o << g.number << '|' << g.hm_symbol.trimmed() << '|' << g.hall_symbol.trimmed() << '|' << g.crystal_system.trimmed()
      << '|' << g.laue_class.trimmed() << '|' << g.point_group.trimmed() << '|' << g.setting_choice.trimmed() << '|'
      << g.setting_type.trimmed() << '|' << g.hexagonal << '|' << g.lattice_letter.trimmed() << '|'
      << g.lattice_symbol.trimmed() << '|' << g.centring_count << '|' << g.bravais_lattice.view().substr(0, 4) << '|'
      << g.centrosymmetry_text.trimmed() << '|' << g.centre_code
      << " (" << g.centre_coordinates[0] << ' ' << g.centre_coordinates[1] << ' ' << g.centre_coordinates[2] << ")|"
      << g.reduced_count << '|' << g.multiplicity << '|' << g.generator_count << '|' << rotated << '|'
      << g.operator_symbols[0].trimmed() << '/' << g.operator_symbols[m].trimmed() << '|' << g.wyckoff.orbit_count
      << '|' << g.asymmetric_unit[0][1] << ' ' << g.asymmetric_unit[1][1] << ' ' << g.asymmetric_unit[2][1];
    return o.str();
}

// What a writer leaves in a field of `width` characters that held '#' before.
inline std::string in_field(std::size_t width, const std::function<void(std::string&)>& write) {
    std::string text(width, '#');
    write(text);
    return text;
}

// The values of "0,1/2,-1", or of the fixed fields " 1/2-1/4" of `field` characters each.
inline std::vector<float> fractions(const std::string& s, std::size_t field = 0) {
    namespace su = vorn_string_utilities;
    std::vector<float> v;
    for (std::size_t k = 0, e = 0; k < s.size(); k = e + (field == 0)) {
        e = field ? k + field : std::min(s.find(',', k), s.size());
        su::read_fract(su::trim_both(s.substr(k, e - k)), v.emplace_back());
    }
    return v;
}

}  // namespace group_checks
