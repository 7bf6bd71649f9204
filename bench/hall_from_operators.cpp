// Builds every tabulated setting once from its Hall symbol, then derives the
// Hall symbol back from the operators of each record in a loop and reports
// the time per derivation: the whole procedure (derivation, rebuild check,
// look-up, record update) and the derivation of the text alone.
//
// With a file name as argument it also writes the operator sets, one line
// per record (operators 1..multiplicity joined by ";"), for the peer timing
// script hall_from_operators_peer.py.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "symmetry/hall_derivation_detail.hpp"
#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"

int main(int argc, char** argv) {
    namespace sym = vorn_crystallographic_symmetry;
    namespace tables = vorn_symmetry_tables;
    tables::set_spgr_info();
    std::vector<std::string> hall_symbols;
    for (std::size_t r = 1; r < tables::spgr_info.size(); ++r)
        hall_symbols.emplace_back(tables::spgr_info[r].hall_symbol.trimmed());
    std::vector<std::unique_ptr<sym::SpaceGroup>> groups;
    for (const std::string& s : hall_symbols) {
        groups.push_back(std::make_unique<sym::SpaceGroup>());
        sym::set_spacegroup(s, *groups.back(), std::nullopt, std::nullopt, "HAL");
    }
    if (argc > 1) {
        std::ofstream out(argv[1]);
        for (const auto& g : groups) {
            for (int k = 0; k < g->multiplicity; ++k)
                out << (k > 0 ? ";" : "") << g->operator_symbols[static_cast<std::size_t>(k)].trimmed();
            out << '\n';
        }
    }

    const int rounds = 200;
    auto time_loop = [&](const char* label, auto derive) {
        long long calls = 0, checksum = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int round = 0; round < rounds; ++round)
            for (auto& g : groups) {
                checksum += derive(*g);
                ++calls;
            }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-40s %7lld calls  %8.3f us per call  (checksum %lld)\n", label, calls,
                    1.0e6 * seconds / static_cast<double>(calls), checksum);
    };
    time_loop("get_hallsymb_from_gener (check included)", [](sym::SpaceGroup& g) {
        sym::get_hallsymb_from_gener(g);
        return static_cast<long long>(g.number) + (sym::err_symm ? 1000 : 0);
    });
    time_loop("derivation of the text alone", [](sym::SpaceGroup& g) {
        vorn_string_utilities::FixedText<20> text;
        return sym::hall_derivation_detail::derive_hall_text(g, text) ? static_cast<long long>(text.len_trim()) : 0;
    });
    return 0;
}
