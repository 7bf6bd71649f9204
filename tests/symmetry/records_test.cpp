// The space-group record: the reset state every construction starts from,
// and the module error pair.
#include <gtest/gtest.h>

#include "symmetry/symmetry.hpp"

namespace sym = vorn_crystallographic_symmetry;

TEST(SpaceGroupRecord, ResetState) {
    sym::SpaceGroup g;
    g.number = 14;
    g.hm_symbol = "P 21/c";
    g.operators[5].rot[1][1] = 1;
    g.operator_symbols[191] = "x,y,z";
    g.wyckoff.orbits[25].positions[47] = "x,1/4,1/4";
    g.asymmetric_unit[2][1] = 0.5f;
    sym::reset_spacegroup(g);
    EXPECT_EQ(g.number, 0);
    EXPECT_EQ(g.hm_symbol.str(), "unknown" + std::string(13, ' '));
    EXPECT_EQ(g.hall_symbol, "unknown");
    EXPECT_EQ(g.crystal_system, "unknown");
    for (const auto* t : {&g.laue_class, &g.point_group, &g.setting_choice}) EXPECT_EQ(*t, "?");
    EXPECT_EQ(g.setting_type, "?");
    EXPECT_FALSE(g.hexagonal);
    EXPECT_EQ(g.lattice_letter, "?");
    EXPECT_EQ(g.lattice_symbol, "?");
    EXPECT_EQ(g.bravais_lattice, "?");
    EXPECT_EQ(g.centrosymmetry_text, "?");
    EXPECT_EQ(g.centre_code, -1);
    EXPECT_EQ(g.centring_count, 0);
    EXPECT_EQ(g.reduced_count, 0);
    EXPECT_EQ(g.multiplicity, 0);
    EXPECT_EQ(g.generator_count, 0);
    for (const auto& v : g.centring_vectors) EXPECT_EQ(v, (sym::Vector3{0, 0, 0}));
    EXPECT_EQ(g.centre_coordinates, (sym::Vector3{0, 0, 0}));
    for (const auto& op : g.operators) {
        EXPECT_EQ(op.rot, sym::RotationMatrix{});  // the zero matrix, not the identity
        EXPECT_EQ(op.tr, (sym::Vector3{0, 0, 0}));
    }
    for (const auto& s : g.operator_symbols) EXPECT_EQ(s.str(), "?" + std::string(39, ' '));
    EXPECT_EQ(g.wyckoff.orbit_count, 0);
    for (const auto& o : g.wyckoff.orbits) {
        EXPECT_EQ(o.multiplicity, 0);
        EXPECT_EQ(o.position_count, 0);
        EXPECT_TRUE(o.site.blank());
        EXPECT_TRUE(o.representative.blank());
        for (const auto& p : o.positions) EXPECT_TRUE(p.blank());
    }
    for (const auto& axis : g.asymmetric_unit) {
        EXPECT_EQ(axis[0], 0.0f);
        EXPECT_EQ(axis[1], 1.0f);
    }
    EXPECT_EQ(sym::max_operators, 192u);
    EXPECT_EQ(g.operators.size(), 192u);
    EXPECT_EQ(g.wyckoff.orbits.size(), 26u);
    EXPECT_EQ(g.centring_vectors.size(), 12u);
}

TEST(SpaceGroupRecord, ErrorPair) {
    sym::set_err_symm(" Something failed ");
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, " Something failed ");  // kept exactly, trailing blank included
    sym::init_err_symm();
    EXPECT_FALSE(sym::err_symm);
    EXPECT_TRUE(sym::err_symm_mess.find_first_not_of(" ") == std::string::npos);
    sym::set_err_symm(std::string(200, 'e'));
    EXPECT_EQ(sym::err_symm_mess.size(), 150u);
    sym::init_err_symm();
}
