// Builds every tabulated setting from its Hermann-Mauguin symbol, and again
// from its Hall symbol, in a loop, and reports the time per construction.
// set_spacegroup refills the settings and Wyckoff tables on every call, so
// this measures the whole cost a program pays for one space group.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"

int main() {
    namespace sym = vorn_crystallographic_symmetry;
    namespace tables = vorn_symmetry_tables;
    tables::set_spgr_info();
    std::vector<std::string> hm_symbols, hall_symbols;
    for (std::size_t r = 1; r < tables::spgr_info.size(); ++r) {
        hm_symbols.emplace_back(tables::spgr_info[r].hm_symbol.trimmed());
        hall_symbols.emplace_back(tables::spgr_info[r].hall_symbol.trimmed());
    }
    sym::SpaceGroup group;
    const int rounds = 20;
    auto time_builds = [&](const std::vector<std::string>& symbols, const char* mode) {
        long long builds = 0;
        std::int32_t checksum = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int round = 0; round < rounds; ++round)
            for (const std::string& s : symbols) {
                if (mode == nullptr) sym::set_spacegroup(s, group);
                else sym::set_spacegroup(s, group, std::nullopt, std::nullopt, mode);
                checksum += group.multiplicity;
                ++builds;
            }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-28s %6lld builds  %8.2f us per build  (checksum %d)\n",
                    mode == nullptr ? "Hermann-Mauguin symbols" : "Hall symbols (route HAL)", builds,
                    1.0e6 * seconds / static_cast<double>(builds), checksum);
    };
    time_builds(hm_symbols, nullptr);
    time_builds(hall_symbols, "HAL");
    return 0;
}
