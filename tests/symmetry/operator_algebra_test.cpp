// Operator algebra: equality within the translation tolerance, images of
// points, rotation orders, products, inverses and group equality; the
// inverse of every operator of the 611 settings undoes it modulo the lattice.
#include <gtest/gtest.h>

#include <cmath>

#include "support/settings_operators_fixture.hpp"
#include "symmetry/symmetry.hpp"

namespace sym = vorn_crystallographic_symmetry;
using sym::RotationMatrix;
using sym::SymmetryOperator;
using sym::Vector3;

namespace {

RotationMatrix rows(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e, std::int32_t f,
                    std::int32_t g, std::int32_t h, std::int32_t i) {
    return RotationMatrix{{{a, b, c}, {d, e, f}, {g, h, i}}};
}

const RotationMatrix identity = rows(1, 0, 0, 0, 1, 0, 0, 0, 1);

SymmetryOperator op(const char* text) {
    SymmetryOperator o;
    sym::read_xsym(text, 1, o.rot, o.tr);
    return o;
}

}  // namespace

TEST(OperatorAlgebra, EqualityAndMembership) {
    SymmetryOperator a{identity, {0.5f, 0, 0}};
    SymmetryOperator b{identity, {0.50015f, 0, 0}};
    EXPECT_TRUE(sym::equal_symop(a, b));
    b.tr[0] = 0.5003f;
    EXPECT_FALSE(sym::equal_symop(a, b));
    EXPECT_FALSE(sym::equal_symop({identity, {0, 0, 0}}, {identity, {1, 0, 0}}));
    SymmetryOperator c = a;
    c.rot[2][1] = 1;
    EXPECT_FALSE(sym::equal_symop(a, c));

    const std::vector<SymmetryOperator> list = {op("x,y,z"), op("-x,-y,z+1/2")};
    EXPECT_TRUE(sym::is_new_op(op("-x,-y,z+1/2"), 0, list));
    EXPECT_FALSE(sym::is_new_op(op("-x,-y,z+1/2"), 2, list));
    EXPECT_TRUE(sym::is_new_op(op("-x,-y,z+1/2"), 1, list));
    EXPECT_TRUE(sym::is_new_op(op("-x,-y,z"), 2, list));
    // A count beyond the list reads only the list.
    EXPECT_TRUE(sym::is_new_op(op("-x,-y,z"), 50, list));
}

TEST(OperatorAlgebra, RotationOrders) {
    EXPECT_EQ(sym::axes_rotation(identity), 1);
    EXPECT_EQ(sym::axes_rotation(rows(-1, 0, 0, 0, -1, 0, 0, 0, -1)), -1);
    EXPECT_EQ(sym::axes_rotation(rows(-1, 0, 0, 0, 1, 0, 0, 0, 1)), -2);
    EXPECT_EQ(sym::axes_rotation(rows(-1, 0, 0, 0, -1, 0, 0, 0, 1)), 2);
    EXPECT_EQ(sym::axes_rotation(rows(0, -1, 0, 1, -1, 0, 0, 0, 1)), 3);
    EXPECT_EQ(sym::axes_rotation(rows(0, 1, 0, -1, 1, 0, 0, 0, -1)), -3);
    EXPECT_EQ(sym::axes_rotation(rows(0, -1, 0, 1, 0, 0, 0, 0, 1)), 4);
    EXPECT_EQ(sym::axes_rotation(rows(0, 1, 0, -1, 0, 0, 0, 0, -1)), -4);
    EXPECT_EQ(sym::axes_rotation(rows(1, -1, 0, 1, 0, 0, 0, 0, 1)), 6);
    EXPECT_EQ(sym::axes_rotation(rows(-1, 1, 0, -1, 0, 0, 0, 0, -1)), -6);
    EXPECT_EQ(sym::axes_rotation(RotationMatrix{}), 0);
    EXPECT_EQ(sym::axes_rotation(rows(2, 0, 0, 0, 1, 0, 0, 0, 1)), 0);
}

TEST(OperatorAlgebra, ImagesAndProducts) {
    const SymmetryOperator screw = op("-y,x-y,z+1/3");
    const Vector3 image = sym::applyso(screw, {0.1f, 0.2f, 0.3f});
    EXPECT_FLOAT_EQ(image[0], -0.2f);
    EXPECT_FLOAT_EQ(image[1], -0.1f);
    EXPECT_FLOAT_EQ(image[2], 0.3f + 1.0f / 3.0f);

    const SymmetryOperator half{identity, {0.5f, 0, 0}};
    const SymmetryOperator three_quarters{identity, {0.75f, 0, 0}};
    EXPECT_EQ(sym::product_symop(half, three_quarters).tr, (Vector3{1.25f, 0, 0}));
    EXPECT_EQ(sym::sym_prod(half, three_quarters).tr, (Vector3{0.25f, 0, 0}));
    EXPECT_EQ(sym::sym_prod(half, three_quarters, false).tr, (Vector3{1.25f, 0, 0}));

    // op2 acts first: -x,-y,z after x+1/2,y,z is -x-1/2,-y,z.
    const SymmetryOperator p = sym::product_symop(op("-x,-y,z"), half);
    EXPECT_EQ(p.rot, rows(-1, 0, 0, 0, -1, 0, 0, 0, 1));
    EXPECT_EQ(p.tr, (Vector3{-0.5f, 0, 0}));
    const SymmetryOperator q = sym::product_symop(op("-y,x,z+1/4"), op("y,x,-z"));
    EXPECT_EQ(sym::get_symsymbi(q.rot, q.tr), "-x,y,-z+1/4");
}

TEST(OperatorAlgebra, EquivalenceUnderCentring) {
    const SymmetryOperator a = op("x,y,z");
    const SymmetryOperator b = op("x+1/2,y+1/2,z");
    EXPECT_TRUE(sym::equiv_symop(a, b, 'C'));
    EXPECT_FALSE(sym::equiv_symop(a, b, 'P'));
    SymmetryOperator shifted = a;
    shifted.tr = {1, 0, -2};
    for (char letter : {'P', 'A', 'B', 'C', 'I', 'R', 'F', 'Z'}) EXPECT_TRUE(sym::equiv_symop(a, shifted, letter));
    EXPECT_FALSE(sym::equiv_symop(op("-x,y,z"), op("x,y,z"), 'P'));
}

TEST(OperatorAlgebra, Inverse) {
    RotationMatrix inv{};
    Vector3 t{};
    sym::inverse_symm(rows(0, -1, 0, 1, 0, 0, 0, 0, 1), {0, 0, 0.25f}, inv, t);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(inv, rows(0, 1, 0, -1, 0, 0, 0, 0, 1));
    EXPECT_EQ(t, (Vector3{0, 0, -0.25f}));
    sym::inverse_symm(rows(1, 1, 0, 1, 1, 0, 0, 0, 1), {0.5f, 0, 0}, inv, t);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, "Inversion Matrix Failed");
    EXPECT_EQ(inv, RotationMatrix{});
    EXPECT_EQ(t, (Vector3{0, 0, 0}));
}

// For every operator of every tabulated setting, the product with its
// inverse is the identity up to a lattice translation, in both orders.
TEST(OperatorAlgebra, InverseOfEveryFixtureOperator) {
    for (const auto& s : symmetry_test_data::read_settings_operators()) {
        for (const std::string& text : s.operators) {
            const SymmetryOperator o = op(text.c_str());
            SymmetryOperator inverse;
            sym::inverse_symm(o.rot, o.tr, inverse.rot, inverse.tr);
            ASSERT_FALSE(sym::err_symm) << "row " << s.row << " " << text;
            for (const SymmetryOperator& p : {sym::product_symop(o, inverse), sym::product_symop(inverse, o)}) {
                EXPECT_EQ(p.rot, identity) << "row " << s.row << " " << text;
                EXPECT_TRUE(sym::lattice_trans(p.tr, 'P')) << "row " << s.row << " " << text;
            }
        }
    }
}

TEST(OperatorAlgebra, GroupEquality) {
    sym::SpaceGroup never_built;
    EXPECT_FALSE(sym::spgr_equal(never_built, never_built));
    sym::SpaceGroup g1;
    sym::SpaceGroup g2;
    const char* texts[] = {"x,y,z", "-x,y+1/2,-z+1/2", "-x,-y,-z", "x,-y+1/2,z+1/2"};
    g1.multiplicity = g2.multiplicity = 4;
    for (int i = 0; i < 4; ++i) {
        g1.operator_symbols[static_cast<std::size_t>(i)] = texts[i];
        g2.operator_symbols[static_cast<std::size_t>(3 - i)] = texts[i];
    }
    EXPECT_TRUE(sym::spgr_equal(g1, g2));
    g2.operator_symbols[0] = "x,-y,z";
    EXPECT_FALSE(sym::spgr_equal(g1, g2));
    g2 = g1;
    g2.multiplicity = 3;
    EXPECT_FALSE(sym::spgr_equal(g1, g2));
}
