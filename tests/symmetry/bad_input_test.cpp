// Malformed operator texts and generators that describe no space group are
// refused with the module's messages; what the readers accept, the writer
// spells so that it reads back.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

// Projections (rows without any coordinate) are written "0" and read back.
TEST(BadOperatorInput, NullRowWrittenAsZero) {
    struct Case {
        const char* text;
        const char* written;
    };
    for (const Case& c : {Case{"x,0,z", "x,0,z"}, Case{"0,0,0", "0,0,0"}, Case{"-y,x,0", "-y,x,0"},
                          Case{"0,y,1/2", "0,y,1/2"}, Case{"x,y,z+1", "x,y,z+1"}}) {
        SymmetryOperator op;
        read_xsym(c.text, 1, op.rot, op.tr, false);
        ASSERT_FALSE(err_symm) << c.text << ": " << err_symm_mess;
        EXPECT_EQ(get_symsymbi(op.rot, op.tr), c.written) << c.text;
    }
}

// A translation whose digits exceed the range of a 32-bit real is refused,
// with and without the determinant check; the largest representable digits
// still read.
TEST(BadOperatorInput, InfiniteTranslationRefused) {
    for (const std::string& text : {"x+" + std::string(39, '9') + ",y,z", "x,y," + std::string(60, '1') + "/3",
                                    "x,-y-" + std::string(45, '5') + ",z"}) {
        for (const bool check_det : {true, false}) {
            RotationMatrix rot{};
            Vector3 tr{};
            read_xsym(text, 1, rot, tr, check_det);
            EXPECT_TRUE(err_symm) << text;
            EXPECT_EQ(err_symm_mess, " The above operator is wrong: " + text) << text;
        }
    }
    RotationMatrix rot{};
    Vector3 tr{};
    read_xsym("x,y,z+" + std::string(38, '1'), 1, rot, tr);
    EXPECT_FALSE(err_symm) << err_symm_mess;

    // The generator and full-list routes stop on the reading error.
    for (const char* mode : {"GEN", "FIX"}) {
        const std::vector<std::string> ops = {"x,y,z", "-x,-y," + std::string(50, '3') + "+z"};
        SpaceGroup g;
        set_spacegroup("user", g, std::span<const std::string>(ops), 2, mode);
        EXPECT_TRUE(err_symm) << mode;
        EXPECT_EQ(err_symm_mess, " The above operator is wrong: " + ops[1]) << mode;
    }
}

// Generators of no finite order (shears, determinants other than +-1) are
// refused by the generator route before any closure; every crystallographic
// rotation, rotoinversions included, still builds its group.
TEST(BadOperatorInput, GeneratorOfNoFiniteOrderRefused) {
    for (const std::vector<std::string>& generators :
         {std::vector<std::string>{"x+y,y,z"}, std::vector<std::string>{"x,y+z,z", "-x,-y,-z"},
          std::vector<std::string>{"-x,-y,z", "2x,y,-z"}, std::vector<std::string>{"-x+y,y,-z+x"},
          std::vector<std::string>{"y,z,x", "x-y,y,z+1/2"}}) {
        SpaceGroup g;
        set_spacegroup("user", g, std::span<const std::string>(generators),
                       static_cast<std::int32_t>(generators.size()), "GEN");
        EXPECT_TRUE(err_symm) << generators[0];
        EXPECT_EQ(err_symm_mess, " The generators do not form a space group") << generators[0];
    }

    // The route itself refuses the matrix, whoever calls it.
    std::array<RotationMatrix, 24> rotations{};
    std::array<Vector3, 24> translations{};
    rotations[0] = {{{1, 1, 0}, {0, 1, 0}, {0, 0, 1}}};
    std::int32_t system = 0, centre = 0, lattice = 0, count = 1, generators = 0;
    FixedText<2> bravais;
    Vector3 centre_coordinates{};
    char letter = ' ';
    get_so_from_gener(system, centre, lattice, count, rotations, translations, bravais, centre_coordinates,
                      generators, letter);
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " The generators do not form a space group");

    struct Case {
        std::vector<std::string> generators;
        std::int32_t multiplicity;
    };
    for (const Case& c : {Case{{"-y,x-y,z"}, 3}, Case{{"y,-x+y,-z"}, 6}, Case{{"-y,x,-z"}, 4},
                          Case{{"x-y,x,z+1/6"}, 6}, Case{{"-x,-y,z", "-x,y,-z", "z,x,y"}, 12}, Case{{"x,y,-z"}, 2}}) {
        SpaceGroup g;
        set_spacegroup("user", g, std::span<const std::string>(c.generators),
                       static_cast<std::int32_t>(c.generators.size()), "GEN");
        ASSERT_FALSE(err_symm) << c.generators[0] << ": " << err_symm_mess;
        EXPECT_EQ(g.multiplicity, c.multiplicity) << c.generators[0];
    }
}

}  // namespace
