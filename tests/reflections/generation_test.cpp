// Generated reflections: the peer's unique and total counts of a shell for all
// 611 settings, the worked estimate of their number, and scan orders.
#include <gtest/gtest.h>

#include <set>

#include "reflections/reflct_util.hpp"
#include "setting_groups.hpp"
#include "support/hand_built_groups.hpp"
#include "support/unit_cell.hpp"

namespace {

using namespace vorn_reflections_utilities;

std::vector<Hkl> indices(std::span<const Reflection> r, std::int32_t n) {
    std::vector<Hkl> v;
    for (std::int32_t i = 0; i < n; ++i) v.push_back(r[std::size_t(i)].hkl);
    return v;
}

// Every setting: the unique list (limits in either order) has the peer's
// length, Friedel multiplicities summing to the peer's total, distinct keys
// and ascending s; hkl_gen finds the same set, the long records and the list
// the same sequence, and the single-crystal generator every reflection.
TEST(UniqueListCounts, EverySetting) {
    std::vector<Reflection> unique(6000), generated(6000), all(12000);
    std::vector<ReflectionEntry> entries(6000);
    for (const auto& f : tables_test::read_tsv("unique-list-counts.tsv")) {
        SCOPED_TRACE("row " + f[0] + " " + f[1]);
        const auto g = setting_groups::group_of_symbol(f[1]);
        const UnitCell cell = test_cells::unit_cell(std::stod(f[2]), std::stod(f[3]), std::stod(f[4]), std::stod(f[5]), std::stod(f[6]), std::stod(f[7]));
        const float s_min = std::stof(f[8]), s_max = std::stof(f[9]);
        std::int32_t n = 0, n_gen = 0, n_entries = 0, n_all = 0, total = 0;
        hkl_uni_reflect(cell, *g, true, s_max, s_min, "s", n, unique);
        ASSERT_EQ(n, std::stoi(f[10]));
        std::set<Hkl> keys;
        for (std::size_t i = 0; i < std::size_t(n); ++i) {
            total += unique[i].multiplicity;
            EXPECT_TRUE(keys.insert(get_hequiv_asu(unique[i].hkl, *g)).second);
            EXPECT_TRUE(unique[i].s >= (i ? unique[i - 1].s : s_min) && unique[i].s <= s_max);
        }
        EXPECT_EQ(total, std::stoi(f[11]));
        hkl_gen(cell, *g, true, s_min, s_max, n_gen, generated);
        const auto found = indices(unique, n), gen = indices(generated, n_gen);
        EXPECT_EQ(std::set<Hkl>(gen.begin(), gen.end()), std::set<Hkl>(found.begin(), found.end()));
        ReflectionList list;
        hkl_uni_reflection(cell, *g, true, s_min, s_max, "S", n_entries, entries);
        hkl_uni_refllist(cell, *g, true, s_min, s_max, "s", 6000, list);
        ASSERT_TRUE(n_entries == n && list.reflection_count == n && list.entries.size() == std::size_t(n));
        for (std::size_t i = 0; i < std::size_t(n); ++i)
            EXPECT_TRUE(entries[i].hkl == found[i] && list.entries[i].hkl == found[i] && list.entries[i].s == unique[i].s);
        hkl_gen_sxtal_reflection(cell, *g, s_min, s_max, n_all, all);
        EXPECT_EQ(n_all, std::stoi(f[11]));
    }
}

TEST(ReflectionGeneration, MaxNumRef) {
    const struct { std::optional<float> s_min; std::optional<std::int32_t> mult; std::int32_t expected; } cases[] = {
        {{}, {}, 4398}, {{}, 4, 2199}, {{}, 0, 8796}, {{}, -3, 8796}, {0.5f, {}, 209}};
    for (const auto& c : cases) EXPECT_EQ(get_maxnumref(0.5f, 1000, c.s_min, c.mult), c.expected) << c.expected;
}

// P 1, a = 5: scan orders, index limits, a full array, spacings, the order by s.
TEST(ReflectionGeneration, ScanOrdersAndLimits) {
    const UnitCell cell = test_cells::unit_cell(5, 5, 5);
    const auto p1 = hand_built::group_from(1, "P 1", "-1", " ", {});
    std::vector<Reflection> r(300);
    std::int32_t n = 0;
    const std::vector<Hkl> axes{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    hkl_gen_sxtal_reflection(cell, *p1, 0.0f, 0.1f, n, r);
    EXPECT_EQ(indices(r, n), axes);
    hkl_gen_sxtal_reflection(cell, *p1, 0.0f, 0.1f, n, r, std::array<std::int32_t, 3>{1, 2, 3});
    EXPECT_EQ(indices(r, n), (std::vector<Hkl>{{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    hkl_gen_sxtal_reflection(cell, *p1, 0.0f, 1.0f, n, r, std::nullopt, IndexLimits{{{0, 0}, {0, 0}, {1, 3}}});
    EXPECT_EQ(indices(r, n), (std::vector<Hkl>{{0, 0, 1}, {0, 0, 2}, {0, 0, 3}}));
    std::vector<Reflection> three(3, Reflection{{9, 9, 9}, 9, 9});
    hkl_gen(cell, *p1, true, 0.1f, 0.1f, n, std::span(three).first(2));  // full: the first of the scan; limits included
    EXPECT_EQ(indices(three, n), (std::vector<Hkl>{{0, 0, 1}, {0, 1, 0}}));
    EXPECT_EQ(three[0].multiplicity + three[2].multiplicity, 2 + 9);
    ReflectionList list;
    hkl_gen_sxtal_list(cell, *p1, 0.0f, 0.1f, n, list);
    EXPECT_TRUE(n == 6 && list.reflection_count == 6 && list.entries[5].hkl == axes[5]);
    hkl_uni_reflect(cell, *p1, false, 2.0f, 1.0f, "r", n, r);  // 0.25 <= s <= 0.5: half of 434 points
    EXPECT_TRUE(n == 217 && r[0].s >= 0.25f && r[std::size_t(n - 1)].s == 0.5f);
    hkl_uni_reflect(cell, *p1, false, 0.0f, 0.1f, "s", n, r, true);  // scan order
    EXPECT_EQ(indices(r, n), (std::vector<Hkl>{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}));
    std::vector<ReflectionEntry> entries(4);
    entries[0].f_obs = 3;
    hkl_uni_reflection(cell, *p1, true, 0.0f, 0.1f, "s", n, entries);
    EXPECT_TRUE(n == 3 && entries[0].f_obs == 3 && entries[0].multiplicity == 2 && entries[3].hkl == Hkl{});
}

}  // namespace
