// Groups of the tabulated settings built by the library from their symbols.
#pragma once

#include <memory>
#include <string>

#include "support/tsv_fixture.hpp"
#include "symmetry/symmetry.hpp"

namespace setting_groups {

inline std::unique_ptr<vorn_crystallographic_symmetry::SpaceGroup> group_of_symbol(const std::string& symbol) {
    auto group = std::make_unique<vorn_crystallographic_symmetry::SpaceGroup>();
    vorn_crystallographic_symmetry::set_spacegroup(symbol, *group);
    return group;
}

// The group of row `row` (1..611) of settings-table.tsv.
inline std::unique_ptr<vorn_crystallographic_symmetry::SpaceGroup> group_of_row(std::size_t row) {
    static const auto rows = tables_test::read_tsv("settings-table.tsv");
    return group_of_symbol(rows.at(row - 1)[2]);
}

}  // namespace setting_groups
