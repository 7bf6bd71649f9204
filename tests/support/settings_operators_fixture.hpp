// Reader of tests/data/tables/settings-operators.tsv: for each of the 611
// tabulated settings, the group order, centring count, lattice letter,
// centre code, crystal system and the sorted operator texts of the group
// built by an independent library from the setting's Hall symbol.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "support/tsv_fixture.hpp"

namespace symmetry_test_data {

struct SettingOperators {
    std::int32_t row = 0;
    std::string hm_symbol;
    std::int32_t number = 0, order = 0, centring_count = 0;
    char lattice_letter = ' ';
    std::int32_t centre_code = 0;
    std::string crystal_system;
    std::vector<std::string> operators;
};

inline std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

inline std::vector<SettingOperators> read_settings_operators() {
    std::vector<SettingOperators> rows;
    for (const auto& f : tables_test::read_tsv("settings-operators.tsv"))
        if (f.size() >= 9)
            rows.push_back({std::stoi(f[0]), f[1], std::stoi(f[2]), std::stoi(f[3]), std::stoi(f[4]),
                            f[5].empty() ? ' ' : f[5][0], std::stoi(f[6]), f[7], split(f[8], ';')});
    return rows;
}

}  // namespace symmetry_test_data
