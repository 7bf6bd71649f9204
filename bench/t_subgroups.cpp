// Lists the t-subgroups of the 230 standard settings (each built from the
// generator table) and reports the total time and the time per group built;
// every trial is one full set_spacegroup call, two with the inversion.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"

int main() {
    namespace sym = vorn_crystallographic_symmetry;
    std::vector<sym::SpaceGroup> groups(230), subgroups(200);
    for (int n = 1; n <= 230; ++n) {
        std::string text(109, ' ');
        vorn_symmetry_tables::get_generators(std::to_string(n), text);
        std::vector<std::string> generators;
        for (std::size_t b = 0, e = 0; b < text.size(); b = e + 1) {
            e = std::min(text.find(';', b), text.size());
            const std::string_view g = vorn_string_utilities::trim_both(std::string_view(text).substr(b, e - b));
            if (!g.empty()) generators.emplace_back(g);
        }
        sym::set_spacegroup(" ", groups[static_cast<std::size_t>(n - 1)], generators,
                            static_cast<std::int32_t>(generators.size()), "GEN");
    }
    long long found = 0, trials = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const sym::SpaceGroup& g : groups) {
        std::int32_t count = 0;
        sym::get_t_subgroups(g, subgroups, count);
        found += count;
        const long long n = g.centre_code == 1 ? g.reduced_count : 2 * g.reduced_count;
        trials += (n - 1) + (n > 2 ? (n - 1) * (n - 2) / 2 : 0);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("t-subgroups of 230 groups: %lld found, %lld trials, %.3f s total, %.1f us per trial\n", found,
                trials, seconds, 1.0e6 * seconds / static_cast<double>(trials));
}
