// The setting-equivalence table of the 230 space-group types: fill and release.
#include <array>
#include <cstddef>

#include "tables/sym_table.hpp"

namespace vorn_symmetry_tables {

// Rows 1..230 of the constant texts (setting_equivalence_data.cpp).
extern const std::array<std::array<const char*, 5>, 231> setting_equivalence_texts;

std::vector<SettingEquivalence> system_equiv;

namespace {

// The constant rows in their record form, built once; every fill is then a
// plain copy into the module table.
const std::vector<SettingEquivalence>& reference_system_equiv() {
    static const std::vector<SettingEquivalence> rows = [] {
        std::vector<SettingEquivalence> table(setting_equivalence_texts.size());
        for (std::size_t n = 1; n < setting_equivalence_texts.size(); ++n) {
            const auto& t = setting_equivalence_texts[n];
            table[n] = {t[0], t[1], t[2], t[3], t[4]};
        }
        return table;
    }();
    return rows;
}

}  // namespace

void set_system_equiv() { system_equiv = reference_system_equiv(); }

void remove_system_equiv() { std::vector<SettingEquivalence>().swap(system_equiv); }

}  // namespace vorn_symmetry_tables
