// sin(theta)/lambda and reciprocal directions in worked cells; a reflection
// list set up and reported byte for byte.
#include <gtest/gtest.h>

#include <cmath>

#include "reflections/reflct_util.hpp"
#include "support/scratch_dir.hpp"
#include "support/unit_cell.hpp"
#include "text/string_util.hpp"

namespace {

using namespace vorn_reflections_utilities;
namespace su = vorn_string_utilities;

TEST(ReflectionMetrics, WorkedCells) {
    const UnitCell cubic = test_cells::unit_cell(10, 10, 10), hexagonal = test_cells::unit_cell(1, 1, 2, 90, 90, 120);
    const float r3 = std::sqrt(3.0f);
    const struct { const UnitCell* cell; Hkl h; float s; std::array<float, 3> u; } cases[] = {
        {&cubic, {1, 0, 0}, 0.05f, {1, 0, 0}}, {&cubic, {1, 1, 1}, 0.0866025f, {1 / r3, 1 / r3, 1 / r3}},
        {&cubic, {0, 0, -2}, 0.1f, {0, 0, -1}}, {&hexagonal, {1, 0, 0}, 1 / r3, {r3 / 2, 0.5f, 0}},
        {&hexagonal, {1, 1, 0}, 1.0f, {0.5f, r3 / 2, 0}}};
    for (const auto& c : cases) {
        const HklReal r{float(c.h[0]), float(c.h[1]), float(c.h[2])};
        const auto u = unit_cart_hkli(c.h, *c.cell);
        EXPECT_NEAR(hs_i(c.h, *c.cell), c.s, 1e-6f) << c.s;
        EXPECT_TRUE(hs_r(r, *c.cell) == hs_i(c.h, *c.cell) && unit_cart_hklr(r, *c.cell) == u);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(u[i], c.u[i], 1e-6f) << c.s;
    }
    EXPECT_TRUE(hs_i({0, 0, 0}, cubic) == 0 && std::isnan(unit_cart_hkli({0, 0, 0}, cubic)[0]));
}

// The Part's row and a negative Delta, the neutron title, an empty list
// (extremes of asterisks), fields that overflow, and a count above the entries.
TEST(ReflectionLists, InitAndReport) {
    borq_test::ScratchDir scratch("reflist");
    const auto report = [](const ReflectionList& list, std::optional<std::string_view> radiation) {
        su::open_unit(21, "list.txt", su::UnitAccess::write);
        write_reflist_info(list, 21, radiation);
        su::close_unit(21);
        return borq_test::read_file("list.txt");
    };
    const std::string xray = "    LIST OF REFLECTIONS AND STRUCTURE FACTORS(X-RAYS)\n    " + std::string(49, '=') + "\n",
                      neutron = "\n\n    LIST OF REFLECTIONS AND STRUCTURE FACTORS(NEUTRONS)\n    " + std::string(51, '=') + "\n",
                      header = "\n   H   K   L   Mult  SinTh/Lda    |Fobs|      SFobs        |Fc|       Delta\n\n",
                      rows = "   1   0   2    4     0.25000    10.50000     0.20000    10.00000     0.50000\n"
                             "  -3   7   0    2     0.12500     3.00000     0.00000     5.50000    -2.50000\n";
    const auto tail = [](const char* n, const char* h, const char* k, const char* l, const char* h0, const char* k0, const char* l0) {
        return std::string(" \n \n => Number of Reflections: ") + n + "\n => H_max: " + h + "    K_max: " + k + "    L_max: " + l +
               "\n => H_min: " + h0 + "    K_min: " + k0 + "    L_min: " + l0 + "\n \n";
    };
    const std::string stars = tail("     0", "****", "****", "****", "****", "****", "****");
    ReflectionList two, empty, wide, none;
    init_reflist(two, 2);
    two.entries[0] = {{1, 0, 2}, 4, 10.5f, 10.0f, 0.2f, 0.25f, {}};
    two.entries[1] = {{-3, 7, 0}, 2, 3.0f, 5.5f, 0.0f, 0.125f, {}};
    init_reflist(empty, 0);
    init_reflist(wide, 1);
    wide.entries[0].hkl = {10000, -1000, 5};
    wide.reflection_count = 1000000;
    const std::string wide_row = "********   5    0     0.00000     0.00000     0.00000     0.00000     0.00000\n";
    const struct { const ReflectionList* list; std::optional<std::string_view> radiation; std::string expected; } cases[] = {
        {&two, {}, xray + header + rows + tail("     2", "   1", "   7", "   2", "  -3", "   0", "   0")},
        {&two, "NUC", neutron + header + rows + tail("     2", "   1", "   7", "   2", "  -3", "   0", "   0")},
        {&empty, "nuc", neutron + header + stars}, {&empty, "Nuc", "\n\n" + xray + header + stars},
        {&none, "   ", "\n\n" + xray + header + stars},
        {&wide, {}, xray + header + wide_row + tail("******", "****", "****", "   5", "****", "****", "   5")}};
    for (const auto& c : cases) EXPECT_EQ(report(*c.list, c.radiation), c.expected) << c.radiation.value_or("-");
    EXPECT_EQ(two.entries[1].spare, (std::array<float, 6>{}));
    init_reflist(two, -2);
    EXPECT_TRUE(two.reflection_count == -2 && two.entries.empty());
}

}  // namespace
