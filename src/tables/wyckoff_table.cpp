// The table of special Wyckoff positions of 273 settings: fill and release.
#include <cstddef>

#include "tables/sym_table.hpp"
#include "tables/table_data.hpp"

namespace vorn_symmetry_tables {

namespace {

// The constant rows in their record form, built once; every fill is then a
// plain copy of these records into the module table.
const std::vector<WyckoffInfo>& reference_wyckoff() {
    static const std::vector<WyckoffInfo> rows = [] {
        std::vector<WyckoffInfo> table(wyckoff_rows.size());
        for (std::size_t i = 1; i < wyckoff_rows.size(); ++i) {
            const WyckoffRow& src = wyckoff_rows[i];
            WyckoffInfo& row = table[i];
            row.hm_symbol = src.hm_symbol;
            row.orbit_count = src.orbit_count;
            for (std::size_t k = 0; k < src.orbit_rep.size(); ++k)
                if (src.orbit_rep[k] != nullptr) row.orbit_rep[k + 1] = src.orbit_rep[k];
        }
        return table;
    }();
    return rows;
}

}  // namespace

// Copy-assignment between vectors of equal size rewrites the rows in place.
void set_wyckoff_info() { wyckoff_info = reference_wyckoff(); }

void remove_wyckoff_info() { std::vector<WyckoffInfo>().swap(wyckoff_info); }

}  // namespace vorn_symmetry_tables
