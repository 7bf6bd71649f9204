// Reading the tab-separated fixtures of tests/data/tables.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tables_test {

// The data lines of a fixture (header lines starting with "#" skipped), each
// split at tabs; empty cells are kept.
inline std::vector<std::vector<std::string>> read_tsv(const std::string& name) {
    std::vector<std::vector<std::string>> rows;
    std::ifstream in(std::string(BORQ_TEST_DATA) + "/tables/" + name);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::string cell;
        std::istringstream fields(line);
        while (std::getline(fields, cell, '\t')) cells.push_back(cell);
        if (!line.empty() && line.back() == '\t') cells.emplace_back();
        rows.push_back(cells);
    }
    return rows;
}

}  // namespace tables_test
