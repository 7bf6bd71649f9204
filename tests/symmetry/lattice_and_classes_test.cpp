// Lattice centring (the state a letter sets, lattice translations, closing unconventional centring lists, the
// largest conventional centring), Laue classes and point groups of small operator sets with their numbers, and
// the multiplication table with centring copies folded or kept.
#include <gtest/gtest.h>

#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
using Vectors = std::vector<Vector3>;
const float third = 1.0f / 3.0f, two_thirds = 2.0f / 3.0f;

TEST(Lattice, StateOfEachLetterAndLatticeTranslations) {
    const struct { const char* symbol; char letter; std::int32_t index, n; Vectors vectors; } cases[] = {
        {"-P", 'P', 1, 1, {}}, {" p", 'P', 1, 1, {}}, {"-P 2ac 2n", 'P', 1, 1, {}},
        {"f", 'F', 7, 4, {{0.5f, 0.5f, 0}, {0.5f, 0, 0.5f}, {0, 0.5f, 0.5f}}},
        {"R 3 2\"", 'R', 6, 3, {{0.6666667f, 0.33333334f, 0.33333334f}, {0.33333334f, 0.6666667f, 0.6666667f}}},
        {"A", 'A', 2, 2, {{0, 0.5f, 0.5f}}}, {"b", 'B', 3, 2, {{0.5f, 0, 0.5f}}},
        {"-C 2yc", 'C', 4, 2, {{0.5f, 0.5f, 0}}}, {"I", 'I', 5, 2, {{0.5f, 0.5f, 0.5f}}}};
    for (const auto& c : cases) {
        set_err_symm("stale");
        latsym(c.symbol);
        EXPECT_TRUE(!err_symm && lat_ch == c.letter && inlat == c.index) << c.symbol;
        ASSERT_EQ(nlat, c.n) << c.symbol;
        for (std::size_t j = 0; j <= c.vectors.size(); ++j) EXPECT_EQ(ltr[j], j ? c.vectors[j - 1] : Vector3{}) << j;
    }
    Vectors many(13);
    for (std::size_t j = 0; j < many.size(); ++j) many[j] = {static_cast<float>(j + 1) / 24.0f, 0, 0};
    latsym("Z", 0, {});
    EXPECT_TRUE(!err_symm && lat_ch == 'Z' && nlat == 1 && inlat == 8);
    latsym("z", 13, many);  // at most 11 besides the null one
    EXPECT_TRUE(lat_ch == 'Z' && nlat == 12 && ltr[11] == many[10]);
    latsym("Z", 5, std::span<const Vector3>(many.data(), 2));  // only what the list holds
    EXPECT_EQ(nlat, 3);
    latsym("C");
    latsym("Z");
    EXPECT_EQ(err_symm_mess, "Unconventional Lattice Symbol Z needs centring vectors");
    EXPECT_TRUE(err_symm && nlat == 1 && inlat == 4);  // the index kept from the C lattice
    latsym("Q");
    EXPECT_EQ(err_symm_mess, "Wrong Lattice Symbol Q");
    EXPECT_TRUE(lat_ch == 'Q' && nlat == 1);
    latsym("Z", 1, Vectors{{0.25f, 0.25f, 0.25f}});  // Z asks this lattice state; lower-case z is no centring letter
    const struct { Vector3 v; char letter; bool lattice; } translations[] = {
        {{1, 0, -2}, 'P', true}, {{1, 0, -2}, 'A', true}, {{1, 0, -2}, 'X', true}, {{1, 0, -2}, 'z', true},
        {{0.5f, 0.5f, 0.5f}, 'P', false}, {{0.5f, 0.5f, 0.5f}, 'i', true}, {{-0.5f, 0.5f, 1.5f}, 'A', false},
        {{-0.5f, 0.5f, 1.5f}, 'I', true}, {{0.5f, 1.0f, 0.5f}, 'b', true}, {{0.5f, -0.5f, 3.0f}, 'C', true},
        {{0.5f, 0.0f, -0.5f}, 'F', true}, {{0.5f, 0.0f, 0.0f}, 'F', false}, {{0.33333f, 0.66667f, 0.66667f}, 'R', true},
        {{-third, third, third}, 'r', true}, {{0.33333f + 2.0e-5f, 0.66667f, 0.66667f}, 'R', false},
        {{0.25f, 0.25f, 1.25f}, 'Z', true}, {{0.25f, 0.25f, 1.25f}, 'z', false}, {{0.5f, 0.5f, 0.5f}, 'Z', false}};
    for (const auto& c : translations) EXPECT_EQ(lattice_trans(c.v, c.letter), c.lattice) << c.letter << c.v[0];
    latsym("P");
    EXPECT_FALSE(lattice_trans({0.25f, 0.25f, 1.25f}, 'Z'));
}

// Combinations of the listed vectors reduced into the cell complete the list until the caller's array is full;
// a near-null listed vector combines nothing.  Then the largest conventional centring, and the centring letter.
TEST(Lattice, CentringLists) {
    const struct { Vectors given; std::size_t room; std::int32_t n; Vectors added; } cases[] = {
        {{{third, two_thirds, two_thirds}}, 11, 2, {{two_thirds, third, third}}}, {{{0.5f, 0.5f, 0}}, 11, 1, {}},
        {{{0.25f, 0.25f, 0.25f}}, 11, 3, {{0.5f, 0.5f, 0.5f}, {0.75f, 0.75f, 0.75f}}},
        {{{0.5f, 0.5f, 0}, {0, 0.5f, 0.5f}}, 11, 3, {{0.5f, 0, 0.5f}}}, {{{0.0001f, 0, 0}, {0.5f, 0.5f, 0}}, 11, 2, {}},
        {{{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}}, 11, 7, {}}, {{{1.0f / 6.0f, 0, 0}}, 2, 2, {{third, 0, 0}}},
        {{{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}}, 3, 3, {}}};
    for (const auto& c : cases) {
        Vectors v = c.given;
        v.resize(c.room);
        auto n = static_cast<std::int32_t>(c.given.size());
        get_centring_vectors(n, v);
        EXPECT_EQ(n, c.n) << c.given[0][0] << ' ' << c.room;
        for (std::size_t j = 0; j < c.added.size(); ++j)
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(v[c.given.size() + j][k], c.added[j][k], 1e-6f) << j;
    }
    const Vectors f = {{0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}};
    const Vectors r = {{two_thirds, third, third}, {third, two_thirds, two_thirds}};
    const struct { Vectors v; std::int32_t n; char largest, type; } letters[] = {
        {f, 2, 'F', 'F'}, {{{0.5f, 0.5f, 0.5f}, {0, 0.5f, 0.5f}}, 2, 'I', 'I'}, {r, 1, 'R', '?'}, {r, 2, 'R', 'R'},
        {{{0, -0.5f, 0.5f}}, 1, 'P', '?'}, {{{0, -0.5f, 0.5f}}, 0, 'P', 'P'}, {{{0.5f, 0.5f, 0}}, 1, 'C', 'C'},
        {{{0.5f, 0.5f, 0}}, 5, 'C', '?'}, {{{0, 0.5f, 0.5f}}, 1, 'A', 'A'}, {Vectors(4, {0.5f, 0.5f, 0}), 4, '?', 'Z'},
        {{{0, -0.5f, 0.5f}, {0.5f, 0.5f, 0}}, 2, '?', 'Z'}, {{{0.5f, 0.5f, 0.5f}, {0.25f, 0, 0}}, 2, '?', 'I'}};
    for (const auto& c : letters) {
        EXPECT_EQ(c.largest == '?' ? '?' : max_conv_lattice_type(c.n, c.v), c.largest) << c.n << c.v[0][0];
        EXPECT_EQ(c.type == '?' ? '?' : get_lattice_type(c.n, c.v), c.type) << c.n << c.v[0][0];
    }
}

SpaceGroup group_of(const std::vector<std::string>& texts, std::int32_t reduced, std::int32_t centre, bool hexagonal,
                    const char* lattice = "P") {
    SpaceGroup g;
    std::tie(g.hm_symbol, g.lattice_letter, g.reduced_count, g.centre_code, g.hexagonal) =
        std::make_tuple("X 1", lattice, reduced, centre, hexagonal);
    g.multiplicity = static_cast<std::int32_t>(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) read_xsym(texts[i], 1, g.operators[i].rot, g.operators[i].tr);
    return g;
}

std::string classes(const SpaceGroup& g) {
    FixedText<5> laue = "xx", pg = "yy";
    get_laue_pg(g, laue, pg);
    return std::string(laue.trimmed()) + ' ' + std::string(pg.trimmed()) + (err_symm ? err_symm_mess : "");
}

// Trigonal orientations are told by any of the equivalent twofolds, not only the first listed.
TEST(LaueClass, SmallGroupsNumbersAndCrystalSystems) {
    using T = std::vector<std::string>;
    const T p312 = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "-y,-x,-z", "-x+y,y,-z", "x,x-y,-z"},
            p312_other = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "x,x-y,-z", "-y,-x,-z", "-x+y,y,-z"},
            p321 = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "y,x,-z", "x-y,-y,-z", "-x,-x+y,-z"},
            r32 = {"x,y,z", "z,x,y", "y,z,x", "-y,-x,-z", "-x,-z,-y", "-z,-y,-x"},
            p_6_2m = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "x,y,-z", "-y,x-y,-z", "-x+y,-x,-z",
                      "x-y,-y,-z", "y,x,-z", "-x,-x+y,-z", "y,x,z", "x-y,-y,z", "-x,-x+y,z"};
    const struct { T texts; std::int32_t centre; bool hexagonal; const char* expected; } cases[] = {
        {{"x,y,z"}, 1, false, "-1 1"}, {{"x,y,z"}, 2, false, "-1 -1"}, {{"x,y,z", "-x,y,-z"}, 2, false, "2/m 2/m"},
        {{"x,y,z", "x,-y,z"}, 1, false, "2/m m"}, {p312, 1, true, "-31m 312"}, {p321, 1, true, "-3m 32"},
        {r32, 1, false, "-3m 32"}, {p312_other, 1, true, "-31m 312"}, {p312, 2, true, "-31m -31m"},
        {p321, 2, true, "-3m -3m"}, {p_6_2m, 1, true, "6/mmm -62m"},
        {{}, 1, false, "  No symmetry operators are given"}, {{"2x,y,z"}, 1, false, "  Rotation Not Determined"}};
    for (const auto& c : cases)
        EXPECT_EQ(classes(group_of(c.texts, std::ssize(c.texts), c.centre, c.hexagonal)), c.expected) << c.expected;
    FixedText<5> symbol = "keep";
    get_laue_str(17, symbol);
    EXPECT_EQ(err_symm_mess, " Laue Number Incorrect");
    get_pointgroup_str(0, symbol);
    EXPECT_EQ(err_symm_mess, " Point Group Number Incorrect");
    EXPECT_EQ(symbol, "keep");
    const struct { const char* symbol; std::int32_t laue, pg; } numbers[] = {
        {"m3m", 14, 0}, {"m3", 13, 0}, {"  -3 R", 6, 0}, {"-3m", 0, 23}, {"-6m2", 0, 33}, {"m-3m", 14, 39},
        {"5", 0, 0}};
    for (const auto& c : numbers) {
        EXPECT_EQ(get_laue_num(c.symbol), c.laue) << c.symbol;
        EXPECT_EQ(get_pointgroup_num(c.symbol), c.pg) << c.symbol;
    }
    for (std::int32_t k = 1; k <= 39; ++k) {  // every name reads back as its number
        FixedText<5> laue, pg;
        get_laue_str(std::min(k, 14), laue);
        get_pointgroup_str(k, pg);
        EXPECT_TRUE(!err_symm && get_laue_num(laue.view()) == std::min(k, 14)) << k;
        EXPECT_EQ(get_pointgroup_num(pg.view()), k);
    }
    std::int32_t number = -7;
    char letter = '?';
    get_crystal_system_r_op(1, std::vector<RotationMatrix>{RotationMatrix{}}, number, letter);
    EXPECT_EQ(err_symm_mess, " Axes rotation wrong");
    EXPECT_TRUE(number == -7 && letter == '?');
    get_crystal_system_r_op(0, {}, number, letter);
    EXPECT_TRUE(number == 1 && letter == 'a');
    get_crystal_system_r_st(3, std::vector<std::string>{"x,y,z", "-y,x-y,z", "-x+y,-x,z"}, number, letter);
    EXPECT_TRUE(number == 5 && letter == 'h');
}

TEST(MultiplicationTable, FoldedAndFullTables) {
    using Table = std::vector<std::vector<std::int32_t>>;
    const SpaceGroup c2 = group_of({"x,y,z", "-x,y,-z", "x+1/2,y+1/2,z", "-x+1/2,y+1/2,-z"}, 2, 1, false, "C");
    const struct { SpaceGroup g; bool full; Table expected; std::string message; } cases[] = {
        {group_of({"x,y,z"}, 1, 1, false), false, {{1}}, ""}, {SpaceGroup{}, false, {}, ""},
        {group_of({"x,y,z", "-x,-y,-z"}, 1, 2, false), false, {{1, 2}, {2, 1}}, ""},
        {c2, false, {{1, 2}, {2, 1}}, ""}, {c2, true, {{1, 2, 3, 4}, {2, 1, 4, 3}, {3, 4, 1, 2}, {4, 3, 2, 1}}, ""},
        // Not closed: row 1 complete, the failing element and everything after it 0.
        {group_of({"x,y,z", "-y,x,z"}, 2, 1, false), false, {{1, 2}, {2, 0}},
         " Problems constructing the multiplication Table of the space group: X 1"}};
    for (const auto& c : cases) {
        Table t;
        init_err_symm();
        set_spg_mult_table(c.g, t, c.full);
        EXPECT_EQ(t, c.expected) << c.g.multiplicity << c.full;
        EXPECT_EQ(err_symm_mess, c.message);
    }
}

}  // namespace

// A record keeps no centring translation of an earlier group beyond its own
// count: building P 1 after F m -3 m gives the same record as building it first.
TEST(LatticeState, CentringsBeyondTheCountAreNull) {
    SpaceGroup g;
    set_spacegroup("F m -3 m", g);
    set_spacegroup("P 1", g);
    EXPECT_EQ(g.centring_vectors, decltype(g.centring_vectors){});
}
