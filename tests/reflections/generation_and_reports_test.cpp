// sin(theta)/lambda and reciprocal directions in worked cells; generated
// reflections: the estimate of their number, scan orders; a list reported byte
// for byte; the reflection-condition reports of every tabulated setting (P 1,
// F d -3 m among them) byte for byte from the peer's condition numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "reflections/reflct_util.hpp"
#include "setting_groups.hpp"
#include "support/scratch_dir.hpp"
#include "support/unit_cell.hpp"
#include "text/string_util.hpp"

namespace {

using namespace vorn_reflections_utilities;
namespace su = vorn_string_utilities;

std::vector<Hkl> indices(std::span<const Reflection> r, std::int32_t n) {
    std::vector<Hkl> out;
    for (const Reflection& x : r.first(std::size_t(n))) out.push_back(x.hkl);
    return out;
}

// What a routine writes on a unit, read back.
template <class Write> std::string unit_text(Write write) {
    su::open_unit(21, "unit.txt", su::UnitAccess::write);
    write(21);
    su::close_unit(21);
    const std::string text = borq_test::read_file("unit.txt");
    std::filesystem::remove("unit.txt");  // read back, then deleted
    return text;
}

TEST(ReflectionMetrics, WorkedCells) {
    const UnitCell cubic = test_cells::unit_cell(10, 10, 10), hexagonal = test_cells::unit_cell(1, 1, 2, 90, 90, 120);
    const float r3 = std::sqrt(3.0f);
    const struct { const UnitCell* cell; Hkl h; float s; std::array<float, 3> u; } cases[] = {
        {&cubic, {1, 0, 0}, 0.05f, {1, 0, 0}}, {&cubic, {1, 1, 1}, 0.0866025f, {1 / r3, 1 / r3, 1 / r3}}, {&cubic, {0, 0, -2}, 0.1f, {0, 0, -1}},
        {&hexagonal, {1, 0, 0}, 1 / r3, {r3 / 2, 0.5f, 0}}, {&hexagonal, {1, 1, 0}, 1.0f, {0.5f, r3 / 2, 0}}};
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
    ReflectionList two{2, {{{1, 0, 2}, 4, 10.5f, 10.0f, 0.2f, 0.25f, {}}, {{-3, 7, 0}, 2, 3.0f, 5.5f, 0.0f, 0.125f, {}}}}, empty, wide;
    init_reflist(empty, 0);
    init_reflist(wide, 1);
    wide.entries[0].hkl = {10000, -1000, 5};
    wide.reflection_count = 1000000;
    const std::string wide_row = "********   5    0     0.00000     0.00000     0.00000     0.00000     0.00000\n";
    const struct { const ReflectionList* list; std::optional<std::string_view> radiation; std::string expected; } cases[] = {
        {&two, "NUC", neutron + header + rows + tail("     2", "   1", "   7", "   2", "  -3", "   0", "   0")},
        {&empty, "nuc", neutron + header + stars}, {&empty, "Nuc", "\n\n" + xray + header + stars},
        {&wide, {}, xray + header + wide_row + tail("******", "****", "****", "   5", "****", "****", "   5")}};
    for (const auto& c : cases)
        EXPECT_EQ(unit_text([&](int unit) { write_reflist_info(*c.list, unit, c.radiation); }), c.expected) << c.radiation.value_or("-");
    init_reflist(two, -2);
    EXPECT_TRUE(two.reflection_count == -2 && two.entries.empty());
}

// The estimate of the number of reflections in a shell; scan orders, the
// unsorted switch, the stored unique-axis letter and the list's capacity.
TEST(ReflectionGeneration, MaxNumRefScanOrdersAndLimits) {
    const struct { std::optional<float> s_min; std::optional<std::int32_t> mult; std::int32_t expected; } cases[] = {
        {{}, {}, 4398}, {{}, 4, 2199}, {{}, 0, 8796}, {{}, -3, 8796}, {0.5f, {}, 209}};
    for (const auto& c : cases) EXPECT_EQ(get_maxnumref(0.5f, 1000, c.s_min, c.mult), c.expected) << c.expected;

// P 1, a = 5: scan orders, index limits, a full array, spacings, the order by s.
    const UnitCell cell = test_cells::unit_cell(5, 5, 5);
    const auto p1 = setting_groups::group_of_symbol("P 1");
    std::vector<Reflection> r(300);
    std::int32_t n = 0, n_all_wide = 0;
    hkl_gen_sxtal_reflection(cell, *p1, 0.0f, 0.1f, n, r);
    EXPECT_EQ(indices(r, n), (std::vector<Hkl>{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}}));
    hkl_gen_sxtal_reflection(cell, *p1, 0.0f, 0.1f, n, r, std::array<std::int32_t, 3>{1, 2, 3});
    EXPECT_EQ(indices(r, n), (std::vector<Hkl>{{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    hkl_gen_sxtal_reflection(cell, *p1, 0.0f, 1.0f, n, r, std::nullopt, IndexLimits{{{0, 0}, {0, 0}, {1, 3}}});
    EXPECT_EQ(indices(r, n), (std::vector<Hkl>{{0, 0, 1}, {0, 0, 2}, {0, 0, 3}}));
    std::vector<Reflection> three(3, Reflection{{9, 9, 9}, 9, 9});
    hkl_gen(cell, *p1, true, 0.1f, 0.1f, n, std::span(three).first(2));  // full: the first of the scan; limits included
    EXPECT_EQ(indices(three, n), (std::vector<Hkl>{{0, 0, 1}, {0, 1, 0}}));
    hkl_uni_reflect(cell, *p1, false, 2.0f, 1.0f, "r", n, r);  // 0.25 <= s <= 0.5: half of 434 points
    EXPECT_TRUE(n == 217 && r[0].s >= 0.25f && r[std::size_t(n - 1)].s == 0.5f);
    std::vector<ReflectionEntry> entries(4);
    entries[0].f_obs = 3;
    hkl_uni_reflection(cell, *p1, true, 0.0f, 0.1f, "s", n, entries);
    EXPECT_TRUE(n == 3 && entries[0].f_obs == 3 && entries[0].multiplicity == 2 && entries[3].hkl == Hkl{});
    EXPECT_TRUE(entries[0].hkl == Hkl({0, 0, 1}) && entries[1].hkl == Hkl({0, 1, 0}) && entries[2].hkl == Hkl({1, 0, 0}));

// unsorted keeps the scan order (h slowest), which here is not the order by s.
    const std::vector<Hkl> scan{{-1, 0, 1}, {0, -1, 1}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1}, {1, -1, 0}, {1, 0, 0}, {1, 0, 1}, {1, 1, 0}};
    ReflectionList list;
    hkl_uni_refllist(cell, *p1, true, 0.0f, 0.15f, "s", 20, list, true);
    hkl_uni_reflect(cell, *p1, true, 0.0f, 0.15f, "s", n, r, true);
    EXPECT_TRUE(indices(r, n) == scan && list.reflection_count == 9 && list.entries[0].hkl == scan[0] && list.entries[8].hkl == scan[8]);

// The unique lists read the unique-axis letter as stored: " a" gets the axis-b
// bounds (k >= 0) and loses (0 -1 1); hkl_gen left-adjusts it.
    const auto p211 = setting_groups::group_of_symbol("P 2 1 1");
    auto blank_a = std::make_unique<SpaceGroup>(*p211);
    blank_a->setting_choice = " a";
    const std::vector<Hkl> axis_a{{0, -1, 1}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1}, {1, 0, 0}, {1, 0, 1}, {1, 1, 0}};
    hkl_uni_reflect(cell, *p211, true, 0.0f, 0.15f, "s", n, r, true);
    EXPECT_EQ(indices(r, n), axis_a);
    hkl_uni_reflect(cell, *blank_a, true, 0.0f, 0.15f, "s", n, r, true);
    EXPECT_EQ(indices(r, n), std::vector<Hkl>(axis_a.begin() + 1, axis_a.end()));
    hkl_gen(cell, *blank_a, true, 0.0f, 0.15f, n, r);
    EXPECT_EQ(indices(r, n), axis_a);

// hkl_gen_sxtal_list stops at the size of the box of s_max (edges 1: 3 x 3 x 3)
// even when index_limits and the metric (a = 10) hold 256 reflections.
    UnitCell small_edges = test_cells::unit_cell(10, 10, 10);
    small_edges.edges = {1, 1, 1};
    const IndexLimits wide{{{-4, 4}, {-4, 4}, {-4, 4}}};
    hkl_gen_sxtal_list(small_edges, *p1, 0.0f, 0.2f, n, list, std::nullopt, wide);
    hkl_gen_sxtal_reflection(small_edges, *p1, 0.0f, 0.2f, n_all_wide, r, std::nullopt, wide);
    EXPECT_TRUE(n == 27 && list.reflection_count == 27 && n_all_wide == 256 && list.entries[26].hkl == r[26].hkl);
}

// The search's lines with trailing blanks removed (the line after the last
// blanked); the unit form writes the same, condition lines 90 columns wide.
std::string search(const SpaceGroup& g, std::size_t expected_count) {
    std::vector<std::string> lines(80, std::string(132, 'x'));
    std::int32_t count = -1;
    search_extinctions_file(g, count, lines);
    EXPECT_TRUE(std::size_t(count) == expected_count && lines[std::size_t(count)] == std::string(132, ' '));
    std::istringstream in(unit_text([&](int u) { search_extinctions_iunit(g, u); }));
    std::string text, line;
    for (std::size_t i = 0; i < std::size_t(count); ++i) {
        text += std::string(su::trim_right(lines[i])) + "\n";
        EXPECT_TRUE(std::getline(in, line) && su::trim_right(line) == su::trim_right(lines[i])) << line;
        EXPECT_EQ(line.size(), line.starts_with("     #") ? 90u : line.size());
    }
    EXPECT_FALSE(std::getline(in, line));
    return text;
}

// One of the three reports: its title, rule and the tabulated conditions of
// the peer's numbers, or the line saying there is none.
std::string report(const std::string& title, std::size_t rule, const std::string& numbers, const char* kind) {
    std::string text = "\n  >>> " + title + "\n " + std::string(rule, '-') + "\n\n";
    if (numbers == "none") return text + "      =====>>> no " + kind + " reflection condition\n";
    std::istringstream in(numbers);
    for (std::string n; std::getline(in, n, ',');)
        text += "     #" + su::format_i(std::stoi(n), 2) + ": " + std::string(hkl_ref_conditions[std::size_t(std::stoi(n) - 1)].trimmed()) + "\n";
    return text;
}

TEST(ConditionReports, EverySettingByteForByte) {
    borq_test::ScratchDir scratch("conditions");
    for (const auto& f : tables_test::read_tsv("reflection-conditions.tsv")) {
        SCOPED_TRACE("row " + f[0] + " " + f[2]);
        EXPECT_EQ(search(*setting_groups::group_of_symbol(f[2]), std::stoul(f[6])), report("Integral reflections conditions for centred lattices:", 58, f[3], "general") +
                            report("Zonal reflections conditions for glide planes:", 51, f[4], "zonal") +
                            report("Serial reflections conditions for screw axes:", 51, f[5], "serial"));
    }
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));  // the search leaves no file behind
}

}  // namespace
