// The sound behaviour built where the described one fails: one row per
// decision, each with the input that triggers it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "reflections/reflct_util.hpp"
#include "setting_groups.hpp"
#include "support/hand_built_groups.hpp"
#include "support/scratch_dir.hpp"
#include "support/unit_cell.hpp"

namespace {

using namespace vorn_reflections_utilities;
using setting_groups::group_of_symbol;

TEST(Decisions, EachWithItsTrigger) {
    borq_test::ScratchDir scratch("decisions");
    const auto fd3m_1 = group_of_symbol("F d -3 m:1"), fd3m_2 = group_of_symbol("F d -3 m"), p121 = group_of_symbol("P 1 2 1");
    const auto r3r = group_of_symbol("R 3:R"), fm3m = group_of_symbol("F m -3 m"), p1 = group_of_symbol("P 1");
    const auto trigonal0 = hand_built::group_from(0, "x", "-31m", " ", {"-y,x-y,z", "-y,-x,-z"});
    const SpaceGroup unbuilt;
    const UnitCell cell = test_cells::unit_cell(10, 10, 10);
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const auto any_negative_l = [&](const SpaceGroup& g, const UnitCell& c) {
        std::vector<Reflection> r(5000);
        std::int32_t n = 0;
        hkl_uni_reflect(c, g, true, 0.0f, 0.2f, "s", n, r);
        return std::any_of(r.begin(), r.begin() + n, [](const Reflection& x) { return x.hkl[2] < 0; });
    };
    const auto list_of = [](const SpaceGroup& g, Hkl h, std::size_t size) {
        std::vector<Hkl> list(size, Hkl{9, 9, 9});
        std::int32_t mult = 0;
        hkl_equiv_listi(h, g, false, mult, list);
        list.push_back({mult, 0, 0});
        return list;
    };
    Hkl image{};
    float phase = -1;
    hkl_rpi({21, 0, 0}, 0.0f, {hand_built::rotation_of("x,y,z"), {0.5f, 0, 0}}, image, phase);
    // Generation refused: a loop order not a permutation, a non-finite limit or
    // edge, an index bound beyond 32 bits, a spacing 0.
    std::vector<Reflection> r(5000);
    std::int32_t n_order = -1, n_nan = 0, n_finite = 0, n_inf = -1, n_big = -1, n_spacing = -1;
    hkl_gen_sxtal_reflection(cell, *p1, 0, 0.2f, n_order, r, std::array<std::int32_t, 3>{1, 1, 3});
    // A NaN or infinite limit in either place empties every list; the finite
    // limit alone holds the 3 reflections of s = 0.1 (d = 5) in each list.
    const std::tuple<float, float, const char*> limits[] = {{0.1f, nan, "s"}, {nan, 0.1f, "s"}, {inf, 0.1f, "s"},
        {5.0f, nan, "r"}, {nan, 5.0f, "r"}, {0.1f, 0.1f, "s"}, {5.0f, 5.0f, "r"}};
    for (const auto& [first, second, kind] : limits) {
        std::int32_t n = 0, n_uni = 0, n_entries = 0;
        std::vector<ReflectionEntry> entries(10);
        ReflectionList list;
        if (kind[0] == 's') hkl_gen(cell, *p1, true, first, second, n, r);
        hkl_uni_reflect(cell, *p1, true, first, second, kind, n_uni, r);
        hkl_uni_reflection(cell, *p1, true, first, second, kind, n_entries, entries);
        hkl_uni_refllist(cell, *p1, true, first, second, kind, 10, list);
        (std::isfinite(first + second) ? n_finite : n_nan) += n + n_uni + n_entries + list.reflection_count;
    }
    hkl_gen(test_cells::unit_cell(inf, 10, 10), *p1, true, 0, 0.2f, n_inf, r);
    hkl_gen_sxtal_reflection(test_cells::unit_cell(1e10, 10, 10), *p1, 0, 0.2f, n_big, r);
    hkl_uni_reflect(cell, *p1, true, 0, 2, "r", n_spacing, r);
    ReflectionList negative, fm3m_list;
    hkl_uni_refllist(cell, *p1, true, 0.0f, 0.2f, "s", -5, negative);
    std::int32_t n_fm3m = 0;
    hkl_gen_sxtal_list(test_cells::unit_cell(120, 120, 120), *fm3m, 0.0f, 0.05f, n_fm3m, fm3m_list);
    // Reports: a user's file of the old temporary name, a kept error flag, too few lines.
    scratch.write("search_extin_xyx.tmp", "a user's file\n");
    err_refl = true;
    std::vector<std::string> lines(80, std::string(90, ' ')), three(3, "old");
    std::int32_t n_lines = 0, n_three = 0;
    search_extinctions_file(*p1, n_lines, lines);
    const bool flag_kept = err_refl;
    init_err_refl();
    search_extinctions_file(*p1, n_three, three);
    integral_conditions(*p1, 77);  // a unit that is not open
    const struct { const char* decision; bool holds; } cases[] = {
        {"centre off the origin is centric: F d -3 m :1 as :2",
         hkl_multi({1, 2, 3}, *fd3m_1, false) == 48 && hkl_multi({1, 1, 1}, *fd3m_1, false) == hkl_multi({1, 1, 1}, *fd3m_2, false) &&
             hkl_equivi({1, 2, 3}, {-1, -2, -3}, *fd3m_1)},
        {"centric reflection doubled in P 1 2 1: (1 0 3) and its list",
         list_of(*p121, {1, 0, 3}, 4) == std::vector<Hkl>{{1, 0, 3}, {-1, 0, -3}, {0, 0, 0}, {0, 0, 0}, {2, 0, 0}}},
        {"000 keeps 1 without Friedel's law in an acentric group", hkl_multi({0, 0, 0}, *p121, false) == 1},
        {"short list: filled to its size, true count", list_of(*fd3m_2, {1, 2, 3}, 2) == std::vector<Hkl>{{1, 2, 3}, {1, -2, -3}, {48, 0, 0}}},
        {"reduced_count 0: one column, count 1", list_of(unbuilt, {1, 2, 3}, 1) == std::vector<Hkl>{{1, 2, 3}, {1, 0, 0}}},
        {"phase beyond ten turns: 21 0 0, t = 1/2, phase 0 gives 180", phase == 180.0f},
        {"R 3:R rule on obverse indices", asu_hkl({-1, 0, 1}, *r3r) == Hkl{1, 0, -1} && asu_hkl({1, -1, 0}, *r3r) == Hkl{0, 0, 0}},
        {"R 3:R scans the whole box", any_negative_l(*r3r, cell)},
        {"-31m rule of number 0 scans l < 0", any_negative_l(*trigonal0, test_cells::unit_cell(10, 10, 10, 90, 90, 120))},
        {"loop order not a permutation gives nothing", n_order == 0},
        {"non-finite limit in either place gives nothing", n_nan == 0 && n_finite == 4 * 3 + 3 * 3},
        {"non-finite edge gives nothing", n_inf == 0}, {"index bound beyond 32 bits gives nothing", n_big == 0},
        {"spacing 0 gives nothing", n_spacing == 0},
        {"negative capacity counts as 0", negative.reflection_count == 0 && negative.entries.empty()},
        {"whole box never allocated: F m -3 m a = 120", n_fm3m == 1836 && fm3m_list.entries.capacity() < 27u * 27u * 27u},
        {"get_maxnumref in 64 bits, clamped, NaN 0",
         get_maxnumref(1.0f, 1e9f) == std::numeric_limits<std::int32_t>::max() && get_maxnumref(1.0f, 1e9f, {}, 100) == 703716722 &&
             get_maxnumref(nan, 1000) == 0},
        {"condition table filled from the start", hkl_ref_conditions[0].trimmed() == "(h k l)    h+k=2n : xy0 centred face (C)"},
        {"error flag not cleared at entry", flag_kept && n_lines == 15},
        {"no temporary file: the user's file untouched", borq_test::read_file(scratch.path() / "search_extin_xyx.tmp") == "a user's file\n"},
        {"more lines than elements: three kept, error pair set",
         n_three == 3 && err_refl && err_refl_mess == " More report lines than elements in REPORT_LINES" && three[1] == "  >"}};
    for (const auto& c : cases) EXPECT_TRUE(c.holds) << c.decision;
}

}  // namespace
