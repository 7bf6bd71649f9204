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

}  // namespace setting_groups
