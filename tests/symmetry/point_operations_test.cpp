// Point-operation identification: a rotation is found among the cubic and
// hexagonal model operations and named by its international symbol, its
// Kovalev label and the image of a magnetic moment.
#include <gtest/gtest.h>

#include "symmetry/symmetry.hpp"

namespace sym = vorn_crystallographic_symmetry;
using sym::RotationMatrix;

namespace {

RotationMatrix rows(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e, std::int32_t f,
                    std::int32_t g, std::int32_t h, std::int32_t i) {
    return RotationMatrix{{{a, b, c}, {d, e, f}, {g, h, i}}};
}

const RotationMatrix identity = rows(1, 0, 0, 0, 1, 0, 0, 0, 1);
const RotationMatrix inversion = rows(-1, 0, 0, 0, -1, 0, 0, 0, -1);
const RotationMatrix threefold_z_hexagonal = rows(0, -1, 0, 1, -1, 0, 0, 0, 1);  // -y,x-y,z

// Restores the hexagonal flag that a test changes.
struct HexaGuard {
    bool saved = sym::hexa;
    ~HexaGuard() { sym::hexa = saved; }
};

}  // namespace

TEST(PointOperations, SearchAmongModels) {
    std::int32_t index = 99;
    sym::searchop(identity, 1, 24, index);
    EXPECT_EQ(index, 1);
    sym::searchop(identity, 25, 36, index);
    EXPECT_EQ(index, 25);
    sym::searchop(inversion, 1, 24, index);
    EXPECT_EQ(index, -1);
    sym::searchop(inversion, 25, 36, index);
    EXPECT_EQ(index, -25);
    sym::searchop(threefold_z_hexagonal, 25, 36, index);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(index, 26);

    sym::searchop(threefold_z_hexagonal, 1, 24, index);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess,
              " Try to re-write your S.O. using a rotational part identical to a S.O. of the space group P m -3 m");
    sym::searchop(rows(0, 0, 1, 1, 0, 0, 0, 1, 0), 25, 36, index);
    EXPECT_EQ(sym::err_symm_mess,
              " Try to re-write your S.O. using a rotational part identical to a S.O. of the space group P 6/m m m");
    sym::searchop(rows(1, 1, 0, 0, 1, 0, 0, 0, 1), 1, 36, index);
    EXPECT_EQ(sym::err_symm_mess, " Try to re-write your S.O. using a rotational part identical to a S.O. of the "
                                  "space group P m -3 m or P 6/m m m");
    // Ranges reaching beyond the 36 models search only the models.
    sym::searchop(threefold_z_hexagonal, -5, 100, index);
    EXPECT_EQ(index, 26);
    sym::searchop(identity, 40, 50, index);
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(sym::err_symm);
}

TEST(PointOperations, SymbolsAndKovalevLabels) {
    HexaGuard guard;
    sym::hexa = false;
    EXPECT_EQ(sym::get_symkov(rows(0, 0, 1, 1, 0, 0, 0, 1, 0)), " 3+ ( x, x, x) ->  h9");
    EXPECT_EQ(sym::get_symkov(rows(-1, 0, 0, 0, 1, 0, 0, 0, 1)), "  m ( 0, y, z) -> h26");
    EXPECT_EQ(sym::get_symel(identity), "  1           ");
    // Not a cubic model: blank text, the error pair tells why.
    EXPECT_EQ(sym::get_symel(threefold_z_hexagonal), std::string(14, ' '));
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::get_symkov(threefold_z_hexagonal), std::string(21, ' '));

    sym::hexa = true;
    EXPECT_EQ(sym::get_symel(rows(0, 1, 0, 1, 0, 0, 0, 0, 1)), "  m ( x, x, z)");
    EXPECT_EQ(sym::get_symel(threefold_z_hexagonal), " 3+ ( 0, 0, z)");
    EXPECT_EQ(sym::get_symel(inversion), " -1           ");
    EXPECT_EQ(sym::get_symel(rows(0, 0, 1, 1, 0, 0, 0, 1, 0)), std::string(14, ' '));
}

TEST(PointOperations, MagneticMomentImages) {
    HexaGuard guard;
    for (bool hexagonal : {true, false}) {
        sym::hexa = hexagonal;
        EXPECT_EQ(sym::decodmatmag(identity), "( Mx, My, Mz)      ");
        // The moment is transformed by the matrix alone, with no determinant factor.
        EXPECT_EQ(sym::decodmatmag(inversion), "(-Mx,-My,-Mz)      ");
        // A hexagonal model is named from the hexagonal rows whatever the flag says.
        EXPECT_EQ(sym::decodmatmag(threefold_z_hexagonal), "(   -My, Mx-My, Mz)");
        EXPECT_EQ(sym::decodmatmag(rows(0, 1, 0, -1, 1, 0, 0, 0, -1)), "(    My,-Mx+My,-Mz)");
        EXPECT_EQ(sym::decodmatmag(rows(2, 0, 0, 0, 1, 0, 0, 0, 1)), std::string(19, ' '));
    }
    sym::hexa = false;
    EXPECT_EQ(sym::decodmatmag(rows(-1, 0, 0, 0, -1, 0, 0, 0, 1)), "(-Mx,-My, Mz)      ");
}
