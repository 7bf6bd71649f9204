// Reader of tests/data/tables/settings-operators.tsv: for each of the 611
// tabulated settings, the group order, centring count, lattice letter,
// centre code, crystal system and the sorted operator texts of the group
// built by an independent library from the setting's Hall symbol.
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace symmetry_test_data {

struct SettingOperators {
    std::int32_t row = 0;
    std::string hm_symbol;
    std::int32_t number = 0;
    std::int32_t order = 0;
    std::int32_t centring_count = 0;
    char lattice_letter = ' ';
    std::int32_t centre_code = 0;
    std::string crystal_system;
    std::vector<std::string> operators;
};

inline std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

inline std::vector<SettingOperators> read_settings_operators() {
    std::vector<SettingOperators> rows;
    std::ifstream in(std::string(BORQ_TEST_DATA) + "/tables/settings-operators.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = split(line, '\t');
        if (f.size() < 9) continue;
        SettingOperators s;
        s.row = std::stoi(f[0]);
        s.hm_symbol = f[1];
        s.number = std::stoi(f[2]);
        s.order = std::stoi(f[3]);
        s.centring_count = std::stoi(f[4]);
        s.lattice_letter = f[5].empty() ? ' ' : f[5][0];
        s.centre_code = std::stoi(f[6]);
        s.crystal_system = f[7];
        s.operators = split(f[8], ';');
        rows.push_back(std::move(s));
    }
    return rows;
}

}  // namespace symmetry_test_data
