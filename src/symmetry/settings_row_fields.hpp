// The descriptive fields a space-group record takes from its row of the
// settings table.  Internal to the module: shared by the construction and by
// the Hall-symbol derivation, which both name a group by its tabulated row.
#pragma once

#include <cstddef>

#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"

namespace vorn_crystallographic_symmetry::settings_row_fields {

// Number, Hermann-Mauguin symbol, Laue class, point group, setting choice and
// asymmetric-unit box (stored in 24ths of the cell edges).  The Hall symbol is
// left to the caller: the construction takes the row's, the derivation keeps
// the text it derived.  The Laue and point-group look-ups clear the error
// pair; a caller whose error must survive saves it around this call.
inline void take_row(const vorn_symmetry_tables::SpaceGroupInfo& info, SpaceGroup& group) {
    group.number = info.number;
    group.hm_symbol = info.hm_symbol.view();
    get_laue_str(info.laue_index, group.laue_class);
    get_pointgroup_str(info.pg_index, group.point_group);
    group.setting_choice = info.setting_choice.view();
    for (std::size_t axis = 0; axis < 3; ++axis) {
        group.asymmetric_unit[axis][0] = static_cast<float>(info.asu[axis]) / 24.0f;
        group.asymmetric_unit[axis][1] = static_cast<float>(info.asu[axis + 3]) / 24.0f;
    }
}

}  // namespace vorn_crystallographic_symmetry::settings_row_fields
