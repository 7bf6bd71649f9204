// Generators close into the reduced list of their group: pure translations
// give the centring, inversions the centre of symmetry, and an inversion that
// only the products reveal leaves one operator of each pair {g, -1.g}.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

struct GenResult {
    std::int32_t system = -1, centre_code = -1, lattice = -1, count = -1, generators = -1;
    std::array<RotationMatrix, 48> rotations{};
    std::array<Vector3, 48> translations{};
    FixedText<2> bravais;
    Vector3 centre{};
    char letter = '?';
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (int k = 0; k < count; ++k) t.push_back(get_symsymbi(rotations[k], translations[k]));
        return t;
    }
};

GenResult gener(const std::vector<std::string>& ops) {
    GenResult r;
    for (std::size_t k = 0; k < ops.size(); ++k) read_xsym(ops[k], 1, r.rotations[k], r.translations[k]);
    r.count = static_cast<std::int32_t>(ops.size());
    get_so_from_gener(r.system, r.centre_code, r.lattice, r.count, r.rotations, r.translations, r.bravais, r.centre,
                      r.generators, r.letter);
    return r;
}

TEST(GeneratorRoute, PureTranslationsNameTheLattice) {
    GenResult r = gener({"-x,-y,z", "x,y,z+1/2"});
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(r.letter, 'Z');
    EXPECT_EQ(r.lattice, 8);
    EXPECT_EQ(r.texts(), (std::vector<std::string>{"x,y,z", "-x,-y,z"}));
    EXPECT_EQ(nlat, 2);
    EXPECT_EQ(ltr[1], (Vector3{0.0f, 0.0f, 0.5f}));

    r = gener({"x+1/2,y+1/2,z", "-x,y,-z"});
    EXPECT_EQ(r.lattice, 4);
    EXPECT_EQ(r.bravais.trimmed(), "mC");
    EXPECT_EQ(r.generators, 1);
    EXPECT_EQ(r.texts(), (std::vector<std::string>{"x,y,z", "-x,y,-z"}));

    // Two generators with the same rotation leave their difference.
    r = gener({"-x,-y,z+1/4", "-x,-y,z+3/4"});
    EXPECT_EQ(r.letter, 'Z');
    EXPECT_EQ(ltr[1], (Vector3{0.0f, 0.0f, 0.5f}));

    // A and C together make F.
    r = gener({"x,y+1/2,z+1/2", "x+1/2,y+1/2,z"});
    EXPECT_EQ(r.letter, 'F');
    EXPECT_EQ(r.count, 1);
}

TEST(GeneratorRoute, InversionsGiveTheCentre) {
    GenResult r = gener({"-x,-y,-z", "-x,-y,z"});
    EXPECT_EQ(r.centre_code, 2);
    EXPECT_EQ(r.centre, (Vector3{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(r.count, 2);
    r = gener({"-x+1/2,-y,-z", "-x,-y,z"});
    EXPECT_EQ(r.centre_code, 0);
    EXPECT_EQ(r.centre, (Vector3{0.25f, 0.0f, 0.0f}));
    // Opposite rotations: the second becomes the inversion.
    r = gener({"-x,-y,z", "x,y,-z"});
    EXPECT_EQ(r.centre_code, 2);
    EXPECT_EQ(r.texts(), (std::vector<std::string>{"x,y,z", "-x,-y,z"}));
    r = gener({"-x,-y,z+1/4", "x,y,-z+1/4"});
    EXPECT_EQ(r.centre_code, 0);
    EXPECT_EQ(r.centre, (Vector3{0.0f, 0.0f, 0.25f}));
}

// When -1 arises only from the products, one operator of each pair {g, -1.g}
// is kept, in table order, so that the inversion images complete the group.
TEST(GeneratorRoute, InversionFromProducts) {
    const GenResult r = gener({"-y,x,z", "x,y,-z"});
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.centre_code, 2);
    std::set<std::string> rotations;
    for (int k = 0; k < r.count; ++k) {
        RotationMatrix minus = r.rotations[k];
        for (auto& row : minus)
            for (auto& v : row) v = -v;
        for (int q = 0; q < r.count; ++q) EXPECT_NE(r.rotations[q], minus) << k << " and " << q;
        rotations.insert(get_symsymbi(r.rotations[k], Vector3{}));
    }
    EXPECT_EQ(rotations.size(), 4u);
    SpaceGroup g;
    set_spacegroup("", g, std::vector<std::string>{"-y,x,z", "x,y,-z"}, 2, "GEN");
    EXPECT_EQ(g.multiplicity, 8);
    std::set<std::string> all;
    for (int k = 0; k < 8; ++k) all.insert(g.operator_symbols[k].str());
    EXPECT_EQ(all.size(), 8u);
    EXPECT_EQ(g.point_group.trimmed(), "4/m");
}

TEST(GeneratorRoute, NoGeneratorsAndCapacity) {
    GenResult r = gener({});
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.letter, 'P');
    EXPECT_EQ(r.texts(), std::vector<std::string>{"x,y,z"});

    // Twelve pure translations: the list stops at its 11 places.
    std::vector<std::string> many;
    for (int k = 1; k <= 12; ++k) many.push_back("x+" + std::to_string(k) + "/13,y,z");
    r = gener(many);
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(r.letter, 'Z');
    EXPECT_EQ(nlat, 12);

    // A fourfold, the threefold along [111] and a mirror need more than 24
    // operators without the inversion.
    r = gener({"-y,x,z", "z,x,y", "x,y,-z", "x,-y,z"});
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Dimension of Table exceeded (II)");

    // More distinct generators than the table holds.
    r = gener({"-x,-y,z", "-x,y,-z", "z,x,y",   "y,x,-z", "x,y,-z",  "-y,x,z", "-y,x-y,z", "x-y,x,z", "y,z,x",
               "-z,-x,y", "z,-x,-y", "-z,x,-y", "x,z,y",  "z,y,x",   "-x,z,y", "y,-x,z", "x,-z,y",   "-y,-x,z",
               "x,z,-y",  "z,-y,x",  "-z,y,x",  "y,-z,-x", "-y,z,-x", "y,x,z",  "-x,-z,-y", "z,x,-y"});
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Dimension of Table exceeded (I)");
}

}  // namespace
