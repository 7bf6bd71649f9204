// A complete operator list is kept as given: only the lattice, the centre of
// symmetry and the crystal system are read from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

struct FixResult {
    std::int32_t system = -1, centre_code = -1, lattice = -1;
    FixedText<2> bravais;
    Vector3 centre{};
    char letter = '?';
};

FixResult fix(const std::vector<std::string>& ops) {
    std::array<RotationMatrix, 48> rotations{};
    std::array<Vector3, 48> translations{};
    for (std::size_t k = 0; k < ops.size(); ++k) read_xsym(ops[k], 1, rotations[k], translations[k]);
    FixResult r;
    get_so_from_fix(r.system, r.centre_code, r.lattice, static_cast<std::int32_t>(ops.size()), rotations, translations,
                    r.bravais, r.centre, r.letter);
    return r;
}

TEST(FullListRoute, LatticeCentreAndSystem) {
    FixResult r = fix({"x,y,z", "-x,-y,z", "x+1/2,y+1/2,z", "-x+1/2,-y+1/2,z"});
    EXPECT_EQ(r.letter, 'C');
    EXPECT_EQ(r.lattice, 4);
    EXPECT_EQ(r.centre_code, 1);
    EXPECT_EQ(r.bravais.trimmed(), "mC");
    EXPECT_EQ(r.system, 2);

    EXPECT_EQ(fix({"x,y,z", "-x,-y,-z"}).centre_code, 2);
    r = fix({"x,y,z", "-x+1/2,-y+1/2,-z"});
    EXPECT_EQ(r.centre_code, 0);
    EXPECT_EQ(r.centre, (Vector3{0.25f, 0.25f, 0.0f}));

    // A translation written x-1/2,y-1/2,z matches no conventional vector.
    r = fix({"x,y,z", "x-1/2,y-1/2,z"});
    EXPECT_EQ(r.letter, 'Z');
    EXPECT_EQ(nlat, 2);
    EXPECT_EQ(ltr[1], (Vector3{-0.5f, -0.5f, 0.0f}));

    r = fix({"x,y,z", "-x,y,-z", "x,-y,z", "-x,-y,-z"});
    EXPECT_EQ(r.letter, 'P');
    EXPECT_EQ(r.bravais.trimmed(), "mP");
}

TEST(FullListRoute, TheListIsStoredUnchanged) {
    const std::vector<std::string> ops = {"x,y,z", "-x,y+1/2,-z+1/2", "-x,-y,-z", "x,-y+1/2,z+1/2"};
    SpaceGroup g;
    set_spacegroup("anything", g, ops, 4, "FIX");
    EXPECT_FALSE(err_symm) << err_symm_mess;
    EXPECT_EQ(g.reduced_count, 4);
    EXPECT_EQ(g.multiplicity, 4);
    EXPECT_EQ(g.generator_count, 3);
    EXPECT_EQ(g.number, 0);
    EXPECT_EQ(g.hm_symbol.trimmed(), "unknown");
    EXPECT_EQ(g.setting_type.trimmed(), "Non-Conventional (user-given operators)");
    EXPECT_EQ(g.laue_class.trimmed(), "2/m");
    for (int k = 0; k < 4; ++k) EXPECT_EQ(g.operator_symbols[k].trimmed(), ops[k]);
    EXPECT_EQ(g.operator_symbols[4].trimmed(), "?");
}

}  // namespace
