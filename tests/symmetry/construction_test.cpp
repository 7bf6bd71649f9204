// set_spacegroup resolves numbers and symbols through the settings table,
// runs the right route, completes the group by the inversion and the
// centring, and refuses what it cannot build with the system's messages.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

void expect_reset(const SpaceGroup& g, const std::string& what) {
    EXPECT_EQ(g.number, 0) << what;
    EXPECT_EQ(g.hm_symbol.trimmed(), "unknown") << what;
    EXPECT_EQ(g.hall_symbol.trimmed(), "unknown") << what;
    EXPECT_EQ(g.crystal_system.trimmed(), "unknown") << what;
    EXPECT_EQ(g.laue_class.trimmed(), "?") << what;
    EXPECT_EQ(g.centre_code, -1) << what;
    EXPECT_EQ(g.reduced_count, 0) << what;
    EXPECT_EQ(g.multiplicity, 0) << what;
    for (const auto& op : g.operators) EXPECT_EQ(op.rot, RotationMatrix{}) << what;
    EXPECT_EQ(g.asymmetric_unit[0][1], 1.0f) << what;
}

TEST(Construction, ShortMonoclinicSymbolAndNumber) {
    SpaceGroup g;
    set_spacegroup("P 21/c", g);
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(g.number, 14);
    EXPECT_EQ(g.setting_choice.trimmed(), "b1");
    EXPECT_EQ(g.setting_type.trimmed(), "IT (Generated from Hermann-Mauguin symbol)");
    EXPECT_EQ(g.generator_count, 1);
    EXPECT_EQ(g.reduced_count, 2);
    EXPECT_EQ(g.multiplicity, 4);
    EXPECT_EQ(g.hm_symbol.trimmed(), "P 21/c");
    EXPECT_EQ(g.hall_symbol.trimmed(), "-P 2ybc");
    EXPECT_EQ(g.laue_class.trimmed(), "2/m");
    EXPECT_EQ(g.point_group.trimmed(), "2/m");
    EXPECT_EQ(g.asymmetric_unit[1][1], 0.25f);
    EXPECT_EQ(g.wyckoff.orbit_count, 4);

    set_spacegroup("14", g);
    EXPECT_EQ(g.hm_symbol.trimmed(), "P 1 21/c 1");
    EXPECT_EQ(g.setting_type.trimmed(), "Generated from Hall symbol");
    EXPECT_EQ(g.multiplicity, 4);
    // The full symbol has no Wyckoff row of its own: the setting with the
    // same Hall symbol ("P 21/C") gives the positions.
    EXPECT_EQ(g.wyckoff.orbit_count, 4);
    EXPECT_EQ(g.wyckoff.orbits[0].positions[0].trimmed(), "0,0,0");
    EXPECT_EQ(g.wyckoff.orbits[0].multiplicity, 2);

    // A cubic symbol without the bar takes the positions of the barred one.
    set_spacegroup("P M 3", g);
    EXPECT_EQ(g.number, 200);
    EXPECT_EQ(g.wyckoff.orbit_count, 11);

    set_spacegroup("p 21 21 21", g);
    EXPECT_EQ(g.number, 19);
    EXPECT_EQ(g.setting_type.trimmed(), "IT (Generated from Hermann-Mauguin symbol)");
    set_spacegroup("P 21 21 21  xyz", g);  // the first 12 characters match a row
    EXPECT_EQ(g.number, 19);
}

// A CIF value with leading blanks keeps its tail: the symbol is left-adjusted
// before it is cut to 20 characters.
TEST(Construction, LeadingBlanksKeepTheSymbol) {
    SpaceGroup g;
    set_spacegroup(std::string(11, ' ') + "P 21 21 21", g);
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(g.number, 19);
    EXPECT_EQ(g.multiplicity, 4);
    EXPECT_EQ(g.hm_symbol.trimmed(), "P 21 21 21");
    // No row: the Hermann-Mauguin route reads the part before the ":".
    set_spacegroup(std::string(11, ' ') + "P 21 21 21:9", g, std::nullopt, std::nullopt, "HMS");
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(g.multiplicity, 4);
    EXPECT_EQ(g.hm_symbol.trimmed(), "P 21 21 21:9");
    EXPECT_EQ(g.number, 0);
    EXPECT_EQ(g.point_group.trimmed(), "222");
}

TEST(Construction, SettingsBuiltFromTheirHallSymbol) {
    SpaceGroup g;
    set_spacegroup("F -4 D 2", g);
    EXPECT_EQ(g.number, 122);
    EXPECT_EQ(g.setting_type.trimmed(), "Generated from Hall symbol");
    set_spacegroup("P 4/N M M:1", g);
    EXPECT_EQ(g.number, 129);
    EXPECT_EQ(g.setting_type.trimmed(), "Generated from Hall symbol");
    EXPECT_EQ(g.hm_symbol.trimmed(), "P 4/n m m:1");
    EXPECT_EQ(g.generator_count, 2);
    set_spacegroup("P 21/c", g, std::nullopt, std::nullopt, std::nullopt, true);
    EXPECT_EQ(g.setting_type.trimmed(), "Generated from Hall symbol");
    EXPECT_EQ(g.number, 14);
    set_spacegroup("R -3 C:R", g);
    EXPECT_EQ(g.hm_symbol.trimmed(), "R -3 c:r");
    EXPECT_EQ(g.lattice_symbol.trimmed(), "hP");
    EXPECT_FALSE(g.hexagonal);
}

TEST(Construction, CentreOffTheOriginNamesTheInversion) {
    SpaceGroup g;
    set_spacegroup("P N N N:1", g);
    EXPECT_EQ(g.centre_code, 0);
    EXPECT_EQ(g.centrosymmetry_text.trimmed(), "Centric (-1 not at origin)  Gen(-1):-x+1/2,-y+1/2,-z+1/2");
    EXPECT_EQ(g.multiplicity, 8);
}

TEST(Construction, TabulatedGenerators) {
    SpaceGroup g;
    set_spacegroup("P 41 21 2", g, std::nullopt, std::nullopt, "ITC");
    EXPECT_FALSE(err_symm) << err_symm_mess;
    EXPECT_EQ(g.multiplicity, 8);
    EXPECT_EQ(g.setting_type.trimmed(), "Generated from explicit IT generators");
    set_spacegroup("F m -3 m", g, std::nullopt, std::nullopt, "ITC");
    EXPECT_EQ(g.generator_count, 4);  // centrings and the inversion are no generators of the closure
    EXPECT_EQ(g.multiplicity, 192);
    // The generators of number 48 build origin choice 2; the record says so.
    set_spacegroup("48", g, std::nullopt, std::nullopt, "itc");
    EXPECT_EQ(g.setting_choice.trimmed(), "2");
    EXPECT_EQ(g.hall_symbol.trimmed(), "-P 2ab 2bc");
    EXPECT_EQ(g.hm_symbol.trimmed(), "P n n n");
    EXPECT_EQ(g.centre_code, 2);

    set_spacegroup("X 99", g, std::nullopt, std::nullopt, "ITC");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Problems in SpaceGroup: X 99 => the HM symbol or the number is incorrect ");
    expect_reset(g, "ITC X 99");
}

TEST(Construction, ErrorsLeaveTheResetRecord) {
    SpaceGroup g;
    for (const char* s : {"231", "0", "-4"}) {
        set_spacegroup(s, g);
        EXPECT_TRUE(err_symm) << s;
        EXPECT_EQ(err_symm_mess, " Number of Space Group out of limits") << s;
        expect_reset(g, s);
    }
    set_spacegroup("", g, std::nullopt, std::nullopt, "GEN");
    EXPECT_EQ(err_symm_mess, " Generators should be provided in GEN calling Set_SpaceGroup");
    expect_reset(g, "GEN");
    set_spacegroup("", g, std::nullopt, std::nullopt, "FIX");
    EXPECT_EQ(err_symm_mess, " Generators should be provided if FIX option is Used");
    expect_reset(g, "FIX");
    set_spacegroup("P 1", g, std::nullopt, std::nullopt, "XYZ");
    EXPECT_EQ(err_symm_mess, " Problems in SpaceGroup");
    expect_reset(g, "XYZ");

    // More texts asked for than given, or than the working arrays hold.
    const std::vector<std::string> two = {"-x,-y,z", "x,y,-z"};
    set_spacegroup("", g, two, 3, "GEN");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " The number of operators exceeds the list given or 48");
    expect_reset(g, "num_gen 3");
    const std::vector<std::string> many(49, "x,y,z");
    set_spacegroup("", g, many, 49, "FIX");
    EXPECT_TRUE(err_symm);
    expect_reset(g, "num_gen 49");
}

// A failed route: its results and the row are copied, nothing else; a route
// that failed before it knew the crystal system leaves the names unset.
TEST(Construction, FailedRoute) {
    SpaceGroup g;
    set_spacegroup("Q 2", g);  // no row; read as a Hall symbol
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " IBRAVL is Equal Zero");
    EXPECT_EQ(g.crystal_system.trimmed(), "unknown");
    EXPECT_EQ(g.bravais_lattice.trimmed(), "?");
    EXPECT_EQ(g.hm_symbol.trimmed(), "unknown");
    EXPECT_EQ(g.hall_symbol.trimmed(), "Q 2");
    EXPECT_EQ(g.setting_type.trimmed(), "Generated from Hall symbol");
    EXPECT_EQ(g.multiplicity, 0);
    EXPECT_EQ(g.operator_symbols[0].trimmed(), "?");

    set_spacegroup("P 2 -", g);
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, "");
}

// A malformed operator text stops the construction with the reader's
// message instead of building another group.
TEST(Construction, MalformedGeneratorText) {
    SpaceGroup g;
    set_spacegroup("", g, std::vector<std::string>{"-x,-y,z+1/2q"}, 1, "GEN");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Invalid character... q in operator string");
    EXPECT_EQ(g.multiplicity, 0);
    set_spacegroup("", g, std::vector<std::string>{"x,y,z", "-x,-y"}, 2, "FIX");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Blank operator field");
    EXPECT_EQ(g.multiplicity, 0);
}

// A lattice that the rotations do not keep, or generators whose products
// leave the set, give no group: refused, with no operators stored.
TEST(Construction, OperatorsThatFormNoGroup) {
    SpaceGroup g;
    const bool previous_hexa = hexa;
    set_spacegroup("B 63", g, std::nullopt, std::nullopt, "HMS");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Wrong space-group symbol: B 63" + std::string(16, ' '));
    EXPECT_EQ(g.multiplicity, 0);
    EXPECT_EQ(g.operators[1].rot, RotationMatrix{});
    EXPECT_EQ(hexa, previous_hexa);
    set_spacegroup("-C 4Y", g);
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, "");
    EXPECT_EQ(g.multiplicity, 0);
    set_spacegroup("", g, std::vector<std::string>{"-y,x,z", "x+1/2,y,z"}, 2, "GEN");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " The generators do not form a space group");
    EXPECT_EQ(g.multiplicity, 0);
    // The same lattice with a rotation that keeps it is a group.
    set_spacegroup("", g, std::vector<std::string>{"-x,-y,z", "x+1/2,y,z"}, 2, "GEN");
    EXPECT_FALSE(err_symm) << err_symm_mess;
    EXPECT_EQ(g.multiplicity, 4);
}

TEST(Construction, UserGenerators) {
    SpaceGroup g;
    set_spacegroup("", g, std::vector<std::string>{"x+1/2,y+1/2,z", "-x,y,-z", "-x,-y,-z"}, 3, "GEN");
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(g.setting_type.trimmed(), "Non-Conventional (user-given operators)");
    EXPECT_EQ(g.lattice_letter.trimmed(), "C");
    EXPECT_EQ(g.multiplicity, 8);
    EXPECT_EQ(g.generator_count, 1);
    EXPECT_EQ(g.point_group.trimmed(), "2/m");
    EXPECT_EQ(g.wyckoff.orbit_count, 0);
    EXPECT_EQ(g.hm_symbol.trimmed(), "unknown");
}

// Eight centring translations on a cubic group would need 384 operators:
// an error, and the record holds the operators that fit.
TEST(Construction, CentringCopiesBeyondTheRecord) {
    SpaceGroup g;
    const std::vector<std::string> gens = {"x+1/2,y,z", "x,y+1/2,z", "x,y,z+1/2", "-x,-y,z", "-x,y,-z",
                                           "z,x,y",     "y,x,-z",   "-x,-y,-z"};
    set_spacegroup("", g, gens, static_cast<std::int32_t>(gens.size()), "GEN");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Dimension of Table exceeded: more than 192 operators");
    EXPECT_EQ(g.centring_count, 8);
    EXPECT_EQ(g.multiplicity, 192);
    EXPECT_NE(g.operator_symbols[191].trimmed(), "?");
}

TEST(Construction, OperatorLayoutOfTheRecord) {
    SpaceGroup g;
    set_spacegroup("I 41/a m d", g);
    ASSERT_EQ(g.reduced_count, 8);
    ASSERT_EQ(g.multiplicity, 32);
    for (int i = 0; i < 8; ++i) {
        const SymmetryOperator& op = g.operators[i];
        const SymmetryOperator& image = g.operators[8 + i];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(image.rot[r][c], -op.rot[r][c]);
        Vector3 minus{-op.tr[0], -op.tr[1], -op.tr[2]};
        EXPECT_EQ(image.tr, vorn_math_general::modulo_lat(minus)) << i;
    }
    for (int j = 0; j < 16; ++j) {
        const SymmetryOperator& op = g.operators[j];
        const SymmetryOperator& copy = g.operators[16 + j];
        EXPECT_EQ(copy.rot, op.rot);
        Vector3 shifted{op.tr[0] + 0.5f, op.tr[1] + 0.5f, op.tr[2] + 0.5f};
        EXPECT_EQ(copy.tr, vorn_math_general::modulo_lat(shifted)) << j;
    }
    EXPECT_EQ(g.operator_symbols[0].trimmed(), "x,y,z");
    EXPECT_EQ(g.operator_symbols[32].trimmed(), "?");

    set_spacegroup("F m -3 m", g);
    EXPECT_EQ(g.reduced_count, 24);
    EXPECT_EQ(g.centring_count, 4);
    EXPECT_EQ(g.multiplicity, 192);
    std::set<std::string> texts;
    for (const auto& t : g.operator_symbols) texts.insert(t.str());
    EXPECT_EQ(texts.size(), 192u);
}

TEST(Construction, HexagonalAxes) {
    const std::vector<RotationMatrix> three = {RotationMatrix{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
                                               RotationMatrix{{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}}};
    EXPECT_TRUE(is_hexa(2, three));
    const std::vector<RotationMatrix> six = {RotationMatrix{}, RotationMatrix{{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}}};
    EXPECT_TRUE(is_hexa(2, six));
    const std::vector<RotationMatrix> cubic = {RotationMatrix{}, RotationMatrix{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}}};
    EXPECT_FALSE(is_hexa(2, cubic));
    EXPECT_FALSE(is_hexa(1, three));  // operator 1 is not examined
    EXPECT_FALSE(is_hexa(0, three));

    SpaceGroup g;
    for (const char* s : {"P 6/m m m", "R 3", "P 3 1 c"}) {
        set_spacegroup(s, g);
        EXPECT_TRUE(g.hexagonal) << s;
        EXPECT_TRUE(hexa) << s;
    }
    for (const char* s : {"R 3:R", "P 21 21 21", "F m -3 m"}) {
        set_spacegroup(s, g);
        EXPECT_FALSE(g.hexagonal) << s;
        EXPECT_FALSE(hexa) << s;
    }
}

}  // namespace
