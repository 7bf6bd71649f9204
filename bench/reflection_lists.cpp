// Unique reflection lists to a resolution of 1 angstrom (s <= 0.5) for six
// groups and cells of the sizes met in macromolecular work; reports the
// number of reflections and the best time of several runs per list.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "support/unit_cell.hpp"
#include "reflections/reflct_util.hpp"
#include "symmetry/symmetry.hpp"

int main() {
    namespace refl = vorn_reflections_utilities;
    struct Case { const char* symbol; double a, b, c, alpha, beta, gamma; };
    const Case cases[] = {{"P 21 21 21", 50, 60, 70, 90, 90, 90},   {"P 1", 30, 40, 50, 80, 95, 105},
                          {"F m -3 m", 120, 120, 120, 90, 90, 90},  {"P 61 2 2", 60, 60, 150, 90, 90, 120},
                          {"R -3 c:R", 60, 60, 60, 80, 80, 80},     {"P 1 21 1", 40, 50, 60, 90, 105, 90}};
    std::vector<refl::Reflection> reflections(400000);
    auto group = std::make_unique<vorn_crystallographic_symmetry::SpaceGroup>();
    for (const Case& c : cases) {
        vorn_crystallographic_symmetry::set_spacegroup(c.symbol, *group);
        const refl::UnitCell cell = test_cells::unit_cell(c.a, c.b, c.c, c.alpha, c.beta, c.gamma);
        double best = 1e30;
        std::int32_t count = 0;
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            refl::hkl_uni_reflect(cell, *group, true, 0.0f, 0.5f, "s", count, reflections);
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf("%-12s %9d reflections  %8.1f ms\n", c.symbol, count, 1.0e3 * best);
    }
}
