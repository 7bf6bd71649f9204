// Operator texts: the writers spell operators as the library prints them,
// the readers take them back, and every operator text of the 611 tabulated
// settings survives a read and a write unchanged.
#include <gtest/gtest.h>

#include "support/settings_operators_fixture.hpp"
#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"

namespace sym = vorn_crystallographic_symmetry;
using sym::RealMatrix;
using sym::RotationMatrix;
using sym::Vector3;

namespace {

RotationMatrix rows(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e, std::int32_t f,
                    std::int32_t g, std::int32_t h, std::int32_t i) {
    return RotationMatrix{{{a, b, c}, {d, e, f}, {g, h, i}}};
}

const RotationMatrix identity = rows(1, 0, 0, 0, 1, 0, 0, 0, 1);

}  // namespace

TEST(OperatorTextWriter, IntegerRotationsAndTranslations) {
    EXPECT_EQ(sym::get_symsymbi(identity, {0, 0, 0}), "x,y,z");
    EXPECT_EQ(sym::get_symsymbi(rows(-1, 0, 0, 0, -1, 0, 0, 0, 1), {0, 0, 0.5f}), "-x,-y,z+1/2");
    EXPECT_EQ(sym::get_symsymbi(rows(1, -1, 0, -1, 1, 0, 0, 1, 0), {0, 0, 1.0f / 3.0f}), "x-y,-x+y,y+1/3");
    // Translations of 0.0002 or less are not written; 1 is "+1"; no fraction fits: "***/**".
    EXPECT_EQ(sym::get_symsymbi(identity, {0.0002f, -0.0002f, 0}), "x,y,z");
    EXPECT_EQ(sym::get_symsymbi(identity, {1.0f, 0, 0}), "x+1,y,z");
    EXPECT_EQ(sym::get_symsymbi(identity, {0.37f, 0, 0}), "x***/**,y,z");
    EXPECT_EQ(sym::get_symsymbi(identity, {1.0f / 12.0f, -0.25f, 11.0f / 12.0f}), "x+1/12,y-1/4,z+11/12");
    // A row of zeros: the translation alone, or "0" (a readable field).
    EXPECT_EQ(sym::get_symsymbi(rows(0, 0, 0, 0, 1, 0, 0, 0, 1), {0.5f, 0, 0}), "1/2,y,z");
    EXPECT_EQ(sym::get_symsymbi(rows(0, 0, 0, 0, 1, 0, 0, 0, 1), {0, 0, 0}), "0,y,z");
    // Coefficients other than +-1; ten and more print as stars.
    EXPECT_EQ(sym::get_symsymbi(rows(2, -1, 0, 0, -3, 0, 0, 2, 1), {0, 0, 0}), "2x-y,-3y,2y+z");
    EXPECT_EQ(sym::get_symsymbi(rows(10, 0, 0, 0, -10, 0, 0, 0, 1), {0, 0, 0}), "*x,**y,z");
    EXPECT_EQ(sym::get_symsymbi(rows(0, 1, 0, 0, 0, 0, 0, 0, 0), {0, 0, 0}), "y,0,0");
}

// The fractions follow the tolerance in force when the text is written: a
// translation near 1/3 is "***/**" under the default tolerance and "+1/3"
// under a wider one, whatever was written before.
TEST(OperatorTextWriter, FollowsTheToleranceInForce) {
    const RealMatrix zero{};
    const float near_third = 0.3334f;
    EXPECT_EQ(sym::get_symsymbi(identity, {near_third, 0, 0}), "x***/**,y,z");
    EXPECT_EQ(sym::get_symsymbr(zero, {near_third, 0, 0}), "***/**,0,0");
    vorn_math_general::set_epsg(1.0e-3f);
    EXPECT_EQ(sym::get_symsymbi(identity, {near_third, 0, 0}), "x+1/3,y,z");
    EXPECT_EQ(sym::get_symsymbr(zero, {near_third, 0, 0}), "1/3,0,0");
    vorn_math_general::set_epsg_default();
    EXPECT_EQ(sym::get_symsymbi(identity, {near_third, 0, 0}), "x***/**,y,z");
    EXPECT_EQ(sym::get_symsymbr(zero, {near_third, 0, 0}), "***/**,0,0");
}

TEST(OperatorTextWriter, RealMatrices) {
    const RealMatrix unit = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    EXPECT_EQ(sym::get_symsymbr(unit, {0, 0, 0}), "x,y,z");
    EXPECT_EQ(sym::get_symsymbr({{{0.5f, 0, 0}, {-2.0f / 3.0f, 1, 0}, {0, 0.5f, 0}}}, {0, 0, 0}), "x/2,-2x/3+y,y/2");
    EXPECT_EQ(sym::get_symsymbr({{{0, 0, 0}, {-1, 1, 0}, {2, 0, -1}}}, {0.5f, 0.25f, 0}), "1/2,-x+y+1/4,2x-z");
    EXPECT_EQ(sym::get_symsymbr({{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}, {0, -0.25f, 0.75f}), "0,-1/4,3/4");
    EXPECT_EQ(sym::get_symsymbr({{{-1, 0, 0}, {0, 0, -1}, {0, 1, 1}}}, {0, 0, 0}), "-x,-z,y+z");
}

TEST(OperatorTextReader, Triplets) {
    RotationMatrix r{};
    Vector3 t{};
    sym::read_xsym("x,y+1/2,-z", 1, r, t);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(r, rows(1, 0, 0, 0, 1, 0, 0, 0, -1));
    EXPECT_EQ(t, (Vector3{0, 0.5f, 0}));
    sym::read_xsym("-y,x-y,z+1/3", 1, r, t);
    EXPECT_EQ(r, rows(0, -1, 0, 1, -1, 0, 0, 0, 1));
    EXPECT_EQ(t, (Vector3{0, 0, 1.0f / 3.0f}));
    sym::read_xsym("X*Y*Z", 1, r, t);
    EXPECT_EQ(r, identity);
    sym::read_xsym("-1/2+x, y-1/2, 1/2-2x", 1, r, t, false);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(r, rows(1, 0, 0, 0, 1, 0, -2, 0, 0));
    EXPECT_EQ(t, (Vector3{-0.5f, -0.5f, 0.5f}));
    sym::read_xsym("x+0.25,2x+1,z", 1, r, t, false);
    EXPECT_EQ(t, (Vector3{0.25f, 1.0f, 0}));
    EXPECT_EQ(r[1], (std::array<std::int32_t, 3>{2, 0, 0}));
    // The whole denominator counts: one twelfth, not one half.
    sym::read_xsym("x+1/12,y-5/24,z+11/12", 1, r, t);
    EXPECT_EQ(t, (Vector3{1.0f / 12.0f, -5.0f / 24.0f, 11.0f / 12.0f}));
    // Only three fields are read; the start position skips a prefix.
    sym::read_xsym("x,y,z,+1", 1, r, t);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(r, identity);
    sym::read_xsym("op: -x,-y,z", 5, r, t);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(r, rows(-1, 0, 0, 0, -1, 0, 0, 0, 1));
    // Without a translation argument.
    sym::read_xsym("-x,y,-z", 1, r);
    EXPECT_EQ(r, rows(-1, 0, 0, 0, 1, 0, 0, 0, -1));
}

TEST(OperatorTextReader, Errors) {
    RotationMatrix r{};
    Vector3 t{};
    sym::read_xsym("x,y", 1, r, t);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, " Blank operator field");
    sym::read_xsym("x,,z", 1, r, t);
    EXPECT_EQ(sym::err_symm_mess, " Blank operator field");
    sym::read_xsym("x,y,y", 1, r, t);
    EXPECT_EQ(sym::err_symm_mess, " The above operator is wrong: x,y,y");
    sym::read_xsym("x,y,y", 1, r, t, false);
    EXPECT_FALSE(sym::err_symm);
    sym::read_xsym("-x,-y,z+1/2q", 1, r, t);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, " Invalid character... q in operator string");
    // What was read before the error stays.
    EXPECT_EQ(r[0], (std::array<std::int32_t, 3>{-1, 0, 0}));
    EXPECT_EQ(t[1], 0.0f);
    sym::read_xsym("x+1/0,y,z", 1, r, t);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, " Zero denominator in operator string: x+1/0,y,z");
    // A correct text clears an earlier error.
    sym::read_xsym("x,y,z", 1, r, t);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, "");
}

TEST(OperatorTextReader, MagneticOperators) {
    RotationMatrix m{};
    float phase = 5;
    sym::read_msymm("msym -u,v,-w,-1", m, phase);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(m, rows(-1, 0, 0, 0, 1, 0, 0, 0, -1));
    EXPECT_EQ(phase, -1.0f);
    sym::read_msymm("DSYM V, U, W, +1", m, phase, true);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(m, rows(0, 1, 0, 1, 0, 0, 0, 0, 1));
    EXPECT_EQ(phase, 1.0f);
    sym::read_msymm("u,v,w", m, phase);
    EXPECT_EQ(phase, 0.0f);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, " Blank operator field u,v,w");
    sym::read_msymm("msym mx,my,mz,+1", m, phase);
    EXPECT_EQ(sym::err_symm_mess, " Invalid character... m in Sym. Op.");
    sym::read_msymm("msym u,u,w,+1", m, phase, true);
    EXPECT_EQ(sym::err_symm_mess, " The above operator is wrong msym u,u,w,+1");
    sym::read_msymm("msym u,u,w,+1", m, phase);
    EXPECT_FALSE(sym::err_symm);
}

TEST(OperatorTextReader, SymmetryTranslationCodes) {
    std::int32_t n = 0;
    Vector3 t{};
    sym::read_symtrans_code("_2.456", n, t);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(t, (Vector3{-1, 0, 1}));
    sym::read_symtrans_code("  _12.555", n, t);
    EXPECT_EQ(n, 12);
    EXPECT_EQ(t, (Vector3{0, 0, 0}));
    sym::read_symtrans_code("_3", n, t);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(t, (Vector3{0, 0, 0}));
    sym::read_symtrans_code("   ", n, t);
    EXPECT_EQ(n, 1);
    EXPECT_EXIT(sym::read_symtrans_code("_a.555", n, t), testing::ExitedWithCode(2), "symmetry-translation code");
    EXPECT_EXIT(sym::read_symtrans_code("_2.4x6", n, t), testing::ExitedWithCode(2), "symmetry-translation code");
}

TEST(OperatorTextReader, CrystalSystemOfTexts) {
    const std::vector<std::string> p2 = {"x,y,z", "-x,y,-z"};
    std::int32_t number = 0;
    char letter = ' ';
    sym::get_crystal_system_r_st(2, p2, number, letter);
    EXPECT_EQ(number, 2);
    EXPECT_EQ(letter, 'm');
    const std::vector<std::string> p3 = {"x,y,z", "-y,x-y,z", "-x+y,-x,z"};
    sym::get_crystal_system_r_st(3, p3, number, letter);
    EXPECT_EQ(number, 5);
    EXPECT_EQ(letter, 'h');
}

// Every operator text of the peer fixture reads back into an operator whose
// text is the same, byte for byte.
TEST(OperatorTextRoundTrip, EveryFixtureOperator) {
    const auto settings = symmetry_test_data::read_settings_operators();
    ASSERT_EQ(settings.size(), 611u);
    std::size_t count = 0;
    for (const auto& s : settings) {
        for (const std::string& text : s.operators) {
            RotationMatrix r{};
            Vector3 t{};
            sym::read_xsym(text, 1, r, t);
            ASSERT_FALSE(sym::err_symm) << "row " << s.row << " " << text << ": " << sym::err_symm_mess;
            EXPECT_EQ(sym::get_symsymbi(r, t), text) << "row " << s.row;
            ++count;
        }
    }
    EXPECT_EQ(count, 9381u);
}
