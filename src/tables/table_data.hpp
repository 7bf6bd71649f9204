// Constant source data of the settings, generator and Wyckoff tables, in a
// form the compiler lays out at build time (no start-up code).  The module
// tables of sym_table.hpp are filled from these rows; nothing else reads them.
#pragma once

#include <array>
#include <cstdint>

#include "tables/sym_table.hpp"

namespace vorn_symmetry_tables {

// One setting as written in settings_data.cpp.
struct SettingsRow {
    std::int32_t number;
    const char* hm_symbol;
    const char* hall_symbol;
    std::int32_t laue_index;
    std::int32_t pg_index;
    std::array<std::int32_t, 6> asu;
    const char* setting_choice;
};

// One Wyckoff row as written in wyckoff_data.cpp; triplets beyond the count are null.
struct WyckoffRow {
    const char* hm_symbol;
    std::int32_t orbit_count;
    std::array<const char*, 26> orbit_rep;
};

// Rows 1..611 of the settings table (element 0 unused).
extern const std::array<SettingsRow, 612> settings_rows;
// Stored generator texts of numbers 1..230 up to their last blank (element 0 unused).
extern const std::array<const char*, 231> generator_texts;
// Rows 1..273 of the Wyckoff table (element 0 unused).
extern const std::array<WyckoffRow, 274> wyckoff_rows;

}  // namespace vorn_symmetry_tables
